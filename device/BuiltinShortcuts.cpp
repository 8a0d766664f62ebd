#include "device/BuiltinShortcuts.h"

#include <array>
#include <cstddef>

namespace {

constexpr std::uint8_t kLeftCtrl = 0xE0;
constexpr std::uint8_t kLeftAlt = 0xE2;
constexpr std::uint8_t kLeftGui = 0xE3;
constexpr std::uint8_t kSpace = 0x2C;
constexpr std::uint8_t kTab = 0x2B;
constexpr std::uint8_t kF4 = 0x3D;

constexpr std::uint8_t Letter(char c) { return static_cast<std::uint8_t>(0x04 + (c - 'A')); }

// Modifier held around one key.
std::vector<ShortcutEvent> Chord(std::uint8_t modifier, std::uint8_t key) {
  return {{modifier, true}, {key, true}, {key, false}, {modifier, false}};
}

// Alt+Space opens the window menu; the letter then picks its entry.
std::vector<ShortcutEvent> WindowMenu(std::uint8_t letter) {
  return {{kLeftAlt, true}, {kSpace, true}, {letter, true},
          {letter, false},  {kSpace, false}, {kLeftAlt, false}};
}

const std::array<std::vector<ShortcutEvent>, 16>& Table() {
  static const std::array<std::vector<ShortcutEvent>, 16> table = {
      std::vector<ShortcutEvent>{},
      Chord(kLeftCtrl, Letter('A')),   // 1 select all
      Chord(kLeftCtrl, Letter('C')),   // 2 copy
      Chord(kLeftCtrl, Letter('X')),   // 3 cut
      Chord(kLeftCtrl, Letter('V')),   // 4 paste
      Chord(kLeftCtrl, Letter('Z')),   // 5 undo
      Chord(kLeftCtrl, Letter('S')),   // 6 save
      Chord(kLeftGui, Letter('E')),    // 7 file manager
      Chord(kLeftGui, Letter('L')),    // 8 lock
      Chord(kLeftGui, Letter('D')),    // 9 desktop
      Chord(kLeftAlt, kTab),           // 10 switch window
      Chord(kLeftGui, Letter('M')),    // 11 minimise all
      Chord(kLeftCtrl, Letter('W')),   // 12 close tab
      WindowMenu(Letter('X')),         // 13 maximise
      WindowMenu(Letter('N')),         // 14 minimise
      Chord(kLeftAlt, kF4),            // 15 close window
  };
  return table;
}

}  // namespace

const std::vector<ShortcutEvent>& BuiltinShortcut(int number) {
  const auto& table = Table();
  if (number < 1 || number > 15) return table[0];
  return table[static_cast<std::size_t>(number)];
}
