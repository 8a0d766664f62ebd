#include "platform/InstanceLock.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <condition_variable>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <vector>

#include "tests/platform/TempFolder.h"

namespace {

using platform::InstanceLock;
using platform::InstanceRequest;

// Collects what the listener thread hands over.
class Received {
 public:
  InstanceLock::RequestHandler Handler() {
    return [this](const InstanceRequest& request) {
      std::scoped_lock lock(m_mutex);
      m_requests.push_back(request);
      m_changed.notify_all();
    };
  }
  std::vector<InstanceRequest> WaitFor(size_t count) {
    std::unique_lock lock(m_mutex);
    m_changed.wait_for(lock, std::chrono::seconds(5), [&] { return m_requests.size() >= count; });
    return m_requests;
  }

 private:
  std::mutex m_mutex;
  std::condition_variable m_changed;
  std::vector<InstanceRequest> m_requests;
};

// Leaves a socket file that nobody listens on, as a crashed instance does.
void LeaveStaleSocket(const std::string& path) {
  const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
  ASSERT_EQ(::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
  ::close(fd);
  ASSERT_TRUE(std::filesystem::exists(path));
}

class InstanceLockTest : public ::testing::Test {
 protected:
  TempFolder m_temp;
  ScopedEnv m_runtime{"XDG_RUNTIME_DIR", m_temp.Path()};
  const std::wstring m_fallback = m_temp.WidePath("data/");
};

TEST_F(InstanceLockTest, SecondHolderIsRefusedUntilTheFirstEnds) {
  {
    InstanceLock first(L"X", m_fallback);
    EXPECT_TRUE(first.IsFirst());
    EXPECT_TRUE(first.HoldsLock());
    EXPECT_TRUE(std::filesystem::exists(m_temp.Path("X.lock")));
    InstanceLock second(L"X", m_fallback);
    EXPECT_FALSE(second.IsFirst());
    // Another name is another program.
    InstanceLock other(L"Y", m_fallback);
    EXPECT_TRUE(other.IsFirst());
  }
  InstanceLock again(L"X", m_fallback);
  EXPECT_TRUE(again.IsFirst());
}

TEST_F(InstanceLockTest, RequestsReachTheFirstInstanceInOrder) {
  InstanceLock first(L"X", m_fallback);
  Received received;
  ASSERT_TRUE(first.StartListening(received.Handler()));
  const std::vector<InstanceRequest> sent = {
      {InstanceRequest::Kind::ShowWindow, 0, 0},
      {InstanceRequest::Kind::Message, platform::kSoftwareActionMessage, 17},
      {InstanceRequest::Kind::Message, platform::kShutdownRequestMessage, 610},
  };
  for (const auto& request : sent) {
    EXPECT_TRUE(InstanceLock::SendToRunningInstance(L"X", m_fallback, request));
  }
  EXPECT_EQ(received.WaitFor(sent.size()), sent);
}

TEST_F(InstanceLockTest, ChannelRemovedWithTheInstance) {
  {
    InstanceLock first(L"X", m_fallback);
    Received received;
    ASSERT_TRUE(first.StartListening(received.Handler()));
    EXPECT_TRUE(std::filesystem::exists(m_temp.Path("X.sock")));
  }
  EXPECT_FALSE(std::filesystem::exists(m_temp.Path("X.sock")));
}

TEST_F(InstanceLockTest, StaleSocketOfACrashedInstanceIsReplaced) {
  LeaveStaleSocket(m_temp.Path("X.sock"));
  InstanceLock first(L"X", m_fallback);
  ASSERT_TRUE(first.IsFirst());
  Received received;
  ASSERT_TRUE(first.StartListening(received.Handler()));
  EXPECT_TRUE(InstanceLock::SendToRunningInstance(L"X", m_fallback, InstanceRequest{}));
  EXPECT_EQ(received.WaitFor(1).size(), 1u);
}

TEST_F(InstanceLockTest, LongFolderPathsStillCarryTheChannel) {
  // Socket addresses hold 108 bytes; this folder alone is longer.
  const std::string deep = m_temp.Path(std::string(60, 'a') + "/" + std::string(60, 'b'));
  std::filesystem::create_directories(deep);
  ScopedEnv runtime("XDG_RUNTIME_DIR", deep);
  InstanceLock first(L"X", m_fallback);
  Received received;
  ASSERT_TRUE(first.StartListening(received.Handler()));
  EXPECT_TRUE(InstanceLock::SendToRunningInstance(L"X", m_fallback, InstanceRequest{}));
  EXPECT_EQ(received.WaitFor(1).size(), 1u);
}

TEST_F(InstanceLockTest, WithoutRuntimeFolderTheFallbackIsUsed) {
  ScopedEnv runtime("XDG_RUNTIME_DIR", std::nullopt);
  InstanceLock first(L"X", m_fallback);
  EXPECT_TRUE(first.HoldsLock());
  EXPECT_TRUE(std::filesystem::exists(m_temp.Path("data/X.lock")));
}

TEST(InstanceLockRequest, OnlyTheThreeFormsAreAccepted) {
  using Kind = InstanceRequest::Kind;
  struct Case {
    std::string line;
    bool accepted;
    InstanceRequest request;
  };
  const Case cases[] = {
      {"show", true, {Kind::ShowWindow, 0, 0}},
      {"show\r", true, {Kind::ShowWindow, 0, 0}},
      {"1092 42", true, {Kind::Message, 1092, 42}},
      {"1691 610", true, {Kind::Message, 1691, 610}},
      {"16 0", false, {}},  // any other message stays outside
      {"1092", false, {}},
      {"1092 -1", false, {}},
      {"1092 4x", false, {}},
      {"1092  4", false, {}},
      {"1092 99999999999999999999999", false, {}},
      {"SHOW", false, {}},
      {"", false, {}},
  };
  for (const auto& c : cases) {
    InstanceRequest parsed;
    ASSERT_EQ(InstanceLock::ParseRequest(c.line, parsed), c.accepted) << c.line;
    if (c.accepted) {
      EXPECT_EQ(parsed, c.request) << c.line;
      InstanceRequest again;
      EXPECT_TRUE(InstanceLock::ParseRequest(InstanceLock::FormatRequest(parsed), again));
      EXPECT_EQ(again, parsed);
    }
  }
}

}  // namespace
