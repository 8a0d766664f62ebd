#include "app/Registry.h"

#include <gtest/gtest.h>

#include "tests/app/AppFixture.h"

namespace {

class RegistryTest : public AppFixture {
 protected:
  RegistryTest() { Manager::SetDeviceName(L"X"); }
  std::string Folder() const { return m_temp.Path("config/X"); }
  std::string File() const { return m_temp.Path("config/X/settings.conf"); }
  void Store(const std::string& bytes) {
    std::filesystem::create_directories(Folder());
    WriteTextFile(File(), bytes);
  }
};

TEST(Registry, DecimalValueReadsWholeNumbersOnly) {
  const std::pair<std::wstring, int> cases[] = {
      {L"1055", 1055}, {L" 2 ", 2},   {L"-1", -1},   {L"+7", 7},
      {L"0", 0},       {L"abc", 0},   {L"", 0},      {L"12abc", 0},
      {L"1 2", 0},     {L"-", 0},     {L"2147483647", 2147483647},
      {L"-2147483648", -2147483647 - 1}, {L"2147483648", 0},
      {L"99999999999999999999", 0},
  };
  for (const auto& [text, value] : cases) EXPECT_EQ(DecimalValue(text), value) << text.size();
}

TEST_F(RegistryTest, MissingFolderIsCreatedAndReadsZero) {
  EXPECT_EQ(ReadRegistryInt(L"exit_mode"), 0);
  EXPECT_TRUE(std::filesystem::is_directory(Folder()));
  // Created, but nothing was stored in it.
  EXPECT_FALSE(std::filesystem::exists(File()));
}

TEST_F(RegistryTest, ValuesReadAsNumbers) {
  const std::pair<std::string, int> cases[] = {
      {"exit_mode=2\n", 2},
      {"exit_mode=abc\n", 0},
      {"LCID=1055\n", 0},                // no such value
      {"exit_mode=2\nbroken line\n", 0},  // damaged file: no values at all
  };
  for (const auto& [bytes, expected] : cases) {
    Store(bytes);
    EXPECT_EQ(ReadRegistryInt(L"exit_mode"), expected) << bytes;
  }
}

TEST_F(RegistryTest, WriteNeedsTheFolderAndReplacesADamagedFile) {
  WriteRegistryString(L"exit_mode", L"1");
  EXPECT_FALSE(std::filesystem::exists(Folder()));

  Store("LCID=1031\n\x01\n");
  WriteRegistryString(L"exit_mode", L"1");
  EXPECT_EQ(ReadTextFile(File()), "exit_mode=1\n");
  WriteStoredLanguage(1055);
  EXPECT_EQ(ReadTextFile(File()), "LCID=1055\nexit_mode=1\n");
  EXPECT_EQ(ReadRegistryInt(L"exit_mode"), 1);
  EXPECT_EQ(ReadStoredLanguage(), 1055);
}

TEST_F(RegistryTest, StoredLanguageFailureResults) {
  struct Case {
    const char* what;
    std::function<void()> prepare;
    int expected;
  };
  const Case cases[] = {
      {"first run: folder created", [] {}, 0},
      {"folder without a file", [this] { std::filesystem::create_directories(Folder()); }, 0},
      {"stored", [this] { Store("LCID=1031\n"); }, 1031},
      {"not a number", [this] { Store("LCID=abc\n"); }, 0},
      {"damaged file", [this] { Store("LCID=1031\n\xC3\n"); }, 0},
      {"folder cannot be created", [this] {
         WriteTextFile(m_temp.Path("config"), "a file where the config folder belongs");
       }, 1033},
      {"a file in the folder's place", [this] {
         std::filesystem::create_directories(m_temp.Path("config"));
         WriteTextFile(Folder(), "x");
       }, 1033},
  };
  for (const auto& c : cases) {
    std::filesystem::remove_all(m_temp.Path("config"));
    c.prepare();
    EXPECT_EQ(ReadStoredLanguage(), c.expected) << c.what;
  }
}

TEST_F(RegistryTest, UnusableFolderReadsZeroAndWritesNothing) {
  WriteTextFile(m_temp.Path("config"), "x");
  EXPECT_EQ(ReadRegistryInt(L"exit_mode"), 0);
  WriteRegistryString(L"exit_mode", L"2");
  EXPECT_EQ(ReadTextFile(m_temp.Path("config")), "x");
}

}  // namespace
