#pragma once
// The rules of the macro list, shared by the macro page and the
// command-line tool: generated names, refused names, copies with their
// events, play options clamped to what the keyboard can play, and the
// event limit of the device's protocol.  Every change is stored at once;
// the keyboard hears of macros with the next WriteKeyAssignments.
// Thread rules: as SettingsStore.
#include <string>
#include <vector>

#include "store/Records.h"
#include "store/RuleResult.h"

class SettingsStore;

constexpr int kMinPlayTimes = 1;
constexpr int kMaxPlayTimes = 99;
constexpr int kMaxMacroEvents = 80;
constexpr int kMaxMacroEventsSignature = 60;  // device types 300-399
constexpr int kMaxRecordedDelay = 31000;

namespace DelayType {
constexpr int Recorded = 1;
constexpr int None = 2;
constexpr int Fixed = 3;
}  // namespace DelayType

// The number of key events a macro may hold on a keyboard of `deviceType`.
int MaxMacroEvents(int deviceType);
int ClampPlayTimes(int times);

struct MacroNaming {
  int languageId = 1033;
  std::wstring macroWord;  // text 331
};

class MacroRules {
 public:
  MacroRules(SettingsStore& store, MacroNaming naming, std::vector<std::wstring> blockedWords);

  std::vector<Macro> LoadMacros();
  std::wstring DisplayName(const Macro& macro) const;

  // `name` empty: a generated unique name over the shown names.
  RuleResult AddMacro(const std::wstring& name = {});
  // Also renames the key tips of every key that plays the macro.
  RuleResult RenameMacro(int macroId, const std::wstring& name);
  // The copy is named "<stored name> - N" and gets every event in order.
  RuleResult CopyMacro(int macroId);
  // Removes the macro, its events and every key assignment that plays it.
  RuleResult DeleteMacro(int macroId);
  // Times are clamped to 1-99; the fixed delay is kept only for a fixed
  // delay type (the page proposes 10 ms otherwise).
  RuleResult SetPlayback(int macroId, int times, int delayType, int fixedDelay);
  // Replaces the macro's events with `events` in order (record_index from
  // 0); refused beyond the device's event limit, delays capped at 31 s.
  RuleResult SaveEvents(int macroId, std::vector<MacroEvent> events, int deviceType);

 private:
  std::vector<std::wstring> ShownNames();

  SettingsStore& m_store;
  MacroNaming m_naming;
  std::vector<std::wstring> m_blockedWords;
};
