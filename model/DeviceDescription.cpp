#include "model/DeviceDescription.h"

#include "model/AttributeText.h"
#include "model/Configuration.h"
#include "support/XmlDocument.h"

namespace {

int Number(const XmlDocument& document, const wchar_t* attribute) {
  return ParseDecimal(document.GetAttribute(attribute));
}

void ReadLight(XmlDocument& document, DeviceFeatures& features) {
  features.rgb_keyboard = ParseFlag(document.GetAttribute(L"rgb_keyboard"));
  features.default_mode = Number(document, L"default_mode");
  features.default_brightness = Number(document, L"default_brightness");
  features.default_speed = Number(document, L"default_speed");
  features.brightness_max = Number(document, L"brightness_max");
  features.speed_max = Number(document, L"speed_max");
  // A new description replaces the catalogue, never adds to it.
  features.light_modes.clear();
  if (!document.EnterElement()) return;
  while (document.FindElement(L"info")) {
    LightModeEntry entry;
    entry.name = document.GetAttribute(L"name");
    entry.mode = Number(document, L"mode");
    entry.attribute = Number(document, L"attribute");
    features.light_modes.push_back(entry);
  }
  document.LeaveElement();
}

void ReadKeyboard(XmlDocument& document, DescriptionLoad& load, KeyboardLayout& layout) {
  layout.Clear();
  if (!document.FindElement(L"Keyboard")) return;
  load.keyboard_found = true;
  layout.SetPicture(Number(document, L"xpos"), Number(document, L"ypos"), Number(document, L"width"),
                    Number(document, L"height"), document.GetAttribute(L"image"));
  layout.SetGridSize(Number(document, L"row_count"), Number(document, L"col_count"));
  if (!document.EnterElement()) return;
  if (document.FindElement(L"KeyItems") && document.EnterElement()) {
    load.key_items_found = true;
    while (document.FindElement(L"key")) {
      KeyItem key;
      key.code = ParseHexadecimal(document.GetAttribute(L"code"));
      key.name = document.GetAttribute(L"name");
      key.description = document.GetAttribute(L"desc");
      key.key_index = Number(document, L"key_index");
      key.light_index = Number(document, L"light_index");
      key.icon = document.GetAttribute(L"icon");
      key.rect = ParseKeyRect(document.GetAttribute(L"rect"));
      layout.AddKey(key, ParseRowCol(document.GetAttribute(L"row_col")));
    }
    document.LeaveElement();
  }
  document.LeaveElement();
}

DescriptionLoad ReadDocument(XmlDocument& document, DeviceFeatures& features, KeyboardLayout& layout) {
  DescriptionLoad load;
  if (!document.FindElement(L"device.info") || !document.EnterElement()) return load;
  load.loaded = true;

  // Each child is searched forward from the last one found, so the file
  // must keep this order; any of them may be missing.
  if (document.FindElement(L"menu")) {
    load.menu_found = true;
    features.page_flags = PageFlag::CustomKey | PageFlag::SettingsKeyboard;
    if (ParseFlag(document.GetAttribute(L"macro"))) features.page_flags |= PageFlag::Macro;
    if (ParseFlag(document.GetAttribute(L"light_mode"))) features.page_flags |= PageFlag::Light;
  }
  if (document.FindElement(L"function")) {
    load.function_found = true;
    features.sleep_time = ParseFlag(document.GetAttribute(L"sleep_time"));
  }
  if (document.FindElement(L"firmware")) {
    load.firmware_found = true;
    features.firmware_version = document.GetAttribute(L"version");
    features.firmware_file = document.GetAttribute(L"file");
    features.firmware_address = document.GetAttribute(L"url");
  }
  if (document.FindElement(L"light")) {
    load.light_found = true;
    ReadLight(document, features);
  }
  ReadKeyboard(document, load, layout);
  return load;
}

}  // namespace

DescriptionLoad LoadDeviceDescription(const std::wstring& folder, int deviceType,
                                      const std::vector<DeviceInfo>& keyboards, DeviceFeatures& features,
                                      KeyboardLayout& layout) {
  features.firmware_address.clear();
  std::wstring layoutName;
  std::wstring keyboardName;
  for (const DeviceInfo& keyboard : keyboards) {
    if (keyboard.device_type == deviceType) {
      layoutName = keyboard.layout_name;
      keyboardName = keyboard.name;
      break;
    }
  }
  features.current_device_type = deviceType;
  features.keyboard_name = keyboardName;

  XmlDocument document;
  if (!document.LoadFile(JoinPath(JoinPath(folder, L"layouts"), layoutName + L".xml"))) return {};
  return ReadDocument(document, features, layout);
}

DescriptionLoad ReadDeviceDescriptionText(const std::wstring& text, DeviceFeatures& features,
                                          KeyboardLayout& layout) {
  features.firmware_address.clear();
  XmlDocument document;
  if (!document.SetText(text)) return {};
  return ReadDocument(document, features, layout);
}
