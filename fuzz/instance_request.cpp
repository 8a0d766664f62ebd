// Feeds arbitrary lines to the single-instance channel's request parser.
// Only "show" and the two messages meant for outside senders may pass, and a
// request that passes is written back as one line that reads as the same
// request.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/InstanceLock.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using platform::InstanceLock;
  using platform::InstanceRequest;
  const std::string_view line(reinterpret_cast<const char*>(data), size);

  InstanceRequest request;
  request.kind = InstanceRequest::Kind::Message;
  request.message = 7;
  request.wParam = 99;
  if (!InstanceLock::ParseRequest(line, request)) return 0;

  if (request.kind == InstanceRequest::Kind::ShowWindow) {
    if (line != "show" && line != "show\r") std::abort();
    if (request.message != 0 || request.wParam != 0) std::abort();
  } else if (request.message != platform::kSoftwareActionMessage &&
             request.message != platform::kShutdownRequestMessage) {
    std::abort();
  }
  if (line.find('\n') != std::string_view::npos) std::abort();

  const std::string written = InstanceLock::FormatRequest(request);
  if (written.empty() || written.find('\n') != std::string::npos || written.find('\r') != std::string::npos) {
    std::abort();
  }
  InstanceRequest again;
  if (!InstanceLock::ParseRequest(written, again) || !(again == request)) std::abort();
  return 0;
}
