#pragma once
// The notification codes a control passes to its parent's OnBaseMessage;
// panels pass them up unchanged and the dialog hands them to OnMessage.
enum ControlNotify : unsigned {
  CN_PRESS = 1,
  CN_CLICK = 2,
  CN_DBLCLK = 3,
  CN_RCLICK = 5,
  CN_TOGGLE = 7,
  CN_POSITION = 8,
  CN_PARTPRESS = 9,
  CN_KEYRCLICK = 24,
  CN_EDITCHANGE = 26,
  CN_COLOR = 27,
  CN_SPIN = 28,
  CN_EDITEND = 29,
  CN_EDITSHOW = 30,
  CN_ICONCLICK = 31,
};

// The modifier codes key handlers receive: OR-ed together, as the design
// has them (so Ctrl+Shift gives 0x11 and cannot be told from Ctrl).
constexpr unsigned kKeyModifierShift = 0x10;
constexpr unsigned kKeyModifierControl = 0x11;
constexpr unsigned kKeyModifierAlt = 0x12;
