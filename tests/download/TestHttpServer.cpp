#include "TestHttpServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>

namespace {

int ListenOnLoopback(int& port) {
  int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return -1;
  int one = 1;
  ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = 0;
  socklen_t size = sizeof address;
  if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || ::listen(fd, 16) != 0 ||
      ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size) != 0) {
    ::close(fd);
    return -1;
  }
  port = ntohs(address.sin_port);
  return fd;
}

bool SendAll(int fd, const char* data, size_t size) {
  while (size > 0) {
    ssize_t sent = ::send(fd, data, size, MSG_NOSIGNAL);
    if (sent <= 0) return false;
    data += sent;
    size -= static_cast<size_t>(sent);
  }
  return true;
}

const char* Reason(int status) {
  switch (status) {
    case 200: return "OK";
    case 302: return "Found";
    case 404: return "Not Found";
    default: return "Status";
  }
}

}  // namespace

int UnusedPort() {
  int port = 0;
  int fd = ListenOnLoopback(port);
  if (fd >= 0) ::close(fd);
  return port;
}

TestHttpServer::TestHttpServer() = default;

TestHttpServer::~TestHttpServer() { Stop(); }

void TestHttpServer::Serve(const std::string& path, TestResponse response) {
  std::scoped_lock lock(m_mutex);
  m_responses[path] = std::move(response);
}

bool TestHttpServer::Start() {
  m_listener = ListenOnLoopback(m_port);
  if (m_listener < 0) return false;
  m_acceptThread = std::thread([this] { AcceptLoop(); });
  return true;
}

void TestHttpServer::Stop() {
  m_stop = true;
  if (m_acceptThread.joinable()) m_acceptThread.join();
  std::vector<std::thread> workers;
  {
    std::scoped_lock lock(m_mutex);
    workers.swap(m_workers);
  }
  for (std::thread& worker : workers) worker.join();
  if (m_listener >= 0) ::close(m_listener);
  m_listener = -1;
}

std::string TestHttpServer::Url(const std::string& path) const {
  return "http://127.0.0.1:" + std::to_string(m_port) + path;
}

std::vector<std::string> TestHttpServer::Requests() const {
  std::scoped_lock lock(m_mutex);
  return m_requests;
}

void TestHttpServer::AcceptLoop() {
  while (!m_stop) {
    pollfd waiting{m_listener, POLLIN, 0};
    if (::poll(&waiting, 1, 20) <= 0) continue;
    int client = ::accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC);
    if (client < 0) continue;
    ++m_connections;
    std::scoped_lock lock(m_mutex);
    m_workers.emplace_back([this, client] {
      Handle(client);
      ::close(client);
    });
  }
}

void TestHttpServer::Handle(int client) {
  // Holds the connection until the server stops, without sending anything.
  auto hold = [this, client] {
    while (!m_stop) {
      pollfd waiting{client, POLLIN, 0};
      if (::poll(&waiting, 1, 20) > 0) {
        char sink[512];
        if (::recv(client, sink, sizeof sink, 0) <= 0) return;
      }
    }
  };

  std::string head;
  char buffer[4096];
  while (head.find("\r\n\r\n") == std::string::npos && !m_stop) {
    pollfd waiting{client, POLLIN, 0};
    if (::poll(&waiting, 1, 20) <= 0) continue;
    ssize_t got = ::recv(client, buffer, sizeof buffer, 0);
    if (got <= 0) return;
    head.append(buffer, static_cast<size_t>(got));
  }
  const size_t lineEnd = head.find("\r\n");
  const std::string requestLine = head.substr(0, lineEnd);
  const size_t pathStart = requestLine.find(' ') + 1;
  const std::string path = requestLine.substr(pathStart, requestLine.find(' ', pathStart) - pathStart);

  TestResponse response;
  {
    std::scoped_lock lock(m_mutex);
    m_requests.push_back(head.substr(0, head.find("\r\n\r\n")));
    auto found = m_responses.find(path);
    if (found != m_responses.end()) {
      response = found->second;
    } else {
      response.status = 404;
      response.body = "not here";
    }
  }
  if (response.stallBeforeAnswer) return hold();

  std::string answer = "HTTP/1.0 " + std::to_string(response.status) + " " + Reason(response.status) + "\r\n";
  if (response.sendLength) answer += "Content-Length: " + std::to_string(response.body.size()) + "\r\n";
  for (const std::string& line : response.headers) answer += line + "\r\n";
  answer += "Connection: close\r\n\r\n";
  if (!SendAll(client, answer.data(), answer.size())) return;

  const size_t limit = std::min({response.body.size(), response.closeAfter, response.stallAfter});
  if (!SendAll(client, response.body.data(), limit)) return;
  if (response.stallAfter != std::string::npos) hold();
}
