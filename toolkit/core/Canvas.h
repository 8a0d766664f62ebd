#pragma once
// A drawing surface: 32-bit premultiplied ARGB pixels, top-down rows, in
// memory.  Everything the toolkit draws (controls, cached control images,
// window frames) goes through a Canvas; windows present one to the screen.
// A Canvas belongs to one thread at a time; text calls take a process-wide
// text lock, so measuring from the timer thread is safe.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "toolkit/core/Types.h"

// Font style bits, as the controls store them.
constexpr int kFontStyleRegular = 0;
constexpr int kFontStyleBold = 1;
constexpr int kFontStyleItalic = 2;
constexpr int kFontStyleUnderline = 4;
constexpr int kFontStyleStrikeout = 8;

// A font by family (a name registered with FontRegistry, or an installed
// family), pixel size and style bits.  Sizes are pixels: no DPI scaling.
struct TextFont {
  std::wstring family;
  int pixelSize = 14;
  int style = kFontStyleRegular;
};

enum class TextAlign { Near, Center, Far };

// How a text is laid out in its rectangle.
struct TextFormat {
  TextAlign horizontal = TextAlign::Near;
  TextAlign vertical = TextAlign::Near;
  // Single line: line breaks in the text are kept on one line.  Otherwise
  // the text breaks at its line breaks and, with wrap, at word boundaries.
  bool singleLine = true;
  bool wrap = false;
  // An ellipsis ("…") at the end when the text is wider than the rectangle.
  bool ellipsis = false;
};

// Exact measurements of a laid-out text, in pixels (fractions kept).
struct TextMetrics {
  double inkWidth = 0;     // width of the glyph outlines
  double inkHeight = 0;
  double logicalWidth = 0; // advance width
  double logicalHeight = 0;
  double lineHeight = 0;   // one line of the font
};

// A vector outline: lines and elliptic arcs (angles in degrees, clockwise
// from the x axis as on screen, as the rounded-rectangle helpers give them).
class Path {
 public:
  void MoveTo(double x, double y);
  void LineTo(double x, double y);
  // An arc of the ellipse inscribed in the box (x, y, w, h); a line joins it
  // to the current point.
  void ArcTo(double x, double y, double w, double h, double startDegrees, double sweepDegrees);
  void Close();
  bool IsEmpty() const { return m_ops.empty(); }

  enum class OpKind { Move, Line, Arc, Close };
  struct Op {
    OpKind kind;
    double v[6];
  };
  const std::vector<Op>& Ops() const { return m_ops; }

 private:
  std::vector<Op> m_ops;
};

// The largest picture a decoder accepts (pixels; 4096 x 4096): skins are
// far smaller, and a damaged file must not claim gigabytes.
constexpr uint64_t kMaxDecodedPixels = 4096ull * 4096ull;

class Canvas {
 public:
  Canvas();
  // A transparent canvas; IsValid() is false when the size is not positive
  // or the memory cannot be had.
  Canvas(int width, int height);
  ~Canvas();
  Canvas(Canvas&&) noexcept;
  Canvas& operator=(Canvas&&) noexcept;
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  bool IsValid() const;
  int Width() const;
  int Height() const;
  int Stride() const;  // bytes per row
  // Direct pixel access; call MarkDirty() after writing through it.
  uint8_t* Bits();
  const uint8_t* Bits() const;
  void MarkDirty();

  // The stored (premultiplied) pixel, 0 outside the canvas.
  ARGB GetPixel(int x, int y) const;
  // The pixel with its colour un-premultiplied (what was drawn, for tests
  // and screenshots).
  ARGB GetColor(int x, int y) const;

  // Writes the colour into the rectangle, replacing what was there.
  void ClearRect(const CRect& rect, ARGB colour = 0);
  void Clear(ARGB colour = 0);
  // Paints the colour over the rectangle (alpha-blended).
  void FillRect(const CRect& rect, ARGB colour);
  void FillPath(const Path& path, ARGB colour);
  void StrokePath(const Path& path, ARGB colour, double width);
  // A linear gradient from the first pixel row (or column) in `from` to the
  // last in `to`, each colour with its own alpha, painted over the target.
  void FillLinearGradient(const CRect& rect, ARGB from, ARGB to, bool vertical);

  // Paints the source rectangle of src scaled onto the destination rectangle
  // (bilinear, edges not blurred by neighbouring pixels), with an extra
  // constant alpha.
  void DrawCanvas(const Canvas& src, double dx, double dy, double dw, double dh, int sx, int sy,
                  int sw, int sh, uint8_t alpha = 255);
  // Copies pixels unchanged (no blending, no scaling).
  void CopyFrom(const Canvas& src, int dx, int dy, int w, int h, int sx, int sy);

  // Clipping, nested: every push needs its pop.
  void PushClip(const CRect& rect);
  void PopClip();

  void DrawText(const std::wstring& text, const CRect& rect, const TextFont& font,
                const TextFormat& format, ARGB colour);
  // Measures without drawing; maxWidth < 0 means no limit.
  static TextMetrics MeasureText(const std::wstring& text, const TextFont& font,
                                 const TextFormat& format, int maxWidth = -1);

  // Writes the canvas as a PNG file; false when it cannot be written.
  bool SavePng(const std::string& path) const;
  // Decodes PNG bytes; an invalid canvas when they are not a PNG.
  static Canvas FromPng(const uint8_t* data, size_t size);

  struct Impl;

 private:
  std::unique_ptr<Impl> m_impl;
};
