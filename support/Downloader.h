#pragma once
// Downloads one file over HTTP(S) into a local path and reports progress to
// a window by posting messages.
//
// Thread rules: DownloadFile runs on one thread (the controller's worker);
// Stop and IsRunning may be called from any thread while it runs.  The
// progress messages are posted, never sent, so the window's thread is never
// waited on.
#include <atomic>
#include <cstdint>
#include <string>
#include <utility>

namespace platform {
class MessageTarget;
}

// Posted to the reporting window with wParam 0 and lParam = progress 0..100.
constexpr uint32_t kDownloadProgressMessage = 1690;

// DownloadFile's results.
constexpr int kDownloadComplete = 1;
constexpr int kDownloadStopped = -2;
constexpr int kDownloadFailed = -1;
constexpr int kDownloadNoSession = 0;

struct DownloadOptions {
  long connectTimeoutMs = 30000;
  // A transfer slower than 1 byte/s for this long is given up.
  long lowSpeedSeconds = 30;
  // Larger downloads are refused, whether or not the server announced them.
  int64_t maxBytes = int64_t{512} * 1024 * 1024;
  // Certificate authorities to trust instead of the system's (tests only).
  std::string caFile;
};

class Downloader {
 public:
  Downloader() = default;
  explicit Downloader(DownloadOptions options) : m_options(std::move(options)) {}

  // Fetches `url` into `targetPath` (any existing file there is replaced)
  // and posts the progress to `window` (may be null).  Returns
  // kDownloadComplete when the whole body arrived and was written,
  // kDownloadStopped when Stop was called meanwhile, kDownloadFailed when the
  // address could not be opened (refused, HTTP error, bad certificate), the
  // file could not be created or written, the transfer broke off or stalled
  // or grew too large, and kDownloadNoSession when no transfer could be set
  // up at all.  Whenever the result is not kDownloadComplete, a file this
  // call created is removed again, so what it leaves at `targetPath` is
  // always a whole download.
  int DownloadFile(const std::wstring& url, const std::wstring& targetPath, platform::MessageTarget* window);

  // Asks a running download to end; a download waiting for a silent server
  // stops waiting within a fraction of a second.
  void Stop() { m_running = false; }
  bool IsRunning() const { return m_running; }

 private:
  void PostProgress(platform::MessageTarget* window, int progress);

  DownloadOptions m_options;
  std::atomic<bool> m_running{false};
  int m_lastProgress = -1;
};
