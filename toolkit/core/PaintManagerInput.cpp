// PaintManager: window messages, mouse and key routing.
#include <algorithm>

#include "platform/UiLoop.h"
#include "toolkit/core/ControlNotify.h"
#include "toolkit/core/MControl.h"
#include "toolkit/core/PaintManager.h"
#include "toolkit/core/ToolTipWindow.h"

using namespace platform;

namespace {
constexpr unsigned VK_TAB = 0x09;
CPoint PointOf(long lParam) { return {LowWord(lParam), HighWord(lParam)}; }
}  // namespace

unsigned PaintManager::CurrentModifierCode() {
  const unsigned held = GetModifierState();
  unsigned code = 0;
  if (held & kModifierAlt) code |= kKeyModifierAlt;
  if (held & kModifierControl) code |= kKeyModifierControl;
  if (held & kModifierShift) code |= kKeyModifierShift;
  return code;
}

long PaintManager::OnWindowMessage(unsigned msg, unsigned wParam, long lParam) {
  if (msg == kMsgDeferredUpdate) {
    RunDeferredUpdates();
    return 1;
  }
  {
    std::scoped_lock lock(m_controlLock);
    for (MControl* control : m_controls) {
      if (control->OnWindowMessage(msg, wParam, lParam)) return 0;
    }
  }
  long handled = 0;
  switch (msg) {
    case WM_PAINT: {
      if (!m_window) return 0;
      const platform::Rect u = m_window->GetUpdateRect();
      handled = OnPaint(CRect(u.left, u.top, u.right, u.bottom));
      break;
    }
    case WM_CREATE:
    case WM_DESTROY:
    case WM_SIZE:
    case WM_CHAR:
    case WM_MOUSEHOVER:
      handled = 1;
      break;
    case WM_NCDESTROY:
      DestroyData();
      handled = 1;
      break;
    case WM_NCACTIVATE: handled = OnNcActivate(static_cast<int>(wParam)); break;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: handled = OnKeyDown(wParam); break;
    case WM_KEYUP:
    case WM_SYSKEYUP: handled = 0; break;
    case WM_TIMER: OnTimer(wParam); return 0;
    case WM_MOUSEMOVE: OnMouseMove(wParam, PointOf(lParam)); handled = 1; break;
    case WM_MOUSELEAVE: OnMouseLeave(); handled = 1; break;
    case WM_LBUTTONDOWN: handled = OnLButtonDown(wParam, PointOf(lParam)); break;
    case WM_LBUTTONUP: handled = OnLButtonUp(wParam, PointOf(lParam)); break;
    case WM_LBUTTONDBLCLK: handled = OnLButtonDblClk(wParam, PointOf(lParam)); break;
    case WM_RBUTTONDOWN: handled = OnRButtonDown(wParam, PointOf(lParam)); break;
    case WM_RBUTTONUP: handled = OnRButtonUp(wParam, PointOf(lParam)); break;
    case WM_RBUTTONDBLCLK: handled = OnRButtonDblClk(wParam, PointOf(lParam)); break;
    case WM_MOUSEWHEEL: handled = OnMouseWheel(wParam, lParam); break;
    default: return 0;
  }
  return handled ? 1 : 0;
}

int PaintManager::PreTranslateMessage(const Message& message) {
  if ((message.message == WM_KEYDOWN || message.message == WM_SYSKEYDOWN) && message.wParam == VK_TAB &&
      message.window == (m_window ? m_window->GetHandle() : 0)) {
    const unsigned code = CurrentModifierCode();
    MControl* next = nullptr;
    if (code == 0) {
      next = GetNextFocusableControl();
    } else if (code == kKeyModifierShift) {
      next = GetPrevFocusableControl();
    } else {
      return 0;
    }
    if (next != m_focus) {
      SetFocusControl(next);
      return 1;
    }
  }
  return 0;
}

void PaintManager::OnMouseMove(unsigned flags, CPoint point) {
  if (!m_tracking && m_window) {
    m_window->TrackMouse();
    m_tracking = 1;
  }
  if (m_hover && m_hover->PtInRect(point) && m_hover->OnCheckMouseResponse(flags, point) && m_tracking) {
    m_hover->OnMouseMove(flags, point);
    return;
  }
  if (m_tooltip) m_tooltip->Hide();
  m_tooltipOwner = 0;
  if (m_leftPressed && m_hover) {
    // The pressed control keeps the pointer until the button comes up.
    m_hover->OnMouseMove(flags, point);
    return;
  }
  if (!m_tracking) {
    m_hover = nullptr;
    return;
  }
  MControl* hover = nullptr;
  {
    std::scoped_lock lock(m_controlLock);
    for (MControl* control : m_controls) {
      control->OnMouseMove(flags, point);
      if (control->PtInRect(point) && control->GetRresponse()) hover = control;
    }
  }
  m_hover = hover;
}

void PaintManager::OnMouseLeave() {
  if (m_tooltip) m_tooltip->Hide();
  m_tooltipOwner = 0;
  m_tracking = 0;
  if (m_leftPressed) return;
  if (m_hover) m_hover->OnMouseMove(0, CPoint(-1, -1));
  m_hover = nullptr;
}

int PaintManager::OnLButtonDown(unsigned flags, CPoint point) {
  if (m_focus && m_focus != m_hover) {
    m_focus->SetControlFocus(0);
    m_focus = nullptr;
  }
  int handled = 0;
  MControl* hover = m_hover;
  if (hover && hover->IsVisible() && hover->GetRresponse() && hover->PtInRect(point) &&
      hover->OnCheckMouseResponse(flags, point)) {
    m_leftPressed = 1;
    SetFocusControl(hover);
    handled = hover->OnLButtonDown(flags, point);
    if (!m_captured && m_hover == hover && hover->OnCheckMouseResponse(flags, point)) {
      SetCapture();
      return 1;
    }
  }
  if (!handled && m_windowDrag && m_window) {
    ReleaseCapture();
    m_leftPressed = 0;
    m_window->StartWindowDrag(m_window->ClientToScreen({point.x, point.y}));
    return 1;
  }
  return handled;
}

int PaintManager::OnLButtonUp(unsigned flags, CPoint point) {
  ReleaseCapture();
  m_leftPressed = 0;
  MControl* hover = m_hover;
  if (!hover || !hover->IsVisible() || !hover->GetRresponse()) return 0;
  const CRect before = hover->GetRect();
  const int handled = hover->OnLButtonUp(flags, point);
  if (!before.PtInRect(point) && m_hover == hover) m_hover = nullptr;
  return handled;
}

int PaintManager::OnLButtonDblClk(unsigned flags, CPoint point) {
  m_doubleClick = 1;
  MControl* hover = m_hover;
  if (!hover || !hover->IsVisible() || !hover->GetRresponse()) return 0;
  const CRect before = hover->GetRect();
  const int handled = hover->OnLButtonDblClk(flags, point);
  if (!before.PtInRect(point) && m_hover == hover) m_hover = nullptr;
  return handled;
}

int PaintManager::OnRButtonDown(unsigned flags, CPoint point) {
  if (m_focus && m_focus != m_hover) {
    m_focus->SetControlFocus(0);
    m_focus = nullptr;
  }
  MControl* hover = m_hover;
  if (!hover || !hover->IsVisible() || !hover->GetRresponse() || !hover->PtInRect(point) ||
      !hover->OnCheckMouseResponse(flags, point)) {
    return 0;
  }
  m_rightPressed = 1;
  SetFocusControl(hover);
  const int handled = hover->OnRButtonDown(flags, point);
  if (!m_captured && m_hover == hover && hover->OnCheckMouseResponse(flags, point)) {
    SetCapture();
    return 1;
  }
  return handled;
}

int PaintManager::OnRButtonUp(unsigned flags, CPoint point) {
  ReleaseCapture();
  m_rightPressed = 0;
  MControl* hover = m_hover;
  if (!hover || !hover->IsVisible() || !hover->GetRresponse()) return 0;
  const CRect before = hover->GetRect();
  const int handled = hover->OnRButtonUp(flags, point);
  if (!before.PtInRect(point) && m_hover == hover) m_hover = nullptr;
  return handled;
}

int PaintManager::OnRButtonDblClk(unsigned flags, CPoint point) {
  m_doubleClick = 1;
  MControl* hover = m_hover;
  if (!hover || !hover->IsVisible() || !hover->GetRresponse()) return 0;
  const CRect before = hover->GetRect();
  const int handled = hover->OnRButtonDblClk(flags, point);
  if (!before.PtInRect(point) && m_hover == hover) m_hover = nullptr;
  return handled;
}

int PaintManager::OnMouseWheel(unsigned wParam, long lParam) {
  if (!m_window) return 0;
  const platform::Point p = m_window->ScreenToClient({LowWord(lParam), HighWord(lParam)});
  const CPoint point(p.x, p.y);
  const int delta = HighWord(static_cast<long>(wParam));
  const int steps = std::abs(delta / WHEEL_DELTA);
  const unsigned down = delta <= 0 ? 1 : 0;
  int result = 0;
  for (int i = 0; i < steps; ++i) {
    if (m_hover && m_hover->OnScroll(1, down, point)) {
      result = 1;
      continue;
    }
    std::scoped_lock lock(m_controlLock);
    for (MControl* control : m_controls) {
      if (control->OnScroll(1, down, point)) {
        result = 1;
        break;
      }
    }
  }
  return result;
}

int PaintManager::OnKeyDown(unsigned vk) {
  const unsigned modifiers = CurrentModifierCode();
  if (m_hover && m_hover->OnKeyDown(vk, 1, modifiers)) return 1;
  std::scoped_lock lock(m_controlLock);
  for (MControl* control : m_controls) {
    if (control->OnKeyDown(vk, 1, modifiers)) return 1;
  }
  return 1;
}

int PaintManager::OnNcActivate(int active) {
  m_active = active;
  if (!active) {
    m_tracking = 0;
    m_captured = 0;
    m_doubleClick = 0;
    if (m_window) m_window->ReleaseCapture();
    if (m_hover) {
      if (m_leftPressed) {
        m_hover->OnLButtonUp(0, CPoint(-1, -1));
      } else {
        m_hover->OnMouseMove(0, CPoint(-1, -1));
      }
    }
    m_leftPressed = 0;
    m_hover = nullptr;
  }
  Invalidate();
  return 0;
}
