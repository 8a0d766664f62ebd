#include "platform/SettingsFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <thread>

#include "tests/platform/TempFolder.h"

namespace {

using platform::SettingsFile;
using KeyState = SettingsFile::KeyState;

TEST(SettingsFile, ParseReadsLinesAndRejectsDamagedFiles) {
  struct Case {
    std::string bytes;
    std::optional<SettingsFile::Values> expected;
  };
  const Case cases[] = {
      {"", SettingsFile::Values{}},
      {"LCID=1055\nexit_mode=2\n", SettingsFile::Values{{L"LCID", L"1055"}, {L"exit_mode", L"2"}}},
      {"# comment\n\n  LCID =1031\r\n", SettingsFile::Values{{L"LCID", L"1031"}}},
      {"LCID=abc", SettingsFile::Values{{L"LCID", L"abc"}}},  // no final newline
      {"name=a=b\n", SettingsFile::Values{{L"name", L"a=b"}}},
      {"name=\xC3\xBC\n", SettingsFile::Values{{L"name", L"\u00FC"}}},
      {"LCID 1055\n", std::nullopt},                     // no '='
      {"=1055\n", std::nullopt},                         // no name
      {std::string("LCID=10\0" "55\n", 11), std::nullopt},  // NUL byte
      {"LCID=\xFF\xFE\n", std::nullopt},                 // not UTF-8
      {"LCID=1055\x1B\n", std::nullopt},                 // control character
      {std::string(70 * 1024, '#'), std::nullopt},       // larger than any settings file
  };
  for (const auto& c : cases) EXPECT_EQ(SettingsFile::Parse(c.bytes), c.expected) << c.bytes;
}

TEST(SettingsFile, EveryStorableValueReadsBackAsWritten) {
  // Values the program may store: any text without control characters,
  // including '=', '#', spaces at either end and text beyond ASCII.
  const std::wstring alphabet = L"aZ09_= #\t.-\u00FC\u015F\u20AC";
  std::mt19937 random(7);
  auto text = [&](size_t length) {
    std::wstring out;
    for (size_t i = 0; i < length; ++i) out += alphabet[random() % alphabet.size()];
    return out;
  };
  for (int round = 0; round < 200; ++round) {
    SettingsFile::Values values;
    for (int i = random() % 4; i >= 0; --i) {
      values[L"n" + std::to_wstring(random() % 100)] = text(random() % 12);
    }
    EXPECT_EQ(SettingsFile::Parse(SettingsFile::Format(values)), values);
  }
}

TEST(SettingsFile, OpenTellsPresentMissingCreatedAndUnusable) {
  TempFolder temp;
  WriteTextFile(temp.Path("plain"), "x");
  EXPECT_EQ(SettingsFile(temp.WidePath("new/X/")).Open(false), KeyState::Missing);
  EXPECT_FALSE(std::filesystem::exists(temp.Path("new")));
  EXPECT_EQ(SettingsFile(temp.WidePath("new/X/")).Open(true), KeyState::Created);
  EXPECT_EQ(SettingsFile(temp.WidePath("new/X/")).Open(true), KeyState::Present);
  // A file where a parent should be: the folder can never be made.  A file
  // in the folder's own place: something is there, but not a key.
  EXPECT_EQ(SettingsFile(temp.WidePath("plain/X/")).Open(true), KeyState::NotCreatable);
  EXPECT_EQ(SettingsFile(temp.WidePath("plain")).Open(true), KeyState::Inaccessible);
}

TEST(SettingsFile, WriteKeepsOtherValuesAndNeedsTheFolder) {
  TempFolder temp;
  const SettingsFile missing(temp.WidePath("absent/"));
  EXPECT_FALSE(missing.Write(L"LCID", L"1055"));
  EXPECT_FALSE(std::filesystem::exists(temp.Path("absent")));

  const SettingsFile settings(temp.WidePath());
  EXPECT_FALSE(settings.Read(L"LCID"));
  EXPECT_TRUE(settings.Write(L"LCID", L"1055"));
  EXPECT_TRUE(settings.Write(L"exit_mode", L"2"));
  EXPECT_TRUE(settings.Write(L"LCID", L"1031"));
  EXPECT_EQ(settings.Read(L"LCID"), L"1031");
  EXPECT_EQ(settings.Read(L"exit_mode"), L"2");
  EXPECT_EQ(ReadTextFile(temp.Path("settings.conf")), "LCID=1031\nexit_mode=2\n");
  // Nothing of the temporary files stays behind.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(temp.Path()),
                          std::filesystem::directory_iterator()),
            1);
}

TEST(SettingsFile, WriteRefusesWhatWouldDamageTheFile) {
  TempFolder temp;
  const SettingsFile settings(temp.WidePath());
  for (const std::wstring name : {L"", L"a=b", L"#x", L" LCID", L"a\nb"}) {
    EXPECT_FALSE(settings.Write(name, L"1")) << name.size();
  }
  EXPECT_FALSE(settings.Write(L"LCID", L"1\nexit_mode=0"));
  // Too long to read back: refused rather than stored and then lost.
  EXPECT_FALSE(settings.Write(L"LCID", std::wstring(70 * 1024, L'1')));
  EXPECT_FALSE(std::filesystem::exists(temp.Path("settings.conf")));
}

TEST(SettingsFile, DamagedFileReadsAsNoValuesAndIsReplacedOnWrite) {
  TempFolder temp;
  WriteTextFile(temp.Path("settings.conf"), "exit_mode=1\n\xFF garbage\n");
  const SettingsFile settings(temp.WidePath());
  EXPECT_FALSE(settings.Read(L"exit_mode"));
  EXPECT_TRUE(settings.Write(L"LCID", L"1055"));
  EXPECT_EQ(ReadTextFile(temp.Path("settings.conf")), "LCID=1055\n");
}

TEST(SettingsFile, WritesFromTwoThreadsLoseNothing) {
  TempFolder temp;
  const SettingsFile settings(temp.WidePath());
  constexpr int kPerThread = 40;
  auto writer = [&settings](wchar_t prefix) {
    for (int i = 0; i < kPerThread; ++i) {
      settings.Write(std::wstring(1, prefix) + std::to_wstring(i), std::to_wstring(i));
    }
  };
  std::thread first(writer, L'a');
  std::thread second(writer, L'b');
  first.join();
  second.join();
  const auto values = SettingsFile::Parse(ReadTextFile(temp.Path("settings.conf")).value_or(""));
  ASSERT_TRUE(values);
  EXPECT_EQ(values->size(), 2u * kPerThread);
}

TEST(SettingsFile, FolderForFollowsXdgConfigHome) {
  TempFolder temp;
  ScopedEnv home("HOME", temp.Path("home"));
  {
    ScopedEnv config("XDG_CONFIG_HOME", temp.Path("config"));
    EXPECT_EQ(SettingsFile::FolderFor(L"X"), temp.WidePath("config/X/"));
  }
  ScopedEnv config("XDG_CONFIG_HOME", std::nullopt);
  EXPECT_EQ(SettingsFile::FolderFor(L"Kestrel"), temp.WidePath("home/.config/Kestrel/"));
}

}  // namespace
