#pragma once
// Device presence: turns interface arrivals and removals into re-detection
// tasks, runs the detection on the device link and keeps what it found.
//
// Threads: OnDeviceChange and HandlePendingNotifications run on the
// user-interface thread (or on the monitor's thread when no window was
// given); DetectKeyboard, DetectionFollowUp and RunDetectionTask on the
// worker.  GetState and IsConnected from any thread.  Connection entries are
// added during start-up, before RegisterDeviceArrival and the first
// detection, and never afterwards.
#include <atomic>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "device/DeviceEntry.h"
#include "device/DeviceStatus.h"
#include "platform/DeviceMonitor.h"

class DeviceIndicator;
class DeviceLink;
class TaskSink;

namespace platform {
class MessageTarget;
}

class DevicePresence {
 public:
  // The keyboard of this program: its device type is selected after a
  // successful detection.
  static constexpr int kKeyboardDeviceType = 101;

  DevicePresence(DeviceLink& link, TaskSink& tasks, DeviceIndicator& indicator,
                 int keyboardDeviceType = kKeyboardDeviceType);
  ~DevicePresence();
  DevicePresence(const DevicePresence&) = delete;
  DevicePresence& operator=(const DevicePresence&) = delete;

  void AddConnectionEntry(const DeviceEntry& entry);
  size_t GetConnectionCount() const;
  bool IsConnected(size_t index) const;

  // Starts the device notifications.  With a window, each one is kept here
  // and the window gets kDeviceChangeMessage (wParam = the event); its
  // handler calls HandlePendingNotifications.  Without a window they are
  // handled at once on the monitor's thread.
  bool RegisterDeviceArrival(platform::MessageTarget* window, const platform::DeviceMonitorOptions& options = {});
  void HandlePendingNotifications();

  // One notification: `interfacePath` is the interface id (or any text that
  // contains it).  Always returns 0.
  int OnDeviceChange(uint32_t event, std::wstring_view interfacePath);

  void DetectKeyboard();
  void DetectionFollowUp();
  // DeviceTask 1 (only the first time), 2 and 3: detection and follow-up.
  void RunDetectionTask(int task);

  PresenceState GetState() const;

 private:
  struct Connection {
    explicit Connection(const DeviceEntry& e) : entry(e) {}
    DeviceEntry entry;
    std::wstring upperPattern;
    std::atomic<bool> connected{false};
  };

  void OnArrival(const std::wstring& upperPath);
  void OnRemoval(const std::wstring& upperPath);

  DeviceLink& m_link;
  TaskSink& m_tasks;
  DeviceIndicator& m_indicator;
  const int m_keyboardDeviceType;
  std::deque<Connection> m_connections;

  mutable std::mutex m_stateLock;
  PresenceState m_state;

  std::mutex m_inboxLock;
  std::deque<platform::DeviceNotification> m_inbox;
  platform::MessageTarget* m_window = nullptr;
  // Declared last: stopped first, so no notification arrives while the
  // members above are destroyed.
  std::unique_ptr<platform::DeviceMonitor> m_monitor;
};
