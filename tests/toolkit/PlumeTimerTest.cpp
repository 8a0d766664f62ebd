// The periodic timer: its own thread, its period, stopping from anywhere.
#include "toolkit/core/PlumeTimer.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace {

class CountingTimer : public PlumeTimer {
 public:
  ~CountingTimer() override { KillTimer(); }

  void OnMTimer(unsigned id) override {
    (void)id;
    if (std::this_thread::get_id() == m_creator) offThread = false;
    std::scoped_lock lock(mutex);
    ++ticks;
    changed.notify_all();
  }
  void OnMTimer(unsigned id, const std::wstring& name) override {
    (void)id;
    std::scoped_lock lock(mutex);
    lastName = name;
    if (killFromTick) KillTimer(id);
  }

  bool WaitForTicks(int n) {
    std::unique_lock lock(mutex);
    return changed.wait_for(lock, std::chrono::seconds(5), [&] { return ticks >= n; });
  }

  std::mutex mutex;
  std::condition_variable changed;
  int ticks = 0;
  std::wstring lastName;
  std::atomic<bool> offThread{true};
  std::atomic<bool> killFromTick{false};

 private:
  std::thread::id m_creator = std::this_thread::get_id();
};

}  // namespace

TEST(PlumeTimer, TicksOnItsOwnThreadUntilKilled) {
  CountingTimer timer;
  const unsigned id = timer.SetTimer(5, L"blink", 3);
  ASSERT_NE(id, 0u);
  EXPECT_TRUE(timer.GetTimerIsRun(id));
  EXPECT_TRUE(timer.GetTimerIsRun(L"blink"));
  EXPECT_EQ(timer.GetTimerName(id), L"blink");
  EXPECT_EQ(PlumeTimer::GetMiraTimer(id), &timer);
  ASSERT_TRUE(timer.WaitForTicks(5));
  EXPECT_TRUE(timer.offThread);
  {
    std::scoped_lock lock(timer.mutex);
    EXPECT_EQ(timer.lastName, L"blink");
  }
  EXPECT_EQ(timer.KillTimer(id), 0u);
  EXPECT_FALSE(timer.GetTimerIsRun(id));
  EXPECT_EQ(PlumeTimer::GetMiraTimer(id), nullptr);
  int after;
  {
    std::scoped_lock lock(timer.mutex);
    after = timer.ticks;
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(30));
  std::scoped_lock lock(timer.mutex);
  EXPECT_EQ(timer.ticks, after);
}

TEST(PlumeTimer, KillByNameAndAllAndAZeroPeriod) {
  CountingTimer timer;
  EXPECT_EQ(timer.SetTimer(0), 0u);
  const unsigned a = timer.SetTimer(10, L"a");
  const unsigned b = timer.SetTimer(10, L"b");
  const unsigned c = timer.SetTimer(10, L"b");
  EXPECT_EQ(timer.KillTimer(L"b"), 1u);
  EXPECT_TRUE(timer.GetTimerIsRun(a));
  EXPECT_FALSE(timer.GetTimerIsRun(b));
  EXPECT_FALSE(timer.GetTimerIsRun(c));
  EXPECT_EQ(timer.KillTimer(), 0u);
  EXPECT_FALSE(timer.GetTimerIsRun(a));
}

TEST(PlumeTimer, ATickMayKillItsOwnTimer) {
  CountingTimer timer;
  timer.killFromTick = true;
  const unsigned id = timer.SetTimer(2, L"once");
  ASSERT_TRUE(timer.WaitForTicks(1));
  for (int i = 0; i < 100 && timer.GetTimerIsRun(id); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  EXPECT_FALSE(timer.GetTimerIsRun(id));
}
