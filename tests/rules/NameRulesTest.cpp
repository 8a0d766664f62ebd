#include "model/NameRules.h"

#include <gtest/gtest.h>

namespace {

TEST(NameRules, UniqueNamesTakeTheFirstFreeNumber) {
  EXPECT_EQ(MakeUniqueName(L"Profile", {}), L"Profile 1");
  EXPECT_EQ(MakeUniqueName(L"Profile", {L"Profile 1", L"Profile 2"}), L"Profile 3");
  EXPECT_EQ(MakeUniqueName(L"Profile", {L"Profile 2", L"profile 1"}), L"Profile 1") << "case-sensitive";
  std::vector<std::wstring> all;
  for (int i = 1; i <= 1000; ++i) all.push_back(L"M " + std::to_wstring(i));
  EXPECT_EQ(MakeUniqueName(L"M", all), L"M 1000");
}

TEST(NameRules, BlockedWordsMatchAnywhereInAnyCase) {
  const std::vector<std::wstring> blocked = {L"bad", L"\u00e7irkin"};
  EXPECT_TRUE(IsBlockedName(L"My BAD profile", blocked));
  EXPECT_TRUE(IsBlockedName(L"xBadx", blocked));
  EXPECT_FALSE(IsBlockedName(L"Good", blocked));
  EXPECT_FALSE(IsBlockedName(L"bad", {}));
  EXPECT_TRUE(IsBlockedName(L"fuckup", DefaultBlockedWords()));
  for (const auto& word : DefaultBlockedWords()) EXPECT_TRUE(IsBlockedName(word, DefaultBlockedWords()));
}

TEST(NameRules, DisplayNamesTranslateTheStoredPrefix) {
  struct Case {
    std::wstring stored;
    int language;
    std::wstring expected;
  };
  const Case profiles[] = {
      {L"Profil 2", 1033, L"Profile 2"},   {L"Profile 2", 1055, L"Profil 2"},
      {L"Profil 2", 1055, L"Profil 2"},    {L"Profiles", 1033, L"Profiles"},
      {L"Profile 2", 1033, L"Profile 2"},  {L"Profil", 1033, L"Profile"},
      {L"Games", 1033, L"Games"},          {L"Prof", 1033, L"Prof"},
  };
  for (const auto& c : profiles) {
    const std::wstring word = c.language == 1033 ? L"Profile" : L"Profil";
    EXPECT_EQ(ProfileDisplayName(c.stored, c.language, word), c.expected);
  }
  EXPECT_EQ(MacroDisplayName(L"Makro 2", 1033, L"Macro"), L"Macro 2");
  EXPECT_EQ(MacroDisplayName(L"Macro 2", 1055, L"Makro"), L"Makro 2");
  EXPECT_EQ(MacroDisplayName(L"Macro 2", 1033, L"Macro"), L"Macro 2");
  EXPECT_EQ(MacroDisplayName(L"Mak", 1033, L"Macro"), L"Mak");
  EXPECT_EQ(MacroDisplayName(L"Makrofon", 1033, L"Macro"), L"Makrofon");
}

}  // namespace
