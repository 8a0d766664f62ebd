#pragma once
// Macro exchange files (root `macro`): one macro with its events.  The file
// dialogs and the macro list belong to the macro page; these functions do
// the file and store work and return what the page shows.
//
// Thread rules: any thread; the store's operations lock themselves, and an
// import holds the store for its whole run.
#include <string>

#include "store/ExchangeFile.h"

class SettingsStore;

struct MacroImport {
  // False when the file was missing, not well-formed, had another root, or
  // the store failed; then nothing at all was stored.
  bool imported = false;
  int macro_id = 0;
  std::wstring name;  // from the file name
};

ExportResult ExportMacro(SettingsStore& store, const std::wstring& path, int macroId);

// Adds the file's macro, named after the file, with its events, in one
// transaction.
MacroImport ImportMacro(SettingsStore& store, const std::wstring& path);
