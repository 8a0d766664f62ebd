#pragma once
// What every protocol family works with: the store it reads the settings
// from, the transfers, the pacer, the protocol's state and the slot maps of
// the current layout.  Non-owning; the ReportProtocol that makes it outlives
// every use.
class SettingsStore;
class ReportTransport;
class ProtocolPacer;
class KeyboardLayout;
struct ProtocolState;

struct ProtocolContext {
  SettingsStore& store;
  ReportTransport& transport;
  ProtocolPacer& pacer;
  ProtocolState& state;
  const KeyboardLayout& layout;
};
