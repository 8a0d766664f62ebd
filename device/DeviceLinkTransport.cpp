#include "device/DeviceLinkTransport.h"

#include <chrono>

#include "device/DeviceLink.h"

bool DeviceLinkTransport::WriteReport(const HidReport& report) { return m_link.WriteReport(report); }

bool DeviceLinkTransport::WriteStreamReport(const HidReport& report) { return m_link.WriteStreamReport(report); }

bool DeviceLinkTransport::WritePayload(const HidPayload& payload, int retryDelayMs) {
  return m_link.WritePayload(payload, std::chrono::milliseconds(retryDelayMs));
}

bool DeviceLinkTransport::SendFeature(const HidReport& report) { return m_link.SendFeature(report); }

bool DeviceLinkTransport::QueryFeature(std::uint8_t* buffer) {
  return m_link.QueryFeature(std::span<std::uint8_t>(buffer, kFeatureQueryLength));
}
