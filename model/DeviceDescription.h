#pragma once
// Reading a keyboard's device description, layouts/<layout name>.xml: its
// pages, firmware entry, light capabilities and catalogue, and its key
// layout.  The reader updates the records; what the controller then does
// with them (settings store, tabs, sliders, keyboard pictures) is
// ApplyDeviceDescription's order (ConfigurationSink.h).
// A plain file reader; any thread, on records the caller owns.
#include <string>
#include <vector>

#include "model/DeviceInfo.h"
#include "model/KeyboardLayout.h"

// What a load found, for the controller's follow-up steps.
struct DescriptionLoad {
  bool loaded = false;  // the file loaded and has the root `device.info`
  bool menu_found = false;
  bool function_found = false;
  bool firmware_found = false;
  bool light_found = false;
  bool keyboard_found = false;
  bool key_items_found = false;
};

// Describes `deviceType`: the first keyboard of `keyboards` with that type
// names the layout file in <folder>layouts/.  The firmware address, the
// device type and the keyboard name are always set; when the file does not
// load, every other field of `features` and the whole `layout` keep their
// previous contents, and absent elements keep their fields too.
DescriptionLoad LoadDeviceDescription(const std::wstring& folder, int deviceType,
                                      const std::vector<DeviceInfo>& keyboards, DeviceFeatures& features,
                                      KeyboardLayout& layout);

// The same reading from text already in memory (tests, fuzzing).
DescriptionLoad ReadDeviceDescriptionText(const std::wstring& text, DeviceFeatures& features,
                                          KeyboardLayout& layout);
