#include "store/SQLiteDB.h"

#include <sqlite3.h>

#include <utility>

namespace {

// Interrupts statements that are still running.  An interrupt while none
// runs is not harmless: the flag stays set and cuts short the checkpoint
// that closing the last connection does, which leaves the WAL behind.
void InterruptRunning(sqlite3* handle) {
  for (sqlite3_stmt* statement = sqlite3_next_stmt(handle, nullptr); statement != nullptr;
       statement = sqlite3_next_stmt(handle, statement)) {
    if (sqlite3_stmt_busy(statement) != 0) {
      sqlite3_interrupt(handle);
      return;
    }
  }
}

}  // namespace

SQLiteDB::~SQLiteDB() {
  if (m_handle != nullptr) {
    InterruptRunning(m_handle);
    // close_v2 never leaves the handle behind, even if a statement somewhere
    // was not finalized: the connection goes when its last statement does.
    sqlite3_close_v2(m_handle);
  }
}

SQLiteDB::SQLiteDB(SQLiteDB&& other) noexcept
    : m_handle(std::exchange(other.m_handle, nullptr)),
      m_openError(std::move(other.m_openError)) {}

SQLiteDB& SQLiteDB::operator=(SQLiteDB&& other) noexcept {
  if (this != &other) {
    Close();
    m_handle = std::exchange(other.m_handle, nullptr);
    m_openError = std::move(other.m_openError);
  }
  return *this;
}

int SQLiteDB::Open(const std::string& path, int flags) {
  Close();
  m_openError.clear();
  sqlite3* handle = nullptr;
  const int rc = sqlite3_open_v2(path.c_str(), &handle, flags, nullptr);
  if (rc != SQLITE_OK) {
    m_openError = handle != nullptr ? sqlite3_errmsg(handle) : sqlite3_errstr(rc);
    sqlite3_close_v2(handle);
    return rc;
  }
  m_handle = handle;
  return rc;
}

bool SQLiteDB::Close() {
  if (m_handle == nullptr) {
    return true;
  }
  InterruptRunning(m_handle);
  if (sqlite3_close(m_handle) != SQLITE_OK) {
    return false;
  }
  m_handle = nullptr;
  return true;
}

std::string SQLiteDB::ErrorMessage() const {
  if (m_handle == nullptr) {
    return m_openError;
  }
  return sqlite3_errmsg(m_handle);
}
