#include "toolkit/core/MDialog.h"

#include "platform/UiLoop.h"
#include "toolkit/core/MControl.h"

using namespace platform;

MDialog::MDialog() = default;

MDialog::~MDialog() {
  // Controls must go while the dialog (their parent) is still whole.
  m_paintManager.DestroyData();
}

CPoint MDialog::GetAirBladderPoint(MControl* control, unsigned type) {
  if (!control) return {};
  const CRect r = control->GetRect();
  const int x = type == 0 ? r.left : type == 1 ? (r.left + r.right) / 2 : r.right;
  return ClientToScreen(CPoint(x, r.bottom));
}

void MDialog::OnMinimize() { ShowWindow(SW_MINIMIZE); }

void MDialog::OnMaximize() {
  const bool zoomed = GetStyle() & WS_MAXIMIZE;
  ShowWindow(zoomed ? SW_RESTORE : SW_MAXIMIZE);
}

long MDialog::OnMessage(unsigned id, unsigned code, unsigned wParam, long lParam) {
  (void)id;
  (void)code;
  (void)wParam;
  (void)lParam;
  return 0;
}

long MDialog::OnUserCloseWindow(unsigned wParam, long lParam) {
  PostMessageW(WM_CLOSE, wParam, lParam);
  return 1;
}

int MDialog::OnCreate() {
  // No system frame: the dialog is moved by dragging its background.
  ModifyStyle(WS_CAPTION | WS_THICKFRAME, WS_CLIPSIBLINGS | WS_CLIPCHILDREN | 0x8);
  return 1;
}

int MDialog::OnSize(unsigned type, int cx, int cy) {
  (void)cx;
  (void)cy;
  if (type == SIZE_MINIMIZED) return 0;
  m_client = GetClientRect();
  if (m_client.Width() > 1 && m_client.Height() > 1) UISize(m_client);
  InvalidateRect(nullptr, 0);
  return 0;
}

int MDialog::OnMouseMove(unsigned, CPoint) { return 0; }
int MDialog::OnMouseLeave(unsigned, long) { return 0; }
int MDialog::OnMouseHover(unsigned, long) { return 0; }
int MDialog::OnMouseWheel(unsigned, short, CPoint) { return 0; }
int MDialog::OnLButtonDown(unsigned, CPoint) { return 0; }
int MDialog::OnLButtonUp(unsigned, CPoint) { return 0; }
int MDialog::OnLButtonDblClk(unsigned, CPoint) { return 0; }
int MDialog::OnRButtonDown(unsigned, CPoint) { return 0; }
int MDialog::OnRButtonUp(unsigned, CPoint) { return 0; }
int MDialog::OnRButtonDblClk(unsigned, CPoint) { return 0; }
int MDialog::OnKeyDown(unsigned, unsigned, unsigned) { return 0; }
int MDialog::OnNcActivate(int) { return 0; }
int MDialog::OnPaint() { return 0; }
int MDialog::OnTimer(unsigned) { return 0; }

long MDialog::OnWindowMessage(unsigned msg, unsigned wParam, long lParam) {
  const CPoint point(LowWord(lParam), HighWord(lParam));
  switch (msg) {
    case WM_CREATE: OnCreate(); break;
    case WM_DESTROY: OnDestroy(); break;
    case WM_SIZE: OnSize(wParam, LowWord(lParam), HighWord(lParam)); break;
    case WM_PAINT: OnPaint(); break;
    case WM_CLOSE: OnClose(); break;
    case WM_NCACTIVATE: OnNcActivate(static_cast<int>(wParam)); break;
    case WM_TIMER: OnTimer(wParam); break;
    case WM_MOUSEMOVE: OnMouseMove(wParam, point); break;
    case WM_LBUTTONDOWN: OnLButtonDown(wParam, point); break;
    case WM_LBUTTONUP: OnLButtonUp(wParam, point); break;
    case WM_LBUTTONDBLCLK: OnLButtonDblClk(wParam, point); break;
    case WM_RBUTTONDOWN: OnRButtonDown(wParam, point); break;
    case WM_RBUTTONUP: OnRButtonUp(wParam, point); break;
    case WM_RBUTTONDBLCLK: OnRButtonDblClk(wParam, point); break;
    case WM_MOUSEHOVER: OnMouseHover(wParam, lParam); break;
    case WM_MOUSELEAVE: OnMouseLeave(wParam, lParam); break;
    case WM_ERASEBKGND: return 1;
    case WM_TOOLKIT_CLOSE: return OnUserCloseWindow(wParam, lParam);
    default: break;
  }
  if (const long handled = m_paintManager.OnWindowMessage(msg, wParam, lParam)) return handled;
  return DefaultWindowProc(msg, wParam, lParam);
}

int MDialog::PreTranslateMessage(const Message& message) { return m_paintManager.PreTranslateMessage(message); }

int MDialog::OnInitDialog() {
  m_paintManager.Init(GetNativeWindow(), this);
  m_client = GetClientRect();
  InitUI(m_client);
  return 1;
}

void MDialog::OnDestroyMessage(WindowHandle window) {
  (void)window;
  m_paintManager.DestroyData();
  PostNcDestroy();
}

long MDialog::OnBaseMessage(unsigned id, unsigned code, unsigned wParam, long lParam) {
  return OnMessage(id, code, wParam, lParam);
}

long MDialog::OnControlUpdate(CRect rect, int flag, MControl* control) {
  return m_paintManager.OnControlUpdate(rect, flag, control);
}

MControl* MDialog::CreateControl(const wchar_t* className, unsigned id, CRect rect, const wchar_t* title, int visible,
                                 int enabled) {
  return m_paintManager.CreateControl(this, className, id, rect, title, visible, enabled);
}

MControl* MDialog::CreateArea(const wchar_t* className, unsigned id, CRect rect, const wchar_t* title, int visible,
                              int enabled) {
  return m_paintManager.CreateArea(this, className, id, rect, title, visible, enabled);
}

void MDialog::KillMTimer(unsigned id) {
  (void)id;
  m_paintManager.KillMTimer();
}

void MDialog::DoOK() { PostMessageW(WM_TOOLKIT_CLOSE, IDOK, 0); }
void MDialog::DoCancel() { PostMessageW(WM_TOOLKIT_CLOSE, IDCANCEL, 0); }
void MDialog::DoClose() { PostMessageW(WM_TOOLKIT_CLOSE, IDCANCEL, 0); }
void MDialog::DoYes() { PostMessageW(WM_TOOLKIT_CLOSE, IDYES, 0); }
void MDialog::DoNo() { PostMessageW(WM_TOOLKIT_CLOSE, IDNO, 0); }

int MDialog::SetAirBladderMsg(const wchar_t* text, CPoint screenPoint, AIRBLADDER_TYPE type) {
  if (screenPoint.x == 0 || screenPoint.y == 0) return 0;
  if (!m_paintManager.SetAirBladderMsg(text, screenPoint, type, AIRBLADDER_MODE_DEFAULT)) return 0;
  m_paintManager.ShowAirBladder(1, 0);
  return 1;
}
