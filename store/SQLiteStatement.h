#pragma once
// One prepared statement, owned; finalized on destruction.  Every operation
// on an object without a prepared statement returns 21 (SQLITE_MISUSE).
// Parameter indexes start at 1, column indexes at 0.
//
// Thread rules: used by one thread at a time, under the store's lock.
#include <cstdint>
#include <string>

struct sqlite3;
struct sqlite3_stmt;

class SQLiteStatement {
 public:
  SQLiteStatement() = default;
  virtual ~SQLiteStatement();
  SQLiteStatement(const SQLiteStatement&) = delete;
  SQLiteStatement& operator=(const SQLiteStatement&) = delete;

  // Finalizes what the object held and prepares `sql` on `db`; a length of
  // -1 reads up to the terminating NUL.  SettingsStore::Prepare is the
  // caller's way in; this one does the work.
  int Prepare(sqlite3* db, const char* sql, int length);
  int Finalize();

  int BindInt(int index, int value);
  // The text is copied by SQLite, so it need not outlive the call.
  int BindText(int index, const char* utf8, int length);
  int BindNull(int index);

  // Makes the statement ready to run again with new bindings.
  int Reset();

  // 100 (SQLITE_ROW) when a row is ready, 101 (SQLITE_DONE) at the end.
  int Step();

  // Columns of the current row; 0 without a statement.
  int ColumnCount() const;
  int ColumnInt(int column) const;
  // UTF-8; null without a statement or for a NULL value.
  const char* ColumnText(int column) const;
  // The column as wide text; empty for NULL.
  std::wstring ColumnWide(int column) const;

  bool HasStatement() const { return m_statement != nullptr; }
  bool Finished() const { return m_finished != 0; }

 private:
  int m_finished = 1;
  sqlite3_stmt* m_statement = nullptr;
};
