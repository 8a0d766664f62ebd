#include <libudev.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/HidInterfaceId.h"
#include "platform/linux/DeviceMonitorSources.h"

namespace platform {

std::unique_ptr<UdevDeviceMonitor> UdevDeviceMonitor::Create(DeviceMonitorSource source, Callback callback) {
  std::unique_ptr<UdevDeviceMonitor> monitor(new UdevDeviceMonitor(source, std::move(callback)));
  monitor->m_udev = udev_new();
  if (!monitor->m_udev) return nullptr;
  const char* name = source == DeviceMonitorSource::Udev ? "udev" : "kernel";
  monitor->m_monitor = udev_monitor_new_from_netlink(monitor->m_udev, name);
  if (!monitor->m_monitor) return nullptr;
  if (udev_monitor_filter_add_match_subsystem_devtype(monitor->m_monitor, "hidraw", nullptr) < 0 ||
      udev_monitor_enable_receiving(monitor->m_monitor) < 0) {
    return nullptr;
  }
  monitor->m_stopEvent = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  if (monitor->m_stopEvent < 0) return nullptr;
  monitor->m_thread = std::thread([raw = monitor.get()] { raw->Run(); });
  return monitor;
}

UdevDeviceMonitor::UdevDeviceMonitor(DeviceMonitorSource source, Callback callback)
    : m_source(source), m_callback(std::move(callback)) {}

UdevDeviceMonitor::~UdevDeviceMonitor() {
  if (m_thread.joinable()) {
    const uint64_t one = 1;
    // A single write to a fresh eventfd cannot fail for lack of room.
    [[maybe_unused]] const ssize_t written = ::write(m_stopEvent, &one, sizeof one);
    m_thread.join();
  }
  if (m_stopEvent >= 0) ::close(m_stopEvent);
  if (m_monitor) udev_monitor_unref(m_monitor);
  if (m_udev) udev_unref(m_udev);
}

void UdevDeviceMonitor::Run() {
  pollfd fds[2] = {{udev_monitor_get_fd(m_monitor), POLLIN, 0}, {m_stopEvent, POLLIN, 0}};
  for (;;) {
    if (::poll(fds, 2, -1) < 0) {
      if (errno == EINTR) continue;
      return;  // the descriptors are broken; nothing more will arrive
    }
    if (fds[1].revents & POLLIN) return;
    if (!(fds[0].revents & POLLIN)) continue;
    udev_device* device = udev_monitor_receive_device(m_monitor);
    if (!device) continue;
    const char* action = udev_device_get_action(device);
    const char* path = udev_device_get_devpath(device);
    DeviceNotification notification;
    if (action && std::strcmp(action, "add") == 0) notification.event = kDeviceArrival;
    if (action && std::strcmp(action, "remove") == 0) notification.event = kDeviceRemoveComplete;
    if (notification.event != 0 && path) {
      notification.interfaceId = HidInterfaceIdFromSysPath(path);
      if (!notification.interfaceId.empty()) m_callback(notification);
    }
    udev_device_unref(device);
  }
}

}  // namespace platform
