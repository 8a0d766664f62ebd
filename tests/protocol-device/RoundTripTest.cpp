// Settings stored in a real store go through the report protocol and
// DeviceLink to the virtual keyboard, whose own decoder must end up holding
// what was stored, in every protocol family.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <nlohmann/json.hpp>

#include "VirtualKeyboardControl.h"
#include "device/DeviceLink.h"
#include "device/DeviceLinkTransport.h"
#include "device/ProtocolPacer.h"
#include "device/ReportProtocol.h"
#include "model/Configuration.h"
#include "model/DeviceDescription.h"
#include "model/KeyboardLayout.h"
#include "store/SettingsStore.h"

namespace {

using nlohmann::json;

struct Family {
  const char* name;
  const char* folder;  // where config.xml and layouts/ are
  int deviceType;
  uint16_t pid;
};

class RoundTripTest : public ::testing::Test {
 protected:
  void Start(const Family& family) {
    ASSERT_TRUE(VirtualKeyboardControl::SimulatorLoaded()) << "run through CTest, which preloads the simulator";
    char pid[8];
    std::snprintf(pid, sizeof pid, "%04X", family.pid);
    m_control.Set(std::string("keyboard=") + ::testing::UnitTest::GetInstance()->current_test_info()->name() +
                  "\nmodes=0\npids=" + pid);
    m_control.ClearTrace();
    m_deviceType = family.deviceType;

    const std::wstring folder = std::filesystem::path(family.folder).wstring();
    const Configuration configuration = ReadConfiguration(folder);
    DeviceFeatures features;
    LoadDeviceDescription(folder, family.deviceType, configuration.keyboards, features, m_layout);
    ASSERT_FALSE(m_layout.Keys().empty()) << "no layout in " << family.folder;

    m_link.AddDeviceEntry(0x1209, family.pid, L"", family.deviceType, 0, L"");
    m_link.OpenAll();
    m_link.SetEnabled(true);
    m_link.SetSelectedDeviceType(family.deviceType);

    m_folder = std::filesystem::temp_directory_path() / ("kestrel-roundtrip-" + std::to_string(::getpid()));
    std::filesystem::remove_all(m_folder);
    std::filesystem::create_directories(m_folder / "db");
    ASSERT_TRUE(m_store.Open(m_folder.wstring() + L"/", L"Round Trip"));
  }
  void TearDown() override {
    m_store.Close();
    std::filesystem::remove_all(m_folder);
    m_link.CloseAll();
  }

  json State() const {
    const std::string text = m_control.StateText();
    return text.empty() ? json::object() : json::parse(text);
  }
  ProtocolInputs Inputs() const {
    ProtocolInputs in;
    in.deviceType = m_deviceType;
    in.profile = 1;
    return in;
  }
  int Code(int index) const { return static_cast<int>(m_layout.Keys().at(static_cast<size_t>(index)).code); }

  void Assign(int code, int type, int value) {
    KeyAssignment a;
    a.profile = 1;
    a.key_code = code;
    a.macro_type = type;
    a.macro_value = value;
    ASSERT_GT(m_store.DbSaveKeyAssignment(a), 0);
  }
  // A macro pressing and releasing the keys of `virtualKeys` with `delay`.
  int AddMacro(int playTimes, const std::vector<int>& virtualKeys, int delay) {
    const int id = m_store.DbAddMacro(L"m");
    Macro m;
    m.macro_id = id;
    m.play_times = playTimes;
    m_store.DbUpdateMacroPlayback(m);
    std::vector<MacroEvent> events;
    for (int vk : virtualKeys) {
      for (int type : {2, 3}) {
        MacroEvent e;
        e.macro_id = id;
        e.type = type;
        e.record_index = static_cast<int>(events.size());
        e.value = vk;
        e.delay_time = delay;
        events.push_back(e);
      }
    }
    EXPECT_TRUE(m_store.DbAddMacroEvents(events));
    return id;
  }
  void AddLight(int mode, int brightness, int speed, int direction, int colour) {
    LightSetting l;
    l.profile = 1;
    l.mode = mode;
    l.brightness = brightness;
    l.speed = speed;
    l.direction = direction;
    l.color_value = colour;
    l.colorful = 0;
    ASSERT_GT(m_store.DbAddLight(l), 0);
  }

  VirtualKeyboardControl m_control;
  DeviceLink m_link;
  DeviceLinkTransport m_transport{m_link};
  SleepingPacer m_pacer;
  SettingsStore m_store;
  KeyboardLayout m_layout;
  ReportProtocol m_protocol{m_store, m_transport, m_pacer};
  std::filesystem::path m_folder;
  int m_deviceType = 101;
};

const Family kCommand{"command", KESTREL_RUNTIME_DIR, 101, 0x4B01};
const Family kFeature{"feature", KESTREL_SOURCE_DIR "/tests/model/fixtures", 201, 0x4B11};
const Family kSignature{"signature", KESTREL_SOURCE_DIR "/tests/model/fixtures", 301, 0x4B21};

TEST_F(RoundTripTest, CommandFamilyKeysMacrosLightAndColours) {
  Start(kCommand);
  const int disabled = Code(0), remapped = Code(1), macroKey = Code(2), shortcutKey = Code(3);
  Assign(disabled, 1, 1);
  Assign(remapped, 2, 0x1E);
  Assign(macroKey, 3, AddMacro(3, {'K', 'E'}, 300));
  Assign(shortcutKey, 7, 2);
  m_protocol.WriteKeyAssignments(Inputs(), m_layout);

  json state = State();
  ASSERT_EQ(state["family"], "command");
  auto entry = [&](int code) { return state["key_map"][std::to_string(m_layout.KeySlot(static_cast<uint32_t>(code)))]; };
  EXPECT_EQ(entry(disabled), json::array({0, 0x20}));
  EXPECT_EQ(entry(remapped), json::array({0x1E, 0x20}));
  EXPECT_EQ(entry(macroKey), json::array({0, 0x40}));
  EXPECT_EQ(entry(shortcutKey), json::array({1, 0x40}));
  ASSERT_EQ(state["macros"].size(), 2u);
  const json& macro = state["macros"][0];
  EXPECT_EQ(macro["play_count"], 3);
  ASSERT_EQ(macro["events"].size(), 4u);
  const int usages[] = {0x0E, 0x0E, 0x08, 0x08};  // K and E
  for (size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(macro["events"][i]["usage"], usages[i]);
    EXPECT_EQ(macro["events"][i]["down"], i % 2 == 0);
    EXPECT_EQ(macro["events"][i]["delay"], 300);
  }
  EXPECT_EQ(state["macros"][1]["events"].size(), 4u) << "Ctrl+C";

  AddLight(5, 3, 2, 1, 0x00403020);
  ProtocolInputs in = Inputs();
  in.lightMode = 5;
  m_protocol.State().LightModeSent = false;
  m_protocol.WriteLighting(in, m_layout);
  m_protocol.WriteLighting(in, m_layout);
  state = State();
  EXPECT_EQ(state["light"]["mode"], 5);
  EXPECT_EQ(state["light"]["brightness"], 3);
  EXPECT_EQ(state["light"]["speed"], 2);
  EXPECT_EQ(state["light"]["direction"], 1);
  EXPECT_EQ(state["light"]["colour"], json::array({0x20, 0x30, 0x40}));
  EXPECT_EQ(state["light_mode_commands"], 1);
  EXPECT_EQ(state["light_parameter_commands"], 1);

  std::vector<KeyLight> colours;
  for (int i = 0; i < 3; ++i) {
    KeyLight k;
    k.profile = 1, k.light_id = 128, k.key_code = Code(i), k.key_rgb = 0x010203 * (i + 1);
    colours.push_back(k);
  }
  ASSERT_EQ(m_store.DbReplaceKeyLights(colours), 3);
  m_protocol.WriteKeyLights(Inputs(), m_layout);
  state = State();
  for (int i = 0; i < 3; ++i) {
    const auto slot = std::to_string(m_layout.LightSlot(static_cast<uint32_t>(Code(i))));
    const int v = 0x010203 * (i + 1);
    EXPECT_EQ(state["key_colours"][slot], json::array({v & 0xFF, (v >> 8) & 0xFF, (v >> 16) & 0xFF, 0xFF}));
  }

  m_protocol.ResetDevice(Inputs(), m_layout, nullptr);
  EXPECT_EQ(State()["reset_count"], 1);
}

TEST_F(RoundTripTest, CommandFamilyStreamsFramesOnTheStreamInterface) {
  Start(kCommand);
  m_protocol.State().StreamStartPending = true;
  m_protocol.StreamFrame(Inputs(), m_layout, {{static_cast<uint32_t>(Code(5)), 0x00FF8040}});
  const json state = State();
  EXPECT_TRUE(state["streaming"]);
  EXPECT_EQ(state["frames_streamed"], 1);
  const auto slot = std::to_string(m_layout.LightSlot(static_cast<uint32_t>(Code(5))));
  EXPECT_EQ(state["last_frame"][slot], json::array({0x40, 0x80, 0xFF, 0x80}));
}

TEST_F(RoundTripTest, FeatureFamilySlotsFollowTheKeyboardsOwnTable) {
  Start(kFeature);
  const int macroKey = Code(0), remapped = Code(1);
  Assign(macroKey, 3, AddMacro(2, {'A'}, 500));
  Assign(remapped, 2, 0x2C);
  m_protocol.WriteKeyAssignments(Inputs(), m_layout);
  json state = State();
  ASSERT_EQ(state["family"], "feature");
  EXPECT_EQ(state["macro_slot_owners"]["1"], macroKey);
  EXPECT_EQ(state["remap_slots"]["1"]["key"], remapped);
  EXPECT_EQ(state["remap_slots"]["1"]["code"], 0x2C);
  ASSERT_EQ(state["macros"].size(), 1u);
  EXPECT_EQ(state["macros"][0]["play_count"], 2);
  EXPECT_EQ(state["macros"][0]["events"][0]["delay"], 500);
  EXPECT_EQ(state["macros"][0]["events"][1]["down"], false);

  // Editing one key reuses the slot the keyboard says it owns.
  Assign(remapped, 2, 0x2D);
  m_protocol.State().SingleKeyPending = true;
  ProtocolInputs in = Inputs();
  in.currentKey = remapped;
  m_protocol.WriteKeyAssignments(in, m_layout);
  state = State();
  EXPECT_EQ(state["remap_slots"]["1"]["code"], 0x2D);
  EXPECT_EQ(state["remap_slots"].size(), 1u);

  // A whole-profile write of an emptied profile frees every owned slot.
  m_store.DbDeleteProfileAssignments(1);
  m_protocol.WriteKeyAssignments(Inputs(), m_layout);
  state = State();
  EXPECT_TRUE(state["macro_slot_owners"].empty());
  EXPECT_TRUE(state["remap_slots"].empty());

  AddLight(2, 4, 3, 1, 0);
  in.lightMode = 2;
  m_protocol.WriteLighting(in, m_layout);
  state = State();
  EXPECT_EQ(state["light"]["mode"], 2);
  EXPECT_EQ(state["light"]["brightness"], 3) << "sent minus one";
  EXPECT_EQ(state["light"]["speed"], 2);
}

TEST_F(RoundTripTest, SignatureFamilyProfilesKeysAndMacros) {
  Start(kSignature);
  const int key = Code(0), macroKey = Code(1);
  ProtocolInputs in = Inputs();
  in.profile = 2;
  in.currentKey = key;
  KeyAssignment a;
  a.profile = 2, a.key_code = key, a.macro_type = 2, a.macro_value = 0x29;
  ASSERT_GT(m_store.DbSaveKeyAssignment(a), 0);
  m_protocol.State().SingleKeyPending = true;
  m_protocol.WriteKeyAssignments(in, m_layout);
  json state = State();
  ASSERT_EQ(state["family"], "signature");
  EXPECT_EQ(state["profile"], 2);
  EXPECT_EQ(state["remaps"]["2"][std::to_string(key)], 0x29);

  a.key_code = macroKey, a.macro_type = 3, a.macro_value = AddMacro(4, {'B', 'C'}, 100);
  ASSERT_GT(m_store.DbSaveKeyAssignment(a), 0);
  in.currentKey = macroKey;
  m_protocol.State().SingleKeyPending = true;
  m_protocol.WriteKeyAssignments(in, m_layout);
  state = State();
  ASSERT_EQ(state["macros"].size(), 1u);
  EXPECT_EQ(state["macros"][0]["key"], macroKey);
  EXPECT_EQ(state["macros"][0]["play_count"], 4);
  EXPECT_EQ(state["macros"][0]["events"].size(), 4u);
  EXPECT_EQ(state["macros"][0]["events"][3]["delay"], 100);
}

}  // namespace
