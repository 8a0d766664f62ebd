#pragma once
// An open hidapi device, closed when the holder goes.
#include <memory>

struct hid_device_;

struct HidDeviceCloser {
  void operator()(hid_device_* device) const;
};

using HidHandle = std::unique_ptr<hid_device_, HidDeviceCloser>;
