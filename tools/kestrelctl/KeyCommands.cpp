// keys show | set | disable | macro | shortcut | restore.
#include <map>

#include "Commands.h"
#include "KeyNames.h"
#include "Output.h"
#include "Session.h"
#include "device/DeviceTask.h"

namespace {

// The tip title of each assignment type, as the keyboard picture shows it.
int TypeTextId(int type) {
  switch (type) {
    case AssignmentType::Disabled:
      return 202;
    case AssignmentType::Function:
    case AssignmentType::HighFunction:
      return 205;
    case AssignmentType::Macro:
      return 206;
    case AssignmentType::Mouse:
      return 207;
    case AssignmentType::Media:
      return 208;
    case AssignmentType::Shortcut:
      return 209;
    case AssignmentType::StartProgram:
      return 210;
    case AssignmentType::OpenAddress:
      return 211;
    case AssignmentType::TypeText:
      return 212;
    default:
      return 0;
  }
}

const char* TypeWord(int type) {
  switch (type) {
    case AssignmentType::Disabled:
      return "disabled";
    case AssignmentType::Function:
    case AssignmentType::HighFunction:
      return "function";
    case AssignmentType::Macro:
      return "macro";
    case AssignmentType::Mouse:
      return "mouse";
    case AssignmentType::Media:
      return "media";
    case AssignmentType::Shortcut:
      return "shortcut";
    case AssignmentType::StartProgram:
      return "program";
    case AssignmentType::OpenAddress:
      return "web-address";
    case AssignmentType::TypeText:
      return "text";
    case AssignmentType::SwitchProfile:
      return "profile-switch";
    default:
      return "other";
  }
}

ExitCode Show(Session& session, const Arguments& args) {
  const int profile = session.ProfileOf(args.Word(2));
  if (profile == 0) return NotFound("profile " + args.Word(2));
  std::vector<KeyAssignment> assignments;
  session.Store().DbListKeyAssignments(profile, 0, assignments);
  nlohmann::json list = nlohmann::json::array();
  for (const auto& a : assignments) {
    const std::wstring key = KeyName(session.Layout(), a.key_code);
    const int titleId = TypeTextId(a.macro_type);
    const std::wstring title = titleId != 0 ? session.Text(titleId) : std::wstring();
    if (args.Json()) {
      list.push_back({{"key", Utf8(key)},
                      {"key_code", a.key_code},
                      {"type", TypeWord(a.macro_type)},
                      {"type_code", a.macro_type},
                      {"value", a.macro_value},
                      {"title", Utf8(title)},
                      {"description", Utf8(a.macro_desc)}});
    } else {
      PrintData(key + L"\t" + Wide(TypeWord(a.macro_type)) + L"\t" + a.macro_desc);
    }
  }
  if (args.Json()) PrintJson({{"profile", profile}, {"keys", list}});
  return ExitCode::Done;
}

}  // namespace

ExitCode RunKeys(Session& session, const Arguments& args) {
  const std::string sub = args.Word(1);
  ExitCode code{};
  if (sub == "show") {
    if (!CheckUsage(args, 2, 3, {}, code)) return code;
    return Show(session, args);
  }
  const std::map<std::string, size_t> words = {{"set", 4}, {"disable", 3}, {"macro", 4}, {"shortcut", 4},
                                               {"restore", 3}};
  const auto count = words.find(sub);
  if (count == words.end()) {
    return UsageError(sub.empty() ? "keys needs a subcommand" : "unknown subcommand 'keys " + sub + "'", "keys");
  }
  if (!CheckUsage(args, count->second, count->second, {}, code)) return code;
  const int profile = session.ProfileOf("");
  const auto key = ResolveKey(session.Layout(), args.Word(2));
  if (!key) return NotFound("key " + args.Word(2));
  const TextLookup text = [&session](int id) { return session.Text(id); };
  KeyAssignmentRules& rules = session.Keys();
  RuleResult result;
  std::string what = "key " + args.Word(2);
  if (sub == "set") {
    const KeyFunctionEntry* function = ResolveFunction(args.Word(3), text);
    if (function == nullptr) return NotFound("function " + args.Word(3));
    result = rules.AssignFunction(profile, *key, function->code, 0, 0, FunctionDescription(*function, text));
  } else if (sub == "disable") {
    result = rules.DisableKey(profile, *key, session.Text(202));
  } else if (sub == "macro") {
    const auto id = ParseNumber(args.Word(3));
    Macro macro;
    if (!id || !session.Store().DbGetMacro(*id, macro)) return NotFound("macro " + args.Word(3));
    result = rules.AssignMacro(profile, *key, *id, session.Macros().DisplayName(macro));
  } else if (sub == "shortcut") {
    const auto number = ParseNumber(args.Word(3));
    if (!number || *number < 1 || *number > kShortcutCount) {
      return UsageError("the shortcut number is 1 to " + std::to_string(kShortcutCount), "keys shortcut");
    }
    result = rules.AssignShortcut(profile, *key, *number, session.Text(209) + L" " + std::to_wstring(*number));
  } else {
    result = rules.RestoreKey(profile, *key);
  }
  if (result.Ok()) session.QueueTask(TaskCode(DeviceTask::WriteKeyAssignments));
  return session.Report(result, what);
}
