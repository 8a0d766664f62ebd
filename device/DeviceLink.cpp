#include "device/DeviceLink.h"

#include <hidapi.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <thread>

#include "platform/HidAccess.h"
#include "platform/HidInterfaceId.h"

namespace {

using namespace std::chrono_literals;

constexpr auto kWriteRetryDelay = 10ms;
constexpr auto kFeaturePause = 16ms;
constexpr auto kAccessRetryDelay = 100ms;
constexpr int kAccessRetries = 3;
constexpr int kFeatureReads = 4;
constexpr size_t kBytesPerRead = 7;
constexpr std::wstring_view kStreamInterface = L"&MI_03";

bool IsVendorCollection(uint16_t usagePage, uint16_t usage) {
  return (usagePage == 0xFF00 || usagePage == 0xFF01) && usage == 1;
}

}  // namespace

// What the enumeration told about one wanted interface.
struct DeviceLink::Candidate {
  std::string path;
  std::wstring interfaceId;
  uint16_t vid = 0;
  uint16_t pid = 0;
  uint16_t releaseNumber = 0;
  uint16_t usagePage = 0;
  uint16_t usage = 0;
};

DeviceLink& DeviceLink::Instance() {
  static DeviceLink link;
  return link;
}

DeviceLink::DeviceLink() {
  // A failed initialisation is not reported: discovery then finds nothing.
  hid_init();
}

DeviceLink::~DeviceLink() {
  std::scoped_lock lock(m_lock);
  ReleaseAll();
}

void DeviceLink::AddDeviceEntry(uint32_t vid, uint32_t pid, const std::wstring& productName, int deviceType,
                                int mode, const std::wstring& hidInterface) {
  std::scoped_lock lock(m_lock);
  m_entries.push_back(DeviceEntry{vid, pid, productName, deviceType, mode, hidInterface});
}

std::vector<DeviceEntry> DeviceLink::GetDeviceEntries() const {
  std::scoped_lock lock(m_lock);
  return m_entries;
}

const DeviceEntry* DeviceLink::FirstEntryFor(uint32_t vid, uint32_t pid) const {
  for (const DeviceEntry& entry : m_entries) {
    if (entry.vid == vid && entry.pid == pid) return &entry;
  }
  return nullptr;
}

bool DeviceLink::IsWanted(uint16_t vid, uint16_t pid) const {
  // Product strings are not read during discovery, so the device's product
  // string is empty and only entries without a product name can match.
  const std::wstring productString;
  return std::any_of(m_entries.begin(), m_entries.end(), [&](const DeviceEntry& entry) {
    return entry.vid == vid && entry.pid == pid && (entry.productName.empty() || entry.productName == productString);
  });
}

void DeviceLink::ReleaseAll() {
  m_enabled = false;
  m_opened.clear();
  m_streamHandle.reset();
  // The cached handle pointed into what was just closed; keeping it would
  // hand a closed handle to the next transfer.
  m_activeHandle = nullptr;
}

void DeviceLink::CloseAll() {
  std::scoped_lock lock(m_lock);
  ReleaseAll();
}

void DeviceLink::Place(const Candidate& candidate, HidHandle handle) {
  if (!IsVendorCollection(candidate.usagePage, candidate.usage)) {
    return;  // the boot keyboard and other collections: closed at once
  }
  const std::wstring upperId = platform::UpperCaseId(candidate.interfaceId);
  if (upperId.find(kStreamInterface) != std::wstring::npos) {
    m_streamHandle = std::move(handle);
    return;
  }
  Opened opened;
  OpenedDevice& record = opened.record;
  record.index = static_cast<int>(m_opened.size());
  record.vid = candidate.vid;
  record.pid = candidate.pid;
  record.path = candidate.path;
  record.interfaceId = candidate.interfaceId;
  record.releaseNumber = candidate.releaseNumber;
  record.handle = handle.get();
  if (const DeviceEntry* entry = FirstEntryFor(candidate.vid, candidate.pid)) {
    record.deviceType = entry->deviceType;
    record.mode = entry->mode;
  }
  record.wired = record.mode == 0;
  opened.handle = std::move(handle);
  m_opened.push_back(std::move(opened));
}

bool DeviceLink::TryOpen(const Candidate& candidate) {
  errno = 0;
  HidHandle handle(hid_open_path(candidate.path.c_str()));
  const int openError = errno;
  if (handle) {
    Place(candidate, std::move(handle));
    return false;
  }
  // Only the interfaces the program needs count: the boot keyboard is meant
  // to stay closed to user programs.
  if (!IsVendorCollection(candidate.usagePage, candidate.usage)) return false;
  return platform::ClassifyOpenFailure(candidate.path, openError) == platform::HidOpenFailure::PermissionDenied;
}

void DeviceLink::OpenAll() {
  std::unique_lock lock(m_lock);
  // A second discovery without CloseAll would otherwise leave the first
  // one's handles open and listed twice.
  ReleaseAll();
  m_inaccessible.clear();

  std::vector<Candidate> candidates;
  hid_device_info* list = hid_enumerate(0, 0);
  for (const hid_device_info* info = list; info != nullptr; info = info->next) {
    if (!IsWanted(info->vendor_id, info->product_id) || info->path == nullptr) continue;
    Candidate candidate;
    candidate.path = info->path;
    candidate.interfaceId = platform::HidInterfaceId(info->vendor_id, info->product_id, info->interface_number);
    candidate.vid = info->vendor_id;
    candidate.pid = info->product_id;
    candidate.releaseNumber = info->release_number;
    candidate.usagePage = info->usage_page;
    candidate.usage = info->usage;
    candidates.push_back(std::move(candidate));
  }
  hid_free_enumeration(list);

  std::vector<Candidate> refused;
  for (const Candidate& candidate : candidates) {
    if (TryOpen(candidate)) refused.push_back(candidate);
  }
  // Right after a plug-in the rights can arrive a moment after the node.
  // The lock is let go while waiting, so a transfer from another thread is
  // refused at once (nothing is enabled yet) instead of waiting.
  for (int attempt = 0; attempt < kAccessRetries && !refused.empty(); ++attempt) {
    lock.unlock();
    std::this_thread::sleep_for(kAccessRetryDelay);
    lock.lock();
    std::vector<Candidate> stillRefused;
    for (const Candidate& candidate : refused) {
      if (TryOpen(candidate)) stillRefused.push_back(candidate);
    }
    refused = std::move(stillRefused);
  }
  for (const Candidate& candidate : refused) {
    InaccessibleInterface item;
    item.vid = candidate.vid;
    item.pid = candidate.pid;
    item.path = candidate.path;
    item.interfaceId = candidate.interfaceId;
    if (const DeviceEntry* entry = FirstEntryFor(candidate.vid, candidate.pid)) {
      item.deviceType = entry->deviceType;
      item.mode = entry->mode;
    }
    m_inaccessible.push_back(std::move(item));
  }
}

bool DeviceLink::CollectDevices(std::vector<OpenedDevice>& devices) const {
  std::scoped_lock lock(m_lock);
  if (m_opened.empty()) return false;
  for (const Opened& opened : m_opened) {
    if (m_selectedDeviceType == 0 || opened.record.deviceType == m_selectedDeviceType) {
      devices.push_back(opened.record);
    }
  }
  return true;
}

int DeviceLink::FindDevice(uint32_t vid, uint32_t pid, const std::wstring& productName, int mode) const {
  std::scoped_lock lock(m_lock);
  for (size_t i = 0; i < m_opened.size(); ++i) {
    const OpenedDevice& record = m_opened[i].record;
    if (record.vid != vid || record.pid != pid || record.mode != mode) continue;
    // The first vid/pid/mode match decides; later devices are not looked at.
    if (productName.empty() || productName == record.productString) return static_cast<int>(i);
    return -1;
  }
  return -1;
}

hid_device_* DeviceLink::ActiveHandleLocked() {
  if (m_activeHandle) return m_activeHandle;
  for (int mode : {0, 1, 2}) {
    for (const Opened& opened : m_opened) {
      if (opened.record.deviceType == m_selectedDeviceType && opened.record.mode == mode) {
        m_activeHandle = opened.record.handle;
        return m_activeHandle;
      }
    }
  }
  return nullptr;
}

hid_device_* DeviceLink::GetActiveHandle() {
  std::scoped_lock lock(m_lock);
  return ActiveHandleLocked();
}

hid_device_* DeviceLink::GetStreamHandle() const {
  std::scoped_lock lock(m_lock);
  return m_streamHandle.get();
}

int DeviceLink::GetConnectionMode() const {
  std::scoped_lock lock(m_lock);
  bool modes[3] = {false, false, false};
  for (const Opened& opened : m_opened) {
    const int mode = opened.record.mode;
    if (opened.record.deviceType == m_selectedDeviceType && mode >= 0 && mode <= 2) modes[mode] = true;
  }
  // The order differs from the active handle's on purpose: with both
  // wireless modes open, reports go to mode 1 while mode 2 is reported.
  if (modes[0]) return 0;
  if (modes[2]) return 2;
  if (modes[1]) return 1;
  return -1;
}

std::vector<InaccessibleInterface> DeviceLink::GetInaccessibleInterfaces() const {
  std::scoped_lock lock(m_lock);
  return m_inaccessible;
}

void DeviceLink::SetEnabled(bool enabled) {
  std::scoped_lock lock(m_lock);
  m_enabled = enabled;
}

bool DeviceLink::IsEnabled() const {
  std::scoped_lock lock(m_lock);
  return m_enabled;
}

void DeviceLink::SetSelectedDeviceType(int deviceType) {
  std::scoped_lock lock(m_lock);
  m_selectedDeviceType = deviceType;
}

int DeviceLink::GetSelectedDeviceType() const {
  std::scoped_lock lock(m_lock);
  return m_selectedDeviceType;
}

void DeviceLink::ClearActiveHandle() {
  std::scoped_lock lock(m_lock);
  m_activeHandle = nullptr;
}

bool DeviceLink::WriteWithRetry(hid_device_* handle, const uint8_t* data, size_t length,
                                std::chrono::milliseconds retryDelay) {
  int written = hid_write(handle, data, length);
  if (written < 1) {
    std::this_thread::sleep_for(retryDelay);
    written = hid_write(handle, data, length);
  }
  return written >= 1;
}

bool DeviceLink::WriteReport(const Report& report) {
  std::scoped_lock lock(m_lock);
  hid_device_* handle = m_enabled ? ActiveHandleLocked() : nullptr;
  if (!handle) return false;
  return WriteWithRetry(handle, report.data(), report.size(), kWriteRetryDelay);
}

bool DeviceLink::WriteStreamReport(const Report& report) {
  std::scoped_lock lock(m_lock);
  if (!m_enabled || !m_streamHandle) return false;
  // A frame whose retry failed too is reported as lost, so the caller stops
  // sending the rest of the frame.
  return WriteWithRetry(m_streamHandle.get(), report.data(), report.size(), kWriteRetryDelay);
}

bool DeviceLink::WritePayload(const Payload& payload, std::chrono::milliseconds retryDelay) {
  std::scoped_lock lock(m_lock);
  hid_device_* handle = m_enabled ? ActiveHandleLocked() : nullptr;
  if (!handle) return false;
  Report report{};
  report[0] = 0;  // report id 0
  std::copy(payload.begin(), payload.end(), report.begin() + 1);
  return WriteWithRetry(handle, report.data(), report.size(), retryDelay);
}

bool DeviceLink::SendFeature(const Report& report) {
  std::scoped_lock lock(m_lock);
  hid_device_* handle = m_enabled ? ActiveHandleLocked() : nullptr;
  if (!handle) return false;
  std::this_thread::sleep_for(kFeaturePause);
  return hid_send_feature_report(handle, report.data(), report.size()) >= 1;
}

bool DeviceLink::QueryFeature(std::span<uint8_t> buffer) {
  if (buffer.size() < kAnswerSize) return false;
  std::scoped_lock lock(m_lock);
  hid_device_* handle = m_enabled ? ActiveHandleLocked() : nullptr;
  if (!handle) return false;
  hid_send_feature_report(handle, buffer.data(), kRequestSize);
  uint8_t request[kRequestSize] = {};
  for (int k = 0; k < kFeatureReads; ++k) {
    // Bytes 3 to 7 keep what the previous read left there.
    request[0] = 0x07;
    request[1] = 0xFB;
    request[2] = 0x01;
    std::this_thread::sleep_for(kFeaturePause);
    if (hid_get_feature_report(handle, request, sizeof request) > 0) {
      std::memcpy(buffer.data() + kBytesPerRead * k, request + 1, kBytesPerRead);
    }
  }
  return true;
}
