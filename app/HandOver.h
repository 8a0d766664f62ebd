#pragma once
// Requests that reach this instance from outside (a second start asking to
// be shown, the messages 1092 and 1691) arrive on the instance channel's
// listener thread, possibly before the main window exists.  HandOver keeps
// them until the main window names a target, then passes each one on.
//
// Deliver: any thread.  SetTarget: the UI thread.  The target runs on the
// delivering thread with HandOver's lock held, so it must only post (a
// window's PostMessage) and never call back into HandOver.
#include <functional>
#include <mutex>
#include <vector>

#include "platform/InstanceLock.h"

class HandOver {
 public:
  using Target = std::function<void(const platform::InstanceRequest&)>;

  void Deliver(const platform::InstanceRequest& request);

  // Passes every request held so far to `target`, in order, and every later
  // one as it comes.  An empty target holds requests again.
  void SetTarget(Target target);

 private:
  // A window that never appears must not make the list grow without end;
  // a few requests say all there is to say.
  static constexpr size_t kMaxHeld = 32;

  std::mutex m_mutex;
  Target m_target;
  std::vector<platform::InstanceRequest> m_held;
};
