#pragma once
// The table between the window system's key identifiers (X keysyms and
// keycodes) and the program's virtual-key codes (model/VirtualKeys.h).
// Implemented in platform/linux/ui; the keycode functions use the XKB map of
// the given display and belong to the thread that owns it.
#include <cstdint>

struct _XDisplay;

namespace platform {

// Virtual key of an X keysym; 0 when the program has none for it.  Letters
// of either case give the letter's key; the keypad keysyms with Num Lock off
// (KP_Home ...) give the navigation keys, with Num Lock on (KP_7 ...) the
// keypad digits; keypad Enter gives the separator key, which the program
// uses for keypad Enter.
int VirtualKeyFromKeysym(std::uint32_t keysym);

// The keysym a virtual key stands for (the unshifted one: 'a' for 65); 0
// when the table has none.
std::uint32_t KeysymFromVirtualKey(int virtualKey);

// Virtual key of an X keycode under the display's current layout (first
// group); `numLock` chooses the keypad's digit keysyms.
int VirtualKeyFromKeycode(_XDisplay* display, unsigned keycode, bool numLock);

// The X keycode that produces the virtual key's keysym; 0 when none does.
unsigned KeycodeFromVirtualKey(_XDisplay* display, int virtualKey);

}  // namespace platform
