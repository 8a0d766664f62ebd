#pragma once
// Why an HID interface could not be opened.  hidapi reports only that the
// open failed, and the errno it leaves behind may have been overwritten by
// its clean-up, so the node itself is asked again.  Any thread.
#include <string>

namespace platform {

enum class HidOpenFailure {
  PermissionDenied,  // the node exists but this user may not open it
  Other,             // gone, busy, not a device, ...
};

// `savedErrno` is errno taken right after the failed open.  When the path
// names an existing node, a probe open decides; otherwise the saved value.
HidOpenFailure ClassifyOpenFailure(const std::string& path, int savedErrno);

}  // namespace platform
