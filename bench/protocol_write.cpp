// A whole profile written to the virtual keyboard: 87 keys assigned, twelve
// of them playing macros of 80 events.  The protocol's pauses are fixed
// sleeps, so the wall time should stay close to their sum; the figure of
// merit is the ratio (goal: at most 1.05) and how little CPU the write uses.
#include <dlfcn.h>
#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "device/DeviceLink.h"
#include "device/DeviceLinkTransport.h"
#include "device/ProtocolPacer.h"
#include "device/ReportProtocol.h"
#include "model/Configuration.h"
#include "model/DeviceDescription.h"
#include "model/KeyboardLayout.h"
#include "store/SettingsStore.h"

namespace {

bool SimulatorLoaded() {
  Dl_info info{};
  void* symbol = dlsym(RTLD_DEFAULT, "hid_enumerate");
  return symbol && dladdr(symbol, &info) && info.dli_fname &&
         std::string(info.dli_fname).find("kestrel-virtual-keyboard") != std::string::npos;
}

// Adds up the pauses the protocol asks for, and sleeps them.
class CountingPacer final : public ProtocolPacer {
 public:
  void Pause(int milliseconds) override {
    m_total += milliseconds;
    m_sleeper.Pause(milliseconds);
  }
  int Total() const { return m_total; }

 private:
  SleepingPacer m_sleeper;
  int m_total = 0;
};

double CpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
         static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

}  // namespace

int main(int, char** argv) {
  if (!SimulatorLoaded()) {
    setenv("LD_PRELOAD", KESTREL_VIRTUAL_KEYBOARD, 1);
    execv("/proc/self/exe", argv);
    std::perror("bench_protocol_write: cannot start again with the virtual keyboard");
    return 1;
  }
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("kestrel-bench-protocol-" + std::to_string(getpid()));
  std::filesystem::create_directories(folder / "db");
  SettingsStore store;
  if (!store.Open(folder.wstring() + L"/", L"Bench")) return 1;

  KeyboardLayout layout;
  DeviceFeatures features;
  const std::wstring data = std::filesystem::path(KESTREL_RUNTIME_DIR).wstring();
  LoadDeviceDescription(data, 101, ReadConfiguration(data).keyboards, features, layout);
  int macrosMade = 0;
  for (const auto& key : layout.Keys()) {
    KeyAssignment a;
    a.profile = 1;
    a.key_code = static_cast<int>(key.code);
    if (macrosMade < 12) {
      const int id = store.DbAddMacro(L"bench");
      std::vector<MacroEvent> events(80);
      for (int i = 0; i < 80; ++i) {
        events[static_cast<size_t>(i)] = {0, id, 2 + i % 2, i, 'A' + i / 2 % 26, 20, L""};
      }
      store.DbAddMacroEvents(events);
      a.macro_type = 3;
      a.macro_value = id;
      ++macrosMade;
    } else {
      a.macro_type = 2;
      a.macro_value = 0x04 + static_cast<int>(key.code % 26);
    }
    store.DbSaveKeyAssignment(a);
  }

  DeviceLink link;
  link.AddDeviceEntry(0x1209, 0x4B01, L"", 101, 0, L"");
  link.OpenAll();
  link.SetEnabled(true);
  link.SetSelectedDeviceType(101);
  DeviceLinkTransport transport(link);
  CountingPacer pacer;
  ReportProtocol protocol(store, transport, pacer);

  const double cpuBefore = CpuSeconds();
  const auto start = std::chrono::steady_clock::now();
  protocol.WriteKeyAssignments(ProtocolInputs{}, layout);
  const double wall = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  const double cpu = (CpuSeconds() - cpuBefore) * 1000.0;

  std::printf("full profile write (%zu keys, 12 macros of 80 events), command protocol\n", layout.Keys().size());
  std::printf("  wall time          %9.1f ms\n", wall);
  std::printf("  stated pauses      %9d ms\n", pacer.Total());
  std::printf("  ratio              %9.3f   (goal <= 1.05: %s)\n", wall / pacer.Total(),
              wall / pacer.Total() <= 1.05 ? "met" : "missed");
  std::printf("  CPU time           %9.1f ms (%.2f %% of the wall time)\n", cpu, 100.0 * cpu / wall);
  store.Close();
  std::filesystem::remove_all(folder);
  return 0;
}
