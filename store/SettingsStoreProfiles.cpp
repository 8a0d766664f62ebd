// Profiles, the default settings rows and key assignments.
#include "store/SQLiteAutoTransaction.h"
#include "store/SettingsStore.h"

namespace {

void ReadProfile(const SQLiteStatement& row, Profile& profile) {
  profile.profile = row.ColumnInt(0);
  profile.name = row.ColumnWide(1);
  profile.status = row.ColumnInt(2);
  profile.app = row.ColumnWide(3);
  profile.type = row.ColumnInt(4);
}

void ReadKeyAssignment(const SQLiteStatement& row, KeyAssignment& assignment) {
  assignment.key_id = row.ColumnInt(0);
  assignment.profile = row.ColumnInt(1);
  assignment.fn_layer = row.ColumnInt(2);
  assignment.key_code = row.ColumnInt(3);
  assignment.layout_value = row.ColumnInt(4);
  assignment.layout_desc = row.ColumnWide(5);
  assignment.macro_type = row.ColumnInt(6);
  assignment.macro_value = row.ColumnInt(7);
  assignment.macro_value2 = row.ColumnInt(8);
  assignment.macro_value3 = row.ColumnInt(9);
  assignment.macro_desc = row.ColumnWide(10);
}

struct DefaultSetting {
  const wchar_t* key;
  const wchar_t* value;
};

constexpr DefaultSetting kDefaultSettings[] = {
    {L"version", L"1.0.1"},       {L"keyboard_layout", L"1"}, {L"fn_layer", L"0"},
    {L"lightmode", L"1"},         {L"sleep_light", L"1"},     {L"userlight", L"0"},
    {L"customlight_run", L"0"},   {L"gamemode", L"0"},        {L"disable_alttab", L"0"},
    {L"disable_altf4", L"0"},     {L"disable_win", L"0"},
};

}  // namespace

int SettingsStore::DbAddProfile(const Profile& profile) {
  return Insert("INSERT INTO t_profile_data(name, status, app, type) VALUES (?, ?, ?, ?);",
                {profile.name, 0, profile.app, 0});
}

bool SettingsStore::DbRemoveProfile(int profile) {
  return Change("DELETE FROM t_profile_data WHERE profile = ?", {profile});
}

bool SettingsStore::DbRenameProfile(int profile, const std::wstring& name) {
  return Change("UPDATE t_profile_data SET name = ? WHERE profile = ?", {name, profile});
}

bool SettingsStore::DbGetProfileName(int profile, std::wstring& name) {
  bool found = false;
  Query("SELECT name FROM t_profile_data WHERE profile = ?", {profile},
        [&](const SQLiteStatement& row) {
          if (!found) {
            name = row.ColumnWide(0);
            found = true;
          }
        });
  return found;
}

int SettingsStore::DbListProfiles(std::vector<Profile>& list) {
  std::vector<Profile> rows;
  const bool complete = Query("SELECT * FROM t_profile_data", {}, [&](const SQLiteStatement& row) {
    ReadProfile(row, rows.emplace_back());
  });
  if (complete) {
    list.insert(list.end(), rows.begin(), rows.end());
  }
  return static_cast<int>(list.size());
}

bool SettingsStore::DbSetCurrentProfile(int profile) {
  SQLiteAutoTransaction transaction(this);
  if (transaction.Failed()) {
    return false;
  }
  Change("UPDATE t_profile_data SET status = ?", {0});
  const bool result = Change("UPDATE t_profile_data SET status = ? WHERE profile = ?", {1, profile});
  return transaction.End() && result;
}

int SettingsStore::DbGetCurrentProfile() {
  return QueryInt("SELECT profile FROM t_profile_data WHERE status = ?", {1});
}

bool SettingsStore::DbWriteDefaultSettings() {
  SQLiteAutoTransaction transaction(this);
  if (transaction.Failed()) {
    return false;
  }
  for (const DefaultSetting& setting : kDefaultSettings) {
    if (!Change("INSERT INTO t_configdata(profile, key, value) VALUES (?, ?, ?);",
                {nullptr, setting.key, setting.value})) {
      break;
    }
  }
  return transaction.End();
}

int SettingsStore::DbSaveKeyAssignment(const KeyAssignment& a) {
  if (a.key_code == 0) {
    return 0;
  }
  // The delete and the insert belong together: a failed insert must not
  // leave the key without the assignment it had.
  SQLiteAutoTransaction transaction(this);
  if (transaction.Failed()) {
    return 0;
  }
  if (!Change("DELETE FROM t_key_macro_data WHERE profile = ? and fn_layer = ? and key_code = ?",
              {a.profile, a.fn_layer, a.key_code})) {
    return 0;
  }
  int id = 0;
  if (a.macro_value != 0 || a.macro_value2 != 0) {
    id = Insert(
        "INSERT INTO t_key_macro_data(profile, fn_layer, key_code, layout_value, layout_desc, "
        "macro_type, macro_value, macro_value2, macro_value3, macro_desc) "
        "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?);",
        {a.profile, a.fn_layer, a.key_code, a.layout_value, a.layout_desc, a.macro_type,
         a.macro_value, a.macro_value2, a.macro_value3, a.macro_desc});
    if (id == 0) {
      transaction.Fail();
    }
  }
  return transaction.End() ? id : 0;
}

bool SettingsStore::DbGetKeyAssignment(int profile, int fnLayer, int keyCode, KeyAssignment& assignment) {
  bool found = false;
  Query("SELECT * FROM t_key_macro_data WHERE profile = ? and fn_layer = ? and key_code = ?",
        {profile, fnLayer, keyCode}, [&](const SQLiteStatement& row) {
          if (!found) {
            ReadKeyAssignment(row, assignment);
            found = true;
          }
        });
  return found;
}

int SettingsStore::DbListKeyAssignments(int profile, int fnLayer, std::vector<KeyAssignment>& list) {
  std::vector<KeyAssignment> rows;
  const bool complete = Query("SELECT * FROM t_key_macro_data WHERE profile = ? and fn_layer = ?",
                              {profile, fnLayer}, [&](const SQLiteStatement& row) {
                                ReadKeyAssignment(row, rows.emplace_back());
                              });
  if (complete) {
    list.insert(list.end(), std::make_move_iterator(rows.begin()), std::make_move_iterator(rows.end()));
  }
  return static_cast<int>(list.size());
}

bool SettingsStore::DbRenameMacroAssignments(int macroId, const std::wstring& name) {
  return Change("UPDATE t_key_macro_data SET macro_desc = ? WHERE macro_type = ? AND macro_value = ?",
                {name, kMacroAssignmentType, macroId});
}

bool SettingsStore::DbDeleteProfileAssignments(int profile) {
  return Change("DELETE FROM t_key_macro_data WHERE profile = ?", {profile});
}

int SettingsStore::DbAddKeyOtherData(const std::wstring& desc, const std::wstring& param, int type) {
  return Insert("INSERT INTO t_key_otherdata(macro_desc, param, type) VALUES (?, ?, ?);",
                {desc, param, type});
}

bool SettingsStore::DbGetKeyOtherData(int id, KeyOtherData& data) {
  bool found = false;
  Query("SELECT macro_desc, param, type FROM t_key_otherdata WHERE macro_value = ?", {id},
        [&](const SQLiteStatement& row) {
          if (!found) {
            data.macro_value = id;
            data.macro_desc = row.ColumnWide(0);
            data.param = row.ColumnWide(1);
            data.type = row.ColumnInt(2);
            found = true;
          }
        });
  return found;
}
