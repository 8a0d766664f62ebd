#include "store/KeyAssignmentRules.h"

#include <vector>

#include "store/SettingsStore.h"

namespace {

constexpr int kFnLayer = 0;
constexpr int kNoKeyText = 365;
constexpr int kNoKeyTitle = 366;
constexpr int kFunctionLimitText = 367;
constexpr int kFunctionLimitTitle = 368;
constexpr int kMacroLimitText = 363;
constexpr int kMacroLimitTitle = 364;
constexpr int kEmptyMacroText = 293;
constexpr int kEmptyMacroTitle = 206;
constexpr int kFirstHighFunctionCode = 500;

bool AssignableKey(int keyCode) { return keyCode > 0 && keyCode != kFnKeyCode; }

}  // namespace

int KeyAssignmentRules::CountAssignments(int profile, int typeA, int typeB) {
  std::vector<KeyAssignment> assignments;
  m_store.DbListKeyAssignments(profile, kFnLayer, assignments);
  int count = 0;
  for (const auto& a : assignments) count += a.macro_type == typeA || a.macro_type == typeB;
  return count;
}

RuleResult KeyAssignmentRules::Store(int profile, int keyCode, int type, int value, int value2, int value3,
                                     const std::wstring& description) {
  KeyAssignment assignment;
  assignment.profile = profile;
  assignment.fn_layer = kFnLayer;
  assignment.key_code = keyCode;
  assignment.macro_type = type;
  assignment.macro_value = value;
  assignment.macro_value2 = value2;
  assignment.macro_value3 = value3;
  assignment.macro_desc = description;
  const int id = m_store.DbSaveKeyAssignment(assignment);
  // Nothing is added for an assignment without values: that is a restore.
  if (id > 0 || (value == 0 && value2 == 0)) return RuleResult::Done(id);
  return RuleResult::Failed();
}

RuleResult KeyAssignmentRules::AssignFunction(int profile, int keyCode, int value, int value2, int value3,
                                              const std::wstring& description) {
  if (!AssignableKey(keyCode)) return RuleResult::Refused(kNoKeyText, kNoKeyTitle);
  if (CountAssignments(profile, AssignmentType::Function, AssignmentType::HighFunction) >=
      kMaxFunctionAssignments) {
    return RuleResult::Refused(kFunctionLimitText, kFunctionLimitTitle);
  }
  const int type = value < kFirstHighFunctionCode ? AssignmentType::Function : AssignmentType::HighFunction;
  return Store(profile, keyCode, type, value, value2, value3, description);
}

RuleResult KeyAssignmentRules::AssignMacro(int profile, int keyCode, int macroId, const std::wstring& description) {
  if (!AssignableKey(keyCode)) return RuleResult::Refused(kNoKeyText, kNoKeyTitle);
  if (CountAssignments(profile, AssignmentType::Macro, AssignmentType::Shortcut) >= kMaxMacroAssignments) {
    return RuleResult::Refused(kMacroLimitText, kMacroLimitTitle);
  }
  Macro macro;
  if (!m_store.DbGetMacro(macroId, macro)) return RuleResult::NotFound();
  if (m_store.DbCountMacroKeyEvents(macroId) == 0) return RuleResult::Refused(kEmptyMacroText, kEmptyMacroTitle);
  return Store(profile, keyCode, AssignmentType::Macro, macroId, 0, 0, description);
}

RuleResult KeyAssignmentRules::AssignShortcut(int profile, int keyCode, int number, const std::wstring& description) {
  if (!AssignableKey(keyCode)) return RuleResult::Refused(kNoKeyText, kNoKeyTitle);
  if (number < 1 || number > kShortcutCount) return RuleResult::NotFound();
  if (CountAssignments(profile, AssignmentType::Macro, AssignmentType::Shortcut) >= kMaxMacroAssignments) {
    return RuleResult::Refused(kMacroLimitText, kMacroLimitTitle);
  }
  return Store(profile, keyCode, AssignmentType::Shortcut, number, 0, 0, description);
}

RuleResult KeyAssignmentRules::DisableKey(int profile, int keyCode, const std::wstring& description) {
  if (!AssignableKey(keyCode)) return RuleResult::Refused(kNoKeyText, kNoKeyTitle);
  return Store(profile, keyCode, AssignmentType::Disabled, 1, 0, 0, description);
}

RuleResult KeyAssignmentRules::RestoreKey(int profile, int keyCode) {
  if (!AssignableKey(keyCode)) return RuleResult::Refused(kNoKeyText, kNoKeyTitle);
  return Store(profile, keyCode, AssignmentType::None, 0, 0, 0, {});
}
