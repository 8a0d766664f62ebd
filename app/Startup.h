#pragma once
// Start-up of the program, in its fixed order: the device name from
// config.xml, the single-instance check with its hand-over, the language,
// the module instance, the data folders.  The last step, creating and
// running the main window, is handed in by the caller, so that start-up can
// run with the real window, with a stand-in while there is none, and in
// tests.
//
// Runs on the main thread, before any window exists.
#include <functional>
#include <string>

#include "toolkit/core/Manager.h"

class HandOver;

// What start-up has settled by the time the main window is created.
struct StartupContext {
  explicit StartupContext(HandOver& requests) : handOver(requests) {}

  // Where the requests of later starts and of outside senders wait for the
  // main window (it calls SetTarget once it can take them).
  HandOver& handOver;
  std::wstring programFolder;
  std::wstring userDataFolder;
  std::wstring databaseFolder;
  // False when the database folder could not be created or written; this
  // was reported on stderr and the run goes on without stored settings.
  bool dataFolderUsable = false;
  // False when no instance channel could be opened (later starts then find
  // the lock but cannot ask this one to show itself).
  bool channelOpen = false;
};

// Creates the main window, runs it until it closes and returns the exit
// code of the program.
using MainWindowStep = std::function<int(StartupContext& context)>;

struct StartupOptions {
  // Where config.xml is read from; empty means the program's own folder.
  std::wstring programFolder;
  Manager::InstanceHandle instance = nullptr;
};

// The whole start-up.  Returns 0 when another instance runs (it has been
// asked to show its window); otherwise what `runMainWindow` returns.
int RunStartup(const StartupOptions& options, const MainWindowStep& runMainWindow);

// The `name` of `software` inside `config` of the file; empty when the file,
// an element or the attribute is missing or the file is not well-formed.
std::wstring ReadDeviceName(const std::wstring& configPath);

// The first-run rule.  A stored language (non-zero) is used as it is and
// nothing is stored.  Without one, this run uses the interface language,
// and 1033 is stored when that is 1033, 1055 for any other.
struct LanguageChoice {
  int inUse = 0;
  int toStore = 0;  // 0: nothing to store
};
LanguageChoice ChooseLanguage(int stored, int uiLanguage);

// The language step: reads the stored language, applies the first-run rule
// against the locale, stores what it says and sets LanguageId.  Returns the
// language in use.
int StartLanguage();

// Creates the database folder with its parents; when that fails or the
// folder cannot be written, says so once on stderr.  True when usable.
bool PrepareDatabaseFolder(const std::wstring& databaseFolder);
