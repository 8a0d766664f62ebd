#pragma once
// What the simulated keyboard holds after the reports it has received, kept
// per protocol family, and its JSON form.  The decoder (ProtocolDecoder.h)
// fills it; tests compare it with what the program stored.
#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace virtual_keyboard {

enum class Family { Command, Feature, Signature };

struct DecodedEvent {
  uint8_t usage = 0;
  bool down = true;
  int delay = 0;           // milliseconds, as far as the family can tell
  uint8_t delayByte = 0;   // feature and signature families: the raw byte
};

struct DecodedMacro {
  int playCount = 0;
  int keyCode = 0;  // feature and signature families: the key that plays it
  std::vector<DecodedEvent> events;
};

struct DecodedLight {
  bool modeSelected = false;  // a mode command arrived
  int mode = 0;
  bool parametersReceived = false;
  int brightness = 0;
  int speed = 0;
  int direction = 0;
  bool colourful = false;
  int colourIndex = 0;
  std::array<uint8_t, 3> colour{};
  int scheme = 0;
};

struct KeyboardState {
  Family family = Family::Command;
  int resetCount = 0;
  // Command family: 180 two-byte key-map slots, macro slots, per-key
  // colours (150 four-byte slots), the last streamed frame.
  std::array<uint8_t, 360> keyMap{};
  std::map<int, DecodedMacro> macros;
  std::array<uint8_t, 600> keyColours{};
  bool streaming = false;
  int framesStreamed = 0;
  std::array<uint8_t, 600> lastFrame{};
  DecodedLight light;
  int lightModeCommands = 0;
  int lightParameterCommands = 0;
  // Feature family: who owns the 13 macro slots and 10 remap slots.
  std::array<uint8_t, 14> macroSlotOwner{};
  std::array<uint8_t, 11> remapSlotOwner{};
  std::array<uint8_t, 11> remapSlotCode{};
  // Signature family: the profile selected and each profile's key remaps.
  int profile = 1;
  std::map<int, std::map<int, int>> remaps;  // profile -> key -> new code

  std::string ToJson() const;
};

}  // namespace virtual_keyboard
