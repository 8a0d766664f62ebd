#include <algorithm>
#include <cmath>

#include "Canvas.h"
#include "Glyphs.h"
#include "Painters.h"

using namespace theme;

namespace {

void HorizontalFadeLine(cairo_t* cr, double x0, double x1, double y, Rgb c, double alpha,
                        double width = 1) {
  cairo_pattern_t* p = cairo_pattern_create_linear(x0, 0, x1, 0);
  cairo_pattern_add_color_stop_rgba(p, 0, c.r, c.g, c.b, 0);
  cairo_pattern_add_color_stop_rgba(p, 0.5, c.r, c.g, c.b, alpha);
  cairo_pattern_add_color_stop_rgba(p, 1, c.r, c.g, c.b, 0);
  cairo_set_source(cr, p);
  cairo_rectangle(cr, x0, y - width / 2, x1 - x0, width);
  cairo_fill(cr);
  cairo_pattern_destroy(p);
}

void RadialGlow(cairo_t* cr, double cx, double cy, double radius, Rgb c, double alpha) {
  cairo_pattern_t* p = cairo_pattern_create_radial(cx, cy, 0, cx, cy, radius);
  cairo_pattern_add_color_stop_rgba(p, 0, c.r, c.g, c.b, alpha);
  cairo_pattern_add_color_stop_rgba(p, 1, c.r, c.g, c.b, 0);
  cairo_set_source(cr, p);
  cairo_paint(cr);
  cairo_pattern_destroy(p);
}

// Corner brackets: the bright marks at the window's corners.
void Bracket(cairo_t* cr, double x, double y, double dx, double dy, double len) {
  cairo_move_to(cr, x, y + dy * len);
  cairo_line_to(cr, x, y);
  cairo_line_to(cr, x + dx * len, y);
  SetColor(cr, kAccent, 0.9);
  cairo_set_line_width(cr, 2);
  cairo_stroke(cr);
}

void SystemButton(cairo_t* cr, int state, int w, int h, Glyph glyph, Rgb hoverFill) {
  if (state == 1 || state == 2) {
    RoundedRect(cr, 2, 2, w - 4, h - 4, 5);
    SetColor(cr, hoverFill, state == 2 ? 0.75 : 1.0);
    cairo_fill(cr);
  }
  const Rgb colours[] = {kTabText, kWhite, kWhite, kDisabled};
  SetColor(cr, colours[state & 3]);
  DrawGlyph(cr, glyph, w * 0.2, h * 0.2, w * 0.6, 2.0);
}

}  // namespace

void PaintMainBackground(cairo_t* cr, int, int w, int h) {
  SetVerticalGradient(cr, 0, h, Hex(0x0C121B), Hex(0x05080C));
  cairo_paint(cr);
  // Light falls from behind the keyboard picture in the page area.
  RadialGlow(cr, w * 0.58, h * 0.42, w * 0.5, kAccent, 0.09);
  RadialGlow(cr, w * 0.95, h * 1.05, w * 0.35, kAccentDeep, 0.18);

  // Fine diagonal hatching that fades in towards the lower right corner.
  cairo_push_group(cr);
  for (int i = -300; i < 520; i += 9) {
    cairo_move_to(cr, w - 520 + i, h);
    cairo_line_to(cr, w - 520 + i + 300, h - 300);
  }
  SetColor(cr, kAccent, 0.09);
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
  cairo_pop_group_to_source(cr);
  cairo_pattern_t* mask = cairo_pattern_create_radial(w, h, 0, w, h, 420);
  cairo_pattern_add_color_stop_rgba(mask, 0, 0, 0, 0, 1);
  cairo_pattern_add_color_stop_rgba(mask, 1, 0, 0, 0, 0);
  cairo_mask(cr, mask);
  cairo_pattern_destroy(mask);

  // Caption strip.
  cairo_rectangle(cr, 0, 0, w, 50);
  SetVerticalGradient(cr, 0, 50, Hex(0x111A26), Hex(0x0A1019));
  cairo_fill(cr);
  HorizontalFadeLine(cr, 0, w, 49.5, kAccent, 0.75);
  HorizontalFadeLine(cr, w * 0.3, w * 0.7, 50.5, kAccent, 0.25, 2);

  // Tab strip on the left.
  cairo_rectangle(cr, 0, 50, 80, h - 50);
  SetVerticalGradient(cr, 50, h, Hex(0x0A1018), Hex(0x06090D));
  cairo_fill(cr);
  cairo_move_to(cr, 79.5, 50);
  cairo_line_to(cr, 79.5, h);
  cairo_pattern_t* side = cairo_pattern_create_linear(0, 50, 0, h);
  cairo_pattern_add_color_stop_rgba(side, 0, kAccent.r, kAccent.g, kAccent.b, 0.45);
  cairo_pattern_add_color_stop_rgba(side, 0.5, kLine.r, kLine.g, kLine.b, 1);
  cairo_pattern_add_color_stop_rgba(side, 1, kLine.r, kLine.g, kLine.b, 0.3);
  cairo_set_source(cr, side);
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
  cairo_pattern_destroy(side);

  Bracket(cr, 4, 4, 1, 1, 18);
  Bracket(cr, w - 4, h - 4, -1, -1, 18);
}

void PaintCaption(cairo_t* cr, int, int w, int h) {
  // A winged name plate: a trapezoid with a bright lower edge.
  cairo_move_to(cr, 8, 1);
  cairo_line_to(cr, w - 8, 1);
  cairo_line_to(cr, w - 30, h - 1);
  cairo_line_to(cr, 30, h - 1);
  cairo_close_path(cr);
  SetVerticalGradient(cr, 0, h, Hex(0x0E1724), Hex(0x0B2740));
  cairo_fill_preserve(cr);
  SetColor(cr, kAccent, 0.35);
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
  cairo_move_to(cr, 30, h - 1);
  cairo_line_to(cr, w - 30, h - 1);
  SetColor(cr, kAccent);
  cairo_set_line_width(cr, 2);
  cairo_stroke(cr);
  // Side chevrons.
  for (int side = -1; side <= 1; side += 2) {
    const double cx = w / 2.0 + side * 100;
    cairo_move_to(cr, cx - side * 4, h / 2.0 - 5);
    cairo_line_to(cr, cx + side * 2, h / 2.0);
    cairo_line_to(cr, cx - side * 4, h / 2.0 + 5);
    SetColor(cr, kAccent, 0.8);
    cairo_set_line_width(cr, 1.6);
    cairo_stroke(cr);
  }
  DrawText(cr, "K E S T R E L", "Open Sans Bold", 15, 0, 0, w, h - 1, kAccent, 0.35);
  DrawText(cr, "K E S T R E L", "Open Sans Bold", 15, 0, -1, w, h - 1, kWhite);
}

void DrawLogo(cairo_t* cr, double x, double y, double size) {
  cairo_save(cr);
  cairo_translate(cr, x, y);
  cairo_scale(cr, size / 40.0, size / 40.0);
  // A hexagonal badge with a kestrel's swept wing across it.
  cairo_new_path(cr);
  for (int i = 0; i < 6; ++i) {
    const double a = -M_PI / 2 + i * M_PI / 3;
    const double px = 20 + std::cos(a) * 18.5, py = 20 + std::sin(a) * 18.5;
    if (i == 0) cairo_move_to(cr, px, py); else cairo_line_to(cr, px, py);
  }
  cairo_close_path(cr);
  cairo_pattern_t* fill = cairo_pattern_create_linear(0, 2, 0, 38);
  cairo_pattern_add_color_stop_rgb(fill, 0, 0.07, 0.16, 0.25);
  cairo_pattern_add_color_stop_rgb(fill, 1, 0.02, 0.05, 0.09);
  cairo_set_source(cr, fill);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(fill);
  SetColor(cr, kAccent);
  cairo_set_line_width(cr, 2.2);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  cairo_stroke(cr);

  // Upper wing.
  cairo_move_to(cr, 8.5, 27);
  cairo_curve_to(cr, 13, 17, 21, 10.5, 32.5, 9.5);
  cairo_curve_to(cr, 28, 13, 25.5, 16.5, 24.5, 20.5);
  cairo_curve_to(cr, 19.5, 21, 14, 23.5, 8.5, 27);
  cairo_close_path(cr);
  SetColor(cr, kWhite);
  cairo_fill(cr);
  // Lower wing, in the accent colour.
  cairo_move_to(cr, 13, 29);
  cairo_curve_to(cr, 18, 25, 24, 23.5, 31, 24);
  cairo_curve_to(cr, 27, 26.5, 24, 29, 20.5, 31);
  cairo_curve_to(cr, 18, 30, 15.5, 29.5, 13, 29);
  cairo_close_path(cr);
  SetColor(cr, kAccent);
  cairo_fill(cr);
  cairo_restore(cr);
}

void PaintLogoSlice(cairo_t* cr, int, int w, int h) { DrawLogo(cr, 0, 0, std::min(w, h)); }

void PaintCloseButton(cairo_t* cr, int state, int w, int h) {
  SystemButton(cr, state, w, h, Glyph::Close, kDanger);
}
void PaintMinimiseButton(cairo_t* cr, int state, int w, int h) {
  SystemButton(cr, state, w, h, Glyph::Minimise, Hex(0x1C3147));
}
void PaintWebsiteButton(cairo_t* cr, int state, int w, int h) {
  SystemButton(cr, state, w, h, Glyph::Globe, Hex(0x1C3147));
}

void PaintDeviceState(cairo_t* cr, int state, int w, int h) {
  // Slice 0: a known keyboard that is not connected; 1: connected; 2: the
  // connected entry under the pointer; 3: disabled.
  const bool connected = state == 1 || state == 2;
  RoundedRect(cr, 0.5, 0.5, w - 1, h - 1, 6);
  if (connected) {
    SetVerticalGradient(cr, 0, h, state == 2 ? Hex(0x12405F) : Hex(0x0E2F48), Hex(0x0A1D2E));
  } else {
    SetVerticalGradient(cr, 0, h, Hex(0x131B26), Hex(0x0D131B));
  }
  cairo_fill_preserve(cr);
  SetColor(cr, connected ? kAccent : Hex(0x243345), state == 3 ? 0.4 : 1.0);
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
  // Status light at the left.
  cairo_arc(cr, 9, h / 2.0, 3, 0, 2 * M_PI);
  SetColor(cr, connected ? kCharge : kMuted, state == 3 ? 0.4 : 1.0);
  cairo_fill(cr);
  if (connected) {
    cairo_arc(cr, 9, h / 2.0, 5.5, 0, 2 * M_PI);
    SetColor(cr, kCharge, 0.25);
    cairo_fill(cr);
  }
}

void PaintPrompt(cairo_t* cr, int, int w, int h) {
  RoundedRect(cr, 0.5, 0.5, w - 1, h - 1, 8);
  SetVerticalGradient(cr, 0, h, Hex(0x131D2A), Hex(0x090E15));
  cairo_fill_preserve(cr);
  SetColor(cr, Hex(0x2A3D52));
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
  HorizontalFadeLine(cr, 8, w - 8, 1.5, kAccent, 1.0, 2);
  HorizontalFadeLine(cr, 20, w - 20, 48.5, kLineLight, 0.9);
  RadialGlow(cr, w / 2.0, 0, w * 0.45, kAccent, 0.08);
}

void PaintTipBack(cairo_t* cr, int, int w, int h) {
  // A speech bubble whose pointer, inside the bottom frame margin, points
  // down at the key it describes.
  const double body = h - 7;
  RoundedRect(cr, 0.5, 0.5, w - 1, body - 0.5, 5);
  cairo_move_to(cr, w / 2.0 - 6, body);
  cairo_line_to(cr, w / 2.0, h - 0.5);
  cairo_line_to(cr, w / 2.0 + 6, body);
  SetColor(cr, Hex(0x0E1621), 0.96);
  cairo_fill(cr);
  RoundedRect(cr, 0.5, 0.5, w - 1, body - 0.5, 5);
  SetColor(cr, kAccent, 0.85);
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
  cairo_move_to(cr, w / 2.0 - 6, body);
  cairo_line_to(cr, w / 2.0, h - 0.5);
  cairo_line_to(cr, w / 2.0 + 6, body);
  cairo_stroke(cr);
  HorizontalFadeLine(cr, 10, w - 10, 30.5, kAccent, 0.35);
}

namespace {
void TipArrow(cairo_t* cr, double x0, double y0, double x1, double y1, double x2, double y2) {
  cairo_move_to(cr, x0, y0);
  cairo_line_to(cr, x1, y1);
  cairo_line_to(cr, x2, y2);
  SetColor(cr, Hex(0x0E1621), 0.96);
  cairo_fill_preserve(cr);
  SetColor(cr, kAccent, 0.85);
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
}
}  // namespace

void PaintTipArrowLeft(cairo_t* cr, int, int w, int h) { TipArrow(cr, w, 0.5, 0.5, h / 2.0, w, h - 0.5); }
void PaintTipArrowRight(cairo_t* cr, int, int w, int h) { TipArrow(cr, 0, 0.5, w - 0.5, h / 2.0, 0, h - 0.5); }
void PaintTipArrowTop(cairo_t* cr, int, int w, int h) { TipArrow(cr, 0.5, h, w / 2.0, 0.5, w - 0.5, h); }
