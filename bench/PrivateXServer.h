#pragma once
// A private X server for a benchmark run without $DISPLAY: Xvfb on the
// first free display from :150, stopped (and reaped) when the object goes.
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "platform/UiLoop.h"

extern char** environ;

class PrivateXServer {
 public:
  PrivateXServer() = default;
  PrivateXServer(const PrivateXServer&) = delete;
  PrivateXServer& operator=(const PrivateXServer&) = delete;

  bool Start() {
    for (int display = 150; display < 200; ++display) {
      // Appending (not "text" + number) keeps GCC 12's -Wrestrict false
      // alarm on prepended string literals away at -O3.
      const std::string number = std::to_string(display);
      std::string socket = "/tmp/.X11-unix/X";
      socket += number;
      if (access(socket.c_str(), F_OK) == 0) continue;
      std::string name = ":";
      name += number;
      std::vector<char*> argv = {const_cast<char*>("Xvfb"), const_cast<char*>(name.c_str()),
                                 const_cast<char*>("-screen"), const_cast<char*>("0"),
                                 const_cast<char*>("1920x1080x24"), const_cast<char*>("-nolisten"),
                                 const_cast<char*>("tcp"), nullptr};
      if (posix_spawnp(&m_pid, "Xvfb", nullptr, nullptr, argv.data(), environ) != 0) return false;
      setenv("DISPLAY", name.c_str(), 1);
      for (int i = 0; i < 100; ++i) {
        if (platform::OpenDisplay()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
      }
      return false;
    }
    return false;
  }

  ~PrivateXServer() {
    if (m_pid > 0) {
      kill(m_pid, SIGTERM);
      int status;
      waitpid(m_pid, &status, 0);
    }
  }

 private:
  pid_t m_pid = 0;
};
