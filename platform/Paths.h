#pragma once
// Folders the program reads and writes.  Every folder path returned here ends
// in '/'.  Pure functions over the environment; any thread.
#include <string>

namespace platform {

// The folder of the running executable (/proc/self/exe).  An installed build
// keeps its shipped files in ../share/kestrel/ beside the binary; when
// config.xml is not beside the executable but is there, that folder is
// returned instead.
std::wstring ModuleFolder();

// $XDG_DATA_HOME (default ~/.local/share) + "<deviceName> Files/".
std::wstring UserDataFolder(const std::wstring& deviceName);

// Creates every missing folder along `path` and `path` itself; true when
// `path` is (now) a folder.
bool CreateFolderPath(const std::wstring& path);

}  // namespace platform
