#pragma once
// The simulated tri-mode keyboard behind the hidapi stand-in.  Every
// connected mode shows three interfaces, as the real keyboard does:
// 0 boot keyboard (usage page 0x0001, usage 6), 2 vendor interface and
// 3 stream interface (both usage page 0xFF00, usage 1).  An unrelated vendor
// device with another product id is always present as well, so a program
// that opens what it does not want shows up in the trace.
//
// The keyboard also understands what it is sent: ProtocolDecoder keeps its
// state (key map, macros, light, colours), which is written as JSON to the
// state file and answers the feature protocol's slot-table query.
//
// Thread-safety: every operation takes the one lock, so the program may call
// hidapi from any number of threads.
#include <hidapi.h>

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "ProtocolDecoder.h"
#include "ReportTrace.h"
#include "SimulatorSettings.h"

// hidapi leaves its device record opaque; this is the simulator's.
struct hid_device_ {
  int mode = -1;
  int interfaceNumber = 0;
  uint64_t generation = 0;
  std::string interfaceId;
  std::string path;
  std::wstring manufacturer;
  std::wstring product;
  std::wstring serial;
  hid_device_info info{};
  std::vector<uint8_t> lastFeature;
  size_t repliesGiven = 0;
  std::wstring error;
};

namespace virtual_keyboard {

struct SimulatedInterface {
  int mode = -1;  // -1: the unrelated device
  int interfaceNumber = 0;
  uint16_t vendorId = 0;
  uint16_t productId = 0;
  uint16_t usagePage = 0;
  uint16_t usage = 0;
  std::string path;
  std::string interfaceId;
};

class SimulatedKeyboard {
 public:
  static SimulatedKeyboard& Instance();

  std::vector<SimulatedInterface> Interfaces();
  // errno-style error on failure: ENOENT (no such interface) or EACCES.
  hid_device* Open(const std::string& path, int& error);
  void Close(hid_device* device);
  bool Knows(hid_device* device);
  int Write(hid_device* device, const uint8_t* data, size_t length);
  int SendFeature(hid_device* device, const uint8_t* data, size_t length);
  int GetFeature(hid_device* device, uint8_t* data, size_t length);
  // 0 when the interface is still there (the keyboard never sends input),
  // -1 when it was unplugged.
  int Read(hid_device* device);

 private:
  SimulatedKeyboard();
  void Refresh();
  void Apply(const SimulatorSettings& settings);
  std::vector<SimulatedInterface> InterfacesLocked() const;
  bool IsLive(const hid_device* device) const;
  // The decoder of the keyboard the settings describe; a change of product
  // ids to another family starts a new keyboard.
  ProtocolDecoder& Decoder();
  void WriteState();

  std::mutex m_lock;
  SimulatorSettings m_environment;
  SimulatorSettings m_settings;
  std::string m_controlPath;
  std::string m_controlText;
  bool m_applied = false;
  // Bumped when a mode is unplugged: handles opened before stay dead even
  // after the mode is plugged in again, like a hidraw node that went away.
  std::map<int, uint64_t> m_generation;
  int m_failedWrites = 0;
  std::map<std::string, int> m_deniedOpens;
  std::set<hid_device*> m_handles;
  ReportTrace m_trace;
  std::unique_ptr<ProtocolDecoder> m_decoder;
};

}  // namespace virtual_keyboard
