#pragma once
// Line-art glyphs on a 24-unit grid, shared by the tab icons, the page
// icons, the buttons and the key function list.  Each draws into the square
// (x, y, size) in the current source colour; `stroke` is the line width in
// grid units.
#include <cairo.h>

#include <string_view>

enum class Glyph {
  Home, Keyboard, Macro, Light, Gear, Monitor, Calculator, Envelope, Note, PlayPause, Stop,
  Previous, Next, VolumeDown, VolumeUp, Mute, Refresh, Cross, Back, Forward, Star, Search,
  Plus, Trash, Pencil, Import, Export, Folder, Clock, ArrowUp, ArrowDown, ArrowLeft, ArrowRight,
  Minimise, Close, Globe, Usb, Bolt, Windows, Menu, TriangleUp, TriangleDown, TriangleLeft,
  TriangleRight,
};

void DrawGlyph(cairo_t* cr, Glyph glyph, double x, double y, double size, double stroke = 2.0);
