#include "ProtocolFixture.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// The 168-byte record that 28 feature reports of 07 F1 carry.
struct MacroSlotWrite {
  Bytes record;
};

std::vector<MacroSlotWrite> MacroSlotWrites(const std::vector<LinkEvent>& features) {
  std::vector<MacroSlotWrite> out;
  for (size_t i = 0; i < features.size(); ++i) {
    if (features[i].bytes[1] != 0xF1) continue;
    MacroSlotWrite w;
    for (size_t r = 0; r < 28 && i + r < features.size(); ++r) {
      for (size_t b = 2; b < 8; ++b) w.record.push_back(features[i + r].bytes[b]);
    }
    out.push_back(w);
  }
  return out;
}

std::vector<Bytes> Remaps(const std::vector<LinkEvent>& features) {
  std::vector<Bytes> out;
  for (const auto& f : features) {
    if (f.bytes[1] == 0xFA) out.push_back(Bytes(f.bytes.begin(), f.bytes.begin() + 8));
  }
  return out;
}

class FeatureProtocolTest : public ProtocolTest {
 protected:
  ProtocolInputs SingleKey(int key) {
    ProtocolInputs in = Inputs(201);
    in.currentKey = key;
    m_protocol.State().SingleKeyPending = true;
    return in;
  }
};

TEST_F(FeatureProtocolTest, SingleKeyReusesItsSlotOrTakesTheFirstFree) {
  // Macro slots 1 and 2 are owned by keys 0x10 and 0x05 (B); slot 3 is free.
  // Remap slot 1 is owned by 0x06 (C).
  Bytes table(28, 0);
  table[1] = 0x10;
  table[2] = 0x05;
  table[14] = 0x06;
  m_link.SetSlotTable(table);

  Assign(5, 7, 2);  // B plays Ctrl+C: keeps its slot 2
  m_protocol.WriteKeyAssignments(SingleKey(5), m_layout);
  auto writes = MacroSlotWrites(m_link.Transfers(Transfer::Feature));
  ASSERT_EQ(writes.size(), 1u);
  EXPECT_EQ(Bytes(writes[0].record.begin(), writes[0].record.begin() + 8),
            (Bytes{0x01, 2, 0x05, 1, 0xE0, 0x01, 0x06, 0x01}));
  EXPECT_FALSE(m_protocol.State().SingleKeyPending);

  m_link.Clear();
  Assign(4, 7, 1);  // A owns nothing: the first free macro slot is 3
  m_protocol.WriteKeyAssignments(SingleKey(4), m_layout);
  writes = MacroSlotWrites(m_link.Transfers(Transfer::Feature));
  ASSERT_EQ(writes.size(), 1u);
  EXPECT_EQ(writes[0].record[1], 3);

  m_link.Clear();
  Assign(6, 2, 0x1E);  // C remapped: reuses remap slot 1
  m_protocol.WriteKeyAssignments(SingleKey(6), m_layout);
  EXPECT_EQ(Remaps(m_link.Transfers(Transfer::Feature)),
            (std::vector<Bytes>{{0x07, 0xFA, 0x01, 1, 0x06, 0x01, 0x1E, 0x01}}));

  m_link.Clear();
  Assign(5, 1, 1);  // B disabled: its macro slot 2 is freed
  m_protocol.WriteKeyAssignments(SingleKey(5), m_layout);
  writes = MacroSlotWrites(m_link.Transfers(Transfer::Feature));
  ASSERT_EQ(writes.size(), 1u);
  EXPECT_EQ(writes[0].record[1], 2);
  EXPECT_EQ(std::count(writes[0].record.begin(), writes[0].record.end(), 0), 166);

  // The slot table is read first, then 100 ms pass before the key's data.
  const auto& events = m_link.Events();
  ASSERT_GE(events.size(), 3u);
  EXPECT_EQ(events[0].kind, Transfer::Query);
  EXPECT_EQ(Bytes(events[0].bytes.begin(), events[0].bytes.begin() + 3), (Bytes{0x07, 0xFB, 0x01}));
  EXPECT_EQ(events[1].value, 100);
}

TEST_F(FeatureProtocolTest, WholeProfileFreesOwnedSlotsFirst) {
  Bytes table(28, 0);
  table[4] = 0x09;   // macro slot 4
  table[15] = 0x08;  // remap slot 2
  m_link.SetSlotTable(table);
  Assign(4, 3, AddMacro(2, 2, 500));
  Assign(5, 2, 0x1E);
  // A remap whose code is 0 is not stored at all, so it takes no slot.
  Assign(6, 2, 0, 1, /*expectStored=*/false);

  m_protocol.WriteKeyAssignments(Inputs(201), m_layout);
  const auto features = m_link.Transfers(Transfer::Feature);
  const auto writes = MacroSlotWrites(features);
  ASSERT_EQ(writes.size(), 2u);
  EXPECT_EQ(writes[0].record[1], 4);
  EXPECT_EQ(writes[0].record[2], 0) << "the owned slot is freed first";
  EXPECT_EQ(Bytes(writes[1].record.begin(), writes[1].record.begin() + 8),
            (Bytes{0x01, 1, 0x04, 2, 0x04, 0x2A, 0x04, 0xAA}));
  EXPECT_EQ(Remaps(features), (std::vector<Bytes>{{0x07, 0xFA, 0x01, 2, 0, 0x01, 0, 0x01},
                                                  {0x07, 0xFA, 0x01, 1, 0x05, 0x01, 0x1E, 0x01}}));
}

TEST_F(FeatureProtocolTest, SyncKeySlotsResetsKeysWithoutAMacroSlot) {
  Bytes table(28, 0);
  table[1] = 0x04;
  m_link.SetSlotTable(table);
  Assign(4, 3, AddMacro(1, 2));
  Assign(5, 3, AddMacro(1, 2));
  m_protocol.SyncKeySlots(Inputs(201), m_layout);
  KeyAssignment a;
  EXPECT_TRUE(m_store.DbGetKeyAssignment(1, 0, 4, a));
  EXPECT_EQ(a.macro_type, 3);
  EXPECT_FALSE(m_store.DbGetKeyAssignment(1, 0, 5, a) && a.macro_type != 0);
}

TEST_F(FeatureProtocolTest, LightWiredAndWireless) {
  AddLight(4, 5, 3, 2, 1, 0x00332211, 0x100, 6);  // mode - 1 == 3: static colour
  AddLight(2, 5, 0, 1, 1, 0x00332211, 0x100, 6);
  ProtocolInputs in = Inputs(201);
  in.lightMode = 4;
  m_protocol.WriteLighting(in, m_layout);
  in.lightMode = 2;
  m_protocol.State().ColourScheme = 2;
  m_protocol.WriteLighting(in, m_layout);
  const auto features = m_link.Transfers(Transfer::Feature);
  ASSERT_EQ(features.size(), 2u);
  EXPECT_EQ(Bytes(features[0].bytes.begin(), features[0].bytes.begin() + 8),
            (Bytes{0x07, 0xF7, 3, 6, 0x11, 0x22, 4, 0x33}));
  EXPECT_EQ(Bytes(features[1].bytes.begin(), features[1].bytes.begin() + 8),
            (Bytes{0x07, 0xF7, 1, 6, 1, 0, 4, 2}));

  m_link.Clear();
  m_protocol.WriteLighting(Inputs(201, 1), m_layout);  // lightMode 0: no row
  EXPECT_TRUE(m_link.AllTransfers().empty());
  in.connectionMode = 2;
  m_protocol.WriteLighting(in, m_layout);
  const auto payloads = m_link.Transfers(Transfer::Payload);
  ASSERT_EQ(payloads.size(), 1u);
  EXPECT_EQ(payloads[0].value, 32);
  EXPECT_EQ(Bytes(payloads[0].bytes.begin(), payloads[0].bytes.begin() + 11),
            (Bytes{0xBB, 0xAA, 0x99, 0x88, 0xAA, 1, 6, 1, 0, 4, 2}));
}

TEST_F(FeatureProtocolTest, ResetWiredAndWireless) {
  m_protocol.ResetDevice(Inputs(201), m_layout, nullptr);
  auto features = m_link.Transfers(Transfer::Feature);
  ASSERT_EQ(features.size(), 1u);
  EXPECT_EQ(Bytes(features[0].bytes.begin(), features[0].bytes.begin() + 3), (Bytes{0x07, 0xF0, 0xAA}));

  m_link.Clear();
  int reloads = 0;
  m_protocol.ResetDevice(Inputs(201, 1), m_layout, [&] { ++reloads; });
  EXPECT_EQ(reloads, 1);
  const auto& events = m_link.Events();
  ASSERT_EQ(events.size(), 3u);
  EXPECT_EQ(Bytes(events[0].bytes.begin(), events[0].bytes.begin() + 10),
            (Bytes{0xBB, 0xAA, 0x99, 0x88, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA}));
  EXPECT_EQ(events[1].value, 1600);
  EXPECT_EQ(Bytes(events[2].bytes.begin() + 4, events[2].bytes.begin() + 10), Bytes(6, 0));
}

}  // namespace
