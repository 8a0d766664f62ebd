#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <set>
#include <thread>

#include "DeviceTestSupport.h"
#include "device/DevicePresence.h"
#include "device/DeviceTask.h"
#include "platform/DeviceMonitor.h"
#include "platform/HidInterfaceId.h"
#include "platform/MessageTarget.h"

namespace {

using namespace std::chrono_literals;
using platform::DeviceMonitor;
using platform::DeviceMonitorOptions;
using platform::DeviceMonitorSource;
using platform::DeviceNotification;

// Generous: the waits end as soon as the expected events are in.
constexpr auto kPatience = 20s;

class NotificationLog {
 public:
  void Add(const DeviceNotification& notification) {
    {
      std::scoped_lock lock(m_lock);
      m_events.insert({notification.event, notification.interfaceId});
    }
    m_changed.notify_all();
  }
  bool WaitFor(const std::set<std::pair<uint32_t, std::wstring>>& expected) {
    std::unique_lock lock(m_lock);
    return m_changed.wait_for(lock, kPatience, [&] {
      for (const auto& item : expected) {
        if (m_events.count(item) == 0) return false;
      }
      return true;
    });
  }
  std::set<std::pair<uint32_t, std::wstring>> Events() {
    std::scoped_lock lock(m_lock);
    return m_events;
  }

 private:
  std::mutex m_lock;
  std::condition_variable m_changed;
  std::set<std::pair<uint32_t, std::wstring>> m_events;
};

std::set<std::pair<uint32_t, std::wstring>> ModeEvents(uint32_t event, const wchar_t* pid) {
  std::set<std::pair<uint32_t, std::wstring>> events;
  for (const wchar_t* mi : {L"00", L"02", L"03"}) {
    events.insert({event, std::wstring(L"VID_1209&PID_") + pid + L"&MI_" + mi});
  }
  return events;
}

TEST_F(DeviceTest, PollReportsUnpluggedAndPluggedModes) {
  m_keyboard.Set("modes=0,1");
  NotificationLog log;
  auto monitor = DeviceMonitor::Start([&](const DeviceNotification& n) { log.Add(n); },
                                      DeviceMonitorOptions{DeviceMonitorSource::Poll, 20ms});
  ASSERT_NE(monitor, nullptr);
  EXPECT_EQ(monitor->Source(), DeviceMonitorSource::Poll);

  m_keyboard.Set("modes=0");
  EXPECT_TRUE(log.WaitFor(ModeEvents(platform::kDeviceRemoveComplete, L"4B02")));
  m_keyboard.Set("modes=0,1");
  EXPECT_TRUE(log.WaitFor(ModeEvents(platform::kDeviceArrival, L"4B02")));
  monitor.reset();
  // Only the mode that changed was reported.
  auto expected = ModeEvents(platform::kDeviceRemoveComplete, L"4B02");
  expected.merge(ModeEvents(platform::kDeviceArrival, L"4B02"));
  EXPECT_EQ(log.Events(), expected);
}

class RecordingWindow : public platform::MessageTarget {
 public:
  void PostMessage(uint32_t message, uintptr_t wParam, intptr_t) override {
    {
      std::scoped_lock lock(m_lock);
      m_messages.push_back({message, wParam});
    }
    m_changed.notify_all();
  }
  bool WaitForMessages(size_t count) {
    std::unique_lock lock(m_lock);
    return m_changed.wait_for(lock, kPatience, [&] { return m_messages.size() >= count; });
  }
  std::vector<std::pair<uint32_t, uintptr_t>> Messages() {
    std::scoped_lock lock(m_lock);
    return m_messages;
  }

 private:
  std::mutex m_lock;
  std::condition_variable m_changed;
  std::vector<std::pair<uint32_t, uintptr_t>> m_messages;
};

TEST_F(DeviceTest, UnplugReachesTheWindowAndQueuesARedetection) {
  m_keyboard.Set("modes=0");
  DeviceLink link;
  RecordingTaskSink tasks;
  RecordingIndicator indicator;
  RecordingWindow window;  // outlives the presence, whose monitor posts to it
  DevicePresence presence(link, tasks, indicator);
  for (const auto& entry : KeyboardEntries()) presence.AddConnectionEntry(entry);
  AddEntries(link, KeyboardEntries());
  presence.RunDetectionTask(TaskCode(DeviceTask::RedetectDevice));
  ASSERT_EQ(tasks.Take(), std::vector<int>{TaskCode(DeviceTask::LoadDeviceData)});

  ASSERT_TRUE(presence.RegisterDeviceArrival(&window, DeviceMonitorOptions{DeviceMonitorSource::Poll, 20ms}));
  m_keyboard.Set("modes=");
  ASSERT_TRUE(window.WaitForMessages(3));  // three interfaces went away
  for (const auto& [message, event] : window.Messages()) {
    EXPECT_EQ(message, platform::kDeviceChangeMessage);
    EXPECT_EQ(event, platform::kDeviceRemoveComplete);
  }
  EXPECT_TRUE(tasks.Take().empty()) << "nothing happens before the window handles the message";
  presence.HandlePendingNotifications();
  EXPECT_EQ(tasks.Take(), std::vector<int>{TaskCode(DeviceTask::RedetectAfterRemoval)});
}

TEST(HidInterfaceIdTest, BuiltFromTheSysfsPath) {
  struct Case {
    const char* path;
    const wchar_t* id;
  } cases[] = {
      {"/devices/pci0000:00/0000:00:14.0/usb1/1-2/1-2:1.2/0003:1209:4B01.0007/hidraw/hidraw3",
       L"VID_1209&PID_4B01&MI_02"},
      {"/devices/pci0000:00/0000:00:14.0/usb1/1-2/1-2.4/1-2.4:1.3/0003:1209:4b02.000A/hidraw/hidraw5",
       L"VID_1209&PID_4B02&MI_03"},
      {"/devices/pci0000:00/0000:00:14.0/usb3/3-1/3-1:1.11/0003:1209:4B03.0001/hidraw/hidraw0",
       L"VID_1209&PID_4B03&MI_0B"},
      {"/devices/virtual/misc/uhid/0005:1209:4B03.0009/hidraw/hidraw6",
       L"VID_1209&PID_4B03&{00001812-0000-1000-8000-00805F9B34FB}"},
      {"/devices/pci0000:00/0000:00:14.0/usb1/1-8/1-8:1.0/bluetooth/hci0/hci0:256/0005:046D:B342.0004/hidraw/hidraw2",
       L"VID_046D&PID_B342"},
      {"/devices/virtual/misc/uhid/0003:1209:4B01.0002/hidraw/hidraw1", L"VID_1209&PID_4B01"},
      {"/devices/platform/i8042/serio0/input/input3", L""},
      {"/devices/x/0003:12G9:4B01.0007/hidraw/hidraw3", L""},
      {"0003:1209:4B01.", L""},
      {"", L""},
      {"/", L""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(platform::HidInterfaceIdFromSysPath(c.path), c.id) << c.path;
  }
}

}  // namespace
