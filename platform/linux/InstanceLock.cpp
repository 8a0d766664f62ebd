#include "platform/InstanceLock.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <utility>

#include "platform/Paths.h"
#include "platform/TextConvert.h"

namespace platform {
namespace {

constexpr auto kSendPatience = std::chrono::seconds(3);
constexpr auto kRetryPause = std::chrono::milliseconds(20);
constexpr int kClientTimeoutMs = 1000;
constexpr size_t kMaxLine = 64;
constexpr int kMaxRequestsPerConnection = 8;

class FileDescriptor {
 public:
  FileDescriptor() = default;
  explicit FileDescriptor(int fd) : m_fd(fd) {}
  ~FileDescriptor() { Reset(); }
  FileDescriptor(FileDescriptor&& other) noexcept : m_fd(std::exchange(other.m_fd, -1)) {}
  FileDescriptor& operator=(FileDescriptor&& other) noexcept {
    if (this != &other) {
      Reset();
      m_fd = std::exchange(other.m_fd, -1);
    }
    return *this;
  }
  void Reset() {
    if (m_fd >= 0) ::close(m_fd);
    m_fd = -1;
  }
  int Get() const { return m_fd; }
  bool Valid() const { return m_fd >= 0; }

 private:
  int m_fd = -1;
};

bool IsFolder(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string FolderFor(const std::wstring& fallbackFolder) {
  return ToUtf8(InstanceLock::LockFolder(fallbackFolder));
}

std::string BaseName(const std::wstring& name) { return ToUtf8(FileNameFrom(name)); }

// A socket address for `path`.  sun_path holds 108 bytes; a longer path is
// reached through the folder's descriptor under /proc/self/fd, which the
// kernel resolves like any other path.  `folderHolder` keeps that
// descriptor open while the address is in use.
bool MakeAddress(const std::string& path, sockaddr_un& address, FileDescriptor& folderHolder) {
  std::memset(&address, 0, sizeof address);
  address.sun_family = AF_UNIX;
  std::string usable = path;
  if (usable.size() >= sizeof address.sun_path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) return false;
    folderHolder = FileDescriptor(::open(path.substr(0, slash).c_str(),
                                         O_PATH | O_DIRECTORY | O_CLOEXEC));
    if (!folderHolder.Valid()) return false;
    usable = "/proc/self/fd/" + std::to_string(folderHolder.Get()) + path.substr(slash);
    if (usable.size() >= sizeof address.sun_path) return false;
  }
  std::memcpy(address.sun_path, usable.c_str(), usable.size() + 1);
  return true;
}

bool SendAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<size_t>(n));
  }
  return true;
}

// Reads one line (without its '\n') or what came before end of file.  False
// on timeout, error, or a line longer than any request.
bool ReadLine(int fd, std::string& pending, std::string& line, bool& ended) {
  for (;;) {
    const size_t newline = pending.find('\n');
    if (newline != std::string::npos) {
      line = pending.substr(0, newline);
      pending.erase(0, newline + 1);
      return true;
    }
    if (pending.size() > kMaxLine) return false;
    if (ended) {
      line = std::exchange(pending, {});
      return !line.empty();
    }
    char buffer[128];
    const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (n == 0) ended = true;
    pending.append(buffer, static_cast<size_t>(n > 0 ? n : 0));
  }
}

void SetTimeouts(int fd, int milliseconds) {
  timeval tv{};
  tv.tv_sec = milliseconds / 1000;
  tv.tv_usec = (milliseconds % 1000) * 1000;
  ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
  ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &tv, sizeof tv);
}

bool SameUser(int fd) {
  ucred peer{};
  socklen_t size = sizeof peer;
  return ::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 && peer.uid == ::getuid();
}

}  // namespace

struct InstanceLock::Listener {
  FileDescriptor socket;
  FileDescriptor wake;
  RequestHandler handler;
  std::thread thread;

  ~Listener() {
    if (thread.joinable()) {
      const uint64_t one = 1;
      [[maybe_unused]] const ssize_t n = ::write(wake.Get(), &one, sizeof one);
      thread.join();
    }
  }

  void Run() {
    pollfd fds[2] = {{socket.Get(), POLLIN, 0}, {wake.Get(), POLLIN, 0}};
    for (;;) {
      if (::poll(fds, 2, -1) < 0) {
        if (errno == EINTR) continue;
        return;
      }
      if (fds[1].revents != 0) return;
      if ((fds[0].revents & POLLIN) == 0) continue;
      FileDescriptor client(::accept4(socket.Get(), nullptr, nullptr, SOCK_CLOEXEC));
      if (client.Valid()) {
        Serve(client.Get());
      } else if (errno == EMFILE || errno == ENFILE || errno == ENOBUFS || errno == ENOMEM) {
        // The connection stays queued and poll would report it again at
        // once; give the process a moment to free descriptors.
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
      }
    }
  }

  // One client at a time: requests are a few bytes, and the timeout keeps a
  // silent client from holding the channel.
  void Serve(int fd) {
    SetTimeouts(fd, kClientTimeoutMs);
    if (!SameUser(fd)) return;
    std::string pending;
    std::string line;
    bool ended = false;
    for (int i = 0; i < kMaxRequestsPerConnection && ReadLine(fd, pending, line, ended); ++i) {
      InstanceRequest request;
      const bool accepted = ParseRequest(line, request);
      if (accepted) handler(request);
      if (!SendAll(fd, accepted ? "ok\n" : "refused\n")) return;
    }
  }
};

InstanceLock::InstanceLock(const std::wstring& name, const std::wstring& fallbackFolder) {
  const std::string folder = FolderFor(fallbackFolder);
  m_lockPath = folder + BaseName(name) + ".lock";
  m_socketPath = folder + BaseName(name) + ".sock";
  if (!IsFolder(folder)) CreateFolderPath(FromUtf8(folder));
  m_lockFd = ::open(m_lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (m_lockFd < 0) {
    // No lock can be made: carry on as the only instance.
    m_first = true;
    return;
  }
  while (::flock(m_lockFd, LOCK_EX | LOCK_NB) != 0) {
    if (errno == EINTR) continue;
    // EWOULDBLOCK: another process holds it.  Anything else (a file system
    // without locks) leaves no way to tell, so this one carries on.
    m_first = errno != EWOULDBLOCK;
    return;
  }
  m_holdsLock = true;
  m_first = true;
}

InstanceLock::~InstanceLock() {
  if (m_listener) {
    m_listener.reset();
    // Only the lock holder ever binds or removes the socket, so it is ours.
    ::unlink(m_socketPath.c_str());
  }
  if (m_lockFd >= 0) ::close(m_lockFd);
}

bool InstanceLock::IsFirst() const { return m_first; }
bool InstanceLock::HoldsLock() const { return m_holdsLock; }

bool InstanceLock::StartListening(RequestHandler handler) {
  if (!m_holdsLock || m_listener || !handler) return false;
  auto listener = std::make_unique<Listener>();
  listener->handler = std::move(handler);
  listener->socket = FileDescriptor(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
  listener->wake = FileDescriptor(::eventfd(0, EFD_CLOEXEC));
  if (!listener->socket.Valid() || !listener->wake.Valid()) return false;
  sockaddr_un address{};
  FileDescriptor folder;
  if (!MakeAddress(m_socketPath, address, folder)) return false;
  // A socket left behind by an instance that crashed is stale: whoever holds
  // the lock owns the name.
  ::unlink(m_socketPath.c_str());
  if (::bind(listener->socket.Get(), reinterpret_cast<const sockaddr*>(&address),
             sizeof address) != 0 ||
      ::listen(listener->socket.Get(), 8) != 0) {
    return false;
  }
  ::chmod(m_socketPath.c_str(), 0600);
  Listener* running = listener.get();
  listener->thread = std::thread([running] { running->Run(); });
  m_listener = std::move(listener);
  return true;
}

bool InstanceLock::SendToRunningInstance(const std::wstring& name,
                                         const std::wstring& fallbackFolder,
                                         const InstanceRequest& request) {
  const std::string path = FolderFor(fallbackFolder) + BaseName(name) + ".sock";
  sockaddr_un address{};
  FileDescriptor folder;
  if (!MakeAddress(path, address, folder)) return false;
  const std::string line = FormatRequest(request) + "\n";

  const auto deadline = std::chrono::steady_clock::now() + kSendPatience;
  for (;;) {
    FileDescriptor fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
    if (!fd.Valid()) return false;
    SetTimeouts(fd.Get(), kClientTimeoutMs);
    if (::connect(fd.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0) {
      if (!SendAll(fd.Get(), line)) return false;
      ::shutdown(fd.Get(), SHUT_WR);
      std::string pending;
      std::string answer;
      bool ended = false;
      return ReadLine(fd.Get(), pending, answer, ended) && answer == "ok";
    }
    // The first instance may hold the lock but not yet listen, or the socket
    // may be a stale one it is about to replace.
    const bool worthRetrying = errno == ENOENT || errno == ECONNREFUSED || errno == EAGAIN ||
                               errno == EINTR;
    if (!worthRetrying || std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(kRetryPause);
  }
}

std::wstring InstanceLock::LockFolder(const std::wstring& fallbackFolder) {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  if (runtime != nullptr && runtime[0] == '/' && IsFolder(runtime)) {
    std::string folder = runtime;
    if (folder.back() != '/') folder += '/';
    return FromUtf8(folder);
  }
  std::wstring folder = fallbackFolder;
  if (folder.empty() || folder.back() != L'/') folder += L'/';
  return folder;
}

std::string InstanceLock::FormatRequest(const InstanceRequest& request) {
  if (request.kind == InstanceRequest::Kind::ShowWindow) return "show";
  return std::to_string(request.message) + " " + std::to_string(request.wParam);
}

bool InstanceLock::ParseRequest(std::string_view line, InstanceRequest& request) {
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  if (line == "show") {
    request = InstanceRequest{};
    return true;
  }
  const size_t space = line.find(' ');
  if (space == std::string_view::npos) return false;
  const std::string_view message = line.substr(0, space);
  const std::string_view value = line.substr(space + 1);
  uint32_t number = 0;
  uintptr_t wParam = 0;
  const auto parsedMessage = std::from_chars(message.data(), message.data() + message.size(), number);
  const auto parsedValue = std::from_chars(value.data(), value.data() + value.size(), wParam);
  if (parsedMessage.ec != std::errc{} || parsedMessage.ptr != message.data() + message.size() ||
      parsedValue.ec != std::errc{} || parsedValue.ptr != value.data() + value.size() ||
      value.empty() || message.empty()) {
    return false;
  }
  // Only the two messages meant for outside senders pass; nothing else may
  // reach the main window this way.
  if (number != kSoftwareActionMessage && number != kShutdownRequestMessage) return false;
  request.kind = InstanceRequest::Kind::Message;
  request.message = number;
  request.wParam = wParam;
  return true;
}

}  // namespace platform
