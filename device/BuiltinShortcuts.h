#pragma once
// The fifteen built-in shortcuts a key can play (assignment type 7): short
// sequences of HID keyboard usages.  Pure data; any thread.
#include <cstdint>
#include <vector>

struct ShortcutEvent {
  std::uint8_t usage = 0;
  bool down = true;
};

// The events of shortcut `number` (1-15); empty for any other number.
const std::vector<ShortcutEvent>& BuiltinShortcut(int number);
