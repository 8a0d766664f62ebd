#include "toolkit/core/MRender.h"

#include <cmath>
#include <cstdio>
#include <cwctype>
#include <fstream>
#include <iterator>
#include <vector>

#include "platform/TextConvert.h"
#include "toolkit/core/ImageCodec.h"

namespace {

// Larger files are not pictures the skins use; refusing them keeps a wrong
// path from eating memory.
constexpr std::streamoff kMaxImageFileBytes = 64 * 1024 * 1024;

bool ReadFileBytes(const CString& path, std::vector<uint8_t>& bytes) {
  std::ifstream in(platform::ToUtf8(path), std::ios::binary);
  if (!in) return false;
  in.seekg(0, std::ios::end);
  const std::streamoff size = in.tellg();
  if (size <= 0 || size > kMaxImageFileBytes) return false;
  in.seekg(0);
  bytes.resize(static_cast<size_t>(size));
  return static_cast<bool>(in.read(reinterpret_cast<char*>(bytes.data()), size));
}

// One piece of a nine-grid; pieces of no size are skipped.
void DrawPiece(Canvas& g, const Canvas& src, int dx, int dy, int dw, int dh, int sx, int sy, int sw, int sh) {
  if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0) return;
  g.DrawCanvas(src, dx, dy, dw, dh, sx, sy, sw, sh);
}

uint8_t BlendChannel(uint32_t s, uint32_t d, uint32_t a) { return static_cast<uint8_t>((s * a + d * (255 - a) + 127) / 255); }

// A constant-alpha blend of one run of pixels (source alpha not consulted),
// all four bytes of every pixel.
void BlendRun(Canvas& dst, const Canvas& src, int dx, int dy, int sx, int sy, int length, bool vertical,
              uint32_t alpha) {
  uint8_t* dbits = dst.Bits();
  const uint8_t* sbits = src.Bits();
  for (int k = 0; k < length; ++k) {
    const int px = vertical ? dx : dx + k, py = vertical ? dy + k : dy;
    const int qx = vertical ? sx : sx + k, qy = vertical ? sy + k : sy;
    if (px < 0 || py < 0 || px >= dst.Width() || py >= dst.Height()) continue;
    if (qx < 0 || qy < 0 || qx >= src.Width() || qy >= src.Height()) continue;
    uint8_t* d = dbits + static_cast<size_t>(py) * dst.Stride() + static_cast<size_t>(px) * 4;
    const uint8_t* s = sbits + static_cast<size_t>(qy) * src.Stride() + static_cast<size_t>(qx) * 4;
    for (int c = 0; c < 4; ++c) d[c] = BlendChannel(s[c], d[c], alpha);
  }
}

// Rows (vertical) or columns of srcRect onto dstRect with the alpha ramp.
int DrawTransition(Canvas& dst, const Canvas& src, const CRect& dstRect, const CRect& srcRect, int a, int b,
                   bool vertical) {
  const int n = vertical ? dstRect.Height() : dstRect.Width();
  const int runLength = vertical ? std::min(dstRect.Width(), srcRect.Width())
                                 : std::min(dstRect.Height(), srcRect.Height());
  if (!dst.IsValid() || !src.IsValid() || n <= 0 || runLength <= 0) return 0;
  const double s = 255.0 - std::min(a, b) * 255.0 / 100.0;
  const double f = (100.0 - std::max(a, b)) * 255.0 / 100.0;
  const double g = (static_cast<int>(s) - static_cast<int>(f)) / static_cast<double>(n);
  int alpha = 0;
  for (int i = 0; i < n; ++i) {
    const double value = a < b ? static_cast<int>(s) - i * g : i * g + static_cast<int>(f);
    alpha = static_cast<int>(value) & 0xFF;
    if (vertical) {
      BlendRun(dst, src, dstRect.left, dstRect.top + i, srcRect.left, srcRect.top + i, runLength, false,
               static_cast<uint32_t>(alpha));
    } else {
      BlendRun(dst, src, dstRect.left + i, dstRect.top, srcRect.left + i, srcRect.top, runLength, true,
               static_cast<uint32_t>(alpha));
    }
  }
  dst.MarkDirty();
  return alpha;
}

bool HasIconExtension(const CString& path) {
  const size_t dot = path.rfind(L'.');
  if (dot == CString::npos) return false;
  CString ext = path.substr(dot + 1);
  for (wchar_t& c : ext) c = static_cast<wchar_t>(std::towlower(c));
  return ext == L"ico" || ext == L"cur";
}

ARGB Interpolate(ARGB from, ARGB to, double t) {
  ARGB out = 0;
  for (int shift = 0; shift < 32; shift += 8) {
    const double a = (from >> shift) & 0xFF, b = (to >> shift) & 0xFF;
    out |= static_cast<ARGB>(std::lround(a + (b - a) * t)) << shift;
  }
  return out;
}

}  // namespace

void MRender::DrawImageFrame(Canvas& graphics, const Image* image, const CRect& dst, int srcX, int srcY,
                             int srcW, int srcH, int margin) {
  DrawImageFrameMID(graphics, image, dst, srcX, srcY, srcW, srcH, margin, margin, margin, margin);
}

void MRender::DrawImageFrameMID(Canvas& graphics, const Image* image, const CRect& dst, int srcX, int srcY,
                                int srcW, int srcH, int left, int top, int right, int bottom) {
  if (!image || dst.IsRectEmpty() || srcW <= 0 || srcH <= 0) return;
  if (left < 0 || top < 0 || right < 0 || bottom < 0) return;
  const Canvas& src = image->GetFrame(0);
  const int sx[4] = {srcX, srcX + left, srcX + srcW - right, srcX + srcW};
  const int sy[4] = {srcY, srcY + top, srcY + srcH - bottom, srcY + srcH};
  const int dx[4] = {dst.left, dst.left + left, dst.right - right, dst.right};
  const int dy[4] = {dst.top, dst.top + top, dst.bottom - bottom, dst.bottom};
  for (int row = 0; row < 3; ++row) {
    for (int col = 0; col < 3; ++col) {
      DrawPiece(graphics, src, dx[col], dy[row], dx[col + 1] - dx[col], dy[row + 1] - dy[row], sx[col], sy[row],
                sx[col + 1] - sx[col], sy[row + 1] - sy[row]);
    }
  }
}

int MRender::DrawVerticalTransition(Canvas& dst, const Canvas& src, const CRect& dstRect, const CRect& srcRect,
                                    int topPercent, int bottomPercent) {
  return DrawTransition(dst, src, dstRect, srcRect, topPercent, bottomPercent, true);
}

int MRender::DrawHorizontalTransition(Canvas& dst, const Canvas& src, const CRect& dstRect,
                                      const CRect& srcRect, int leftPercent, int rightPercent) {
  return DrawTransition(dst, src, dstRect, srcRect, leftPercent, rightPercent, false);
}

CSize MRender::GetTextBounds(const TextFont& font, const TextFormat& format, const CString& text, int maxWidth) {
  const TextMetrics m = Canvas::MeasureText(text, font, format, maxWidth);
  const int width = static_cast<int>(std::ceil(m.inkWidth - 1e-9));
  const double line = m.lineHeight;
  const bool whole = std::abs(line - std::round(line)) < 1e-6;
  const int height = whole ? static_cast<int>(std::round(line)) + 1 : static_cast<int>(line + 4);
  return {std::max(0, width), height};
}

CSize MRender::GetTextBounds(const TextFont& font, const TextFormat& format, const CString& text) {
  return GetTextBounds(font, format, text, -1);
}

CSize MRender::GetTextBounds(const TextFont& font, const CString& text) {
  return GetTextBounds(font, TextFormat{}, text, -1);
}

std::unique_ptr<Image> MRender::LoadImageFromFile(const CString& path) {
  std::vector<uint8_t> bytes;
  if (!ReadFileBytes(path, bytes)) return nullptr;
  return ImageCodec::Decode(bytes.data(), bytes.size());
}

std::unique_ptr<Image> MRender::LoadImageFromIDResource(unsigned id, const CString& type, HINSTANCE module) {
  if (!module) return nullptr;
  const ResourceEntry* entry = module->Find(id, type);
  if (!entry) return nullptr;
  return ImageCodec::Decode(entry->data, entry->size);
}

std::unique_ptr<Image> MRender::LoadIconFromFile(const CString& path) {
  if (!HasIconExtension(path)) return nullptr;
  std::vector<uint8_t> bytes;
  if (!ReadFileBytes(path, bytes)) return nullptr;
  return ImageCodec::DecodeIcon(bytes.data(), bytes.size());
}

std::unique_ptr<Canvas> MRender::CreateARGB32Bitmap(int width, int height, uint8_t** bits) {
  auto canvas = std::make_unique<Canvas>(width, height);
  if (!canvas->IsValid()) {
    if (bits) *bits = nullptr;
    return nullptr;
  }
  if (bits) *bits = canvas->Bits();
  return canvas;
}

void MRender::BitBlt(Canvas& dst, int x, int y, int w, int h, const Canvas& src, int sx, int sy) {
  dst.CopyFrom(src, x, y, w, h, sx, sy);
}

void MRender::FillSolidRect(Canvas& dc, const RECT* rect, COLORREF colour) {
  if (rect) dc.ClearRect(*rect, ArgbFromColorRef(colour));
}

void MRender::FillSolidRect(Canvas& dc, int x, int y, int w, int h, COLORREF colour) {
  dc.ClearRect(CRect(x, y, x + w, y + h), ArgbFromColorRef(colour));
}

void MRender::DrawColor(Canvas& dc, const RECT& rect, ARGB colour) {
  if ((colour >> 24) == 0) return;
  dc.FillRect(rect, colour);
}

void MRender::CheckAlphaColor(DWORD& colour) {
  if ((colour & 0x00FFFFFF) == 0) colour += 1;
}

Path MRender::RoundRectPath(float x, float y, float w, float h, float rx, float ry) {
  Path path;
  path.MoveTo(x + rx, y);
  path.LineTo(x + w - rx, y);
  path.ArcTo(x + w - 2 * rx, y, 2 * rx, 2 * ry, 270, 90);
  path.LineTo(x + w, y + h - ry);
  path.ArcTo(x + w - 2 * rx, y + h - 2 * ry, 2 * rx, 2 * ry, 0, 90);
  path.LineTo(x + rx, y + h);
  path.ArcTo(x, y + h - 2 * ry, 2 * rx, 2 * ry, 90, 90);
  path.LineTo(x, y + ry);
  path.ArcTo(x, y, 2 * rx, 2 * ry, 180, 90);
  path.Close();
  return path;
}

void MRender::DrawRoundRectange(Canvas& graphics, float x, float y, float w, float h, float divisor, ARGB pen,
                                float penWidth, bool fill, ARGB fillColour) {
  // A divisor of 0 would give infinite radii; such a rectangle has none.
  float rx = divisor > 0 ? w / divisor * 0.5f : 0;
  float ry = divisor > 0 ? h / divisor * 0.5f : 0;
  if (std::abs(rx - ry) > 10) rx = ry = std::min(rx, ry);
  const Path path = RoundRectPath(x, y, w, h, rx, ry);
  if (fill) graphics.FillPath(path, fillColour);
  graphics.StrokePath(path, pen, penWidth);
}

void MRender::DrawRoundRectange(Canvas& graphics, float x, float y, float w, float h, float radius, ARGB fill) {
  graphics.FillPath(RoundRectPath(x, y, w, h, radius, radius), fill);
}

void MRender::DrawGradient(Canvas& dc, const RECT& rect, ARGB from, ARGB to, bool vertical,
                           [[maybe_unused]] int steps) {
  const uint32_t alpha = (((from >> 24) & 0xFF) + ((to >> 24) & 0xFF)) / 2;
  if ((alpha & 0xFF) == 0 || rect.IsRectEmpty()) return;
  if (!dc.IsValid()) return;
  if (alpha == 255) {
    dc.FillLinearGradient(rect, from | 0xFF000000u, to | 0xFF000000u, vertical);
    return;
  }
  // Each end keeps its own alpha and the result is blended once.
  dc.FillLinearGradient(rect, from, to, vertical);
}

void MRender::DrawGradientBands(Canvas& dc, const RECT& rect, ARGB from, ARGB to, bool vertical, int steps) {
  if (rect.IsRectEmpty()) return;
  const int k = steps < 4 ? 1 : steps < 8 ? 2 : steps < 16 ? 3 : steps < 32 ? 4 : steps < 64 ? 5 : 6;
  const int bands = 1 << k;
  const int length = vertical ? rect.Height() : rect.Width();
  for (int i = 0; i < bands; ++i) {
    const int begin = length * i / bands, end = length * (i + 1) / bands;
    if (end <= begin) continue;
    const ARGB colour = Interpolate(from, to, static_cast<double>(i) / (bands - 1));
    const CRect band = vertical ? CRect(rect.left, rect.top + begin, rect.right, rect.top + end)
                                : CRect(rect.left + begin, rect.top, rect.left + end, rect.bottom);
    if ((colour >> 24) == 255) {
      dc.ClearRect(band, colour);
    } else {
      dc.FillRect(band, colour);
    }
  }
}

int MRender::SaveBitmapToFile(const Canvas& bitmap, const CString& path) {
  if (!bitmap.IsValid()) return 0;
  const int width = bitmap.Width(), height = bitmap.Height();
  constexpr int kBits = 24;
  const size_t stride = ((static_cast<size_t>(kBits) * width + 31) / 32) * 4;
  const size_t pixelBytes = stride * height;
  std::vector<uint8_t> file(54 + pixelBytes, 0);
  auto put16 = [&file](size_t at, uint32_t v) {
    file[at] = v & 0xFF;
    file[at + 1] = (v >> 8) & 0xFF;
  };
  auto put32 = [&file](size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) file[at + i] = (v >> (8 * i)) & 0xFF;
  };
  file[0] = 'B';
  file[1] = 'M';
  put32(2, static_cast<uint32_t>(54 + pixelBytes));
  put32(10, 54);
  put32(14, 40);
  put32(18, static_cast<uint32_t>(width));
  put32(22, static_cast<uint32_t>(height));
  put16(26, 1);
  put16(28, kBits);
  const uint8_t* bits = bitmap.Bits();
  for (int y = 0; y < height; ++y) {
    const uint8_t* in = bits + static_cast<size_t>(height - 1 - y) * bitmap.Stride();
    uint8_t* out = file.data() + 54 + stride * y;
    for (int x = 0; x < width; ++x) {
      out[x * 3] = in[x * 4];
      out[x * 3 + 1] = in[x * 4 + 1];
      out[x * 3 + 2] = in[x * 4 + 2];
    }
  }
  const std::string name = platform::ToUtf8(path);
  FILE* out = std::fopen(name.c_str(), "wb");
  if (!out) return 0;
  const bool written = std::fwrite(file.data(), 1, file.size(), out) == file.size();
  const bool closed = std::fclose(out) == 0;
  if (!written || !closed) {
    // A half-written bitmap is worse than none.
    std::remove(name.c_str());
    return 0;
  }
  return 1;
}
