#pragma once
// Runs the built kestrelctl as a child process in a temporary home of its
// own and collects its exit code, stdout and stderr.
#include <string>
#include <vector>

struct CtlResult {
  int code = -1;
  std::string out;
  std::string err;
};

class CtlRunner {
 public:
  CtlRunner();
  ~CtlRunner();

  CtlResult Run(const std::vector<std::string>& args) const;
  // The user data folder the tool uses (with its trailing '/').
  std::wstring UserDataFolder() const;

 private:
  std::string m_home;
};
