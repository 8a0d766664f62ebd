// The window-system half of key naming: the keysym table and the XKB key
// names under the test display (Xvfb with its default US layout).
#include "platform/XKeyTable.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "model/KeyCodes.h"
#include "model/VirtualKeyName.h"
#include "platform/KeyNameSource.h"

// Last: Xlib's macros (None, Button4 ...) would break the headers above.
#include <X11/XF86keysym.h>
#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/keysym.h>

namespace {

TEST(XKeyTable, MapsKeysymsToVirtualKeys) {
  const struct {
    KeySym keysym;
    int virtual_key;
  } cases[] = {
      {XK_a, 65},           {XK_A, 65},           {XK_z, 90},           {XK_0, 48},          {XK_9, 57},
      {XK_F1, 112},         {XK_F12, 123},        {XK_F13, 124},        {XK_F24, 135},       {XK_Return, 13},
      {XK_Escape, 27},      {XK_BackSpace, 8},    {XK_Tab, 9},          {XK_space, 32},      {XK_Prior, 33},
      {XK_Next, 34},        {XK_End, 35},         {XK_Home, 36},        {XK_Left, 37},       {XK_Up, 38},
      {XK_Right, 39},       {XK_Down, 40},        {XK_Insert, 45},      {XK_Delete, 46},     {XK_Print, 44},
      {XK_Scroll_Lock, 145}, {XK_Pause, 19},      {XK_Caps_Lock, 20},   {XK_Num_Lock, 144},  {XK_KP_0, 96},
      {XK_KP_7, 103},       {XK_KP_Home, 36},     {XK_KP_Up, 38},       {XK_KP_Begin, 12},   {XK_KP_Decimal, 110},
      {XK_KP_Delete, 46},   {XK_KP_Enter, 108},   {XK_KP_Add, 107},     {XK_KP_Subtract, 109}, {XK_KP_Multiply, 106},
      {XK_KP_Divide, 111},  {XK_Shift_L, 160},    {XK_Shift_R, 161},    {XK_Control_L, 162}, {XK_Control_R, 163},
      {XK_Alt_L, 164},      {XK_Alt_R, 165},      {XK_ISO_Level3_Shift, 165}, {XK_Super_L, 91}, {XK_Super_R, 92},
      {XK_Menu, 93},        {XK_less, 226},       {XK_minus, 189},      {XK_equal, 187},     {XK_bracketleft, 219},
      {XK_bracketright, 221}, {XK_backslash, 220}, {XK_semicolon, 186}, {XK_apostrophe, 222}, {XK_grave, 192},
      {XK_comma, 188},      {XK_period, 190},     {XK_slash, 191},      {XF86XK_AudioMute, 173},
      {XF86XK_AudioLowerVolume, 174}, {XF86XK_AudioRaiseVolume, 175}, {XF86XK_AudioNext, 176},
      {XF86XK_AudioPrev, 177}, {XF86XK_AudioStop, 178}, {XF86XK_AudioPlay, 179}, {XF86XK_Mail, 180},
      {XF86XK_AudioMedia, 181}, {XF86XK_MyComputer, 182}, {XF86XK_Calculator, 183}, {XF86XK_Back, 166},
      {XF86XK_Forward, 167}, {XF86XK_Refresh, 168}, {XF86XK_Stop, 169}, {XF86XK_Search, 170},
      {XF86XK_Favorites, 171}, {XF86XK_HomePage, 172}, {XK_udiaeresis, 0}, {0, 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(platform::VirtualKeyFromKeysym(static_cast<std::uint32_t>(c.keysym)), c.virtual_key)
        << "keysym 0x" << std::hex << c.keysym;
  }
}

TEST(XKeyTable, EveryConvertibleVirtualKeyHasAKeysymThatMapsBack) {
  for (int virtualKey = 1; virtualKey < 256; ++virtualKey) {
    // 136-139 and 254 (Fn) are the program's own numbers; no key sends them.
    if (KeyCodeFromVirtualKey(virtualKey) == 0 || (virtualKey >= 136 && virtualKey <= 139) || virtualKey == 254) {
      continue;
    }
    const std::uint32_t keysym = platform::KeysymFromVirtualKey(virtualKey);
    ASSERT_NE(keysym, 0u) << "virtual key " << virtualKey << " cannot be produced";
    EXPECT_EQ(platform::VirtualKeyFromKeysym(keysym), virtualKey) << "virtual key " << virtualKey;
  }
}

class XkbKeyNames : public ::testing::Test {
 protected:
  void SetUp() override {
    if (std::getenv("DISPLAY") == nullptr) GTEST_SKIP() << "no X display";
    m_display = XOpenDisplay(nullptr);
    if (m_display == nullptr) GTEST_SKIP() << "the X display does not answer";
    m_source = platform::CreateKeyNameSource();
    ASSERT_NE(m_source, nullptr);
  }
  void TearDown() override {
    if (m_display) XCloseDisplay(m_display);
  }
  // Tests must not depend on a layout the test display may not have.
  bool HasUsLetters() const {
    const unsigned keycode = platform::KeycodeFromVirtualKey(m_display, 65);
    return keycode == 38;
  }
  Display* m_display = nullptr;
  std::unique_ptr<platform::KeyNameSource> m_source;
};

TEST_F(XkbKeyNames, KeycodesRoundTrip) {
  for (int virtualKey : {65, 90, 48, 13, 27, 32, 112, 123, 36, 37, 160, 162, 96, 103, 106, 108}) {
    const unsigned keycode = platform::KeycodeFromVirtualKey(m_display, virtualKey);
    if (keycode == 0) continue;  // not on this display's keyboard map
    const bool numLock = virtualKey >= 96 && virtualKey <= 105;
    EXPECT_EQ(platform::VirtualKeyFromKeycode(m_display, keycode, numLock), virtualKey) << virtualKey;
  }
  EXPECT_EQ(platform::VirtualKeyFromKeycode(m_display, 3, false), 0);
  EXPECT_EQ(platform::VirtualKeyFromKeycode(nullptr, 38, false), 0);
}

TEST_F(XkbKeyNames, KeypadFollowsNumLock) {
  const unsigned keypad7 = XKeysymToKeycode(m_display, XK_KP_7);
  if (keypad7 == 0) GTEST_SKIP() << "no keypad on this keyboard map";
  EXPECT_EQ(platform::VirtualKeyFromKeycode(m_display, keypad7, true), 103);
  EXPECT_EQ(platform::VirtualKeyFromKeycode(m_display, keypad7, false), 36);
}

TEST_F(XkbKeyNames, NamesComeFromTheLayoutAndFixedNamesWin) {
  if (!HasUsLetters()) GTEST_SKIP() << "the display's layout is not the US one";
  EXPECT_EQ(m_source->ScanCode(65), 30);
  EXPECT_EQ(m_source->KeyName(30, false), L"A");
  EXPECT_EQ(VirtualKeyNameForDialog(65, *m_source), L"A");
  EXPECT_EQ(VirtualKeyNameForDialog(13, *m_source), L"Enter");
  EXPECT_EQ(VirtualKeyNameForDialog(112, *m_source), L"F1");
  EXPECT_EQ(VirtualKeyNameForDialog(33, *m_source), L"Page Up");
  EXPECT_EQ(VirtualKeyNameForDialog(220, *m_source), L"\\||");
  EXPECT_EQ(VirtualKeyNameForDialog(44, *m_source), L"Print Screen");
  // Home (extended) against keypad 7 (same scan code, not extended).
  EXPECT_EQ(m_source->ScanCode(36), 71);
  EXPECT_EQ(m_source->KeyName(71, true), L"Home");
  EXPECT_EQ(m_source->KeyName(71, false), L"Num 7");
  const auto keypad = VirtualKeyNameForHook(36, 71, 0, HookMessage::KeyDown, *m_source);
  ASSERT_TRUE(keypad.has_value());
  EXPECT_EQ(keypad->virtual_key, 103);
  EXPECT_EQ(keypad->name, L"Num 7");
  EXPECT_EQ(m_source->KeyName(0, false), L"");
  EXPECT_EQ(m_source->KeyName(200, false), L"");
  EXPECT_EQ(m_source->KeyName(30, true), L"") << "no extended key at that scan code";
}

}  // namespace
