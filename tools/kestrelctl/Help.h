#pragma once
// The help texts: one per subcommand, and the overview.
#include <string>

// Prints the help of "group sub", of every subcommand of "group", or the
// overview when `group` is empty.  False when no such command exists.
bool PrintHelp(const std::string& group, const std::string& sub);
