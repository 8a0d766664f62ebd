#include "device/ReportProtocol.h"

#include "device/CommandProtocol.h"
#include "device/FeatureProtocol.h"
#include "device/SignatureProtocol.h"

ReportProtocol::ReportProtocol(SettingsStore& store, ReportTransport& transport, ProtocolPacer& pacer)
    : m_store(store), m_transport(transport), m_pacer(pacer) {}

ProtocolContext ReportProtocol::Context(const KeyboardLayout& layout) {
  return ProtocolContext{m_store, m_transport, m_pacer, m_state, layout};
}

void ReportProtocol::WriteKeyAssignments(const ProtocolInputs& inputs, const KeyboardLayout& layout) {
  switch (FamilyOfDeviceType(inputs.deviceType)) {
    case ProtocolFamily::Command:
      CommandProtocol(Context(layout)).WriteKeyAssignments(inputs);
      break;
    case ProtocolFamily::Feature:
      FeatureProtocol(Context(layout)).WriteKeyAssignments(inputs);
      break;
    case ProtocolFamily::Signature:
      SignatureProtocol(Context(layout)).WriteKeyAssignments(inputs);
      break;
    case ProtocolFamily::None:
      break;
  }
}

void ReportProtocol::WriteLighting(const ProtocolInputs& inputs, const KeyboardLayout& layout) {
  switch (FamilyOfDeviceType(inputs.deviceType)) {
    case ProtocolFamily::Command:
      CommandProtocol(Context(layout)).WriteLighting(inputs);
      break;
    case ProtocolFamily::Feature:
      FeatureProtocol(Context(layout)).WriteLighting(inputs);
      break;
    case ProtocolFamily::Signature:
      SignatureProtocol(Context(layout)).WriteLighting(inputs);
      break;
    case ProtocolFamily::None:
      break;
  }
}

void ReportProtocol::WriteKeyLights(const ProtocolInputs& inputs, const KeyboardLayout& layout) {
  if (FamilyOfDeviceType(inputs.deviceType) == ProtocolFamily::Command) {
    CommandProtocol(Context(layout)).WriteKeyLights(inputs);
  }
}

void ReportProtocol::ResetDevice(const ProtocolInputs& inputs, const KeyboardLayout& layout,
                                 const std::function<void()>& reloadPages) {
  const auto reload = [&] {
    if (reloadPages) reloadPages();
  };
  switch (FamilyOfDeviceType(inputs.deviceType)) {
    case ProtocolFamily::Command:
      // The key map written here is the one of the reloaded pages.
      reload();
      CommandProtocol(Context(layout)).ResetDevice(inputs);
      break;
    case ProtocolFamily::Feature:
      FeatureProtocol(Context(layout)).ResetDevice(inputs);
      reload();
      break;
    case ProtocolFamily::Signature:
      SignatureProtocol(Context(layout)).ResetDevice(inputs);
      reload();
      break;
    case ProtocolFamily::None:
      break;
  }
}

void ReportProtocol::SyncKeySlots(const ProtocolInputs& inputs, const KeyboardLayout& layout) {
  if (FamilyOfDeviceType(inputs.deviceType) == ProtocolFamily::Feature) {
    FeatureProtocol(Context(layout)).SyncKeySlots(inputs);
  }
}

void ReportProtocol::SelectColourScheme(const ProtocolInputs& inputs, const KeyboardLayout& layout,
                                        int scheme) {
  m_state.ColourScheme = scheme;
  if (FamilyOfDeviceType(inputs.deviceType) == ProtocolFamily::Command) {
    CommandProtocol(Context(layout)).SelectColourScheme(inputs, scheme);
  }
}

void ReportProtocol::StreamFrame(const ProtocolInputs& inputs, const KeyboardLayout& layout,
                                 const std::vector<KeyColour>& colours) {
  if (FamilyOfDeviceType(inputs.deviceType) == ProtocolFamily::Command) {
    CommandProtocol(Context(layout)).StreamFrame(inputs, colours);
  }
}
