#include "ProtocolFixture.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Slice(const LinkEvent& e, size_t from, size_t count) {
  return Bytes(e.bytes.begin() + static_cast<long>(from), e.bytes.begin() + static_cast<long>(from + count));
}

std::vector<LinkEvent> WithCommand(const std::vector<LinkEvent>& events, std::uint8_t command) {
  std::vector<LinkEvent> out;
  for (const auto& e : events) {
    if (e.bytes.size() > 1 && e.bytes[1] == command) out.push_back(e);
  }
  return out;
}

TEST_F(ProtocolTest, KeyMapCarriesDisabledRemappedAndUnassignedKeys) {
  Assign(4, 1, 1);     // A disabled
  Assign(5, 2, 0x1E);  // B produces "1"
  m_protocol.WriteKeyAssignments(Inputs(), m_layout);
  const auto chunks = WithCommand(m_link.Transfers(Transfer::Report), 0x8D);
  ASSERT_EQ(chunks.size(), 4u);
  // Slots 10 and 11 sit in the first chunk at bytes 5 + 2 x slot.
  EXPECT_EQ(Slice(chunks[0], 25, 6), (Bytes{0x00, 0x20, 0x1E, 0x20, 0x00, 0x00}));
  const int lengths[] = {60, 60, 60, 40};
  for (int j = 0; j < 4; ++j) {
    EXPECT_EQ(chunks[j].bytes[2], lengths[j]);
    EXPECT_EQ(chunks[j].bytes[3] | chunks[j].bytes[4] << 8, 60 * j);
  }
}

TEST_F(ProtocolTest, MacrosThenShortcutsTakeSlotsInStoreOrder) {
  const int first = AddMacro(1, 2);
  const int second = AddMacro(1, 2);
  Assign(4, 3, first);
  Assign(5, 7, 2);  // Ctrl+C
  Assign(6, 3, second);
  m_protocol.WriteKeyAssignments(Inputs(), m_layout);

  const auto macroReports = WithCommand(m_link.Transfers(Transfer::Report), 0x8E);
  ASSERT_EQ(macroReports.size(), 3u);
  EXPECT_EQ(macroReports[0].bytes[5], 0);
  EXPECT_EQ(macroReports[1].bytes[5], 1);
  EXPECT_EQ(Slice(macroReports[2], 1, 20),
            (Bytes{0x8E, 12, 0, 0, 2, 1, 4, 0xE0, 0x64, 0x80, 0x06, 0x64, 0x80, 0x06, 0x64, 0x00, 0xE0,
                   0x64, 0x00, 0x00}));
  const auto keyMap = WithCommand(m_link.Transfers(Transfer::Report), 0x8D);
  ASSERT_FALSE(keyMap.empty());
  EXPECT_EQ(Slice(keyMap[0], 25, 6), (Bytes{0x00, 0x40, 0x02, 0x40, 0x01, 0x40}));
  EXPECT_EQ(m_protocol.State().macroSlots.at(6), 1);
}

TEST_F(ProtocolTest, MacroChunkArithmetic) {
  struct Case {
    int rows;
    std::vector<int> lengths;
    std::vector<int> offsets;
  };
  const Case cases[] = {
      {30, {59, 33}, {0, 59}},
      {10, {33}, {0}},
      {19, {59, 0}, {0, 59}},  // T = 60: the last chunk declares nothing
  };
  for (const auto& c : cases) {
    m_link.Clear();
    m_store.DbDeleteProfileAssignments(1);
    Assign(4, 3, AddMacro(1, c.rows));
    m_protocol.WriteKeyAssignments(Inputs(), m_layout);
    const auto chunks = WithCommand(m_link.Transfers(Transfer::Report), 0x8E);
    ASSERT_EQ(chunks.size(), c.lengths.size()) << c.rows << " rows";
    for (size_t k = 0; k < chunks.size(); ++k) {
      EXPECT_EQ(chunks[k].bytes[2], c.lengths[k]) << c.rows << " rows, chunk " << k;
      EXPECT_EQ(chunks[k].bytes[3] | chunks[k].bytes[4] << 8, c.offsets[k]);
    }
    // Chunk k carries the buffer from 59 k: buffer byte 59 starts the 20th
    // event, a key-up of A after 10 ms.
    if (c.rows == 30) {
      EXPECT_EQ(Slice(chunks[1], 6, 3), (Bytes{0x04, 0x80 | 10, 0x00}));
    }
  }
}

TEST_F(ProtocolTest, FailedMacroChunkStopsMacrosButNotTheKeyMap) {
  Assign(4, 3, AddMacro(1, 40));  // two chunks
  Assign(5, 3, AddMacro(1, 2));
  Assign(6, 1, 1);
  m_link.FailWritesAfter(1);
  m_protocol.WriteKeyAssignments(Inputs(), m_layout);
  EXPECT_EQ(WithCommand(m_link.Transfers(Transfer::Report), 0x8E).size(), 2u);
  const auto keyMap = WithCommand(m_link.Transfers(Transfer::Report), 0x8D);
  ASSERT_EQ(keyMap.size(), 4u);
  EXPECT_EQ(Slice(keyMap[0], 25, 6), (Bytes{0x00, 0x00, 0x00, 0x00, 0x00, 0x20}));
}

TEST_F(ProtocolTest, KeyAssignmentPacing) {
  Assign(4, 3, AddMacro(1, 30));
  Assign(5, 7, 1);
  m_protocol.WriteKeyAssignments(Inputs(), m_layout);
  std::vector<std::string> sequence;
  for (const auto& e : m_link.Events()) {
    sequence.push_back(e.kind == Transfer::Pause ? std::to_string(e.value) : std::string("R"));
  }
  const std::vector<std::string> expected = {"10", "100", "R", "100", "R", "10", "R", "20",
                                             "10", "R",   "10", "R",   "10", "R", "10", "R"};
  EXPECT_EQ(sequence, expected);
}

TEST_F(ProtocolTest, LightingSendsModeOnceThenParameters) {
  AddLight(3, 4, 2, 1, 1, 0x00CCBBAA, 0x27);
  ProtocolInputs in = Inputs();
  in.lightMode = 3;
  m_protocol.State().LightModeSent = false;
  m_protocol.WriteLighting(in, m_layout);
  LightSetting changed;
  ASSERT_TRUE(m_store.DbGetLight(1, 3, changed));
  changed.brightness = 2;
  ASSERT_TRUE(m_store.DbUpdateLight(1, 3, changed));
  m_protocol.WriteLighting(in, m_layout);

  const auto reports = m_link.Transfers(Transfer::Report);
  ASSERT_EQ(reports.size(), 2u);
  EXPECT_EQ(Slice(reports[0], 0, 8), (Bytes{0, 0x88, 0, 3, 0, 0, 0, 0}));
  EXPECT_EQ(Slice(reports[1], 0, 8), (Bytes{0, 0x89, 0, 0x80 | 0x10 | 2, 0xAA, 0xBB, 0xCC, 2}));

  m_link.Clear();
  in.lightMode = 9;  // no row: nothing is sent
  m_protocol.WriteLighting(in, m_layout);
  EXPECT_TRUE(m_link.AllTransfers().empty());
}

TEST_F(ProtocolTest, KeyLightsAndStreamFrames) {
  std::vector<KeyLight> rows(2);
  rows[0].profile = 1, rows[0].light_id = 128, rows[0].key_code = 4, rows[0].key_rgb = 0x030201;
  rows[1].profile = 1, rows[1].light_id = 128, rows[1].key_code = 200, rows[1].key_rgb = 0xFFFFFF;
  ASSERT_EQ(m_store.DbAddKeyLights(rows), 2);
  m_protocol.WriteKeyLights(Inputs(), m_layout);
  const auto lights = m_link.Transfers(Transfer::Report);
  ASSERT_EQ(lights.size(), 8u);
  // Light slot 20 is at buffer offset 80: chunk 1, byte 20.
  EXPECT_EQ(Slice(lights[1], 25, 4), (Bytes{1, 2, 3, 0xFF}));
  EXPECT_EQ(lights[7].bytes[2], 20);

  m_link.Clear();
  m_protocol.State().StreamStartPending = true;
  m_protocol.StreamFrame(Inputs(), m_layout, {{5, 0x0000FF}});
  const auto start = m_link.Transfers(Transfer::Report);
  ASSERT_EQ(start.size(), 1u);
  EXPECT_EQ(Slice(start[0], 0, 4), (Bytes{0, 0xF0, 0xF4, 0x01}));
  const auto frame = m_link.Transfers(Transfer::Stream);
  ASSERT_EQ(frame.size(), 8u);
  EXPECT_EQ(Slice(frame[1], 29, 4), (Bytes{0xFF, 0, 0, 0x80}));
  EXPECT_EQ(frame[7].bytes[2], 30);
  EXPECT_FALSE(m_protocol.State().StreamStartPending);

  m_link.Clear();
  m_protocol.StreamFrame(Inputs(101, 1), m_layout, {{5, 0x0000FF}});
  EXPECT_TRUE(m_link.AllTransfers().empty()) << "no streaming over a wireless link";
}

TEST_F(ProtocolTest, ColourSchemeAndReset) {
  AddLight(20, 4, 3, 0, 0, 0, 0x100);
  ProtocolInputs in = Inputs();
  in.lightMode = 20;
  m_protocol.SelectColourScheme(in, m_layout, 2);
  const auto features = m_link.Transfers(Transfer::Feature);
  ASSERT_EQ(features.size(), 1u);
  EXPECT_EQ(Slice(features[0], 0, 8), (Bytes{0x07, 0xFF, 0xFF, 19, 4, 3, 0, 2}));

  m_link.Clear();
  bool reloaded = false;
  m_protocol.ResetDevice(in, m_layout, [&] {
    reloaded = true;
    EXPECT_TRUE(m_link.AllTransfers().empty()) << "pages reload before the key map is sent";
  });
  EXPECT_TRUE(reloaded);
  const auto reports = m_link.Transfers(Transfer::Report);
  ASSERT_EQ(reports.size(), 5u);
  EXPECT_EQ(Slice(reports[4], 0, 5), (Bytes{0, 0xFF, 0xFE, 0xAA, 0xFF}));
  EXPECT_EQ(m_link.Events()[m_link.Events().size() - 2].value, 100);
}

TEST_F(ProtocolTest, DeviceTypesAbove399SendNothing) {
  Assign(4, 1, 1);
  AddLight(1, 1, 1, 0, 0, 0, 0);
  ProtocolInputs in = Inputs(400);
  in.lightMode = 1;
  m_protocol.WriteKeyAssignments(in, m_layout);
  m_protocol.WriteLighting(in, m_layout);
  m_protocol.ResetDevice(in, m_layout, nullptr);
  EXPECT_TRUE(m_link.Events().empty());
}

}  // namespace
