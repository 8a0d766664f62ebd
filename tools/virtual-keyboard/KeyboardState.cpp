#include "KeyboardState.h"

#include <nlohmann/json.hpp>

namespace virtual_keyboard {
namespace {

const char* FamilyName(Family family) {
  switch (family) {
    case Family::Command:
      return "command";
    case Family::Feature:
      return "feature";
    case Family::Signature:
      return "signature";
  }
  return "unknown";
}

nlohmann::json MacroJson(int slot, const DecodedMacro& macro) {
  nlohmann::json events = nlohmann::json::array();
  for (const auto& e : macro.events) {
    events.push_back({{"usage", e.usage}, {"down", e.down}, {"delay", e.delay}, {"delay_byte", e.delayByte}});
  }
  return {{"slot", slot}, {"play_count", macro.playCount}, {"key", macro.keyCode}, {"events", events}};
}

// Non-empty four-byte colour slots as {"slot": [r, g, b, flag]}.
nlohmann::json ColourSlots(const std::array<uint8_t, 600>& buffer) {
  nlohmann::json slots = nlohmann::json::object();
  for (size_t slot = 0; slot < 150; ++slot) {
    const uint8_t* c = &buffer[4 * slot];
    if (c[0] || c[1] || c[2] || c[3]) slots[std::to_string(slot)] = {c[0], c[1], c[2], c[3]};
  }
  return slots;
}

}  // namespace

std::string KeyboardState::ToJson() const {
  nlohmann::json json;
  json["family"] = FamilyName(family);
  json["reset_count"] = resetCount;
  nlohmann::json keys = nlohmann::json::object();
  for (size_t slot = 0; slot < 180; ++slot) {
    if (keyMap[2 * slot] || keyMap[2 * slot + 1]) keys[std::to_string(slot)] = {keyMap[2 * slot], keyMap[2 * slot + 1]};
  }
  json["key_map"] = keys;
  nlohmann::json macroList = nlohmann::json::array();
  for (const auto& [slot, macro] : macros) macroList.push_back(MacroJson(slot, macro));
  json["macros"] = macroList;
  json["key_colours"] = ColourSlots(keyColours);
  json["streaming"] = streaming;
  json["frames_streamed"] = framesStreamed;
  json["last_frame"] = ColourSlots(lastFrame);
  json["light"] = {{"mode_selected", light.modeSelected}, {"mode", light.mode},
                   {"parameters_received", light.parametersReceived}, {"brightness", light.brightness},
                   {"speed", light.speed}, {"direction", light.direction}, {"colourful", light.colourful},
                   {"colour_index", light.colourIndex},
                   {"colour", {light.colour[0], light.colour[1], light.colour[2]}}, {"scheme", light.scheme}};
  json["light_mode_commands"] = lightModeCommands;
  json["light_parameter_commands"] = lightParameterCommands;
  nlohmann::json remapSlots = nlohmann::json::object();
  for (size_t slot = 1; slot < remapSlotOwner.size(); ++slot) {
    if (remapSlotOwner[slot]) remapSlots[std::to_string(slot)] = {{"key", remapSlotOwner[slot]}, {"code", remapSlotCode[slot]}};
  }
  json["remap_slots"] = remapSlots;
  nlohmann::json macroOwners = nlohmann::json::object();
  for (size_t slot = 1; slot < macroSlotOwner.size(); ++slot) {
    if (macroSlotOwner[slot]) macroOwners[std::to_string(slot)] = macroSlotOwner[slot];
  }
  json["macro_slot_owners"] = macroOwners;
  json["profile"] = profile;
  nlohmann::json remapJson = nlohmann::json::object();
  for (const auto& [p, keysOfProfile] : remaps) {
    nlohmann::json entries = nlohmann::json::object();
    for (const auto& [key, code] : keysOfProfile) entries[std::to_string(key)] = code;
    remapJson[std::to_string(p)] = entries;
  }
  json["remaps"] = remapJson;
  return json.dump(1);
}

}  // namespace virtual_keyboard
