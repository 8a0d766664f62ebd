#pragma once
// Shared by the Linux folder helpers: the user's home folder without a
// trailing '/'.  $HOME when it is an absolute path, else the password
// database's entry, else /tmp.
#include <string>

namespace platform {

std::string HomeFolder();

}  // namespace platform
