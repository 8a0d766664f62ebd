// kestrelctl: the keyboard's settings from the command line, with the same
// database, rules and protocol as the program's pages.
#include <cstdio>
#include <map>

#include "Arguments.h"
#include "Commands.h"
#include "Help.h"
#include "Output.h"
#include "Session.h"

namespace {

using Runner = ExitCode (*)(Session&, const Arguments&);

const std::map<std::string, Runner>& Groups() {
  static const std::map<std::string, Runner> groups = {
      {"devices", RunDevices}, {"apply", RunApply},   {"reset", RunReset},   {"profiles", RunProfiles},
      {"profile", RunProfileFile}, {"keys", RunKeys}, {"macros", RunMacros}, {"light", RunLight},
  };
  return groups;
}

int Main(int argc, char** argv) {
  Arguments args;
  std::string error;
  if (!args.Parse(argc, argv, error)) return ToInt(UsageError(error, ""));
  const std::string group = args.Word(0);
  if (group.empty() || group == "help") {
    if (!args.Help() && group.empty()) PrintMessage("a command is needed");
    PrintHelp("", "");
    return ToInt(args.Help() || group == "help" ? ExitCode::Done : ExitCode::BadUsage);
  }
  const auto found = Groups().find(group);
  if (found == Groups().end()) return ToInt(UsageError("unknown command '" + group + "'", ""));
  if (args.Help()) {
    if (!PrintHelp(group, args.Word(1)) && !PrintHelp(group, "")) return ToInt(ExitCode::BadUsage);
    return ToInt(ExitCode::Done);
  }

  int language = 0;
  if (const auto lang = args.Option("lang")) {
    const auto id = ParseNumber(*lang);
    if (!id || *id <= 0) return ToInt(UsageError("--lang needs a language id such as 1033", ""));
    language = *id;
  }
  Session session;
  if (!session.Open(language)) return ToInt(ExitCode::BadUsage);
  const ExitCode code = found->second(session, args);
  session.ReportDelivery();
  return ToInt(code);
}

}  // namespace

int main(int argc, char** argv) { return Main(argc, argv); }
