// Feeds arbitrary report sequences to the simulated keyboard's decoder.  The
// first byte picks the family; then each report is one byte (its interface
// or, when odd, a feature report and its length) and 65 bytes.  The decoder
// must stay inside its records, keep every macro within what the family's
// record can hold, leave its state alone for a report it does not take, and
// always write its state as valid JSON.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include <nlohmann/json.hpp>

#include "tools/virtual-keyboard/ProtocolDecoder.h"

namespace {

constexpr std::size_t kReportLength = 65;

using virtual_keyboard::Family;

// Most events one macro record of the family holds.
std::size_t MaxEvents(Family family) {
  switch (family) {
    case Family::Command:
      return 255;
    case Family::Feature:
      return 82;
    case Family::Signature:
      return 79;
  }
  return 0;
}

bool ValidSlot(Family family, int slot) {
  switch (family) {
    case Family::Command:
      return slot >= 0 && slot <= 255;
    case Family::Feature:
      return slot >= 1 && slot <= 13;
    case Family::Signature:
      return slot >= 0 && slot <= 255 * 256 + 255;
  }
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  static constexpr Family kFamilies[] = {Family::Command, Family::Feature, Family::Signature};
  const Family family = kFamilies[data[0] % 3];
  virtual_keyboard::ProtocolDecoder decoder(family);
  ++data;
  --size;

  while (size >= 1 + kReportLength) {
    const std::uint8_t how = data[0];
    const std::uint8_t* report = data + 1;
    data += 1 + kReportLength;
    size -= 1 + kReportLength;

    const std::string before = decoder.State().ToJson();
    bool taken;
    if (how & 1) {
      const std::size_t length = 1 + (how >> 1) % kReportLength;
      taken = decoder.OnFeature(report, length);
    } else {
      taken = decoder.OnOutput((how >> 1) & 1 ? 3 : 2, report, kReportLength);
    }
    const std::string after = decoder.State().ToJson();
    if (!taken && after != before) std::abort();
    if (!nlohmann::json::accept(after)) std::abort();

    const auto& state = decoder.State();
    if (state.family != family) std::abort();
    for (const auto& [slot, macro] : state.macros) {
      if (!ValidSlot(family, slot) || macro.events.size() > MaxEvents(family)) std::abort();
    }
    for (std::size_t index = 0; index < 5; ++index) {
      const auto reply = decoder.SlotTableReply(index);
      const bool answers = family == Family::Feature && index < 4;
      if (answers ? reply.size() != 8 || reply[0] != 0x07 : !reply.empty()) std::abort();
    }
  }
  return 0;
}
