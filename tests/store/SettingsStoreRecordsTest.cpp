#include <gtest/gtest.h>

#include "StoreTestSupport.h"
#include "store/SettingsStore.h"

namespace {

class SettingsStoreRecords : public testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(m_store.Open(m_folder.Wide(), kKeyboard)); }

  // Makes every insert into `table` whose `column` is `value` fail, the way
  // a full disk would fail it half-way through a batch.
  void FailInsertsWhere(const std::string& table, const std::string& column, int value) {
    const std::string sql = "CREATE TRIGGER fail_" + table + " BEFORE INSERT ON " + table +
                            " WHEN NEW." + column + " = " + std::to_string(value) +
                            " BEGIN SELECT RAISE(ABORT, 'refused'); END;";
    ASSERT_EQ(m_store.Exec(sql.c_str()), 0);
  }

  static KeyAssignment Assignment(int profile, int layer, int key, int value, int value2 = 0) {
    return {0, profile, layer, key, 7, L"layout", 1, value, value2, 9, L"desc"};
  }

  TempFolder m_folder;
  SettingsStore m_store;
};

TEST_F(SettingsStoreRecords, SavingAnAssignmentReplacesOrRemovesTheKeysRow) {
  struct Case {
    const char* what;
    int value;
    int value2;
    bool stored;
  };
  const Case cases[] = {
      {"macro_value set", 5, 0, true},
      {"macro_value2 set", 0, 6, true},
      {"both values 0 restore the default", 0, 0, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ASSERT_GT(m_store.DbSaveKeyAssignment(Assignment(1, 0, 0x04, 1)), 0);
    const int id = m_store.DbSaveKeyAssignment(Assignment(1, 0, 0x04, c.value, c.value2));
    EXPECT_EQ(id > 0, c.stored);
    EXPECT_EQ(Scalar(m_store, "SELECT count(*) FROM t_key_macro_data WHERE key_code = 4"),
              c.stored ? "1" : "0");
    KeyAssignment read;
    ASSERT_EQ(m_store.DbGetKeyAssignment(1, 0, 0x04, read), c.stored);
    if (c.stored) {
      EXPECT_EQ(read.key_id, id);
      EXPECT_EQ(read.macro_value, c.value);
      EXPECT_EQ(read.macro_value2, c.value2);
      EXPECT_EQ(read.layout_value, 7);
      EXPECT_EQ(read.layout_desc, L"layout");
      EXPECT_EQ(read.macro_type, 1);
      EXPECT_EQ(read.macro_value3, 9);
      EXPECT_EQ(read.macro_desc, L"desc");
    }
  }
  // Key code 0 names no key: nothing is deleted or stored.
  EXPECT_EQ(m_store.DbSaveKeyAssignment(Assignment(1, 0, 0, 5)), 0);
  EXPECT_EQ(Scalar(m_store, "SELECT count(*) FROM t_key_macro_data"), "0");
}

TEST_F(SettingsStoreRecords, AssignmentsAreKeptPerProfileAndLayer) {
  ASSERT_GT(m_store.DbSaveKeyAssignment(Assignment(1, 0, 0x04, 1)), 0);
  ASSERT_GT(m_store.DbSaveKeyAssignment(Assignment(1, 1, 0x04, 2)), 0);
  ASSERT_GT(m_store.DbSaveKeyAssignment(Assignment(2, 0, 0x04, 3)), 0);
  ASSERT_GT(m_store.DbSaveKeyAssignment(Assignment(1, 0, 0x05, 4)), 0);
  std::vector<KeyAssignment> list;
  ASSERT_EQ(m_store.DbListKeyAssignments(1, 0, list), 2);
  EXPECT_EQ(list[0].macro_value, 1);
  EXPECT_EQ(list[1].macro_value, 4);
  // Removing a profile leaves its assignments; they are simply never asked for.
  ASSERT_TRUE(m_store.DbRemoveProfile(2));
  EXPECT_EQ(Scalar(m_store, "SELECT count(*) FROM t_key_macro_data WHERE profile = 2"), "1");
  ASSERT_TRUE(m_store.DbDeleteProfileAssignments(1));
  EXPECT_EQ(Scalar(m_store, "SELECT count(*) FROM t_key_macro_data"), "1");
}

TEST_F(SettingsStoreRecords, FailedInsertKeepsTheKeysPreviousAssignment) {
  ASSERT_GT(m_store.DbSaveKeyAssignment(Assignment(1, 0, 0x04, 1)), 0);
  FailInsertsWhere("t_key_macro_data", "macro_value", 666);
  EXPECT_EQ(m_store.DbSaveKeyAssignment(Assignment(1, 0, 0x04, 666)), 0);
  KeyAssignment read;
  ASSERT_TRUE(m_store.DbGetKeyAssignment(1, 0, 0x04, read));
  EXPECT_EQ(read.macro_value, 1);
}

TEST_F(SettingsStoreRecords, ProfilesAndTheCurrentOne) {
  EXPECT_EQ(m_store.DbGetCurrentProfile(), 0);
  const int a = m_store.DbAddProfile({0, L"A", L"ignored app", 5, 1});
  const int b = m_store.DbAddProfile({0, L"B", L"", 0, 0});
  ASSERT_GT(a, 0);
  ASSERT_EQ(b, a + 1);
  // A new profile is never current, and its type is always 0.
  EXPECT_EQ(m_store.DbGetCurrentProfile(), 0);
  ASSERT_TRUE(m_store.DbSetCurrentProfile(b));
  ASSERT_TRUE(m_store.DbSetCurrentProfile(a));
  EXPECT_EQ(m_store.DbGetCurrentProfile(), a);
  EXPECT_EQ(Scalar(m_store, "SELECT count(*) FROM t_profile_data WHERE status = 1"), "1");

  ASSERT_TRUE(m_store.DbRenameProfile(b, L"Oyun \u015E \U0001F600"));
  std::wstring name;
  ASSERT_TRUE(m_store.DbGetProfileName(b, name));
  EXPECT_EQ(name, L"Oyun \u015E \U0001F600");
  EXPECT_EQ(Scalar(m_store, "SELECT hex(name) FROM t_profile_data WHERE profile = " + std::to_string(b)),
            "4F79756E20C59E20F09F9880");
  EXPECT_FALSE(m_store.DbGetProfileName(999, name));

  std::vector<Profile> list(1);  // lists append to what the caller has
  ASSERT_EQ(m_store.DbListProfiles(list), 3);
  EXPECT_EQ(list[1].profile, a);
  EXPECT_EQ(list[1].name, L"A");
  EXPECT_EQ(list[1].app, L"ignored app");
  EXPECT_EQ(list[1].type, 0);
  EXPECT_EQ(list[1].status, 1);

  // Ids are never reused.
  ASSERT_TRUE(m_store.DbRemoveProfile(b));
  EXPECT_EQ(m_store.DbAddProfile({0, L"C", L"", 0, 0}), b + 1);
}

TEST_F(SettingsStoreRecords, DefaultSettingsRowsInOrder) {
  ASSERT_TRUE(m_store.DbWriteDefaultSettings());
  const std::vector<std::vector<std::string>> expected = {
      {"NULL", "version", "1.0.1"},      {"NULL", "keyboard_layout", "1"}, {"NULL", "fn_layer", "0"},
      {"NULL", "lightmode", "1"},        {"NULL", "sleep_light", "1"},     {"NULL", "userlight", "0"},
      {"NULL", "customlight_run", "0"},  {"NULL", "gamemode", "0"},        {"NULL", "disable_alttab", "0"},
      {"NULL", "disable_altf4", "0"},    {"NULL", "disable_win", "0"},
  };
  EXPECT_EQ(Rows(m_store, "SELECT profile, key, value FROM t_configdata ORDER BY config_id"), expected);
}

TEST_F(SettingsStoreRecords, OtherData) {
  const int id = m_store.DbAddKeyOtherData(L"Run", L"/usr/bin/true", 4);
  ASSERT_GT(id, 0);
  KeyOtherData data;
  ASSERT_TRUE(m_store.DbGetKeyOtherData(id, data));
  EXPECT_EQ(data.macro_value, id);
  EXPECT_EQ(data.macro_desc, L"Run");
  EXPECT_EQ(data.param, L"/usr/bin/true");
  EXPECT_EQ(data.type, 4);
  EXPECT_FALSE(m_store.DbGetKeyOtherData(id + 1, data));
}

TEST_F(SettingsStoreRecords, LightRowsAndTheCurrentMode) {
  for (int mode = 1; mode <= 3; ++mode) {
    LightSetting light{0, 1, std::to_wstring(300 + mode), mode, 4, 3, 0, 1, 0, 255, 0x100 * mode, 0, 0};
    ASSERT_GT(m_store.DbAddLight(light), 0);
  }
  EXPECT_EQ(m_store.DbCountLights(1), 3);
  EXPECT_EQ(m_store.DbCountLights(2), 0);
  EXPECT_EQ(m_store.DbGetCurrentLightMode(1), 0);
  ASSERT_TRUE(m_store.DbSetCurrentLight(1, 2));
  ASSERT_TRUE(m_store.DbSetCurrentLight(1, 3));
  EXPECT_EQ(m_store.DbGetCurrentLightMode(1), 3);
  EXPECT_EQ(Scalar(m_store, "SELECT count(*) FROM t_light_data WHERE status = 1"), "1");

  const LightSetting change{0, 9, L"not stored", 9, 5, 6, 1, 0, 7, 0x123456, 0x40, 2, 9};
  ASSERT_TRUE(m_store.DbUpdateLight(1, 2, change));
  LightSetting read;
  ASSERT_TRUE(m_store.DbGetLight(1, 2, read));
  EXPECT_EQ(read.profile, 1);
  EXPECT_EQ(read.name, L"302");
  EXPECT_EQ(read.mode, 2);
  EXPECT_EQ(read.brightness, 5);
  EXPECT_EQ(read.speed, 6);
  EXPECT_EQ(read.direction, 1);
  EXPECT_EQ(read.colorful, 0);
  EXPECT_EQ(read.colorindex, 7);
  EXPECT_EQ(read.color_value, 0x123456);
  EXPECT_EQ(read.config_func, 0x40);
  EXPECT_EQ(read.reserved, 2);
  EXPECT_EQ(read.status, 0);
  std::vector<LightSetting> list;
  ASSERT_EQ(m_store.DbListLights(1, list), 3);
  EXPECT_EQ(list[2].status, 1);
  EXPECT_FALSE(m_store.DbGetLight(1, 4, read));
}

std::vector<KeyLight> UserColours(int count, int rgb, int firstKey = 4) {
  std::vector<KeyLight> list;
  for (int i = 0; i < count; ++i) {
    list.push_back({0, 1, kUserKeyLightId, firstKey + i, rgb});
  }
  return list;
}

TEST_F(SettingsStoreRecords, PerKeyColoursAreReplacedWholeOrNotAtAll) {
  std::vector<KeyLight> first = UserColours(10, 0x0000FF);
  ASSERT_EQ(m_store.DbReplaceKeyLights(first), 10);
  EXPECT_TRUE(first.empty());  // consumed
  std::vector<KeyLight> scheme = {{0, 1, kUserKeyLightId + 1, 4, 0x00FF00}};
  ASSERT_EQ(m_store.DbAddKeyLights(scheme), 1);

  FailInsertsWhere("t_key_light_data", "key_code", 99);
  std::vector<KeyLight> broken = UserColours(10, 0xFF0000, 95);  // key 99 is the fifth
  EXPECT_EQ(m_store.DbReplaceKeyLights(broken), 0);
  std::vector<KeyLight> broken2 = UserColours(10, 0xFF0000, 95);
  EXPECT_EQ(m_store.DbAddKeyLights(broken2), 0);

  std::vector<KeyLight> kept;
  ASSERT_EQ(m_store.DbListKeyLights(kUserKeyLightId, kept), 10);
  for (const KeyLight& light : kept) {
    EXPECT_EQ(light.key_rgb, 0x0000FF);
    EXPECT_EQ(light.profile, 1);
    EXPECT_EQ(light.light_id, kUserKeyLightId);
  }
  std::vector<KeyLight> other;
  EXPECT_EQ(m_store.DbListKeyLights(kUserKeyLightId + 1, other), 1);

  // The delete takes the user's colours of every profile, nothing else.
  ASSERT_TRUE(m_store.DbDeleteKeyLights());
  kept.clear();
  EXPECT_EQ(m_store.DbListKeyLights(kUserKeyLightId, kept), 0);
  other.clear();
  EXPECT_EQ(m_store.DbListKeyLights(kUserKeyLightId + 1, other), 1);
}

TEST_F(SettingsStoreRecords, EmptyBatchEndsItsTransaction) {
  std::vector<KeyLight> none;
  EXPECT_EQ(m_store.DbAddKeyLights(none), 0);
  std::vector<MacroEvent> noEvents;
  EXPECT_TRUE(m_store.DbAddMacroEvents(noEvents));
  // A transaction left open would hold the write lock: a second connection
  // could then not write at all.
  SettingsStore other;
  ASSERT_TRUE(other.Open(m_folder.Wide(), kKeyboard));
  EXPECT_GT(other.DbAddProfile({0, L"B", L"", 0, 0}), 0);
}

TEST_F(SettingsStoreRecords, MusicLayer) {
  EXPECT_EQ(m_store.DbCountMusicLayers(), 0);
  const int id = m_store.DbAddMusicLayer(L"Layer", 17);
  ASSERT_EQ(id, 1);
  EXPECT_EQ(m_store.DbGetSelectedMusicLayer(), 0);
  ASSERT_TRUE(m_store.DbSelectMusicLayer());
  EXPECT_EQ(m_store.DbGetSelectedMusicLayer(), 1);
  MusicLayer layer;
  ASSERT_TRUE(m_store.DbGetMusicLayer(1, layer));
  EXPECT_EQ(layer.profile, 1);
  EXPECT_EQ(layer.name, L"Layer");
  EXPECT_EQ(layer.deviceindex, 0);
  EXPECT_EQ(layer.foremode, 17);
  EXPECT_EQ(layer.fore_amplitude, 300);
  EXPECT_EQ(layer.backmode, 0);
  EXPECT_EQ(layer.backb_right, 100);
  layer = {0, 0, L"", 2, 3, 400, 5, 60};
  ASSERT_TRUE(m_store.DbUpdateMusicLayer(layer));
  ASSERT_TRUE(m_store.DbGetMusicLayer(1, layer));
  EXPECT_EQ(layer.deviceindex, 2);
  EXPECT_EQ(layer.foremode, 3);
  EXPECT_EQ(layer.fore_amplitude, 400);
  EXPECT_EQ(layer.backmode, 5);
  EXPECT_EQ(layer.backb_right, 60);
  EXPECT_EQ(m_store.DbCountMusicLayers(), 1);
}

MacroEvent Event(int macro, int type, int index, int value = 0x41) {
  return {0, macro, type, index, value, 10 + index, L"key " + std::to_wstring(index)};
}

TEST_F(SettingsStoreRecords, MacroEventsComeInRecordOrderAndCountWithoutType1) {
  const int macro = m_store.DbAddMacro(L"M");
  ASSERT_GT(macro, 0);
  std::vector<MacroEvent> events;
  const int types[] = {2, 3, 1, 2, 3, 1, 2, 3};
  const int order[] = {7, 0, 5, 2, 4, 1, 6, 3};  // stored out of order
  for (int i : order) {
    events.push_back(Event(macro, types[i], i));
  }
  ASSERT_TRUE(m_store.DbAddMacroEvents(events));
  EXPECT_TRUE(events.empty());
  std::vector<MacroEvent> list;
  ASSERT_EQ(m_store.DbListMacroEvents(macro, list), 8);
  for (int i = 0; i < 8; ++i) {
    EXPECT_EQ(list[i].record_index, i);
    EXPECT_EQ(list[i].type, types[i]);
    EXPECT_EQ(list[i].macro_id, macro);
    EXPECT_EQ(list[i].delay_time, 10 + i);
    EXPECT_EQ(list[i].desc, L"key " + std::to_wstring(i));
    EXPECT_EQ(list[i].value, 0x41);
  }
  EXPECT_EQ(m_store.DbCountMacroKeyEvents(macro), 6);
  EXPECT_EQ(m_store.DbCountMacroKeyEvents(macro + 1), 0);
}

TEST_F(SettingsStoreRecords, FailedEventReplacementKeepsTheOldEvents) {
  const int macro = m_store.DbAddMacro(L"M");
  std::vector<MacroEvent> events = {Event(macro, 2, 0), Event(macro, 3, 1)};
  ASSERT_TRUE(m_store.DbReplaceMacroEvents(macro, events));
  FailInsertsWhere("t_macrorecord", "value", 0x99);
  std::vector<MacroEvent> broken = {Event(macro, 2, 0, 0x42), Event(macro, 3, 1, 0x99)};
  EXPECT_FALSE(m_store.DbReplaceMacroEvents(macro, broken));
  std::vector<MacroEvent> list;
  ASSERT_EQ(m_store.DbListMacroEvents(macro, list), 2);
  EXPECT_EQ(list[0].value, 0x41);
}

TEST_F(SettingsStoreRecords, MacrosAndTheirDeletion) {
  const int a = m_store.DbAddMacro(L"A");
  const int b = m_store.DbInsertMacro({0, L"B", 4, 7, 3, 25});
  ASSERT_GT(a, 0);
  ASSERT_GT(b, a);
  Macro read;
  ASSERT_TRUE(m_store.DbGetMacro(a, read));
  EXPECT_EQ(read.name, L"A");
  EXPECT_EQ(read.play_times, 1);
  EXPECT_EQ(read.delay_type, 1);
  EXPECT_EQ(read.delay_time, 0);
  EXPECT_EQ(read.link_count, 0);
  ASSERT_TRUE(m_store.DbGetMacro(b, read));
  EXPECT_EQ(read.link_count, 4);
  EXPECT_EQ(m_store.DbGetMacroPlayTimes(b), 7);
  ASSERT_TRUE(m_store.DbUpdateMacroPlayback({b, L"", 0, 9, 2, 10}));
  ASSERT_TRUE(m_store.DbRenameMacro(b, L"B2"));
  ASSERT_TRUE(m_store.DbGetMacro(b, read));
  EXPECT_EQ(read.name, L"B2");
  EXPECT_EQ(read.play_times, 9);
  EXPECT_EQ(read.delay_type, 2);
  EXPECT_EQ(read.delay_time, 10);

  std::vector<MacroEvent> events = {Event(a, 2, 0), Event(a, 3, 1), Event(b, 2, 0)};
  ASSERT_TRUE(m_store.DbAddMacroEvents(events));
  KeyAssignment plays{0, 1, 0, 0x04, 0, L"", kMacroAssignmentType, a, 0, 0, L"A"};
  ASSERT_GT(m_store.DbSaveKeyAssignment(plays), 0);
  plays.profile = 2;
  ASSERT_GT(m_store.DbSaveKeyAssignment(plays), 0);
  KeyAssignment other{0, 1, 0, 0x05, 0, L"", 2, a, 0, 0, L""};  // same value, another kind
  ASSERT_GT(m_store.DbSaveKeyAssignment(other), 0);
  ASSERT_TRUE(m_store.DbRenameMacroAssignments(a, L"A renamed"));
  EXPECT_EQ(Scalar(m_store, "SELECT count(*) FROM t_key_macro_data WHERE macro_desc = 'A renamed'"), "2");

  ASSERT_TRUE(m_store.DbDeleteMacro(a));
  EXPECT_FALSE(m_store.DbGetMacro(a, read));
  std::vector<MacroEvent> left;
  EXPECT_EQ(m_store.DbListMacroEvents(a, left), 0);
  EXPECT_EQ(m_store.DbListMacroEvents(b, left), 1);
  EXPECT_EQ(Rows(m_store, "SELECT profile, key_code, macro_type FROM t_key_macro_data"),
            (std::vector<std::vector<std::string>>{{"1", "5", "2"}}));
  std::vector<Macro> macros;
  ASSERT_EQ(m_store.DbListMacros(macros), 1);
  EXPECT_EQ(macros[0].macro_id, b);
}

}  // namespace
