#pragma once
// The naming rules of profiles and macros: generated unique names, the
// blocked-word test and the display names that translate a stored prefix
// into the current language.  Pure functions; any thread.
#include <string>
#include <vector>

// The first of "<base> 1", "<base> 2" ... "<base> 1000" that is not in
// `taken` (exact comparison); when all are taken, "<base> 1000" again.
std::wstring MakeUniqueName(const std::wstring& base, const std::vector<std::wstring>& taken);

// True when any entry of `blockedWords` (lower case) occurs anywhere in the
// lower-cased text.  An empty list never matches.
bool IsBlockedName(const std::wstring& text, const std::vector<std::wstring>& blockedWords);

// The words that profile and macro names may not contain: slurs and the
// like, so that names never show offensive text on shared machines.
const std::vector<std::wstring>& DefaultBlockedWords();

// A stored profile name as the profile list shows it: under English a name
// starting with the word "Profil", under Turkish one starting with the word
// "Profile", is shown with the language's profile word (text 65) instead.
// Only a whole word is replaced, so "Profile 2" stays itself under English.
std::wstring ProfileDisplayName(const std::wstring& stored, int languageId, const std::wstring& profileWord);

// A stored macro name as lists and key tips show it: under English a name
// starting with the word "Makro", under Turkish one starting with the word
// "Macro", gets the language's macro word (text 331) instead.
std::wstring MacroDisplayName(const std::wstring& stored, int languageId, const std::wstring& macroWord);
