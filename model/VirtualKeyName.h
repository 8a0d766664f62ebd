#pragma once
// Display names of virtual keys, in the three variants the program uses: the
// custom key dialog, the keyboard hook and raw-input recording.  Each asks the
// key-name source for the current layout's name and lets the program's fixed
// names take precedence.  Callable from any thread that may use `source`.
#include <optional>
#include <string>

namespace platform {
class KeyNameSource;
}

// Messages a keyboard hook delivers.
namespace HookMessage {
constexpr int KeyDown = 256;
constexpr int KeyUp = 257;
constexpr int SysKeyDown = 260;
constexpr int SysKeyUp = 261;
}  // namespace HookMessage

// Flag bits a keyboard hook delivers with a key.
namespace HookFlag {
constexpr int Extended = 0x01;
constexpr int Up = 0x80;
}  // namespace HookFlag

// A key as it travels on after naming: the virtual key may have been changed
// (keypad correction, side-less modifiers folded to their left forms).
struct NamedKey {
  int virtual_key = 0;
  std::wstring name;
};

enum class MouseButton { Left, Middle, Right, Fourth, Fifth };

// The custom key dialog's name of a virtual key.
std::wstring VirtualKeyNameForDialog(int virtualKey, const platform::KeyNameSource& source);

// The keyboard hook's key and name; nothing for a message other than key
// down or key up, and for virtual key 0.
std::optional<NamedKey> VirtualKeyNameForHook(int virtualKey, int scanCode, int flags, int message,
                                              const platform::KeyNameSource& source);

// Raw-input recording's key and name (modifiers folded, no media names).
NamedKey VirtualKeyNameForRawInput(int virtualKey, const platform::KeyNameSource& source);

// "mouse_left", "mouse_middle", "mouse_right", "mouse_button4", "mouse_button5".
std::wstring MouseButtonName(MouseButton button);
