#pragma once
// What the main controller does with the records of config.xml and of a
// device description.  The readers only produce records; the two Apply
// functions replay their effects on this interface in the order the
// controller must make them (device selector before the keyboard's HID
// registrations, the settings store before the pages, the keyboard pictures
// cleared before they are filled).  The controller implements it on the UI
// thread.
#include <string>

#include "model/KeyboardLayout.h"

class ConfigurationSink {
 public:
  virtual ~ConfigurationSink() = default;

  // config.xml
  virtual void AddDevice(const std::wstring& name, int deviceType) = 0;
  virtual void AddDeviceEntry(int vid, int pid, const std::wstring& productName, int deviceType, int mode,
                              const std::wstring& interfacePattern) = 0;
  virtual void SetVersionText(const std::wstring& text) = 0;
  virtual void SetCopyrightText(const std::wstring& text) = 0;
  virtual void DescribeDeviceType(int deviceType) = 0;
  virtual void RegisterDeviceNotifications() = 0;

  // Device description.  `views` are the page flags of the keyboard
  // pictures to touch (PageFlag::KeyboardViews bits of the page flags).
  virtual void OpenSettingsStore(const std::wstring& keyboardName) = 0;
  virtual void SetMacroSizeLimit(int limit) = 0;
  virtual void ShowPages(int pageFlags) = 0;
  virtual void ShowFirmwareButton(bool show) = 0;
  virtual void SetLightRanges(int brightnessMax, int speedMax) = 0;
  virtual void ClearKeyboards(int views) = 0;
  virtual void SetKeyboardPicture(int views, const KeyRect& area, const std::wstring& image, int width,
                                  int height) = 0;
  virtual void AddKeyItem(int views, const KeyItem& key) = 0;
};
