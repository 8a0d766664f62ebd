#pragma once
// Reading config.xml: the software's name and links and the supported
// keyboards with their connection modes.  The readers only read; what the
// controller does with the result (device selector, HID registrations,
// labels) is ApplyConfiguration's order (ConfigurationSink.h).
// Pure file readers; any thread.
#include <cstddef>
#include <string>
#include <vector>

#include "model/DeviceInfo.h"

struct Configuration {
  std::vector<DeviceInfo> keyboards;    // one per `keyboard`, in file order
  std::vector<DeviceInfo> connections;  // one per `mode` of every keyboard, in file order
  // How many connection entries each keyboard contributed, in keyboard
  // order, so that the registrations can follow their keyboard.
  std::vector<std::size_t> mode_counts;
  bool software_found = false;  // a `software` element after `device.info`
  SoftwareInfo software;
  bool copyright_found = false;
  std::wstring copyright;
};

// The `software` `name` of <folder>config.xml; empty when absent.  The
// position of `software` in the file does not matter here.
std::wstring ReadSoftwareName(const std::wstring& folder);

// Everything else config.xml holds.  A missing or malformed file gives an
// empty configuration.
Configuration ReadConfiguration(const std::wstring& folder);

// <folder>/<name>, with exactly one '/' between them.
std::wstring JoinPath(const std::wstring& folder, const std::wstring& name);
