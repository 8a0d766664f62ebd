#include "model/ApplyConfiguration.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/TextConvert.h"

namespace {

// Writes every call as one line of text, so that a test compares the whole
// sequence at once.
class RecordingSink : public ConfigurationSink {
 public:
  std::vector<std::string> calls;

  void AddDevice(const std::wstring& name, int deviceType) override {
    Record("AddDevice " + Text(name) + " " + std::to_string(deviceType));
  }
  void AddDeviceEntry(int vid, int pid, const std::wstring& productName, int deviceType, int mode,
                      const std::wstring& interfacePattern) override {
    Record("AddDeviceEntry " + std::to_string(vid) + " " + std::to_string(pid) + " '" + Text(productName) + "' " +
           std::to_string(deviceType) + " " + std::to_string(mode) + " " + Text(interfacePattern));
  }
  void SetVersionText(const std::wstring& text) override { Record("Version " + Text(text)); }
  void SetCopyrightText(const std::wstring& text) override { Record("Copyright " + Text(text)); }
  void DescribeDeviceType(int deviceType) override { Record("Describe " + std::to_string(deviceType)); }
  void RegisterDeviceNotifications() override { Record("RegisterNotifications"); }
  void OpenSettingsStore(const std::wstring& keyboardName) override { Record("OpenStore " + Text(keyboardName)); }
  void SetMacroSizeLimit(int limit) override { Record("MacroLimit " + std::to_string(limit)); }
  void ShowPages(int pageFlags) override { Record("ShowPages " + std::to_string(pageFlags)); }
  void ShowFirmwareButton(bool show) override { Record(std::string("FirmwareButton ") + (show ? "shown" : "hidden")); }
  void SetLightRanges(int brightnessMax, int speedMax) override {
    Record("LightRanges " + std::to_string(brightnessMax) + " " + std::to_string(speedMax));
  }
  void ClearKeyboards(int views) override { Record("ClearKeyboards " + std::to_string(views)); }
  void SetKeyboardPicture(int views, const KeyRect& area, const std::wstring& image, int width, int height) override {
    Record("Picture " + std::to_string(views) + " " + std::to_string(area.left) + "," + std::to_string(area.top) +
           "," + std::to_string(area.right) + "," + std::to_string(area.bottom) + " " + Text(image) + " " +
           std::to_string(width) + "x" + std::to_string(height));
  }
  void AddKeyItem(int views, const KeyItem& key) override {
    Record("Key " + std::to_string(views) + " " + std::to_string(key.code) + " " + Text(key.name));
  }

 private:
  static std::string Text(const std::wstring& text) { return platform::ToUtf8(text); }
  void Record(std::string line) { calls.push_back(std::move(line)); }
};

DeviceInfo Entry(const wchar_t* name, int deviceType, int mode = 0, int vid = 0, int pid = 0,
                 const wchar_t* pattern = L"") {
  DeviceInfo info;
  info.name = name;
  info.device_type = deviceType;
  info.mode = mode;
  info.vid = vid;
  info.pid = pid;
  info.interface_pattern = pattern;
  return info;
}

TEST(ApplyConfiguration, RegistersEachKeyboardsConnectionsAfterIt) {
  Configuration configuration;
  configuration.keyboards = {Entry(L"K", 101), Entry(L"Empty", 150), Entry(L"S", 301)};
  // Two modes with the same ids but different interfaces stay two entries.
  configuration.connections = {Entry(L"", 101, 0, 0x1209, 0x4B01, L"MI_02"), Entry(L"", 101, 0, 0x1209, 0x4B01, L"MI_03"),
                               Entry(L"P", 301, 1, 1, 2, L"X")};
  configuration.mode_counts = {2, 0, 1};
  configuration.software_found = true;
  configuration.software.version = L"1.2";
  configuration.copyright_found = true;
  configuration.copyright = L"(c)";

  RecordingSink sink;
  ApplyConfiguration(configuration, sink);
  EXPECT_EQ(sink.calls, (std::vector<std::string>{
                            "AddDevice K 101",
                            "AddDeviceEntry 4617 19201 '' 101 0 MI_02",
                            "AddDeviceEntry 4617 19201 '' 101 0 MI_03",
                            "AddDevice Empty 150",
                            "AddDevice S 301",
                            "AddDeviceEntry 1 2 'P' 301 1 X",
                            "Version Ver: 1.2",
                            "Copyright (c)",
                            "Describe 101",
                            "RegisterNotifications",
                        }));
}

TEST(ApplyConfiguration, AnEmptyConfigurationStillDescribesTheFirstKeyboard) {
  RecordingSink sink;
  ApplyConfiguration(Configuration{}, sink);
  EXPECT_EQ(sink.calls, (std::vector<std::string>{"Describe 101", "RegisterNotifications"}));
}

TEST(ApplyConfiguration, InconsistentModeCountsNeverReadPastTheList) {
  Configuration configuration;
  configuration.keyboards = {Entry(L"K", 101), Entry(L"L", 102)};
  configuration.connections = {Entry(L"", 101)};
  configuration.mode_counts = {5};
  RecordingSink sink;
  ApplyConfiguration(configuration, sink);
  EXPECT_EQ(sink.calls.size(), 5u);
}

TEST(ApplyDeviceDescription, FollowsTheControllersOrder) {
  DeviceFeatures features;
  features.current_device_type = 101;
  features.keyboard_name = L"Kestrel K87";
  features.page_flags = 0x47;
  features.firmware_version = L"1";
  features.firmware_file = L"Tool";
  features.brightness_max = 4;
  features.speed_max = 5;
  KeyboardLayout layout;
  layout.SetPicture(10, 20, 300, 100, L"k.png");
  KeyItem key;
  key.code = 0x29;
  key.name = L"Esc";
  layout.AddKey(key, std::nullopt);
  key.code = 0x04;
  key.name = L"A";
  layout.AddKey(key, std::nullopt);
  DescriptionLoad load;
  load.loaded = load.menu_found = load.firmware_found = load.light_found = load.keyboard_found = true;

  RecordingSink sink;
  ApplyDeviceDescription(load, features, layout, sink);
  EXPECT_EQ(sink.calls, (std::vector<std::string>{
                            "OpenStore Kestrel K87",
                            "ShowPages 71",
                            "FirmwareButton shown",
                            "LightRanges 4 5",
                            "ClearKeyboards 69",
                            "Picture 69 10,20,310,120 keyboard/k.png 300x100",
                            "Key 69 41 Esc",
                            "Key 69 4 A",
                        }));
}

TEST(ApplyDeviceDescription, WithoutTheLightPageItsPictureIsLeftAlone) {
  DeviceFeatures features;
  features.current_device_type = 301;
  features.page_flags = 0x43;
  features.firmware_version = L"2.0";
  DescriptionLoad load;
  load.loaded = load.firmware_found = true;
  RecordingSink sink;
  ApplyDeviceDescription(load, features, KeyboardLayout{}, sink);
  EXPECT_EQ(sink.calls, (std::vector<std::string>{"OpenStore ", "MacroLimit 60", "FirmwareButton hidden",
                                                  "ClearKeyboards 65"}));
}

TEST(ApplyDeviceDescription, AFailedLoadOnlyOpensTheStore) {
  DeviceFeatures features;
  features.current_device_type = 201;
  features.keyboard_name = L"F";
  RecordingSink sink;
  ApplyDeviceDescription(DescriptionLoad{}, features, KeyboardLayout{}, sink);
  EXPECT_EQ(sink.calls, (std::vector<std::string>{"OpenStore F"}));
}

}  // namespace
