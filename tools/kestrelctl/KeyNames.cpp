#include "KeyNames.h"

#include <cwctype>

#include "Arguments.h"
#include "Output.h"
#include "model/KeyCodes.h"
#include "model/KeyboardLayout.h"

namespace {

// Lower case without blanks, so "capslock" finds "Caps Lock".
std::wstring Lower(const std::wstring& text) {
  std::wstring folded;
  for (wchar_t c : text) {
    if (c != L' ') folded += static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
  }
  return folded;
}

bool Same(const std::wstring& a, const std::wstring& b) { return !a.empty() && Lower(a) == Lower(b); }

}  // namespace

std::optional<int> ResolveKey(const KeyboardLayout& layout, const std::string& word) {
  if (const auto code = ParseNumber(word)) {
    for (const auto& key : layout.Keys()) {
      if (static_cast<int>(key.code) == *code) return *code;
    }
    return std::nullopt;
  }
  const std::wstring wanted = Wide(word);
  // Labels first, then descriptions and the other names of a key, so that
  // "1" is the digit's key and not a key whose description holds a 1.
  for (const auto& key : layout.Keys()) {
    if (Same(key.name, wanted)) return static_cast<int>(key.code);
  }
  for (const auto& key : layout.Keys()) {
    const int code = static_cast<int>(key.code);
    const KeyFunctionEntry* entry = FindKeyFunction(code);
    if (Same(key.description, wanted) || Same(KeyCodeLabel(code), wanted) ||
        (entry != nullptr && Same(entry->label, wanted))) {
      return code;
    }
  }
  return std::nullopt;
}

std::wstring KeyName(const KeyboardLayout& layout, int code) {
  for (const auto& key : layout.Keys()) {
    if (static_cast<int>(key.code) != code) continue;
    if (!key.name.empty()) return key.name;
    if (!key.description.empty()) return key.description;
  }
  const std::wstring label = KeyCodeLabel(code);
  return label.empty() ? L"0x" + std::to_wstring(code) : label;
}

const KeyFunctionEntry* ResolveFunction(const std::string& word, const TextLookup& text) {
  if (const auto code = ParseNumber(word)) return FindKeyFunction(*code);
  const std::wstring wanted = Wide(word);
  for (const auto& entry : KeyFunctionCatalog()) {
    if (Same(entry.commandName, wanted) || Same(entry.label, wanted)) return &entry;
  }
  for (const auto& entry : KeyFunctionCatalog()) {
    if (entry.descriptionTextId != 0 && Same(text(entry.descriptionTextId), wanted)) return &entry;
  }
  return nullptr;
}

std::wstring FunctionDescription(const KeyFunctionEntry& entry, const TextLookup& text) {
  if (!entry.label.empty()) return entry.label;
  const std::wstring description = text(entry.descriptionTextId);
  return description.empty() ? entry.commandName : description;
}
