#include "CtlRunner.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/TextConvert.h"

namespace {

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::atomic<int> g_runs{0};

}  // namespace

CtlRunner::CtlRunner() {
  std::string pattern = std::filesystem::temp_directory_path().string() + "/kestrelctl-test-XXXXXX";
  m_home = mkdtemp(pattern.data());
  // The children inherit these; the tool then finds its database, its
  // stored language and its configuration in this home only.
  setenv("HOME", m_home.c_str(), 1);
  setenv("XDG_DATA_HOME", (m_home + "/data").c_str(), 1);
  setenv("XDG_CONFIG_HOME", (m_home + "/config").c_str(), 1);
  setenv("XDG_CACHE_HOME", (m_home + "/cache").c_str(), 1);
}

CtlRunner::~CtlRunner() { std::filesystem::remove_all(m_home); }

std::wstring CtlRunner::UserDataFolder() const {
  return platform::FromUtf8(m_home + "/data/Kestrel Files/");
}

CtlResult CtlRunner::Run(const std::vector<std::string>& args) const {
  const std::string base = m_home + "/run-" + std::to_string(++g_runs);
  const std::string outPath = base + ".out";
  const std::string errPath = base + ".err";
  const std::string program = KESTREL_RUNTIME_DIR "/kestrelctl";
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(program.c_str()));
  for (const auto& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);

  const pid_t child = fork();
  if (child == 0) {
    const int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (out < 0 || err < 0) _exit(126);
    dup2(out, 1);
    dup2(err, 2);
    execv(program.c_str(), argv.data());
    _exit(127);
  }
  CtlResult result;
  int status = 0;
  if (child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status)) result.code = WEXITSTATUS(status);
  result.out = ReadAll(outPath);
  result.err = ReadAll(errPath);
  std::remove(outPath.c_str());
  std::remove(errPath.c_str());
  return result;
}
