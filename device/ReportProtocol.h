#pragma once
// The report protocol: turns the stored settings into the reports of the
// keyboard's protocol family and sends them with the protocol's pacing.
// One object, owned by the main controller (or the command-line tool); it
// holds the protocol state and reads everything else from its arguments and
// the store, never from a window.
//
// Thread rules: every operation runs on the worker thread, one at a time,
// except SelectColourScheme, which the UI thread may call (DeviceLink keeps
// its transfers apart).  Nothing is reported to the caller: the keyboard
// does not answer, and failed transfers are dropped.
#include <functional>
#include <vector>

#include "device/MacroEncoding.h"
#include "device/ProtocolContext.h"
#include "device/ProtocolInputs.h"
#include "device/ProtocolState.h"

class SettingsStore;
class ReportTransport;
class ProtocolPacer;
class KeyboardLayout;

class ReportProtocol {
 public:
  ReportProtocol(SettingsStore& store, ReportTransport& transport, ProtocolPacer& pacer);

  ProtocolState& State() { return m_state; }
  const ProtocolState& State() const { return m_state; }

  void WriteKeyAssignments(const ProtocolInputs& inputs, const KeyboardLayout& layout);
  void WriteLighting(const ProtocolInputs& inputs, const KeyboardLayout& layout);
  void WriteKeyLights(const ProtocolInputs& inputs, const KeyboardLayout& layout);
  // `reloadPages` reloads the macro, key and light pages from the store that
  // was just reset; it runs where each family expects it.
  void ResetDevice(const ProtocolInputs& inputs, const KeyboardLayout& layout,
                   const std::function<void()>& reloadPages);
  void SyncKeySlots(const ProtocolInputs& inputs, const KeyboardLayout& layout);
  void SelectColourScheme(const ProtocolInputs& inputs, const KeyboardLayout& layout, int scheme);
  // `colours` are the keyboard picture's current colours.
  void StreamFrame(const ProtocolInputs& inputs, const KeyboardLayout& layout,
                   const std::vector<KeyColour>& colours);

 private:
  ProtocolContext Context(const KeyboardLayout& layout);

  SettingsStore& m_store;
  ReportTransport& m_transport;
  ProtocolPacer& m_pacer;
  ProtocolState m_state;
};
