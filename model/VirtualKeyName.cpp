#include "model/VirtualKeyName.h"

#include "model/VirtualKeys.h"
#include "platform/KeyNameSource.h"

namespace {

struct FixedName {
  int virtual_key;
  const wchar_t* name;
};

constexpr FixedName kCommonNames[] = {
    {VirtualKey::Pause, L"Pause"},        {VirtualKey::Snapshot, L"Print Screen"},
    {VirtualKey::LeftWindows, L"Windows"}, {VirtualKey::RightWindows, L"RWindows"},
    {VirtualKey::Application, L"Application"}, {VirtualKey::NumLock, L"Num Lock"},
};

constexpr FixedName kDialogNames[] = {
    {VirtualKey::Oem1, L";:"},      {VirtualKey::OemPlus, L"=+"},  {VirtualKey::OemComma, L"<,"},
    {VirtualKey::OemMinus, L"-_"},  {VirtualKey::OemPeriod, L">."}, {VirtualKey::Oem2, L"?/"},
    {VirtualKey::Oem3, L"`~"},      {VirtualKey::Oem4, L"[{"},     {VirtualKey::Oem5, L"\\||"},
    {VirtualKey::Oem6, L"]}"},      {VirtualKey::Oem7, L"'\""},
};

constexpr FixedName kModifierNames[] = {
    {VirtualKey::LeftShift, L"Shift"}, {VirtualKey::RightShift, L"RShift"},
    {VirtualKey::LeftControl, L"Ctrl"}, {VirtualKey::RightControl, L"RCtrl"},
    {VirtualKey::LeftMenu, L"Alt"},    {VirtualKey::RightMenu, L"RAlt"},
};

constexpr FixedName kMediaNames[] = {
    {VirtualKey::BrowserBack, L"Web-Backward"},
    {VirtualKey::BrowserForward, L"Web-Forward"},
    {VirtualKey::BrowserRefresh, L"Web-Refresh"},
    {VirtualKey::BrowserStop, L"Web-Stop"},
    {VirtualKey::BrowserSearch, L"Web-Search"},
    {VirtualKey::BrowserFavorites, L"Web-Favorites"},
    {VirtualKey::BrowserHome, L"Web-Home"},
    {VirtualKey::VolumeMute, L"Vol Mute"},
    {VirtualKey::VolumeDown, L"Vol Down"},
    {VirtualKey::VolumeUp, L"Vol Up"},
    {VirtualKey::MediaNextTrack, L"Next Track"},
    {VirtualKey::MediaPrevTrack, L"Prev Track"},
    {VirtualKey::MediaStop, L"Stop"},
    {VirtualKey::MediaPlayPause, L"Play/Pause"},
    {VirtualKey::LaunchMail, L"EMail"},
    {VirtualKey::LaunchMediaSelect, L"Multimedia"},
    {VirtualKey::LaunchApp1, L"My Computer"},
    {VirtualKey::LaunchApp2, L"Calculator"},
};

// The hook reports the keypad keys with Num Lock off under their navigation
// virtual keys; the scan code tells them apart from the navigation block.
struct KeypadScan {
  int scan_code;
  int virtual_key;
};

constexpr KeypadScan kKeypadScans[] = {
    {71, VirtualKey::Numpad7}, {72, VirtualKey::Numpad8}, {73, VirtualKey::Numpad9},
    {75, VirtualKey::Numpad4}, {76, VirtualKey::Numpad5}, {77, VirtualKey::Numpad6},
    {79, VirtualKey::Numpad1}, {80, VirtualKey::Numpad2}, {81, VirtualKey::Numpad3},
    {82, VirtualKey::Numpad0}, {83, VirtualKey::Decimal},
};

constexpr int kKeypadEnterScan = 28;

template <std::size_t N>
const wchar_t* Find(const FixedName (&table)[N], int virtualKey) {
  for (const auto& entry : table) {
    if (entry.virtual_key == virtualKey) return entry.name;
  }
  return nullptr;
}

// The navigation block (33-40 and 45-46) lives on extended scan codes; the
// keys 41-44 between them do not.
bool IsExtendedNavigationKey(int virtualKey) {
  return (virtualKey >= VirtualKey::Prior && virtualKey <= VirtualKey::Down) ||
         virtualKey == VirtualKey::Insert || virtualKey == VirtualKey::Delete;
}

std::wstring CommonName(int virtualKey, const platform::KeyNameSource& source) {
  if (const wchar_t* fixed = Find(kCommonNames, virtualKey)) return fixed;
  return source.KeyName(source.ScanCode(virtualKey), IsExtendedNavigationKey(virtualKey));
}

int FoldModifier(int virtualKey) {
  switch (virtualKey) {
    case VirtualKey::Shift: return VirtualKey::LeftShift;
    case VirtualKey::Control: return VirtualKey::LeftControl;
    case VirtualKey::Menu: return VirtualKey::LeftMenu;
    default: return virtualKey;
  }
}

}  // namespace

std::wstring VirtualKeyNameForDialog(int virtualKey, const platform::KeyNameSource& source) {
  if (virtualKey >= VirtualKey::F13 && virtualKey <= VirtualKey::F24) {
    return L"F" + std::to_wstring(virtualKey - 111);
  }
  if (const wchar_t* fixed = Find(kDialogNames, virtualKey)) return fixed;
  return CommonName(virtualKey, source);
}

std::optional<NamedKey> VirtualKeyNameForHook(int virtualKey, int scanCode, int flags, int message,
                                              const platform::KeyNameSource& source) {
  const bool down = message == HookMessage::KeyDown || message == HookMessage::SysKeyDown;
  const bool up = message == HookMessage::KeyUp || message == HookMessage::SysKeyUp;
  if (!down && !up) return std::nullopt;

  if ((down && flags == 0) || (up && flags == HookFlag::Up)) {
    for (const auto& keypad : kKeypadScans) {
      if (keypad.scan_code == scanCode) {
        virtualKey = keypad.virtual_key;
        break;
      }
    }
  }
  if (((down && flags == HookFlag::Extended) || (up && flags == (HookFlag::Extended | HookFlag::Up))) &&
      scanCode == kKeypadEnterScan) {
    virtualKey = VirtualKey::Separator;
  }
  if (virtualKey == 0) return std::nullopt;

  NamedKey key;
  key.virtual_key = FoldModifier(virtualKey);
  if (const wchar_t* fixed = Find(kModifierNames, key.virtual_key)) {
    key.name = fixed;
  } else if (const wchar_t* media = Find(kMediaNames, key.virtual_key)) {
    key.name = media;
  } else {
    key.name = CommonName(key.virtual_key, source);
  }
  return key;
}

NamedKey VirtualKeyNameForRawInput(int virtualKey, const platform::KeyNameSource& source) {
  NamedKey key;
  key.virtual_key = FoldModifier(virtualKey);
  if (const wchar_t* fixed = Find(kModifierNames, key.virtual_key)) {
    key.name = fixed;
  } else {
    key.name = CommonName(key.virtual_key, source);
  }
  return key;
}

std::wstring MouseButtonName(MouseButton button) {
  switch (button) {
    case MouseButton::Left: return L"mouse_left";
    case MouseButton::Middle: return L"mouse_middle";
    case MouseButton::Right: return L"mouse_right";
    case MouseButton::Fourth: return L"mouse_button4";
    case MouseButton::Fifth: return L"mouse_button5";
  }
  return {};
}
