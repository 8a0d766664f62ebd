#pragma once
// Whether the keyboard is there, as the last detection found it.
#include <string>
#include <vector>

#include "device/DeviceEntry.h"

enum class DeviceStatus {
  Absent,
  Present,
  // A wanted interface exists but this user may not open it: the udev rule
  // is missing (see README, "Access to the keyboard").
  PresentNotAccessible,
};

struct PresenceState {
  bool detectionDone = false;
  bool deviceFound = false;   // at least one vendor interface of a wanted keyboard opened
  bool modelPresent = false;  // at least one connection entry matched
  int connectionMode = -1;    // 0 wired, 1 or 2 wireless, -1 none
  DeviceStatus status = DeviceStatus::Absent;
  std::vector<InaccessibleInterface> inaccessible;
};

// "absent", "present", "present but not accessible": the words the
// command-line tool prints; the window shows its own language's texts.
std::wstring DescribeStatus(DeviceStatus status);
