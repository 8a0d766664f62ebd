#include "platform/DeviceMonitor.h"

#include <unistd.h>

#include "platform/linux/DeviceMonitorSources.h"

namespace platform {
namespace {

// The udev daemon keeps its control socket and database here; without it a
// "udev" monitor can be created but never receives anything.
bool UdevDaemonRuns() { return ::access("/run/udev", F_OK) == 0; }

}  // namespace

std::unique_ptr<DeviceMonitor> DeviceMonitor::Start(Callback callback, const DeviceMonitorOptions& options) {
  DeviceMonitorSource source = options.source.value_or(UdevDaemonRuns() ? DeviceMonitorSource::Udev
                                                                        : DeviceMonitorSource::Kernel);
  if (source != DeviceMonitorSource::Poll) {
    if (auto monitor = UdevDeviceMonitor::Create(source, callback)) return monitor;
  }
  return std::make_unique<PollDeviceMonitor>(std::move(callback), options.pollInterval);
}

}  // namespace platform
