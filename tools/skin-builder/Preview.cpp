#include <algorithm>
#include <string>
#include <vector>

#include "Canvas.h"
#include "Outputs.h"
#include "SkinCatalog.h"

namespace {

struct Item {
  std::string label;
  cairo_surface_t* picture;
  double scale;
};

}  // namespace

bool WritePreview(const std::string& path, const std::string& skinFolder,
                  const std::vector<std::string>& extraPictures) {
  // One sheet with every picture on the window's back colour, small ones
  // enlarged, so the whole skin can be judged at a glance.
  std::vector<Item> items;
  std::vector<std::string> names;
  for (const SkinPicture& p : kSkinPictures) {
    if (!p.file.ends_with(".png")) continue;
    names.emplace_back(p.file);
  }
  names.insert(names.end(), extraPictures.begin(), extraPictures.end());
  for (const std::string& name : names) {
    cairo_surface_t* s = cairo_image_surface_create_from_png((skinFolder + "/" + name).c_str());
    if (cairo_surface_status(s) != CAIRO_STATUS_SUCCESS) {
      cairo_surface_destroy(s);
      continue;
    }
    const int h = cairo_image_surface_get_height(s);
    const double scale = h <= 40 ? 2.0 : (h >= 500 ? 0.5 : 1.0);
    items.push_back({name, s, scale});
  }

  constexpr int kSheetWidth = 1600, kGap = 16, kLabel = 18;
  int x = kGap, y = kGap, rowHeight = 0;
  struct Place { int x, y; };
  std::vector<Place> places;
  for (const Item& item : items) {
    const int w = std::max(120, static_cast<int>(cairo_image_surface_get_width(item.picture) * item.scale));
    const int h = static_cast<int>(cairo_image_surface_get_height(item.picture) * item.scale) + kLabel;
    if (x + w > kSheetWidth - kGap && x > kGap) {
      x = kGap;
      y += rowHeight + kGap;
      rowHeight = 0;
    }
    places.push_back({x, y});
    x += w + kGap;
    rowHeight = std::max(rowHeight, h);
  }

  Canvas sheet(kSheetWidth, y + rowHeight + kGap);
  cairo_t* cr = sheet.Cr();
  SetColor(cr, theme::kBack);
  cairo_paint(cr);
  for (std::size_t i = 0; i < items.size(); ++i) {
    cairo_save(cr);
    cairo_translate(cr, places[i].x, places[i].y);
    cairo_scale(cr, items[i].scale, items[i].scale);
    cairo_set_source_surface(cr, items[i].picture, 0, 0);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
    cairo_paint(cr);
    cairo_restore(cr);
    const double h = cairo_image_surface_get_height(items[i].picture) * items[i].scale;
    DrawText(cr, items[i].label, "Open Sans", 11, places[i].x, places[i].y + h, 400, kLabel,
             theme::kTabText, 1.0, TextAlign::Left);
    cairo_surface_destroy(items[i].picture);
  }
  return sheet.SavePng(path);
}
