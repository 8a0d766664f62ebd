#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <set>

#include "DeviceTestSupport.h"

namespace {

using namespace std::chrono_literals;

constexpr int64_t kMs = 1000000;

std::set<std::string> Ids(const std::vector<TraceLine>& lines) {
  std::set<std::string> ids;
  for (const auto& line : lines) ids.insert(line.interfaceId);
  return ids;
}

TEST_F(DeviceTest, EveryTransferIsRefusedUntilEnabled) {
  DeviceLink link;
  AddEntries(link, KeyboardEntries());
  std::array<uint8_t, 28> answer{0x07, 0xFB, 0x01};
  const auto report = NumberedReport(0x88, 1);
  for (bool opened : {false, true}) {
    SCOPED_TRACE(opened ? "after OpenAll" : "before OpenAll");
    if (opened) link.OpenAll();  // detection has not set `enabled`
    EXPECT_FALSE(link.WriteReport(report));
    EXPECT_FALSE(link.WriteStreamReport(report));
    EXPECT_FALSE(link.WritePayload(DeviceLink::Payload{}, 10ms));
    EXPECT_FALSE(link.SendFeature(report));
    EXPECT_FALSE(link.QueryFeature(answer));
  }
  for (const auto& line : m_keyboard.Trace()) {
    EXPECT_TRUE(line.kind == "open" || line.kind == "close") << line.kind << " reached the keyboard";
  }
}

TEST_F(DeviceTest, OnlyEntriesWithoutProductNameMatch) {
  struct Case {
    std::wstring productName;
    bool opened;
  } cases[] = {{L"", true}, {L"Kestrel K87", false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.productName.begin(), c.productName.end()));
    m_keyboard.ClearTrace();
    DeviceLink link;
    link.AddDeviceEntry(0x1209, 0x4B01, c.productName, 101, 0, L"VID_1209&PID_4B01&MI_02");
    link.OpenAll();
    std::vector<OpenedDevice> devices;
    EXPECT_EQ(link.CollectDevices(devices), c.opened);
    EXPECT_EQ(m_keyboard.Trace("open").empty(), !c.opened);
  }
}

TEST_F(DeviceTest, DiscoveryKeepsVendorInterfacesAndClosesTheRest) {
  m_keyboard.Set("modes=0");
  DeviceLink link;
  AddEntries(link, KeyboardEntries());
  link.OpenAll();

  std::vector<OpenedDevice> devices;
  ASSERT_TRUE(link.CollectDevices(devices));
  ASSERT_EQ(devices.size(), 1u);
  EXPECT_EQ(devices[0].interfaceId, L"VID_1209&PID_4B01&MI_02");
  EXPECT_EQ(devices[0].mode, 0);
  EXPECT_TRUE(devices[0].wired);
  EXPECT_EQ(devices[0].deviceType, 101);
  EXPECT_NE(link.GetStreamHandle(), nullptr);
  EXPECT_NE(link.GetStreamHandle(), devices[0].handle);

  // The boot keyboard is opened and closed again; the unrelated device of
  // the same vendor is never touched.
  const auto opens = Ids(m_keyboard.Trace("open"));
  EXPECT_EQ(opens, (std::set<std::string>{"VID_1209&PID_4B01&MI_00", "VID_1209&PID_4B01&MI_02",
                                          "VID_1209&PID_4B01&MI_03"}));
  EXPECT_EQ(Ids(m_keyboard.Trace("close")), std::set<std::string>{"VID_1209&PID_4B01&MI_00"});

  link.CloseAll();
  EXPECT_EQ(Ids(m_keyboard.Trace("close")), opens);
  EXPECT_FALSE(link.CollectDevices(devices = {}));
  EXPECT_EQ(link.GetStreamHandle(), nullptr);
}

TEST_F(DeviceTest, StreamInterfaceCarriesOnlyStreamReports) {
  m_keyboard.Set("modes=0");
  DeviceLink link;
  AddEntries(link, KeyboardEntries());
  OpenLikeDetection(link);
  m_keyboard.ClearTrace();

  EXPECT_TRUE(link.WriteReport(NumberedReport(0x88, 1)));
  EXPECT_TRUE(link.WritePayload(DeviceLink::Payload{0xAA, 0x55}, 10ms));
  EXPECT_TRUE(link.SendFeature(NumberedReport(0xFF, 3)));
  std::array<uint8_t, 28> answer{0x07, 0xFB, 0x01};
  EXPECT_TRUE(link.QueryFeature(answer));
  EXPECT_TRUE(link.WriteStreamReport(NumberedReport(0xF1, 4)));

  for (const auto& line : m_keyboard.Trace()) {
    const std::string expected = line.kind == "stream" ? "VID_1209&PID_4B01&MI_03" : "VID_1209&PID_4B01&MI_02";
    EXPECT_EQ(line.interfaceId, expected) << line.kind;
  }
  ASSERT_EQ(m_keyboard.Trace("stream").size(), 1u);
  EXPECT_EQ(m_keyboard.Trace("stream")[0].bytes[1], 0xF1);
  // The payload goes out as a 65-byte report with report id 0.
  const auto outputs = m_keyboard.Trace("output");
  ASSERT_EQ(outputs.size(), 2u);
  EXPECT_EQ(outputs[1].bytes.size(), 65u);
  EXPECT_EQ(outputs[1].bytes[0], 0x00);
  EXPECT_EQ(outputs[1].bytes[1], 0xAA);
  EXPECT_EQ(outputs[1].bytes[2], 0x55);
}

TEST_F(DeviceTest, ActiveHandleAndConnectionModeFollowTheirPriorities) {
  struct Case {
    const char* modes;
    const char* reportsTo;  // "" = refused
    int connectionMode;
  } cases[] = {
      {"0,1,2", "VID_1209&PID_4B01&MI_02", 0},
      {"1,2", "VID_1209&PID_4B02&MI_02", 2},
      {"1", "VID_1209&PID_4B02&MI_02", 1},
      {"2", "VID_1209&PID_4B03&MI_02", 2},
      {"", "", -1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string("modes=") + c.modes);
    m_keyboard.Set(std::string("modes=") + c.modes);
    DeviceLink link;
    AddEntries(link, KeyboardEntries());
    OpenLikeDetection(link);
    m_keyboard.ClearTrace();
    EXPECT_EQ(link.GetConnectionMode(), c.connectionMode);
    EXPECT_EQ(link.WriteReport(NumberedReport(0x89, 1)), *c.reportsTo != '\0');
    const auto outputs = m_keyboard.Trace("output");
    if (*c.reportsTo) {
      ASSERT_EQ(outputs.size(), 1u);
      EXPECT_EQ(outputs[0].interfaceId, c.reportsTo);
    } else {
      EXPECT_TRUE(outputs.empty());
    }
  }
}

TEST_F(DeviceTest, SelectedDeviceTypeFiltersCollectAndActiveHandle) {
  m_keyboard.Set("modes=0");
  DeviceLink link;
  AddEntries(link, KeyboardEntries());
  OpenLikeDetection(link);
  std::vector<OpenedDevice> devices;
  link.SetSelectedDeviceType(201);
  link.ClearActiveHandle();
  EXPECT_TRUE(link.CollectDevices(devices));
  EXPECT_TRUE(devices.empty());
  EXPECT_EQ(link.GetActiveHandle(), nullptr);
  EXPECT_EQ(link.GetConnectionMode(), -1);
  link.SetSelectedDeviceType(0);
  EXPECT_TRUE(link.CollectDevices(devices));
  EXPECT_EQ(devices.size(), 1u);
}

TEST_F(DeviceTest, FindDeviceStopsAtTheFirstMatch) {
  // Two modes under one product id: two opened interfaces with the same vid,
  // pid and mode (both take the mode of the first entry).
  m_keyboard.Set("modes=0,1\npids=4B01,4B01");
  DeviceLink link;
  AddEntries(link, KeyboardEntries());
  OpenLikeDetection(link);
  std::vector<OpenedDevice> devices;
  ASSERT_TRUE(link.CollectDevices(devices));
  ASSERT_EQ(devices.size(), 2u);
  EXPECT_EQ(link.FindDevice(0x1209, 0x4B01, L"", 0), 0);
  EXPECT_EQ(link.FindDevice(0x1209, 0x4B01, L"Kestrel K87", 0), -1);
  EXPECT_EQ(link.FindDevice(0x1209, 0x4B01, L"", 1), -1);
  EXPECT_EQ(link.FindDevice(0x1209, 0x4B02, L"", 1), -1);
}

TEST_F(DeviceTest, QueryFeatureReadsFourTimesAndKeepsWhatIsNotAnswered) {
  struct Case {
    const char* name;
    const char* answer;  // control line, "" = the keyboard answers nothing
    int answeredReads;
  } cases[] = {
      {"no answer", "", 0},
      {"three of four reads answered",
       "feature_answer=07FB01 07a1a2a3a4a5a6a7 07b1b2b3b4b5b6b7 07c1c2c3c4c5c6c7", 3},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    m_keyboard.Set(std::string("modes=0\n") + c.answer);
    DeviceLink link;
    AddEntries(link, KeyboardEntries());
    OpenLikeDetection(link);
    m_keyboard.ClearTrace();

    std::array<uint8_t, 28> buffer{};
    for (size_t i = 0; i < buffer.size(); ++i) buffer[i] = static_cast<uint8_t>(0xE0 + i);
    buffer[0] = 0x07;
    buffer[1] = 0xFB;
    buffer[2] = 0x01;
    const auto request = buffer;
    EXPECT_TRUE(link.QueryFeature(buffer));

    const uint8_t rows[] = {0xA0, 0xB0, 0xC0};
    for (int k = 0; k < 4; ++k) {
      for (int i = 0; i < 7; ++i) {
        const size_t at = static_cast<size_t>(7 * k + i);
        const uint8_t expected =
            k < c.answeredReads ? static_cast<uint8_t>(rows[k] + i + 1) : request[at];
        EXPECT_EQ(buffer[at], expected) << "byte " << at;
      }
    }
    const auto sends = m_keyboard.Trace("feature-send");
    const auto reads = m_keyboard.Trace("feature-get");
    ASSERT_EQ(sends.size(), 1u);
    EXPECT_EQ(sends[0].bytes, std::vector<uint8_t>(request.begin(), request.begin() + 8));
    ASSERT_EQ(reads.size(), 4u);
    int64_t previous = sends[0].nanoseconds;
    for (const auto& read : reads) {
      EXPECT_GE(read.nanoseconds - previous, 16 * kMs);
      previous = read.nanoseconds;
    }
  }
  DeviceLink link;
  std::array<uint8_t, 27> shortBuffer{};
  EXPECT_FALSE(link.QueryFeature(shortBuffer));
}

TEST_F(DeviceTest, FailedWritesAreRetriedOnceAfterTheirPause) {
  enum class Kind { Report, Stream, Payload10, Payload32 };
  struct Case {
    const char* name;
    Kind kind;
    int failures;
    bool result;
    int64_t pauseMs;
  } cases[] = {
      {"report, first write fails", Kind::Report, 1, true, 10},
      {"report, both writes fail", Kind::Report, 2, false, 10},
      {"stream, first write fails", Kind::Stream, 1, true, 10},
      {"stream, both writes fail", Kind::Stream, 2, false, 10},
      {"payload, 10 ms", Kind::Payload10, 1, true, 10},
      {"payload, 32 ms", Kind::Payload32, 2, false, 32},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    m_keyboard.Set("modes=0");
    DeviceLink link;
    AddEntries(link, KeyboardEntries());
    OpenLikeDetection(link);
    m_keyboard.Set("modes=0\nfail_writes=" + std::to_string(c.failures));
    m_keyboard.ClearTrace();
    bool result = false;
    switch (c.kind) {
      case Kind::Report: result = link.WriteReport(NumberedReport(0x89, 7)); break;
      case Kind::Stream: result = link.WriteStreamReport(NumberedReport(0xF1, 7)); break;
      case Kind::Payload10: result = link.WritePayload(DeviceLink::Payload{0xAA}, 10ms); break;
      case Kind::Payload32: result = link.WritePayload(DeviceLink::Payload{0xAA}, 32ms); break;
    }
    EXPECT_EQ(result, c.result);
    auto writes = m_keyboard.Trace(c.kind == Kind::Stream ? "stream" : "output");
    ASSERT_EQ(writes.size(), 2u) << "one write and exactly one retry";
    EXPECT_EQ(writes[0].result, -1);
    EXPECT_EQ(writes[1].result, c.result ? 65 : -1);
    EXPECT_EQ(writes[0].bytes, writes[1].bytes);
    EXPECT_GE(writes[1].nanoseconds - writes[0].nanoseconds, c.pauseMs * kMs);
  }
}

TEST_F(DeviceTest, SendFeaturePausesFirstAndIsNeverRetried) {
  m_keyboard.Set("modes=0");
  DeviceLink link;
  AddEntries(link, KeyboardEntries());
  OpenLikeDetection(link);
  m_keyboard.ClearTrace();
  const int64_t before = MonotonicNanoseconds();
  EXPECT_TRUE(link.SendFeature(NumberedReport(0xFF, 0x0207)));
  auto sends = m_keyboard.Trace("feature-send");
  ASSERT_EQ(sends.size(), 1u);
  EXPECT_EQ(sends[0].bytes.size(), 65u);
  EXPECT_GE(sends[0].nanoseconds - before, 16 * kMs);

  m_keyboard.Set("modes=");  // unplugged: the send fails and is not repeated
  m_keyboard.ClearTrace();
  EXPECT_FALSE(link.SendFeature(NumberedReport(0xFF, 1)));
  sends = m_keyboard.Trace("feature-send");
  ASSERT_EQ(sends.size(), 1u);
  EXPECT_EQ(sends[0].result, -1);
}

TEST_F(DeviceTest, RefusedOpensAreRetriedThenRememberedAsInaccessible) {
  struct Case {
    const char* denied;
    size_t openedDevices;
    size_t inaccessible;
  } cases[] = {{"2", 1, 0}, {"all", 0, 2}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string("deny_open=") + c.denied);
    m_keyboard.Set(std::string("modes=0\ndeny_open=") + c.denied);
    m_keyboard.ClearTrace();
    DeviceLink link;
    AddEntries(link, KeyboardEntries());
    link.OpenAll();
    std::vector<OpenedDevice> devices;
    link.CollectDevices(devices);
    EXPECT_EQ(devices.size(), c.openedDevices);
    const auto inaccessible = link.GetInaccessibleInterfaces();
    ASSERT_EQ(inaccessible.size(), c.inaccessible);
    for (const auto& item : inaccessible) {
      EXPECT_TRUE(item.interfaceId == L"VID_1209&PID_4B01&MI_02" || item.interfaceId == L"VID_1209&PID_4B01&MI_03");
      EXPECT_EQ(item.deviceType, 101);
    }
    // The vendor interface: the first open and at most three more, 100 ms
    // apart; the boot keyboard is never retried.
    std::vector<TraceLine> vendorOpens;
    size_t bootOpens = 0;
    for (const auto& line : m_keyboard.Trace("open")) {
      if (line.interfaceId == "VID_1209&PID_4B01&MI_02") vendorOpens.push_back(line);
      if (line.interfaceId == "VID_1209&PID_4B01&MI_00") ++bootOpens;
    }
    EXPECT_EQ(bootOpens, 1u);
    ASSERT_EQ(vendorOpens.size(), std::string(c.denied) == "all" ? 4u : 3u);
    for (size_t i = 1; i < vendorOpens.size(); ++i) {
      EXPECT_EQ(vendorOpens[i - 1].result, -13);
      EXPECT_GE(vendorOpens[i].nanoseconds - vendorOpens[i - 1].nanoseconds, 100 * kMs);
    }
  }
}

TEST_F(DeviceTest, ReleasesHandlesWhenOpenedTwice) {
  m_keyboard.Set("modes=0");
  DeviceLink link;
  AddEntries(link, KeyboardEntries());
  link.OpenAll();
  link.OpenAll();
  std::vector<OpenedDevice> devices;
  ASSERT_TRUE(link.CollectDevices(devices));
  EXPECT_EQ(devices.size(), 1u);
  EXPECT_EQ(devices[0].index, 0);
  // Every handle of the first discovery was closed by the second.
  EXPECT_EQ(m_keyboard.Trace("close").size(), 1u + 2u + 1u);
}

}  // namespace
