#include "device/FeatureProtocol.h"

#include <vector>

#include "device/MacroEncoding.h"
#include "device/ProtocolPacer.h"
#include "device/ProtocolState.h"
#include "device/ReportTransport.h"
#include "store/SettingsStore.h"

namespace {

constexpr int kMacroType = 3;
constexpr int kRemapType = 2;
constexpr int kShortcutType = 7;
constexpr int kLightProfile = 1;
constexpr int kPerKeyColourBit = 0x100;
constexpr int kMacroSlots = 13;
constexpr int kRemapSlots = 10;
// A wireless payload that fails is retried once after 32 ms.
constexpr int kWirelessRetryDelay = 32;

bool PlaysMacro(int type) { return type == kMacroType || type == kShortcutType; }

HidReport FeatureReport(std::uint8_t command) {
  HidReport report{};
  report[0] = 0x07;
  report[1] = command;
  return report;
}

HidPayload WirelessPayload() {
  HidPayload payload{};
  payload[0] = 0xBB;
  payload[1] = 0xAA;
  payload[2] = 0x99;
  payload[3] = 0x88;
  return payload;
}

// The slot owned by `code`, else the first free one, else 1.
template <std::size_t N>
int ChooseSlot(const std::array<std::uint8_t, N>& owners, int code) {
  for (std::size_t s = 1; s < N; ++s) {
    if (owners[s] != 0 && owners[s] == static_cast<std::uint8_t>(code)) return static_cast<int>(s);
  }
  for (std::size_t s = 1; s < N; ++s) {
    if (owners[s] == 0) return static_cast<int>(s);
  }
  return 1;
}

template <std::size_t N>
int OwnedSlot(const std::array<std::uint8_t, N>& owners, int code) {
  for (std::size_t s = 1; s < N; ++s) {
    if (owners[s] != 0 && owners[s] == static_cast<std::uint8_t>(code)) return static_cast<int>(s);
  }
  return 0;
}

}  // namespace

SlotTable FeatureProtocol::QuerySlotTable() {
  std::array<std::uint8_t, kFeatureQueryLength> buffer{};
  buffer[0] = 0x07;
  buffer[1] = 0xFB;
  buffer[2] = 0x01;
  m_context.transport.QueryFeature(buffer.data());
  SlotTable table;
  for (int s = 1; s <= kMacroSlots; ++s) table.macroOwners[s] = buffer[s];
  for (int s = 1; s <= kRemapSlots; ++s) table.remapOwners[s] = buffer[13 + s];
  return table;
}

void FeatureProtocol::SendMacroSlot(int slot, const KeyAssignment* assignment) {
  Macro macro;
  bool found = false;
  std::vector<MacroEvent> rows;
  if (assignment && assignment->macro_type == kMacroType) {
    found = m_context.store.DbGetMacro(assignment->macro_value, macro);
    if (found) m_context.store.DbListMacroEvents(assignment->macro_value, rows);
  }
  const auto record = BuildFeatureMacroRecord(slot, assignment, found ? &macro : nullptr, rows);
  // 28 reports of six record bytes; the first one carries the command.
  for (std::size_t i = 0; i < 28; ++i) {
    HidReport report = FeatureReport(i == 0 ? 0xF1 : 0x00);
    for (std::size_t b = 0; b < 6; ++b) report[2 + b] = record[6 * i + b];
    m_context.transport.SendFeature(report);
  }
}

void FeatureProtocol::SendRemap(int slot, int keyCode, int newCode) {
  HidReport report = FeatureReport(0xFA);
  report[2] = 0x01;
  report[3] = ClampByte(slot);
  report[4] = static_cast<std::uint8_t>(keyCode & 0xFF);
  report[5] = 0x01;
  report[6] = static_cast<std::uint8_t>(newCode & 0xFF);
  report[7] = 0x01;
  m_context.transport.SendFeature(report);
}

void FeatureProtocol::SendRemapByRule(int slot, const KeyAssignment& assignment) {
  if (assignment.macro_value < 1) {
    SendRemap(slot, 0, 0);
  } else if (assignment.macro_type != 0 && !PlaysMacro(assignment.macro_type)) {
    SendRemap(slot, assignment.key_code, assignment.macro_value);
  }
}

void FeatureProtocol::WriteSingleKey(const ProtocolInputs& inputs) {
  const SlotTable table = QuerySlotTable();
  m_context.pacer.Pause(100);
  KeyAssignment assignment;
  if (!m_context.store.DbGetKeyAssignment(inputs.profile, inputs.fnLayer, inputs.currentKey, assignment)) {
    assignment = KeyAssignment{};
    assignment.profile = inputs.profile;
    assignment.fn_layer = inputs.fnLayer;
    assignment.key_code = inputs.currentKey;
  }
  const int code = inputs.currentKey;
  if (PlaysMacro(assignment.macro_type)) {
    SendMacroSlot(ChooseSlot(table.macroOwners, code), &assignment);
  } else if (assignment.macro_type == kRemapType) {
    const int slot = ChooseSlot(table.remapOwners, code);
    if (assignment.macro_value < 1) {
      SendRemap(slot, 0, 0);
    } else {
      SendRemap(slot, code, assignment.macro_value);
    }
  } else {
    if (const int slot = OwnedSlot(table.macroOwners, code)) SendMacroSlot(slot, &assignment);
    if (const int slot = OwnedSlot(table.remapOwners, code)) SendRemapByRule(slot, assignment);
  }
  m_context.state.SingleKeyPending = false;
}

void FeatureProtocol::WriteWholeProfile(const ProtocolInputs& inputs) {
  const SlotTable table = QuerySlotTable();
  for (int s = 1; s <= kMacroSlots; ++s) {
    if (table.macroOwners[s] == 0) continue;
    m_context.pacer.Pause(16);
    SendMacroSlot(s, nullptr);
  }
  for (int s = 1; s <= kRemapSlots; ++s) {
    if (table.remapOwners[s] == 0) continue;
    m_context.pacer.Pause(16);
    SendRemap(s, 0, 0);
  }
  std::vector<KeyAssignment> assignments;
  m_context.store.DbListKeyAssignments(inputs.profile, inputs.fnLayer, assignments);
  int macroSlot = 1;
  int remapSlot = 1;
  for (const auto& assignment : assignments) {
    if (assignment.macro_type == 0) continue;
    m_context.pacer.Pause(16);
    if (PlaysMacro(assignment.macro_type)) {
      SendMacroSlot(macroSlot++, &assignment);
    } else {
      SendRemapByRule(remapSlot++, assignment);
    }
  }
}

void FeatureProtocol::WriteKeyAssignments(const ProtocolInputs& inputs) {
  if (m_context.state.SingleKeyPending) {
    WriteSingleKey(inputs);
  } else {
    WriteWholeProfile(inputs);
  }
}

void FeatureProtocol::WriteLighting(const ProtocolInputs& inputs) {
  LightSetting light;
  if (!m_context.store.DbGetLight(kLightProfile, inputs.lightMode, light)) return;
  // Bytes 2-7 of the wired command; the wireless payload carries the same.
  std::array<std::uint8_t, 6> body{};
  body[0] = static_cast<std::uint8_t>((light.mode - 1) & 0xFF);
  body[1] = static_cast<std::uint8_t>(light.colorindex & 0xFF);
  body[2] = static_cast<std::uint8_t>(light.direction & 0xFF);
  body[3] = static_cast<std::uint8_t>((light.speed != 0 ? light.speed - 1 : 0) & 0xFF);
  body[4] = static_cast<std::uint8_t>((light.brightness != 0 ? light.brightness - 1 : 0) & 0xFF);
  body[5] = (light.config_func & kPerKeyColourBit)
                ? static_cast<std::uint8_t>(m_context.state.ColourScheme & 0xFF)
                : 0;
  if (light.mode - 1 == 3) {
    // The static-colour mode carries its colour instead.
    body[2] = ColourByte(light.color_value, 0);
    body[3] = ColourByte(light.color_value, 1);
    body[5] = ColourByte(light.color_value, 2);
  }
  if (inputs.connectionMode == 0) {
    HidReport report = FeatureReport(0xF7);
    for (std::size_t i = 0; i < body.size(); ++i) report[2 + i] = body[i];
    m_context.transport.SendFeature(report);
  } else {
    HidPayload payload = WirelessPayload();
    payload[4] = 0xAA;
    for (std::size_t i = 0; i < body.size(); ++i) payload[5 + i] = body[i];
    m_context.transport.WritePayload(payload, kWirelessRetryDelay);
  }
}

void FeatureProtocol::ResetDevice(const ProtocolInputs& inputs) {
  if (inputs.connectionMode == 0) {
    HidReport report = FeatureReport(0xF0);
    report[2] = 0xAA;
    m_context.transport.SendFeature(report);
    m_context.pacer.Pause(100);
    return;
  }
  HidPayload payload = WirelessPayload();
  for (int i = 4; i <= 9; ++i) payload[i] = 0xAA;
  m_context.transport.WritePayload(payload, kWirelessRetryDelay);
  m_context.pacer.Pause(1600);
  for (int i = 4; i <= 9; ++i) payload[i] = 0x00;
  m_context.transport.WritePayload(payload, kWirelessRetryDelay);
}

void FeatureProtocol::SyncKeySlots(const ProtocolInputs& inputs) {
  const SlotTable table = QuerySlotTable();
  std::vector<KeyAssignment> assignments;
  m_context.store.DbListKeyAssignments(inputs.profile, inputs.fnLayer, assignments);
  for (const auto& assignment : assignments) {
    bool owns = false;
    for (int s = 1; s <= kMacroSlots; ++s) {
      owns = owns || (table.macroOwners[s] != 0 &&
                      table.macroOwners[s] == static_cast<std::uint8_t>(assignment.key_code));
    }
    if (owns) continue;
    KeyAssignment unassigned;
    unassigned.profile = inputs.profile;
    unassigned.fn_layer = inputs.fnLayer;
    unassigned.key_code = assignment.key_code;
    m_context.store.DbSaveKeyAssignment(unassigned);
  }
}
