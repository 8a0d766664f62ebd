#pragma once
// The signature protocol (device types 300-399): 64-byte payloads that start
// with AA 55 CC 33.  The keyboard holds three profiles of its own and is
// told which one the host edits.  Worker thread.
#include "device/ProtocolContext.h"
#include "device/ProtocolInputs.h"
#include "store/Records.h"

class SignatureProtocol {
 public:
  explicit SignatureProtocol(const ProtocolContext& context) : m_context(context) {}

  void WriteKeyAssignments(const ProtocolInputs& inputs);
  void WriteLighting(const ProtocolInputs& inputs);
  void ResetDevice(const ProtocolInputs& inputs);

 private:
  void SendMacro(const KeyAssignment& assignment);
  void SendKey(const KeyAssignment& assignment);

  ProtocolContext m_context;
};
