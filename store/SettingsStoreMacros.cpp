// Macros and their events.
#include "store/SQLiteAutoTransaction.h"
#include "store/SettingsStore.h"

namespace {

// Events of this type are not key presses and do not count as content.
constexpr int kNonKeyEventType = 1;

void ReadMacro(const SQLiteStatement& row, Macro& macro) {
  macro.macro_id = row.ColumnInt(0);
  macro.play_times = row.ColumnInt(1);
  macro.delay_type = row.ColumnInt(2);
  macro.delay_time = row.ColumnInt(3);
  macro.link_count = row.ColumnInt(4);
  macro.name = row.ColumnWide(5);
}

void ReadMacroEvent(const SQLiteStatement& row, MacroEvent& event) {
  event.record_id = row.ColumnInt(0);
  event.macro_id = row.ColumnInt(1);
  event.type = row.ColumnInt(2);
  event.record_index = row.ColumnInt(3);
  event.desc = row.ColumnWide(4);
  event.value = row.ColumnInt(5);
  event.delay_time = row.ColumnInt(6);
}

constexpr const char* kInsertMacro =
    "INSERT INTO t_macro_data(play_times, delay_type, delay_time, link_count, name) "
    "VALUES (?, ?, ?, ?, ?);";
constexpr const char* kInsertMacroEvent =
    "INSERT INTO t_macrorecord(macro_id, type, record_index, desc, value, delay_time) "
    "VALUES (?, ?, ?, ?, ?, ?);";
constexpr const char* kListMacroEvents =
    "SELECT * FROM t_macrorecord WHERE macro_id = ? ORDER BY record_index ASC";

}  // namespace

int SettingsStore::DbAddMacro(const std::wstring& name) {
  return Insert(kInsertMacro, {1, 1, 0, 0, name});
}

int SettingsStore::DbInsertMacro(const Macro& m) {
  return Insert(kInsertMacro, {m.play_times, m.delay_type, m.delay_time, m.link_count, m.name});
}

bool SettingsStore::DbRenameMacro(int macroId, const std::wstring& name) {
  return Change("UPDATE t_macro_data SET name = ? WHERE macro_id = ?", {name, macroId});
}

bool SettingsStore::DbUpdateMacroPlayback(const Macro& m) {
  return Change("UPDATE t_macro_data SET play_times = ?, delay_type = ?, delay_time = ? WHERE macro_id = ?",
                {m.play_times, m.delay_type, m.delay_time, m.macro_id});
}

bool SettingsStore::DbDeleteMacro(int macroId) {
  // Either the macro goes with its events and every key that plays it, or
  // nothing changes: a half-done delete would leave keys pointing nowhere.
  SQLiteAutoTransaction transaction(this);
  if (transaction.Failed()) {
    return false;
  }
  Change("DELETE FROM t_macro_data WHERE macro_id = ?", {macroId});
  Change("DELETE FROM t_macrorecord WHERE macro_id = ?", {macroId});
  const bool result = Change("DELETE FROM t_key_macro_data WHERE macro_type = ? and macro_value = ?",
                             {kMacroAssignmentType, macroId});
  return transaction.End() && result;
}

int SettingsStore::DbGetMacroPlayTimes(int macroId) {
  return QueryInt("SELECT play_times FROM t_macro_data WHERE macro_id = ?", {macroId});
}

bool SettingsStore::DbGetMacro(int macroId, Macro& macro) {
  bool found = false;
  Query("SELECT * FROM t_macro_data WHERE macro_id = ?", {macroId}, [&](const SQLiteStatement& row) {
    if (!found) {
      ReadMacro(row, macro);
      found = true;
    }
  });
  return found;
}

int SettingsStore::DbListMacros(std::vector<Macro>& list) {
  std::vector<Macro> rows;
  const bool complete = Query("SELECT * FROM t_macro_data", {},
                              [&](const SQLiteStatement& row) { ReadMacro(row, rows.emplace_back()); });
  if (complete) {
    list.insert(list.end(), std::make_move_iterator(rows.begin()), std::make_move_iterator(rows.end()));
  }
  return static_cast<int>(list.size());
}

int SettingsStore::DbAddMacroEvent(const MacroEvent& e) {
  return Insert(kInsertMacroEvent, {e.macro_id, e.type, e.record_index, e.desc, e.value, e.delay_time});
}

bool SettingsStore::AddMacroEventRows(std::vector<MacroEvent>& list) {
  if (list.empty()) {
    return true;
  }
  SQLiteStatement statement;
  if (Prepare(statement, kInsertMacroEvent) != 0) {
    return false;
  }
  for (const MacroEvent& e : list) {
    if (!InsertAgain(statement, {e.macro_id, e.type, e.record_index, e.desc, e.value, e.delay_time})) {
      return false;
    }
  }
  return true;
}

bool SettingsStore::DbAddMacroEvents(std::vector<MacroEvent>& list) {
  bool stored = false;
  {
    SQLiteAutoTransaction transaction(this);
    const bool ok = !transaction.Failed() && AddMacroEventRows(list);
    if (!ok) {
      transaction.Fail();
    }
    stored = transaction.End() && ok;
  }
  list.clear();
  return stored;
}

int SettingsStore::DbListMacroEvents(int macroId, std::vector<MacroEvent>& list) {
  std::vector<MacroEvent> rows;
  const bool complete = Query(kListMacroEvents, {macroId}, [&](const SQLiteStatement& row) {
    ReadMacroEvent(row, rows.emplace_back());
  });
  if (complete) {
    list.insert(list.end(), std::make_move_iterator(rows.begin()), std::make_move_iterator(rows.end()));
  }
  return static_cast<int>(list.size());
}

bool SettingsStore::DbDeleteMacroEvents(int macroId) {
  return Change("DELETE FROM t_macrorecord WHERE macro_id = ?", {macroId});
}

int SettingsStore::DbCountMacroKeyEvents(int macroId) {
  int count = 0;
  const bool complete = Query(kListMacroEvents, {macroId}, [&](const SQLiteStatement& row) {
    if (row.ColumnInt(2) != kNonKeyEventType) {
      ++count;
    }
  });
  return complete ? count : 0;
}

bool SettingsStore::DbReplaceMacroEvents(int macroId, std::vector<MacroEvent>& list) {
  bool stored = false;
  {
    SQLiteAutoTransaction transaction(this);
    const bool ok = !transaction.Failed() && DbDeleteMacroEvents(macroId) && AddMacroEventRows(list);
    if (!ok) {
      transaction.Fail();
    }
    stored = transaction.End() && ok;
  }
  list.clear();
  return stored;
}
