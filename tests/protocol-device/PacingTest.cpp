// The pauses between reports are part of the protocol: the keyboard drops
// reports that come faster.  The simulator's trace time stamps show that no
// pause is shorter than stated (how much longer is the benchmark's business).
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "VirtualKeyboardControl.h"
#include "device/DeviceLink.h"
#include "device/DeviceLinkTransport.h"
#include "device/ProtocolPacer.h"
#include "device/ReportProtocol.h"
#include "model/KeyboardLayout.h"
#include "store/SettingsStore.h"

namespace {

constexpr int64_t kMillisecond = 1000000;

class PacingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(VirtualKeyboardControl::SimulatorLoaded());
    m_folder = std::filesystem::temp_directory_path() / ("kestrel-pacing-" + std::to_string(::getpid()));
    std::filesystem::remove_all(m_folder);
    std::filesystem::create_directories(m_folder / "db");
    ASSERT_TRUE(m_store.Open(m_folder.wstring() + L"/", L"Pacing"));
    for (uint32_t code = 4; code < 8; ++code) {
      KeyItem key;
      key.code = code;
      key.key_index = static_cast<int>(code);
      m_layout.AddKey(key, std::nullopt);
    }
  }
  void TearDown() override {
    m_link.CloseAll();
    m_store.Close();
    std::filesystem::remove_all(m_folder);
  }
  void Connect(const char* pid, int deviceType) {
    m_control.Set(std::string("keyboard=pacing-") + pid + "\nmodes=0\npids=" + pid);
    m_link.AddDeviceEntry(0x1209, static_cast<uint32_t>(std::stoul(pid, nullptr, 16)), L"", deviceType, 0, L"");
    m_link.OpenAll();
    m_link.SetEnabled(true);
    m_link.SetSelectedDeviceType(deviceType);
    m_control.ClearTrace();
  }
  int MacroOfRows(int rows) {
    const int id = m_store.DbAddMacro(L"m");
    std::vector<MacroEvent> events(static_cast<size_t>(rows));
    for (int i = 0; i < rows; ++i) {
      events[static_cast<size_t>(i)].macro_id = id;
      events[static_cast<size_t>(i)].type = 2 + i % 2;
      events[static_cast<size_t>(i)].record_index = i;
      events[static_cast<size_t>(i)].value = 'A';
    }
    EXPECT_TRUE(m_store.DbAddMacroEvents(events));
    return id;
  }
  void Assign(int code, int type, int value) {
    KeyAssignment a;
    a.profile = 1, a.key_code = code, a.macro_type = type, a.macro_value = value;
    ASSERT_GT(m_store.DbSaveKeyAssignment(a), 0);
  }

  VirtualKeyboardControl m_control;
  DeviceLink m_link;
  DeviceLinkTransport m_transport{m_link};
  SleepingPacer m_pacer;
  SettingsStore m_store;
  KeyboardLayout m_layout;
  ReportProtocol m_protocol{m_store, m_transport, m_pacer};
  std::filesystem::path m_folder;
};

TEST_F(PacingTest, CommandKeyAssignmentsKeepEveryPause) {
  Connect("4B01", 101);
  Assign(4, 3, MacroOfRows(30));
  Assign(5, 7, 1);
  ProtocolInputs in;
  const int64_t start = MonotonicNanoseconds();
  m_protocol.WriteKeyAssignments(in, m_layout);
  const auto outputs = m_control.Trace("output");
  // Two macro chunks, the shortcut, four key-map chunks; the pause before
  // each report: 10 + 100, 100, 10, 20 + 10, 10, 10, 10 ms.
  const int pauses[] = {110, 100, 10, 30, 10, 10, 10};
  ASSERT_EQ(outputs.size(), 7u);
  int64_t previous = start;
  for (size_t i = 0; i < outputs.size(); ++i) {
    EXPECT_GE(outputs[i].nanoseconds - previous, pauses[i] * kMillisecond) << "before report " << i;
    previous = outputs[i].nanoseconds;
  }
}

TEST_F(PacingTest, FeatureReportsAreSixteenMillisecondsApart) {
  Connect("4B11", 201);
  Assign(4, 3, MacroOfRows(4));
  m_protocol.State().SingleKeyPending = true;
  ProtocolInputs in;
  in.deviceType = 201;
  in.currentKey = 4;
  m_protocol.WriteKeyAssignments(in, m_layout);
  const auto sends = m_control.Trace("feature-send");
  // The slot-table query, then the 28 reports of one macro slot.
  ASSERT_EQ(sends.size(), 29u);
  const auto reads = m_control.Trace("feature-get");
  ASSERT_EQ(reads.size(), 4u);
  EXPECT_GE(sends[1].nanoseconds - reads.back().nanoseconds, 100 * kMillisecond) << "100 ms after the query";
  for (size_t i = 2; i < sends.size(); ++i) {
    EXPECT_GE(sends[i].nanoseconds - sends[i - 1].nanoseconds, 16 * kMillisecond) << "before report " << i;
  }
}

}  // namespace
