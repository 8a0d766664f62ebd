#pragma once
// How the simulated keyboard behaves, read from the environment and from an
// optional control file.  Only the simulator reads these; the program under
// test never does.
//
// Environment (the starting values):
//   KESTREL_VK_CONTROL     path of the control file (read again on every call,
//                          so a test can plug and unplug modes while the
//                          program runs)
//   KESTREL_VK_TRACE       path of the trace file (see ReportTrace.h)
//   KESTREL_VK_STATE       path of the state file: the keyboard's decoded
//                          state as JSON (KeyboardState.h), rewritten whole
//                          after every report that changed it
// Control file only: keyboard=<name> names the keyboard; a new name puts a
// factory-fresh keyboard (empty decoded state) behind the same interfaces.
//   KESTREL_VK_MODES       connected modes, e.g. "0,1" ("" = none; default "0")
//   KESTREL_VK_FAIL_WRITES "all", "none" or N: the first N writes fail
//   KESTREL_VK_DENY_OPEN   "all", "none" or N: the first N opens of every
//                          interface fail with a permission error
//   KESTREL_VK_VID, KESTREL_VK_PIDS   hexadecimal vendor id and the product id
//                          of each mode ("1209" and "4B01,4B02,4B03")
// Control file: one "key=value" per line with the keys modes, fail_writes,
// deny_open, vid, pids, trace, state, and feature_answer (repeatable):
//   feature_answer=<request prefix hex> <reply hex> <reply hex> ...
// Lines starting with '#' are comments.  A control file value replaces the
// environment's.  "First N" counts start again whenever the file changes.
#include <cstdint>
#include <string>
#include <vector>

#include "FeatureTable.h"

namespace virtual_keyboard {

// "all" is a count larger than any run will reach.
constexpr int kAlways = 1 << 30;

struct SimulatorSettings {
  uint16_t vendorId = 0x1209;
  std::vector<uint16_t> productIds{0x4B01, 0x4B02, 0x4B03};
  std::vector<int> connectedModes{0};
  int failWrites = 0;
  int denyOpens = 0;
  std::string tracePath;
  std::string statePath;
  std::string keyboardName;
  std::vector<FeatureAnswer> featureAnswers;

  bool IsConnected(int mode) const;
};

// Settings from the environment alone.
SimulatorSettings SettingsFromEnvironment();

// Applies the lines of a control file on top of `settings`.  Unknown keys and
// malformed values are ignored, so a half-written file never breaks a run.
void ApplyControlText(const std::string& text, SimulatorSettings& settings);

// Hex text ("07FB01", spaces allowed between bytes) to bytes; an odd digit
// count drops the last digit.
std::vector<uint8_t> ParseHex(const std::string& text);

}  // namespace virtual_keyboard
