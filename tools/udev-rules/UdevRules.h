#pragma once
// Reading the connection modes of config.xml and writing the udev rule for
// them.  A mode's vendor interface comes from its hid_interface pattern
// ("...&MI_02"); the stream interface 03 is always added.  The boot keyboard
// interface is never named, so the typing interface stays closed to user
// programs.
#include <string>
#include <vector>

struct RuleMode {
  std::string keyboardName;
  std::string description;
  int mode = 0;
  unsigned vid = 0;
  unsigned pid = 0;
  std::vector<unsigned> interfaces;  // USB interface numbers
};

// False when the file cannot be read or is not well-formed; modes with a
// vid or pid that is not a hexadecimal number up to FFFF are left out and
// named in `problems`.
bool ReadRuleModes(const std::string& configPath, std::vector<RuleMode>& modes, std::string& problems);

std::string FormatUdevRules(const std::vector<RuleMode>& modes);
