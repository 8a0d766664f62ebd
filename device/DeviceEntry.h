#pragma once
// The records of the device link: which keyboards are wanted, which of their
// interfaces are open, and which could not be opened for lack of rights.
#include <cstdint>
#include <string>

struct hid_device_;

// One keyboard in one connection mode, as config.xml lists it.
struct DeviceEntry {
  uint32_t vid = 0;
  uint32_t pid = 0;
  std::wstring productName;  // may be empty; a non-empty name never matches
  int deviceType = 0;
  int mode = 0;  // 0 wired USB, 1 and 2 the wireless modes
  std::wstring hidInterface;  // the pattern device presence recognises
};

// One opened vendor interface.  `handle` belongs to the device link and stays
// valid until its next CloseAll or OpenAll.
struct OpenedDevice {
  int index = 0;
  uint16_t vid = 0;
  uint16_t pid = 0;
  std::string path;
  std::wstring interfaceId;  // "VID_xxxx&PID_xxxx&MI_nn"
  std::wstring productString;  // never read during discovery: always empty
  uint16_t releaseNumber = 0;
  hid_device_* handle = nullptr;
  int deviceType = 0;
  int mode = 0;
  bool wired = false;
};

// A vendor interface of a wanted keyboard that exists but that this user may
// not open: the keyboard is "present but not accessible".
struct InaccessibleInterface {
  uint16_t vid = 0;
  uint16_t pid = 0;
  std::string path;
  std::wstring interfaceId;
  int deviceType = 0;
  int mode = 0;
};
