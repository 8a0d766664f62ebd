#pragma once
// Where the toolkit finds the files shipped beside the program: the
// application directory (the running executable's folder, or the installed
// share/kestrel/ folder), its skin folder skins/<theme>/ and its font
// folder.  Paths end in '/'.
// Thread-safety: pure functions; any thread.
#include <string>

#include "toolkit/core/Types.h"

namespace SkinFolder {

std::wstring ApplicationDirectory();
// ApplicationDirectory() + "skins/" + Manager::GetTheme().
std::wstring SkinDirectory();
std::wstring FontDirectory();
// The full path of a skin picture named as the pages write it: sub-folders
// allowed, backslashes read as separators, doubled slashes kept (they name
// the same file).
std::wstring SkinFile(const CString& name);

}  // namespace SkinFolder
