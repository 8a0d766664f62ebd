// macros list | show | add | rename | copy | delete | import | export | set-playback.
#include <unistd.h>

#include <map>

#include "Commands.h"
#include "Output.h"
#include "Session.h"
#include "device/DeviceTask.h"
#include "store/MacroFile.h"

namespace {

const char* DelayWord(int type) {
  switch (type) {
    case DelayType::None:
      return "none";
    case DelayType::Fixed:
      return "fixed";
    default:
      return "recorded";
  }
}

nlohmann::json MacroJson(Session& session, const Macro& macro) {
  return {{"id", macro.macro_id},
          {"name", Utf8(session.Macros().DisplayName(macro))},
          {"play_times", macro.play_times},
          {"delay", DelayWord(macro.delay_type)},
          {"delay_ms", macro.delay_time},
          {"key_events", session.Store().DbCountMacroKeyEvents(macro.macro_id)}};
}

ExitCode List(Session& session, const Arguments& args) {
  nlohmann::json list = nlohmann::json::array();
  for (const auto& macro : session.Macros().LoadMacros()) {
    if (args.Json()) {
      list.push_back(MacroJson(session, macro));
      continue;
    }
    std::wstring delay = Wide(DelayWord(macro.delay_type));
    if (macro.delay_type == DelayType::Fixed) delay += L":" + std::to_wstring(macro.delay_time);
    PrintData(std::to_wstring(macro.macro_id) + L"\t" + session.Macros().DisplayName(macro) + L"\t" +
              std::to_wstring(macro.play_times) + L"x\t" + delay + L"\t" +
              std::to_wstring(session.Store().DbCountMacroKeyEvents(macro.macro_id)) + L" key events");
  }
  if (args.Json()) PrintJson(list);
  return ExitCode::Done;
}

bool FindMacro(Session& session, const std::string& word, Macro& macro) {
  const auto id = ParseNumber(word);
  return id && *id > 0 && session.Store().DbGetMacro(*id, macro);
}

ExitCode Show(Session& session, const Arguments& args, const Macro& macro) {
  std::vector<MacroEvent> events;
  session.Store().DbListMacroEvents(macro.macro_id, events);
  nlohmann::json list = nlohmann::json::array();
  for (const auto& e : events) {
    list.push_back({{"index", e.record_index}, {"type", e.type}, {"value", e.value}, {"delay_ms", e.delay_time},
                    {"description", Utf8(e.desc)}});
  }
  if (args.Json()) {
    nlohmann::json item = MacroJson(session, macro);
    item["events"] = list;
    PrintJson(item);
    return ExitCode::Done;
  }
  PrintData(std::to_wstring(macro.macro_id) + L"\t" + session.Macros().DisplayName(macro) + L"\t" +
            std::to_wstring(macro.play_times) + L"x\t" + Wide(DelayWord(macro.delay_type)));
  for (const auto& e : events) {
    PrintData(L"  " + std::to_wstring(e.record_index) + L"\ttype " + std::to_wstring(e.type) + L"\tvalue " +
              std::to_wstring(e.value) + L"\t" + std::to_wstring(e.delay_time) + L" ms\t" + e.desc);
  }
  return ExitCode::Done;
}

// "recorded", "none", "fixed" or "fixed:MS".
bool ParseDelay(const std::string& text, int& type, int& milliseconds) {
  if (text == "recorded") {
    type = DelayType::Recorded;
  } else if (text == "none") {
    type = DelayType::None;
  } else if (text.rfind("fixed", 0) == 0) {
    type = DelayType::Fixed;
    if (text.size() > 5) {
      if (text[5] != ':') return false;
      const auto ms = ParseNumber(text.substr(6));
      if (!ms || *ms < 0 || *ms > kMaxRecordedDelay) return false;
      milliseconds = *ms;
    }
  } else {
    return false;
  }
  return true;
}

// The keyboard holds the macros of the keys that play them.
void QueueKeyWrite(Session& session) { session.QueueTask(TaskCode(DeviceTask::WriteKeyAssignments)); }

}  // namespace

ExitCode RunMacros(Session& session, const Arguments& args) {
  const std::string sub = args.Word(1);
  ExitCode code{};
  MacroRules& rules = session.Macros();
  const std::string what = "macro " + args.Word(2);
  Macro macro;
  if (sub == "list") {
    if (!CheckUsage(args, 2, 2, {}, code)) return code;
    return List(session, args);
  }
  if (sub == "add") {
    if (!CheckUsage(args, 2, 3, {}, code)) return code;
    const RuleResult result = rules.AddMacro(Wide(args.Word(2)));
    if (!result.Ok()) return session.Report(result, "macros add");
    session.Store().DbGetMacro(result.id, macro);
    PrintData(std::to_wstring(result.id) + L"\t" + rules.DisplayName(macro));
    return ExitCode::Done;
  }
  if (sub == "import") {
    if (!CheckUsage(args, 3, 3, {}, code)) return code;
    const std::string path = args.Word(2);
    if (::access(path.c_str(), R_OK) != 0) return NotFound("file " + path);
    const MacroImport result = ImportMacro(session.Store(), Wide(path));
    if (!result.imported) {
      PrintMessage(path + " is not a macro file, or the store could not take it; nothing was added");
      return ExitCode::BadUsage;
    }
    PrintData(std::to_wstring(result.macro_id) + L"\t" + result.name);
    return ExitCode::Done;
  }
  const std::map<std::string, std::pair<size_t, size_t>> words = {
      {"show", {3, 3}}, {"rename", {4, 4}}, {"copy", {3, 3}}, {"delete", {3, 3}}, {"export", {4, 4}},
      {"set-playback", {3, 3}}};
  const auto count = words.find(sub);
  if (count == words.end()) {
    return UsageError(sub.empty() ? "macros needs a subcommand" : "unknown subcommand 'macros " + sub + "'",
                      "macros");
  }
  const std::set<std::string> options =
      sub == "set-playback" ? std::set<std::string>{"times", "delay"} : std::set<std::string>{};
  if (!CheckUsage(args, count->second.first, count->second.second, options, code)) return code;
  if (!FindMacro(session, args.Word(2), macro)) return NotFound(what);

  if (sub == "show") return Show(session, args, macro);
  if (sub == "rename") return session.Report(rules.RenameMacro(macro.macro_id, Wide(args.Word(3))), what);
  if (sub == "copy") {
    const RuleResult result = rules.CopyMacro(macro.macro_id);
    if (!result.Ok()) return session.Report(result, what);
    Macro copy;
    session.Store().DbGetMacro(result.id, copy);
    PrintData(std::to_wstring(result.id) + L"\t" + rules.DisplayName(copy));
    return ExitCode::Done;
  }
  if (sub == "delete") {
    const RuleResult result = rules.DeleteMacro(macro.macro_id);
    if (result.Ok()) QueueKeyWrite(session);
    return session.Report(result, what);
  }
  if (sub == "export") {
    const ExportResult result = ExportMacro(session.Store(), Wide(args.Word(3)), macro.macro_id);
    if (result == ExportResult::Saved) return ExitCode::Done;
    PrintMessage(result == ExportResult::SaveFailed ? "cannot write " + args.Word(3)
                                                    : "the macro's events cannot be read");
    return ExitCode::BadUsage;
  }
  // set-playback
  int times = macro.play_times;
  int delayType = macro.delay_type;
  int delay = macro.delay_type == DelayType::Fixed ? macro.delay_time : 10;
  if (const auto text = args.Option("times")) {
    const auto n = ParseNumber(*text);
    if (!n) return UsageError("--times needs a number", "macros set-playback");
    times = *n;
  }
  if (const auto text = args.Option("delay")) {
    if (!ParseDelay(*text, delayType, delay)) {
      return UsageError("--delay is recorded, none, fixed or fixed:MS (0-" + std::to_string(kMaxRecordedDelay) +
                            ")",
                        "macros set-playback");
    }
  }
  if (!args.Option("times") && !args.Option("delay")) {
    return UsageError("set-playback needs --times or --delay", "macros set-playback");
  }
  const RuleResult result = rules.SetPlayback(macro.macro_id, times, delayType, delay);
  if (result.Ok()) {
    session.Store().DbGetMacro(macro.macro_id, macro);
    PrintData(std::to_wstring(macro.macro_id) + L"\t" + std::to_wstring(macro.play_times) + L"x\t" +
              Wide(DelayWord(macro.delay_type)) +
              (macro.delay_type == DelayType::Fixed ? L":" + std::to_wstring(macro.delay_time) : L""));
    QueueKeyWrite(session);
  }
  return session.Report(result, what);
}
