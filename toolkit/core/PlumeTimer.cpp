#include "toolkit/core/PlumeTimer.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <thread>
#include <vector>

struct PlumeTimer::Ticker {
  unsigned id = 0;
  std::wstring name;
  int value = 0;
  std::chrono::milliseconds period{1};
  std::mutex mutex;
  std::condition_variable wake;
  bool stop = false;
  std::atomic<bool> finished{false};
  std::thread thread;
};

namespace {

std::atomic<unsigned> g_nextId{1};

// Every live timer id and its owner, for GetMiraTimer.
std::mutex& OwnersMutex() {
  static std::mutex mutex;
  return mutex;
}
std::map<unsigned, PlumeTimer*>& Owners() {
  static std::map<unsigned, PlumeTimer*> owners;
  return owners;
}

}  // namespace

PlumeTimer::PlumeTimer() = default;

PlumeTimer::~PlumeTimer() { KillTimer(); }

unsigned PlumeTimer::SetTimer(unsigned periodMs, const std::wstring& name, int value) {
  if (periodMs == 0) return 0;
  JoinRetired(true);
  auto ticker = std::make_shared<Ticker>();
  ticker->id = g_nextId++;
  ticker->name = name;
  ticker->value = value;
  ticker->period = std::chrono::milliseconds(periodMs);
  {
    std::scoped_lock lock(OwnersMutex());
    Owners()[ticker->id] = this;
  }
  Ticker* raw = ticker.get();
  {
    std::scoped_lock lock(m_mutex);
    m_timers[ticker->id] = ticker;
  }
  // The thread holds the ticker alive.  It starts under the ticker's lock,
  // so its first wait sees the thread handle stored.
  std::scoped_lock startLock(raw->mutex);
  raw->thread = std::thread([this, ticker]() {
    auto next = std::chrono::steady_clock::now() + ticker->period;
    for (;;) {
      {
        std::unique_lock lock(ticker->mutex);
        if (ticker->wake.wait_until(lock, next, [&] { return ticker->stop; })) break;
      }
      OnMTimer(ticker->id);
      if (IsAppTimer(ticker->id)) OnMTimer(ticker->id, ticker->name);
      next += ticker->period;
      const auto now = std::chrono::steady_clock::now();
      // A late tick does not make up for the lost ones in a burst.
      if (next < now) next = now;
    }
    ticker->finished = true;
  });
  return raw->id;
}

size_t PlumeTimer::Stop(std::shared_ptr<Ticker> ticker, std::unique_lock<std::mutex>& lock) {
  m_timers.erase(ticker->id);
  const size_t left = m_timers.size();
  lock.unlock();
  {
    std::scoped_lock ownersLock(OwnersMutex());
    Owners().erase(ticker->id);
  }
  {
    std::scoped_lock tickerLock(ticker->mutex);
    ticker->stop = true;
  }
  ticker->wake.notify_all();
  const bool fromOwnTick = ticker->thread.get_id() == std::this_thread::get_id();
  if (!fromOwnTick && ticker->thread.joinable()) ticker->thread.join();
  lock.lock();
  // Killed from its own tick: the thread ends when the tick returns.
  if (fromOwnTick) m_retired.push_back(std::move(ticker));
  return left;
}

size_t PlumeTimer::KillTimer(unsigned id) {
  std::unique_lock lock(m_mutex);
  auto found = m_timers.find(id);
  if (found == m_timers.end()) return m_timers.size();
  std::shared_ptr<Ticker> ticker = found->second;
  Stop(ticker, lock);
  return m_timers.size();
}

size_t PlumeTimer::KillTimer(const std::wstring& name) {
  std::unique_lock lock(m_mutex);
  for (;;) {
    std::shared_ptr<Ticker> match;
    for (auto& [id, ticker] : m_timers) {
      if (ticker->name == name) {
        match = ticker;
        break;
      }
    }
    if (!match) break;
    Stop(match, lock);
  }
  return m_timers.size();
}

size_t PlumeTimer::KillTimer() {
  {
    std::unique_lock lock(m_mutex);
    while (!m_timers.empty()) Stop(m_timers.begin()->second, lock);
  }
  JoinRetired(false);
  return 0;
}

void PlumeTimer::JoinRetired(bool onlyFinished) {
  std::vector<std::shared_ptr<Ticker>> retired;
  {
    std::scoped_lock lock(m_mutex);
    for (auto it = m_retired.begin(); it != m_retired.end();) {
      if (!onlyFinished || (*it)->finished) {
        retired.push_back(std::move(*it));
        it = m_retired.erase(it);
      } else {
        ++it;
      }
    }
  }
  for (auto& ticker : retired) {
    if (ticker->thread.get_id() == std::this_thread::get_id()) {
      // Everything is being stopped from this very tick: nothing to wait for.
      ticker->thread.detach();
    } else if (ticker->thread.joinable()) {
      ticker->thread.join();
    }
  }
}

std::wstring PlumeTimer::GetTimerName(unsigned id) const {
  std::scoped_lock lock(m_mutex);
  auto found = m_timers.find(id);
  return found == m_timers.end() ? std::wstring() : found->second->name;
}

bool PlumeTimer::GetTimerIsRun(unsigned id) const {
  std::scoped_lock lock(m_mutex);
  return m_timers.count(id) != 0;
}

bool PlumeTimer::GetTimerIsRun(const std::wstring& name) const {
  std::scoped_lock lock(m_mutex);
  for (const auto& [id, ticker] : m_timers) {
    if (ticker->name == name) return true;
  }
  return false;
}

bool PlumeTimer::IsAppTimer(unsigned id) const { return GetTimerIsRun(id); }

PlumeTimer* PlumeTimer::GetMiraTimer(unsigned id) {
  std::scoped_lock lock(OwnersMutex());
  auto found = Owners().find(id);
  return found == Owners().end() ? nullptr : found->second;
}
