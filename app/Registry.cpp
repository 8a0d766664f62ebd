#include "app/Registry.h"

#include <limits>
#include <string>

#include "platform/SettingsFile.h"
#include "platform/UiLanguage.h"
#include "toolkit/core/Manager.h"

namespace {

using KeyState = platform::SettingsFile::KeyState;

platform::SettingsFile ProgramSettings() {
  return platform::SettingsFile(platform::SettingsFile::FolderFor(Manager::GetDeviceName()));
}

bool IsSpace(wchar_t c) { return c == L' ' || c == L'\t'; }

}  // namespace

int DecimalValue(const std::wstring& text) {
  size_t i = 0;
  while (i < text.size() && IsSpace(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == L'-' || text[i] == L'+')) negative = text[i++] == L'-';
  const size_t digits = i;
  long long value = 0;
  for (; i < text.size() && text[i] >= L'0' && text[i] <= L'9'; ++i) {
    value = value * 10 + (text[i] - L'0');
    if (value > static_cast<long long>(std::numeric_limits<int>::max()) + 1) return 0;
  }
  if (i == digits) return 0;
  while (i < text.size() && IsSpace(text[i])) ++i;
  if (i != text.size()) return 0;
  if (negative) value = -value;
  if (value > std::numeric_limits<int>::max()) return 0;
  return static_cast<int>(value);
}

int ReadRegistryInt(const std::wstring& name) {
  const platform::SettingsFile settings = ProgramSettings();
  if (settings.Open(true) != KeyState::Present) return 0;
  const auto text = settings.Read(name);
  return text ? DecimalValue(*text) : 0;
}

void WriteRegistryString(const std::wstring& name, const std::wstring& text) {
  ProgramSettings().Write(name, text);
}

int ReadStoredLanguage() {
  const platform::SettingsFile settings = ProgramSettings();
  switch (settings.Open(true)) {
    case KeyState::Created:
      return 0;
    case KeyState::Present:
      break;
    default:
      return platform::kEnglishUnitedStates;
  }
  const auto text = settings.Read(L"LCID");
  return text ? DecimalValue(*text) : 0;
}

void WriteStoredLanguage(int lcid) { WriteRegistryString(L"LCID", std::to_wstring(lcid)); }
