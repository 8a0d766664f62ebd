// Unplugging the keyboard while the worker writes, the user-interface
// thread sends a feature report and the notification thread watches: run
// under ThreadSanitizer by `make tsan` (label "threads").
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <thread>

#include "DeviceTestSupport.h"
#include "device/DevicePresence.h"
#include "device/DeviceTask.h"

namespace {

using namespace std::chrono_literals;

constexpr auto kPatience = 20s;

// A worker like the main controller's: runs queued tasks one at a time on
// its own thread.  Detection waits until the test opens the gate, so writes
// are certain to meet the unplugged keyboard before the re-detection.
class GatedWorker : public TaskSink {
 public:
  explicit GatedWorker(std::function<void(int)> run) : m_run(std::move(run)), m_thread([this] { Loop(); }) {}
  ~GatedWorker() override { Stop(); }

  void QueueTask(int task) override {
    {
      std::scoped_lock lock(m_lock);
      if (m_stopped) return;
      m_queue.push_back(task);
    }
    m_wake.notify_all();
  }
  void OpenGate() {
    {
      std::scoped_lock lock(m_lock);
      m_gateOpen = true;
    }
    m_wake.notify_all();
  }
  void Stop() {
    {
      std::scoped_lock lock(m_lock);
      m_stopped = true;
    }
    m_wake.notify_all();
    if (m_thread.joinable()) m_thread.join();
  }

 private:
  void Loop() {
    std::unique_lock lock(m_lock);
    for (;;) {
      m_wake.wait(lock, [this] { return m_stopped || (m_gateOpen && !m_queue.empty()); });
      if (m_stopped) return;
      const int task = m_queue.front();
      m_queue.pop_front();
      lock.unlock();
      m_run(task);
      lock.lock();
    }
  }

  std::function<void(int)> m_run;
  std::mutex m_lock;
  std::condition_variable m_wake;
  std::deque<int> m_queue;
  bool m_gateOpen = false;
  bool m_stopped = false;
  std::thread m_thread;
};

template <typename Predicate>
bool WaitUntil(Predicate done) {
  const auto deadline = std::chrono::steady_clock::now() + kPatience;
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(2ms);
  }
  return true;
}

struct WriteResult {
  uint32_t number;
  bool ok;
};

class DeviceThreadsTest : public DeviceTest {};

TEST_F(DeviceThreadsTest, UnplugWhileWritingFailsAndDropsEachWriteAfterOneRetry) {
  m_keyboard.Set("modes=0");
  DeviceLink link;
  AddEntries(link, KeyboardEntries());
  RecordingIndicator indicator;
  DevicePresence* presenceForWorker = nullptr;
  GatedWorker worker([&](int task) {
    if (task != TaskCode(DeviceTask::LoadDeviceData)) presenceForWorker->RunDetectionTask(task);
  });
  DevicePresence presence(link, worker, indicator);
  presenceForWorker = &presence;
  for (const auto& entry : KeyboardEntries()) presence.AddConnectionEntry(entry);
  presence.RunDetectionTask(TaskCode(DeviceTask::DetectDevice));
  ASSERT_EQ(presence.GetState().status, DeviceStatus::Present);
  ASSERT_TRUE(presence.RegisterDeviceArrival(
      nullptr, platform::DeviceMonitorOptions{platform::DeviceMonitorSource::Poll, 20ms}));

  std::atomic<bool> stop{false};
  std::atomic<int> succeeded{0};
  std::atomic<int> failed{0};
  std::vector<WriteResult> reports;
  std::vector<WriteResult> streams;
  std::thread writer([&] {
    for (uint32_t number = 1; !stop.load(); ++number) {
      const bool report = link.WriteReport(NumberedReport(0x89, number));
      const bool stream = link.WriteStreamReport(NumberedReport(0xF1, number));
      reports.push_back({number, report});
      streams.push_back({number, stream});
      (report ? succeeded : failed)++;
      // The worker's tick paces real writes; refused ones must not spin.
      if (!report) std::this_thread::sleep_for(1ms);
    }
  });
  std::thread userInterface([&] {
    // A person picks colour schemes now and then; a loop without a pause
    // would only test how fair the lock is once the sends are refused.
    while (!stop.load()) {
      link.SendFeature(NumberedReport(0xFF, 1));
      std::this_thread::sleep_for(3ms);
    }
  });

  EXPECT_TRUE(WaitUntil([&] { return succeeded.load() >= 20; }));
  m_keyboard.Set("modes=");
  EXPECT_TRUE(WaitUntil([&] { return failed.load() >= 3; }));
  worker.OpenGate();
  EXPECT_TRUE(WaitUntil([&] { return presence.GetState().status == DeviceStatus::Absent; }));
  const int failedAtAbsence = failed.load();
  EXPECT_TRUE(WaitUntil([&] { return failed.load() >= failedAtAbsence + 5; }));
  stop = true;
  writer.join();
  userInterface.join();
  worker.Stop();

  // Every write was tried at most twice; a write that failed was retried
  // exactly once and then dropped; once re-detected as absent the link
  // refused without touching the device.
  std::map<std::pair<std::string, uint32_t>, std::vector<int>> attempts;
  for (const auto& line : m_keyboard.Trace()) {
    if (line.kind != "output" && line.kind != "stream") continue;
    if (line.bytes.size() != DeviceLink::kReportSize) continue;
    attempts[{line.kind, ReportNumber(line.bytes)}].push_back(line.result);
  }
  int droppedAfterRetry = 0;
  int refused = 0;
  for (const auto& [kind, results] : {std::pair{std::string("output"), &reports}, std::pair{std::string("stream"), &streams}}) {
    for (const WriteResult& write : *results) {
      SCOPED_TRACE(kind + " " + std::to_string(write.number));
      const auto found = attempts.find({kind, write.number});
      const std::vector<int> tried = found == attempts.end() ? std::vector<int>{} : found->second;
      ASSERT_LE(tried.size(), 2u);
      if (write.ok) {
        ASSERT_FALSE(tried.empty());
        EXPECT_EQ(tried.back(), 65);
        if (tried.size() == 2) {
          EXPECT_EQ(tried[0], -1);
        }
      } else if (tried.empty()) {
        ++refused;
      } else {
        EXPECT_EQ(tried, (std::vector<int>{-1, -1}));
        ++droppedAfterRetry;
      }
    }
  }
  EXPECT_GE(droppedAfterRetry, 3);
  EXPECT_GE(refused, 5);

  m_keyboard.ClearTrace();
  EXPECT_FALSE(link.WriteReport(NumberedReport(0x89, 1)));
  m_keyboard.Set("modes=0");
  EXPECT_FALSE(link.WriteReport(NumberedReport(0x89, 2))) << "a replugged keyboard waits for its re-detection";
  EXPECT_TRUE(m_keyboard.Trace("output").empty());
}

}  // namespace
