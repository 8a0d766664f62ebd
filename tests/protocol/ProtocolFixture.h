#pragma once
// A real settings store in a temporary folder, a small layout, and a link
// that records every transfer and pause in one sequence, so tests can check
// report bytes and pacing together.
#include <gtest/gtest.h>

#include <unistd.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "device/ProtocolPacer.h"
#include "device/ReportProtocol.h"
#include "device/ReportTransport.h"
#include "model/KeyboardLayout.h"
#include "store/SettingsStore.h"

enum class Transfer { Report, Stream, Payload, Feature, Query, Pause };

struct LinkEvent {
  Transfer kind = Transfer::Report;
  std::vector<std::uint8_t> bytes;
  int value = 0;  // the pause, or a payload's retry delay
};

class RecordingLink final : public ReportTransport, public ProtocolPacer {
 public:
  bool WriteReport(const HidReport& report) override {
    return Record(Transfer::Report, report.begin(), report.end(), 0);
  }
  bool WriteStreamReport(const HidReport& report) override {
    return Record(Transfer::Stream, report.begin(), report.end(), 0);
  }
  bool WritePayload(const HidPayload& payload, int retryDelayMs) override {
    return Record(Transfer::Payload, payload.begin(), payload.end(), retryDelayMs);
  }
  bool SendFeature(const HidReport& report) override {
    Record(Transfer::Feature, report.begin(), report.end(), 0);
    return false;
  }
  bool QueryFeature(std::uint8_t* buffer) override {
    Record(Transfer::Query, buffer, buffer + 8, 0);
    for (int i = 0; i < kFeatureQueryLength; ++i) buffer[i] = m_slotTable[i];
    return true;
  }
  void Pause(int milliseconds) override { m_events.push_back({Transfer::Pause, {}, milliseconds}); }

  // Writes after the first `count` fail.
  void FailWritesAfter(int count) { m_failAfter = count; }
  void SetSlotTable(const std::vector<std::uint8_t>& answer) {
    for (size_t i = 0; i < answer.size() && i < m_slotTable.size(); ++i) m_slotTable[i] = answer[i];
  }

  std::vector<LinkEvent> Transfers(Transfer kind) const {
    std::vector<LinkEvent> out;
    for (const auto& e : m_events) {
      if (e.kind == kind) out.push_back(e);
    }
    return out;
  }
  std::vector<LinkEvent> AllTransfers() const {
    std::vector<LinkEvent> out;
    for (const auto& e : m_events) {
      if (e.kind != Transfer::Pause) out.push_back(e);
    }
    return out;
  }
  const std::vector<LinkEvent>& Events() const { return m_events; }
  void Clear() { m_events.clear(); }

 private:
  template <typename It>
  bool Record(Transfer kind, It begin, It end, int value) {
    m_events.push_back({kind, std::vector<std::uint8_t>(begin, end), value});
    if (kind == Transfer::Feature || kind == Transfer::Query) return true;
    ++m_writes;
    return m_failAfter < 0 || m_writes <= m_failAfter;
  }

  std::vector<LinkEvent> m_events;
  std::array<std::uint8_t, kFeatureQueryLength> m_slotTable{};
  int m_failAfter = -1;
  int m_writes = 0;
};

class ProtocolTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_folder = std::filesystem::temp_directory_path() /
               ("kestrel-protocol-" + std::to_string(::getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(m_folder);
    std::filesystem::create_directories(m_folder / "db");
    ASSERT_TRUE(m_store.Open(m_folder.wstring() + L"/", L"Protocol Test"));
    // Keys A-F with key slots 10-15 and light slots 20-25; Fn far out.
    for (std::uint32_t code = 4; code <= 9; ++code) AddKey(code, static_cast<int>(code + 6), static_cast<int>(code + 16));
  }
  void TearDown() override {
    m_store.Close();
    std::filesystem::remove_all(m_folder);
  }

  void AddKey(std::uint32_t code, int keySlot, int lightSlot) {
    KeyItem key;
    key.code = code;
    key.key_index = keySlot;
    key.light_index = lightSlot;
    m_layout.AddKey(key, std::nullopt);
  }

  void Assign(int keyCode, int type, int value, int profile = 1, bool expectStored = true) {
    KeyAssignment a;
    a.profile = profile;
    a.key_code = keyCode;
    a.macro_type = type;
    a.macro_value = value;
    EXPECT_EQ(m_store.DbSaveKeyAssignment(a) != 0, expectStored);
  }

  // A macro of `count` alternating key-down / key-up rows of letter A.
  int AddMacro(int playTimes, int count, int delay = 10) {
    const int id = m_store.DbAddMacro(L"macro");
    Macro m;
    m.macro_id = id;
    m.play_times = playTimes;
    EXPECT_TRUE(m_store.DbUpdateMacroPlayback(m));
    std::vector<MacroEvent> events;
    for (int i = 0; i < count; ++i) {
      MacroEvent e;
      e.macro_id = id;
      e.type = i % 2 == 0 ? 2 : 3;
      e.record_index = i;
      e.value = 'A';
      e.delay_time = delay;
      events.push_back(e);
    }
    EXPECT_TRUE(m_store.DbAddMacroEvents(events));
    return id;
  }

  void AddLight(int mode, int brightness, int speed, int direction, int colorful, int color, int configFunc,
                int colorindex = 0) {
    LightSetting l;
    l.profile = 1;
    l.mode = mode;
    l.brightness = brightness;
    l.speed = speed;
    l.direction = direction;
    l.colorful = colorful;
    l.color_value = color;
    l.config_func = configFunc;
    l.colorindex = colorindex;
    ASSERT_NE(m_store.DbAddLight(l), 0);
  }

  ProtocolInputs Inputs(int deviceType = 101, int connectionMode = 0) const {
    ProtocolInputs in;
    in.profile = 1;
    in.deviceType = deviceType;
    in.connectionMode = connectionMode;
    return in;
  }

  std::filesystem::path m_folder;
  SettingsStore m_store;
  KeyboardLayout m_layout;
  RecordingLink m_link;
  ReportProtocol m_protocol{m_store, m_link, m_link};
};
