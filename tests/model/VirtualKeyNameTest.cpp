#include "model/VirtualKeyName.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/KeyNameSource.h"

namespace {

// Names every key "scan:<scan code>" with an "+ext" suffix for the extended
// block, and remembers what it was asked.
class FakeKeyNameSource : public platform::KeyNameSource {
 public:
  int ScanCode(int virtualKey) const override {
    asked_virtual_keys.push_back(virtualKey);
    return virtualKey + 1000;
  }
  std::wstring KeyName(int scanCode, bool extended) const override {
    if (scanCode == 1000 + unnamed_key) return {};
    return L"scan:" + std::to_wstring(scanCode) + (extended ? L"+ext" : L"");
  }
  int unnamed_key = -1;
  mutable std::vector<int> asked_virtual_keys;
};

struct NameCase {
  int virtual_key;
  const wchar_t* name;
};

TEST(VirtualKeyNameForDialog, FixedNamesReplaceTheLayoutsNames) {
  FakeKeyNameSource source;
  const NameCase cases[] = {
      {19, L"Pause"},     {44, L"Print Screen"}, {91, L"Windows"}, {92, L"RWindows"},  {93, L"Application"},
      {144, L"Num Lock"}, {124, L"F13"},         {135, L"F24"},    {186, L";:"},       {187, L"=+"},
      {188, L"<,"},       {189, L"-_"},          {190, L">."},     {191, L"?/"},       {192, L"`~"},
      {219, L"[{"},       {220, L"\\||"},        {221, L"]}"},     {222, L"'\""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(VirtualKeyNameForDialog(c.virtual_key, source), c.name) << "virtual key " << c.virtual_key;
  }
}

TEST(VirtualKeyNameForDialog, NavigationKeysAskForTheExtendedKey) {
  FakeKeyNameSource source;
  for (int virtualKey : {33, 34, 35, 36, 37, 38, 39, 40, 45, 46}) {
    EXPECT_EQ(VirtualKeyNameForDialog(virtualKey, source), L"scan:" + std::to_wstring(virtualKey + 1000) + L"+ext");
  }
  for (int virtualKey : {41, 42, 43, 65, 112, 160, 163}) {
    EXPECT_EQ(VirtualKeyNameForDialog(virtualKey, source), L"scan:" + std::to_wstring(virtualKey + 1000));
  }
}

TEST(VirtualKeyNameForDialog, NoPlatformNameGivesEmptyText) {
  FakeKeyNameSource source;
  source.unnamed_key = 65;
  EXPECT_EQ(VirtualKeyNameForDialog(65, source), L"");
}

struct HookCase {
  int virtual_key;
  int scan_code;
  int flags;
  int message;
  int expected_key;
  const wchar_t* expected_name;  // nullptr: ask the source
};

TEST(VirtualKeyNameForHook, CorrectsKeypadAndFoldsModifiers) {
  FakeKeyNameSource source;
  const HookCase cases[] = {
      // Keypad 7 with Num Lock off arrives as Home, not extended.
      {36, 71, 0, 256, 103, nullptr},
      {36, 71, 0x80, 257, 103, nullptr},
      // The navigation block's Home is extended and stays Home.
      {36, 71, 0x01, 256, 36, nullptr},
      {36, 71, 0x81, 257, 36, nullptr},
      // System key messages (Alt held) are key messages too.
      {33, 73, 0, 260, 105, nullptr},
      {46, 83, 0x80, 261, 110, nullptr},
      {45, 82, 0, 256, 96, nullptr},
      {12, 76, 0, 256, 101, nullptr},
      // Other flag combinations leave the key alone.
      {36, 71, 0x20, 256, 36, nullptr},
      {36, 71, 0, 257, 36, nullptr},
      // Keypad Enter is the separator key.
      {13, 28, 0x01, 256, 108, nullptr},
      {13, 28, 0x81, 257, 108, nullptr},
      {13, 28, 0, 256, 13, nullptr},
      // Side-less modifiers become their left forms.
      {16, 42, 0, 256, 160, L"Shift"},
      {17, 29, 0, 256, 162, L"Ctrl"},
      {18, 56, 0x20, 260, 164, L"Alt"},
      {161, 54, 0, 256, 161, L"RShift"},
      {163, 29, 0x01, 256, 163, L"RCtrl"},
      {165, 56, 0x21, 260, 165, L"RAlt"},
      {166, 0, 0x01, 256, 166, L"Web-Backward"},
      {167, 0, 0x01, 256, 167, L"Web-Forward"},
      {168, 0, 0x01, 256, 168, L"Web-Refresh"},
      {169, 0, 0x01, 256, 169, L"Web-Stop"},
      {170, 0, 0x01, 256, 170, L"Web-Search"},
      {171, 0, 0x01, 256, 171, L"Web-Favorites"},
      {172, 0, 0x01, 256, 172, L"Web-Home"},
      {173, 0, 0x01, 256, 173, L"Vol Mute"},
      {174, 0, 0x01, 256, 174, L"Vol Down"},
      {175, 0, 0x01, 256, 175, L"Vol Up"},
      {176, 0, 0x01, 256, 176, L"Next Track"},
      {177, 0, 0x01, 256, 177, L"Prev Track"},
      {178, 0, 0x01, 256, 178, L"Stop"},
      {179, 0, 0x01, 256, 179, L"Play/Pause"},
      {180, 0, 0x01, 256, 180, L"EMail"},
      {181, 0, 0x01, 256, 181, L"Multimedia"},
      {182, 0, 0x01, 256, 182, L"My Computer"},
      {183, 0, 0x01, 256, 183, L"Calculator"},
      {91, 91, 0x01, 256, 91, L"Windows"},
      {19, 69, 0, 256, 19, L"Pause"},
      // The dialog's own names are not the hook's.
      {220, 43, 0, 256, 220, nullptr},
  };
  for (const auto& c : cases) {
    const auto named = VirtualKeyNameForHook(c.virtual_key, c.scan_code, c.flags, c.message, source);
    ASSERT_TRUE(named.has_value()) << "virtual key " << c.virtual_key;
    EXPECT_EQ(named->virtual_key, c.expected_key) << "virtual key " << c.virtual_key << " scan " << c.scan_code;
    const std::wstring expectedName =
        c.expected_name ? std::wstring(c.expected_name) : VirtualKeyNameForRawInput(c.expected_key, source).name;
    EXPECT_EQ(named->name, expectedName) << "virtual key " << c.virtual_key;
  }
}

TEST(VirtualKeyNameForHook, IgnoresOtherMessagesAndKeyZero) {
  FakeKeyNameSource source;
  EXPECT_FALSE(VirtualKeyNameForHook(65, 30, 0, 258, source).has_value());
  EXPECT_FALSE(VirtualKeyNameForHook(65, 30, 0, 0, source).has_value());
  EXPECT_FALSE(VirtualKeyNameForHook(0, 30, 0, 256, source).has_value());
  // A keypad scan code revives a key the hook reported as 0.
  const auto revived = VirtualKeyNameForHook(0, 72, 0, 256, source);
  ASSERT_TRUE(revived.has_value());
  EXPECT_EQ(revived->virtual_key, 104);
}

TEST(VirtualKeyNameForRawInput, FoldsModifiersButKeepsLayoutNamesForMedia) {
  FakeKeyNameSource source;
  EXPECT_EQ(VirtualKeyNameForRawInput(16, source).virtual_key, 160);
  EXPECT_EQ(VirtualKeyNameForRawInput(16, source).name, L"Shift");
  EXPECT_EQ(VirtualKeyNameForRawInput(17, source).name, L"Ctrl");
  EXPECT_EQ(VirtualKeyNameForRawInput(18, source).virtual_key, 164);
  EXPECT_EQ(VirtualKeyNameForRawInput(165, source).name, L"RAlt");
  EXPECT_EQ(VirtualKeyNameForRawInput(175, source).name, L"scan:1175");
  EXPECT_EQ(VirtualKeyNameForRawInput(144, source).name, L"Num Lock");
  // No keypad correction: Home stays Home.
  EXPECT_EQ(VirtualKeyNameForRawInput(36, source).virtual_key, 36);
  EXPECT_EQ(VirtualKeyNameForRawInput(36, source).name, L"scan:1036+ext");
}

TEST(MouseButtonName, NamesTheFiveButtons) {
  EXPECT_EQ(MouseButtonName(MouseButton::Left), L"mouse_left");
  EXPECT_EQ(MouseButtonName(MouseButton::Middle), L"mouse_middle");
  EXPECT_EQ(MouseButtonName(MouseButton::Right), L"mouse_right");
  EXPECT_EQ(MouseButtonName(MouseButton::Fourth), L"mouse_button4");
  EXPECT_EQ(MouseButtonName(MouseButton::Fifth), L"mouse_button5");
}

}  // namespace
