#pragma once
// The Linux sources behind platform::DeviceMonitor.
#include <atomic>
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "platform/DeviceMonitor.h"

struct udev;
struct udev_monitor;

namespace platform {

// libudev monitor of subsystem "hidraw", fed by the udev daemon or straight
// by the kernel.
class UdevDeviceMonitor final : public DeviceMonitor {
 public:
  // Null when the monitor cannot be set up (no netlink socket).
  static std::unique_ptr<UdevDeviceMonitor> Create(DeviceMonitorSource source, Callback callback);
  ~UdevDeviceMonitor() override;
  DeviceMonitorSource Source() const override { return m_source; }

 private:
  UdevDeviceMonitor(DeviceMonitorSource source, Callback callback);
  void Run();

  DeviceMonitorSource m_source;
  Callback m_callback;
  udev* m_udev = nullptr;
  udev_monitor* m_monitor = nullptr;
  int m_stopEvent = -1;
  std::thread m_thread;
};

// Enumerates the HID interfaces every interval and reports the differences.
class PollDeviceMonitor final : public DeviceMonitor {
 public:
  PollDeviceMonitor(Callback callback, std::chrono::milliseconds interval);
  ~PollDeviceMonitor() override;
  DeviceMonitorSource Source() const override { return DeviceMonitorSource::Poll; }

 private:
  void Run();
  // path -> interface id
  static std::map<std::string, std::wstring> Snapshot();

  Callback m_callback;
  std::chrono::milliseconds m_interval;
  std::mutex m_lock;
  std::condition_variable m_wake;
  bool m_stop = false;
  std::map<std::string, std::wstring> m_known;
  std::thread m_thread;
};

}  // namespace platform
