#include "model/KeyCodes.h"

#include <utility>

#include "model/VirtualKeys.h"

namespace {

// Single keys whose key code does not follow from a range.
constexpr std::pair<int, int> kSingleKeys[] = {
    {VirtualKey::Digit0, 39},
    {VirtualKey::Return, 40},
    {VirtualKey::Escape, 41},
    {VirtualKey::Back, 42},
    {VirtualKey::Tab, 43},
    {VirtualKey::Space, 44},
    {VirtualKey::OemMinus, 45},
    {VirtualKey::OemPlus, 46},
    {VirtualKey::Oem4, 47},
    {VirtualKey::Oem6, 48},
    {VirtualKey::Oem5, 49},
    {VirtualKey::NonUsHash, 50},
    {VirtualKey::Oem1, 51},
    {VirtualKey::Oem7, 52},
    {VirtualKey::Oem3, 53},
    {VirtualKey::OemComma, 54},
    {VirtualKey::OemPeriod, 55},
    {VirtualKey::Oem2, 56},
    {VirtualKey::Capital, 57},
    {VirtualKey::Snapshot, 70},
    {VirtualKey::ScrollLock, 71},
    {VirtualKey::Pause, 72},
    {VirtualKey::Insert, 73},
    {VirtualKey::Home, 74},
    {VirtualKey::Prior, 75},
    {VirtualKey::Delete, 76},
    {VirtualKey::End, 77},
    {VirtualKey::Next, 78},
    {VirtualKey::Right, 79},
    {VirtualKey::Left, 80},
    {VirtualKey::Down, 81},
    {VirtualKey::Up, 82},
    {VirtualKey::NumLock, 83},
    {VirtualKey::Divide, 84},
    {VirtualKey::Multiply, 85},
    {VirtualKey::Subtract, 86},
    {VirtualKey::Add, 87},
    {VirtualKey::Separator, 88},
    {VirtualKey::Numpad0, 98},
    {VirtualKey::Decimal, 99},
    {VirtualKey::LeftControl, 224},
    {VirtualKey::LeftShift, 225},
    {VirtualKey::LeftMenu, 226},
    {VirtualKey::LeftWindows, 227},
    {VirtualKey::RightControl, 228},
    {VirtualKey::RightShift, 229},
    {VirtualKey::RightMenu, 230},
    {VirtualKey::RightWindows, 231},
    {VirtualKey::Application, 101},
    {VirtualKey::Fn, 175},
    {VirtualKey::Oem102, 100},
    {VirtualKey::VolumeMute, 235},
    {VirtualKey::VolumeDown, 233},
    {VirtualKey::VolumeUp, 234},
    {VirtualKey::MediaNextTrack, 239},
    {VirtualKey::MediaPrevTrack, 237},
    {VirtualKey::MediaStop, 236},
    {VirtualKey::MediaPlayPause, 238},
    {VirtualKey::LaunchMediaSelect, 232},
    {VirtualKey::LaunchMail, 240},
    {VirtualKey::BrowserHome, 241},
    {VirtualKey::LaunchApp2, 242},
    {VirtualKey::BrowserBack, 243},
    {VirtualKey::BrowserForward, 244},
    {VirtualKey::BrowserStop, 245},
    {VirtualKey::BrowserRefresh, 246},
    {VirtualKey::BrowserSearch, 247},
    {VirtualKey::BrowserFavorites, 248},
    {VirtualKey::LaunchApp1, 249},
};

struct Label {
  int code;
  const wchar_t* text;
};

constexpr Label kLabels[] = {
    {40, L"ENTER"},   {41, L"ESC"},    {42, L"backspace"}, {43, L"TAB"},
    {44, L"SPACE"},   {45, L"-_"},     {46, L"+="},        {47, L"[{"},
    {48, L"]}"},      {49, L"\\"},     {51, L";:"},        {52, L"'"},
    {53, L"~`"},      {54, L"<,"},     {55, L">."},        {56, L"/?"},
    {57, L"CAPS"},    {70, L"PRTSC"},  {71, L"SCRLK"},     {72, L"PASE"},
    {73, L"INS"},     {74, L"HOME"},   {75, L"PG UP"},     {76, L"DEL"},
    {77, L"END"},     {78, L"PG DN"},  {79, L"RIGHT"},     {80, L"LEFT"},
    {81, L"DOWN"},    {82, L"UP"},     {83, L"NumLock"},   {84, L"/"},
    {85, L"*"},       {86, L"-"},      {87, L"+"},         {88, L"Enter"},
    {99, L"."},       {101, L"MENU"},  {175, L"FN"},       {224, L"CTRL"},
    {225, L"SHIFT"},  {226, L"ALT"},   {227, L"WIN"},      {228, L"RCTRL"},
    {229, L"RSHIFT"}, {230, L"RALT"},  {39, L"0"},
};

}  // namespace

int KeyCodeFromVirtualKey(int virtualKey) {
  if (virtualKey >= VirtualKey::LetterA && virtualKey <= VirtualKey::LetterZ) {
    return virtualKey - 61;
  }
  if (virtualKey >= VirtualKey::Digit1 && virtualKey <= VirtualKey::Digit9) {
    return virtualKey - 19;
  }
  if (virtualKey >= VirtualKey::F1 && virtualKey <= VirtualKey::F12) {
    return virtualKey - VirtualKey::F1 + 58;
  }
  if (virtualKey >= VirtualKey::F13 && virtualKey <= VirtualKey::F24) {
    return virtualKey - VirtualKey::F13 + 104;
  }
  if (virtualKey >= VirtualKey::Numpad1 && virtualKey <= VirtualKey::Numpad9) {
    return virtualKey - VirtualKey::Numpad1 + 89;
  }
  if (virtualKey >= VirtualKey::International1 && virtualKey <= VirtualKey::International4) {
    return virtualKey;
  }
  for (const auto& [key, code] : kSingleKeys) {
    if (key == virtualKey) return code;
  }
  return 0;
}

std::wstring KeyCodeLabel(int keyCode) {
  if (keyCode >= 4 && keyCode <= 29) return std::wstring(1, static_cast<wchar_t>(L'A' + keyCode - 4));
  if (keyCode >= 30 && keyCode <= 38) return std::wstring(1, static_cast<wchar_t>(L'1' + keyCode - 30));
  if (keyCode >= 89 && keyCode <= 97) return std::wstring(1, static_cast<wchar_t>(L'1' + keyCode - 89));
  if (keyCode == 98) return L"0";
  if (keyCode >= 58 && keyCode <= 69) return L"F" + std::to_wstring(keyCode - 57);
  for (const auto& label : kLabels) {
    if (label.code == keyCode) return label.text;
  }
  return {};
}
