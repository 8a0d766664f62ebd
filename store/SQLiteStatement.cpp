#include "store/SQLiteStatement.h"

#include <sqlite3.h>

#include "platform/TextConvert.h"

SQLiteStatement::~SQLiteStatement() { Finalize(); }

int SQLiteStatement::Prepare(sqlite3* db, const char* sql, int length) {
  Finalize();
  if (db == nullptr || sql == nullptr) {
    return SQLITE_MISUSE;
  }
  sqlite3_stmt* statement = nullptr;
  const int rc = sqlite3_prepare_v2(db, sql, length, &statement, nullptr);
  if (rc != SQLITE_OK) {
    sqlite3_finalize(statement);
    return rc;
  }
  m_statement = statement;
  m_finished = 1;
  return rc;
}

int SQLiteStatement::Finalize() {
  if (m_statement == nullptr) {
    return SQLITE_OK;
  }
  // sqlite3_finalize repeats the last step's error, but the statement is
  // gone either way.
  const int rc = sqlite3_finalize(m_statement);
  m_statement = nullptr;
  m_finished = 1;
  return rc;
}

int SQLiteStatement::BindInt(int index, int value) {
  if (m_statement == nullptr) {
    return SQLITE_MISUSE;
  }
  return sqlite3_bind_int(m_statement, index, value);
}

int SQLiteStatement::BindText(int index, const char* utf8, int length) {
  if (m_statement == nullptr) {
    return SQLITE_MISUSE;
  }
  return sqlite3_bind_text(m_statement, index, utf8, length, SQLITE_TRANSIENT);
}

int SQLiteStatement::BindNull(int index) {
  if (m_statement == nullptr) {
    return SQLITE_MISUSE;
  }
  return sqlite3_bind_null(m_statement, index);
}

int SQLiteStatement::Reset() {
  if (m_statement == nullptr) {
    return SQLITE_MISUSE;
  }
  m_finished = 1;
  sqlite3_reset(m_statement);
  return sqlite3_clear_bindings(m_statement);
}

int SQLiteStatement::Step() {
  if (m_statement == nullptr) {
    return SQLITE_MISUSE;
  }
  const int rc = sqlite3_step(m_statement);
  m_finished = rc == SQLITE_ROW ? 0 : 1;
  return rc;
}

int SQLiteStatement::ColumnCount() const {
  if (m_statement == nullptr) {
    return 0;
  }
  return sqlite3_column_count(m_statement);
}

int SQLiteStatement::ColumnInt(int column) const {
  if (m_statement == nullptr) {
    return 0;
  }
  return sqlite3_column_int(m_statement, column);
}

const char* SQLiteStatement::ColumnText(int column) const {
  if (m_statement == nullptr) {
    return nullptr;
  }
  return reinterpret_cast<const char*>(sqlite3_column_text(m_statement, column));
}

std::wstring SQLiteStatement::ColumnWide(int column) const {
  const char* text = ColumnText(column);
  if (text == nullptr) {
    return {};
  }
  const int length = sqlite3_column_bytes(m_statement, column);
  return platform::FromUtf8(std::string_view(text, static_cast<size_t>(length)));
}
