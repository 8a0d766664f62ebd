#pragma once
// Plain records read from config.xml and from a keyboard's device
// description.  Owned by the main controller; copied freely.
#include <string>
#include <vector>

// One supported keyboard (keyboard list) or one connection mode of it
// (connection list).
struct DeviceInfo {
  std::wstring name;         // keyboard name; in a connection entry the mode's product_name
  int device_type = 0;
  std::wstring layout_name;  // base name of layouts/<layout name>.xml
  int mode = 0;
  int vid = 0;
  int pid = 0;
  std::wstring mode_description;
  std::wstring interface_pattern;  // `hid_interface`: text found in the interface id
  int connected = 0;               // kept by device presence
};

struct SoftwareInfo {
  std::wstring version;
  std::wstring website_address;
  std::wstring store_address;
  std::wstring update_address;
};

// One entry of a keyboard's light-mode catalogue.
struct LightModeEntry {
  std::wstring name;  // the number of the mode's display text in the language files
  int mode = 0;
  int attribute = 0;  // capability bits
  bool operator==(const LightModeEntry&) const = default;
};

// Page flags of DeviceFeatures.
namespace PageFlag {
constexpr int CustomKey = 0x01;
constexpr int Macro = 0x02;
constexpr int Light = 0x04;
constexpr int SettingsKeyboard = 0x40;
constexpr int Initial = 0x7F;
// The pages that hold a keyboard picture.
constexpr int KeyboardViews = CustomKey | Light | SettingsKeyboard;
}  // namespace PageFlag

// What the current keyboard's device description says it can do.  A load
// overwrites only the fields whose elements it finds.
struct DeviceFeatures {
  int current_device_type = 0;
  std::wstring keyboard_name;
  int page_flags = PageFlag::Initial;
  std::wstring firmware_version;
  std::wstring firmware_file;
  std::wstring firmware_address;
  bool sleep_time = false;
  bool rgb_keyboard = false;
  int default_mode = 0;
  int default_brightness = 0;
  int default_speed = 0;
  int brightness_max = 0;
  int speed_max = 0;
  std::vector<LightModeEntry> light_modes;
};
