#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <chrono>
#include <cstdio>
#include <thread>

#include "TestFiles.h"
#include "TestHttpServer.h"
#include "platform/TextConvert.h"
#include "support/Downloader.h"

extern char** environ;

namespace {

std::wstring Wide(const std::string& text) { return platform::FromUtf8(text); }

class DownloadFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // A proxy from the environment must not sit between us and loopback.
    for (const char* name : {"http_proxy", "https_proxy", "HTTP_PROXY", "HTTPS_PROXY", "ALL_PROXY", "all_proxy"}) {
      ::unsetenv(name);
    }
    ASSERT_TRUE(server.Start());
    target = folder.Path() + "download.bin";
  }

  int Download(const std::string& path, DownloadOptions options = {}) {
    Downloader downloader(options);
    return downloader.DownloadFile(Wide(server.Url(path)), Wide(target), &window);
  }

  TempFolder folder;
  TestHttpServer server;
  RecordingTarget window;
  std::string target;
};

TEST_F(DownloadFileTest, ProgressFollowsTheAnnouncedLengthWithoutRepeats) {
  struct Case {
    size_t size;
    std::vector<intptr_t> progress;
  };
  const Case cases[] = {
      {3 * 10240, {0, 2, 8, 10, 40, 70, 100}},
      // Two whole pieces are expected; the third, partial one stays at 100.
      {25000, {0, 2, 8, 10, 55, 100}},
      // Less than one piece: nothing is expected, so 10 jumps to 100.
      {5000, {0, 2, 8, 10, 100}},
      {0, {0, 2, 8, 10, 100}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.size);
    RecordingTarget target_window;
    const std::string body = NoiseBytes(c.size, static_cast<uint32_t>(c.size));
    server.Serve("/file", TestResponse::Ok(body));
    Downloader downloader;
    EXPECT_EQ(downloader.DownloadFile(Wide(server.Url("/file")), Wide(target), &target_window), 1);
    EXPECT_EQ(target_window.Values(), c.progress);
    for (const PostedMessage& posted : target_window.Messages()) {
      EXPECT_EQ(posted.message, 1690u);
      EXPECT_EQ(posted.wParam, 0u);
    }
    EXPECT_EQ(ReadWholeFile(target), body);
  }
}

TEST_F(DownloadFileTest, ALargeFileCountsUpEveryValueOnce) {
  // 102 pieces: several pieces share a percentage, which must be posted once.
  const std::string body = NoiseBytes(102 * 10240 + 77, 7);
  server.Serve("/large.zip", TestResponse::Ok(body));
  ASSERT_EQ(Download("/large.zip"), 1);
  const std::vector<intptr_t> values = window.Values();
  ASSERT_GE(values.size(), 6u);
  EXPECT_EQ(std::vector<intptr_t>(values.begin(), values.begin() + 4), (std::vector<intptr_t>{0, 2, 8, 10}));
  for (size_t i = 1; i < values.size(); ++i) EXPECT_LT(values[i - 1], values[i]) << "at " << i;
  EXPECT_EQ(values.back(), 100);
  EXPECT_EQ(ReadWholeFile(target), body);
}

TEST_F(DownloadFileTest, WithoutContentLengthProgressJumpsFromTenToHundred) {
  const std::string body = NoiseBytes(50000, 3);
  server.Serve("/nolength", TestResponse::Ok(body).WithoutLength());
  EXPECT_EQ(Download("/nolength"), 1);
  EXPECT_EQ(window.Values(), (std::vector<intptr_t>{0, 2, 8, 10, 100}));
  EXPECT_EQ(ReadWholeFile(target), body);
}

TEST_F(DownloadFileTest, SendsTheAgentAndAsksForNoCachedCopy) {
  server.Serve("/file", TestResponse::Ok("x"));
  ASSERT_EQ(Download("/file"), 1);
  const std::vector<std::string> requests = server.Requests();
  ASSERT_EQ(requests.size(), 1u);
  const std::string& head = requests[0];
  EXPECT_EQ(head.rfind("GET /file HTTP/1.1\r\n", 0), 0u) << head;
  for (const char* line : {"\r\nUser-Agent: IIC2.0/PC 5.5.0000\r\n", "\r\nAccept: */*\r\n", "\r\nPragma: no-cache\r\n",
                           "\r\nCache-Control: no-cache"}) {
    EXPECT_NE((head + "\r\n").find(line), std::string::npos) << line << " in\n" << head;
  }
}

TEST_F(DownloadFileTest, FailuresLeaveNoFileBehind) {
  const std::string body = NoiseBytes(50000, 9);
  server.Serve("/short", TestResponse::Ok(body).CloseAfter(20000));
  server.Serve("/big", TestResponse::Ok(body));
  server.Serve("/big-unannounced", TestResponse::Ok(body).WithoutLength());
  struct Case {
    std::string url;
    DownloadOptions options;
  };
  DownloadOptions small;
  small.maxBytes = 30000;
  const Case cases[] = {
      {server.Url("/missing"), {}},
      {"http://127.0.0.1:" + std::to_string(UnusedPort()) + "/file", {}},
      // The connection closes before the announced length arrived.
      {server.Url("/short"), {}},
      {server.Url("/big"), small},
      {server.Url("/big-unannounced"), small},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.url);
    Downloader downloader(c.options);
    EXPECT_EQ(downloader.DownloadFile(Wide(c.url), Wide(target), &window), -1);
    EXPECT_FALSE(PathExists(target));
    EXPECT_FALSE(downloader.IsRunning());
  }
}

TEST_F(DownloadFileTest, AFileThatCannotBeWrittenFailsTheDownload) {
  server.Serve("/file", TestResponse::Ok(NoiseBytes(50000, 19)));
  Downloader downloader;
  EXPECT_EQ(downloader.DownloadFile(Wide(server.Url("/file")), Wide(folder.Path() + "no/such/folder/x.zip"), &window),
            -1);

  // A full disk, played by a file size limit in a child process.
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    ::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{20000, 20000};
    ::setrlimit(RLIMIT_FSIZE, &limit);
    Downloader limited;
    const int result = limited.DownloadFile(Wide(server.Url("/file")), Wide(target), nullptr);
    ::_exit(result + 10);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status) - 10, -1);
  EXPECT_FALSE(PathExists(target));
}

TEST_F(DownloadFileTest, FollowsRedirectsOnlyToHttp) {
  const std::string body = NoiseBytes(12345, 5);
  server.Serve("/real", TestResponse::Ok(body));
  server.Serve("/moved", TestResponse::Redirect("/real"));
  ASSERT_EQ(Download("/moved"), 1);
  EXPECT_EQ(ReadWholeFile(target), body);

  // An ftp address must not even be contacted.
  ::unlink(target.c_str());
  TestHttpServer other;
  ASSERT_TRUE(other.Start());
  server.Serve("/to-ftp", TestResponse::Redirect("ftp://127.0.0.1:" + std::to_string(other.Port()) + "/x"));
  server.Serve("/to-file", TestResponse::Redirect("file:///etc/hostname"));
  EXPECT_EQ(Download("/to-ftp"), -1);
  EXPECT_EQ(Download("/to-file"), -1);
  EXPECT_FALSE(PathExists(target));
  other.Stop();
  EXPECT_EQ(other.Connections(), 0);
}

TEST_F(DownloadFileTest, ClearingTheRunningFlagStopsTheDownload) {
  server.Serve("/file", TestResponse::Ok(NoiseBytes(10 * 10240, 11)));
  Downloader downloader;
  window.onPost = [&](intptr_t progress) {
    if (progress > 10) downloader.Stop();
  };
  EXPECT_EQ(downloader.DownloadFile(Wide(server.Url("/file")), Wide(target), &window), -2);
  const std::vector<intptr_t> values = window.Values();
  // Stopped after the first piece: its value, then the closing 100.
  EXPECT_EQ(values, (std::vector<intptr_t>{0, 2, 8, 10, 19, 100}));
  EXPECT_FALSE(PathExists(target));
}

TEST_F(DownloadFileTest, StoppingEndsTheWaitForASilentServer) {
  server.Serve("/stall-body", TestResponse::Ok(NoiseBytes(100000, 13)).StallAfter(15000));
  server.Serve("/stall-answer", TestResponse::Ok("never").StallBeforeAnswer());
  // Without the stop the low-speed limit would end these with -1.
  DownloadOptions quick;
  quick.lowSpeedSeconds = 1;
  for (const char* path : {"/stall-body", "/stall-answer"}) {
    SCOPED_TRACE(path);
    Downloader downloader(quick);
    RecordingTarget progress;
    std::thread stopper;
    progress.onPost = [&](intptr_t value) {
      if (value == 2) stopper = std::thread([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        downloader.Stop();
      });
    };
    EXPECT_EQ(downloader.DownloadFile(Wide(server.Url(path)), Wide(target), &progress), -2);
    stopper.join();
    EXPECT_FALSE(PathExists(target));
  }
}

TEST_F(DownloadFileTest, AStalledServerFailsAfterTheLowSpeedTime) {
  server.Serve("/stall-body", TestResponse::Ok(NoiseBytes(100000, 13)).StallAfter(5000));
  server.Serve("/stall-answer", TestResponse::Ok("never").StallBeforeAnswer());
  DownloadOptions quick;
  quick.lowSpeedSeconds = 1;
  // libcurl averages the speed over a few seconds, so each case takes a
  // while; they run side by side.
  const std::string paths[] = {"/stall-body", "/stall-answer"};
  int results[2] = {0, 0};
  std::vector<std::thread> runs;
  for (int i = 0; i < 2; ++i) {
    runs.emplace_back([&, i] {
      Downloader downloader(quick);
      results[i] = downloader.DownloadFile(Wide(server.Url(paths[i])), Wide(target + paths[i].substr(1)), nullptr);
    });
  }
  for (std::thread& run : runs) run.join();
  for (int i = 0; i < 2; ++i) {
    SCOPED_TRACE(paths[i]);
    EXPECT_EQ(results[i], -1);
    EXPECT_FALSE(PathExists(target + paths[i].substr(1)));
  }
}

// An https server with a certificate made for this test, run by Python's
// ssl module as a child process.
class HttpsServer {
 public:
  explicit HttpsServer(const std::string& folder) : m_folder(folder) {}
  ~HttpsServer() {
    if (m_pid > 0) {
      ::kill(m_pid, SIGTERM);
      int status = 0;
      ::waitpid(m_pid, &status, 0);
    }
  }

  bool Start(const std::string& fileName, const std::string& body) {
    const std::string make = "openssl req -x509 -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes -days 2 "
                             "-subj /CN=127.0.0.1 -addext subjectAltName=IP:127.0.0.1 -keyout '" +
                             m_folder + "key.pem' -out '" + m_folder + "cert.pem' >/dev/null 2>&1";
    if (std::system(make.c_str()) != 0) return false;
    ::mkdir((m_folder + "www").c_str(), 0755);
    if (!WriteWholeFile(m_folder + "www/" + fileName, body)) return false;
    const std::string script =
        "import http.server, ssl, sys\n"
        "class Quiet(http.server.SimpleHTTPRequestHandler):\n"
        "    def log_message(self, *args): pass\n"
        "import functools\n"
        "handler = functools.partial(Quiet, directory=sys.argv[1] + 'www')\n"
        "httpd = http.server.HTTPServer(('127.0.0.1', 0), handler)\n"
        "context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)\n"
        "context.load_cert_chain(sys.argv[1] + 'cert.pem', sys.argv[1] + 'key.pem')\n"
        "httpd.socket = context.wrap_socket(httpd.socket, server_side=True)\n"
        "print(httpd.server_address[1], flush=True)\n"
        "httpd.serve_forever()\n";
    int pipeFds[2];
    if (::pipe(pipeFds) != 0) return false;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], 1);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
    std::string python = "python3", flag = "-c";
    std::string folderArg = m_folder;
    char* argv[] = {python.data(), flag.data(), const_cast<char*>(script.c_str()), folderArg.data(), nullptr};
    const int spawned = ::posix_spawnp(&m_pid, "python3", &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipeFds[1]);
    if (spawned != 0) {
      m_pid = -1;
      ::close(pipeFds[0]);
      return false;
    }
    std::string line;
    char c = 0;
    while (::read(pipeFds[0], &c, 1) == 1 && c != '\n') line += c;
    ::close(pipeFds[0]);
    m_port = std::atoi(line.c_str());
    return m_port > 0;
  }

  std::string Url(const std::string& fileName) const {
    return "https://127.0.0.1:" + std::to_string(m_port) + "/" + fileName;
  }
  std::string CertificateFile() const { return m_folder + "cert.pem"; }

 private:
  std::string m_folder;
  pid_t m_pid = -1;
  int m_port = 0;
};

TEST_F(DownloadFileTest, HttpsCertificatesAreVerified) {
  HttpsServer https(folder.Path());
  const std::string body = NoiseBytes(30000, 17);
  ASSERT_TRUE(https.Start("tool.zip", body));

  Downloader strict;
  EXPECT_EQ(strict.DownloadFile(Wide(https.Url("tool.zip")), Wide(target), &window), -1);
  EXPECT_FALSE(PathExists(target));

  // The same server is fine once its certificate is the trusted authority,
  // so the failure above was the verification and nothing else.
  DownloadOptions trusting;
  trusting.caFile = https.CertificateFile();
  Downloader trusted(trusting);
  EXPECT_EQ(trusted.DownloadFile(Wide(https.Url("tool.zip")), Wide(target), &window), 1);
  EXPECT_EQ(ReadWholeFile(target), body);
}

}  // namespace
