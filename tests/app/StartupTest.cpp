#include "app/Startup.h"

#include <gtest/gtest.h>

#include "app/AppContext.h"
#include "app/HandOver.h"
#include "app/Registry.h"
#include "tests/app/AppFixture.h"

namespace {

class StartupTest : public AppFixture {
 protected:
  // A program folder whose config.xml holds `text`.
  std::wstring ProgramFolder(const std::string& text) {
    std::filesystem::create_directories(m_temp.Path("program"));
    WriteTextFile(m_temp.Path("program/config.xml"), text);
    return m_temp.WidePath("program/");
  }
};

TEST_F(StartupTest, DeviceNameComesFromTheSoftwareElement) {
  const std::pair<std::string, std::wstring> cases[] = {
      {"<config><software name=\"X\"/></config>", L"X"},
      {"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<config>\r\n<software version=\"1\" "
       "name=\"K &amp; B\"/>\r\n<keyboard name=\"Kestrel K87\"/>\r\n</config>",
       L"K & B"},
      {"<config><keyboard name=\"X\"/></config>", L""},  // no software element
      {"<software name=\"X\"/>", L""},                    // no config root
      {"<config><software name=\"X\"></config>", L""},   // not well-formed
      {"<config><software/></config>", L""},
  };
  for (const auto& [text, name] : cases) {
    ProgramFolder(text);
    EXPECT_EQ(ReadDeviceName(m_temp.WidePath("program/config.xml")), name) << text;
  }
  EXPECT_EQ(ReadDeviceName(m_temp.WidePath("nowhere/config.xml")), L"");
}

TEST(Startup, FirstRunRule) {
  struct Case {
    int stored, ui;
    LanguageChoice expected;
  };
  const Case cases[] = {
      {0, 1031, {1031, 1055}},  // German: this run German, Turkish stored
      {0, 1033, {1033, 1033}},
      {0, 1055, {1055, 1055}},
      {1036, 1031, {1036, 0}},  // a stored language wins, nothing is written
      {1033, 1055, {1033, 0}},
  };
  for (const auto& c : cases) {
    const LanguageChoice choice = ChooseLanguage(c.stored, c.ui);
    EXPECT_EQ(choice.inUse, c.expected.inUse) << c.stored << " " << c.ui;
    EXPECT_EQ(choice.toStore, c.expected.toStore) << c.stored << " " << c.ui;
  }
}

TEST_F(StartupTest, GermanFirstRunUsesGermanAndStoresTurkish) {
  ScopedEnv lang("LANG", "de_DE.UTF-8");
  EXPECT_EQ(StartLanguage(), 1031);
  EXPECT_EQ(LanguageId.load(), 1031);
  EXPECT_EQ(ReadTextFile(m_temp.Path("config/Kestrel/settings.conf")), "LCID=1055\n");
  EXPECT_EQ(StartLanguage(), 1055);
  EXPECT_EQ(LanguageId.load(), 1055);
}

TEST_F(StartupTest, StoredTextThatIsNoNumberIsOverwritten) {
  std::filesystem::create_directories(m_temp.Path("config/Kestrel"));
  WriteTextFile(m_temp.Path("config/Kestrel/settings.conf"), "LCID=abc\nexit_mode=1\n");
  ScopedEnv lang("LANG", "en_US.UTF-8");
  EXPECT_EQ(StartLanguage(), 1033);
  EXPECT_EQ(ReadTextFile(m_temp.Path("config/Kestrel/settings.conf")), "LCID=1033\nexit_mode=1\n");
}

TEST_F(StartupTest, UnusableSettingsFolderGivesEnglishAndStoresNothing) {
  WriteTextFile(m_temp.Path("config"), "not a folder");
  ScopedEnv lang("LANG", "de_DE.UTF-8");
  EXPECT_EQ(StartLanguage(), 1033);
  EXPECT_EQ(ReadTextFile(m_temp.Path("config")), "not a folder");
}

TEST_F(StartupTest, NameFromConfigNamesEveryFolderAndTheLock) {
  const std::wstring program = ProgramFolder("<config><software name=\"X\"/></config>");
  ScopedEnv lang("LANG", "tr_TR.UTF-8");
  StartupOptions options;
  options.programFolder = program;
  bool ran = false;
  const int result = RunStartup(options, [&](StartupContext& context) {
    ran = true;
    EXPECT_EQ(Manager::GetDeviceName(), L"X");
    EXPECT_EQ(context.programFolder, program);
    EXPECT_EQ(context.userDataFolder, m_temp.WidePath("data/X Files/"));
    EXPECT_EQ(context.databaseFolder, m_temp.WidePath("data/X Files/db"));
    EXPECT_TRUE(context.dataFolderUsable);
    EXPECT_TRUE(context.channelOpen);
    EXPECT_TRUE(std::filesystem::is_directory(m_temp.Path("data/X Files/db")));
    EXPECT_TRUE(std::filesystem::exists(m_temp.Path("run/X.lock")));
    EXPECT_TRUE(std::filesystem::exists(m_temp.Path("run/X.sock")));
    EXPECT_EQ(ReadTextFile(m_temp.Path("config/X/settings.conf")), "LCID=1055\n");
    EXPECT_EQ(LanguageId.load(), 1055);
    return 7;
  });
  EXPECT_TRUE(ran);
  EXPECT_EQ(result, 7);
  EXPECT_FALSE(std::filesystem::exists(m_temp.Path("run/X.sock")));
}

TEST_F(StartupTest, MissingOrEmptyNameKeepsTheBuiltInName) {
  for (const char* text : {"<config><software name=\"\"/></config>", "<config>"}) {
    StartupOptions options;
    options.programFolder = ProgramFolder(text);
    std::wstring seen;
    RunStartup(options, [&](StartupContext& context) {
      seen = context.userDataFolder;
      return 0;
    });
    EXPECT_EQ(seen, m_temp.WidePath("data/Kestrel Files/")) << text;
    EXPECT_EQ(Manager::GetDeviceName(), L"Kestrel");
  }
}

TEST_F(StartupTest, UnwritableDataFolderIsReportedOnceAndStartupGoesOn) {
  WriteTextFile(m_temp.Path("data"), "a file where the data folder belongs");
  StartupOptions options;
  options.programFolder = ProgramFolder("<config><software name=\"X\"/></config>");
  bool usable = true;
  ::testing::internal::CaptureStderr();
  const int result = RunStartup(options, [&](StartupContext& context) {
    usable = context.dataFolderUsable;
    return 5;
  });
  const std::string errors = ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(result, 5);
  EXPECT_FALSE(usable);
  const std::string folder = m_temp.Path("data/X Files/db");
  ASSERT_NE(errors.find(folder), std::string::npos) << errors;
  EXPECT_EQ(errors.find(folder), errors.rfind(folder)) << "reported more than once: " << errors;
  // The settings still work: they live elsewhere.
  EXPECT_TRUE(std::filesystem::exists(m_temp.Path("config/X")));
}

TEST(HandOver, HeldUntilTheWindowTakesThem) {
  using platform::InstanceRequest;
  HandOver handOver;
  const InstanceRequest show{};
  const InstanceRequest action{InstanceRequest::Kind::Message, platform::kSoftwareActionMessage, 3};
  handOver.Deliver(show);
  handOver.Deliver(action);
  std::vector<InstanceRequest> seen;
  handOver.SetTarget([&](const InstanceRequest& request) { seen.push_back(request); });
  EXPECT_EQ(seen, (std::vector<InstanceRequest>{show, action}));
  handOver.Deliver(show);
  EXPECT_EQ(seen.size(), 3u);
  handOver.SetTarget(nullptr);
  handOver.Deliver(action);
  EXPECT_EQ(seen.size(), 3u);
}

}  // namespace
