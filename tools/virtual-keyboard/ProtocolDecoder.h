#pragma once
// The simulated keyboard's own reading of the vendor reports, written from
// the keyboard's command tables and sharing nothing with the program's
// encoders, so that a mistake in one shows up against the other.
//
// Not thread-safe: the simulator calls it under its lock.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "KeyboardState.h"

namespace virtual_keyboard {

// The family a product id speaks: 0x4B1x the feature protocol, 0x4B2x the
// signature protocol, anything else the command protocol.
Family FamilyOfProduct(uint16_t productId);

class ProtocolDecoder {
 public:
  explicit ProtocolDecoder(Family family);

  // hid_write on interface 2 (vendor) or 3 (stream); `data` starts with
  // the report id.  True when the report changed the state.
  bool OnOutput(int interfaceNumber, const uint8_t* data, size_t length);
  bool OnFeature(const uint8_t* data, size_t length);
  // The feature protocol's slot table: the reply to the `index`-th read
  // after a 07 FB 01 request, or empty (other families never answer).
  std::vector<uint8_t> SlotTableReply(size_t index) const;

  const KeyboardState& State() const { return m_state; }

 private:
  void CommandOutput(int interfaceNumber, const uint8_t* d);
  void CommandFeature(const uint8_t* d);
  void FeatureFeature(const uint8_t* d);
  void FeaturePayload(const uint8_t* p);
  void SignaturePayload(const uint8_t* p);
  void DecodeCommandMacro(int slot);
  void CompleteFeatureMacro();
  void CompleteSignatureMacro();
  void Reset();

  KeyboardState m_state;
  // Command family: each macro slot's bytes as the chunks left them.
  std::vector<std::vector<uint8_t>> m_macroBuffers;
  // Feature family: the 168-byte record being received, and how many of
  // its 28 reports have arrived (-1: none under way).
  std::vector<uint8_t> m_featureRecord;
  int m_featureReports = -1;
  // Signature family: the 162-byte macro record being received.
  std::vector<uint8_t> m_signatureRecord;
};

}  // namespace virtual_keyboard
