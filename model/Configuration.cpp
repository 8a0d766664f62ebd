#include "model/Configuration.h"

#include <climits>

#include "model/AttributeText.h"
#include "support/XmlDocument.h"

namespace {

int ReadUsbId(const XmlDocument& document, const wchar_t* attribute) {
  const std::uint32_t value = ParseHexadecimal(document.GetAttribute(attribute));
  return value <= static_cast<std::uint32_t>(INT_MAX) ? static_cast<int>(value) : 0;
}

}  // namespace

std::wstring JoinPath(const std::wstring& folder, const std::wstring& name) {
  if (folder.empty() || folder.back() == L'/') return folder + name;
  return folder + L"/" + name;
}

std::wstring ReadSoftwareName(const std::wstring& folder) {
  XmlDocument document;
  if (!document.LoadFile(JoinPath(folder, L"config.xml"))) return {};
  if (!document.FindElement(L"config") || !document.EnterElement()) return {};
  if (!document.FindElement(L"software")) return {};
  return document.GetAttribute(L"name");
}

Configuration ReadConfiguration(const std::wstring& folder) {
  Configuration configuration;
  XmlDocument document;
  if (!document.LoadFile(JoinPath(folder, L"config.xml"))) return configuration;
  if (!document.FindElement(L"config") || !document.EnterElement()) return configuration;

  if (document.FindElement(L"device.info") && document.EnterElement()) {
    while (document.FindElement(L"keyboard")) {
      DeviceInfo keyboard;
      keyboard.name = document.GetAttribute(L"name");
      keyboard.device_type = ParseDecimal(document.GetAttribute(L"device_type"));
      keyboard.layout_name = document.GetAttribute(L"device_info");
      configuration.keyboards.push_back(keyboard);

      std::size_t modes = 0;
      if (document.EnterElement()) {
        while (document.FindElement(L"mode")) {
          // Each mode starts from the keyboard's entry, so an attribute a
          // mode lacks is empty or 0, never the previous mode's value.
          DeviceInfo connection = keyboard;
          connection.mode = ParseDecimal(document.GetAttribute(L"value"));
          connection.mode_description = document.GetAttribute(L"desc");
          connection.vid = ReadUsbId(document, L"vid");
          connection.pid = ReadUsbId(document, L"pid");
          connection.name = document.GetAttribute(L"product_name");
          connection.interface_pattern = document.GetAttribute(L"hid_interface");
          configuration.connections.push_back(connection);
          ++modes;
        }
        document.LeaveElement();
      }
      configuration.mode_counts.push_back(modes);
    }
    document.LeaveElement();
  }

  // Searched forward from `device.info`: a `software` element before it is
  // not seen here.
  if (document.FindElement(L"software")) {
    configuration.software_found = true;
    configuration.software.version = document.GetAttribute(L"version");
    if (document.EnterElement()) {
      if (document.FindElement(L"website")) configuration.software.website_address = document.GetAttribute(L"url");
      if (document.FindElement(L"store")) configuration.software.store_address = document.GetAttribute(L"url");
      if (document.FindElement(L"upgrade")) configuration.software.update_address = document.GetAttribute(L"url");
      if (document.FindElement(L"copyright")) {
        configuration.copyright_found = true;
        configuration.copyright = document.GetAttribute(L"info");
      }
      document.LeaveElement();
    }
  }
  return configuration;
}
