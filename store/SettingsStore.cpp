#include "store/SettingsStore.h"

#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <ctime>

#include "platform/TextConvert.h"
#include "store/Schema.h"

namespace {

constexpr int kOpenFlags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_FULLMUTEX;
// How long a statement waits for another connection (the command-line tool,
// a second program) to finish its write before it gives up.
constexpr int kBusyTimeoutMs = 5000;

bool IsSuccess(int rc) { return rc == SQLITE_OK || rc == SQLITE_ROW || rc == SQLITE_DONE; }

bool FileExists(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0;
}

std::string TimeStamp() {
  const std::time_t now = std::time(nullptr);
  std::tm parts{};
  gmtime_r(&now, &parts);
  char text[32] = {};
  std::strftime(text, sizeof text, "%Y%m%d-%H%M%S", &parts);
  return text;
}

}  // namespace

SettingsStore::SettingsStore() = default;

SettingsStore::~SettingsStore() { Close(); }

SettingsStore& SettingsStore::Instance() {
  static SettingsStore store;
  return store;
}

std::wstring SettingsStore::DatabasePath(const std::wstring& folder, const std::wstring& keyboardName) {
  std::wstring path = folder;
  if (!path.empty() && path.back() != L'/') {
    path += L'/';
  }
  return path + L"db/" + keyboardName + L"_data_v1.db";
}

bool SettingsStore::Open(const std::wstring& folder, const std::wstring& keyboardName) {
  std::scoped_lock lock(m_lock);
  const std::string path = platform::ToUtf8(DatabasePath(folder, keyboardName));
  if (m_connection.Handle() != nullptr && path == m_path) {
    m_opened = true;
    return true;
  }
  CloseConnection();
  m_path = path;
  m_reported.clear();
  m_opened = FileExists(m_path) ? OpenExisting() : CreateNew();
  return m_opened;
}

bool SettingsStore::Close() {
  std::scoped_lock lock(m_lock);
  m_opened = false;
  m_transactionDepth = 0;
  m_transactionFailed = false;
  return m_connection.Close();
}

void SettingsStore::Delete(const std::wstring& folder, const std::wstring& keyboardName) {
  std::scoped_lock lock(m_lock);
  const std::string path = platform::ToUtf8(DatabasePath(folder, keyboardName));
  if (m_connection.Handle() != nullptr && path == m_path) {
    Close();
  }
  // A WAL file left beside a deleted database would be replayed into the
  // fresh one, so it goes with it.
  for (const char* suffix : {"", "-wal", "-shm", "-journal"}) {
    ::unlink((path + suffix).c_str());
  }
}

bool SettingsStore::IsOpen() const {
  std::scoped_lock lock(m_lock);
  return m_connection.Handle() != nullptr;
}

std::string SettingsStore::Path() const {
  std::scoped_lock lock(m_lock);
  return m_path;
}

int SettingsStore::Exec(const char* sql) {
  std::scoped_lock lock(m_lock);
  if (m_connection.Handle() == nullptr || sql == nullptr || *sql == '\0') {
    return SQLITE_MISUSE;
  }
  const int rc = sqlite3_exec(m_connection.Handle(), sql, nullptr, nullptr, nullptr);
  NoteResult(rc);
  return rc;
}

int SettingsStore::Prepare(SQLiteStatement& statement, const char* sql, int length) {
  std::scoped_lock lock(m_lock);
  statement.Finalize();
  if (m_connection.Handle() == nullptr || sql == nullptr) {
    return SQLITE_MISUSE;
  }
  const int rc = statement.Prepare(m_connection.Handle(), sql, length);
  NoteResult(rc);
  return rc;
}

std::int64_t SettingsStore::LastInsertRowId() {
  std::scoped_lock lock(m_lock);
  if (m_connection.Handle() == nullptr) {
    return -1;
  }
  return sqlite3_last_insert_rowid(m_connection.Handle());
}

bool SettingsStore::BeginTransaction() {
  if (m_connection.Handle() == nullptr) {
    return false;
  }
  if (m_transactionDepth == 0) {
    // IMMEDIATE takes the write lock at once (waiting through the busy
    // timeout), so a transaction that reads before it writes cannot fail
    // half-way because another connection wrote in between.
    const int rc = sqlite3_exec(m_connection.Handle(), "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) {
      NoteResult(rc);
      return false;
    }
    m_transactionFailed = false;
  }
  ++m_transactionDepth;
  return true;
}

bool SettingsStore::EndTransaction() {
  if (m_transactionDepth == 0) {
    return false;
  }
  if (--m_transactionDepth > 0) {
    return !m_transactionFailed;
  }
  sqlite3* handle = m_connection.Handle();
  if (handle == nullptr) {
    return false;
  }
  if (m_transactionFailed) {
    m_transactionFailed = false;
    sqlite3_exec(handle, "ROLLBACK", nullptr, nullptr, nullptr);
    return false;
  }
  const int rc = sqlite3_exec(handle, "END", nullptr, nullptr, nullptr);
  if (rc != SQLITE_OK) {
    NoteResult(rc);
    // A commit that failed (a full disk) can leave the transaction open;
    // nothing of it may stay behind.
    if (sqlite3_get_autocommit(handle) == 0) {
      sqlite3_exec(handle, "ROLLBACK", nullptr, nullptr, nullptr);
    }
    return false;
  }
  return true;
}

void SettingsStore::FailTransaction() {
  if (m_transactionDepth > 0) {
    m_transactionFailed = true;
  }
}

bool SettingsStore::TransactionFailed() const { return m_transactionFailed; }

int SettingsStore::PrepareBound(SQLiteStatement& statement, const char* sql,
                                std::initializer_list<SqlArg> args) {
  int rc = Prepare(statement, sql);
  if (rc != SQLITE_OK) {
    return rc;
  }
  int index = 1;
  for (const SqlArg& arg : args) {
    rc = arg.BindTo(statement, index++);
    if (rc != SQLITE_OK) {
      NoteResult(rc);
      return rc;
    }
  }
  return SQLITE_OK;
}

bool SettingsStore::Change(const char* sql, std::initializer_list<SqlArg> args) {
  std::scoped_lock lock(m_lock);
  SQLiteStatement statement;
  if (PrepareBound(statement, sql, args) != SQLITE_OK) {
    if (m_connection.Handle() != nullptr) {
      FailTransaction();
    }
    return false;
  }
  const int rc = statement.Step();
  if (!IsSuccess(rc)) {
    NoteResult(rc);
    return false;
  }
  return true;
}

bool SettingsStore::InsertAgain(SQLiteStatement& statement, std::initializer_list<SqlArg> args) {
  std::scoped_lock lock(m_lock);
  int rc = statement.Reset();
  int index = 1;
  for (const SqlArg& arg : args) {
    if (rc != SQLITE_OK) {
      break;
    }
    rc = arg.BindTo(statement, index++);
  }
  if (rc == SQLITE_OK) {
    rc = statement.Step();
  }
  if (!IsSuccess(rc)) {
    NoteResult(rc);
    return false;
  }
  return true;
}

int SettingsStore::Insert(const char* sql, std::initializer_list<SqlArg> args) {
  std::scoped_lock lock(m_lock);
  if (!Change(sql, args)) {
    return 0;
  }
  return static_cast<int>(LastInsertRowId());
}

bool SettingsStore::Query(const char* sql, std::initializer_list<SqlArg> args,
                          const std::function<void(const SQLiteStatement&)>& row) {
  std::scoped_lock lock(m_lock);
  SQLiteStatement statement;
  if (PrepareBound(statement, sql, args) != SQLITE_OK) {
    if (m_connection.Handle() != nullptr) {
      FailTransaction();
    }
    return false;
  }
  for (;;) {
    const int rc = statement.Step();
    if (rc == SQLITE_ROW) {
      row(statement);
    } else if (rc == SQLITE_DONE) {
      return true;
    } else {
      NoteResult(rc);
      return false;
    }
  }
}

int SettingsStore::QueryInt(const char* sql, std::initializer_list<SqlArg> args) {
  int value = 0;
  bool first = true;
  Query(sql, args, [&](const SQLiteStatement& statement) {
    if (first) {
      value = statement.ColumnInt(0);
      first = false;
    }
  });
  return value;
}

void SettingsStore::NoteResult(int rc) {
  if (IsSuccess(rc)) {
    return;
  }
  FailTransaction();
  const int primary = rc & 0xFF;
  switch (primary) {
    case SQLITE_FULL:
    case SQLITE_IOERR:
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
    case SQLITE_READONLY:
    case SQLITE_CANTOPEN:
    case SQLITE_BUSY:
      break;
    default:
      return;
  }
  if (m_reported.insert(primary).second) {
    Report(m_connection.ErrorMessage());
  }
}

void SettingsStore::Report(const std::string& what) {
  std::fprintf(stderr, "kestrel: settings database %s: %s\n", m_path.c_str(), what.c_str());
}

bool SettingsStore::IsDamageCode(int rc) const {
  const int primary = rc & 0xFF;
  return primary == SQLITE_CORRUPT || primary == SQLITE_NOTADB;
}

std::string SettingsStore::CheckIntegrity(int& rc) {
  SQLiteStatement statement;
  rc = statement.Prepare(m_connection.Handle(), "PRAGMA integrity_check", -1);
  std::string verdict;
  if (rc == SQLITE_OK) {
    while ((rc = statement.Step()) == SQLITE_ROW) {
      const char* text = statement.ColumnText(0);
      if (verdict.empty() && text != nullptr) {
        verdict = text;
      }
    }
  }
  if (rc == SQLITE_DONE) {
    rc = SQLITE_OK;
    return verdict == "ok" ? std::string() : verdict;
  }
  return IsDamageCode(rc) ? m_connection.ErrorMessage() : std::string();
}

bool SettingsStore::Configure() {
  sqlite3* handle = m_connection.Handle();
  sqlite3_busy_timeout(handle, kBusyTimeoutMs);
  // WAL keeps every commit atomic through a crash, and with it NORMAL is
  // enough; a file system that cannot do WAL keeps its journal and gets
  // FULL instead.
  SQLiteStatement statement;
  int rc = statement.Prepare(handle, "PRAGMA journal_mode=WAL", -1);
  std::string mode;
  if (rc == SQLITE_OK && (rc = statement.Step()) == SQLITE_ROW && statement.ColumnText(0) != nullptr) {
    mode = statement.ColumnText(0);
  }
  statement.Finalize();
  if (!IsSuccess(rc)) {
    m_configureResult = rc;
    return false;
  }
  const char* synchronous = mode == "wal" ? "PRAGMA synchronous=NORMAL" : "PRAGMA synchronous=FULL";
  rc = sqlite3_exec(handle, synchronous, nullptr, nullptr, nullptr);
  m_configureResult = rc;
  return rc == SQLITE_OK;
}

bool SettingsStore::CreateSchema() {
  sqlite3* handle = m_connection.Handle();
  int rc = sqlite3_exec(handle, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
  for (const char* sql : kSchemaStatements) {
    if (rc != SQLITE_OK) {
      break;
    }
    rc = sqlite3_exec(handle, sql, nullptr, nullptr, nullptr);
  }
  if (rc == SQLITE_OK) {
    rc = sqlite3_exec(handle, "COMMIT", nullptr, nullptr, nullptr);
  }
  if (rc != SQLITE_OK) {
    Report("cannot create the tables: " + m_connection.ErrorMessage());
    if (sqlite3_get_autocommit(handle) == 0) {
      sqlite3_exec(handle, "ROLLBACK", nullptr, nullptr, nullptr);
    }
    return false;
  }
  return true;
}

bool SettingsStore::OpenExisting() {
  if (m_connection.Open(m_path, kOpenFlags) != SQLITE_OK) {
    Report("cannot open: " + m_connection.ErrorMessage());
    return false;
  }
  sqlite3_busy_timeout(m_connection.Handle(), kBusyTimeoutMs);
  int rc = SQLITE_OK;
  std::string damage = CheckIntegrity(rc);
  if (damage.empty() && rc == SQLITE_OK && !Configure()) {
    rc = m_configureResult;
    if (IsDamageCode(rc)) {
      damage = m_connection.ErrorMessage();
    }
  }
  if (!damage.empty()) {
    return MoveAside(damage) && CreateNew();
  }
  if (rc != SQLITE_OK) {
    Report("cannot open: " + m_connection.ErrorMessage());
    CloseConnection();
    return false;
  }
  // A file whose creation was cut short before its tables were committed
  // holds no tables; it gets them now instead of failing every operation.
  if (QueryInt("SELECT count(*) FROM sqlite_master", {}) == 0 && !CreateSchema()) {
    CloseConnection();
    return false;
  }
  return true;
}

bool SettingsStore::CreateNew() {
  if (m_connection.Open(m_path, kOpenFlags | SQLITE_OPEN_CREATE) != SQLITE_OK) {
    Report("cannot create: " + m_connection.ErrorMessage());
    return false;
  }
  if (!Configure() || !CreateSchema()) {
    if (m_configureResult != SQLITE_OK) {
      Report("cannot create: " + m_connection.ErrorMessage());
    }
    CloseConnection();
    return false;
  }
  return true;
}

bool SettingsStore::MoveAside(const std::string& why) {
  CloseConnection();
  std::string target = m_path + ".corrupt-" + TimeStamp();
  for (int n = 1; FileExists(target) && n < 100; ++n) {
    target = m_path + ".corrupt-" + TimeStamp() + "-" + std::to_string(n);
  }
  if (std::rename(m_path.c_str(), target.c_str()) != 0) {
    Report("is damaged (" + why + ") and cannot be moved aside");
    return false;
  }
  // The WAL belongs to the damaged file: it travels with it, so that the
  // new database does not replay it.
  std::rename((m_path + "-wal").c_str(), (target + "-wal").c_str());
  ::unlink((m_path + "-shm").c_str());
  Report("is damaged (" + why + "); it was moved to " + target + " and a new one was created");
  return true;
}

void SettingsStore::CloseConnection() {
  m_transactionDepth = 0;
  m_transactionFailed = false;
  m_connection.Close();
}
