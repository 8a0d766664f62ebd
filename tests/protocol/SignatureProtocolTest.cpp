#include "ProtocolFixture.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Head(const LinkEvent& e, size_t count) { return Bytes(e.bytes.begin(), e.bytes.begin() + static_cast<long>(count)); }

TEST_F(ProtocolTest, SignatureProfileIsCappedAtThreeAndSentOnlyWhenItChanges) {
  ProtocolInputs in = Inputs(301);
  in.profile = 5;
  m_protocol.WriteKeyAssignments(in, m_layout);
  m_protocol.WriteKeyAssignments(in, m_layout);
  const auto payloads = m_link.Transfers(Transfer::Payload);
  ASSERT_EQ(payloads.size(), 1u);
  EXPECT_EQ(Head(payloads[0], 6), (Bytes{0xAA, 0x55, 0xCC, 0x33, 0x06, 3}));
  EXPECT_EQ(payloads[0].value, 10);
  EXPECT_EQ(m_protocol.State().LastProfileSent, 3);
}

TEST_F(ProtocolTest, SignatureSingleKeyRemapAndMacro) {
  ProtocolInputs in = Inputs(301);
  in.currentKey = 4;
  Assign(4, 2, 0x1E);
  m_protocol.State().SingleKeyPending = true;
  m_protocol.WriteKeyAssignments(in, m_layout);
  auto payloads = m_link.Transfers(Transfer::Payload);
  ASSERT_EQ(payloads.size(), 1u);
  EXPECT_EQ(Head(payloads[0], 8), (Bytes{0xAA, 0x55, 0xCC, 0x33, 0x04, 1, 0x04, 0x1E}));
  EXPECT_FALSE(m_protocol.State().SingleKeyPending);

  m_link.Clear();
  Assign(4, 3, AddMacro(7, 60, 20));
  m_protocol.State().SingleKeyPending = true;
  m_protocol.WriteKeyAssignments(in, m_layout);
  payloads = m_link.Transfers(Transfer::Payload);
  ASSERT_EQ(payloads.size(), 3u);
  Bytes record;
  for (int seq = 0; seq < 3; ++seq) {
    EXPECT_EQ(payloads[seq].bytes[4], seq);
    record.insert(record.end(), payloads[seq].bytes.begin() + 5, payloads[seq].bytes.begin() + 59);
  }
  EXPECT_EQ(Head(LinkEvent{Transfer::Payload, record, 0}, 8), (Bytes{1, 0x04, 7, 60, 0x04, 0x02, 0x04, 0x82}));
  // Each packet is followed by 20 ms.
  int pausesOf20 = 0;
  for (const auto& e : m_link.Events()) pausesOf20 += e.kind == Transfer::Pause && e.value == 20;
  EXPECT_EQ(pausesOf20, 3);
}

TEST_F(ProtocolTest, SignatureLightAndReset) {
  AddLight(6, 3, 2, 1, 0, 0x00C0B0A0, 0x17);
  ProtocolInputs in = Inputs(301);
  in.lightMode = 6;
  m_protocol.WriteLighting(in, m_layout);
  m_protocol.ResetDevice(in, m_layout, nullptr);
  const auto payloads = m_link.Transfers(Transfer::Payload);
  ASSERT_EQ(payloads.size(), 2u);
  EXPECT_EQ(Head(payloads[0], 12), (Bytes{0xAA, 0x55, 0xCC, 0x33, 0x07, 5, 3, 2, 1, 0xA0, 0xB0, 0xC0}));
  EXPECT_EQ(Head(payloads[1], 5), (Bytes{0xAA, 0x55, 0xCC, 0x33, 0x08}));
}

}  // namespace
