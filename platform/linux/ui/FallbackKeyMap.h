#pragma once
// X keysyms to virtual-key codes and back for the keys the toolkit itself
// needs (letters, digits, editing and navigation keys, modifiers, function
// keys).  The full keyboard table of the key-name layer replaces this once
// it is in the platform layer.
#include <X11/Xlib.h>

namespace fallback_keys {
int VirtualKeyFromKeysym(KeySym keysym);
KeySym KeysymFromVirtualKey(int virtualKey);
}  // namespace fallback_keys
