#include "Canvas.h"
#include "Outputs.h"
#include "SkinCatalog.h"

using namespace theme;

namespace {

// Four thumb colours: normal, hover, dragged, disabled.
constexpr Rgb kThumb[] = {Hex(0x2A3A4E), Hex(0x3D5673), kAccent, Hex(0x18202B)};

}  // namespace

bool WriteScrollBarImages(const std::string& folder) {
  bool ok = true;
  for (const ToolkitResource& r : kToolkitResources) {
    Canvas canvas(r.width, r.height);
    cairo_t* cr = canvas.Cr();
    if (r.width > r.height) {
      // The horizontal bar: one rounded thumb over the whole picture, which
      // the toolkit stretches along the bar.
      RoundedRect(cr, 0.5, 0.5, r.width - 1, r.height - 1, (r.height - 1) / 2.0);
      SetVerticalGradient(cr, 0, r.height, Mix(kThumb[0], kWhite, 0.08), kThumb[0]);
      cairo_fill(cr);
    } else {
      // The vertical bar: four state columns, each a capsule inside a
      // faint track.
      const int column = r.width / 4;
      for (int i = 0; i < 4; ++i) {
        const double x = i * column;
        RoundedRect(cr, x + 1, 0.5, column - 2, r.height - 1, (column - 2) / 2.0);
        SetColor(cr, kThumb[i]);
        cairo_fill(cr);
      }
    }
    ok = canvas.SavePng(folder + "/" + std::to_string(r.id) + ".png") && ok;
  }
  return ok;
}
