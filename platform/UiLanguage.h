#pragma once
// The user's interface language as a Windows language id (LCID), which is
// how the language files are named.  Taken from the locale: the first of
// LC_ALL, LC_MESSAGES and LANG that is set and not empty decides, as it does
// for every other program.  Pure functions over the environment; any thread.
#include <string_view>

namespace platform {

constexpr int kEnglishUnitedStates = 1033;

// "de_DE.UTF-8", "pt_BR", "zh_TW.Big5", "fr_FR@euro" ... to an LCID.  A
// territory the table does not know falls back to the language's main
// LCID; C, POSIX, an empty or unknown locale give 1033.
int LcidFromLocale(std::string_view locale);

// The LCID of the current locale.
int UserDefaultUILanguage();

}  // namespace platform
