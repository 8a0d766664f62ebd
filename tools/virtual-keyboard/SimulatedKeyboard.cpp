#include "SimulatedKeyboard.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

namespace virtual_keyboard {
namespace {

constexpr uint16_t kUnrelatedProductId = 0x0001;
constexpr int kUnrelatedInterface = 2;
constexpr int kInterfaceNumbers[] = {0, 2, 3};

std::string InterfaceId(uint16_t vid, uint16_t pid, int interfaceNumber) {
  char text[32];
  std::snprintf(text, sizeof text, "VID_%04X&PID_%04X&MI_%02X", vid, pid, interfaceNumber);
  return text;
}

std::string ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return {};
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace

SimulatedKeyboard& SimulatedKeyboard::Instance() {
  // Never destroyed: a program's own static objects (the device link) close
  // their handles at exit, possibly after this library's statics are gone.
  // The trace is flushed line by line, so nothing is lost.
  static SimulatedKeyboard* keyboard = new SimulatedKeyboard;
  return *keyboard;
}

SimulatedKeyboard::SimulatedKeyboard() : m_environment(SettingsFromEnvironment()) {
  if (const char* path = std::getenv("KESTREL_VK_CONTROL")) m_controlPath = path;
}

void SimulatedKeyboard::Refresh() {
  std::string text = m_controlPath.empty() ? std::string() : ReadWholeFile(m_controlPath);
  if (m_applied && text == m_controlText) return;
  SimulatorSettings settings = m_environment;
  ApplyControlText(text, settings);
  m_controlText = std::move(text);
  Apply(settings);
}

void SimulatedKeyboard::Apply(const SimulatorSettings& settings) {
  if (m_applied) {
    for (int mode : m_settings.connectedModes) {
      if (!settings.IsConnected(mode)) ++m_generation[mode];
    }
  }
  if (settings.keyboardName != m_settings.keyboardName) m_decoder.reset();
  m_settings = settings;
  m_trace.SetPath(m_settings.tracePath);
  m_failedWrites = 0;
  m_deniedOpens.clear();
  m_applied = true;
}

std::vector<SimulatedInterface> SimulatedKeyboard::InterfacesLocked() const {
  std::vector<SimulatedInterface> interfaces;
  for (int mode = 0; mode < static_cast<int>(m_settings.productIds.size()); ++mode) {
    if (!m_settings.IsConnected(mode)) continue;
    for (int number : kInterfaceNumbers) {
      SimulatedInterface item;
      item.mode = mode;
      item.interfaceNumber = number;
      item.vendorId = m_settings.vendorId;
      item.productId = m_settings.productIds[mode];
      item.usagePage = number == 0 ? 0x0001 : 0xFF00;
      item.usage = number == 0 ? 6 : 1;
      item.path = "/dev/virtual-keyboard/hidraw" + std::to_string(mode * 4 + number);
      item.interfaceId = InterfaceId(item.vendorId, item.productId, number);
      interfaces.push_back(item);
    }
  }
  SimulatedInterface unrelated;
  unrelated.vendorId = m_settings.vendorId;
  unrelated.productId = kUnrelatedProductId;
  unrelated.interfaceNumber = kUnrelatedInterface;
  unrelated.usagePage = 0xFF00;
  unrelated.usage = 1;
  unrelated.path = "/dev/virtual-keyboard/hidraw90";
  unrelated.interfaceId = InterfaceId(unrelated.vendorId, unrelated.productId, kUnrelatedInterface);
  interfaces.push_back(unrelated);
  return interfaces;
}

std::vector<SimulatedInterface> SimulatedKeyboard::Interfaces() {
  std::scoped_lock lock(m_lock);
  Refresh();
  return InterfacesLocked();
}

bool SimulatedKeyboard::IsLive(const hid_device* device) const {
  if (device->mode < 0) return true;
  if (!m_settings.IsConnected(device->mode)) return false;
  auto found = m_generation.find(device->mode);
  const uint64_t generation = found == m_generation.end() ? 0 : found->second;
  return generation == device->generation;
}

hid_device* SimulatedKeyboard::Open(const std::string& path, int& error) {
  std::scoped_lock lock(m_lock);
  Refresh();
  const auto interfaces = InterfacesLocked();
  auto found = std::find_if(interfaces.begin(), interfaces.end(),
                            [&](const SimulatedInterface& item) { return item.path == path; });
  if (found == interfaces.end()) {
    error = ENOENT;
    return nullptr;
  }
  int& denied = m_deniedOpens[path];
  if (denied < m_settings.denyOpens) {
    ++denied;
    error = EACCES;
    m_trace.Record("open", found->interfaceId, -EACCES, nullptr, 0);
    return nullptr;
  }
  auto* device = new hid_device;
  device->mode = found->mode;
  device->interfaceNumber = found->interfaceNumber;
  auto generation = m_generation.find(found->mode);
  device->generation = generation == m_generation.end() ? 0 : generation->second;
  device->interfaceId = found->interfaceId;
  device->path = found->path;
  device->manufacturer = L"Kestrel virtual keyboard";
  device->product = L"";
  device->serial = L"";
  device->info.path = device->path.data();
  device->info.vendor_id = found->vendorId;
  device->info.product_id = found->productId;
  device->info.serial_number = device->serial.data();
  device->info.release_number = 0x0100;
  device->info.manufacturer_string = device->manufacturer.data();
  device->info.product_string = device->product.data();
  device->info.usage_page = found->usagePage;
  device->info.usage = found->usage;
  device->info.interface_number = found->interfaceNumber;
  device->info.next = nullptr;
  device->info.bus_type = HID_API_BUS_USB;
  m_handles.insert(device);
  m_trace.Record("open", found->interfaceId, 0, nullptr, 0);
  return device;
}

void SimulatedKeyboard::Close(hid_device* device) {
  std::scoped_lock lock(m_lock);
  if (m_handles.erase(device) == 0) return;
  m_trace.Record("close", device->interfaceId, 0, nullptr, 0);
  delete device;
}

bool SimulatedKeyboard::Knows(hid_device* device) {
  std::scoped_lock lock(m_lock);
  return m_handles.count(device) != 0;
}

int SimulatedKeyboard::Write(hid_device* device, const uint8_t* data, size_t length) {
  std::scoped_lock lock(m_lock);
  Refresh();
  if (m_handles.count(device) == 0 || data == nullptr) return -1;
  const char* kind = device->interfaceNumber == 3 ? "stream" : "output";
  int result = static_cast<int>(length);
  if (!IsLive(device)) {
    result = -1;
    device->error = L"No such device";
  } else if (m_failedWrites < m_settings.failWrites) {
    ++m_failedWrites;
    result = -1;
    device->error = L"Broken pipe";
  }
  m_trace.Record(kind, device->interfaceId, result, data, length);
  if (result > 0 && device->mode >= 0 && Decoder().OnOutput(device->interfaceNumber, data, length)) WriteState();
  return result;
}

int SimulatedKeyboard::SendFeature(hid_device* device, const uint8_t* data, size_t length) {
  std::scoped_lock lock(m_lock);
  Refresh();
  if (m_handles.count(device) == 0 || data == nullptr) return -1;
  int result = static_cast<int>(length);
  if (!IsLive(device)) {
    result = -1;
    device->error = L"No such device";
  } else {
    device->lastFeature.assign(data, data + length);
    device->repliesGiven = 0;
    if (device->mode >= 0 && Decoder().OnFeature(data, length)) WriteState();
  }
  m_trace.Record("feature-send", device->interfaceId, result, data, length);
  return result;
}

int SimulatedKeyboard::GetFeature(hid_device* device, uint8_t* data, size_t length) {
  std::scoped_lock lock(m_lock);
  Refresh();
  if (m_handles.count(device) == 0 || data == nullptr) return -1;
  const std::vector<uint8_t>* reply = nullptr;
  std::vector<FeatureAnswer> builtIn;
  if (IsLive(device)) {
    reply = FindFeatureReply(m_settings.featureAnswers, device->lastFeature, device->repliesGiven);
    // The slot-table query is answered from what the keyboard was told.
    const auto& sent = device->lastFeature;
    if (reply == nullptr && device->mode >= 0 && sent.size() >= 3 && sent[0] == 0x07 && sent[1] == 0xFB &&
        sent[2] == 0x01) {
      builtIn.push_back({{0x07, 0xFB, 0x01}, {}});
      for (size_t k = 0; k < 4; ++k) builtIn.back().replies.push_back(Decoder().SlotTableReply(k));
      reply = FindFeatureReply(builtIn, sent, device->repliesGiven);
      if (reply && reply->empty()) reply = nullptr;
    }
    if (reply == nullptr) {
      builtIn = BuiltInFeatureAnswers(device->info.product_id);
      reply = FindFeatureReply(builtIn, device->lastFeature, device->repliesGiven);
    }
  }
  if (reply == nullptr) {
    device->error = L"Broken pipe";
    m_trace.Record("feature-get", device->interfaceId, -1, data, length);
    return -1;
  }
  ++device->repliesGiven;
  const size_t count = std::min(length, reply->size());
  std::memcpy(data, reply->data(), count);
  m_trace.Record("feature-get", device->interfaceId, static_cast<int>(count), data, count);
  return static_cast<int>(count);
}

ProtocolDecoder& SimulatedKeyboard::Decoder() {
  const uint16_t product = m_settings.productIds.empty() ? 0 : m_settings.productIds.front();
  const Family family = FamilyOfProduct(product);
  if (!m_decoder || m_decoder->State().family != family) m_decoder = std::make_unique<ProtocolDecoder>(family);
  return *m_decoder;
}

void SimulatedKeyboard::WriteState() {
  if (m_settings.statePath.empty() || !m_decoder) return;
  // Written beside and renamed over, so a reader never sees half a file.
  const std::string temporary = m_settings.statePath + ".tmp";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (!out) return;
    out << m_decoder->State().ToJson();
  }
  std::rename(temporary.c_str(), m_settings.statePath.c_str());
}

int SimulatedKeyboard::Read(hid_device* device) {
  std::scoped_lock lock(m_lock);
  Refresh();
  if (m_handles.count(device) == 0) return -1;
  return IsLive(device) ? 0 : -1;
}

}  // namespace virtual_keyboard
