#include "platform/XKeyTable.h"

#include <X11/XF86keysym.h>
#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/keysym.h>

#include "model/VirtualKeys.h"

namespace platform {
namespace {

struct KeysymEntry {
  std::uint32_t keysym;
  int virtual_key;
};

// The first entry of a virtual key is the keysym it maps back to.
constexpr KeysymEntry kKeysyms[] = {
    {XK_BackSpace, VirtualKey::Back},
    {XK_Tab, VirtualKey::Tab},
    {XK_ISO_Left_Tab, VirtualKey::Tab},
    {XK_Return, VirtualKey::Return},
    {XK_Pause, VirtualKey::Pause},
    {XK_Break, VirtualKey::Pause},
    {XK_Caps_Lock, VirtualKey::Capital},
    {XK_Escape, VirtualKey::Escape},
    {XK_space, VirtualKey::Space},
    {XK_Prior, VirtualKey::Prior},
    {XK_Next, VirtualKey::Next},
    {XK_End, VirtualKey::End},
    {XK_Home, VirtualKey::Home},
    {XK_Left, VirtualKey::Left},
    {XK_Up, VirtualKey::Up},
    {XK_Right, VirtualKey::Right},
    {XK_Down, VirtualKey::Down},
    {XK_Print, VirtualKey::Snapshot},
    {XK_Sys_Req, VirtualKey::Snapshot},
    {XK_Insert, VirtualKey::Insert},
    {XK_Delete, VirtualKey::Delete},
    {XK_Super_L, VirtualKey::LeftWindows},
    {XK_Super_R, VirtualKey::RightWindows},
    {XK_Menu, VirtualKey::Application},
    // Keypad with Num Lock off: the navigation keys, as the platform the
    // numbering comes from reports them.
    {XK_KP_Insert, VirtualKey::Insert},
    {XK_KP_End, VirtualKey::End},
    {XK_KP_Down, VirtualKey::Down},
    {XK_KP_Next, VirtualKey::Next},
    {XK_KP_Left, VirtualKey::Left},
    {XK_KP_Begin, VirtualKey::Clear},
    {XK_KP_Right, VirtualKey::Right},
    {XK_KP_Home, VirtualKey::Home},
    {XK_KP_Up, VirtualKey::Up},
    {XK_KP_Prior, VirtualKey::Prior},
    {XK_KP_Delete, VirtualKey::Delete},
    {XK_KP_Multiply, VirtualKey::Multiply},
    {XK_KP_Add, VirtualKey::Add},
    {XK_KP_Enter, VirtualKey::Separator},
    {XK_KP_Separator, VirtualKey::Separator},
    {XK_KP_Subtract, VirtualKey::Subtract},
    {XK_KP_Decimal, VirtualKey::Decimal},
    {XK_KP_Divide, VirtualKey::Divide},
    {XK_Num_Lock, VirtualKey::NumLock},
    {XK_Scroll_Lock, VirtualKey::ScrollLock},
    {XK_Shift_L, VirtualKey::LeftShift},
    {XK_Shift_R, VirtualKey::RightShift},
    {XK_Control_L, VirtualKey::LeftControl},
    {XK_Control_R, VirtualKey::RightControl},
    {XK_Alt_L, VirtualKey::LeftMenu},
    {XK_Meta_L, VirtualKey::LeftMenu},
    {XK_Alt_R, VirtualKey::RightMenu},
    {XK_ISO_Level3_Shift, VirtualKey::RightMenu},
    {XK_Meta_R, VirtualKey::RightMenu},
    {XF86XK_Back, VirtualKey::BrowserBack},
    {XF86XK_Forward, VirtualKey::BrowserForward},
    {XF86XK_Refresh, VirtualKey::BrowserRefresh},
    {XF86XK_Stop, VirtualKey::BrowserStop},
    {XF86XK_Search, VirtualKey::BrowserSearch},
    {XF86XK_Favorites, VirtualKey::BrowserFavorites},
    {XF86XK_HomePage, VirtualKey::BrowserHome},
    {XF86XK_AudioMute, VirtualKey::VolumeMute},
    {XF86XK_AudioLowerVolume, VirtualKey::VolumeDown},
    {XF86XK_AudioRaiseVolume, VirtualKey::VolumeUp},
    {XF86XK_AudioNext, VirtualKey::MediaNextTrack},
    {XF86XK_AudioPrev, VirtualKey::MediaPrevTrack},
    {XF86XK_AudioStop, VirtualKey::MediaStop},
    {XF86XK_AudioPlay, VirtualKey::MediaPlayPause},
    {XF86XK_AudioPause, VirtualKey::MediaPlayPause},
    {XF86XK_Mail, VirtualKey::LaunchMail},
    {XF86XK_AudioMedia, VirtualKey::LaunchMediaSelect},
    {XF86XK_MyComputer, VirtualKey::LaunchApp1},
    {XF86XK_Calculator, VirtualKey::LaunchApp2},
    {XK_semicolon, VirtualKey::Oem1},
    {XK_equal, VirtualKey::OemPlus},
    {XK_comma, VirtualKey::OemComma},
    {XK_minus, VirtualKey::OemMinus},
    {XK_period, VirtualKey::OemPeriod},
    {XK_slash, VirtualKey::Oem2},
    {XK_grave, VirtualKey::Oem3},
    {XK_bracketleft, VirtualKey::Oem4},
    {XK_backslash, VirtualKey::Oem5},
    {XK_bracketright, VirtualKey::Oem6},
    {XK_apostrophe, VirtualKey::Oem7},
    // The extra key between left Shift and Z of ISO boards.
    {XK_less, VirtualKey::Oem102},
};

bool IsKeypadDigitKeysym(KeySym keysym) {
  return (keysym >= XK_KP_0 && keysym <= XK_KP_9) || keysym == XK_KP_Decimal || keysym == XK_KP_Separator;
}

}  // namespace

int VirtualKeyFromKeysym(std::uint32_t keysym) {
  if (keysym >= XK_a && keysym <= XK_z) return VirtualKey::LetterA + static_cast<int>(keysym - XK_a);
  if (keysym >= XK_A && keysym <= XK_Z) return VirtualKey::LetterA + static_cast<int>(keysym - XK_A);
  if (keysym >= XK_0 && keysym <= XK_9) return VirtualKey::Digit0 + static_cast<int>(keysym - XK_0);
  if (keysym >= XK_F1 && keysym <= XK_F24) return VirtualKey::F1 + static_cast<int>(keysym - XK_F1);
  if (keysym >= XK_KP_0 && keysym <= XK_KP_9) return VirtualKey::Numpad0 + static_cast<int>(keysym - XK_KP_0);
  for (const auto& entry : kKeysyms) {
    if (entry.keysym == keysym) return entry.virtual_key;
  }
  return 0;
}

std::uint32_t KeysymFromVirtualKey(int virtualKey) {
  if (virtualKey >= VirtualKey::LetterA && virtualKey <= VirtualKey::LetterZ) {
    return XK_a + static_cast<std::uint32_t>(virtualKey - VirtualKey::LetterA);
  }
  if (virtualKey >= VirtualKey::Digit0 && virtualKey <= VirtualKey::Digit9) {
    return XK_0 + static_cast<std::uint32_t>(virtualKey - VirtualKey::Digit0);
  }
  if (virtualKey >= VirtualKey::F1 && virtualKey <= VirtualKey::F24) {
    return XK_F1 + static_cast<std::uint32_t>(virtualKey - VirtualKey::F1);
  }
  if (virtualKey >= VirtualKey::Numpad0 && virtualKey <= VirtualKey::Numpad9) {
    return XK_KP_0 + static_cast<std::uint32_t>(virtualKey - VirtualKey::Numpad0);
  }
  for (const auto& entry : kKeysyms) {
    if (entry.virtual_key == virtualKey) return entry.keysym;
  }
  return 0;
}

int VirtualKeyFromKeycode(_XDisplay* display, unsigned keycode, bool numLock) {
  if (display == nullptr || keycode < 8 || keycode > 255) return 0;
  const auto code = static_cast<KeyCode>(keycode);
  if (numLock) {
    // With Num Lock on, the keypad keys produce their second level.
    const KeySym shifted = XkbKeycodeToKeysym(display, code, 0, 1);
    if (IsKeypadDigitKeysym(shifted)) return VirtualKeyFromKeysym(static_cast<std::uint32_t>(shifted));
  }
  return VirtualKeyFromKeysym(static_cast<std::uint32_t>(XkbKeycodeToKeysym(display, code, 0, 0)));
}

unsigned KeycodeFromVirtualKey(_XDisplay* display, int virtualKey) {
  const std::uint32_t keysym = KeysymFromVirtualKey(virtualKey);
  if (display == nullptr || keysym == 0) return 0;
  return XKeysymToKeycode(display, keysym);
}

}  // namespace platform
