#pragma once
// The trace of everything the simulated keyboard receives, one line per
// event, appended and flushed at once so a test can read it while the
// program runs:
//
//   <monotonic ns> <kind> <interface id> <result> <bytes as hex, or ->
//
// kind is one of output, stream, feature-send, feature-get, open, close.
// result is what the call returned (-1 for a failed transfer; for open 0 or
// -13, the permission error).  For feature-get the bytes are the reply, or
// the request when there was none.  Time stamps come from CLOCK_MONOTONIC,
// the clock of std::chrono::steady_clock.
#include <cstdint>
#include <cstdio>
#include <string>

namespace virtual_keyboard {

class ReportTrace {
 public:
  ReportTrace() = default;
  ~ReportTrace();
  ReportTrace(const ReportTrace&) = delete;
  ReportTrace& operator=(const ReportTrace&) = delete;

  // Switches to another file ("" = no trace).  Caller holds the simulator's lock.
  void SetPath(const std::string& path);
  void Record(const char* kind, const std::string& interfaceId, int result, const uint8_t* bytes,
              size_t length);

 private:
  std::string m_path;
  FILE* m_file = nullptr;
};

}  // namespace virtual_keyboard
