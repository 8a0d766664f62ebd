// Light settings, per-key colours and music-light layers.
#include "store/SQLiteAutoTransaction.h"
#include "store/SettingsStore.h"

namespace {

// Light and music rows are kept for profile 1 only.
constexpr int kLightProfile = 1;
constexpr int kMusicLayer = 1;

void ReadLight(const SQLiteStatement& row, LightSetting& light) {
  light.light_id = row.ColumnInt(0);
  light.profile = row.ColumnInt(1);
  light.name = row.ColumnWide(2);
  light.mode = row.ColumnInt(3);
  light.brightness = row.ColumnInt(4);
  light.speed = row.ColumnInt(5);
  light.direction = row.ColumnInt(6);
  light.colorful = row.ColumnInt(7);
  light.colorindex = row.ColumnInt(8);
  light.color_value = row.ColumnInt(9);
  light.config_func = row.ColumnInt(10);
  light.reserved = row.ColumnInt(11);
  light.status = row.ColumnInt(12);
}

void ReadKeyLight(const SQLiteStatement& row, KeyLight& light) {
  light.keylight_id = row.ColumnInt(0);
  light.profile = row.ColumnInt(1);
  light.light_id = row.ColumnInt(2);
  light.key_code = row.ColumnInt(3);
  light.key_rgb = row.ColumnInt(4);
}

void ReadMusicLayer(const SQLiteStatement& row, MusicLayer& layer) {
  layer.layer_id = row.ColumnInt(0);
  layer.profile = row.ColumnInt(1);
  layer.name = row.ColumnWide(2);
  layer.deviceindex = row.ColumnInt(3);
  layer.foremode = row.ColumnInt(4);
  layer.fore_amplitude = row.ColumnInt(5);
  layer.backmode = row.ColumnInt(6);
  layer.backb_right = row.ColumnInt(7);
}

}  // namespace

int SettingsStore::DbCountLights(int profile) {
  return QueryInt("select count(*) FROM t_light_data WHERE profile = ?", {profile});
}

int SettingsStore::DbAddLight(const LightSetting& l) {
  return Insert(
      "INSERT INTO t_light_data(profile, name, mode, brightness, speed, direction, colorful, "
      "colorindex, color_value, config_func, reserved, status) "
      "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?);",
      {l.profile, l.name, l.mode, l.brightness, l.speed, l.direction, l.colorful, l.colorindex,
       l.color_value, l.config_func, l.reserved, l.status});
}

bool SettingsStore::DbUpdateLight(int profile, int mode, const LightSetting& l) {
  return Change(
      "UPDATE t_light_data SET brightness = ?, speed = ?, direction = ?, colorful = ?, "
      "colorindex = ?, color_value = ?, config_func = ?, reserved = ? WHERE profile = ? AND mode = ?",
      {l.brightness, l.speed, l.direction, l.colorful, l.colorindex, l.color_value, l.config_func,
       l.reserved, profile, mode});
}

bool SettingsStore::DbSetCurrentLight(int profile, int mode) {
  SQLiteAutoTransaction transaction(this);
  if (transaction.Failed()) {
    return false;
  }
  Change("UPDATE t_light_data SET status = ?", {0});
  const bool result =
      Change("UPDATE t_light_data SET status = ? WHERE profile = ? and mode = ?", {1, profile, mode});
  return transaction.End() && result;
}

int SettingsStore::DbGetCurrentLightMode(int profile) {
  return QueryInt("SELECT mode FROM t_light_data WHERE profile = ? and status = ?", {profile, 1});
}

bool SettingsStore::DbGetLight(int profile, int mode, LightSetting& light) {
  bool found = false;
  Query("SELECT * FROM t_light_data WHERE profile = ? AND mode = ?", {profile, mode},
        [&](const SQLiteStatement& row) {
          if (!found) {
            ReadLight(row, light);
            found = true;
          }
        });
  return found;
}

int SettingsStore::DbListLights(int profile, std::vector<LightSetting>& list) {
  std::vector<LightSetting> rows;
  const bool complete = Query("SELECT * FROM t_light_data WHERE profile = ?", {profile},
                              [&](const SQLiteStatement& row) { ReadLight(row, rows.emplace_back()); });
  if (complete) {
    list.insert(list.end(), std::make_move_iterator(rows.begin()), std::make_move_iterator(rows.end()));
  }
  return static_cast<int>(list.size());
}

bool SettingsStore::AddKeyLightRows(std::vector<KeyLight>& list) {
  if (list.empty()) {
    return true;
  }
  SQLiteStatement statement;
  if (Prepare(statement, "INSERT INTO t_key_light_data(profile, light_id, key_code, key_rgb) "
                         "VALUES (?, ?, ?, ?);") != 0) {
    return false;
  }
  for (const KeyLight& light : list) {
    if (!InsertAgain(statement, {light.profile, light.light_id, light.key_code, light.key_rgb})) {
      return false;
    }
  }
  return true;
}

int SettingsStore::DbAddKeyLights(std::vector<KeyLight>& list) {
  const int count = static_cast<int>(list.size());
  bool stored = false;
  {
    SQLiteAutoTransaction transaction(this);
    const bool ok = !transaction.Failed() && AddKeyLightRows(list);
    if (!ok) {
      transaction.Fail();
    }
    stored = transaction.End() && ok;
  }
  list.clear();
  return stored ? count : 0;
}

bool SettingsStore::DbDeleteKeyLights() {
  return Change("DELETE FROM t_key_light_data WHERE light_id = ?", {kUserKeyLightId});
}

int SettingsStore::DbListKeyLights(int lightId, std::vector<KeyLight>& list) {
  std::vector<KeyLight> rows;
  const bool complete = Query("SELECT * FROM t_key_light_data WHERE light_id = ?", {lightId},
                              [&](const SQLiteStatement& row) { ReadKeyLight(row, rows.emplace_back()); });
  if (complete) {
    list.insert(list.end(), rows.begin(), rows.end());
  }
  return static_cast<int>(list.size());
}

int SettingsStore::DbReplaceKeyLights(std::vector<KeyLight>& list) {
  const int count = static_cast<int>(list.size());
  bool stored = false;
  {
    SQLiteAutoTransaction transaction(this);
    const bool ok = !transaction.Failed() && DbDeleteKeyLights() && AddKeyLightRows(list);
    if (!ok) {
      transaction.Fail();
    }
    stored = transaction.End() && ok;
  }
  list.clear();
  return stored ? count : 0;
}

int SettingsStore::DbCountMusicLayers() {
  return QueryInt("select count(*) FROM t_musiclayer_data WHERE profile = ?", {kLightProfile});
}

int SettingsStore::DbAddMusicLayer(const std::wstring& name, int foremode) {
  return Insert(
      "INSERT INTO t_musiclayer_data(profile, name, deviceindex, foremode, fore_amplitude, "
      "backmode, backb_right, sel) VALUES (?, ?, ?, ?, ?, ?, ?, ?);",
      {kLightProfile, name, 0, foremode, 300, 0, 100, 0});
}

bool SettingsStore::DbGetMusicLayer(int layerId, MusicLayer& layer) {
  bool found = false;
  Query("SELECT * FROM t_musiclayer_data WHERE layer_id = ?", {layerId}, [&](const SQLiteStatement& row) {
    if (!found) {
      ReadMusicLayer(row, layer);
      found = true;
    }
  });
  return found;
}

bool SettingsStore::DbUpdateMusicLayer(const MusicLayer& layer) {
  return Change(
      "UPDATE t_musiclayer_data SET deviceindex= ?, foremode= ?, fore_amplitude = ?, backmode= ?, "
      "backb_right= ? WHERE layer_id = ?",
      {layer.deviceindex, layer.foremode, layer.fore_amplitude, layer.backmode, layer.backb_right,
       kMusicLayer});
}

bool SettingsStore::DbSelectMusicLayer() {
  SQLiteAutoTransaction transaction(this);
  if (transaction.Failed()) {
    return false;
  }
  Change("UPDATE t_musiclayer_data SET sel = ? WHERE profile = ?", {0, kLightProfile});
  const bool result = Change("UPDATE t_musiclayer_data SET sel = ? WHERE profile = ? AND layer_id = ?",
                             {1, kLightProfile, kMusicLayer});
  return transaction.End() && result;
}

int SettingsStore::DbGetSelectedMusicLayer() {
  return QueryInt("SELECT layer_id FROM t_musiclayer_data WHERE profile = ? AND sel = ?",
                  {kLightProfile, 1});
}
