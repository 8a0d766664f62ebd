#pragma once
// The cairo side of a Canvas; included only by the toolkit's drawing files.
#include <cairo.h>

#include "toolkit/core/Canvas.h"

struct Canvas::Impl {
  cairo_surface_t* surface = nullptr;
  cairo_t* cr = nullptr;
  int clipDepth = 0;

  ~Impl() {
    if (cr) cairo_destroy(cr);
    if (surface) cairo_surface_destroy(surface);
  }
};

namespace canvas_detail {
inline void SetSourceArgb(cairo_t* cr, ARGB c) {
  cairo_set_source_rgba(cr, ((c >> 16) & 0xFF) / 255.0, ((c >> 8) & 0xFF) / 255.0, (c & 0xFF) / 255.0,
                        ((c >> 24) & 0xFF) / 255.0);
}
}  // namespace canvas_detail
