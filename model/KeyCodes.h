#pragma once
// Conversions between the host's virtual-key codes (VirtualKeys.h) and the
// keyboard's key codes, and the short labels shown for assigned keys.
// Pure functions; any thread.
#include <string>

// Key code for a virtual-key code; 0 when the key has no key code.  The
// side-less modifiers (Shift, Ctrl, Alt) have none: only their left and right
// forms convert.  The media codes this returns (0xE8-0xF9) are the ones macro
// events carry; they overlap the Fn code 0xAF's neighbourhood of virtual keys
// (volume up is virtual key 175), so the two numberings must not be mixed.
int KeyCodeFromVirtualKey(int virtualKey);

// Short label of a key code ("A", "ENTER", "PG UP" ...); empty when the code
// has none (right Windows, 231, among them).
std::wstring KeyCodeLabel(int keyCode);

// Bits of the modifier mask of a combination key, in the order of the HID
// modifier byte.
namespace ModifierMask {
constexpr int Ctrl = 0x01;
constexpr int Shift = 0x02;
constexpr int Alt = 0x04;
constexpr int Windows = 0x08;
}  // namespace ModifierMask
