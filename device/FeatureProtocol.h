#pragma once
// The feature protocol (device types 201-299): feature reports with report
// id 7; over a wireless link the light and reset commands go as payloads
// that start with BB AA 99 88.  The keyboard keeps 13 macro slots and 10
// remap slots and tells which key owns each.  Worker thread.
#include <array>
#include <cstdint>

#include "device/ProtocolContext.h"
#include "device/ProtocolInputs.h"
#include "store/Records.h"

// Which key code owns each slot; 0 = free.  Index 0 is unused.
struct SlotTable {
  std::array<std::uint8_t, 14> macroOwners{};
  std::array<std::uint8_t, 11> remapOwners{};
};

class FeatureProtocol {
 public:
  explicit FeatureProtocol(const ProtocolContext& context) : m_context(context) {}

  void WriteKeyAssignments(const ProtocolInputs& inputs);
  void WriteLighting(const ProtocolInputs& inputs);
  void ResetDevice(const ProtocolInputs& inputs);
  void SyncKeySlots(const ProtocolInputs& inputs);

  SlotTable QuerySlotTable();

 private:
  void WriteSingleKey(const ProtocolInputs& inputs);
  void WriteWholeProfile(const ProtocolInputs& inputs);
  // Sends one macro slot; an assignment of another type than 3 or 7 (or
  // none) frees the slot.
  void SendMacroSlot(int slot, const KeyAssignment* assignment);
  void SendRemap(int slot, int keyCode, int newCode);
  // The remap of one key by its stored assignment: frees the slot when the
  // value is below 1, sends nothing for types 0, 3 and 7.
  void SendRemapByRule(int slot, const KeyAssignment& assignment);

  ProtocolContext m_context;
};
