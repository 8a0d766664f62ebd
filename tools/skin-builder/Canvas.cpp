#include "Canvas.h"

#include <pango/pangocairo.h>

#include <cmath>
#include <filesystem>
#include <memory>
#include <system_error>

Canvas::Canvas(int width, int height)
    : m_width(width),
      m_height(height),
      m_surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height)),
      m_cr(cairo_create(m_surface)) {
  cairo_set_antialias(m_cr, CAIRO_ANTIALIAS_BEST);
}

Canvas::~Canvas() {
  cairo_destroy(m_cr);
  cairo_surface_destroy(m_surface);
}

bool EnsureParentFolder(const std::string& path) {
  const std::filesystem::path parent = std::filesystem::path(path).parent_path();
  if (parent.empty()) return true;
  std::error_code ec;
  std::filesystem::create_directories(parent, ec);
  return std::filesystem::is_directory(parent);
}

bool Canvas::SavePng(const std::string& path) const {
  cairo_surface_flush(m_surface);
  if (!EnsureParentFolder(path)) return false;
  return cairo_surface_write_to_png(m_surface, path.c_str()) == CAIRO_STATUS_SUCCESS;
}

void RoundedRect(cairo_t* cr, double x, double y, double w, double h, double r) {
  r = std::min(r, std::min(w, h) / 2);
  cairo_new_sub_path(cr);
  cairo_arc(cr, x + w - r, y + r, r, -M_PI / 2, 0);
  cairo_arc(cr, x + w - r, y + h - r, r, 0, M_PI / 2);
  cairo_arc(cr, x + r, y + h - r, r, M_PI / 2, M_PI);
  cairo_arc(cr, x + r, y + r, r, M_PI, 3 * M_PI / 2);
  cairo_close_path(cr);
}

void SetColor(cairo_t* cr, Rgb c, double alpha) { cairo_set_source_rgba(cr, c.r, c.g, c.b, alpha); }

void SetVerticalGradient(cairo_t* cr, double y0, double y1, Rgb top, Rgb bottom, double alphaTop,
                         double alphaBottom) {
  cairo_pattern_t* p = cairo_pattern_create_linear(0, y0, 0, y1);
  cairo_pattern_add_color_stop_rgba(p, 0, top.r, top.g, top.b, alphaTop);
  cairo_pattern_add_color_stop_rgba(p, 1, bottom.r, bottom.g, bottom.b, alphaBottom);
  cairo_set_source(cr, p);
  cairo_pattern_destroy(p);
}

void GlowStroke(cairo_t* cr, Rgb c, double width, double alpha) {
  cairo_path_t* path = cairo_copy_path(cr);
  for (int i = 4; i >= 1; --i) {
    cairo_new_path(cr);
    cairo_append_path(cr, path);
    SetColor(cr, c, alpha * (0.18 / i));
    cairo_set_line_width(cr, width + i * 2.0);
    cairo_stroke(cr);
  }
  cairo_new_path(cr);
  cairo_append_path(cr, path);
  SetColor(cr, c, alpha);
  cairo_set_line_width(cr, width);
  cairo_stroke(cr);
  cairo_path_destroy(path);
}

namespace {
struct LayoutDeleter {
  void operator()(PangoLayout* l) const { g_object_unref(l); }
};
struct FontDescDeleter {
  void operator()(PangoFontDescription* d) const { pango_font_description_free(d); }
};
}  // namespace

void DrawText(cairo_t* cr, const std::string& text, const char* font, double pixelSize, double x,
              double y, double w, double h, Rgb colour, double alpha, TextAlign align) {
  std::unique_ptr<PangoLayout, LayoutDeleter> layout(pango_cairo_create_layout(cr));
  std::unique_ptr<PangoFontDescription, FontDescDeleter> desc(pango_font_description_from_string(font));
  pango_font_description_set_absolute_size(desc.get(), pixelSize * PANGO_SCALE);
  pango_layout_set_font_description(layout.get(), desc.get());
  pango_layout_set_text(layout.get(), text.c_str(), -1);
  int tw = 0, th = 0;
  pango_layout_get_pixel_size(layout.get(), &tw, &th);
  double tx = x;
  if (align == TextAlign::Center) tx = x + (w - tw) / 2.0;
  if (align == TextAlign::Right) tx = x + w - tw;
  const double ty = y + (h - th) / 2.0;
  cairo_save(cr);
  cairo_move_to(cr, std::round(tx), std::round(ty));
  SetColor(cr, colour, alpha);
  pango_cairo_show_layout(cr, layout.get());
  cairo_restore(cr);
}
