#include "device/HidHandle.h"

#include <hidapi.h>

void HidDeviceCloser::operator()(hid_device_* device) const {
  if (device) hid_close(device);
}
