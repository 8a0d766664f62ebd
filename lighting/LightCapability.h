#pragma once
// What a light mode offers, as the capability bits of its catalogue entry
// (stored as config_func), and the eight preset colours.
#include <cstdint>

namespace LightCapability {
constexpr int Brightness = 0x001;
constexpr int Speed = 0x002;
constexpr int DirectionLeftRight = 0x004;
constexpr int DirectionUpDown = 0x008;  // offered only without DirectionLeftRight
constexpr int ColourRgb = 0x010;
constexpr int ColourfulSwitch = 0x020;
constexpr int PresetColour = 0x040;
constexpr int PerKeyColours = 0x100;  // user-defined colours and the colour schemes
constexpr int Music = 0x200;          // computed on the computer from the audio output
constexpr int Screen = 0x400;         // computed on the computer from the screen
constexpr int HostDriven = Music | Screen;
}  // namespace LightCapability

// The light id of the user's per-key colours; scheme n uses this + n.
constexpr int kUserColourSet = 128;

// Preset colour `index` (1-7) in the Windows RGB layout; index 0 stands for
// the multicolour effect and has no colour (0 is returned, as for any index
// outside the table).
constexpr std::uint32_t PresetColourValue(int index) {
  constexpr std::uint32_t table[] = {0x000000, 0x0000FF, 0x00FF00, 0xFF0000,
                                     0x00FFFF, 0xFF00FF, 0xFFFF00, 0xFFFFFF};
  return index >= 1 && index <= 7 ? table[index] : 0;
}
