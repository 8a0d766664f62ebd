#pragma once
// Static drawing helpers shared by every control: nine-grid frames, alpha
// transitions, text bounds, image loading, 32-bit bitmaps, rounded
// rectangles, gradients and saving a bitmap.  They draw straight into the
// caller's canvas and cache nothing (the controls cache their images).
// Thread-safety: no shared state; a canvas belongs to one thread at a time.
#include <memory>

#include "toolkit/core/Canvas.h"
#include "toolkit/core/Image.h"
#include "toolkit/core/Resources.h"
#include "toolkit/core/Types.h"

class MRender {
 public:
  // Nine-grid: corners margin x margin unscaled, edges stretched along the
  // sides, the centre stretched over the rest.  Margin 0 stretches the whole
  // source rectangle.
  static void DrawImageFrame(Canvas& graphics, const Image* image, const CRect& dst, int srcX, int srcY,
                             int srcW, int srcH, int margin);
  static void DrawImageFrameMID(Canvas& graphics, const Image* image, const CRect& dst, int srcX, int srcY,
                                int srcW, int srcH, int left, int top, int right, int bottom);

  // Copies srcRect onto dstRect a row (column) at a time, each with one
  // constant alpha running from (100 - a)% to (100 - b)% of 255; returns the
  // last alpha used (0 when nothing was drawn).
  static int DrawVerticalTransition(Canvas& dst, const Canvas& src, const CRect& dstRect, const CRect& srcRect,
                                    int topPercent, int bottomPercent);
  static int DrawHorizontalTransition(Canvas& dst, const Canvas& src, const CRect& dstRect,
                                      const CRect& srcRect, int leftPercent, int rightPercent);

  // The pixel size of a one-line text: outline width rounded up; line height
  // + 1 when whole, + 4 truncated when it has a fraction.
  static CSize GetTextBounds(const TextFont& font, const TextFormat& format, const CString& text);
  static CSize GetTextBounds(const TextFont& font, const CString& text);
  static CSize GetTextBounds(const TextFont& font, const TextFormat& format, const CString& text, int maxWidth);

  // Null when the file is missing or not a picture this toolkit decodes.
  static std::unique_ptr<Image> LoadImageFromFile(const CString& path);
  // Null when the module has no such resource or it does not decode.
  static std::unique_ptr<Image> LoadImageFromIDResource(unsigned id, const CString& type, HINSTANCE module);
  // The best image of an icon file (.ico or .cur); null for other files.
  static std::unique_ptr<Image> LoadIconFromFile(const CString& path);

  // A transparent 32-bit canvas and its pixels (top-down rows); null when
  // the size is not positive or memory is short.
  static std::unique_ptr<Canvas> CreateARGB32Bitmap(int width, int height, uint8_t** bits);
  static void BitBlt(Canvas& dst, int x, int y, int w, int h, const Canvas& src, int sx, int sy);

  static void FillSolidRect(Canvas& dc, const RECT* rect, COLORREF colour);
  static void FillSolidRect(Canvas& dc, int x, int y, int w, int h, COLORREF colour);
  // Nothing for a colour with alpha 0; otherwise a blended fill.
  static void DrawColor(Canvas& dc, const RECT& rect, ARGB colour);
  // Pure black (low 24 bits 0) becomes 0x000001, so it is never taken for
  // "transparent" by the layered-window fix-up.
  static void CheckAlphaColor(DWORD& colour);

  static void DrawRoundRectange(Canvas& graphics, float x, float y, float w, float h, float divisor, ARGB pen,
                                float penWidth, bool fill, ARGB fillColour);
  static void DrawRoundRectange(Canvas& graphics, float x, float y, float w, float h, float radius, ARGB fill);
  // The outline both forms draw, for callers that clip or stroke it.
  static Path RoundRectPath(float x, float y, float w, float h, float rx, float ry);

  // Two-colour linear gradient (from at the top/left, to at the bottom/right);
  // always smooth here, so `steps` only matters to DrawGradientBands.
  static void DrawGradient(Canvas& dc, const RECT& rect, ARGB from, ARGB to, bool vertical, int steps);
  // The approximation by 2^k solid bands (k from steps), for surfaces that
  // cannot draw a smooth gradient.
  static void DrawGradientBands(Canvas& dc, const RECT& rect, ARGB from, ARGB to, bool vertical, int steps);

  // Writes a 24-bit BMP; 1 on success, 0 when the file cannot be written.
  static int SaveBitmapToFile(const Canvas& bitmap, const CString& path);
};
