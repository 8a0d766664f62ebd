#include "platform/Shell.h"

#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <thread>

#include "platform/TextConvert.h"

extern char** environ;

namespace platform {
namespace {

bool IsExecutableFile(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && ::access(path.c_str(), X_OK) == 0;
}

// The started program outlives nothing of ours, but while this process runs
// its exit must be collected, or it would stay a zombie.
void ReapLater(pid_t child) {
  std::thread([child] {
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
  }).detach();
}

}  // namespace

bool ShellOpen(const std::wstring& target) {
  const std::string path = ToUtf8(target);
  if (path.empty()) return false;
  pid_t child = 0;
  int result = 0;
  if (IsExecutableFile(path)) {
    char* argv[] = {const_cast<char*>(path.c_str()), nullptr};
    result = ::posix_spawn(&child, path.c_str(), nullptr, nullptr, argv, environ);
  } else {
    char opener[] = "xdg-open";
    char* argv[] = {opener, const_cast<char*>(path.c_str()), nullptr};
    result = ::posix_spawnp(&child, opener, nullptr, nullptr, argv, environ);
  }
  if (result != 0) return false;
  ReapLater(child);
  return true;
}

}  // namespace platform
