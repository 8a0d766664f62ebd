#pragma once
// Helpers for the store's tests: a temporary user data folder (with its db
// folder) that is removed afterwards, and raw queries on a store.
#include <string>
#include <vector>

class SettingsStore;

class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  // The folder, ending in '/', as wide text and as UTF-8.
  const std::wstring& Wide() const { return m_wide; }
  const std::string& Path() const { return m_path; }
  // The database file of keyboard "Kestrel K87" in this folder.
  std::string DatabaseFile() const;

 private:
  std::string m_path;
  std::wstring m_wide;
};

inline const std::wstring kKeyboard = L"Kestrel K87";

// Every row of a query, each column as text ("NULL" for null).
std::vector<std::vector<std::string>> Rows(SettingsStore& store, const std::string& sql);
// The first column of the first row, or "" when there is none.
std::string Scalar(SettingsStore& store, const std::string& sql);
// The names of the files in a folder.
std::vector<std::string> FilesIn(const std::string& folder);
