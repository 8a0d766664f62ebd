#include "platform/HidInterfaceId.h"

#include <cstdio>
#include <vector>

namespace platform {
namespace {

std::vector<std::string_view> SplitPath(std::string_view path) {
  std::vector<std::string_view> parts;
  size_t start = 0;
  while (start <= path.size()) {
    size_t slash = path.find('/', start);
    if (slash == std::string_view::npos) slash = path.size();
    if (slash > start) parts.push_back(path.substr(start, slash - start));
    start = slash + 1;
  }
  return parts;
}

bool ParseHex(std::string_view text, unsigned& value) {
  if (text.empty() || text.size() > 8) return false;
  value = 0;
  for (char c : text) {
    unsigned digit;
    if (c >= '0' && c <= '9') digit = static_cast<unsigned>(c - '0');
    else if (c >= 'a' && c <= 'f') digit = static_cast<unsigned>(c - 'a' + 10);
    else if (c >= 'A' && c <= 'F') digit = static_cast<unsigned>(c - 'A' + 10);
    else return false;
    value = value * 16 + digit;
  }
  return true;
}

bool ParseDecimal(std::string_view text, int& value) {
  if (text.empty() || text.size() > 4) return false;
  value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
  }
  return true;
}

// "BBBB:VVVV:PPPP.NNNN", the name the kernel gives a HID device.
bool ParseHidDeviceName(std::string_view name, unsigned& bus, unsigned& vid, unsigned& pid) {
  if (name.size() < 16 || name[4] != ':' || name[9] != ':' || name[14] != '.') return false;
  unsigned instance = 0;
  return ParseHex(name.substr(0, 4), bus) && ParseHex(name.substr(5, 4), vid) &&
         ParseHex(name.substr(10, 4), pid) && ParseHex(name.substr(15), instance);
}

// "<bus>-<port>[.<port>...]:<configuration>.<interface>", a USB interface.
bool ParseUsbInterfaceName(std::string_view name, int& interfaceNumber) {
  const size_t colon = name.rfind(':');
  if (colon == std::string_view::npos || name.find('-') == std::string_view::npos) return false;
  const std::string_view tail = name.substr(colon + 1);
  const size_t dot = tail.find('.');
  int configuration = 0;
  if (dot == std::string_view::npos) return false;
  return ParseDecimal(tail.substr(0, dot), configuration) && ParseDecimal(tail.substr(dot + 1), interfaceNumber);
}

constexpr unsigned kBusBluetooth = 0x0005;

}  // namespace

std::wstring HidInterfaceId(uint16_t vendorId, uint16_t productId, int interfaceNumber) {
  wchar_t text[40];
  if (interfaceNumber >= 0) {
    std::swprintf(text, sizeof text / sizeof text[0], L"VID_%04X&PID_%04X&MI_%02X", vendorId, productId,
                  static_cast<unsigned>(interfaceNumber) & 0xFFu);
  } else {
    std::swprintf(text, sizeof text / sizeof text[0], L"VID_%04X&PID_%04X", vendorId, productId);
  }
  return text;
}

std::wstring HidOverGattInterfaceId(uint16_t vendorId, uint16_t productId) {
  return HidInterfaceId(vendorId, productId, -1) + L"&{" + std::wstring(kHidOverGattService) + L"}";
}

std::wstring HidInterfaceIdFromSysPath(std::string_view devicePath) {
  const auto parts = SplitPath(devicePath);
  for (size_t i = 0; i < parts.size(); ++i) {
    unsigned bus = 0, vid = 0, pid = 0;
    if (!ParseHidDeviceName(parts[i], bus, vid, pid) || vid > 0xFFFF || pid > 0xFFFF) continue;
    const auto vendorId = static_cast<uint16_t>(vid);
    const auto productId = static_cast<uint16_t>(pid);
    int interfaceNumber = -1;
    if (i > 0 && ParseUsbInterfaceName(parts[i - 1], interfaceNumber)) {
      return HidInterfaceId(vendorId, productId, interfaceNumber);
    }
    // BlueZ's HID-over-GATT keyboards are uhid devices on the Bluetooth bus;
    // classic Bluetooth HID hangs below the adapter instead.
    const bool uhid = i > 0 && parts[i - 1] == "uhid";
    if (bus == kBusBluetooth && uhid) return HidOverGattInterfaceId(vendorId, productId);
    return HidInterfaceId(vendorId, productId, -1);
  }
  return {};
}

std::wstring UpperCaseId(std::wstring_view text) {
  std::wstring upper(text);
  for (wchar_t& c : upper) {
    if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - L'a' + L'A');
  }
  return upper;
}

}  // namespace platform
