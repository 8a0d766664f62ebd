// A stand-in for the program in the two-process tests: the whole start-up,
// with a main-window step that waits for a later start to ask for the
// window.
//   kestrel-startup-probe startup <program folder>
//     prints "ready" once it is the running instance; exits 3 when a
//     "show" request arrived within ten seconds, 4 when none did, and 0
//     when another instance was running.
//   kestrel-startup-probe module-folder
//     prints the program folder and exits 0.
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <mutex>

#include "app/HandOver.h"
#include "app/Startup.h"
#include "platform/Paths.h"
#include "platform/TextConvert.h"

namespace {

constexpr int kShown = 3;
constexpr int kNotShown = 4;

int WaitForShow(StartupContext& context) {
  std::mutex mutex;
  std::condition_variable changed;
  bool shown = false;
  context.handOver.SetTarget([&](const platform::InstanceRequest& request) {
    if (request.kind != platform::InstanceRequest::Kind::ShowWindow) return;
    std::scoped_lock lock(mutex);
    shown = true;
    changed.notify_all();
  });
  std::printf("ready\n");
  std::fflush(stdout);
  std::unique_lock lock(mutex);
  changed.wait_for(lock, std::chrono::seconds(10), [&] { return shown; });
  const int result = shown ? kShown : kNotShown;
  lock.unlock();
  context.handOver.SetTarget(nullptr);
  return result;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && std::strcmp(argv[1], "module-folder") == 0) {
    std::printf("%s\n", platform::ToUtf8(platform::ModuleFolder()).c_str());
    return 0;
  }
  if (argc == 3 && std::strcmp(argv[1], "startup") == 0) {
    StartupOptions options;
    options.programFolder = platform::FromUtf8(argv[2]);
    return RunStartup(options, WaitForShow);
  }
  std::fprintf(stderr, "usage: kestrel-startup-probe startup <folder> | module-folder\n");
  return 2;
}
