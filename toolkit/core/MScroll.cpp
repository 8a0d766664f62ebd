#include "toolkit/core/MScroll.h"

#include <algorithm>

#include "toolkit/core/ControlNotify.h"
#include "toolkit/core/MRender.h"
#include "toolkit/core/PaintManager.h"

namespace {
// The thumb never gets shorter than this, so it stays easy to grab.
constexpr int kMinThumb = 12;
// Where the thumb's body lies inside the bar picture (from either end).
constexpr int kPictureTrackEnd = 20;
}  // namespace

MScroll::MScroll(MObject* parent, unsigned id, CRect rect, int visible, bool vertical)
    : MControlFont(parent, id, rect, L"", visible, 1, 1), m_vertical(vertical) {}

void MScroll::InitControl(PaintManager* manager) {
  m_manager = manager;
  if (!manager) return;
  if (ImgResInfo* info = manager->AddImgResInfo(ImageResource(), L"PNG", 1, 0)) m_barImage = info->image.get();
}

void MScroll::SetRange(int range) {
  m_range = std::max(0, range);
  SetPosition(m_position);
}

bool MScroll::SetPosition(int position) {
  const int clamped = std::clamp(position, 0, m_range);
  if (clamped == m_position) return false;
  m_position = clamped;
  return true;
}

CRect MScroll::GetThumbRect(int visible) const {
  const int length = m_vertical ? m_rect.Height() : m_rect.Width();
  if (length <= 0 || m_range <= 0) return m_rect;
  const int content = std::max(visible, 1);
  int thumb = visible >= m_range ? length : static_cast<int>(static_cast<long long>(length) * content / m_range);
  thumb = std::clamp(thumb, std::min(kMinThumb, length), length);
  const int start = static_cast<int>(static_cast<long long>(length - thumb) * m_position / m_range);
  return m_vertical ? CRect(m_rect.left, m_rect.top + start, m_rect.right, m_rect.top + start + thumb)
                    : CRect(m_rect.left + start, m_rect.top, m_rect.left + start + thumb, m_rect.bottom);
}

void MScroll::DrawControl(Canvas& dc, CRect clip) {
  (void)clip;
  if (m_rect.IsRectEmpty()) return;
  const CRect thumb = GetThumbRect(m_visibleLength);
  if (!m_barImage) {
    dc.FillRect(m_rect, 0xFF1A2533);
    dc.FillRect(thumb, 0xFF4A6482);
    return;
  }
  const int w = m_barImage->GetWidth();
  const int h = m_barImage->GetHeight();
  const Canvas& picture = m_barImage->GetFrame(0);
  // The bar is drawn from the strip across the picture's middle that is as
  // thick as the bar itself.
  if (m_vertical) {
    const int across = std::min(w, m_rect.Width());
    const int sx = (w - across) / 2;
    MRender::DrawImageFrameMID(dc, m_barImage, m_rect, sx, 0, across, h, 0, kPictureTrackEnd / 2, 0,
                               kPictureTrackEnd / 2);
    const int body = std::max(1, h - 2 * kPictureTrackEnd);
    dc.DrawCanvas(picture, thumb.left, thumb.top, thumb.Width(), thumb.Height(), sx, kPictureTrackEnd, across, body);
  } else {
    const int across = std::min(h, m_rect.Height());
    const int sy = (h - across) / 2;
    const int end = std::min(kPictureTrackEnd, w / 4);
    MRender::DrawImageFrameMID(dc, m_barImage, m_rect, 0, sy, w, across, end / 2, 0, end / 2, 0);
    const int body = std::max(1, w - 2 * end);
    dc.DrawCanvas(picture, thumb.left, thumb.top, thumb.Width(), thumb.Height(), end, sy, body, across);
  }
}

int MScroll::OnControlLButtonDown(unsigned flags, CPoint point) {
  (void)flags;
  if (!m_rect.PtInRect(point) || m_range <= 0) return 0;
  const CRect thumb = GetThumbRect(m_visibleLength);
  if (thumb.PtInRect(point)) {
    m_dragging = true;
    m_dragStart = m_vertical ? point.y : point.x;
    m_dragPosition = m_position;
    return 1;
  }
  // A press on the track pages towards the press.
  const bool before = m_vertical ? point.y < thumb.top : point.x < thumb.left;
  const int page = std::max(1, m_range / 4);
  if (SetPosition(m_position + (before ? -page : page))) {
    UpdateControl(1);
    SendMessageW(CN_POSITION, static_cast<unsigned>(m_position), 0);
  }
  return 1;
}

int MScroll::OnControlLButtonUp(unsigned flags, CPoint point) {
  (void)flags;
  (void)point;
  const bool was = m_dragging;
  m_dragging = false;
  return was ? 1 : 0;
}

int MScroll::OnControlMouseMove(unsigned flags, CPoint point) {
  (void)flags;
  if (!m_dragging) return m_rect.PtInRect(point) ? 1 : 0;
  const int length = m_vertical ? m_rect.Height() : m_rect.Width();
  const CRect thumb = GetThumbRect(m_visibleLength);
  const int travel = length - (m_vertical ? thumb.Height() : thumb.Width());
  if (travel <= 0) return 1;
  const int moved = (m_vertical ? point.y : point.x) - m_dragStart;
  const int position = m_dragPosition + static_cast<int>(static_cast<long long>(moved) * m_range / travel);
  if (SetPosition(position)) {
    UpdateControl(1);
    SendMessageW(CN_POSITION, static_cast<unsigned>(m_position), 0);
  }
  return 1;
}
