// hidapi's C interface, every function of Debian's hidapi.h (0.13), answered
// by the simulated keyboard.  A program started with this library in
// LD_PRELOAD reaches these instead of the real library's, so no handle made
// here ever reaches the real one.
#include <hidapi.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <string>

#include "SimulatedKeyboard.h"

using virtual_keyboard::SimulatedKeyboard;

namespace {

thread_local std::wstring g_globalError;

wchar_t* CopyWide(const wchar_t* text) {
  const size_t length = std::wcslen(text);
  auto* copy = static_cast<wchar_t*>(std::malloc((length + 1) * sizeof(wchar_t)));
  if (copy) std::wmemcpy(copy, text, length + 1);
  return copy;
}

int CopyString(const std::wstring& text, wchar_t* out, size_t maxlen) {
  if (out == nullptr || maxlen == 0) return -1;
  std::wcsncpy(out, text.c_str(), maxlen);
  out[maxlen - 1] = L'\0';
  return 0;
}

}  // namespace

extern "C" {

int HID_API_EXPORT HID_API_CALL hid_init(void) { return 0; }

int HID_API_EXPORT HID_API_CALL hid_exit(void) { return 0; }

struct hid_device_info HID_API_EXPORT* HID_API_CALL hid_enumerate(unsigned short vendor_id,
                                                                  unsigned short product_id) {
  hid_device_info* head = nullptr;
  hid_device_info** tail = &head;
  for (const auto& item : SimulatedKeyboard::Instance().Interfaces()) {
    if (vendor_id != 0 && item.vendorId != vendor_id) continue;
    if (product_id != 0 && item.productId != product_id) continue;
    auto* info = static_cast<hid_device_info*>(std::calloc(1, sizeof(hid_device_info)));
    if (info == nullptr) break;
    info->path = strdup(item.path.c_str());
    info->vendor_id = item.vendorId;
    info->product_id = item.productId;
    info->serial_number = CopyWide(L"");
    info->release_number = 0x0100;
    info->manufacturer_string = CopyWide(L"Kestrel virtual keyboard");
    info->product_string = CopyWide(L"");
    info->usage_page = item.usagePage;
    info->usage = item.usage;
    info->interface_number = item.interfaceNumber;
    info->bus_type = HID_API_BUS_USB;
    *tail = info;
    tail = &info->next;
  }
  if (head == nullptr) g_globalError = L"No HID devices found in the system.";
  return head;
}

void HID_API_EXPORT HID_API_CALL hid_free_enumeration(struct hid_device_info* devs) {
  while (devs) {
    hid_device_info* next = devs->next;
    std::free(devs->path);
    std::free(devs->serial_number);
    std::free(devs->manufacturer_string);
    std::free(devs->product_string);
    std::free(devs);
    devs = next;
  }
}

HID_API_EXPORT hid_device* HID_API_CALL hid_open(unsigned short vendor_id, unsigned short product_id,
                                                 const wchar_t* serial_number) {
  (void)serial_number;
  for (const auto& item : SimulatedKeyboard::Instance().Interfaces()) {
    if (item.vendorId == vendor_id && item.productId == product_id) return hid_open_path(item.path.c_str());
  }
  g_globalError = L"Device Not Found";
  errno = ENOENT;
  return nullptr;
}

HID_API_EXPORT hid_device* HID_API_CALL hid_open_path(const char* path) {
  if (path == nullptr) {
    errno = EINVAL;
    return nullptr;
  }
  int error = 0;
  hid_device* device = SimulatedKeyboard::Instance().Open(path, error);
  if (device == nullptr) {
    g_globalError = error == EACCES ? L"Failed to open a device: Permission denied"
                                    : L"Failed to open a device: No such file or directory";
    // Left for the caller, as the real library's failed open(2) leaves it.
    errno = error;
  }
  return device;
}

int HID_API_EXPORT HID_API_CALL hid_write(hid_device* dev, const unsigned char* data, size_t length) {
  return SimulatedKeyboard::Instance().Write(dev, data, length);
}

int HID_API_EXPORT HID_API_CALL hid_read_timeout(hid_device* dev, unsigned char* data, size_t length,
                                                 int milliseconds) {
  (void)data;
  (void)length;
  (void)milliseconds;
  return SimulatedKeyboard::Instance().Read(dev);
}

int HID_API_EXPORT HID_API_CALL hid_read(hid_device* dev, unsigned char* data, size_t length) {
  return hid_read_timeout(dev, data, length, 0);
}

int HID_API_EXPORT HID_API_CALL hid_set_nonblocking(hid_device* dev, int nonblock) {
  (void)nonblock;
  return SimulatedKeyboard::Instance().Knows(dev) ? 0 : -1;
}

int HID_API_EXPORT HID_API_CALL hid_send_feature_report(hid_device* dev, const unsigned char* data,
                                                        size_t length) {
  return SimulatedKeyboard::Instance().SendFeature(dev, data, length);
}

int HID_API_EXPORT HID_API_CALL hid_get_feature_report(hid_device* dev, unsigned char* data, size_t length) {
  return SimulatedKeyboard::Instance().GetFeature(dev, data, length);
}

int HID_API_EXPORT HID_API_CALL hid_get_input_report(hid_device* dev, unsigned char* data, size_t length) {
  (void)data;
  (void)length;
  if (SimulatedKeyboard::Instance().Knows(dev)) dev->error = L"The keyboard has no input reports";
  return -1;
}

void HID_API_EXPORT HID_API_CALL hid_close(hid_device* dev) {
  if (dev) SimulatedKeyboard::Instance().Close(dev);
}

int HID_API_EXPORT_CALL hid_get_manufacturer_string(hid_device* dev, wchar_t* string, size_t maxlen) {
  if (!SimulatedKeyboard::Instance().Knows(dev)) return -1;
  return CopyString(dev->manufacturer, string, maxlen);
}

int HID_API_EXPORT_CALL hid_get_product_string(hid_device* dev, wchar_t* string, size_t maxlen) {
  if (!SimulatedKeyboard::Instance().Knows(dev)) return -1;
  return CopyString(dev->product, string, maxlen);
}

int HID_API_EXPORT_CALL hid_get_serial_number_string(hid_device* dev, wchar_t* string, size_t maxlen) {
  if (!SimulatedKeyboard::Instance().Knows(dev)) return -1;
  return CopyString(dev->serial, string, maxlen);
}

struct hid_device_info HID_API_EXPORT* HID_API_CALL hid_get_device_info(hid_device* dev) {
  if (!SimulatedKeyboard::Instance().Knows(dev)) return nullptr;
  return &dev->info;
}

int HID_API_EXPORT_CALL hid_get_indexed_string(hid_device* dev, int string_index, wchar_t* string,
                                               size_t maxlen) {
  (void)string_index;
  if (!SimulatedKeyboard::Instance().Knows(dev)) return -1;
  return CopyString(L"", string, maxlen);
}

HID_API_EXPORT const wchar_t* HID_API_CALL hid_error(hid_device* dev) {
  if (dev != nullptr && SimulatedKeyboard::Instance().Knows(dev)) {
    return dev->error.empty() ? L"Success" : dev->error.c_str();
  }
  return g_globalError.empty() ? L"Success" : g_globalError.c_str();
}

HID_API_EXPORT const struct hid_api_version* HID_API_CALL hid_version(void) {
  static const hid_api_version version{HID_API_VERSION_MAJOR, HID_API_VERSION_MINOR, HID_API_VERSION_PATCH};
  return &version;
}

HID_API_EXPORT const char* HID_API_CALL hid_version_str(void) { return HID_API_VERSION_STR; }

}  // extern "C"
