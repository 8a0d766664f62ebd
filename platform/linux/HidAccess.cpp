#include "platform/HidAccess.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace platform {
namespace {

bool IsPermissionError(int error) { return error == EACCES || error == EPERM; }

}  // namespace

HidOpenFailure ClassifyOpenFailure(const std::string& path, int savedErrno) {
  struct stat status {};
  if (path.empty() || ::stat(path.c_str(), &status) != 0) {
    return IsPermissionError(savedErrno) ? HidOpenFailure::PermissionDenied : HidOpenFailure::Other;
  }
  // Opening a hidraw node starts no transfer, so the probe is harmless.
  const int probe = ::open(path.c_str(), O_RDWR | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  if (probe >= 0) {
    ::close(probe);
    // The rights arrived between the two opens (udev applies them a moment
    // after the node appears): still a permission failure, and the caller's
    // next attempt will succeed.
    return IsPermissionError(savedErrno) ? HidOpenFailure::PermissionDenied : HidOpenFailure::Other;
  }
  return IsPermissionError(errno) ? HidOpenFailure::PermissionDenied : HidOpenFailure::Other;
}

}  // namespace platform
