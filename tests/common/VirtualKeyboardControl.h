#pragma once
// The tests' side of the virtual keyboard: writes its control file and reads
// its trace.  Construct it before the first hidapi call of the test.
#include <cstdint>
#include <string>
#include <vector>

struct TraceLine {
  int64_t nanoseconds = 0;
  std::string kind;         // output, stream, feature-send, feature-get, open, close
  std::string interfaceId;  // VID_xxxx&PID_xxxx&MI_nn
  int result = 0;
  std::vector<uint8_t> bytes;
};

class VirtualKeyboardControl {
 public:
  VirtualKeyboardControl();
  ~VirtualKeyboardControl();

  // True when the simulator, not the real hidapi, answers hidapi's calls.
  static bool SimulatorLoaded();

  // Replaces the control file in one step (lines "key=value").
  void Set(const std::string& lines);
  void ClearTrace();
  // The keyboard's decoded state as the simulator last wrote it (JSON), or
  // empty before any report changed it.
  std::string StateText() const;
  void ClearState();
  std::vector<TraceLine> Trace() const;
  std::vector<TraceLine> Trace(const std::string& kind) const;

 private:
  std::string m_folder;
  std::string m_controlPath;
  std::string m_tracePath;
  std::string m_statePath;
};

int64_t MonotonicNanoseconds();
