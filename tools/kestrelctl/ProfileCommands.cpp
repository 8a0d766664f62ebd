// profiles list | add | rename | delete | select, and profile export | import.
#include <unistd.h>

#include "Commands.h"
#include "Output.h"
#include "Session.h"
#include "device/DeviceTask.h"
#include "store/ProfileFile.h"

namespace {

std::string ProfileWord(const std::string& word) { return "profile " + word; }

ExitCode List(Session& session, const Arguments& args) {
  ProfileRules& rules = session.Profiles();
  const auto profiles = rules.LoadProfiles();
  const int current = session.Store().DbGetCurrentProfile();
  nlohmann::json list = nlohmann::json::array();
  for (const auto& profile : profiles) {
    const std::wstring shown = rules.DisplayName(profile);
    if (args.Json()) {
      list.push_back({{"id", profile.profile},
                      {"name", Utf8(shown)},
                      {"stored_name", Utf8(profile.name)},
                      {"current", profile.profile == current}});
    } else {
      PrintData(std::wstring(profile.profile == current ? L"* " : L"  ") + std::to_wstring(profile.profile) + L"\t" +
                shown);
    }
  }
  if (args.Json()) PrintJson(list);
  return ExitCode::Done;
}

void QueueKeyWrite(Session& session) { session.QueueTask(TaskCode(DeviceTask::WriteKeyAssignments)); }

}  // namespace

ExitCode RunProfiles(Session& session, const Arguments& args) {
  const std::string sub = args.Word(1);
  ExitCode code{};
  ProfileRules& rules = session.Profiles();
  rules.LoadProfiles();
  if (sub == "list") {
    if (!CheckUsage(args, 2, 2, {}, code)) return code;
    return List(session, args);
  }
  if (sub == "add") {
    if (!CheckUsage(args, 2, 3, {}, code)) return code;
    const RuleResult result = rules.AddProfile(Wide(args.Word(2)));
    if (!result.Ok()) return session.Report(result, "profiles add");
    std::wstring name;
    session.Store().DbGetProfileName(result.id, name);
    PrintData(std::to_wstring(result.id) + L"\t" + name);
    // As the profile list does after an addition.
    QueueKeyWrite(session);
    return ExitCode::Done;
  }
  if (sub == "rename") {
    if (!CheckUsage(args, 4, 4, {}, code)) return code;
    const int id = session.ProfileOf(args.Word(2));
    if (id == 0) return NotFound(ProfileWord(args.Word(2)));
    return session.Report(rules.RenameProfile(id, Wide(args.Word(3))), ProfileWord(args.Word(2)));
  }
  if (sub == "delete") {
    if (!CheckUsage(args, 3, 3, {}, code)) return code;
    const int id = session.ProfileOf(args.Word(2));
    if (id == 0) return NotFound(ProfileWord(args.Word(2)));
    const RuleResult result = rules.DeleteProfile(id);
    if (result.outcome == RuleOutcome::Refused && result.textId == 0) {
      PrintMessage("the last profile cannot be deleted");
      return ExitCode::Refused;
    }
    if (result.Ok()) QueueKeyWrite(session);
    return session.Report(result, ProfileWord(args.Word(2)));
  }
  if (sub == "select") {
    if (!CheckUsage(args, 3, 3, {}, code)) return code;
    const int id = session.ProfileOf(args.Word(2));
    if (id == 0) return NotFound(ProfileWord(args.Word(2)));
    const RuleResult result = rules.SelectProfile(id);
    if (result.Ok()) QueueKeyWrite(session);
    return session.Report(result, ProfileWord(args.Word(2)));
  }
  return UsageError(sub.empty() ? "profiles needs a subcommand" : "unknown subcommand 'profiles " + sub + "'",
                    "profiles");
}

ExitCode RunProfileFile(Session& session, const Arguments& args) {
  const std::string sub = args.Word(1);
  ExitCode code{};
  ProfileRules& rules = session.Profiles();
  rules.LoadProfiles();
  if (sub == "export") {
    if (!CheckUsage(args, 4, 4, {}, code)) return code;
    const int id = session.ProfileOf(args.Word(2));
    if (id == 0) return NotFound(ProfileWord(args.Word(2)));
    std::wstring stored;
    session.Store().DbGetProfileName(id, stored);
    Profile profile;
    profile.profile = id;
    profile.name = stored;
    const ExportResult result = ExportProfile(session.Store(), Wide(args.Word(3)), id, rules.DisplayName(profile));
    if (result == ExportResult::Saved) return ExitCode::Done;
    PrintMessage(result == ExportResult::SaveFailed ? "cannot write " + args.Word(3)
                                                    : "the profile's settings cannot be read");
    return ExitCode::BadUsage;
  }
  if (sub == "import") {
    if (!CheckUsage(args, 3, 3, {}, code)) return code;
    const std::string path = args.Word(2);
    if (::access(path.c_str(), R_OK) != 0) return NotFound("file " + path);
    const ProfileImport result = ImportProfile(session.Store(), Wide(path));
    if (!result.imported) {
      PrintMessage(path + " is not a profile file, or the store could not take it; nothing was added");
      return ExitCode::BadUsage;
    }
    PrintData(std::to_wstring(result.profile) + L"\t" + result.name);
    for (const auto& macro : result.macros) {
      PrintMessage(L"added macro " + std::to_wstring(macro.macro_id) + L" " + macro.name);
    }
    QueueKeyWrite(session);
    return ExitCode::Done;
  }
  return UsageError(sub.empty() ? "profile needs export or import" : "unknown subcommand 'profile " + sub + "'",
                    "profile");
}
