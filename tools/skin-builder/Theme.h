#pragma once
// The colours of the dark theme.  They come from the colours the program
// itself draws with (window back 0x130D09 and border 0xFDA810 as Windows
// RGB values, that is #090D13 and #10A8FD, the select colour 0xFF10A8FD,
// the tab caption grey 0xFFADADAD and white text), so the pictures and the
// toolkit's own fills read as one surface.

struct Rgb {
  double r, g, b;
};

constexpr Rgb Hex(unsigned v) {
  return {((v >> 16) & 0xFF) / 255.0, ((v >> 8) & 0xFF) / 255.0, (v & 0xFF) / 255.0};
}

constexpr Rgb Mix(Rgb a, Rgb b, double t) {
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

namespace theme {
constexpr Rgb kBack = Hex(0x090D13);
constexpr Rgb kBackDeep = Hex(0x05080C);
constexpr Rgb kPanel = Hex(0x101823);
constexpr Rgb kPanelLight = Hex(0x18222F);
constexpr Rgb kLine = Hex(0x1F2B3A);
constexpr Rgb kLineLight = Hex(0x2C3B4E);
constexpr Rgb kEditBack = Hex(0x061835);
constexpr Rgb kAccent = Hex(0x10A8FD);
constexpr Rgb kAccentBright = Hex(0x6FD0FF);
constexpr Rgb kAccentDeep = Hex(0x0C5078);
constexpr Rgb kAccentDark = Hex(0x08304A);
constexpr Rgb kTabText = Hex(0xADADAD);
constexpr Rgb kMuted = Hex(0x5C6B7D);
constexpr Rgb kDisabled = Hex(0x3A4654);
constexpr Rgb kWhite = Hex(0xFFFFFF);
constexpr Rgb kDanger = Hex(0xE8474F);
constexpr Rgb kCharge = Hex(0x3DDC84);
constexpr Rgb kWarmGlow = Hex(0xFF8A1F);
}  // namespace theme

// Four states of a push-style control, in the order every strip uses.
enum class ButtonState { Normal = 0, Hover = 1, Pressed = 2, Disabled = 3 };
