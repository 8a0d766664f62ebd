#include "device/SignatureProtocol.h"

#include <algorithm>
#include <vector>

#include "device/MacroEncoding.h"
#include "device/ProtocolPacer.h"
#include "device/ProtocolState.h"
#include "device/ReportTransport.h"
#include "store/SettingsStore.h"

namespace {

constexpr int kMacroType = 3;
constexpr int kShortcutType = 7;
constexpr int kLightProfile = 1;
constexpr int kKeyboardProfiles = 3;
constexpr int kRetryDelay = 10;

HidPayload SignedPayload(std::uint8_t command) {
  HidPayload payload{};
  payload[0] = 0xAA;
  payload[1] = 0x55;
  payload[2] = 0xCC;
  payload[3] = 0x33;
  payload[4] = command;
  return payload;
}

}  // namespace

void SignatureProtocol::SendMacro(const KeyAssignment& assignment) {
  Macro macro;
  bool found = false;
  std::vector<MacroEvent> rows;
  if (assignment.macro_type == kMacroType) {
    found = m_context.store.DbGetMacro(assignment.macro_value, macro);
    if (found) m_context.store.DbListMacroEvents(assignment.macro_value, rows);
  }
  const auto record = BuildSignatureMacroRecord(m_context.state.LastProfileSent, assignment,
                                                found ? &macro : nullptr, rows);
  // Three packets of 54 record bytes, each followed by a pause.
  for (std::uint8_t sequence = 0; sequence < 3; ++sequence) {
    HidPayload payload = SignedPayload(sequence);
    for (std::size_t b = 0; b < 54; ++b) payload[5 + b] = record[54 * sequence + b];
    m_context.transport.WritePayload(payload, kRetryDelay);
    m_context.pacer.Pause(20);
  }
}

void SignatureProtocol::SendKey(const KeyAssignment& assignment) {
  if (assignment.macro_type == 0 && assignment.macro_value >= 1) return;
  HidPayload payload = SignedPayload(0x04);
  payload[5] = ClampByte(m_context.state.LastProfileSent);
  payload[6] = static_cast<std::uint8_t>(assignment.key_code & 0xFF);
  payload[7] = assignment.macro_value < 1 ? 0 : static_cast<std::uint8_t>(assignment.macro_value & 0xFF);
  m_context.transport.WritePayload(payload, kRetryDelay);
}

void SignatureProtocol::WriteKeyAssignments(const ProtocolInputs& inputs) {
  const int profile = std::min(inputs.profile, kKeyboardProfiles);
  if (profile != m_context.state.LastProfileSent) {
    HidPayload payload = SignedPayload(0x06);
    payload[5] = ClampByte(profile);
    m_context.transport.WritePayload(payload, kRetryDelay);
    m_context.state.LastProfileSent = profile;
  }
  if (!m_context.state.SingleKeyPending) return;
  m_context.pacer.Pause(100);
  KeyAssignment assignment;
  if (!m_context.store.DbGetKeyAssignment(inputs.profile, inputs.fnLayer, inputs.currentKey, assignment)) {
    assignment = KeyAssignment{};
    assignment.key_code = inputs.currentKey;
  }
  if (assignment.macro_type == kMacroType || assignment.macro_type == kShortcutType) {
    SendMacro(assignment);
  } else {
    SendKey(assignment);
  }
  m_context.state.SingleKeyPending = false;
}

void SignatureProtocol::WriteLighting(const ProtocolInputs& inputs) {
  LightSetting light;
  if (!m_context.store.DbGetLight(kLightProfile, inputs.lightMode, light)) return;
  HidPayload payload = SignedPayload(0x07);
  payload[5] = static_cast<std::uint8_t>((light.mode - 1) & 0xFF);
  payload[6] = static_cast<std::uint8_t>(light.brightness & 0xFF);
  payload[7] = static_cast<std::uint8_t>(light.speed & 0xFF);
  payload[8] = static_cast<std::uint8_t>(light.direction & 0xFF);
  for (int i = 0; i < 3; ++i) payload[9 + i] = ColourByte(light.color_value, i);
  m_context.transport.WritePayload(payload, kRetryDelay);
}

void SignatureProtocol::ResetDevice(const ProtocolInputs&) {
  m_context.transport.WritePayload(SignedPayload(0x08), kRetryDelay);
  m_context.pacer.Pause(100);
}
