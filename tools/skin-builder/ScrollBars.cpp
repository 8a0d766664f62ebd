#include <algorithm>

#include "Canvas.h"
#include "Outputs.h"
#include "SkinCatalog.h"

using namespace theme;

namespace {

// The bars are seven pixels thick (the panels' scroll-bar thickness) and
// centred across their picture: a dark track at both ends and the thumb's
// lighter body between, so the picture reads right whether the toolkit
// stretches it whole or cuts the thumb out of its middle.
constexpr double kThickness = 7;
constexpr double kTrackEnd = 20;
constexpr Rgb kTrack = Hex(0x1A2533);
constexpr Rgb kThumbTop = Hex(0x4A6482);
constexpr Rgb kThumbBottom = Hex(0x34485F);

void Bar(cairo_t* cr, double length, double across, bool vertical) {
  const double offset = (across - kThickness) / 2;
  auto capsule = [&](double from, double to) {
    if (vertical) RoundedRect(cr, offset, from, kThickness, to - from, kThickness / 2);
    else RoundedRect(cr, from, offset, to - from, kThickness, kThickness / 2);
  };
  capsule(0.5, length - 0.5);
  SetColor(cr, kTrack);
  cairo_fill(cr);
  const double end = std::min(kTrackEnd, length / 4);
  capsule(end, length - end);
  cairo_pattern_t* p = vertical ? cairo_pattern_create_linear(offset, 0, offset + kThickness, 0)
                                : cairo_pattern_create_linear(0, offset, 0, offset + kThickness);
  cairo_pattern_add_color_stop_rgb(p, 0, kThumbTop.r, kThumbTop.g, kThumbTop.b);
  cairo_pattern_add_color_stop_rgb(p, 1, kThumbBottom.r, kThumbBottom.g, kThumbBottom.b);
  cairo_set_source(cr, p);
  cairo_fill(cr);
  cairo_pattern_destroy(p);
}

}  // namespace

bool WriteScrollBarImages(const std::string& folder) {
  bool ok = true;
  for (const ToolkitResource& r : kToolkitResources) {
    Canvas canvas(r.width, r.height);
    const bool vertical = r.height > r.width;
    Bar(canvas.Cr(), vertical ? r.height : r.width, vertical ? r.width : r.height, vertical);
    ok = canvas.SavePng(folder + "/" + std::to_string(r.id) + ".png") && ok;
  }
  return ok;
}
