#pragma once
// Byte-level encoders of the report protocol: key-map entries, macro events
// and records, colour buffers.  Pure functions; any thread.
//
// Stored values are never trusted to be in range (imported files are not
// checked), so every builder writes only inside its buffer: events that do
// not fit are left out, and slots outside a buffer are skipped.
#include <array>
#include <cstdint>
#include <map>
#include <vector>

#include "device/BuiltinShortcuts.h"
#include "store/Records.h"

class KeyboardLayout;

// One key stroke of a macro as the keyboard plays it.
struct MacroStep {
  std::uint8_t usage = 0;
  bool down = true;
  int delay = 0;  // milliseconds after the stroke
};

// The key-down (type 2) and key-up (type 3) rows of a macro, in order, with
// their virtual-key codes turned into HID usages; other rows are left out.
std::vector<MacroStep> MacroSteps(const std::vector<MacroEvent>& rows);

// The feature and signature protocols' delay byte: bit 7 the up flag, bits
// 5-6 the unit (10, 50, 100, 1000 ms), bits 0-4 the count.
std::uint8_t EncodeDelay(bool up, int milliseconds);

// Copies `count` bytes of `buffer` from `offset`; bytes past its end are 0.
void CopyChunk(const std::vector<std::uint8_t>& buffer, std::size_t offset, std::uint8_t* out,
               std::size_t count);

// Command protocol.
constexpr std::size_t kCommandMacroBufferSize = 1200;
constexpr std::size_t kCommandKeyMapSize = 360;
constexpr std::size_t kColourBufferSize = 600;

// The 1200-byte macro buffer: play count, row count (low byte), then the
// 3-byte events.  `macro` is null when the macro does not exist.
std::vector<std::uint8_t> BuildCommandMacroBuffer(const Macro* macro,
                                                  const std::vector<MacroEvent>& rows);
// The byte count the macro chunks declare, T = 3 x (rows + 1), with the rows
// limited to what the buffer holds.
int CommandMacroLength(std::size_t rowCount);
// The 3-byte events of a built-in shortcut (100 ms, down flag in byte 2).
std::vector<std::uint8_t> CommandShortcutEvents(int number);
// The 360-byte key map: the 2-byte entry of every assignment at twice its
// key slot.  Macros and shortcuts take their slots from `macroSlots`.
std::vector<std::uint8_t> BuildCommandKeyMap(const std::vector<KeyAssignment>& assignments,
                                             const KeyboardLayout& layout,
                                             const std::map<std::uint32_t, int>& macroSlots);

// A key code with its colour (Windows RGB layout).
struct KeyColour {
  std::uint32_t code = 0;
  std::uint32_t rgb = 0;
};
// The 600-byte colour buffer: red, green, blue and `fourth` at four times
// each key's light slot.
std::vector<std::uint8_t> BuildColourBuffer(const std::vector<KeyColour>& colours,
                                            const KeyboardLayout& layout, std::uint8_t fourth);

// Feature protocol: the 168-byte record of one macro slot.  `assignment` of
// type 3 plays `macro` (null when missing) with `rows`; type 7 plays a
// shortcut; anything else (or null) frees the slot.
constexpr std::size_t kFeatureMacroRecordSize = 168;
std::array<std::uint8_t, kFeatureMacroRecordSize> BuildFeatureMacroRecord(
    int slot, const KeyAssignment* assignment, const Macro* macro,
    const std::vector<MacroEvent>& rows);

// Signature protocol: the 162-byte record of one key's macro.
constexpr std::size_t kSignatureMacroRecordSize = 162;
std::array<std::uint8_t, kSignatureMacroRecordSize> BuildSignatureMacroRecord(
    int profile, const KeyAssignment& assignment, const Macro* macro,
    const std::vector<MacroEvent>& rows);

// The low byte of a stored number, clamped to 0-255 first so that an
// out-of-range value saturates instead of wrapping.
std::uint8_t ClampByte(int value);
// Red, green or blue (0, 1, 2) of a Windows RGB value.
constexpr std::uint8_t ColourByte(int rgb, int index) {
  return static_cast<std::uint8_t>((static_cast<std::uint32_t>(rgb) >> (8 * index)) & 0xFF);
}
