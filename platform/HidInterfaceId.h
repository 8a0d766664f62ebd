#pragma once
// The text that names one HID interface on Linux, in place of the interface
// path other systems give: upper case "VID_xxxx&PID_xxxx&MI_nn" (hex), the
// "&MI_nn" part only for interfaces of a USB device.  Every test for "&MI_03"
// and for a config.xml interface pattern looks at this text.  Pure functions;
// any thread.
#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

// The Bluetooth HID-over-GATT service: interfaces of Bluetooth LE keyboards
// carry it in their id.
inline constexpr std::wstring_view kHidOverGattService = L"00001812-0000-1000-8000-00805F9B34FB";

// interfaceNumber < 0: not a USB interface.
std::wstring HidInterfaceId(uint16_t vendorId, uint16_t productId, int interfaceNumber);

// The id of a Bluetooth LE HID device: vid, pid and the GATT service.
std::wstring HidOverGattInterfaceId(uint16_t vendorId, uint16_t productId);

// The id of the hidraw node with this sysfs device path (as udev and the
// kernel report it, e.g. ".../1-2:1.2/0003:1209:4B01.0007/hidraw/hidraw3"),
// read from the path alone so that it works for removals too, when sysfs
// has nothing left to read.  Empty when the path names no HID device.
std::wstring HidInterfaceIdFromSysPath(std::string_view devicePath);

// ASCII upper case; other characters unchanged.
std::wstring UpperCaseId(std::wstring_view text);

}  // namespace platform
