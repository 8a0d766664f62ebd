#include "platform/linux/ui/XkbKeyNameSource.h"

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/keysym.h>

#include <cwctype>

#include "platform/TextConvert.h"
#include "platform/XKeyTable.h"

namespace platform {
namespace {

// evdev keycodes 1-88 are the set-1 scan codes themselves; the keys of the
// extended block (scan code with the E0 prefix) have codes of their own.
struct ExtendedKey {
  int scan_code;
  int evdev_code;
};

constexpr ExtendedKey kExtendedKeys[] = {
    {28, 96},   // keypad Enter
    {29, 97},   // right Ctrl
    {53, 98},   // keypad divide
    {55, 99},   // Print Screen
    {56, 100},  // right Alt
    {71, 102},  // Home
    {72, 103},  // Up
    {73, 104},  // Page Up
    {75, 105},  // Left
    {77, 106},  // Right
    {79, 107},  // End
    {80, 108},  // Down
    {81, 109},  // Page Down
    {82, 110},  // Insert
    {83, 111},  // Delete
    {91, 125},  // left Windows
    {92, 126},  // right Windows
    {93, 127},  // Application
};

constexpr int kLastPlainScanCode = 88;
constexpr int kEvdevOffset = 8;

struct Spelling {
  KeySym keysym;
  const wchar_t* name;
};

// Readable names for keysyms whose X names are terse.
constexpr Spelling kSpellings[] = {
    {XK_space, L"Space"},          {XK_Return, L"Enter"},        {XK_BackSpace, L"Backspace"},
    {XK_Escape, L"Esc"},           {XK_Prior, L"Page Up"},       {XK_Next, L"Page Down"},
    {XK_Caps_Lock, L"Caps Lock"},  {XK_Scroll_Lock, L"Scroll Lock"}, {XK_Shift_L, L"Shift"},
    {XK_Shift_R, L"Right Shift"},  {XK_Control_L, L"Ctrl"},      {XK_Control_R, L"Right Ctrl"},
    {XK_Alt_L, L"Alt"},            {XK_Alt_R, L"Right Alt"},     {XK_ISO_Level3_Shift, L"AltGr"},
    {XK_KP_Enter, L"Num Enter"},   {XK_KP_Divide, L"Num /"},     {XK_KP_Multiply, L"Num *"},
    {XK_KP_Subtract, L"Num -"},    {XK_KP_Add, L"Num +"},         {XK_KP_Decimal, L"Num ."},
};

// The character a keysym types, or 0: Latin-1 keysyms are their own code
// points, Unicode keysyms carry theirs with 0x01000000 added.
wchar_t KeysymCharacter(KeySym keysym) {
  if ((keysym >= 0x21 && keysym <= 0x7E) || (keysym >= 0xA1 && keysym <= 0xFF)) {
    return static_cast<wchar_t>(keysym);
  }
  if (keysym >= 0x01000100 && keysym <= 0x0110FFFF) return static_cast<wchar_t>(keysym - 0x01000000);
  return 0;
}

}  // namespace

XkbKeyNameSource::XkbKeyNameSource(_XDisplay* display) : m_display(display) {}

XkbKeyNameSource::XkbKeyNameSource() : m_display(XOpenDisplay(nullptr)), m_owned(true) {}

XkbKeyNameSource::~XkbKeyNameSource() {
  if (m_owned && m_display != nullptr) XCloseDisplay(m_display);
}

int XkbKeyNameSource::ScanCode(int virtualKey) const {
  const unsigned keycode = KeycodeFromVirtualKey(m_display, virtualKey);
  if (keycode < kEvdevOffset) return 0;
  const int evdev = static_cast<int>(keycode) - kEvdevOffset;
  if (evdev <= kLastPlainScanCode) return evdev;
  for (const auto& key : kExtendedKeys) {
    if (key.evdev_code == evdev) return key.scan_code;
  }
  return 0;
}

std::wstring XkbKeyNameSource::KeyName(int scanCode, bool extended) const {
  if (m_display == nullptr || scanCode <= 0 || scanCode > kLastPlainScanCode) return {};
  int evdev = scanCode;
  if (extended) {
    evdev = 0;
    for (const auto& key : kExtendedKeys) {
      if (key.scan_code == scanCode) evdev = key.evdev_code;
    }
    if (evdev == 0) return {};
  }
  XkbStateRec state{};
  XkbGetState(m_display, XkbUseCoreKbd, &state);
  const auto keycode = static_cast<KeyCode>(evdev + kEvdevOffset);
  KeySym keysym = XkbKeycodeToKeysym(m_display, keycode, state.group, 0);
  // The keypad keys are named by their digits, whatever Num Lock says.
  const KeySym numLocked = XkbKeycodeToKeysym(m_display, keycode, state.group, 1);
  if ((numLocked >= XK_KP_0 && numLocked <= XK_KP_9) || numLocked == XK_KP_Decimal) keysym = numLocked;
  if (keysym == NoSymbol) return {};
  if (keysym >= XK_KP_0 && keysym <= XK_KP_9) return L"Num " + std::to_wstring(keysym - XK_KP_0);
  for (const auto& spelling : kSpellings) {
    if (spelling.keysym == keysym) return spelling.name;
  }
  if (const wchar_t character = KeysymCharacter(keysym)) {
    return std::wstring(1, static_cast<wchar_t>(std::towupper(static_cast<wint_t>(character))));
  }
  const char* name = XKeysymToString(keysym);
  if (name == nullptr) return {};
  std::wstring text = FromUtf8(name);
  for (wchar_t& c : text) {
    if (c == L'_') c = L' ';
  }
  return text;
}

std::unique_ptr<KeyNameSource> CreateKeyNameSource() {
  auto source = std::make_unique<XkbKeyNameSource>();
  if (!source->Valid()) return nullptr;
  return source;
}

}  // namespace platform
