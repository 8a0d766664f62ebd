#pragma once
// A small HTTP/1.0 server on 127.0.0.1 for the download tests: every path
// gets a scripted answer, including the misbehaviours a real server can
// show (no length, a short body, a stall).  Each connection is served on a
// thread of its own; Stop (or the destructor) ends them all.
#include <atomic>
#include <cstddef>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

struct TestResponse {
  int status = 200;
  std::string body;
  bool sendLength = true;
  std::vector<std::string> headers;  // extra header lines, e.g. "Location: ..."
  // Send only this many body bytes, then close the connection.
  size_t closeAfter = std::string::npos;
  // Send only this many body bytes, then hold the connection open.
  size_t stallAfter = std::string::npos;
  // Accept the request but never answer.
  bool stallBeforeAnswer = false;

  static TestResponse Ok(std::string body) {
    TestResponse response;
    response.body = std::move(body);
    return response;
  }
  static TestResponse Redirect(const std::string& location) {
    TestResponse response;
    response.status = 302;
    response.headers.push_back("Location: " + location);
    return response;
  }
  TestResponse WithoutLength() && {
    sendLength = false;
    return std::move(*this);
  }
  TestResponse CloseAfter(size_t bytes) && {
    closeAfter = bytes;
    return std::move(*this);
  }
  TestResponse StallAfter(size_t bytes) && {
    stallAfter = bytes;
    return std::move(*this);
  }
  TestResponse StallBeforeAnswer() && {
    stallBeforeAnswer = true;
    return std::move(*this);
  }
};

class TestHttpServer {
 public:
  TestHttpServer();
  ~TestHttpServer();
  TestHttpServer(const TestHttpServer&) = delete;
  TestHttpServer& operator=(const TestHttpServer&) = delete;

  // Unknown paths get 404.
  void Serve(const std::string& path, TestResponse response);
  bool Start();
  void Stop();

  int Port() const { return m_port; }
  std::string Url(const std::string& path) const;
  // The request heads received so far (request line and headers).
  std::vector<std::string> Requests() const;
  int Connections() const { return m_connections; }

 private:
  void AcceptLoop();
  void Handle(int client);

  int m_listener = -1;
  int m_port = 0;
  std::atomic<bool> m_stop{false};
  std::atomic<int> m_connections{0};
  std::thread m_acceptThread;
  mutable std::mutex m_mutex;
  std::map<std::string, TestResponse> m_responses;
  std::vector<std::string> m_requests;
  std::vector<std::thread> m_workers;
};

// A port on 127.0.0.1 where nothing listens (bound, then released).
int UnusedPort();
