#pragma once
// Periodic timers with their own threads: each timer ticks every `period`
// milliseconds on a thread of its own and calls OnMTimer there (never on
// the UI thread; post to a window to get back to it).
// Thread-safety: SetTimer/KillTimer/queries may be called from any thread,
// also from inside OnMTimer.  A class deriving from PlumeTimer must call
// KillTimer() in its own destructor, so no tick reaches a half-destroyed
// object.
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

class PlumeTimer {
 public:
  PlumeTimer();
  virtual ~PlumeTimer();
  PlumeTimer(const PlumeTimer&) = delete;
  PlumeTimer& operator=(const PlumeTimer&) = delete;

  // Starts a timer; returns its id (never 0), or 0 for a zero period.
  unsigned SetTimer(unsigned periodMs, const std::wstring& name = L"", int value = 0);
  // Each returns the number of timers still running.
  size_t KillTimer(unsigned id);
  size_t KillTimer(const std::wstring& name);
  size_t KillTimer();

  std::wstring GetTimerName(unsigned id) const;
  bool GetTimerIsRun(unsigned id) const;
  bool GetTimerIsRun(const std::wstring& name) const;
  bool IsAppTimer(unsigned id) const;

  // The object that owns the timer id, or null.
  static PlumeTimer* GetMiraTimer(unsigned id);

  // The timer's ticks, on its own thread.
  virtual void OnMTimer(unsigned id) { (void)id; }
  virtual void OnMTimer(unsigned id, const std::wstring& name) {
    (void)id;
    (void)name;
  }

  struct Ticker;

 private:
  size_t Stop(std::shared_ptr<Ticker> ticker, std::unique_lock<std::mutex>& lock);

  void JoinRetired(bool onlyFinished);

  mutable std::mutex m_mutex;
  std::map<unsigned, std::shared_ptr<Ticker>> m_timers;
  // Timers killed from their own tick: their threads finish that tick after
  // the kill, and are joined before the object goes.
  std::vector<std::shared_ptr<Ticker>> m_retired;
};
