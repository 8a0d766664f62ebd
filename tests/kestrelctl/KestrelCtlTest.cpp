// kestrelctl as users run it: a child process on a temporary home, talking
// to the virtual keyboard, whose decoded state shows what arrived.
#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>
#include <thread>

#include "CtlRunner.h"
#include "VirtualKeyboardControl.h"
#include "app/Language.h"
#include "model/Configuration.h"
#include "model/DeviceDescription.h"
#include "model/NameRules.h"
#include "platform/TextConvert.h"
#include "store/MacroFile.h"
#include "store/SettingsStore.h"

namespace {

using nlohmann::json;

std::string Text(int language, int id) {
  return platform::ToUtf8(
      ReadLanguageString(platform::FromUtf8(KESTREL_RUNTIME_DIR "/language/"), language, kLanguageSection, id));
}

class KestrelCtlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(VirtualKeyboardControl::SimulatorLoaded()) << "run through CTest, which preloads the simulator";
    Connect(true);
    const std::wstring folder = platform::FromUtf8(KESTREL_RUNTIME_DIR);
    const Configuration configuration = ReadConfiguration(folder);
    DeviceFeatures features;
    LoadDeviceDescription(folder, 101, configuration.keyboards, features, m_layout);
    ASSERT_FALSE(m_layout.Keys().empty());
  }

  // Each test gets a factory-fresh keyboard of its own name.
  void Connect(bool connected, const std::string& extra = "") {
    m_control.Set(std::string("keyboard=") + ::testing::UnitTest::GetInstance()->current_test_info()->name() +
                  "\nmodes=" + (connected ? "0" : "") + "\n" + extra);
  }

  CtlResult Ok(const std::vector<std::string>& args) {
    CtlResult result = m_runner.Run(args);
    EXPECT_EQ(result.code, 0) << args.front() << ": " << result.err;
    return result;
  }
  json Json(const std::vector<std::string>& args) {
    std::vector<std::string> withJson = args;
    withJson.push_back("--json");
    const CtlResult result = Ok(withJson);
    return json::parse(result.out);
  }
  json State() const {
    const std::string text = m_control.StateText();
    return text.empty() ? json::object() : json::parse(text);
  }
  std::string Slot(int code) const { return std::to_string(m_layout.KeySlot(static_cast<uint32_t>(code))); }
  std::string LightSlot(int code) const { return std::to_string(m_layout.LightSlot(static_cast<uint32_t>(code))); }

  // A macro exchange file pressing and releasing K then E, made with the
  // program's own writer in a store of its own.
  std::string MacroFile(const std::string& name) {
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / ("kestrelctl-macro-" + name);
    std::filesystem::create_directories(folder / "db");
    SettingsStore store;
    EXPECT_TRUE(store.Open(folder.wstring() + L"/", L"Source"));
    const int id = store.DbAddMacro(L"source");
    std::vector<MacroEvent> events;
    for (int vk : {'K', 'E'}) {
      for (int type : {2, 3}) {
        MacroEvent e;
        e.macro_id = id;
        e.type = type;
        e.record_index = static_cast<int>(events.size());
        e.value = vk;
        e.delay_time = 40;
        events.push_back(e);
      }
    }
    EXPECT_TRUE(store.DbAddMacroEvents(events));
    const std::string path = (folder / (name + ".xml")).string();
    EXPECT_EQ(ExportMacro(store, platform::FromUtf8(path), id), ExportResult::Saved);
    store.Close();
    m_files.push_back(folder);
    return path;
  }
  void TearDown() override {
    for (const auto& folder : m_files) std::filesystem::remove_all(folder);
  }

  VirtualKeyboardControl m_control;
  CtlRunner m_runner;
  KeyboardLayout m_layout;
  std::vector<std::filesystem::path> m_files;
};

constexpr int kA = 0x04, kB = 0x05, kC = 0x06, kF5 = 0x3E;

TEST_F(KestrelCtlTest, FreshStoreGetsTheThreeDefaultProfilesInTheLanguage) {
  const json profiles = Json({"profiles", "list"});
  ASSERT_EQ(profiles.size(), 3u);
  const std::string word = Text(1033, 65);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(profiles[i]["name"], word + " " + std::to_string(i + 1));
    EXPECT_EQ(profiles[i]["current"], i == 0);
  }
  // A generated name follows the three, and the next run sees it.
  EXPECT_NE(Ok({"profiles", "add"}).out.find(word + " 4"), std::string::npos);
  EXPECT_EQ(Json({"profiles", "list"}).size(), 4u);
}

TEST_F(KestrelCtlTest, AssignDisableAndRestoreChangeTheKeyboardsKeyMap) {
  const CtlResult set = Ok({"keys", "set", "A", "F5"});
  EXPECT_NE(set.err.find("sent to the keyboard"), std::string::npos) << set.err;
  EXPECT_EQ(State()["key_map"][Slot(kA)], json::array({kF5, 0x20}));

  Ok({"keys", "disable", "0x05"});
  Ok({"keys", "set", "Space", "mute"});
  Ok({"keys", "set", "capslock", "229"});  // the right Shift, by code
  json map = State()["key_map"];
  EXPECT_EQ(map[Slot(kA)], json::array({kF5, 0x20}));
  EXPECT_EQ(map[Slot(kB)], json::array({0, 0x20}));
  EXPECT_EQ(map[Slot(0x2C)], json::array({127, 0x20}));
  EXPECT_EQ(map[Slot(0x39)], json::array({229, 0x20}));

  Ok({"keys", "restore", "a"});
  map = State()["key_map"];
  EXPECT_FALSE(map.contains(Slot(kA))) << map.dump();
  EXPECT_EQ(map[Slot(kB)], json::array({0, 0x20}));

  const json shown = Json({"keys", "show"});
  ASSERT_EQ(shown["keys"].size(), 3u);
  std::set<std::string> types;
  for (const auto& key : shown["keys"]) types.insert(key["type"].get<std::string>());
  EXPECT_EQ(types, (std::set<std::string>{"disabled", "function"}));
}

TEST_F(KestrelCtlTest, ImportedMacroOnAKeyArrivesInTheMacroSlot) {
  const CtlResult imported = Ok({"macros", "import", MacroFile("ke")});
  const std::string id = imported.out.substr(0, imported.out.find('\t'));
  Ok({"macros", "set-playback", id, "--times", "150", "--delay", "recorded"});
  Ok({"keys", "macro", "C", id});

  const json state = State();
  EXPECT_EQ(state["key_map"][Slot(kC)], json::array({0, 0x40}));
  ASSERT_EQ(state["macros"].size(), 1u);
  const json& macro = state["macros"][0];
  EXPECT_EQ(macro["play_count"], 99) << "play times are clamped";
  ASSERT_EQ(macro["events"].size(), 4u);
  const int usages[] = {0x0E, 0x0E, 0x08, 0x08};  // K, E
  for (size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(macro["events"][i]["usage"], usages[i]);
    EXPECT_EQ(macro["events"][i]["down"], i % 2 == 0);
  }
  const json shown = Json({"macros", "show", id});
  EXPECT_EQ(shown["events"].size(), 4u);
  EXPECT_EQ(shown["play_times"], 99);
}

TEST_F(KestrelCtlTest, LightModeThenParametersArrive) {
  Ok({"light", "set", "5", "--brightness", "2", "--speed", "1", "--color", "102030"});
  json state = State();
  EXPECT_EQ(state["light_mode_commands"], 1);
  EXPECT_EQ(state["light_parameter_commands"], 1);
  EXPECT_EQ(state["light"]["mode"], 5);
  EXPECT_EQ(state["light"]["brightness"], 2);
  EXPECT_EQ(state["light"]["speed"], 1);
  EXPECT_EQ(state["light"]["colour"], json::array({0x10, 0x20, 0x30}));

  const json modes = Json({"light", "modes"});
  int current = 0;
  for (const auto& mode : modes) current += mode["current"] ? mode["mode"].get<int>() : 0;
  EXPECT_EQ(current, 5);

  // Parameters the mode does not have, or out of range, change nothing.
  for (const auto& args : std::vector<std::vector<std::string>>{{"light", "set", "1", "--speed", "2"},
                                                                {"light", "set", "5", "--brightness", "99"},
                                                                {"light", "set", "3", "--color", "12"}}) {
    EXPECT_EQ(m_runner.Run(args).code, 1) << args[2] << " " << args[3];
  }
  EXPECT_EQ(Json({"light", "modes"})[4]["current"], true);

  // Per-key colours only in a mode that has them.
  EXPECT_EQ(m_runner.Run({"light", "keys", "A=FF0000"}).code, 4);
  Ok({"light", "set", "Custom"});
  Ok({"light", "keys", "A=FF0000", "B=00ff00"});
  state = State();
  EXPECT_EQ(state["key_colours"][LightSlot(kA)], json::array({0xFF, 0, 0, 0xFF}));
  EXPECT_EQ(state["key_colours"][LightSlot(kB)], json::array({0, 0xFF, 0, 0xFF}));
}

TEST_F(KestrelCtlTest, LimitsAndBlockedNamesAreRefusedWithTheLanguagesMessage) {
  Connect(false);  // nothing to send: the rules alone
  const char* keys[] = {"A", "B", "C", "D", "E", "F", "G", "H", "I", "J", "K", "L"};
  for (const char* key : keys) Ok({"keys", "set", key, "F1"});
  CtlResult refused = m_runner.Run({"keys", "set", "M", "F1"});
  EXPECT_EQ(refused.code, 4);
  EXPECT_NE(refused.err.find(Text(1033, 367)), std::string::npos) << refused.err;
  EXPECT_EQ(Json({"keys", "show"})["keys"].size(), 12u);

  refused = m_runner.Run({"--lang", "1055", "keys", "set", "Fn", "A"});
  EXPECT_EQ(refused.code, 4);
  EXPECT_NE(refused.err.find(Text(1055, 365)), std::string::npos) << refused.err;

  const std::string blocked = platform::ToUtf8(DefaultBlockedWords().front());
  refused = m_runner.Run({"profiles", "add", "My " + blocked + " keys"});
  EXPECT_EQ(refused.code, 4);
  EXPECT_NE(refused.err.find(Text(1033, 330)), std::string::npos) << refused.err;
  EXPECT_EQ(m_runner.Run({"profiles", "rename", "1", ""}).code, 4);
  EXPECT_EQ(m_runner.Run({"macros", "add", blocked}).code, 4);

  const std::string empty = Ok({"macros", "add"}).out;
  refused = m_runner.Run({"keys", "macro", "N", empty.substr(0, empty.find('\t'))});
  EXPECT_EQ(refused.code, 4);
  EXPECT_NE(refused.err.find(Text(1033, 293)), std::string::npos) << refused.err;
  EXPECT_EQ(Json({"profiles", "list"}).size(), 3u);
}

TEST_F(KestrelCtlTest, AbsentKeyboardStoresChangesThatApplySendsLater) {
  Connect(false);
  const CtlResult stored = Ok({"keys", "set", "A", "B"});
  EXPECT_NE(stored.err.find("stored, not sent"), std::string::npos) << stored.err;
  EXPECT_NE(stored.err.find("kestrelctl apply"), std::string::npos) << stored.err;
  EXPECT_EQ(m_runner.Run({"apply"}).code, 3);
  EXPECT_EQ(m_runner.Run({"reset"}).code, 3);
  const json devices = Json({"devices"});
  EXPECT_EQ(devices["keyboards"][0]["status"], "absent");

  Connect(true);
  const CtlResult applied = Ok({"apply"});
  EXPECT_NE(applied.err.find("sent to the keyboard"), std::string::npos) << applied.err;
  EXPECT_EQ(applied.err.find("stored"), std::string::npos) << "apply stores nothing: " << applied.err;
  const json state = State();
  EXPECT_EQ(state["key_map"][Slot(kA)], json::array({kB, 0x20}));
  EXPECT_EQ(state["light_mode_commands"], 1);
  EXPECT_EQ(state["light_parameter_commands"], 1);
  EXPECT_EQ(Json({"devices"})["keyboards"][0]["modes"][0]["connected"], true);
}

TEST_F(KestrelCtlTest, KeyboardThatCannotBeOpenedSaysHowToFixIt) {
  Connect(true, "deny_open=all");
  const CtlResult devices = Ok({"devices"});
  EXPECT_NE(devices.out.find("present but not accessible"), std::string::npos) << devices.out;
  EXPECT_NE(devices.err.find("make install-udev"), std::string::npos) << devices.err;
  const CtlResult apply = m_runner.Run({"apply"});
  EXPECT_EQ(apply.code, 3);
  EXPECT_NE(apply.err.find("Access to the keyboard"), std::string::npos) << apply.err;
}

TEST_F(KestrelCtlTest, BadUsageAndMissingThingsHaveTheirExitCodes) {
  Connect(false);
  Ok({"macros", "add"});
  const std::vector<std::pair<std::vector<std::string>, int>> cases = {
      {{"frobnicate"}, 1},
      {{}, 1},
      {{"keys", "set", "A"}, 1},
      {{"keys", "show", "--times", "3"}, 1},
      {{"macros", "set-playback", "1", "--delay", "sometimes"}, 1},
      {{"--lang", "9999", "profiles", "list"}, 1},
      {{"profiles", "select", "99"}, 2},
      {{"keys", "set", "NoSuchKey", "A"}, 2},
      {{"keys", "set", "A", "nofunction"}, 2},
      {{"keys", "macro", "A", "42"}, 2},
      {{"macros", "show", "42"}, 2},
      {{"light", "set", "99"}, 2},
      {{"profile", "import", "/nonexistent/file.xml"}, 2},
      {{"profiles", "delete", "2"}, 0},
      {{"keys", "--help"}, 0},
      {{"light", "set", "--help"}, 0},
  };
  for (const auto& [args, code] : cases) {
    const CtlResult result = m_runner.Run(args);
    std::string line;
    for (const auto& arg : args) line += arg + " ";
    EXPECT_EQ(result.code, code) << line << "\n" << result.err;
    if (code != 0) {
      EXPECT_FALSE(result.err.empty()) << line;
    }
  }
}

TEST_F(KestrelCtlTest, ProfileExchangeFileRoundTrip) {
  Connect(false);
  Ok({"keys", "set", "A", "F5"});
  const std::string file = (std::filesystem::path(platform::ToUtf8(m_runner.UserDataFolder())) / "p.xml").string();
  Ok({"profile", "export", "1", file});
  const CtlResult imported = Ok({"profile", "import", file});
  const std::string id = imported.out.substr(0, imported.out.find('\t'));
  const json shown = Json({"keys", "show", id});
  ASSERT_EQ(shown["keys"].size(), 1u);
  EXPECT_EQ(shown["keys"][0]["key_code"], kA);
  EXPECT_EQ(shown["keys"][0]["value"], kF5);
}

TEST_F(KestrelCtlTest, ConcurrentWritersLoseNothing) {
  Connect(false);
  Ok({"profiles", "list"});
  constexpr int kRuns = 8;
  auto adder = [this] {
    for (int i = 0; i < kRuns; ++i) EXPECT_EQ(m_runner.Run({"profiles", "add"}).code, 0);
  };
  std::thread first(adder);
  std::thread second(adder);
  // The program's own connection writes macros to the same file meanwhile.
  SettingsStore store;
  ASSERT_TRUE(store.Open(m_runner.UserDataFolder(), L"Kestrel K87"));
  for (int i = 0; i < kRuns; ++i) EXPECT_GT(store.DbAddMacro(L"from the program " + std::to_wstring(i)), 0);
  first.join();
  second.join();
  std::vector<Profile> profiles;
  store.DbListProfiles(profiles);
  store.Close();
  EXPECT_EQ(profiles.size(), 3u + 2 * kRuns);
  EXPECT_EQ(Json({"macros", "list"}).size(), static_cast<size_t>(kRuns));
}

}  // namespace
