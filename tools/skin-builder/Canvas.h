#pragma once
// A cairo ARGB32 picture with its drawing context: the one native resource
// the skin builder works with.  Move-only; released in the destructor.
#include <cairo.h>

#include <string>

#include "Theme.h"

class Canvas {
 public:
  Canvas(int width, int height);
  ~Canvas();
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  cairo_t* Cr() const { return m_cr; }
  cairo_surface_t* Surface() const { return m_surface; }
  int Width() const { return m_width; }
  int Height() const { return m_height; }

  // Writes the picture as PNG, creating missing folders; false on failure.
  bool SavePng(const std::string& path) const;

 private:
  int m_width;
  int m_height;
  cairo_surface_t* m_surface;
  cairo_t* m_cr;
};

// Path and paint helpers shared by every picture.
void RoundedRect(cairo_t* cr, double x, double y, double w, double h, double r);
void SetColor(cairo_t* cr, Rgb c, double alpha = 1.0);
// A vertical gradient from `top` at y0 to `bottom` at y1, as the source.
void SetVerticalGradient(cairo_t* cr, double y0, double y1, Rgb top, Rgb bottom,
                         double alphaTop = 1.0, double alphaBottom = 1.0);
// Soft light around the current path: strokes of falling alpha.
void GlowStroke(cairo_t* cr, Rgb c, double width, double alpha);

enum class TextAlign { Left, Center, Right };
// Draws one line of text centred vertically in the box; `font` is a Pango
// description such as "Open Sans Semibold".
void DrawText(cairo_t* cr, const std::string& text, const char* font, double pixelSize,
              double x, double y, double w, double h, Rgb colour, double alpha = 1.0,
              TextAlign align = TextAlign::Center);

// Creates every folder of `path`'s parent.
bool EnsureParentFolder(const std::string& path);
