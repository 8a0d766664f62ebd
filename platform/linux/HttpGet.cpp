#include "platform/HttpGet.h"

#include <curl/curl.h>

#include <algorithm>
#include <cstring>
#include <mutex>
#include <utility>

namespace platform {
namespace {

// libcurl's global set-up must happen once per process before any handle;
// a failure there means no transfer can be made at all.
bool GlobalInit() {
  static std::once_flag once;
  static bool ok = false;
  std::call_once(once, [] { ok = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK; });
  return ok;
}

struct EasyDeleter {
  void operator()(CURL* easy) const { curl_easy_cleanup(easy); }
};
struct MultiDeleter {
  void operator()(CURLM* multi) const { curl_multi_cleanup(multi); }
};
struct ListDeleter {
  void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};

// The longest wait for socket activity before libcurl's own timers (connect
// and low-speed timeouts) get another look.
constexpr int kPollMs = 200;

}  // namespace

struct HttpGet::Impl {
  HttpGetOptions options;
  std::unique_ptr<CURLM, MultiDeleter> multi;
  std::unique_ptr<CURL, EasyDeleter> easy;
  std::unique_ptr<curl_slist, ListDeleter> headers;
  bool attached = false;

  // Body bytes libcurl has handed over that Read has not taken yet.
  std::string pending;
  size_t pendingPos = 0;

  bool done = false;
  CURLcode result = CURLE_OK;
  bool opened = false;
  long status = 0;
  int64_t length = -1;
  std::string error;
  char errorBuffer[CURL_ERROR_SIZE] = {};

  ~Impl() {
    if (attached) curl_multi_remove_handle(multi.get(), easy.get());
  }

  static size_t OnBody(char* data, size_t size, size_t count, void* self) {
    auto* impl = static_cast<Impl*>(self);
    impl->pending.append(data, size * count);
    return size * count;
  }

  size_t Available() const { return pending.size() - pendingPos; }

  bool Cancelled() const { return options.keepRunning && !options.keepRunning->load(); }

  // Lets libcurl move the transfer on once; waits a little for the sockets
  // when nothing happened.
  void Step() {
    int running = 0;
    CURLMcode code = curl_multi_perform(multi.get(), &running);
    if (code != CURLM_OK) {
      done = true;
      result = CURLE_FAILED_INIT;
      error = curl_multi_strerror(code);
      return;
    }
    int queued = 0;
    while (CURLMsg* message = curl_multi_info_read(multi.get(), &queued)) {
      if (message->msg == CURLMSG_DONE) {
        done = true;
        result = message->data.result;
        if (result != CURLE_OK) {
          error = errorBuffer[0] != '\0' ? errorBuffer : curl_easy_strerror(result);
        }
      }
    }
    if (!done && Available() == 0) curl_multi_poll(multi.get(), nullptr, 0, kPollMs, nullptr);
  }
};

HttpGet::HttpGet(HttpGetOptions options) : m_impl(std::make_unique<Impl>()) {
  m_impl->options = std::move(options);
  if (!GlobalInit()) return;
  m_impl->multi.reset(curl_multi_init());
  m_impl->easy.reset(curl_easy_init());
  if (!m_impl->multi || !m_impl->easy) {
    m_impl->multi.reset();
    m_impl->easy.reset();
  }
}

HttpGet::~HttpGet() = default;

bool HttpGet::HasSession() const { return m_impl->easy != nullptr; }

bool HttpGet::Open(const std::string& url) {
  Impl& impl = *m_impl;
  if (!impl.easy || impl.attached) return false;
  CURL* easy = impl.easy.get();
  const HttpGetOptions& options = impl.options;

  for (const std::string& line : options.headers) {
    // Appending keeps the list's head, except for the first line.
    curl_slist* head = curl_slist_append(impl.headers.get(), line.c_str());
    if (!head) return false;
    if (!impl.headers) impl.headers.reset(head);
  }

  curl_easy_setopt(easy, CURLOPT_URL, url.c_str());
  curl_easy_setopt(easy, CURLOPT_ERRORBUFFER, impl.errorBuffer);
  // The worker thread must never see a signal from a DNS timeout.
  curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(easy, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, 1L);
  curl_easy_setopt(easy, CURLOPT_MAXREDIRS, static_cast<long>(options.maxRedirects));
  curl_easy_setopt(easy, CURLOPT_SSL_VERIFYPEER, 1L);
  curl_easy_setopt(easy, CURLOPT_SSL_VERIFYHOST, 2L);
  if (!options.caFile.empty()) curl_easy_setopt(easy, CURLOPT_CAINFO, options.caFile.c_str());
  curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT_MS, options.connectTimeoutMs);
  curl_easy_setopt(easy, CURLOPT_LOW_SPEED_LIMIT, options.lowSpeedBytesPerSecond);
  curl_easy_setopt(easy, CURLOPT_LOW_SPEED_TIME, options.lowSpeedSeconds);
  curl_easy_setopt(easy, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(options.maxBodyBytes));
  // An error page is not the file that was asked for.
  curl_easy_setopt(easy, CURLOPT_FAILONERROR, 1L);
  if (!options.userAgent.empty()) curl_easy_setopt(easy, CURLOPT_USERAGENT, options.userAgent.c_str());
  if (impl.headers) curl_easy_setopt(easy, CURLOPT_HTTPHEADER, impl.headers.get());
  curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, &Impl::OnBody);
  curl_easy_setopt(easy, CURLOPT_WRITEDATA, &impl);

  if (curl_multi_add_handle(impl.multi.get(), easy) != CURLM_OK) return false;
  impl.attached = true;

  // The response is known once the first body bytes arrive or the transfer
  // ends (an empty body, or a failure).
  while (!impl.done && impl.Available() == 0) {
    if (impl.Cancelled()) {
      impl.error = "stopped";
      return false;
    }
    impl.Step();
  }

  curl_easy_getinfo(easy, CURLINFO_RESPONSE_CODE, &impl.status);
  curl_off_t length = -1;
  if (curl_easy_getinfo(easy, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length) == CURLE_OK) impl.length = length;

  if (impl.done && impl.result != CURLE_OK) return false;
  if (impl.status < 200 || impl.status > 299) {
    impl.error = "HTTP status " + std::to_string(impl.status);
    return false;
  }
  impl.opened = true;
  return true;
}

long HttpGet::Status() const { return m_impl->status; }

int64_t HttpGet::ContentLength() const { return m_impl->length; }

int64_t HttpGet::Read(char* buffer, size_t size) {
  Impl& impl = *m_impl;
  if (!impl.opened) return -1;
  size_t filled = 0;
  while (filled < size) {
    if (impl.Available() > 0) {
      size_t take = std::min(size - filled, impl.Available());
      std::memcpy(buffer + filled, impl.pending.data() + impl.pendingPos, take);
      impl.pendingPos += take;
      filled += take;
      if (impl.Available() == 0) {
        impl.pending.clear();
        impl.pendingPos = 0;
      }
      continue;
    }
    if (impl.done) {
      if (impl.result != CURLE_OK) return -1;
      break;
    }
    if (impl.Cancelled()) break;
    impl.Step();
  }
  return static_cast<int64_t>(filled);
}

std::string HttpGet::LastError() const { return m_impl->error; }

}  // namespace platform
