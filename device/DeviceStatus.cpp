#include "device/DeviceStatus.h"

std::wstring DescribeStatus(DeviceStatus status) {
  switch (status) {
    case DeviceStatus::Present:
      return L"present";
    case DeviceStatus::PresentNotAccessible:
      return L"present but not accessible";
    case DeviceStatus::Absent:
      break;
  }
  return L"absent";
}
