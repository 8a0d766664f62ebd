#include "toolkit/core/MControl.h"

#include <algorithm>
#include <cwchar>

#include "toolkit/core/MRender.h"
#include "toolkit/core/PaintManager.h"

namespace {

bool Intersects(const CRect& a, const CRect& b) {
  CRect overlap;
  return overlap.IntersectRect(a, b);
}

// The children taken out of a list under its lock, deleted after it is
// released: a child's destructor reaches the manager's periodic list, whose
// lock the timer thread takes before children locks.
void DeleteAll(std::vector<MControl*>& list, std::recursive_mutex& lock) {
  std::vector<MControl*> doomed;
  {
    std::scoped_lock guard(lock);
    doomed.swap(list);
  }
  for (MControl* child : doomed) delete child;
}

}  // namespace

MControl::MControl(MObject* parent, unsigned id, CRect rect, int visible, int enabled, int responsive)
    : m_parent(parent), m_id(id), m_rect(rect), m_visible(visible), m_enabled(enabled), m_responsive(responsive) {}

MControl::~MControl() {
  RemoveAllControl();
  if (m_manager) m_manager->ForgetControl(this);
}

void MControl::InitControl(PaintManager* manager) { (void)manager; }

int MControl::PtInRect(CPoint point) { return m_visible && m_rect.PtInRect(point) ? 1 : 0; }

int MControl::DrawSubControls(Canvas& dc, CRect clip) {
  std::scoped_lock lock(m_childrenLock);
  for (MControl* child : m_children) {
    if (child->IsVisible()) child->Draw(dc, clip);
  }
  return 1;
}

int MControl::IsDraw(CPoint point) {
  (void)point;
  return 0;
}

void MControl::SetUpdate(int cacheValid, unsigned long colour) {
  m_cacheValid = cacheValid;
  for (MControl* child : m_children) {
    if (Intersects(child->GetRect(), m_rect)) child->SetUpdate(cacheValid, colour);
  }
}

int MControl::SetControlFocus(int focus) {
  if (!focus) {
    std::scoped_lock lock(m_childrenLock);
    for (MControl* child : m_children) child->SetControlFocus(0);
  }
  return 0;
}

void MControl::InitUI(CRect rect) { (void)rect; }

int MControl::OnMousePointChange(CPoint& point) {
  (void)point;
  return 0;
}

int MControl::OnCheckMouseResponse(unsigned flags, CPoint point) {
  (void)flags;
  (void)point;
  return 1;
}

long MControl::OnWindowMessage(unsigned msg, unsigned wParam, long lParam) {
  (void)msg;
  (void)wParam;
  (void)lParam;
  return 0;
}

long MControl::OnMessage(unsigned id, unsigned code, unsigned wParam, long lParam) {
  (void)id;
  (void)code;
  (void)wParam;
  (void)lParam;
  return 0;
}

void MControl::SetControlRect(CRect rect) { m_rect = rect; }
void MControl::SetControlVisible(int visible) { m_visible = visible; }
void MControl::SetControlWndVisible(int visible) { (void)visible; }
void MControl::SetControlEnabled(int enabled) { m_enabled = enabled; }
int MControl::OnControlTimer() { return 0; }
const Canvas* MControl::GetControlDropBitmap() { return nullptr; }

int MControl::OnControlMouseMove(unsigned flags, CPoint point) {
  (void)flags;
  (void)point;
  return 0;
}

int MControl::OnControlSetCursor(unsigned flags, CPoint point) {
  (void)flags;
  if (m_cursor.empty() || !m_rect.PtInRect(point) || !m_manager) return 0;
  m_manager->SetCursor(m_cursor);
  return 1;
}

int MControl::OnControlLButtonDown(unsigned, CPoint) { return 0; }
int MControl::OnControlLButtonUp(unsigned, CPoint) { return 0; }
int MControl::OnControlLButtonDblClk(unsigned, CPoint) { return 0; }
int MControl::OnControlScroll(int, unsigned, CPoint) { return 0; }
int MControl::OnControlRButtonDown(unsigned, CPoint) { return 0; }
int MControl::OnControlRButtonUp(unsigned, CPoint) { return 0; }
int MControl::OnControlRButtonDblClk(unsigned, CPoint) { return 0; }

int MControl::OnControlKeyDown(unsigned vk, unsigned repeat, unsigned modifiers) {
  (void)repeat;
  return m_hotKey != 0 && vk == m_hotKey && modifiers == m_hotKeyModifiers ? 1 : 0;
}

void MControl::OnPositionChange() {}

void MControl::InvalidateRect(const RECT* rect, int erase) {
  if (!m_manager) return;
  if (m_manager->IsLayered()) {
    m_manager->Invalidate();
    return;
  }
  m_manager->InvalidateRect(rect ? *rect : m_rect, erase);
}

CPoint MControl::PointForChild(const MControl* child, CPoint window, CPoint translated) {
  const unsigned id = child->GetControlID();
  return id == 1 || id == 2 ? window : translated;
}

int MControl::OnMouseMove(unsigned flags, CPoint point) {
  if (!m_visible || !m_responsive) return 0;
  CPoint translated = point;
  OnMousePointChange(translated);
  if (m_activeChild) {
    const CPoint p = PointForChild(m_activeChild, point, translated);
    if ((m_activeChild->PtInRect(p) && m_activeChild->OnCheckMouseResponse(flags, p)) || m_pressed) {
      return m_activeChild->OnMouseMove(flags, p) ? 1 : 0;
    }
  }
  MControl* previous = m_activeChild;
  m_activeChild = nullptr;
  if (!m_tooltip.empty() && PtInRect(translated) && OnCheckMouseResponse(flags, translated) && m_manager &&
      m_manager->GetTooltipCtrlID() != m_id) {
    m_manager->SetTooltip(m_tooltip.c_str(), m_rect);
    m_manager->SetTooltipCtrlID(m_id);
  }
  OnControlSetCursor(flags, translated);
  int result = OnControlMouseMove(flags, translated);
  if (m_pressed) return result;
  {
    std::scoped_lock lock(m_childrenLock);
    for (MControl* child : m_children) {
      const CPoint p = PointForChild(child, point, translated);
      if (child->OnMouseMove(flags, p)) {
        result = 1;
        if (child->PtInRect(p)) m_activeChild = child;
      }
    }
  }
  return previous || m_activeChild ? 1 : result;
}

namespace {

// The shared body of the left and right presses.
template <typename ChildPress, typename OwnPress>
int Press(MControl& self, MControl*& active, int& pressed, PaintManager* manager, CPoint point, CPoint translated,
          std::recursive_mutex& lock, const std::vector<MControl*>& children, ChildPress childPress,
          OwnPress ownPress) {
  pressed = self.GetRect().PtInRect(translated) ? 1 : 0;
  {
    std::scoped_lock guard(lock);
    active = nullptr;
    for (MControl* child : children) {
      const unsigned id = child->GetControlID();
      const CPoint p = id == 1 || id == 2 ? point : translated;
      if (child->PtInRect(p) && child->IsVisible() && child->IsEnabled() && child->GetRresponse()) active = child;
    }
  }
  if (active) {
    const unsigned id = active->GetControlID();
    return childPress(*active, id == 1 || id == 2 ? point : translated) ? 1 : 0;
  }
  if (manager) manager->SetFocusControl(&self);
  return ownPress(translated);
}

}  // namespace

int MControl::OnLButtonDown(unsigned flags, CPoint point) {
  if (!m_visible || !m_responsive) return 0;
  CPoint translated = point;
  OnMousePointChange(translated);
  return Press(
      *this, m_activeChild, m_pressed, m_manager, point, translated, m_childrenLock, m_children,
      [flags](MControl& child, CPoint p) { return child.OnLButtonDown(flags, p); },
      [this, flags](CPoint p) { return OnControlLButtonDown(flags, p); });
}

int MControl::OnRButtonDown(unsigned flags, CPoint point) {
  if (!m_visible || !m_responsive) return 0;
  CPoint translated = point;
  OnMousePointChange(translated);
  return Press(
      *this, m_activeChild, m_pressed, m_manager, point, translated, m_childrenLock, m_children,
      [flags](MControl& child, CPoint p) { return child.OnRButtonDown(flags, p); },
      [this, flags](CPoint p) { return OnControlRButtonDown(flags, p); });
}

int MControl::OnLButtonUp(unsigned flags, CPoint point) {
  if (!m_visible || !m_responsive) return 0;
  CPoint translated = point;
  OnMousePointChange(translated);
  m_pressed = 0;
  if (m_activeChild) return m_activeChild->OnLButtonUp(flags, PointForChild(m_activeChild, point, translated));
  return OnControlLButtonUp(flags, translated);
}

int MControl::OnRButtonUp(unsigned flags, CPoint point) {
  if (!m_visible || !m_responsive) return 0;
  CPoint translated = point;
  OnMousePointChange(translated);
  m_pressed = 0;
  if (m_activeChild) return m_activeChild->OnRButtonUp(flags, PointForChild(m_activeChild, point, translated));
  return OnControlRButtonUp(flags, translated);
}

int MControl::OnLButtonDblClk(unsigned flags, CPoint point) {
  if (!m_visible || !m_responsive) return 0;
  CPoint translated = point;
  OnMousePointChange(translated);
  m_pressed = 0;
  if (!m_activeChild) {
    return m_dblClk ? OnControlLButtonDblClk(flags, translated) : OnControlLButtonDown(flags, translated);
  }
  const CPoint p = PointForChild(m_activeChild, point, translated);
  int result = m_activeChild->OnLButtonDblClk(flags, p);
  if (!result && !m_activeChild->GetDblClk()) result = m_activeChild->OnLButtonDown(flags, p);
  return result;
}

int MControl::OnRButtonDblClk(unsigned flags, CPoint point) {
  if (!m_visible || !m_responsive) return 0;
  CPoint translated = point;
  OnMousePointChange(translated);
  m_pressed = 0;
  if (!m_activeChild) {
    return m_dblClk ? OnControlRButtonDblClk(flags, translated) : OnControlRButtonDown(flags, translated);
  }
  const CPoint p = PointForChild(m_activeChild, point, translated);
  int result = m_activeChild->OnRButtonDblClk(flags, p);
  if (!result && !m_activeChild->GetDblClk()) result = m_activeChild->OnRButtonDown(flags, p);
  return result;
}

int MControl::OnScroll(int kind, unsigned down, CPoint point) {
  if (!m_visible || !m_responsive || !m_enabled) return 0;
  if (m_activeChild && m_activeChild->PtInRect(point) && m_activeChild->OnCheckMouseResponse(0, point)) {
    return m_activeChild->OnScroll(kind, down, point);
  }
  if (!m_rect.PtInRect(point)) return 0;
  if (OnControlScroll(kind, down, point)) return 1;
  std::scoped_lock lock(m_childrenLock);
  for (MControl* child : m_children) {
    if (child->PtInRect(point) && child->OnScroll(kind, down, point)) return 1;
  }
  return 0;
}

int MControl::OnKeyDown(unsigned vk, unsigned repeat, unsigned modifiers) {
  MControl* target = this;
  // A chain of focused children is followed downwards.
  for (;;) {
    if (!target->m_visible || !target->m_responsive) return 0;
    MControl* focused = nullptr;
    {
      std::scoped_lock lock(target->m_childrenLock);
      for (MControl* child : target->m_children) {
        if (child->IsFocused()) {
          focused = child;
          break;
        }
      }
    }
    if (!focused) break;
    if (!focused->IsVisible()) return 0;
    target = focused;
  }
  if (target->m_activeChild && target->m_activeChild->OnKeyDown(vk, repeat, modifiers)) return 1;
  if (target->OnControlKeyDown(vk, repeat, modifiers)) return 1;
  std::scoped_lock lock(target->m_childrenLock);
  for (MControl* child : target->m_children) {
    if (child->OnKeyDown(vk, repeat, modifiers)) return 1;
  }
  return 0;
}

int MControl::OnKeyUp(unsigned vk, unsigned repeat, unsigned modifiers) {
  (void)vk;
  (void)repeat;
  (void)modifiers;
  return 0;
}

int MControl::OnTimer() {
  int result = OnControlTimer();
  bool any = false;
  std::scoped_lock lock(m_childrenLock);
  for (MControl* child : m_children) {
    if (child->IsRunTimer() && child->IsVisible() && child->OnTimer()) any = true;
  }
  return any ? 1 : result;
}

void MControl::Draw(Canvas& dc, CRect clip) {
  if (!m_visible || !Intersects(m_rect, clip)) return;
  {
    std::scoped_lock lock(m_areaLock);
    for (MControl* area : m_areaChildren) {
      if (Intersects(area->GetRect(), m_rect)) area->Draw(dc, clip);
    }
  }
  DrawControl(dc, clip);
  DrawSubControls(dc, clip);
}

void MControl::SetRect(CRect rect) {
  CRect both;
  both.UnionRect(m_rect, rect);
  SetControlRect(rect);
  if (m_visible && m_parent) m_parent->OnControlUpdate(both, 1, this);
}

void MControl::SetRect(int x, int y, int cx, int cy) { SetRect(CRect(x, y, x + cx, y + cy)); }

void MControl::SetVisible(int visible) { SetVisible(visible, 1); }

void MControl::SetVisible(int visible, int redraw) {
  if ((visible != 0) == (m_visible != 0)) return;
  SetControlVisible(visible);
  if (redraw && m_parent) m_parent->OnControlUpdate(m_rect, 1, this);
}

void MControl::SetEnabled(int enabled) {
  if ((enabled != 0) == (m_enabled != 0)) return;
  SetControlEnabled(enabled);
  if (m_visible && m_parent) m_parent->OnControlUpdate(m_rect, 1, this);
}

bool MControl::IsParentVisible() const {
  bool visible = m_visible != 0;
  const MObject* parent = m_parent;
  while (parent && visible) {
    if (parent->IsClass(L"MDialog")) return visible;
    const MControl* control = dynamic_cast<const MControl*>(parent);
    if (!control) return visible;
    visible = control->IsVisible() != 0;
    parent = control->GetParantObject();
  }
  return visible;
}

void MControl::UpdateControl(int flag, int force) {
  if ((m_visible || force) && m_parent) m_parent->OnControlUpdate(m_rect, flag, this);
}

void MControl::UpdateControl(CRect rect, int flag, int force) {
  if ((m_visible || force) && m_parent) m_parent->OnControlUpdate(rect, flag, this);
}

void MControl::UpdateAControl(int a, int force) {
  if (!(m_visible || force)) return;
  m_animationPending = a ? 0 : 1;
  if (m_parent) m_parent->OnControlUpdate(m_rect, 0, this);
}

Canvas& MControl::UpdateMemDC(Canvas& dc, int cx, int cy) {
  (void)dc;
  m_cacheValid = 1;
  if (!m_cache || m_cache->Width() != cx || m_cache->Height() != cy) {
    m_cache = std::make_unique<Canvas>(cx, cy);
  }
  return *m_cache;
}

Canvas& MControl::UpdateAnimateDC(Canvas& dc, int cx, int cy) {
  (void)dc;
  m_animationPending = 1;
  m_animationCache = std::make_unique<Canvas>(cx, cy);
  return *m_animationCache;
}

long MControl::SendMessageW(unsigned code, unsigned wParam, long lParam) {
  return m_parent ? m_parent->OnBaseMessage(m_id, code, wParam, lParam) : 0;
}

MControl* MControl::GetControl(unsigned id) {
  for (MControl* child : m_children) {
    if (child->GetControlID() == id) return child;
    if (MControl* found = child->GetControl(id)) return found;
  }
  for (MControl* area : m_areaChildren) {
    if (area->GetControlID() == id) return area;
    if (MControl* found = area->GetControl(id)) return found;
  }
  return nullptr;
}

bool MControl::Contains(const MControl* control) const {
  if (control == this) return true;
  std::scoped_lock lock(m_childrenLock, m_areaLock);
  for (const MControl* child : m_children) {
    if (child->Contains(control)) return true;
  }
  for (const MControl* area : m_areaChildren) {
    if (area->Contains(control)) return true;
  }
  return false;
}

int MControl::RemoveControl(MControl* control) {
  if (!control) return 0;
  if (m_manager && m_manager->GetFocusControl() == control) {
    control->SetControlFocus(0);
    m_manager->ForgetControl(control);
  }
  bool found = false;
  {
    std::scoped_lock lock(m_childrenLock);
    auto it = std::find(m_children.begin(), m_children.end(), control);
    if (it != m_children.end()) {
      m_children.erase(it);
      found = true;
    }
    if (m_activeChild == control) m_activeChild = nullptr;
  }
  if (found) delete control;
  return 0;
}

void MControl::RemoveAllControl() {
  m_activeChild = nullptr;
  DeleteAll(m_areaChildren, m_areaLock);
  DeleteAll(m_children, m_childrenLock);
}

void MControl::AddChild(MControl* control, int kind) {
  if (!control) return;
  if (kind == 0) {
    std::scoped_lock lock(m_areaLock);
    m_areaChildren.push_back(control);
  } else {
    std::scoped_lock lock(m_childrenLock);
    m_children.push_back(control);
  }
}

void MControl::SetTooltip(const wchar_t* text) { m_tooltip = text ? text : L""; }

void MControl::SetTooltip(const CString& text, CRect rect) {
  if (!m_manager) return;
  m_manager->SetTooltip(text.c_str(), rect);
  m_manager->SetTooltipCtrlID(m_id);
}

void MControl::ClearTooltip() {
  if (m_manager) m_manager->ClearTooltip();
}

int MControl::SetCursorEx(const wchar_t* name) {
  static const wchar_t* const kNames[] = {L"arrow", L"wait", L"cross", L"sizewe", L"sizens", L"hand", L"help"};
  if (!name) return 0;
  for (const wchar_t* known : kNames) {
    if (std::wcscmp(known, name) == 0) {
      m_cursor = name;
      break;
    }
  }
  return 0;
}

void MControl::AddMTimer() {
  if (m_manager) m_manager->AddMTimer(this);
}

bool MControl::IsFocusControl() const { return m_manager && m_manager->GetFocusControl() == this; }
