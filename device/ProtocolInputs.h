#pragma once
// The controller's current state that every protocol operation reads.
// Passed by value so that an operation sees one consistent snapshot.
struct ProtocolInputs {
  int profile = 1;
  int fnLayer = 0;
  int currentKey = 0;       // key code of the key edited last
  int lightMode = 0;        // the light page's current mode
  int deviceType = 101;     // selects the protocol family
  int connectionMode = 0;   // 0 wired, 1 and 2 wireless
};

enum class ProtocolFamily { Command, Feature, Signature, None };

// Up to 200 the command protocol, 201-299 the feature protocol, 300-399 the
// signature protocol; later device types are not served.
constexpr ProtocolFamily FamilyOfDeviceType(int deviceType) {
  if (deviceType <= 200) return ProtocolFamily::Command;
  if (deviceType <= 299) return ProtocolFamily::Feature;
  if (deviceType <= 399) return ProtocolFamily::Signature;
  return ProtocolFamily::None;
}
