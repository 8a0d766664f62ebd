// PaintManager: painting, redraw requests and invalidation.
#include <algorithm>

#include "platform/UiLoop.h"
#include "toolkit/core/MControl.h"
#include "toolkit/core/MRender.h"
#include "toolkit/core/PaintManager.h"

namespace {
bool Intersects(const CRect& a, const CRect& b) {
  CRect overlap;
  return overlap.IntersectRect(a, b);
}
}  // namespace

void PaintManager::FixLayeredAlpha(Canvas& canvas, CRect rect) {
  CRect r;
  if (!r.IntersectRect(rect, CRect(0, 0, canvas.Width(), canvas.Height()))) return;
  uint8_t* bits = canvas.Bits();
  const int stride = canvas.Stride();
  for (int y = r.top; y < r.bottom; ++y) {
    uint32_t* row = reinterpret_cast<uint32_t*>(bits + static_cast<size_t>(y) * stride);
    for (int x = r.left; x < r.right; ++x) {
      const uint32_t p = row[x];
      if ((p >> 24) == 0 && (p & 0x00FFFFFF) != 0) row[x] = p | 0xFF000000;
    }
  }
  canvas.MarkDirty();
}

void PaintManager::PaintBackground(Canvas& canvas, CRect client) {
  if (m_backImage) {
    if (m_backMode == BACK_MODE_IMAGE) {
      const int w = m_backImage->GetWidth();
      const int h = m_backImage->GetHeight();
      canvas.DrawCanvas(m_backImage->GetFrame(0), 0, 0, w, h, 0, 0, w, h);
    } else {
      MRender::DrawImageFrame(canvas, m_backImage.get(), client, 0, 0, m_backImage->GetWidth(),
                              m_backImage->GetHeight(), m_frameMargin);
    }
    return;
  }
  canvas.ClearRect(client, ArgbFromColorRef(m_borderColour, 254));
  CRect inside = client;
  inside.DeflateRect(1, 1);
  canvas.ClearRect(inside, ArgbFromColorRef(m_backColour, 254));
}

int PaintManager::OnPaint(CRect update) {
  if (!m_window || !m_window->Exists() || m_window->IsIconic()) return 0;
  const CRect client = GetClientRect();
  CRect dirty;
  if (!dirty.IntersectRect(update, client)) return 0;
  const int w = client.Width();
  const int h = client.Height();
  // The off-screen image is kept between paints (same size) rather than
  // made anew each time; everything in the dirty part is redrawn.
  if (!m_image.IsValid() || m_image.Width() != w || m_image.Height() != h) m_image = Canvas(w, h);
  if (!m_image.IsValid()) return 0;
  const bool layered = m_layered != 0;
  if (layered) dirty = client;
  const CRect clip = dirty;
  m_image.PushClip(clip);
  // What was painted last time must not show through a background picture
  // with transparent parts.
  m_image.ClearRect(dirty, 0);
  PaintBackground(m_image, client);
  {
    std::scoped_lock lock(m_areaLock);
    for (MControl* area : m_areas) area->Draw(m_image, clip);
  }
  {
    std::scoped_lock lock(m_controlLock);
    for (MControl* control : m_controls) control->Draw(m_image, clip);
  }
  m_image.PopClip();
  if (layered) FixLayeredAlpha(m_image, dirty);
  m_window->Present(m_image.Bits(), m_image.Stride(), w, h, {dirty.left, dirty.top, dirty.right, dirty.bottom});
  return 1;
}

void PaintManager::Invalidate() {
  if (!m_window) return;
  if (!OnUiThread()) {
    InvalidateRect(CRect(0, 0, 1 << 20, 1 << 20), 1);
    return;
  }
  if (m_window->Exists()) m_window->Invalidate(nullptr);
}

void PaintManager::InvalidateRect(CRect rect, int erase) {
  (void)erase;
  if (!m_window) return;
  if (!OnUiThread()) {
    std::scoped_lock lock(m_deferredLock);
    m_deferred.push_back({rect, 0, nullptr});
    if (!m_deferredPosted) {
      m_deferredPosted = true;
      m_window->PostMessage(kMsgDeferredUpdate, 0, 0);
    }
    return;
  }
  if (!m_window->Exists()) return;
  const platform::Rect r{rect.left, rect.top, rect.right, rect.bottom};
  m_window->Invalidate(&r);
}

long PaintManager::OnControlUpdate(CRect rect, int flag, MControl* control) {
  if (!control) return 0;
  if (flag) control->SetUpdate(0, m_backColour);
  if (!OnUiThread()) {
    // The lists belong to the UI thread: the walk and the invalidation
    // happen there, once the request arrives.
    std::scoped_lock lock(m_deferredLock);
    m_deferred.push_back({rect, flag, control});
    if (!m_deferredPosted && m_window) {
      m_deferredPosted = true;
      m_window->PostMessage(kMsgDeferredUpdate, 0, 0);
    }
    return 0;
  }
  UpdateOnUiThread(rect, flag, control);
  return 0;
}

void PaintManager::UpdateOnUiThread(CRect rect, int flag, MControl* control) {
  (void)flag;
  CRect dirty = rect;
  if (m_initialised) {
    bool passed = false;
    auto walk = [&](const std::vector<MControl*>& list) {
      for (MControl* c : list) {
        if (passed && c->IsVisible() && Intersects(c->GetRect(), rect)) {
          c->SetUpdate(0, m_backColour);
          dirty.UnionRect(dirty, c->GetRect());
        }
        if (c == control) passed = true;
      }
    };
    std::scoped_lock lock(m_areaLock, m_controlLock);
    walk(m_areas);
    walk(m_controls);
  }
  if (m_layered) {
    Invalidate();
    return;
  }
  InvalidateRect(dirty, 0);
}

void PaintManager::RunDeferredUpdates() {
  std::vector<DeferredUpdate> updates;
  {
    std::scoped_lock lock(m_deferredLock);
    updates.swap(m_deferred);
    m_deferredPosted = false;
  }
  for (const DeferredUpdate& u : updates) {
    // A control may have gone since it asked; its rectangle is still
    // repainted.
    if (u.control && HasControl(u.control)) {
      UpdateOnUiThread(u.rect, u.flag, u.control);
    } else {
      InvalidateRect(u.rect, 0);
    }
  }
}
