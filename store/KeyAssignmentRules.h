#pragma once
// The rules of key assignments, shared by the custom key page and the
// command-line tool: every assignment is made on Fn layer 0 of a profile;
// the Fn key cannot be assigned; at most 12 function-list assignments and,
// independently, 12 macro-or-shortcut assignments per profile; a macro
// without key events cannot be assigned.  Each change is stored at once;
// sending it is the caller's (WriteKeyAssignments).
// Thread rules: as SettingsStore.
#include <string>

#include "store/Records.h"
#include "store/RuleResult.h"

class SettingsStore;

namespace AssignmentType {
constexpr int None = 0;
constexpr int Disabled = 1;
constexpr int Function = 2;        // a function-list entry below code 500
constexpr int Macro = 3;
constexpr int Mouse = 5;
constexpr int Media = 6;
constexpr int Shortcut = 7;        // one of the fifteen numbered functions
constexpr int StartProgram = 8;
constexpr int OpenAddress = 9;
constexpr int TypeText = 10;
constexpr int SwitchProfile = 11;
constexpr int HighFunction = 12;   // a function-list entry of code 500 or more
}  // namespace AssignmentType

constexpr int kFnKeyCode = 0xAF;
constexpr int kMaxFunctionAssignments = 12;
constexpr int kMaxMacroAssignments = 12;
constexpr int kShortcutCount = 15;

class KeyAssignmentRules {
 public:
  explicit KeyAssignmentRules(SettingsStore& store) : m_store(store) {}

  // A function-list entry: type 2 below code 500, type 12 from 500 on.
  RuleResult AssignFunction(int profile, int keyCode, int value, int value2, int value3,
                            const std::wstring& description);
  RuleResult AssignMacro(int profile, int keyCode, int macroId, const std::wstring& description);
  RuleResult AssignShortcut(int profile, int keyCode, int number, const std::wstring& description);
  RuleResult DisableKey(int profile, int keyCode, const std::wstring& description);
  // Removes the key's assignment: the key does its default again.
  RuleResult RestoreKey(int profile, int keyCode);

 private:
  int CountAssignments(int profile, int typeA, int typeB);
  RuleResult Store(int profile, int keyCode, int type, int value, int value2, int value3,
                   const std::wstring& description);

  SettingsStore& m_store;
};
