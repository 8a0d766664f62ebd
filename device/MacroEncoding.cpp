#include "device/MacroEncoding.h"

#include <algorithm>

#include "model/KeyCodes.h"
#include "model/KeyboardLayout.h"

namespace {

constexpr int kKeyDownEvent = 2;
constexpr int kKeyUpEvent = 3;
constexpr int kDisabledType = 1;
constexpr int kRemapType = 2;
constexpr int kMacroType = 3;
constexpr int kShortcutType = 7;

// Feature and signature records: 2-byte events from byte 4.
constexpr std::size_t kRecordEventsStart = 4;
// Shortcuts of these protocols play with 10 ms between strokes.
constexpr int kShortcutDelay = 10;

template <std::size_t N>
std::size_t PutTwoByteEvents(std::array<std::uint8_t, N>& record,
                             const std::vector<MacroStep>& steps) {
  std::size_t written = 0;
  for (const auto& step : steps) {
    const std::size_t at = kRecordEventsStart + 2 * written;
    if (at + 2 > N) break;
    record[at] = step.usage;
    record[at + 1] = EncodeDelay(!step.down, step.delay);
    ++written;
  }
  return written;
}

std::vector<MacroStep> ShortcutSteps(int number) {
  std::vector<MacroStep> steps;
  for (const auto& event : BuiltinShortcut(number)) {
    steps.push_back({event.usage, event.down, kShortcutDelay});
  }
  return steps;
}

}  // namespace

std::uint8_t ClampByte(int value) { return static_cast<std::uint8_t>(std::clamp(value, 0, 255)); }

std::vector<MacroStep> MacroSteps(const std::vector<MacroEvent>& rows) {
  std::vector<MacroStep> steps;
  steps.reserve(rows.size());
  for (const auto& row : rows) {
    if (row.type != kKeyDownEvent && row.type != kKeyUpEvent) continue;
    steps.push_back({static_cast<std::uint8_t>(KeyCodeFromVirtualKey(row.value) & 0xFF),
                     row.type == kKeyDownEvent, row.delay_time});
  }
  return steps;
}

std::uint8_t EncodeDelay(bool up, int milliseconds) {
  const int delay = std::min(milliseconds, 31000);
  int unit = 0;
  int count = 0;
  if (delay < 0) {
    unit = 0, count = 0;
  } else if (delay <= 10) {
    unit = 0, count = 1;
  } else if (delay <= 310) {
    unit = 0, count = delay / 10;
  } else if (delay <= 1550) {
    unit = 1, count = delay / 50;
  } else if (delay <= 3100) {
    unit = 2, count = delay / 100;
  } else {
    unit = 3, count = delay / 1000;
  }
  const int byte = (up ? 128 : 0) + unit * 32 + count;
  return static_cast<std::uint8_t>(byte <= 1 ? 1 : byte);
}

void CopyChunk(const std::vector<std::uint8_t>& buffer, std::size_t offset, std::uint8_t* out,
               std::size_t count) {
  for (std::size_t i = 0; i < count; ++i) {
    const std::size_t at = offset + i;
    out[i] = at < buffer.size() ? buffer[at] : 0;
  }
}

std::vector<std::uint8_t> BuildCommandMacroBuffer(const Macro* macro,
                                                  const std::vector<MacroEvent>& rows) {
  std::vector<std::uint8_t> buffer(kCommandMacroBufferSize, 0);
  buffer[0] = macro ? static_cast<std::uint8_t>(std::clamp(macro->play_times, 1, 255)) : 1;
  buffer[1] = static_cast<std::uint8_t>(rows.size() & 0xFF);
  std::size_t at = 2;
  for (const auto& step : MacroSteps(rows)) {
    if (at + 3 > buffer.size()) break;
    const auto delay = static_cast<std::uint32_t>(step.delay);
    const auto low = static_cast<std::uint8_t>(delay & 0xFF);
    const auto high = static_cast<std::uint8_t>((delay >> 8) & 0xFF);
    buffer[at] = step.usage;
    if (step.down) {
      buffer[at + 1] = low;
      buffer[at + 2] = high | 0x80;
    } else {
      buffer[at + 1] = low | 0x80;
      buffer[at + 2] = high & 0x7F;
    }
    at += 3;
  }
  return buffer;
}

int CommandMacroLength(std::size_t rowCount) {
  // Byte 0 and 1 take the first three-byte step; at most 399 events fit.
  constexpr std::size_t kMaxRows = kCommandMacroBufferSize / 3 - 1;
  return static_cast<int>(3 * (std::min(rowCount, kMaxRows) + 1));
}

std::vector<std::uint8_t> CommandShortcutEvents(int number) {
  std::vector<std::uint8_t> bytes;
  for (const auto& event : BuiltinShortcut(number)) {
    bytes.push_back(event.usage);
    bytes.push_back(0x64);
    bytes.push_back(event.down ? 0x80 : 0x00);
  }
  return bytes;
}

std::vector<std::uint8_t> BuildCommandKeyMap(const std::vector<KeyAssignment>& assignments,
                                             const KeyboardLayout& layout,
                                             const std::map<std::uint32_t, int>& macroSlots) {
  std::vector<std::uint8_t> map(kCommandKeyMapSize, 0);
  for (const auto& assignment : assignments) {
    const auto code = static_cast<std::uint32_t>(assignment.key_code);
    if (!layout.HasKeySlot(code)) continue;
    const int slot = layout.KeySlot(code);
    if (slot < 0 || 2 * static_cast<std::size_t>(slot) + 2 > map.size()) continue;
    std::uint8_t first = 0;
    std::uint8_t second = 0;
    switch (assignment.macro_type) {
      case kDisabledType:
        second = 0x20;
        break;
      case kRemapType:
        first = static_cast<std::uint8_t>(assignment.macro_value & 0xFF);
        second = 0x20;
        break;
      case kMacroType:
      case kShortcutType: {
        const auto found = macroSlots.find(code);
        if (found == macroSlots.end()) continue;
        first = static_cast<std::uint8_t>(found->second & 0xFF);
        second = 0x40;
        break;
      }
      default:
        break;
    }
    map[2 * static_cast<std::size_t>(slot)] = first;
    map[2 * static_cast<std::size_t>(slot) + 1] = second;
  }
  return map;
}

std::vector<std::uint8_t> BuildColourBuffer(const std::vector<KeyColour>& colours,
                                            const KeyboardLayout& layout, std::uint8_t fourth) {
  std::vector<std::uint8_t> buffer(kColourBufferSize, 0);
  for (const auto& colour : colours) {
    if (!layout.HasLightSlot(colour.code)) continue;
    const int slot = layout.LightSlot(colour.code);
    if (slot < 0 || 4 * static_cast<std::size_t>(slot) + 4 > buffer.size()) continue;
    const std::size_t at = 4 * static_cast<std::size_t>(slot);
    for (int i = 0; i < 3; ++i) buffer[at + i] = ColourByte(static_cast<int>(colour.rgb), i);
    buffer[at + 3] = fourth;
  }
  return buffer;
}

std::array<std::uint8_t, kFeatureMacroRecordSize> BuildFeatureMacroRecord(
    int slot, const KeyAssignment* assignment, const Macro* macro,
    const std::vector<MacroEvent>& rows) {
  std::array<std::uint8_t, kFeatureMacroRecordSize> record{};
  record[0] = 0x01;
  record[1] = ClampByte(slot);
  if (!assignment) return record;
  if (assignment->macro_type == kMacroType) {
    if (macro) {
      record[2] = static_cast<std::uint8_t>(assignment->key_code & 0xFF);
      record[3] = ClampByte(macro->play_times);
      PutTwoByteEvents(record, MacroSteps(rows));
    }
  } else if (assignment->macro_type == kShortcutType) {
    record[2] = static_cast<std::uint8_t>(assignment->key_code & 0xFF);
    record[3] = 1;
    PutTwoByteEvents(record, ShortcutSteps(assignment->macro_value));
  }
  return record;
}

std::array<std::uint8_t, kSignatureMacroRecordSize> BuildSignatureMacroRecord(
    int profile, const KeyAssignment& assignment, const Macro* macro,
    const std::vector<MacroEvent>& rows) {
  std::array<std::uint8_t, kSignatureMacroRecordSize> record{};
  record[0] = ClampByte(profile);
  record[1] = static_cast<std::uint8_t>(assignment.key_code & 0xFF);
  if (assignment.macro_type == kShortcutType) {
    record[2] = 1;
    const std::size_t written = PutTwoByteEvents(record, ShortcutSteps(assignment.macro_value));
    // The keyboard expects a count of four even for an unknown shortcut.
    record[3] = static_cast<std::uint8_t>(written == 0 ? 4 : written);
  } else {
    record[2] = macro ? ClampByte(macro->play_times) : 0;
    record[3] = static_cast<std::uint8_t>(PutTwoByteEvents(record, MacroSteps(rows)));
  }
  return record;
}
