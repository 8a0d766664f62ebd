#pragma once
// The settings database of the current keyboard: one SQLite file per
// keyboard model, "<keyboard name>_data_v1.db" in the "db" folder of the
// user data folder.  One process-wide object (Instance()); further objects
// may be made for a second connection to a file.
//
// Record operations never report errors to the caller beyond their results
// (false, 0, an empty list).  A failed open, a damaged file or a full disk is
// reported once on stderr with the path and SQLite's message; a damaged file
// is moved aside ("<file>.corrupt-<time>") and a fresh one created.
//
// The file is kept in WAL mode with synchronous=NORMAL, every batch and
// every pair of statements that belong together runs in one transaction that
// is rolled back on failure, and a busy timeout lets a second process use the
// same file.
//
// Thread rules: any thread.  Every operation holds the store's recursive lock
// for its whole run, so operations of the UI thread and the worker never
// interleave; a list is read completely before the caller sees it.
#include <cstdint>
#include <functional>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "store/Records.h"
#include "store/SQLiteDB.h"
#include "store/SQLiteStatement.h"
#include "store/SqlArg.h"

class SettingsStore {
 public:
  SettingsStore();
  ~SettingsStore();
  SettingsStore(const SettingsStore&) = delete;
  SettingsStore& operator=(const SettingsStore&) = delete;

  // The process-wide store, created on first use.
  static SettingsStore& Instance();

  // The database file of a keyboard: folder (the user data folder, with or
  // without a trailing '/') + "db/<keyboard name>_data_v1.db".
  static std::wstring DatabasePath(const std::wstring& folder, const std::wstring& keyboardName);

  // Opens or creates the keyboard's database; a new file gets the schema.
  // Opening the file that is already open keeps the connection.
  bool Open(const std::wstring& folder, const std::wstring& keyboardName);
  // True when the connection was closed or there was none.
  bool Close();
  // Deletes the keyboard's database file with its WAL files (closing the
  // connection first when it is that file).
  void Delete(const std::wstring& folder, const std::wstring& keyboardName);
  bool IsOpen() const;
  // The UTF-8 path of the file last opened.
  std::string Path() const;

  // 21 (misuse) without a connection or without text.
  int Exec(const char* sql);
  int Prepare(SQLiteStatement& statement, const char* sql, int length = -1);
  // -1 without a connection.
  std::int64_t LastInsertRowId();

  // Profiles.
  int DbAddProfile(const Profile& profile);
  bool DbRemoveProfile(int profile);
  bool DbRenameProfile(int profile, const std::wstring& name);
  bool DbGetProfileName(int profile, std::wstring& name);
  int DbListProfiles(std::vector<Profile>& list);
  bool DbSetCurrentProfile(int profile);
  int DbGetCurrentProfile();

  // The default rows of t_configdata, in one transaction.
  bool DbWriteDefaultSettings();

  // Key assignments.
  int DbSaveKeyAssignment(const KeyAssignment& assignment);
  bool DbGetKeyAssignment(int profile, int fnLayer, int keyCode, KeyAssignment& assignment);
  int DbListKeyAssignments(int profile, int fnLayer, std::vector<KeyAssignment>& list);
  bool DbRenameMacroAssignments(int macroId, const std::wstring& name);
  bool DbDeleteProfileAssignments(int profile);
  int DbAddKeyOtherData(const std::wstring& desc, const std::wstring& param, int type);
  bool DbGetKeyOtherData(int id, KeyOtherData& data);

  // Lighting.
  int DbCountLights(int profile);
  int DbAddLight(const LightSetting& light);
  bool DbUpdateLight(int profile, int mode, const LightSetting& light);
  bool DbSetCurrentLight(int profile, int mode);
  int DbGetCurrentLightMode(int profile);
  bool DbGetLight(int profile, int mode, LightSetting& light);
  int DbListLights(int profile, std::vector<LightSetting>& list);
  // Consumes the list; the number of rows stored (all of them or, when the
  // batch was rolled back, 0).
  int DbAddKeyLights(std::vector<KeyLight>& list);
  bool DbDeleteKeyLights();
  int DbListKeyLights(int lightId, std::vector<KeyLight>& list);
  // DbDeleteKeyLights and DbAddKeyLights in one transaction: the user's
  // per-key colours are replaced completely or kept as they were.
  int DbReplaceKeyLights(std::vector<KeyLight>& list);

  // Music-light layers (profile 1, layer 1).
  int DbCountMusicLayers();
  int DbAddMusicLayer(const std::wstring& name, int foremode);
  bool DbGetMusicLayer(int layerId, MusicLayer& layer);
  bool DbUpdateMusicLayer(const MusicLayer& layer);
  bool DbSelectMusicLayer();
  int DbGetSelectedMusicLayer();

  // Macros.
  int DbAddMacro(const std::wstring& name);
  int DbInsertMacro(const Macro& macro);
  bool DbRenameMacro(int macroId, const std::wstring& name);
  bool DbUpdateMacroPlayback(const Macro& macro);
  bool DbDeleteMacro(int macroId);
  int DbGetMacroPlayTimes(int macroId);
  bool DbGetMacro(int macroId, Macro& macro);
  int DbListMacros(std::vector<Macro>& list);
  int DbAddMacroEvent(const MacroEvent& event);
  // Consumes the list; true when every event was stored.
  bool DbAddMacroEvents(std::vector<MacroEvent>& list);
  int DbListMacroEvents(int macroId, std::vector<MacroEvent>& list);
  bool DbDeleteMacroEvents(int macroId);
  int DbCountMacroKeyEvents(int macroId);
  // DbDeleteMacroEvents and DbAddMacroEvents in one transaction.
  bool DbReplaceMacroEvents(int macroId, std::vector<MacroEvent>& list);

 private:
  friend class SQLiteAutoTransaction;

  // Transactions (see SQLiteAutoTransaction).
  std::recursive_mutex& Lock() { return m_lock; }
  bool BeginTransaction();
  bool EndTransaction();
  void FailTransaction();
  bool TransactionFailed() const;

  // Runs one statement that returns no rows; true when its step ended in
  // 0, 100 or 101.
  bool Change(const char* sql, std::initializer_list<SqlArg> args);
  // Runs a prepared INSERT again with new values (a batch prepares its
  // statement once); true when it stored the row.
  bool InsertAgain(SQLiteStatement& statement, std::initializer_list<SqlArg> args);
  // Runs an INSERT; the new row id, or 0.
  int Insert(const char* sql, std::initializer_list<SqlArg> args);
  // Prepares and binds; the result code (a failure is noted).
  int PrepareBound(SQLiteStatement& statement, const char* sql, std::initializer_list<SqlArg> args);
  // Steps through the rows, calling `row` for each; true when the query ran
  // to its end.
  bool Query(const char* sql, std::initializer_list<SqlArg> args,
             const std::function<void(const SQLiteStatement&)>& row);
  // The first column of the first row as an int, or 0.
  int QueryInt(const char* sql, std::initializer_list<SqlArg> args);
  bool AddKeyLightRows(std::vector<KeyLight>& list);
  bool AddMacroEventRows(std::vector<MacroEvent>& list);

  // Notes a failed SQLite call: marks the running transaction failed and
  // reports what the user must know about (a full disk, damage, I/O) once.
  void NoteResult(int rc);
  void Report(const std::string& what);

  // Opening.
  bool OpenExisting();
  bool CreateNew();
  bool Configure();
  bool CreateSchema();
  // The integrity check's verdict: empty when the file is sound, otherwise
  // what is wrong with it.
  std::string CheckIntegrity(int& rc);
  bool IsDamageCode(int rc) const;
  bool MoveAside(const std::string& why);
  void CloseConnection();

  mutable std::recursive_mutex m_lock;
  SQLiteDB m_connection;
  std::string m_path;
  bool m_opened = false;
  int m_configureResult = 0;
  int m_transactionDepth = 0;
  bool m_transactionFailed = false;
  std::set<int> m_reported;
};
