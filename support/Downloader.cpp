#include "support/Downloader.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <vector>

#include "platform/HttpGet.h"
#include "platform/MessageTarget.h"
#include "platform/TextConvert.h"

namespace {

// The download is read in pieces of this size; progress counts them.
constexpr size_t kChunkBytes = 10240;

// The names the firmware server has always seen from this program.
constexpr const char* kUserAgent = "IIC2.0/PC 5.5.0000";

class OutputFile {
 public:
  explicit OutputFile(int fd) : m_fd(fd) {}
  ~OutputFile() {
    if (m_fd >= 0) ::close(m_fd);
  }
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  bool IsOpen() const { return m_fd >= 0; }

  bool WriteAll(const char* data, size_t size) {
    while (size > 0) {
      ssize_t done = ::write(m_fd, data, size);
      if (done < 0) {
        if (errno == EINTR) continue;
        return false;
      }
      data += done;
      size -= static_cast<size_t>(done);
    }
    return true;
  }

  // Closing can report the last write error (full disk on some file
  // systems), so its result counts.
  bool Close() {
    int fd = m_fd;
    m_fd = -1;
    return ::close(fd) == 0;
  }

 private:
  int m_fd;
};

}  // namespace

void Downloader::PostProgress(platform::MessageTarget* window, int progress) {
  if (progress == m_lastProgress) return;
  m_lastProgress = progress;
  if (window) window->PostMessage(kDownloadProgressMessage, 0, progress);
}

int Downloader::DownloadFile(const std::wstring& url, const std::wstring& targetPath,
                             platform::MessageTarget* window) {
  m_running = true;
  // Every download reports its own sequence from 0, even when the last one
  // ended on the same value.
  m_lastProgress = -1;
  PostProgress(window, 0);

  platform::HttpGetOptions http;
  http.userAgent = kUserAgent;
  // Always the server's current file, never a cached copy.
  http.headers = {"Accept: */*", "Pragma: no-cache", "Cache-Control: no-cache"};
  http.connectTimeoutMs = m_options.connectTimeoutMs;
  http.lowSpeedBytesPerSecond = 1;
  http.lowSpeedSeconds = m_options.lowSpeedSeconds;
  http.maxBodyBytes = m_options.maxBytes;
  http.caFile = m_options.caFile;
  // A stop request also ends a wait on a silent server.
  http.keepRunning = &m_running;
  platform::HttpGet get(std::move(http));
  if (!get.HasSession()) {
    m_running = false;
    return kDownloadNoSession;
  }
  PostProgress(window, 2);

  if (!get.Open(platform::ToUtf8(url))) {
    const bool stopped = !m_running;
    m_running = false;
    return stopped ? kDownloadStopped : kDownloadFailed;
  }
  PostProgress(window, 8);

  const std::string path = platform::ToUtf8(targetPath);
  // Removing first replaces a read-only file or a symbolic link instead of
  // writing through it.
  ::unlink(path.c_str());
  OutputFile file(::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666));
  if (!file.IsOpen()) {
    m_running = false;
    return kDownloadFailed;
  }
  auto fail = [&](int result) {
    if (file.IsOpen()) file.Close();
    ::unlink(path.c_str());
    m_running = false;
    return result;
  };

  const int64_t length = get.ContentLength();
  const int64_t expectedChunks = length > 0 ? length / static_cast<int64_t>(kChunkBytes) : 0;
  PostProgress(window, 10);

  std::vector<char> buffer(kChunkBytes);
  int64_t counter = 0;
  int64_t written = 0;
  for (;;) {
    const int64_t got = get.Read(buffer.data(), buffer.size());
    if (got < 0) return fail(kDownloadFailed);
    if (got == 0) break;
    if (written + got > m_options.maxBytes) return fail(kDownloadFailed);
    if (!file.WriteAll(buffer.data(), static_cast<size_t>(got))) return fail(kDownloadFailed);
    written += got;
    counter += 90;
    // The expected count rounds down, so the last piece of a length that is
    // not a multiple of the piece size would pass 100.
    if (expectedChunks > 0) PostProgress(window, static_cast<int>(std::min<int64_t>(100, counter / expectedChunks + 10)));
    if (!m_running) break;
  }
  if (!file.Close()) return fail(kDownloadFailed);
  PostProgress(window, 100);
  if (!m_running) return fail(kDownloadStopped);
  m_running = false;
  return kDownloadComplete;
}
