#pragma once
// Opens a file or an address the way the desktop would: an executable file
// is started as a program, anything else (documents, web addresses) is handed
// to the desktop's opener.  Any thread.
#include <string>

namespace platform {

// Starts `target` without arguments and without waiting for it.  True when
// the program (or the opener) was started; false when nothing could be.
// Whether the opener then finds an application for a document is not known
// here.
bool ShellOpen(const std::wstring& target);

}  // namespace platform
