#include <gtest/gtest.h>

#include "DeviceTestSupport.h"
#include "device/DevicePresence.h"
#include "device/DeviceTask.h"
#include "platform/DeviceMonitor.h"

namespace {

using platform::kDeviceArrival;
using platform::kDeviceRemoveComplete;

constexpr int kRedetect = TaskCode(DeviceTask::RedetectDevice);
constexpr int kRedetectAfterRemoval = TaskCode(DeviceTask::RedetectAfterRemoval);
constexpr int kLoad = TaskCode(DeviceTask::LoadDeviceData);

class PresenceTest : public DeviceTest {
 protected:
  explicit PresenceTest() : m_indicator(&m_link), m_presence(m_link, m_tasks, m_indicator) {}

  void AddKeyboard(const std::vector<DeviceEntry>& entries = KeyboardEntries()) {
    AddEntries(m_link, entries);
    for (const auto& entry : entries) m_presence.AddConnectionEntry(entry);
  }

  DeviceLink m_link;
  RecordingTaskSink m_tasks;
  RecordingIndicator m_indicator;
  DevicePresence m_presence;
};

TEST_F(PresenceTest, ArrivalQueuesOneRedetectionForAnyMatchingEntry) {
  // An entry with an empty pattern matches every path, so the wired
  // keyboard's interface matches two entries here.
  auto entries = KeyboardEntries();
  entries.push_back({0x1209, 0x4B11, L"", 201, 0, L""});
  AddKeyboard(entries);
  struct Case {
    std::wstring path;
    std::vector<int> tasks;
  } cases[] = {
      {L"VID_1209&PID_4B01&MI_02", {kRedetect}},
      {L"vid_1209&pid_4b02&mi_02", {kRedetect}},  // the test is on the upper-case text
      {L"VID_1209&PID_4B03&MI_02&{00001812-0000-1000-8000-00805F9B34FB}", {}},
      {L"VID_1209&PID_4B01&MI_02&{00001812-0000-1000-8000-00805f9b34fb}", {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.path.begin(), c.path.end()));
    EXPECT_EQ(m_presence.OnDeviceChange(kDeviceArrival, c.path), 0);
    EXPECT_EQ(m_tasks.Take(), c.tasks);
  }
}

TEST_F(PresenceTest, ArrivalOfAnotherDeviceQueuesNothing) {
  AddKeyboard();
  for (const wchar_t* path : {L"VID_046D&PID_C31C&MI_00", L"VID_1209&PID_4B01&MI_00", L"VID_1209&PID_4B01"}) {
    m_presence.OnDeviceChange(kDeviceArrival, path);
  }
  // Other events (a device query, a configuration change) are ignored too.
  m_presence.OnDeviceChange(0x0007, L"VID_1209&PID_4B01&MI_02");
  EXPECT_TRUE(m_tasks.Take().empty());
}

TEST_F(PresenceTest, RemovalActsOnlyOnConnectedEntries) {
  m_keyboard.Set("modes=0,1");
  AddKeyboard();
  const std::wstring wired = L"VID_1209&PID_4B01&MI_02";
  const std::wstring wireless2 = L"VID_1209&PID_4B03&MI_02";
  const std::wstring gatt = L"VID_1209&PID_4B02&MI_02&{00001812-0000-1000-8000-00805F9B34FB}";

  m_presence.OnDeviceChange(kDeviceRemoveComplete, wired);
  EXPECT_TRUE(m_tasks.Take().empty()) << "nothing is connected before the first detection";

  m_presence.DetectKeyboard();
  ASSERT_TRUE(m_presence.IsConnected(0));
  ASSERT_TRUE(m_presence.IsConnected(1));
  ASSERT_FALSE(m_presence.IsConnected(2));

  m_presence.OnDeviceChange(kDeviceRemoveComplete, wireless2);
  m_presence.OnDeviceChange(kDeviceRemoveComplete, gatt);
  EXPECT_TRUE(m_tasks.Take().empty());
  EXPECT_TRUE(m_presence.IsConnected(1));

  m_presence.OnDeviceChange(kDeviceRemoveComplete, wired);
  EXPECT_EQ(m_tasks.Take(), std::vector<int>{kRedetectAfterRemoval});
  EXPECT_FALSE(m_presence.IsConnected(0));
  m_presence.OnDeviceChange(kDeviceRemoveComplete, wired);
  EXPECT_TRUE(m_tasks.Take().empty()) << "the flag was cleared by the first removal";
}

TEST_F(PresenceTest, DetectionFindsTheKeyboardAndQueuesItsData) {
  struct Case {
    const char* modes;
    int connectionMode;
    std::vector<bool> connected;
  } cases[] = {
      {"0", 0, {true, false, false}},
      {"1,2", 2, {true, true, true}},  // flags of earlier detections stay set
  };
  AddKeyboard();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.modes);
    m_keyboard.Set(std::string("modes=") + c.modes);
    m_indicator.calls.clear();
    m_presence.RunDetectionTask(kRedetect);
    const PresenceState state = m_presence.GetState();
    EXPECT_TRUE(state.deviceFound);
    EXPECT_TRUE(state.modelPresent);
    EXPECT_EQ(state.connectionMode, c.connectionMode);
    EXPECT_EQ(state.status, DeviceStatus::Present);
    EXPECT_EQ(m_tasks.Take(), std::vector<int>{kLoad});
    for (size_t i = 0; i < c.connected.size(); ++i) EXPECT_EQ(m_presence.IsConnected(i), c.connected[i]) << i;
    // Detection looks at every type (0); the follow-up selects the keyboard's.
    EXPECT_EQ(m_indicator.selectedTypeAtReset, 0);
    EXPECT_EQ(m_link.GetSelectedDeviceType(), 101);
    EXPECT_TRUE(m_link.IsEnabled());
    ASSERT_FALSE(m_indicator.calls.empty());
    EXPECT_EQ(m_indicator.calls.front(), "reset");
    EXPECT_EQ(m_indicator.calls.back(), "state 101 1");
  }
}

TEST_F(PresenceTest, FirstDetectionRunsOnce) {
  AddKeyboard();
  m_presence.RunDetectionTask(TaskCode(DeviceTask::DetectDevice));
  m_presence.RunDetectionTask(TaskCode(DeviceTask::DetectDevice));
  EXPECT_TRUE(m_presence.GetState().detectionDone);
  EXPECT_EQ(m_tasks.Take(), std::vector<int>{kLoad});
  // Two opens of each of the three interfaces would mean a second detection.
  EXPECT_EQ(m_keyboard.Trace("open").size(), 3u);
}

TEST_F(PresenceTest, UnrecognisedWirelessKeyboardCountsAsAbsent) {
  // The receiver is opened through the second entry, but the opened
  // interface takes the first entry's mode (1), whose product name can
  // never match; the second entry asks for mode 2.
  m_keyboard.Set("modes=1");
  AddKeyboard({{0x1209, 0x4B02, L"K87 Pro", 101, 1, L"VID_1209&PID_4B02&MI_02"},
               {0x1209, 0x4B02, L"", 101, 2, L"VID_1209&PID_4B02&MI_02"}});
  m_presence.RunDetectionTask(kRedetect);
  const PresenceState state = m_presence.GetState();
  EXPECT_TRUE(state.deviceFound);
  EXPECT_FALSE(state.modelPresent);
  EXPECT_EQ(state.connectionMode, 1);
  EXPECT_EQ(state.status, DeviceStatus::Absent);
  EXPECT_TRUE(m_tasks.Take().empty());
}

TEST_F(PresenceTest, StatusTellsAbsentFromNotAccessible) {
  struct Case {
    const char* control;
    DeviceStatus status;
    const wchar_t* text;
  } cases[] = {
      {"modes=", DeviceStatus::Absent, L"absent"},
      {"modes=0\ndeny_open=all", DeviceStatus::PresentNotAccessible, L"present but not accessible"},
      {"modes=0", DeviceStatus::Present, L"present"},
  };
  AddKeyboard();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.control);
    m_keyboard.Set(c.control);
    m_presence.RunDetectionTask(kRedetect);
    const PresenceState state = m_presence.GetState();
    EXPECT_EQ(state.status, c.status);
    EXPECT_EQ(DescribeStatus(state.status), c.text);
    EXPECT_EQ(state.deviceFound, c.status == DeviceStatus::Present);
    EXPECT_EQ(state.inaccessible.empty(), c.status != DeviceStatus::PresentNotAccessible);
    EXPECT_EQ(m_tasks.Take().empty(), c.status != DeviceStatus::Present);
  }
}

}  // namespace
