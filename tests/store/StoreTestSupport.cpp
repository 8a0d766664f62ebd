#include "StoreTestSupport.h"

#include <dirent.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>

#include "platform/TextConvert.h"
#include "store/SettingsStore.h"

TempFolder::TempFolder() {
  char pattern[] = "/tmp/kestrel-store-test.XXXXXX";
  const char* made = mkdtemp(pattern);
  m_path = std::string(made != nullptr ? made : "/tmp") + "/";
  ::mkdir((m_path + "db").c_str(), 0700);
  m_wide = platform::FromUtf8(m_path);
}

TempFolder::~TempFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(m_path, ignored);
}

std::string TempFolder::DatabaseFile() const { return m_path + "db/Kestrel K87_data_v1.db"; }

std::vector<std::vector<std::string>> Rows(SettingsStore& store, const std::string& sql) {
  std::vector<std::vector<std::string>> rows;
  SQLiteStatement statement;
  if (store.Prepare(statement, sql.c_str()) != 0) {
    return rows;
  }
  while (statement.Step() == 100) {
    std::vector<std::string> row;
    for (int column = 0; column < statement.ColumnCount(); ++column) {
      const char* text = statement.ColumnText(column);
      row.push_back(text != nullptr ? text : "NULL");
    }
    rows.push_back(row);
  }
  return rows;
}

std::string Scalar(SettingsStore& store, const std::string& sql) {
  SQLiteStatement statement;
  if (store.Prepare(statement, sql.c_str()) != 0 || statement.Step() != 100) {
    return "";
  }
  const char* text = statement.ColumnText(0);
  return text != nullptr ? text : "NULL";
}

std::vector<std::string> FilesIn(const std::string& folder) {
  std::vector<std::string> names;
  std::error_code ignored;
  for (const auto& entry : std::filesystem::directory_iterator(folder, ignored)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}
