#include "device/CommandProtocol.h"

#include "device/ProtocolPacer.h"
#include "device/ProtocolState.h"
#include "device/ReportTransport.h"
#include "store/SettingsStore.h"

namespace {

constexpr int kMacroType = 3;
constexpr int kShortcutType = 7;
// Light settings are shared by all profiles and kept with profile 1.
constexpr int kLightProfile = 1;
constexpr int kPerKeyColourBit = 0x100;

constexpr std::uint8_t kKeyMapCommand = 0x8D;
constexpr std::uint8_t kMacroCommand = 0x8E;
constexpr std::uint8_t kLightModeCommand = 0x88;
constexpr std::uint8_t kLightParameterCommand = 0x89;
constexpr std::uint8_t kCustomColourCommand = 0x8B;
constexpr std::uint8_t kStreamChunkCommand = 0xF1;

// A chunk report: command, declared length, little-endian offset.
HidReport ChunkHeader(std::uint8_t command, int length, int offset) {
  HidReport report{};
  report[1] = command;
  report[2] = static_cast<std::uint8_t>(length & 0xFF);
  report[3] = static_cast<std::uint8_t>(offset & 0xFF);
  report[4] = static_cast<std::uint8_t>((offset >> 8) & 0xFF);
  return report;
}

}  // namespace

bool CommandProtocol::SendMacro(int slot, const Macro* macro, const std::vector<MacroEvent>& rows) {
  const auto buffer = BuildCommandMacroBuffer(macro, rows);
  m_context.pacer.Pause(10);
  const int total = CommandMacroLength(rows.size());
  const int last = total / 60;
  for (int k = 0; k <= last; ++k) {
    // Each chunk advances by 59 bytes, but the last one declares its length
    // as if chunks held 60: that is what the keyboard expects.
    HidReport report = ChunkHeader(kMacroCommand, k < last ? 59 : total - 60 * last, 59 * k);
    report[5] = static_cast<std::uint8_t>(slot & 0xFF);
    CopyChunk(buffer, static_cast<std::size_t>(59 * k), &report[6], 59);
    m_context.pacer.Pause(100);
    if (!m_context.transport.WriteReport(report)) return false;
  }
  return true;
}

void CommandProtocol::SendShortcut(int slot, int number) {
  const auto events = CommandShortcutEvents(number);
  HidReport report{};
  report[1] = kMacroCommand;
  report[2] = static_cast<std::uint8_t>(events.size());
  report[5] = static_cast<std::uint8_t>(slot & 0xFF);
  report[6] = 1;
  report[7] = static_cast<std::uint8_t>(events.size() / 3);
  for (std::size_t i = 0; i < events.size() && 8 + i < report.size(); ++i) report[8 + i] = events[i];
  m_context.pacer.Pause(10);
  m_context.transport.WriteReport(report);
}

bool CommandProtocol::WriteMacros(const ProtocolInputs& inputs) {
  auto& slots = m_context.state.macroSlots;
  slots.clear();
  int next = 0;
  std::vector<KeyAssignment> assignments;
  m_context.store.DbListKeyAssignments(inputs.profile, inputs.fnLayer, assignments);
  for (const auto& assignment : assignments) {
    if (assignment.macro_type != kMacroType) continue;
    Macro macro;
    const bool found = m_context.store.DbGetMacro(assignment.macro_value, macro);
    std::vector<MacroEvent> rows;
    if (found) m_context.store.DbListMacroEvents(assignment.macro_value, rows);
    if (!SendMacro(next, found ? &macro : nullptr, rows)) return false;
    slots[static_cast<std::uint32_t>(assignment.key_code)] = next++;
  }
  for (const auto& assignment : assignments) {
    if (assignment.macro_type != kShortcutType) continue;
    SendShortcut(next, assignment.macro_value);
    slots[static_cast<std::uint32_t>(assignment.key_code)] = next++;
  }
  return true;
}

void CommandProtocol::SendKeyMap(const std::vector<KeyAssignment>& assignments) {
  const auto map = BuildCommandKeyMap(assignments, m_context.layout, m_context.state.macroSlots);
  // 110 keys (220 bytes) are declared although every chunk carries 60 bytes.
  for (int j = 0; j < 4; ++j) {
    HidReport report = ChunkHeader(kKeyMapCommand, j < 3 ? 60 : 40, 60 * j);
    CopyChunk(map, static_cast<std::size_t>(60 * j), &report[5], 60);
    m_context.pacer.Pause(10);
    m_context.transport.WriteReport(report);
  }
}

void CommandProtocol::WriteKeyAssignments(const ProtocolInputs& inputs) {
  // The key map goes out even when a macro could not be written: keys whose
  // macro did not arrive simply get no entry.
  WriteMacros(inputs);
  m_context.pacer.Pause(20);
  std::vector<KeyAssignment> assignments;
  m_context.store.DbListKeyAssignments(inputs.profile, inputs.fnLayer, assignments);
  SendKeyMap(assignments);
}

void CommandProtocol::WriteLighting(const ProtocolInputs& inputs) {
  LightSetting light;
  if (!m_context.store.DbGetLight(kLightProfile, inputs.lightMode, light)) return;
  HidReport report{};
  if (!m_context.state.LightModeSent) {
    report[1] = kLightModeCommand;
    report[3] = static_cast<std::uint8_t>(light.mode & 0xFF);
  } else {
    report[1] = kLightParameterCommand;
    report[3] = static_cast<std::uint8_t>((light.direction & 3) * 16 +
                                          (light.colorful != 0 ? 0x80 : 0) + (light.speed & 0x0F));
    for (int i = 0; i < 3; ++i) report[4 + i] = ColourByte(light.color_value, i);
    report[7] = static_cast<std::uint8_t>(light.brightness & 0xFF);
  }
  m_context.transport.WriteReport(report);
  m_context.state.LightModeSent = true;
}

void CommandProtocol::WriteKeyLights(const ProtocolInputs&) {
  std::vector<KeyLight> rows;
  m_context.store.DbListKeyLights(kUserKeyLightId, rows);
  std::vector<KeyColour> colours;
  colours.reserve(rows.size());
  for (const auto& row : rows) {
    colours.push_back({static_cast<std::uint32_t>(row.key_code), static_cast<std::uint32_t>(row.key_rgb)});
  }
  const auto buffer = BuildColourBuffer(colours, m_context.layout, 0xFF);
  // 440 bytes (110 keys) are declared.
  for (int i = 0; i < 8; ++i) {
    HidReport report = ChunkHeader(kCustomColourCommand, i < 7 ? 60 : 20, 60 * i);
    CopyChunk(buffer, static_cast<std::size_t>(60 * i), &report[5], 60);
    m_context.pacer.Pause(1);
    if (!m_context.transport.WriteReport(report)) return;
  }
}

void CommandProtocol::ResetDevice(const ProtocolInputs& inputs) {
  WriteKeyAssignments(inputs);
  m_context.pacer.Pause(100);
  HidReport report{};
  report[1] = 0xFF;
  report[2] = 0xFE;
  report[3] = 0xAA;
  report[4] = 0xFF;
  m_context.transport.WriteReport(report);
}

void CommandProtocol::SelectColourScheme(const ProtocolInputs& inputs, int scheme) {
  if (inputs.deviceType >= 200) return;
  LightSetting light;
  if (!m_context.store.DbGetLight(kLightProfile, inputs.lightMode, light)) return;
  HidReport report{};
  report[0] = 0x07;
  report[1] = 0xFF;
  report[2] = 0xFF;
  report[3] = static_cast<std::uint8_t>((light.mode - 1) & 0xFF);
  report[4] = static_cast<std::uint8_t>(light.brightness & 0xFF);
  report[5] = static_cast<std::uint8_t>(light.speed & 0xFF);
  report[7] = (light.config_func & kPerKeyColourBit) ? static_cast<std::uint8_t>(scheme & 0xFF) : 0;
  m_context.transport.SendFeature(report);
}

void CommandProtocol::StreamFrame(const ProtocolInputs& inputs, const std::vector<KeyColour>& colours) {
  // Host-driven colours need the cable: the wireless link is too slow.
  if (inputs.connectionMode != 0) return;
  const auto buffer = BuildColourBuffer(colours, m_context.layout, 0x80);
  if (m_context.state.StreamStartPending) {
    HidReport start{};
    start[1] = 0xF0;
    start[2] = 0xF4;
    start[3] = 0x01;
    m_context.transport.WriteReport(start);
    m_context.state.StreamStartPending = false;
  }
  // 450 bytes are declared.
  for (int i = 0; i < 8; ++i) {
    HidReport report = ChunkHeader(kStreamChunkCommand, i < 7 ? 60 : 30, 60 * i);
    CopyChunk(buffer, static_cast<std::size_t>(60 * i), &report[5], 60);
    m_context.pacer.Pause(1);
    if (!m_context.transport.WriteStreamReport(report)) return;
  }
}
