#pragma once
// One SQLite connection, owned.  Move-only; the destructor interrupts any
// running statement and closes the handle.
//
// Thread rules: the connection is opened in SQLite's serialized mode, but the
// object itself is not locked; SettingsStore serialises every use under its
// own lock.
#include <string>

struct sqlite3;

class SQLiteDB {
 public:
  SQLiteDB() = default;
  virtual ~SQLiteDB();
  SQLiteDB(const SQLiteDB&) = delete;
  SQLiteDB& operator=(const SQLiteDB&) = delete;
  SQLiteDB(SQLiteDB&& other) noexcept;
  SQLiteDB& operator=(SQLiteDB&& other) noexcept;

  // Interrupts and closes whatever the object holds, then opens `path`
  // (UTF-8) with the SQLite open flags.  On failure the message is kept for
  // ErrorMessage() and the handle is closed again.  Returns SQLite's code.
  int Open(const std::string& path, int flags);
  // True when the handle was closed or there was none.
  bool Close();

  sqlite3* Handle() const { return m_handle; }
  // SQLite's text for the last failure on this connection (or of the last
  // failed Open).
  std::string ErrorMessage() const;

 private:
  sqlite3* m_handle = nullptr;
  std::string m_openError;
};
