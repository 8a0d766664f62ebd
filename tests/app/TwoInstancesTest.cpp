// Real processes: the stand-in program started twice at the same moment
// under one private home.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "tests/app/AppFixture.h"

namespace {

constexpr int kShown = 3;

struct Child {
  pid_t pid = -1;
  int output = -1;  // read end of the child's stdout
};

// Starts the probe; it waits until every write end of the gate pipe is
// closed before it runs, so that several children can be let go together.
// The child closes its own copy of the write end `gateOpen`.
Child Start(const std::vector<std::string>& args, int gate, int gateOpen) {
  int out[2];
  if (::pipe(out) != 0) return {};
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::dup2(out[1], STDOUT_FILENO);
    ::close(out[0]);
    ::close(out[1]);
    if (gateOpen >= 0) ::close(gateOpen);
    char byte;
    while (gate >= 0 && ::read(gate, &byte, 1) > 0) {
    }
    std::vector<char*> argv;
    std::string program = KESTREL_STARTUP_PROBE;
    argv.push_back(program.data());
    std::vector<std::string> copies = args;
    for (auto& arg : copies) argv.push_back(arg.data());
    argv.push_back(nullptr);
    ::execv(program.c_str(), argv.data());
    ::_exit(127);
  }
  ::close(out[1]);
  return {pid, out[0]};
}

std::string ReadAll(int fd) {
  std::string text;
  char buffer[256];
  for (ssize_t n; (n = ::read(fd, buffer, sizeof buffer)) > 0;) text.append(buffer, n);
  ::close(fd);
  return text;
}

int ExitCode(pid_t pid) {
  int status = 0;
  if (::waitpid(pid, &status, 0) != pid) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

class TwoInstancesTest : public AppFixture {
 protected:
  TwoInstancesTest() {
    std::filesystem::create_directories(m_temp.Path("program"));
    WriteTextFile(m_temp.Path("program/config.xml"),
                  "<config><software name=\"Twin\"/></config>");
  }

  // Starts two probes at once; returns their exit codes and what the
  // survivor printed.
  void StartTwoAtOnce(std::vector<int>& codes, std::string& output) {
    int gate[2];
    ASSERT_EQ(::pipe(gate), 0);
    const std::vector<std::string> args = {"startup", m_temp.Path("program")};
    std::vector<Child> children = {Start(args, gate[0], gate[1]), Start(args, gate[0], gate[1])};
    ::close(gate[0]);
    ::close(gate[1]);  // both go now
    codes.clear();
    output.clear();
    for (const Child& child : children) {
      ASSERT_GT(child.pid, 0);
      output += ReadAll(child.output);
      codes.push_back(ExitCode(child.pid));
    }
  }

  void ExpectOneSurvivorThatWasShown() {
    std::vector<int> codes;
    std::string output;
    StartTwoAtOnce(codes, output);
    std::sort(codes.begin(), codes.end());
    EXPECT_EQ(codes, (std::vector<int>{0, kShown}));
    EXPECT_EQ(output, "ready\n");
  }
};

TEST_F(TwoInstancesTest, OneSurvivesAndIsAskedToShowItself) {
  for (int round = 0; round < 4; ++round) {
    SCOPED_TRACE(round);
    ExpectOneSurvivorThatWasShown();
  }
  EXPECT_TRUE(std::filesystem::exists(m_temp.Path("run/Twin.lock")));
  EXPECT_FALSE(std::filesystem::exists(m_temp.Path("run/Twin.sock")));
}

TEST_F(TwoInstancesTest, AnInstanceThatWasKilledLeavesNothingInTheWay) {
  const Child crashed = Start({"startup", m_temp.Path("program")}, -1, -1);
  ASSERT_GT(crashed.pid, 0);
  char line[16] = {};
  ASSERT_GT(::read(crashed.output, line, sizeof line - 1), 0);
  EXPECT_STREQ(line, "ready\n");
  ::kill(crashed.pid, SIGKILL);
  EXPECT_EQ(ExitCode(crashed.pid), 128 + SIGKILL);
  ::close(crashed.output);
  ASSERT_TRUE(std::filesystem::exists(m_temp.Path("run/Twin.sock")));  // stale now
  ExpectOneSurvivorThatWasShown();
}

TEST_F(TwoInstancesTest, InstalledLayoutFindsTheSharedFiles) {
  // <prefix>/bin/program and <prefix>/share/kestrel/config.xml.
  const std::string prefix = m_temp.Path("prefix");
  std::filesystem::create_directories(prefix + "/bin");
  std::filesystem::create_directories(prefix + "/share/kestrel");
  std::filesystem::copy_file(KESTREL_STARTUP_PROBE, prefix + "/bin/probe");
  std::string program = prefix + "/bin/probe";
  const std::pair<bool, std::string> layouts[] = {
      {false, prefix + "/bin/"},               // nothing shipped anywhere
      {true, prefix + "/share/kestrel/"},      // installed
  };
  for (const auto& [installed, expected] : layouts) {
    if (installed) WriteTextFile(prefix + "/share/kestrel/config.xml", "<config/>");
    int out[2];
    ASSERT_EQ(::pipe(out), 0);
    const pid_t pid = ::fork();
    if (pid == 0) {
      ::dup2(out[1], STDOUT_FILENO);
      char mode[] = "module-folder";
      char* argv[] = {program.data(), mode, nullptr};
      ::execv(program.c_str(), argv);
      ::_exit(127);
    }
    ::close(out[1]);
    char resolved[PATH_MAX];
    ASSERT_NE(::realpath(expected.c_str(), resolved), nullptr);
    EXPECT_EQ(ReadAll(out[0]), std::string(resolved) + "/\n");
    EXPECT_EQ(ExitCode(pid), 0);
  }
}

}  // namespace
