#include <cmath>

#include "Canvas.h"
#include "Glyphs.h"
#include "Painters.h"

using namespace theme;

namespace {

// A glyph with a soft halo: the glyph drawn wide and faint, then sharp.
void GlowingGlyph(cairo_t* cr, Glyph glyph, double x, double y, double size, Rgb colour,
                  double stroke) {
  for (int i = 3; i >= 1; --i) {
    SetColor(cr, colour, 0.10);
    DrawGlyph(cr, glyph, x, y, size, stroke + i * 1.6);
  }
  SetColor(cr, colour);
  DrawGlyph(cr, glyph, x, y, size, stroke);
}

// Tab icons: 0 normal, 1 hover, 2 selected, 3 selected and hovered.
void TabIcon(cairo_t* cr, int state, int w, int h, Glyph glyph) {
  const double size = std::min(w, h) * 0.78;
  const double x = (w - size) / 2, y = (h - size) / 2;
  switch (state) {
    case 1: SetColor(cr, kAccentBright); DrawGlyph(cr, glyph, x, y, size, 1.8); break;
    case 2: GlowingGlyph(cr, glyph, x, y, size, kAccent, 1.9); break;
    case 3: GlowingGlyph(cr, glyph, x, y, size, kAccentBright, 1.9); break;
    default: SetColor(cr, kTabText, 0.9); DrawGlyph(cr, glyph, x, y, size, 1.8); break;
  }
}

void PageIcon(cairo_t* cr, int w, int h, Glyph glyph) {
  const double size = std::min(w, h) * 0.8;
  GlowingGlyph(cr, glyph, (w - size) / 2, (h - size) / 2, size, kAccent, 1.9);
}

}  // namespace

void PaintTabHome(cairo_t* cr, int s, int w, int h) { TabIcon(cr, s, w, h, Glyph::Home); }
void PaintTabCustomKey(cairo_t* cr, int s, int w, int h) { TabIcon(cr, s, w, h, Glyph::Keyboard); }
void PaintTabMacro(cairo_t* cr, int s, int w, int h) { TabIcon(cr, s, w, h, Glyph::Macro); }
void PaintTabLight(cairo_t* cr, int s, int w, int h) { TabIcon(cr, s, w, h, Glyph::Light); }
void PaintTabConfig(cairo_t* cr, int s, int w, int h) { TabIcon(cr, s, w, h, Glyph::Gear); }
void PaintPageKeyboard(cairo_t* cr, int, int w, int h) { PageIcon(cr, w, h, Glyph::Keyboard); }
void PaintPageMacro(cairo_t* cr, int, int w, int h) { PageIcon(cr, w, h, Glyph::Macro); }
void PaintPageLight(cairo_t* cr, int, int w, int h) { PageIcon(cr, w, h, Glyph::Light); }
void PaintPageConfig(cairo_t* cr, int, int w, int h) { PageIcon(cr, w, h, Glyph::Gear); }

void PaintBatteryBack(cairo_t* cr, int, int w, int h) {
  // The gauge prints the level in the middle, so the shell is wide and the
  // terminal small.
  RoundedRect(cr, 1, 2, w - 6, h - 4, 4);
  SetColor(cr, Hex(0x0B1119));
  cairo_fill_preserve(cr);
  SetColor(cr, Hex(0x4A5A6E));
  cairo_set_line_width(cr, 1.5);
  cairo_stroke(cr);
  RoundedRect(cr, w - 4.5, h / 2.0 - 3.5, 3.5, 7, 1.2);
  SetColor(cr, Hex(0x4A5A6E));
  cairo_fill(cr);
}

void PaintBatteryLevel(cairo_t* cr, int, int w, int h) {
  RoundedRect(cr, 3.5, 4.5, w - 11, h - 9, 2.5);
  cairo_pattern_t* p = cairo_pattern_create_linear(0, 0, w, 0);
  cairo_pattern_add_color_stop_rgba(p, 0, kAccentDeep.r, kAccentDeep.g, kAccentDeep.b, 0.95);
  cairo_pattern_add_color_stop_rgba(p, 1, kAccent.r, kAccent.g, kAccent.b, 0.95);
  cairo_set_source(cr, p);
  cairo_fill(cr);
  cairo_pattern_destroy(p);
}

void PaintBatteryCharge(cairo_t* cr, int, int w, int h) {
  SetColor(cr, kCharge);
  const double size = std::min(w, h);
  DrawGlyph(cr, Glyph::Bolt, (w - size) / 2, (h - size) / 2, size);
}

void PaintModeUsb(cairo_t* cr, int, int w, int h) {
  SetColor(cr, kAccent);
  DrawGlyph(cr, Glyph::Usb, 0, 0, std::min(w, h), 1.8);
}

void PaintMediaGlyph(cairo_t* cr, Glyph glyph, int w, int h) {
  // Drawn over the key caps of the function list, so light on dark.
  SetColor(cr, Hex(0xE4ECF5));
  const double size = std::min(w, h);
  DrawGlyph(cr, glyph, (w - size) / 2, (h - size) / 2, size, 1.9);
}
