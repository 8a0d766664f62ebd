#include "app/HandOver.h"

#include <utility>

void HandOver::Deliver(const platform::InstanceRequest& request) {
  std::scoped_lock lock(m_mutex);
  if (m_target) {
    m_target(request);
  } else if (m_held.size() < kMaxHeld) {
    m_held.push_back(request);
  }
}

void HandOver::SetTarget(Target target) {
  std::scoped_lock lock(m_mutex);
  m_target = std::move(target);
  if (!m_target) return;
  for (const auto& request : m_held) m_target(request);
  m_held.clear();
}
