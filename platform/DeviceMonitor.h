#pragma once
// Notifications of HID interfaces that appear and go away, in place of the
// device-interface broadcasts other systems send to a window.  Each
// notification names the interface by its id (platform/HidInterfaceId.h).
//
// Sources, best first: the udev daemon's monitor of subsystem "hidraw"; where
// no udev daemon runs (no /run/udev, as in containers) the kernel's uevents;
// failing both, an enumeration every two seconds that reports what changed.
// The watching happens in a thread of the monitor's own.
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace platform {

// The window message that tells the main window a notification is waiting,
// with its event in wParam; the numbers are the ones the design uses.
inline constexpr uint32_t kDeviceChangeMessage = 0x0219;
inline constexpr uint32_t kDeviceArrival = 0x8000;
inline constexpr uint32_t kDeviceRemoveComplete = 0x8004;

enum class DeviceMonitorSource { Udev, Kernel, Poll };

struct DeviceNotification {
  uint32_t event = 0;  // kDeviceArrival or kDeviceRemoveComplete
  std::wstring interfaceId;
};

struct DeviceMonitorOptions {
  // Unset: the best source this machine offers.
  std::optional<DeviceMonitorSource> source;
  std::chrono::milliseconds pollInterval{2000};
};

class DeviceMonitor {
 public:
  using Callback = std::function<void(const DeviceNotification&)>;

  // Starts watching; `callback` runs on the monitor's thread.  Null only
  // when no source at all could be started.
  static std::unique_ptr<DeviceMonitor> Start(Callback callback, const DeviceMonitorOptions& options = {});

  // Stops the thread and waits for it; no callback runs afterwards.
  virtual ~DeviceMonitor() = default;
  virtual DeviceMonitorSource Source() const = 0;
};

}  // namespace platform
