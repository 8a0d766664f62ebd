#include "model/NameRules.h"

#include <algorithm>
#include <cwchar>
#include <cwctype>

namespace {

constexpr int kEnglish = 1033;
constexpr int kTurkish = 1055;

std::wstring Lower(std::wstring text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](wchar_t c) { return static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c))); });
  return text;
}

// True when `stored` starts with `prefix` as a whole word: a letter right
// after it means the name only starts like the word ("Profile 2" under
// English starts with "Profil" but must stay as it is).
bool StartsWithWord(const std::wstring& stored, const std::wstring& prefix) {
  if (stored.compare(0, prefix.size(), prefix) != 0) return false;
  return stored.size() == prefix.size() || !std::iswalpha(static_cast<wint_t>(stored[prefix.size()]));
}

}  // namespace

std::wstring MakeUniqueName(const std::wstring& base, const std::vector<std::wstring>& taken) {
  std::wstring candidate;
  for (int number = 1; number <= 1000; ++number) {
    candidate = base + L" " + std::to_wstring(number);
    if (std::find(taken.begin(), taken.end(), candidate) == taken.end()) return candidate;
  }
  return candidate;
}

bool IsBlockedName(const std::wstring& text, const std::vector<std::wstring>& blockedWords) {
  const std::wstring lowered = Lower(text);
  for (const auto& word : blockedWords) {
    if (!word.empty() && lowered.find(word) != std::wstring::npos) return true;
  }
  return false;
}

const std::vector<std::wstring>& DefaultBlockedWords() {
  static const std::vector<std::wstring> words = {
      // Substring matching blocks every name that contains an entry, so
      // short words that occur inside ordinary names (in either shipped
      // language) are left out.
      L"fuck", L"shit", L"cunt", L"nigger", L"faggot", L"whore", L"siktir", L"orospu", L"yarrak",
      L"amc\u0131k",
  };
  return words;
}

std::wstring ProfileDisplayName(const std::wstring& stored, int languageId, const std::wstring& profileWord) {
  // A name made under the other language shows this language's word.
  const wchar_t* foreign = languageId == kEnglish ? L"Profil" : languageId == kTurkish ? L"Profile" : nullptr;
  if (foreign && StartsWithWord(stored, foreign)) return profileWord + stored.substr(std::wcslen(foreign));
  return stored;
}

std::wstring MacroDisplayName(const std::wstring& stored, int languageId, const std::wstring& macroWord) {
  const wchar_t* foreign = languageId == kEnglish ? L"Makro" : languageId == kTurkish ? L"Macro" : nullptr;
  if (foreign && StartsWithWord(stored, foreign)) return macroWord + stored.substr(std::wcslen(foreign));
  return stored;
}
