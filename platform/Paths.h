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

// $XDG_DATA_HOME (default ~/.local/share) + "<deviceName> Files/".  A '/' in
// the device name becomes '_', so the name always stays one folder.
std::wstring UserDataFolder(const std::wstring& deviceName);

// Creates every missing folder along `path` and `path` itself; true when
// `path` is (now) a folder.  New folders are private to the user (0700).
bool CreateFolderPath(const std::wstring& path);

// True when `path` is a folder this process may create files in.
bool IsWritableFolder(const std::wstring& path);

// `name` made safe as one component of a path: '/' and NUL become '_', and
// the empty name, "." and ".." become "_".
std::wstring FileNameFrom(const std::wstring& name);

}  // namespace platform
