#pragma once
// The single-instance rule.  The first process that starts under a name
// holds an exclusive lock on "<name>.lock" in $XDG_RUNTIME_DIR (or, without
// one, in a fallback folder the caller gives: the user data folder) for as
// long as its InstanceLock lives; the kernel drops the lock when the process
// ends, however it ends.  Beside the lock, the first process listens on the
// Unix-domain socket "<name>.sock": a later start sends "show your window"
// there and exits, and components outside the program send the two messages
// the main window accepts from outside.
//
// The channel speaks one line per request and answers "ok" or "refused":
//   show            bring the main window to the front
//   1092 <id>       perform the software action <id>
//   1691 <value>    shutdown request (acted on for 610)
// Only processes of the same user are answered.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace platform {

constexpr uint32_t kSoftwareActionMessage = 1092;
constexpr uint32_t kShutdownRequestMessage = 1691;

struct InstanceRequest {
  enum class Kind { ShowWindow, Message };
  Kind kind = Kind::ShowWindow;
  uint32_t message = 0;  // kSoftwareActionMessage or kShutdownRequestMessage
  uintptr_t wParam = 0;
  bool operator==(const InstanceRequest&) const = default;
};

// Owns the lock file, the listening socket and the listener thread.
// Create, query and destroy it on one thread (start-up's); the handler runs
// on the listener thread.
class InstanceLock {
 public:
  using RequestHandler = std::function<void(const InstanceRequest&)>;

  // Tries to take the lock for `name`.  Never blocks.
  InstanceLock(const std::wstring& name, const std::wstring& fallbackFolder);
  ~InstanceLock();
  InstanceLock(const InstanceLock&) = delete;
  InstanceLock& operator=(const InstanceLock&) = delete;

  // True when this process holds the lock, and also when no lock could be
  // made at all (no usable folder): then this process carries on as the
  // first instance, without a channel.
  bool IsFirst() const;
  bool HoldsLock() const;

  // First instance only: opens the channel and hands every accepted request
  // to `handler` on a listener thread.  False when the socket cannot be made.
  bool StartListening(RequestHandler handler);

  // Sends one request to the instance running under `name`.  Waits up to
  // about three seconds for its channel to appear (it may have just taken
  // the lock) and for the answer; true when the request was accepted.
  static bool SendToRunningInstance(const std::wstring& name, const std::wstring& fallbackFolder,
                                    const InstanceRequest& request);

  // The folder the lock and the socket live in.
  static std::wstring LockFolder(const std::wstring& fallbackFolder);

  // The request written as one line of the channel, and read back; false
  // for anything else than the three forms above.
  static std::string FormatRequest(const InstanceRequest& request);
  static bool ParseRequest(std::string_view line, InstanceRequest& request);

 private:
  struct Listener;
  std::string m_lockPath;
  std::string m_socketPath;
  int m_lockFd = -1;
  bool m_holdsLock = false;
  bool m_first = false;
  std::unique_ptr<Listener> m_listener;
};

}  // namespace platform
