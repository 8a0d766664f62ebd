#pragma once
// Profile exchange files (root `profile`): one profile's key assignments of
// Fn layer 0 and the macros they play.  The file dialogs and the page's
// lists belong to the custom key page; these functions do the file and
// store work and return what the page shows.
//
// Thread rules: any thread; the store's operations lock themselves, and an
// import holds the store for its whole run.
#include <string>
#include <vector>

#include "store/ExchangeFile.h"

class SettingsStore;

struct ImportedMacro {
  int macro_id = 0;
  std::wstring name;
};

struct ProfileImport {
  // False when the file was missing, not well-formed, had another root, or
  // the store failed; then nothing at all was stored.
  bool imported = false;
  int profile = 0;  // the new profile, made current
  std::wstring name;
  // The macros added, in file order, for the macro page's list.
  std::vector<ImportedMacro> macros;
};

// Writes profile `profileId` under the name the page shows for it.
ExportResult ExportProfile(SettingsStore& store, const std::wstring& path, int profileId,
                           const std::wstring& profileName);

// Adds the file's macros (but not those the store already holds with the
// same name and id) and a new profile named after the file with the file's
// assignments, all in one transaction.
ProfileImport ImportProfile(SettingsStore& store, const std::wstring& path);
