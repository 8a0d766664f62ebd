#include "device/MacroEncoding.h"

#include <gtest/gtest.h>

#include "model/KeyboardLayout.h"

namespace {

TEST(EncodeDelay, UnitsCountsAndClamps) {
  struct Case {
    bool up;
    int ms;
    int expected;
  };
  const Case cases[] = {
      {false, 0, 0x01},     {true, 5, 0x81},      {false, 10, 0x01},   {true, 10, 0x81},
      {false, 100, 0x0A},   {false, 310, 0x1F},   {false, 311, 0x26},  {true, 500, 0xAA},
      {false, 1550, 0x3F},  {false, 1551, 0x4F},  {false, 3100, 0x5F}, {false, 3101, 0x63},
      {true, 31000, 0xFF},  {true, 40000, 0xFF},  {false, -5, 0x01},   {true, -5, 0x80},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(EncodeDelay(c.up, c.ms), c.expected) << "up=" << c.up << " ms=" << c.ms;
  }
}

TEST(CommandMacroBuffer, PlayCountEventFlagsAndRowCount) {
  Macro macro;
  macro.play_times = 300;
  std::vector<MacroEvent> rows(3);
  rows[0].type = 2, rows[0].value = 'A', rows[0].delay_time = 0x1234;
  rows[1].type = 5, rows[1].value = 'B';  // counted, not encoded
  rows[2].type = 3, rows[2].value = 'A', rows[2].delay_time = 0x0102;
  const auto buffer = BuildCommandMacroBuffer(&macro, rows);
  ASSERT_EQ(buffer.size(), 1200u);
  EXPECT_EQ(buffer[0], 255);
  EXPECT_EQ(buffer[1], 3);
  const std::vector<std::uint8_t> events(buffer.begin() + 2, buffer.begin() + 9);
  EXPECT_EQ(events, (std::vector<std::uint8_t>{0x04, 0x34, 0x92, 0x04, 0x82, 0x01, 0x00}));

  macro.play_times = 0;
  EXPECT_EQ(BuildCommandMacroBuffer(&macro, {})[0], 1);
  EXPECT_EQ(BuildCommandMacroBuffer(nullptr, {})[0], 1);
}

TEST(CommandMacroBuffer, OversizedMacroStaysInsideItsBuffer) {
  std::vector<MacroEvent> rows(1000);
  for (auto& r : rows) r.type = 2, r.value = 'A';
  const auto buffer = BuildCommandMacroBuffer(nullptr, rows);
  EXPECT_EQ(buffer.size(), 1200u);
  EXPECT_EQ(buffer[1], 1000 & 0xFF);
  EXPECT_EQ(buffer[2 + 3 * 398], 0x04);  // the last event that fits
  EXPECT_EQ(CommandMacroLength(1000), 1200);
  EXPECT_EQ(CommandMacroLength(30), 93);
}

TEST(CommandKeyMap, EntriesBySlotAndSkippedSlots) {
  KeyboardLayout layout;
  auto add = [&](std::uint32_t code, int slot) {
    KeyItem key;
    key.code = code;
    key.key_index = slot;
    layout.AddKey(key, std::nullopt);
  };
  add(4, 0);
  add(5, 1);
  add(6, 2);
  add(7, 179);  // the last slot of the 360-byte map
  add(8, 3);
  std::vector<KeyAssignment> assignments(6);
  assignments[0].key_code = 4, assignments[0].macro_type = 1;
  assignments[1].key_code = 5, assignments[1].macro_type = 2, assignments[1].macro_value = 0x1E;
  assignments[2].key_code = 6, assignments[2].macro_type = 3, assignments[2].macro_value = 9;
  assignments[3].key_code = 7, assignments[3].macro_type = 7, assignments[3].macro_value = 1;
  assignments[4].key_code = 8, assignments[4].macro_type = 3;  // macro never written: no entry
  assignments[5].key_code = 99, assignments[5].macro_type = 1;  // no slot: skipped
  const std::map<std::uint32_t, int> macroSlots = {{6, 0}, {7, 1}};
  const auto map = BuildCommandKeyMap(assignments, layout, macroSlots);
  ASSERT_EQ(map.size(), 360u);
  EXPECT_EQ(std::vector<std::uint8_t>(map.begin(), map.begin() + 8),
            (std::vector<std::uint8_t>{0x00, 0x20, 0x1E, 0x20, 0x00, 0x40, 0x00, 0x00}));
  EXPECT_EQ(map[358], 0x01);
  EXPECT_EQ(map[359], 0x40);
}

TEST(ColourBuffer, FourBytesPerLightSlot) {
  KeyboardLayout layout;
  KeyItem key;
  key.code = 4;
  key.light_index = 2;
  layout.AddKey(key, std::nullopt);
  const auto buffer = BuildColourBuffer({{4, 0x00332211}, {77, 0xFFFFFF}}, layout, 0x80);
  ASSERT_EQ(buffer.size(), 600u);
  EXPECT_EQ(std::vector<std::uint8_t>(buffer.begin() + 8, buffer.begin() + 12),
            (std::vector<std::uint8_t>{0x11, 0x22, 0x33, 0x80}));
  EXPECT_EQ(std::count(buffer.begin(), buffer.end(), 0), 596);
}

TEST(MacroRecords, FeatureAndSignatureEventsAreCappedToTheirRecords) {
  std::vector<MacroEvent> rows(200);
  for (size_t i = 0; i < rows.size(); ++i) rows[i].type = i % 2 ? 3 : 2, rows[i].value = 'B', rows[i].delay_time = 100;
  Macro macro;
  macro.play_times = 3;
  KeyAssignment assignment;
  assignment.key_code = 0x2C;
  assignment.macro_type = 3;
  const auto feature = BuildFeatureMacroRecord(4, &assignment, &macro, rows);
  EXPECT_EQ((std::vector<std::uint8_t>{feature[0], feature[1], feature[2], feature[3], feature[4], feature[5],
                                       feature[6], feature[7]}),
            (std::vector<std::uint8_t>{0x01, 0x04, 0x2C, 0x03, 0x05, 0x0A, 0x05, 0x8A}));
  EXPECT_EQ(feature[166], 0x05);  // 82 events fill the record exactly

  const auto signature = BuildSignatureMacroRecord(2, assignment, &macro, rows);
  EXPECT_EQ(signature[0], 2);
  EXPECT_EQ(signature[3], 79);  // what fits in 162 bytes
  EXPECT_EQ(signature[160], 0x05);

  KeyAssignment shortcut;
  shortcut.key_code = 0x2C;
  shortcut.macro_type = 7;
  shortcut.macro_value = 99;  // no such shortcut
  const auto unknown = BuildSignatureMacroRecord(1, shortcut, nullptr, {});
  EXPECT_EQ(unknown[2], 1);
  EXPECT_EQ(unknown[3], 4);
  EXPECT_EQ(unknown[4], 0);

  KeyAssignment other;
  other.key_code = 0x2C;
  other.macro_type = 2;
  const auto freed = BuildFeatureMacroRecord(9, &other, nullptr, {});
  EXPECT_EQ(std::count(freed.begin(), freed.end(), 0), 166);
  EXPECT_EQ(freed[1], 9);
}

}  // namespace
