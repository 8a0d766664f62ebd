#pragma once
// DeviceLink: the one object through which the program reaches the keyboard.
// It finds the keyboard's vendor HID interfaces, keeps them open, decides
// which handle ordinary reports go to and offers the primitive transfers the
// report protocol is built from.  It knows nothing of the bytes' meaning.
//
// Thread-safety: every operation may be called from any thread.  One lock
// covers the state and every transfer, pauses included, so a feature report
// from the user-interface thread never overlaps the worker's transfers.
// Discovery (OpenAll, CloseAll) belongs to one thread at a time, the worker's:
// OpenAll lets the lock go while it waits for access rights.
// Handles returned by GetActiveHandle or CollectDevices stay valid until the
// next CloseAll or OpenAll; use them only through this class's transfers.
#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <span>
#include <string>
#include <vector>

#include "device/DeviceEntry.h"
#include "device/HidHandle.h"

class DeviceLink {
 public:
  static constexpr size_t kReportSize = 65;  // report id + 64 data bytes
  static constexpr size_t kPayloadSize = 64;
  static constexpr size_t kRequestSize = 8;
  static constexpr size_t kAnswerSize = 28;
  using Report = std::array<uint8_t, kReportSize>;
  using Payload = std::array<uint8_t, kPayloadSize>;

  // The process-wide object, created on first use.
  static DeviceLink& Instance();

  // The program uses Instance(); a separate object (tests) starts closed,
  // with no entries, like the process-wide one.
  DeviceLink();
  ~DeviceLink();
  DeviceLink(const DeviceLink&) = delete;
  DeviceLink& operator=(const DeviceLink&) = delete;

  void AddDeviceEntry(uint32_t vid, uint32_t pid, const std::wstring& productName, int deviceType, int mode,
                      const std::wstring& hidInterface);
  std::vector<DeviceEntry> GetDeviceEntries() const;

  // Discovery.  A wanted vendor interface refused for lack of rights is tried
  // three more times, 100 ms apart, then remembered as inaccessible.
  void OpenAll();
  // Clears `enabled` and closes every handle.
  void CloseAll();

  bool CollectDevices(std::vector<OpenedDevice>& devices) const;
  int FindDevice(uint32_t vid, uint32_t pid, const std::wstring& productName, int mode) const;
  hid_device_* GetActiveHandle();
  hid_device_* GetStreamHandle() const;
  int GetConnectionMode() const;
  std::vector<InaccessibleInterface> GetInaccessibleInterfaces() const;

  void SetEnabled(bool enabled);
  bool IsEnabled() const;
  void SetSelectedDeviceType(int deviceType);
  int GetSelectedDeviceType() const;
  void ClearActiveHandle();

  // Transfers: each refuses (false, nothing sent) while not enabled or
  // without its handle.  Writes retry once after a failure.
  bool WriteReport(const Report& report);
  bool WriteStreamReport(const Report& report);
  bool WritePayload(const Payload& payload, std::chrono::milliseconds retryDelay);
  // Waits 16 ms, then sends the 65 bytes as a feature report; never retried.
  bool SendFeature(const Report& report);
  // `buffer` holds at least 28 bytes and begins with an 8-byte request; it
  // receives the 28 answer bytes (7 per read; a failed read leaves its 7
  // bytes as they were).  False only when refused or the buffer is short.
  bool QueryFeature(std::span<uint8_t> buffer);

 private:
  struct Opened {
    OpenedDevice record;
    HidHandle handle;
  };
  struct Candidate;

  const DeviceEntry* FirstEntryFor(uint32_t vid, uint32_t pid) const;
  bool IsWanted(uint16_t vid, uint16_t pid) const;
  // Opens one interface; true when it was refused for lack of rights.
  bool TryOpen(const Candidate& candidate);
  void Place(const Candidate& candidate, HidHandle handle);
  void ReleaseAll();
  hid_device_* ActiveHandleLocked();
  bool WriteWithRetry(hid_device_* handle, const uint8_t* data, size_t length,
                      std::chrono::milliseconds retryDelay);

  mutable std::mutex m_lock;
  bool m_enabled = false;
  std::vector<Opened> m_opened;
  std::vector<DeviceEntry> m_entries;
  std::vector<InaccessibleInterface> m_inaccessible;
  int m_selectedDeviceType = 0;
  hid_device_* m_activeHandle = nullptr;
  HidHandle m_streamHandle;
};
