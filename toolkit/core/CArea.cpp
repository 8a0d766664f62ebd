#include "toolkit/core/CArea.h"

#include "toolkit/core/MRender.h"

CArea::CArea(MObject* parent, unsigned id, CRect rect, int visible, int enabled)
    : MControl(parent, id, rect, visible, enabled, 1) {}

void CArea::DrawControl(Canvas& dc, CRect clip) {
  (void)clip;
  const int w = m_rect.Width();
  const int h = m_rect.Height();
  if (w <= 0 || h <= 0) return;
  if (!GetUpdate() || !m_cache) {
    Canvas& cache = UpdateMemDC(dc, w, h);
    // The area composes over what was drawn before it.
    cache.CopyFrom(dc, 0, 0, w, h, m_rect.left, m_rect.top);
    const CRect whole(0, 0, w, h);
    if (m_startTransparency != 0 || m_endTransparency != 0) {
      Canvas fill(w, h);
      fill.Clear(ArgbFromColorRef(m_fillColour));
      if (m_vertical) {
        MRender::DrawVerticalTransition(cache, fill, whole, whole, m_startTransparency, m_endTransparency);
      } else {
        MRender::DrawHorizontalTransition(cache, fill, whole, whole, m_startTransparency, m_endTransparency);
      }
    } else if (m_frame) {
      cache.ClearRect(whole, m_frameColour);
      cache.ClearRect(CRect(1, 1, w - 1, h - 1), ArgbFromColorRef(m_fillColour));
    } else {
      cache.ClearRect(whole, ArgbFromColorRef(m_fillColour));
    }
  }
  dc.CopyFrom(*m_cache, m_rect.left, m_rect.top, w, h, 0, 0);
}

void CArea::SetTransparent(int startPercent, int endPercent, DWORD colour) {
  m_startTransparency = startPercent;
  m_endTransparency = endPercent;
  m_fillColour = colour;
  if (m_visible) UpdateControl(1);
}

void CArea::SetFrame(int on, ARGB colour, int unused) {
  (void)unused;
  m_frame = on;
  m_frameColour = colour;
  if (m_visible) UpdateControl(1);
}
