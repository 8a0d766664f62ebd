#include "ProtocolDecoder.h"

#include <algorithm>

namespace virtual_keyboard {
namespace {

constexpr size_t kReportLength = 65;
constexpr size_t kMacroSlotBytes = 1200 + 59;

int ChunkOffset(const uint8_t* d) { return d[3] | (d[4] << 8); }

// Copies a chunk's declared bytes into `target`, never past its end.
template <size_t N>
void ApplyChunk(std::array<uint8_t, N>& target, int offset, int declared, const uint8_t* bytes, int carried) {
  const int length = std::min(declared, carried);
  for (int i = 0; i < length; ++i) {
    const size_t at = static_cast<size_t>(offset + i);
    if (at < N) target[at] = bytes[i];
  }
}

// Feature and signature delay byte: up flag, unit, count.
DecodedEvent TwoByteEvent(uint8_t usage, uint8_t code) {
  static constexpr int kUnits[] = {10, 50, 100, 1000};
  DecodedEvent e;
  e.usage = usage;
  e.down = (code & 0x80) == 0;
  e.delay = (code & 0x1F) * kUnits[(code >> 5) & 3];
  e.delayByte = code;
  return e;
}

std::vector<DecodedEvent> TwoByteEvents(const std::vector<uint8_t>& record, size_t from, size_t limit) {
  std::vector<DecodedEvent> events;
  for (size_t at = from; at + 1 < record.size() && events.size() < limit; at += 2) {
    if (record[at] == 0 && record[at + 1] == 0) break;
    events.push_back(TwoByteEvent(record[at], record[at + 1]));
  }
  return events;
}

bool AllEqual(const uint8_t* p, size_t count, uint8_t value) {
  return std::all_of(p, p + count, [&](uint8_t b) { return b == value; });
}

}  // namespace

Family FamilyOfProduct(uint16_t productId) {
  if ((productId & 0xFFF0) == 0x4B10) return Family::Feature;
  if ((productId & 0xFFF0) == 0x4B20) return Family::Signature;
  return Family::Command;
}

ProtocolDecoder::ProtocolDecoder(Family family) : m_macroBuffers(256) { m_state.family = family; }

bool ProtocolDecoder::OnOutput(int interfaceNumber, const uint8_t* data, size_t length) {
  if (length < kReportLength) return false;
  switch (m_state.family) {
    case Family::Command:
      CommandOutput(interfaceNumber, data);
      return true;
    case Family::Feature:
      FeaturePayload(data + 1);
      return true;
    case Family::Signature:
      SignaturePayload(data + 1);
      return true;
  }
  return false;
}

bool ProtocolDecoder::OnFeature(const uint8_t* data, size_t length) {
  if (length < 8 || data[0] != 0x07) return false;
  if (m_state.family == Family::Command) {
    if (length >= 8) CommandFeature(data);
    return true;
  }
  if (m_state.family == Family::Feature) {
    FeatureFeature(data);
    return true;
  }
  return false;
}

void ProtocolDecoder::Reset() {
  ++m_state.resetCount;
  m_state.keyMap.fill(0);
  m_state.macros.clear();
  m_state.keyColours.fill(0);
  m_state.macroSlotOwner.fill(0);
  m_state.remapSlotOwner.fill(0);
  m_state.remapSlotCode.fill(0);
  m_state.remaps.clear();
  for (auto& buffer : m_macroBuffers) buffer.clear();
}

void ProtocolDecoder::CommandOutput(int interfaceNumber, const uint8_t* d) {
  if (interfaceNumber == 3) {
    if (d[1] != 0xF1) return;
    ApplyChunk(m_state.lastFrame, ChunkOffset(d), d[2], d + 5, 60);
    if (ChunkOffset(d) == 420) ++m_state.framesStreamed;
    return;
  }
  switch (d[1]) {
    case 0x8D:
      ApplyChunk(m_state.keyMap, ChunkOffset(d), d[2], d + 5, 60);
      break;
    case 0x8E: {
      // Macro chunks declare less than they carry (the last length is
      // counted in sixties, the chunks advance by 59), so the keyboard
      // takes every carried byte.
      auto& buffer = m_macroBuffers[d[5]];
      if (buffer.size() < kMacroSlotBytes) buffer.resize(kMacroSlotBytes, 0);
      const size_t offset = static_cast<size_t>(ChunkOffset(d));
      if (offset == 0) std::fill(buffer.begin(), buffer.end(), 0);
      for (size_t i = 0; i < 59 && offset + i < buffer.size(); ++i) buffer[offset + i] = d[6 + i];
      DecodeCommandMacro(d[5]);
      break;
    }
    case 0x88:
      m_state.light.modeSelected = true;
      m_state.light.mode = d[3];
      ++m_state.lightModeCommands;
      break;
    case 0x89:
      m_state.light.parametersReceived = true;
      m_state.light.direction = (d[3] >> 4) & 3;
      m_state.light.colourful = (d[3] & 0x80) != 0;
      m_state.light.speed = d[3] & 0x0F;
      m_state.light.colour = {d[4], d[5], d[6]};
      m_state.light.brightness = d[7];
      ++m_state.lightParameterCommands;
      break;
    case 0x8B:
      ApplyChunk(m_state.keyColours, ChunkOffset(d), d[2], d + 5, 60);
      break;
    case 0xF0:
      if (d[2] == 0xF4 && d[3] == 0x01) m_state.streaming = true;
      break;
    case 0xFF:
      if (d[2] == 0xFE && d[3] == 0xAA && d[4] == 0xFF) Reset();
      break;
    default:
      break;
  }
}

void ProtocolDecoder::DecodeCommandMacro(int slot) {
  const auto& buffer = m_macroBuffers[static_cast<size_t>(slot)];
  DecodedMacro macro;
  macro.playCount = buffer[0];
  const size_t rows = buffer[1];
  for (size_t i = 0; i < rows; ++i) {
    const size_t at = 2 + 3 * i;
    if (at + 2 >= buffer.size()) break;
    const uint8_t usage = buffer[at], low = buffer[at + 1], high = buffer[at + 2];
    if (usage == 0 && low == 0 && high == 0) break;
    DecodedEvent e;
    e.usage = usage;
    e.down = (high & 0x80) != 0;
    e.delay = e.down ? (low | ((high & 0x7F) << 8)) : ((low & 0x7F) | (high << 8));
    macro.events.push_back(e);
  }
  m_state.macros[slot] = macro;
}

void ProtocolDecoder::CommandFeature(const uint8_t* d) {
  if (d[1] != 0xFF || d[2] != 0xFF) return;
  m_state.light.mode = d[3] + 1;
  m_state.light.brightness = d[4];
  m_state.light.speed = d[5];
  m_state.light.scheme = d[7];
}

void ProtocolDecoder::FeatureFeature(const uint8_t* d) {
  switch (d[1]) {
    case 0xF1:
      m_featureRecord.assign(168, 0);
      m_featureReports = 0;
      std::copy(d + 2, d + 8, m_featureRecord.begin());
      return;
    case 0x00:
      if (m_featureReports < 0) return;
      ++m_featureReports;
      std::copy(d + 2, d + 8, m_featureRecord.begin() + 6 * m_featureReports);
      if (m_featureReports == 27) CompleteFeatureMacro();
      return;
    case 0xFA: {
      const int slot = d[3];
      if (slot < 1 || slot > 10) return;
      m_state.remapSlotOwner[static_cast<size_t>(slot)] = d[4];
      m_state.remapSlotCode[static_cast<size_t>(slot)] = d[6];
      return;
    }
    case 0xF7:
      m_state.light.parametersReceived = true;
      m_state.light.mode = d[2] + 1;
      m_state.light.colourIndex = d[3];
      if (d[2] == 3) {
        m_state.light.colour = {d[4], d[5], d[7]};
      } else {
        m_state.light.direction = d[4];
        m_state.light.speed = d[5];
        m_state.light.scheme = d[7];
      }
      m_state.light.brightness = d[6];
      ++m_state.lightParameterCommands;
      return;
    case 0xF0:
      if (d[2] == 0xAA) Reset();
      return;
    default:
      return;
  }
}

void ProtocolDecoder::CompleteFeatureMacro() {
  m_featureReports = -1;
  const int slot = m_featureRecord[1];
  if (slot < 1 || slot > 13) return;
  const uint8_t key = m_featureRecord[2];
  m_state.macroSlotOwner[static_cast<size_t>(slot)] = key;
  if (key == 0) {
    m_state.macros.erase(slot);
    return;
  }
  DecodedMacro macro;
  macro.keyCode = key;
  macro.playCount = m_featureRecord[3];
  macro.events = TwoByteEvents(m_featureRecord, 4, 82);
  m_state.macros[slot] = macro;
}

void ProtocolDecoder::FeaturePayload(const uint8_t* p) {
  if (p[0] != 0xBB || p[1] != 0xAA || p[2] != 0x99 || p[3] != 0x88) return;
  if (AllEqual(p + 4, 6, 0xAA)) {
    Reset();
    return;
  }
  if (AllEqual(p + 4, 6, 0x00)) return;  // the second half of the reset pair
  if (p[4] != 0xAA) return;
  // The wired light command's bytes 2-7, shifted by three.
  uint8_t wired[8] = {0x07, 0xF7, p[5], p[6], p[7], p[8], p[9], p[10]};
  FeatureFeature(wired);
}

void ProtocolDecoder::SignaturePayload(const uint8_t* p) {
  if (p[0] != 0xAA || p[1] != 0x55 || p[2] != 0xCC || p[3] != 0x33) return;
  switch (p[4]) {
    case 0x00:
    case 0x01:
    case 0x02: {
      if (p[4] == 0) m_signatureRecord.assign(162, 0);
      if (m_signatureRecord.size() != 162) return;
      std::copy(p + 5, p + 59, m_signatureRecord.begin() + 54 * p[4]);
      if (p[4] == 2) CompleteSignatureMacro();
      return;
    }
    case 0x04: {
      auto& keys = m_state.remaps[p[5]];
      if (p[7] == 0) {
        keys.erase(p[6]);
      } else {
        keys[p[6]] = p[7];
      }
      return;
    }
    case 0x06:
      m_state.profile = p[5];
      return;
    case 0x07:
      m_state.light.parametersReceived = true;
      m_state.light.mode = p[5] + 1;
      m_state.light.brightness = p[6];
      m_state.light.speed = p[7];
      m_state.light.direction = p[8];
      m_state.light.colour = {p[9], p[10], p[11]};
      ++m_state.lightParameterCommands;
      return;
    case 0x08:
      Reset();
      return;
    default:
      return;
  }
}

void ProtocolDecoder::CompleteSignatureMacro() {
  DecodedMacro macro;
  macro.keyCode = m_signatureRecord[1];
  macro.playCount = m_signatureRecord[2];
  macro.events = TwoByteEvents(m_signatureRecord, 4, m_signatureRecord[3]);
  // Keyed by profile and key: the keyboard keeps one macro per key and profile.
  m_state.macros[m_signatureRecord[0] * 256 + macro.keyCode] = macro;
  m_signatureRecord.clear();
}

std::vector<uint8_t> ProtocolDecoder::SlotTableReply(size_t index) const {
  if (m_state.family != Family::Feature || index >= 4) return {};
  std::array<uint8_t, 28> table{};
  for (size_t s = 1; s <= 13; ++s) table[s] = m_state.macroSlotOwner[s];
  for (size_t s = 1; s <= 10; ++s) table[13 + s] = m_state.remapSlotOwner[s];
  std::vector<uint8_t> reply(8, 0);
  reply[0] = 0x07;
  for (size_t i = 0; i < 7; ++i) reply[1 + i] = table[7 * index + i];
  return reply;
}

}  // namespace virtual_keyboard
