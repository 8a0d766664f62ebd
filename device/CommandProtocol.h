#pragma once
// The command protocol (device types up to 200): output reports with the
// command in byte 1, colour frames on the stream interface, one feature
// report for the colour scheme.  Worker thread, except SelectColourScheme.
#include <vector>

#include "device/MacroEncoding.h"
#include "device/ProtocolContext.h"
#include "device/ProtocolInputs.h"

class CommandProtocol {
 public:
  explicit CommandProtocol(const ProtocolContext& context) : m_context(context) {}

  // Sends every macro and shortcut of the profile and rebuilds the macro
  // slot map; false when a macro chunk could not be written (the rest is
  // then not sent).
  bool WriteMacros(const ProtocolInputs& inputs);
  void WriteKeyAssignments(const ProtocolInputs& inputs);
  void WriteLighting(const ProtocolInputs& inputs);
  void WriteKeyLights(const ProtocolInputs& inputs);
  void ResetDevice(const ProtocolInputs& inputs);
  void SelectColourScheme(const ProtocolInputs& inputs, int scheme);
  void StreamFrame(const ProtocolInputs& inputs, const std::vector<KeyColour>& colours);

 private:
  bool SendMacro(int slot, const Macro* macro, const std::vector<MacroEvent>& rows);
  void SendShortcut(int slot, int number);
  void SendKeyMap(const std::vector<KeyAssignment>& assignments);

  ProtocolContext m_context;
};
