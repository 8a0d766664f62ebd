// Feeds sysfs device paths to the interface-id reader.  An arbitrary path
// gives either nothing or a well-formed upper-case id; a path built the way
// the kernel names a USB HID interface, with arbitrary text around it, gives
// exactly the id of that vendor, product and interface.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/HidInterfaceId.h"

namespace {

bool IsUpperHex(wchar_t c) { return (c >= L'0' && c <= L'9') || (c >= L'A' && c <= L'F'); }

bool HexAt(std::wstring_view id, std::size_t at, std::size_t count) {
  if (id.size() < at + count) return false;
  for (std::size_t i = 0; i < count; ++i) {
    if (!IsUpperHex(id[at + i])) return false;
  }
  return true;
}

// "VID_xxxx&PID_xxxx", then nothing, "&MI_nn" or the GATT service.
bool WellFormed(std::wstring_view id) {
  if (id.size() < 17 || id.substr(0, 4) != L"VID_" || !HexAt(id, 4, 4) || id.substr(8, 5) != L"&PID_" ||
      !HexAt(id, 13, 4)) {
    return false;
  }
  const std::wstring_view rest = id.substr(17);
  if (rest.empty()) return true;
  if (rest.size() == 6 && rest.substr(0, 4) == L"&MI_" && HexAt(rest, 4, 2)) return true;
  return rest == L"&{" + std::wstring(platform::kHidOverGattService) + L"}";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view path(reinterpret_cast<const char*>(data), size);
  const std::wstring id = platform::HidInterfaceIdFromSysPath(path);
  if (!id.empty() && !WellFormed(id)) std::abort();
  // Empty components do not count: the same path with doubled slashes names
  // the same node.
  std::string doubled;
  for (char c : path) {
    doubled += c;
    if (c == '/') doubled += '/';
  }
  if (platform::HidInterfaceIdFromSysPath(doubled) != id) std::abort();

  if (size < 5) return 0;
  const auto vid = static_cast<std::uint16_t>(data[0] | (data[1] << 8));
  const auto pid = static_cast<std::uint16_t>(data[2] | (data[3] << 8));
  const int interfaceNumber = data[4];
  // Whatever folder comes before the USB interface is not read; without a
  // ':' it cannot be taken for a HID device of its own.
  std::string before(path.substr(5));
  for (char& c : before) {
    if (c == '/' || c == ':') c = '_';
  }
  char node[80];
  std::snprintf(node, sizeof node, "/1-2.%s:1.%d/0003:%04X:%04X.%04X/hidraw/hidraw3", "4", interfaceNumber,
                vid, pid, static_cast<unsigned>(size & 0xFFFF));
  const std::string built = "/sys/devices/" + before + node;
  if (platform::HidInterfaceIdFromSysPath(built) != platform::HidInterfaceId(vid, pid, interfaceNumber)) {
    std::abort();
  }
  return 0;
}
