#pragma once
// Keys and functions as the command line names them.
#include <functional>
#include <optional>
#include <string>

#include "model/KeyFunctionCatalog.h"

class KeyboardLayout;

// A key of the layout by its label ("A", "F5", "Space", "Fn"), description
// or code (decimal or 0x hex); case does not matter.
std::optional<int> ResolveKey(const KeyboardLayout& layout, const std::string& word);
// What the tool prints for a key.
std::wstring KeyName(const KeyboardLayout& layout, int code);

using TextLookup = std::function<std::wstring(int)>;

// A function-list entry by code, by its command name ("mute"), by its key
// label ("F5") or by its description in the language ("Mute").
const KeyFunctionEntry* ResolveFunction(const std::string& word, const TextLookup& text);
// The description stored with an assignment of `entry`.
std::wstring FunctionDescription(const KeyFunctionEntry& entry, const TextLookup& text);
