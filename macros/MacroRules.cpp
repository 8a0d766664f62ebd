#include "macros/MacroRules.h"

#include <algorithm>

#include "model/NameRules.h"
#include "store/SettingsStore.h"

namespace {

constexpr int kEmptyNameText = 330;
constexpr int kBlockedNameText = 621;
constexpr int kNameTitle = 33;
constexpr int kDefaultFixedDelay = 10;
constexpr int kNonKeyEventType = 1;

}  // namespace

int MaxMacroEvents(int deviceType) {
  return deviceType >= 300 && deviceType <= 399 ? kMaxMacroEventsSignature : kMaxMacroEvents;
}

int ClampPlayTimes(int times) { return std::clamp(times, kMinPlayTimes, kMaxPlayTimes); }

MacroRules::MacroRules(SettingsStore& store, MacroNaming naming, std::vector<std::wstring> blockedWords)
    : m_store(store), m_naming(std::move(naming)), m_blockedWords(std::move(blockedWords)) {}

std::vector<Macro> MacroRules::LoadMacros() {
  std::vector<Macro> macros;
  m_store.DbListMacros(macros);
  return macros;
}

std::wstring MacroRules::DisplayName(const Macro& macro) const {
  return MacroDisplayName(macro.name, m_naming.languageId, m_naming.macroWord);
}

std::vector<std::wstring> MacroRules::ShownNames() {
  std::vector<std::wstring> names;
  for (const auto& macro : LoadMacros()) names.push_back(DisplayName(macro));
  return names;
}

RuleResult MacroRules::AddMacro(const std::wstring& name) {
  std::wstring chosen = name;
  if (chosen.empty()) {
    chosen = MakeUniqueName(m_naming.macroWord, ShownNames());
  } else if (IsBlockedName(chosen, m_blockedWords)) {
    return RuleResult::Refused(kBlockedNameText, kNameTitle);
  }
  const int id = m_store.DbAddMacro(chosen);
  return id > 0 ? RuleResult::Done(id) : RuleResult::Failed();
}

RuleResult MacroRules::RenameMacro(int macroId, const std::wstring& name) {
  if (IsBlockedName(name, m_blockedWords)) return RuleResult::Refused(kBlockedNameText, kNameTitle);
  if (name.empty()) return RuleResult::Refused(kEmptyNameText, kNameTitle);
  Macro macro;
  if (!m_store.DbGetMacro(macroId, macro)) return RuleResult::NotFound();
  if (!m_store.DbRenameMacro(macroId, name)) return RuleResult::Failed();
  m_store.DbRenameMacroAssignments(macroId, name);
  return RuleResult::Done(macroId);
}

RuleResult MacroRules::CopyMacro(int macroId) {
  Macro source;
  if (macroId <= 0 || !m_store.DbGetMacro(macroId, source)) return RuleResult::NotFound();
  Macro copy = source;
  copy.name = MakeUniqueName(source.name + L" -", ShownNames());
  const int id = m_store.DbInsertMacro(copy);
  if (id <= 0) return RuleResult::Failed();
  std::vector<MacroEvent> events;
  m_store.DbListMacroEvents(macroId, events);
  for (auto& event : events) event.macro_id = id;
  // One batch, so a failure leaves the copy without half of its events.
  if (!events.empty() && !m_store.DbAddMacroEvents(events)) return RuleResult::Failed();
  return RuleResult::Done(id);
}

RuleResult MacroRules::DeleteMacro(int macroId) {
  Macro macro;
  if (macroId <= 0 || !m_store.DbGetMacro(macroId, macro)) return RuleResult::NotFound();
  return m_store.DbDeleteMacro(macroId) ? RuleResult::Done(macroId) : RuleResult::Failed();
}

RuleResult MacroRules::SetPlayback(int macroId, int times, int delayType, int fixedDelay) {
  Macro macro;
  if (!m_store.DbGetMacro(macroId, macro)) return RuleResult::NotFound();
  macro.play_times = ClampPlayTimes(times);
  macro.delay_type = std::clamp(delayType, DelayType::Recorded, DelayType::Fixed);
  macro.delay_time = macro.delay_type == DelayType::Fixed ? std::clamp(fixedDelay, 0, kMaxRecordedDelay)
                                                          : kDefaultFixedDelay;
  return m_store.DbUpdateMacroPlayback(macro) ? RuleResult::Done(macroId) : RuleResult::Failed();
}

RuleResult MacroRules::SaveEvents(int macroId, std::vector<MacroEvent> events, int deviceType) {
  Macro macro;
  if (!m_store.DbGetMacro(macroId, macro)) return RuleResult::NotFound();
  const auto keyEvents = std::count_if(events.begin(), events.end(),
                                       [](const MacroEvent& e) { return e.type != kNonKeyEventType; });
  if (keyEvents > MaxMacroEvents(deviceType)) return RuleResult::Refused(0, 0);
  for (size_t i = 0; i < events.size(); ++i) {
    events[i].macro_id = macroId;
    events[i].record_index = static_cast<int>(i);
    events[i].delay_time = std::clamp(events[i].delay_time, 0, kMaxRecordedDelay);
  }
  return m_store.DbReplaceMacroEvents(macroId, events) ? RuleResult::Done(macroId) : RuleResult::Failed();
}
