#pragma once
// Something that accepts posted messages: the toolkit's windows implement it
// (posting wakes the UI thread's loop), tests implement it to record what
// arrives.  Core code that reports progress to a window (downloads, the
// worker) holds a MessageTarget*, so it never depends on the window system.
#include <cstdint>

namespace platform {

class MessageTarget {
 public:
  virtual ~MessageTarget() = default;
  // Safe from any thread; never blocks on the UI thread.
  virtual void PostMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) = 0;
};

}  // namespace platform
