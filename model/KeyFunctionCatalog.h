#pragma once
// The key function list: every function a key can be given from the list,
// with its action code, its label, its icon and its place in the picker.
// The custom key page's picker draws these entries and the command-line
// tool looks functions up in them, so both offer exactly the same choices.
// Pure data; any thread.
#include <string>
#include <vector>

struct KeyFunctionEntry {
  int code = 0;               // HID keyboard usage, or 232-245 for media and applications
  std::wstring label;         // drawn on a key entry; empty for icon entries
  std::wstring icon;          // skin-relative icon of an icon entry; empty for keys
  int descriptionTextId = 0;  // language text describing an icon entry; 0 for keys
  std::wstring commandName;   // what scripts type for an icon entry ("mute"); empty for keys
  int left = 0;               // rectangle in the picker, relative to its top-left corner
  int top = 0;
  int right = 0;
  int bottom = 0;
};

// The 122 entries in picker order: the icon row first, then the key rows.
const std::vector<KeyFunctionEntry>& KeyFunctionCatalog();

// The first entry with `code`; nullptr when the list has none.  Labels are
// not unique ("Shift" is 225 and 229), so the code is the key of the list.
const KeyFunctionEntry* FindKeyFunction(int code);

// Media and application entries (codes above 231) carry a tooltip text.
constexpr int kFirstDescribedFunctionCode = 232;
