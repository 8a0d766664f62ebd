#pragma once
// One entry point per command group; each parses its own words and options.
#include "Arguments.h"
#include "ExitCode.h"

class Session;

ExitCode RunDevices(Session& session, const Arguments& args);
ExitCode RunApply(Session& session, const Arguments& args);
ExitCode RunReset(Session& session, const Arguments& args);
ExitCode RunProfiles(Session& session, const Arguments& args);
ExitCode RunProfileFile(Session& session, const Arguments& args);
ExitCode RunKeys(Session& session, const Arguments& args);
ExitCode RunMacros(Session& session, const Arguments& args);
ExitCode RunLight(Session& session, const Arguments& args);

// Refuses options the command does not take and a wrong word count.
bool CheckUsage(const Arguments& args, size_t minWords, size_t maxWords, const std::set<std::string>& options,
                ExitCode& code);
