#include <hidapi.h>

#include "platform/HidInterfaceId.h"
#include "platform/linux/DeviceMonitorSources.h"

namespace platform {

PollDeviceMonitor::PollDeviceMonitor(Callback callback, std::chrono::milliseconds interval)
    : m_callback(std::move(callback)), m_interval(interval), m_known(Snapshot()) {
  m_thread = std::thread([this] { Run(); });
}

PollDeviceMonitor::~PollDeviceMonitor() {
  {
    std::scoped_lock lock(m_lock);
    m_stop = true;
  }
  m_wake.notify_all();
  m_thread.join();
}

std::map<std::string, std::wstring> PollDeviceMonitor::Snapshot() {
  std::map<std::string, std::wstring> interfaces;
  hid_device_info* list = hid_enumerate(0, 0);
  for (const hid_device_info* info = list; info != nullptr; info = info->next) {
    if (info->path == nullptr) continue;
    interfaces[info->path] = HidInterfaceId(info->vendor_id, info->product_id, info->interface_number);
  }
  hid_free_enumeration(list);
  return interfaces;
}

void PollDeviceMonitor::Run() {
  std::unique_lock lock(m_lock);
  for (;;) {
    if (m_wake.wait_for(lock, m_interval, [this] { return m_stop; })) return;
    lock.unlock();
    auto now = Snapshot();
    // Removals first: a keyboard that went and came back between two looks
    // at a new path is seen leaving before it arrives.
    for (const auto& [path, id] : m_known) {
      if (now.count(path) == 0) m_callback(DeviceNotification{kDeviceRemoveComplete, id});
    }
    for (const auto& [path, id] : now) {
      if (m_known.count(path) == 0) m_callback(DeviceNotification{kDeviceArrival, id});
    }
    m_known = std::move(now);
    lock.lock();
  }
}

}  // namespace platform
