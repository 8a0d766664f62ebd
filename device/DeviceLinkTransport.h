#pragma once
// The report protocol's transfers carried by DeviceLink.
#include "device/ReportTransport.h"

class DeviceLink;

class DeviceLinkTransport final : public ReportTransport {
 public:
  explicit DeviceLinkTransport(DeviceLink& link) : m_link(link) {}

  bool WriteReport(const HidReport& report) override;
  bool WriteStreamReport(const HidReport& report) override;
  bool WritePayload(const HidPayload& payload, int retryDelayMs) override;
  bool SendFeature(const HidReport& report) override;
  bool QueryFeature(std::uint8_t* buffer) override;

 private:
  DeviceLink& m_link;
};
