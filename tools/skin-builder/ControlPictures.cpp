#include <algorithm>
#include <cmath>
#include <cstdint>

#include "Canvas.h"
#include "Glyphs.h"
#include "Painters.h"

namespace {

using namespace theme;

struct Plate {
  Rgb top, bottom, border;
  double borderAlpha;
};

// The one look every push button shares, by state: a dark plate, a blue rim
// on hover, a blue fill while pressed and a flat, dim plate when disabled.
Plate ButtonPlate(int state) {
  switch (state) {
    case 1: return {Hex(0x1C3147), Hex(0x122133), kAccent, 0.85};
    case 2: return {Hex(0x0E5F8F), Hex(0x0A3E5E), kAccentBright, 1.0};
    case 3: return {Hex(0x10161E), Hex(0x0D1218), Hex(0x1C2530), 1.0};
    default: return {Hex(0x1A2534), Hex(0x111923), Hex(0x2A3D52), 1.0};
  }
}

void FillPlate(cairo_t* cr, double x, double y, double w, double h, double r, const Plate& p) {
  RoundedRect(cr, x, y, w, h, r);
  SetVerticalGradient(cr, y, y + h, p.top, p.bottom);
  cairo_fill_preserve(cr);
  SetColor(cr, p.border, p.borderAlpha);
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
  // A faint top highlight gives the plate a bevel.
  cairo_move_to(cr, x + r, y + 1.5);
  cairo_line_to(cr, x + w - r, y + 1.5);
  SetColor(cr, kWhite, 0.07);
  cairo_stroke(cr);
}

Rgb GlyphColour(int state) {
  switch (state) {
    case 1: return kAccentBright;
    case 2: return kWhite;
    case 3: return kDisabled;
    default: return kTabText;
  }
}

// Square icon buttons: a rounded plate with a glyph in the middle.
void IconButton(cairo_t* cr, int state, int w, int h, Glyph glyph, double glyphScale = 0.62) {
  const Plate plate = ButtonPlate(state);
  FillPlate(cr, 0.5, 0.5, w - 1, h - 1, 5, plate);
  const double size = std::min(w, h) * glyphScale;
  SetColor(cr, GlyphColour(state));
  DrawGlyph(cr, glyph, (w - size) / 2, (h - size) / 2, size, 2.2);
}

// Small icon buttons without a plate until the pointer is over them.
void FlatIconButton(cairo_t* cr, int state, int w, int h, Glyph glyph) {
  if (state == 1 || state == 2) {
    RoundedRect(cr, 0.5, 0.5, w - 1, h - 1, 4);
    SetColor(cr, state == 2 ? kAccentDeep : kPanelLight);
    cairo_fill_preserve(cr);
    SetColor(cr, kAccent, state == 2 ? 1.0 : 0.6);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
  }
  const double size = std::min(w, h) * 0.75;
  SetColor(cr, GlyphColour(state));
  DrawGlyph(cr, glyph, (w - size) / 2, (h - size) / 2, size, 2.2);
}

// Eight-state boxes: unchecked normal, hover, pressed, disabled, then the
// same four checked.
void CheckLikeFrame(cairo_t* cr, int state, int w, int h, bool round) {
  const bool checked = state >= 4;
  const int s = state % 4;
  const double size = 16;
  const double x = (w - size) / 2, y = (h - size) / 2;
  auto path = [&] {
    if (round) {
      cairo_new_path(cr);
      cairo_arc(cr, w / 2.0, h / 2.0, size / 2 - 0.5, 0, 2 * M_PI);
    } else {
      RoundedRect(cr, x + 0.5, y + 0.5, size - 1, size - 1, 3.5);
    }
  };
  Rgb fill = Hex(0x0D141D), border = Hex(0x3A4A5E);
  if (s == 1) border = kAccent;
  if (s == 2) fill = Hex(0x0C2A40), border = kAccentBright;
  if (s == 3) fill = Hex(0x0B1017), border = Hex(0x222C38);
  if (checked && !round) {
    fill = s == 3 ? Hex(0x25303C) : (s == 2 ? kAccentDeep : (s == 1 ? Hex(0x34B6FF) : kAccent));
    border = s == 3 ? Hex(0x25303C) : fill;
  }
  if (checked && round) border = s == 3 ? Hex(0x2E3A48) : (s == 1 ? kAccentBright : kAccent);
  path();
  SetColor(cr, fill);
  cairo_fill_preserve(cr);
  SetColor(cr, border);
  cairo_set_line_width(cr, 1.2);
  cairo_stroke(cr);
  if (!checked) return;
  if (round) {
    cairo_arc(cr, w / 2.0, h / 2.0, 4, 0, 2 * M_PI);
    SetColor(cr, s == 3 ? kMuted : (s == 2 ? kAccentDeep : kAccent));
    if (s == 1) SetColor(cr, kAccentBright);
    cairo_fill(cr);
    return;
  }
  cairo_move_to(cr, x + 4, y + 8.3);
  cairo_line_to(cr, x + 7, y + 11.2);
  cairo_line_to(cr, x + 12.2, y + 5.2);
  SetColor(cr, s == 3 ? kMuted : kWhite);
  cairo_set_line_width(cr, 2);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  cairo_stroke(cr);
}

void DirectionButton(cairo_t* cr, int state, int w, int h, Glyph arrow) {
  const bool checked = state >= 4;
  const int s = state % 4;
  Plate plate = ButtonPlate(s);
  if (checked && s != 3) {
    plate = {s == 1 ? Hex(0x1391D8) : Hex(0x0F78B5), s == 1 ? Hex(0x0C5D8E) : Hex(0x0A4A73),
             kAccentBright, 1.0};
  }
  FillPlate(cr, 2.5, 2.5, w - 5, h - 5, 6, plate);
  Rgb glyph = checked ? kWhite : GlyphColour(s);
  if (checked && s == 3) glyph = kMuted;
  SetColor(cr, glyph);
  const double size = w * 0.5;
  DrawGlyph(cr, arrow, (w - size) / 2, (h - size) / 2, size, 2.4);
}

// Premultiplied ARGB pixel for cairo's image surfaces.
uint32_t Pixel(double r, double g, double b, double a) {
  auto c = [&](double v) { return static_cast<uint32_t>(std::lround(std::clamp(v * a, 0.0, 1.0) * 255)); };
  return (static_cast<uint32_t>(std::lround(std::clamp(a, 0.0, 1.0) * 255)) << 24) | (c(r) << 16) |
         (c(g) << 8) | c(b);
}

void HsvToRgb(double h, double s, double v, double& r, double& g, double& b) {
  h = std::fmod(h, 360.0);
  if (h < 0) h += 360;
  const double c = v * s, x = c * (1 - std::fabs(std::fmod(h / 60.0, 2) - 1)), m = v - c;
  double r1 = 0, g1 = 0, b1 = 0;
  if (h < 60) r1 = c, g1 = x;
  else if (h < 120) r1 = x, g1 = c;
  else if (h < 180) g1 = c, b1 = x;
  else if (h < 240) g1 = x, b1 = c;
  else if (h < 300) r1 = x, b1 = c;
  else r1 = c, b1 = x;
  r = r1 + m, g = g1 + m, b = b1 + m;
}

// Writes a pixel function into a fresh surface and paints it at (0, 0).
template <typename F>
void PaintPixels(cairo_t* cr, int w, int h, F colourAt) {
  cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
  cairo_surface_flush(s);
  unsigned char* data = cairo_image_surface_get_data(s);
  const int stride = cairo_image_surface_get_stride(s);
  for (int y = 0; y < h; ++y) {
    auto* row = reinterpret_cast<uint32_t*>(data + y * stride);
    for (int x = 0; x < w; ++x) row[x] = colourAt(x + 0.5, y + 0.5);
  }
  cairo_surface_mark_dirty(s);
  cairo_set_source_surface(cr, s, 0, 0);
  cairo_paint(cr);
  cairo_surface_destroy(s);
}

}  // namespace

void PaintApplyButton(cairo_t* cr, int state, int w, int h) {
  FillPlate(cr, 0.5, 0.5, w - 1, h - 1, 5, ButtonPlate(state));
  if (state == 1 || state == 2) {
    // A thin light line under the caption marks the active button.
    cairo_move_to(cr, 10, h - 2.5);
    cairo_line_to(cr, w - 10, h - 2.5);
    SetColor(cr, kAccentBright, state == 2 ? 0.9 : 0.5);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
  }
}

void PaintCheckBox(cairo_t* cr, int state, int w, int h) { CheckLikeFrame(cr, state, w, h, false); }
void PaintRadioBox(cairo_t* cr, int state, int w, int h) { CheckLikeFrame(cr, state, w, h, true); }
void PaintOpenFile(cairo_t* cr, int state, int w, int h) { IconButton(cr, state, w, h, Glyph::Folder); }
void PaintAddButton(cairo_t* cr, int state, int w, int h) { IconButton(cr, state, w, h, Glyph::Plus); }
void PaintDeleteButton(cairo_t* cr, int state, int w, int h) { IconButton(cr, state, w, h, Glyph::Trash); }
void PaintEditButton(cairo_t* cr, int state, int w, int h) { IconButton(cr, state, w, h, Glyph::Pencil); }
void PaintImportButton(cairo_t* cr, int state, int w, int h) { IconButton(cr, state, w, h, Glyph::Import); }
void PaintExportButton(cairo_t* cr, int state, int w, int h) { IconButton(cr, state, w, h, Glyph::Export); }
void PaintRecordTime(cairo_t* cr, int state, int w, int h) { FlatIconButton(cr, state, w, h, Glyph::Clock); }
void PaintRecordUp(cairo_t* cr, int state, int w, int h) { FlatIconButton(cr, state, w, h, Glyph::ArrowUp); }
void PaintRecordDown(cairo_t* cr, int state, int w, int h) { FlatIconButton(cr, state, w, h, Glyph::ArrowDown); }
void PaintRecordDelete(cairo_t* cr, int state, int w, int h) { FlatIconButton(cr, state, w, h, Glyph::Trash); }
void PaintDirectionLeft(cairo_t* cr, int state, int w, int h) { DirectionButton(cr, state, w, h, Glyph::ArrowLeft); }
void PaintDirectionRight(cairo_t* cr, int state, int w, int h) { DirectionButton(cr, state, w, h, Glyph::ArrowRight); }
void PaintDirectionTop(cairo_t* cr, int state, int w, int h) { DirectionButton(cr, state, w, h, Glyph::ArrowUp); }
void PaintDirectionBottom(cairo_t* cr, int state, int w, int h) { DirectionButton(cr, state, w, h, Glyph::ArrowDown); }

void PaintComboBox(cairo_t* cr, int state, int w, int h) {
  FillPlate(cr, 0.5, 0.5, w - 1, h - 1, 5, ButtonPlate(state == 2 ? 1 : state));
  // The arrow lives in the right 36 pixels, which the combo never stretches
  // sideways; a divider separates it from the text.
  const double ax = w - 36;
  cairo_move_to(cr, ax + 0.5, 8);
  cairo_line_to(cr, ax + 0.5, h - 8);
  SetColor(cr, state == 3 ? Hex(0x1C2530) : kLine);
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
  const double cx = w - 18, cy = h / 2.0;
  if (state == 2) {
    cairo_move_to(cr, cx - 5, cy + 2.5);
    cairo_line_to(cr, cx, cy - 2.5);
    cairo_line_to(cr, cx + 5, cy + 2.5);
  } else {
    cairo_move_to(cr, cx - 5, cy - 2.5);
    cairo_line_to(cr, cx, cy + 2.5);
    cairo_line_to(cr, cx + 5, cy - 2.5);
  }
  SetColor(cr, state == 3 ? kDisabled : (state == 0 ? kTabText : kAccentBright));
  cairo_set_line_width(cr, 2);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  cairo_stroke(cr);
}

void PaintEdit(cairo_t* cr, int state, int w, int h) {
  // The inside matches the native editor's back colour (#061835) so the
  // frame and the text field read as one box.
  RoundedRect(cr, 0.5, 0.5, w - 1, h - 1, 3);
  SetColor(cr, state == 3 ? Hex(0x0A1019) : kEditBack);
  cairo_fill_preserve(cr);
  const Rgb border[] = {Hex(0x1F3A5C), Hex(0x2F7FB8), kAccent, Hex(0x1A2330)};
  SetColor(cr, border[state & 3]);
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
}

void PaintListCircle(cairo_t* cr, int state, int w, int h) {
  const double cx = w / 2.0, cy = h / 2.0;
  if (state == 0) {
    cairo_arc(cr, cx, cy, 4.5, 0, 2 * M_PI);
    SetColor(cr, kMuted);
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
    return;
  }
  cairo_arc(cr, cx, cy, 6.5, 0, 2 * M_PI);
  SetColor(cr, kAccent, 0.25);
  cairo_fill(cr);
  cairo_arc(cr, cx, cy, 5.5, 0, 2 * M_PI);
  SetColor(cr, kAccent);
  cairo_set_line_width(cr, 1.5);
  cairo_stroke(cr);
  cairo_arc(cr, cx, cy, 2.8, 0, 2 * M_PI);
  SetColor(cr, kWhite);
  cairo_fill(cr);
}

void PaintCustomKey(cairo_t* cr, int state, int w, int h) {
  // A key cap seen from above: a dark skirt and a lighter top face.
  Rgb skirt = Hex(0x0A0F15), rim = Hex(0x253447), top = Hex(0x1C2633), bottom = Hex(0x141C27);
  if (state == 1) rim = Hex(0x2E8BC7), top = Hex(0x223246), bottom = Hex(0x18263A);
  if (state == 2) rim = kAccentBright, top = Hex(0x1388CC), bottom = Hex(0x0C5A8A), skirt = Hex(0x06314D);
  if (state == 3) rim = Hex(0x19222D), top = Hex(0x111821), bottom = Hex(0x0E141C);
  RoundedRect(cr, 0.5, 0.5, w - 1, h - 1, 4);
  SetColor(cr, skirt);
  cairo_fill_preserve(cr);
  SetColor(cr, rim);
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
  RoundedRect(cr, 3, 2, w - 6, h - 6, 3);
  SetVerticalGradient(cr, 2, h - 4, top, bottom);
  cairo_fill(cr);
  if (state == 2) {
    cairo_move_to(cr, 6, 2.5);
    cairo_line_to(cr, w - 6, 2.5);
    SetColor(cr, kWhite, 0.35);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
  }
}

void PaintSliderBack(cairo_t* cr, int, int w, int h) {
  const double half = h / 2.0;
  // Upper half: the filled part of the track, brightening towards the thumb.
  RoundedRect(cr, 0, 1, w, half - 2, (half - 2) / 2);
  cairo_pattern_t* p = cairo_pattern_create_linear(0, 0, w, 0);
  cairo_pattern_add_color_stop_rgb(p, 0, kAccentDeep.r, kAccentDeep.g, kAccentDeep.b);
  cairo_pattern_add_color_stop_rgb(p, 0.35, kAccent.r, kAccent.g, kAccent.b);
  cairo_pattern_add_color_stop_rgb(p, 1, kAccentBright.r, kAccentBright.g, kAccentBright.b);
  cairo_set_source(cr, p);
  cairo_fill(cr);
  cairo_pattern_destroy(p);
  // Lower half: the empty track.
  RoundedRect(cr, 0.5, half + 1.5, w - 1, half - 3, (half - 3) / 2);
  SetColor(cr, Hex(0x162130));
  cairo_fill_preserve(cr);
  SetColor(cr, Hex(0x24344A));
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
}

void PaintThumb(cairo_t* cr, int state, int w, int h) {
  const double cx = w / 2.0, cy = h / 2.0;
  if (state == 1) {
    cairo_arc(cr, cx, cy, 13, 0, 2 * M_PI);
    SetColor(cr, kAccent, 0.22);
    cairo_fill(cr);
  }
  cairo_arc(cr, cx, cy + 1, 9, 0, 2 * M_PI);
  SetColor(cr, kBackDeep, 0.6);
  cairo_fill(cr);
  cairo_arc(cr, cx, cy, 8.5, 0, 2 * M_PI);
  SetVerticalGradient(cr, cy - 8, cy + 8, kWhite, Hex(0xC9D6E3));
  cairo_fill_preserve(cr);
  SetColor(cr, state == 1 ? kAccentBright : kAccent);
  cairo_set_line_width(cr, 2);
  cairo_stroke(cr);
  cairo_arc(cr, cx, cy, 3, 0, 2 * M_PI);
  SetColor(cr, kAccent);
  cairo_fill(cr);
}

void PaintColorful(cairo_t* cr, int, int w, int h) {
  // A swatch of every hue, for the multicolour preset.
  cairo_save(cr);
  RoundedRect(cr, 0, 0, w, h, 4);
  cairo_clip(cr);
  PaintPixels(cr, w, h, [&](double x, double y) {
    const double hue = std::atan2(y - h / 2.0, x - w / 2.0) * 180 / M_PI + 180;
    double r, g, b;
    HsvToRgb(hue, 0.85, 1.0, r, g, b);
    return Pixel(r, g, b, 1.0);
  });
  cairo_restore(cr);
}

void PaintCirclePalette(cairo_t* cr, int, int w, int h) {
  // Hue runs around the centre, saturation grows outwards from white; the
  // rim is anti-aliased into transparency so the wheel sits on any page.
  const double cx = w / 2.0, cy = h / 2.0, radius = std::min(w, h) / 2.0 - 2;
  PaintPixels(cr, w, h, [&](double x, double y) {
    const double dx = x - cx, dy = y - cy;
    const double d = std::sqrt(dx * dx + dy * dy);
    const double alpha = std::clamp(radius + 0.5 - d, 0.0, 1.0);
    if (alpha <= 0) return 0u;
    const double hue = std::atan2(-dy, dx) * 180 / M_PI;
    double r, g, b;
    HsvToRgb(hue, std::min(1.0, d / radius), 1.0, r, g, b);
    return Pixel(r, g, b, alpha);
  });
  cairo_arc(cr, cx, cy, radius + 0.5, 0, 2 * M_PI);
  SetColor(cr, kBackDeep, 0.5);
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
}
