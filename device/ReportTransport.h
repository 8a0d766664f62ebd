#pragma once
// The transfers the report protocol is built from.  DeviceLink offers them
// for the real keyboard; tests substitute a recorder.  The protocol never
// looks at a result except to stop a chunk sequence early.
#include <array>
#include <cstdint>

using HidReport = std::array<std::uint8_t, 65>;   // byte 0 is the report id
using HidPayload = std::array<std::uint8_t, 64>;  // sent after report id 0

// The slot-table answer of the feature protocol is 28 bytes long.
constexpr int kFeatureQueryLength = 28;

class ReportTransport {
 public:
  virtual ~ReportTransport() = default;
  virtual bool WriteReport(const HidReport& report) = 0;
  virtual bool WriteStreamReport(const HidReport& report) = 0;
  virtual bool WritePayload(const HidPayload& payload, int retryDelayMs) = 0;
  virtual bool SendFeature(const HidReport& report) = 0;
  // `buffer` holds kFeatureQueryLength bytes and starts with the request.
  virtual bool QueryFeature(std::uint8_t* buffer) = 0;
};
