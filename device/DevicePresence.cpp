#include "device/DevicePresence.h"

#include "device/DeviceIndicator.h"
#include "device/DeviceLink.h"
#include "device/DeviceTask.h"
#include "device/TaskSink.h"
#include "platform/HidInterfaceId.h"
#include "platform/MessageTarget.h"

DevicePresence::DevicePresence(DeviceLink& link, TaskSink& tasks, DeviceIndicator& indicator,
                               int keyboardDeviceType)
    : m_link(link), m_tasks(tasks), m_indicator(indicator), m_keyboardDeviceType(keyboardDeviceType) {}

DevicePresence::~DevicePresence() { m_monitor.reset(); }

void DevicePresence::AddConnectionEntry(const DeviceEntry& entry) {
  Connection& connection = m_connections.emplace_back(entry);
  connection.upperPattern = platform::UpperCaseId(entry.hidInterface);
}

size_t DevicePresence::GetConnectionCount() const { return m_connections.size(); }

bool DevicePresence::IsConnected(size_t index) const {
  return index < m_connections.size() && m_connections[index].connected.load();
}

bool DevicePresence::RegisterDeviceArrival(platform::MessageTarget* window,
                                           const platform::DeviceMonitorOptions& options) {
  m_window = window;
  m_monitor = platform::DeviceMonitor::Start(
      [this](const platform::DeviceNotification& notification) {
        if (!m_window) {
          OnDeviceChange(notification.event, notification.interfaceId);
          return;
        }
        {
          std::scoped_lock lock(m_inboxLock);
          m_inbox.push_back(notification);
        }
        m_window->PostMessage(platform::kDeviceChangeMessage, notification.event, 0);
      },
      options);
  return m_monitor != nullptr;
}

void DevicePresence::HandlePendingNotifications() {
  std::deque<platform::DeviceNotification> pending;
  {
    std::scoped_lock lock(m_inboxLock);
    pending.swap(m_inbox);
  }
  for (const auto& notification : pending) OnDeviceChange(notification.event, notification.interfaceId);
}

int DevicePresence::OnDeviceChange(uint32_t event, std::wstring_view interfacePath) {
  const std::wstring upperPath = platform::UpperCaseId(interfacePath);
  if (event == platform::kDeviceArrival) OnArrival(upperPath);
  if (event == platform::kDeviceRemoveComplete) OnRemoval(upperPath);
  return 0;
}

void DevicePresence::OnArrival(const std::wstring& upperPath) {
  for (Connection& connection : m_connections) {
    // Bluetooth LE keyboards never start a detection.
    if (upperPath.find(platform::kHidOverGattService) != std::wstring::npos) return;
    if (upperPath.find(connection.upperPattern) != std::wstring::npos) {
      // One re-detection reopens everything, however many entries match.
      m_tasks.QueueTask(TaskCode(DeviceTask::RedetectDevice));
      return;
    }
  }
}

void DevicePresence::OnRemoval(const std::wstring& upperPath) {
  for (Connection& connection : m_connections) {
    if (!connection.connected.load()) continue;
    if (upperPath.find(platform::kHidOverGattService) != std::wstring::npos) return;
    if (upperPath.find(connection.upperPattern) != std::wstring::npos) {
      connection.connected.store(false);
      m_tasks.QueueTask(TaskCode(DeviceTask::RedetectAfterRemoval));
      return;
    }
  }
}

void DevicePresence::DetectKeyboard() {
  bool modelPresent = false;
  m_link.CloseAll();
  m_link.OpenAll();
  m_link.SetEnabled(true);
  m_link.SetSelectedDeviceType(0);
  m_link.ClearActiveHandle();
  std::vector<OpenedDevice> devices;
  m_link.CollectDevices(devices);

  m_indicator.ResetAllState();
  for (Connection& connection : m_connections) {
    const DeviceEntry& entry = connection.entry;
    if (m_link.FindDevice(entry.vid, entry.pid, entry.productName, entry.mode) < 0) continue;
    // Entries not found keep their flag: their removal notification clears it.
    modelPresent = true;
    connection.connected.store(true);
    m_indicator.SetDeviceState(entry.deviceType, 1);
  }

  std::scoped_lock lock(m_stateLock);
  m_state.modelPresent = modelPresent;
  m_state.deviceFound = !devices.empty();
  m_state.inaccessible = m_link.GetInaccessibleInterfaces();
}

void DevicePresence::DetectionFollowUp() {
  bool deviceFound = false;
  bool modelPresent = false;
  {
    std::scoped_lock lock(m_stateLock);
    deviceFound = m_state.deviceFound;
    modelPresent = m_state.modelPresent;
  }
  int connectionMode = -1;
  bool present = false;
  if (deviceFound) {
    m_link.SetSelectedDeviceType(m_keyboardDeviceType);
    m_link.ClearActiveHandle();
    connectionMode = m_link.GetConnectionMode();
    // A wireless connection whose entry was not recognised counts as absent.
    const bool wireless = connectionMode == 1 || connectionMode == 2;
    present = !(wireless && !modelPresent);
  }
  {
    std::scoped_lock lock(m_stateLock);
    m_state.connectionMode = connectionMode;
    if (present) {
      m_state.status = DeviceStatus::Present;
    } else {
      m_state.status = m_state.inaccessible.empty() ? DeviceStatus::Absent : DeviceStatus::PresentNotAccessible;
    }
  }
  if (present) m_tasks.QueueTask(TaskCode(DeviceTask::LoadDeviceData));
}

void DevicePresence::RunDetectionTask(int task) {
  if (task == TaskCode(DeviceTask::DetectDevice)) {
    {
      std::scoped_lock lock(m_stateLock);
      if (m_state.detectionDone) return;
      m_state.detectionDone = true;
    }
  } else if (task != TaskCode(DeviceTask::RedetectDevice) && task != TaskCode(DeviceTask::RedetectAfterRemoval)) {
    return;
  }
  DetectKeyboard();
  DetectionFollowUp();
}

PresenceState DevicePresence::GetState() const {
  std::scoped_lock lock(m_stateLock);
  return m_state;
}
