#pragma once
// Process-wide values every part of the application relies on, next to the
// device name that Manager holds.
#include <atomic>
#include <string>

// The language in use (an LCID, naming the language file "<id>.lan").  Set
// at start-up; the settings page may change it later.  Read from any thread.
extern std::atomic<int> LanguageId;

// The folder of the shipped files (config.xml, layouts/, language/, skins/).
std::wstring ModuleFolder();

// The per-user data folder of the current device name, ending in '/'.
std::wstring UserDataFolder();

// UserDataFolder() + "db": where the settings database lives.
std::wstring DatabaseFolder();
