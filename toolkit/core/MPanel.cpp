#include "toolkit/core/MPanel.h"

#include <algorithm>

#include "toolkit/core/CScrollHorizontal.h"
#include "toolkit/core/CScrollVertical.h"
#include "toolkit/core/ControlFactory.h"
#include "toolkit/core/ControlNotify.h"
#include "toolkit/core/PaintManager.h"

namespace {
bool IsBar(const MControl* control) {
  const unsigned id = control->GetControlID();
  return id == 1 || id == 2;
}
}  // namespace

MPanel::MPanel(MObject* parent, unsigned id, CRect rect, int visible)
    : MControlFont(parent, id, rect, L"", visible, 1, 1) {
  m_vertical = new CScrollVertical(this, 1, CRect(rect.right - m_barThickness, rect.top, rect.right, rect.bottom), 0);
  m_horizontal =
      new CScrollHorizontal(this, 2, CRect(rect.left, rect.bottom - m_barThickness, rect.right, rect.bottom), 0);
  AddChild(m_vertical, 1);
  AddChild(m_horizontal, 1);
}

MPanel::~MPanel() = default;

void MPanel::InitControl(PaintManager* manager) {
  m_initialised = 1;
  if (!m_manager) m_manager = manager;
  m_vertical->SetManager(manager);
  m_vertical->InitControl(manager);
  m_horizontal->SetManager(manager);
  m_horizontal->InitControl(manager);
}

void MPanel::DrawControl(Canvas& dc, CRect clip) {
  (void)dc;
  (void)clip;
}

bool MPanel::ContentOverflows() const {
  return m_virtualHeight > m_rect.Height() || m_virtualWidth > m_rect.Width();
}

int MPanel::DrawSubControls(Canvas& dc, CRect clip) {
  if (!m_enableScroll || !ContentOverflows()) return MControl::DrawSubControls(dc, clip);
  return 1;
}

CPoint MPanel::GetScrollOffset() const {
  if (!m_enableScroll || !ContentOverflows()) return {};
  CPoint offset;
  const int vRange = m_vertical->GetRange();
  if (vRange > 0 && m_virtualHeight > m_rect.Height()) {
    offset.y = static_cast<int>(static_cast<long long>(m_virtualHeight - m_rect.Height()) *
                                m_vertical->GetPosition() / vRange);
  }
  const int hRange = m_horizontal->GetRange();
  if (hRange > 0 && m_virtualWidth > m_rect.Width()) {
    offset.x = static_cast<int>(static_cast<long long>(m_virtualWidth - m_rect.Width()) *
                                m_horizontal->GetPosition() / hRange);
  }
  return offset;
}

int MPanel::OnMousePointChange(CPoint& point) {
  if (!m_enableScroll || !ContentOverflows()) return 0;
  const CPoint offset = GetScrollOffset();
  point.x += offset.x;
  point.y += offset.y;
  return 1;
}

int MPanel::OnControlScroll(int kind, unsigned down, CPoint point) {
  (void)kind;
  (void)point;
  if (!m_enableScroll || m_virtualHeight < m_rect.Height()) return 0;
  const int step = m_vertical->GetStep();
  const bool changed = m_vertical->SetPosition(m_vertical->GetPosition() + (down == 1 ? step : -step));
  m_vertical->SetRange(m_vertical->GetRange());
  if (changed) {
    UpdateControl(1);
    m_vertical->UpdateControl(1);
  }
  return 1;
}

long MPanel::OnWindowMessage(unsigned msg, unsigned wParam, long lParam) {
  std::scoped_lock lock(m_childrenLock);
  for (MControl* child : m_children) {
    if (child->OnWindowMessage(msg, wParam, lParam)) return 1;
  }
  return 0;
}

long MPanel::OnMessage(unsigned id, unsigned code, unsigned wParam, long lParam) {
  // A bar that moved changes what the panel shows.
  if ((id == 1 || id == 2) && code == CN_POSITION) UpdateControl(1);
  return m_parent ? m_parent->OnBaseMessage(id, code, wParam, lParam) : 0;
}

long MPanel::OnBaseMessage(unsigned id, unsigned code, unsigned wParam, long lParam) {
  return OnMessage(id, code, wParam, lParam);
}

long MPanel::OnControlUpdate(CRect rect, int flag, MControl* control) {
  if (!control) return 0;
  if (flag) control->SetUpdate(0, 0);
  CRect dirty = rect;
  if (m_initialised) {
    std::scoped_lock lock(m_childrenLock);
    bool passed = false;
    for (MControl* child : m_children) {
      if (passed && child->IsVisible()) {
        CRect overlap;
        if (overlap.IntersectRect(child->GetRect(), rect)) {
          child->SetUpdate(0, 0);
          dirty.UnionRect(dirty, child->GetRect());
        }
      }
      if (child == control) passed = true;
    }
  }
  if (!IsBar(control)) {
    // Content shows moved up by the offset; a scrolled panel re-renders
    // what it draws itself.
    const CPoint offset = GetScrollOffset();
    dirty.OffsetRect(-offset.x, -offset.y);
    if (flag && (offset.x || offset.y || ContentOverflows())) m_cacheValid = 0;
  }
  CRect visible;
  if (!visible.IntersectRect(dirty, m_rect)) return 0;
  InvalidateRect(&visible, 0);
  return 0;
}

void MPanel::SetControlRect(CRect rect) {
  m_rect = rect;
  m_virtualHeight = 0;
  m_virtualWidth = 0;
  {
    std::scoped_lock lock(m_childrenLock);
    for (MControl* child : m_children) {
      if (child == m_vertical) {
        child->SetRect(CRect(rect.right - m_barThickness, rect.top, rect.right, rect.bottom));
      } else if (child == m_horizontal) {
        child->SetRect(CRect(rect.left, rect.bottom - m_barThickness, rect.right, rect.bottom));
      } else {
        const CRect r = child->GetRect();
        m_virtualHeight = std::max(m_virtualHeight, r.bottom - rect.top);
        m_virtualWidth = std::max(m_virtualWidth, r.right - rect.left);
      }
    }
  }
  m_vertical->SetVisible(m_virtualHeight > rect.Height() ? 1 : 0);
  m_horizontal->SetVisible(m_virtualWidth > rect.Width() ? 1 : 0);
  m_vertical->SetVisibleLength(rect.Height());
  m_horizontal->SetVisibleLength(rect.Width());
  m_vertical->SetRange(m_virtualHeight);
  m_horizontal->SetRange(m_virtualWidth);
  if (m_vertical->GetResetFlag()) m_vertical->SetPosition(0);
  if (m_horizontal->GetResetFlag()) m_horizontal->SetPosition(0);
}

void MPanel::SetControlEnabled(int enabled) {
  m_enabled = enabled;
  std::scoped_lock lock(m_childrenLock);
  for (MControl* child : m_children) child->SetEnabled(enabled);
}

MControl* MPanel::CreateArea(const wchar_t* className, unsigned id, CRect rect, const wchar_t* title, int visible,
                             int enabled) {
  return CreateControl(0, this, className, id, rect, title, visible, enabled);
}

MControl* MPanel::CreateControl(unsigned kind, MObject* parent, const wchar_t* className, unsigned id, CRect rect,
                                const wchar_t* title, int visible, int enabled) {
  MControl* control = ControlFactory::Create(ControlFactory::Host::Panel, parent, className, id, rect, title,
                                             visible, enabled);
  if (!control) return nullptr;
  if (m_manager) {
    control->SetManager(m_manager);
    control->InitControl(m_manager);
  }
  if (kind == 0 || kind == 1) AddChild(control, static_cast<int>(kind));
  return control;
}

MControl* MPanel::CreateControl(const wchar_t* className, unsigned id, CRect rect, const wchar_t* title, int visible,
                                int enabled) {
  return CreateControl(1, this, className, id, rect, title, visible, enabled);
}

int MPanel::OnControlKeyUp(unsigned vk, unsigned repeat, unsigned modifiers) {
  (void)vk;
  (void)repeat;
  (void)modifiers;
  return 0;
}

void MPanel::DrawScrolledContent(Canvas& dc, CRect clip) {
  CRect shown;
  if (!shown.IntersectRect(m_rect, clip)) return;
  const CPoint offset = GetScrollOffset();
  // Children draw at their window coordinates; a scratch image large
  // enough for the scrolled-to part holds them, and the shown part is
  // copied back up by the offset.
  const CRect content(shown.left + offset.x, shown.top + offset.y, shown.right + offset.x, shown.bottom + offset.y);
  Canvas scratch(content.right, content.bottom);
  if (!scratch.IsValid()) return;
  scratch.CopyFrom(dc, shown.left + offset.x, shown.top + offset.y, shown.Width(), shown.Height(), shown.left,
                   shown.top);
  {
    std::scoped_lock lock(m_childrenLock);
    for (MControl* child : m_children) {
      if (!IsBar(child) && child->IsVisible()) child->Draw(scratch, content);
    }
  }
  dc.PushClip(shown);
  dc.CopyFrom(scratch, shown.left, shown.top, shown.Width(), shown.Height(), content.left, content.top);
  dc.PopClip();
  if (m_vertical->IsVisible()) m_vertical->Draw(dc, clip);
  if (m_horizontal->IsVisible()) m_horizontal->Draw(dc, clip);
}
