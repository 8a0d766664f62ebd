#pragma once
// The small value types the toolkit's interfaces are written in: rectangles,
// points and sizes in pixels, colours as COLORREF (0x00BBGGRR) or ARGB
// (0xAARRGGBB), and wide strings.  Plain values, usable from any thread.
#include <algorithm>
#include <cstdint>
#include <string>

using DWORD = uint32_t;
using COLORREF = uint32_t;
using ARGB = uint32_t;
using CString = std::wstring;

constexpr COLORREF RGB(uint8_t r, uint8_t g, uint8_t b) {
  return static_cast<COLORREF>(r) | (static_cast<COLORREF>(g) << 8) | (static_cast<COLORREF>(b) << 16);
}
constexpr uint8_t GetRValue(COLORREF c) { return static_cast<uint8_t>(c & 0xFF); }
constexpr uint8_t GetGValue(COLORREF c) { return static_cast<uint8_t>((c >> 8) & 0xFF); }
constexpr uint8_t GetBValue(COLORREF c) { return static_cast<uint8_t>((c >> 16) & 0xFF); }

// An opaque ARGB colour from a COLORREF, and back.
constexpr ARGB ArgbFromColorRef(COLORREF c, uint8_t alpha = 0xFF) {
  return (static_cast<ARGB>(alpha) << 24) | (static_cast<ARGB>(GetRValue(c)) << 16) |
         (static_cast<ARGB>(GetGValue(c)) << 8) | GetBValue(c);
}
constexpr COLORREF ColorRefFromArgb(ARGB c) {
  return RGB(static_cast<uint8_t>(c >> 16), static_cast<uint8_t>(c >> 8), static_cast<uint8_t>(c));
}

struct CPoint {
  int x = 0;
  int y = 0;
  constexpr CPoint() = default;
  constexpr CPoint(int px, int py) : x(px), y(py) {}
  friend constexpr bool operator==(const CPoint&, const CPoint&) = default;
};

struct CSize {
  int cx = 0;
  int cy = 0;
  constexpr CSize() = default;
  constexpr CSize(int w, int h) : cx(w), cy(h) {}
  friend constexpr bool operator==(const CSize&, const CSize&) = default;
};

// Right and bottom are exclusive, as everywhere in the toolkit.
struct CRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  constexpr CRect() = default;
  constexpr CRect(int l, int t, int r, int b) : left(l), top(t), right(r), bottom(b) {}

  constexpr int Width() const { return right - left; }
  constexpr int Height() const { return bottom - top; }
  constexpr CSize Size() const { return {Width(), Height()}; }
  constexpr CPoint TopLeft() const { return {left, top}; }
  constexpr bool IsRectEmpty() const { return right <= left || bottom <= top; }
  constexpr bool PtInRect(CPoint p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }
  constexpr void SetRect(int l, int t, int r, int b) { left = l; top = t; right = r; bottom = b; }
  constexpr void SetRectEmpty() { left = top = right = bottom = 0; }
  constexpr void OffsetRect(int dx, int dy) { left += dx; right += dx; top += dy; bottom += dy; }
  constexpr void DeflateRect(int dx, int dy) { left += dx; right -= dx; top += dy; bottom -= dy; }
  constexpr void InflateRect(int dx, int dy) { DeflateRect(-dx, -dy); }

  // The overlap of a and b; empty (and false) when they do not meet.
  constexpr bool IntersectRect(const CRect& a, const CRect& b) {
    *this = CRect(std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                  std::min(a.bottom, b.bottom));
    if (IsRectEmpty()) {
      SetRectEmpty();
      return false;
    }
    return true;
  }
  // The smallest rectangle holding both; an empty operand does not count.
  constexpr bool UnionRect(const CRect& a, const CRect& b) {
    if (a.IsRectEmpty()) {
      *this = b;
    } else if (b.IsRectEmpty()) {
      *this = a;
    } else {
      *this = CRect(std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
                    std::max(a.bottom, b.bottom));
    }
    return !IsRectEmpty();
  }
  friend constexpr bool operator==(const CRect&, const CRect&) = default;
};

using RECT = CRect;
using POINT = CPoint;
