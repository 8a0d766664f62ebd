#pragma once
// The program's two stored values, "LCID" and "exit_mode", kept where the
// Windows build keeps HKEY_CURRENT_USER\SOFTWARE\<device name>: in
// $XDG_CONFIG_HOME/<device name>/settings.conf (see platform/SettingsFile.h).
// The device name is the one held by Manager.
//
// The folder plays the key: reading creates it when it is missing, as
// opening the key does, and writing needs it to exist already.  Values are
// decimal text.
//
// Any thread (the UI thread and the controller's worker both use them).
#include <string>

// The value as a number.  0 when the folder was missing (it is created),
// when it cannot be used, and when the value is missing or is not a whole
// decimal number that fits an int.
int ReadRegistryInt(const std::wstring& name);

// Stores the text when the folder exists; otherwise, and on any failure,
// nothing happens.
void WriteRegistryString(const std::wstring& name, const std::wstring& text);

// The stored language: 0 when the folder was missing and has been created
// (first run) or when "LCID" is missing or not a number; 1033 when the
// folder cannot be created or used; otherwise the number in "LCID".
int ReadStoredLanguage();

void WriteStoredLanguage(int lcid);

// Decimal text to a number, as the stored values are read: optional spaces
// around an optional sign and digits; anything else, or a number beyond
// int, is 0.
int DecimalValue(const std::wstring& text);
