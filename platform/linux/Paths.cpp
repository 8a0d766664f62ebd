#include "platform/Paths.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/TextConvert.h"
#include "platform/linux/HomeFolder.h"

namespace platform {
namespace {

bool IsFolder(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool IsFile(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::string ExecutablePath() {
  // readlink does not say whether it truncated, so grow until it fits.
  std::vector<char> buffer(256);
  for (;;) {
    const ssize_t n = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (n < 0) return {};
    if (static_cast<size_t>(n) < buffer.size()) return std::string(buffer.data(), n);
    buffer.resize(buffer.size() * 2);
  }
}

std::string WithoutTrailingSlashes(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

}  // namespace

std::string HomeFolder() {
  const char* home = std::getenv("HOME");
  if (home != nullptr && home[0] == '/') return WithoutTrailingSlashes(home);
  // Without HOME (started by a service manager) the password database knows.
  std::vector<char> buffer(4096);
  struct passwd entry {};
  struct passwd* found = nullptr;
  if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 &&
      found != nullptr && found->pw_dir != nullptr && found->pw_dir[0] == '/') {
    return WithoutTrailingSlashes(found->pw_dir);
  }
  return "/tmp";
}

std::wstring FileNameFrom(const std::wstring& name) {
  if (name.empty() || name == L"." || name == L"..") return L"_";
  std::wstring safe = name;
  for (wchar_t& c : safe) {
    if (c == L'/' || c == L'\0') c = L'_';
  }
  return safe;
}

std::wstring ModuleFolder() {
  const std::string exe = ExecutablePath();
  const size_t slash = exe.rfind('/');
  if (slash == std::string::npos) return L"./";
  const std::string folder = exe.substr(0, slash + 1);
  if (!IsFile(folder + "config.xml")) {
    // An installed program lives in <prefix>/bin and its files in
    // <prefix>/share/kestrel; name that folder without the "..".
    const std::string bin = WithoutTrailingSlashes(folder);
    const size_t parent = bin.rfind('/');
    if (parent != std::string::npos) {
      const std::string shared = bin.substr(0, parent + 1) + "share/kestrel/";
      if (IsFile(shared + "config.xml")) return FromUtf8(shared);
    }
  }
  return FromUtf8(folder);
}

std::wstring UserDataFolder(const std::wstring& deviceName) {
  // The XDG base directory rules say a relative value is to be ignored.
  const char* data = std::getenv("XDG_DATA_HOME");
  const std::string base = (data != nullptr && data[0] == '/')
                               ? WithoutTrailingSlashes(data)
                               : HomeFolder() + "/.local/share";
  return FromUtf8(base) + L"/" + FileNameFrom(deviceName) + L" Files/";
}

bool CreateFolderPath(const std::wstring& path) {
  const std::string target = ToUtf8(path);
  if (target.empty()) return false;
  if (IsFolder(target)) return true;
  // Every prefix that ends before a '/' is tried; failures are expected for
  // folders that exist or may not be created (the root), and the final
  // check decides.
  for (size_t slash = target.find('/', 1); slash != std::string::npos;
       slash = target.find('/', slash + 1)) {
    ::mkdir(target.substr(0, slash).c_str(), 0700);
  }
  ::mkdir(target.c_str(), 0700);
  return IsFolder(target);
}

bool IsWritableFolder(const std::wstring& path) {
  const std::string folder = ToUtf8(path);
  return IsFolder(folder) && ::access(folder.c_str(), W_OK | X_OK) == 0;
}

}  // namespace platform
