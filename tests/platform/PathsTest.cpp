#include "platform/Paths.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <climits>
#include <cstdlib>

#include "tests/platform/TempFolder.h"

namespace {

bool IsFolder(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

TEST(Paths, CreateFolderPathCreatesEveryMissingLevel) {
  TempFolder temp;
  WriteTextFile(temp.Path("plain"), "x");
  ::mkdir(temp.Path("present").c_str(), 0700);
  struct Case {
    std::string inside;
    bool expected;
  };
  const Case cases[] = {
      {"a/b/c/db", true},          // four new levels
      {"a/b/c/db", true},          // now there: still true
      {"present", true},           // an existing folder
      {"x y/Kestrel Files/db/", true},  // spaces and a trailing '/'
      {"plain", false},            // a file, not a folder
      {"plain/below", false},      // below a file nothing can be made
  };
  for (const auto& c : cases) {
    EXPECT_EQ(platform::CreateFolderPath(temp.WidePath(c.inside)), c.expected) << c.inside;
    EXPECT_EQ(IsFolder(temp.Path(c.inside)), c.expected) << c.inside;
  }
  EXPECT_FALSE(platform::CreateFolderPath(L""));
}

TEST(Paths, UserDataFolderFollowsXdgDataHomeThenHome) {
  TempFolder temp;
  ScopedEnv home("HOME", temp.Path("home"));
  {
    ScopedEnv data("XDG_DATA_HOME", temp.Path("data") + "/");
    EXPECT_EQ(platform::UserDataFolder(L"X"), temp.WidePath("data/X Files/"));
  }
  // The base directory rules ignore a relative value and an empty one.
  for (const char* ignored : {"relative/data", ""}) {
    ScopedEnv data("XDG_DATA_HOME", std::string(ignored));
    EXPECT_EQ(platform::UserDataFolder(L"Kestrel"), temp.WidePath("home/.local/share/Kestrel Files/"))
        << ignored;
  }
  ScopedEnv data("XDG_DATA_HOME", std::nullopt);
  EXPECT_EQ(platform::UserDataFolder(L"a/.."), temp.WidePath("home/.local/share/a_.. Files/"));
}

TEST(Paths, FileNameFromKeepsOneComponent) {
  const std::pair<std::wstring, std::wstring> cases[] = {
      {L"Kestrel", L"Kestrel"}, {L"a/b", L"a_b"}, {L"", L"_"}, {L".", L"_"}, {L"..", L"_"},
      {std::wstring(L"a\0b", 3), L"a_b"},
  };
  for (const auto& [name, expected] : cases) EXPECT_EQ(platform::FileNameFrom(name), expected);
}

TEST(Paths, ModuleFolderIsTheFolderOfTheTestProgram) {
  // The build copies config.xml beside every program, the tests included.
  char resolved[PATH_MAX];
  ASSERT_NE(::realpath(KESTREL_RUNTIME_DIR, resolved), nullptr);
  const std::string runtime = resolved;
  EXPECT_EQ(platform::ModuleFolder(), std::wstring(runtime.begin(), runtime.end()) + L"/");
}

TEST(Paths, IsWritableFolderNeedsAFolder) {
  TempFolder temp;
  WriteTextFile(temp.Path("plain"), "x");
  EXPECT_TRUE(platform::IsWritableFolder(temp.WidePath()));
  EXPECT_FALSE(platform::IsWritableFolder(temp.WidePath("plain")));
  EXPECT_FALSE(platform::IsWritableFolder(temp.WidePath("missing")));
}

}  // namespace
