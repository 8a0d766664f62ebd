#pragma once
// One HTTP(S) GET read the way a file is read: open the address, learn the
// status and the content length, then read the body in pieces of the
// caller's size.  The Linux implementation drives libcurl; callers never see
// its types.
//
// Thread rules: one object belongs to one thread at a time (the controller's
// worker for the firmware download).  Different objects are independent.
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace platform {

struct HttpGetOptions {
  std::string userAgent;
  // Request header lines without line ends, e.g. "Accept: */*".
  std::vector<std::string> headers;
  // A server that does not accept the connection within this time fails.
  long connectTimeoutMs = 30000;
  // A transfer that stays below lowSpeedBytesPerSecond for lowSpeedSeconds
  // fails, so a stalled server cannot hold the caller forever.
  long lowSpeedBytesPerSecond = 1;
  long lowSpeedSeconds = 30;
  // Bodies announced larger than this are refused before any byte is read.
  int64_t maxBodyBytes = int64_t{512} * 1024 * 1024;
  int maxRedirects = 10;
  // A PEM file of certificate authorities to trust instead of the system's
  // (tests use it for their own server); empty for the system store.  The
  // server's certificate and host name are always verified.
  std::string caFile;
  // When given and cleared (from any thread), Open and Read stop waiting
  // within a fraction of a second instead of at the next piece of data.
  const std::atomic<bool>* keepRunning = nullptr;
};

class HttpGet {
 public:
  explicit HttpGet(HttpGetOptions options);
  ~HttpGet();
  HttpGet(const HttpGet&) = delete;
  HttpGet& operator=(const HttpGet&) = delete;

  // False when no transfer machinery could be set up at all (the library
  // failed to initialise); nothing else works then.
  bool HasSession() const;

  // Sends the request and waits for the final response (redirects are
  // followed only to http and https).  True when it answered with a 2xx
  // status; false for refused or timed-out connections, certificate
  // failures, HTTP errors and refused redirects, or when keepRunning was
  // cleared meanwhile.  Call once.
  bool Open(const std::string& url);

  // The final response's status (0 before an answer) and its announced
  // content length (-1 when the server did not say).
  long Status() const;
  int64_t ContentLength() const;

  // Blocks until `size` bytes of the body have arrived or the body has
  // ended.  Returns the number of bytes stored in `buffer` (0 once the body
  // is complete), or -1 when the transfer failed (connection lost, body
  // shorter than announced, stalled, too large).  When keepRunning is
  // cleared it returns early with what it has, possibly 0.
  int64_t Read(char* buffer, size_t size);

  // A short reason for the last failure, for developers' traces.
  std::string LastError() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> m_impl;
};

}  // namespace platform
