#include "toolkit/core/MWindow.h"

#include <vector>

#include "platform/UiLoop.h"
#include "toolkit/core/MRender.h"
#include "toolkit/core/Resources.h"

MWindow::MWindow() : m_window(std::make_unique<platform::Window>(this)) {}

MWindow::~MWindow() {
  // The window may still exist: stop its messages reaching a half-gone object.
  m_window->SetHandler(nullptr);
  m_window->Destroy();
}

void MWindow::ShowWindow(int command) { m_window->Show(command); }

long MWindow::OnWindowMessage(unsigned msg, unsigned wParam, long lParam) {
  return DefaultWindowProc(msg, wParam, lParam);
}

long MWindow::DefaultWindowProc(unsigned msg, unsigned wParam, long lParam) {
  platform::Message m;
  if (m_current && m_current->message == msg) {
    m = *m_current;
  } else {
    m.window = GetSafeHwnd();
    m.message = msg;
  }
  m.wParam = wParam;
  m.lParam = lParam;
  return static_cast<long>(m_window->DefaultProc(m));
}

int MWindow::PreTranslateMessage(const platform::Message& message) {
  (void)message;
  return 0;
}

intptr_t MWindow::OnWindowMessage(platform::Window& window, const platform::Message& message) {
  if (message.message == platform::WM_NCDESTROY) {
    OnDestroyMessage(message.window);
    return 0;
  }
  (void)window;
  const platform::Message* outer = m_current;
  m_current = &message;
  const long result = OnWindowMessage(message.message, static_cast<unsigned>(message.wParam),
                                      static_cast<long>(message.lParam));
  m_current = outer;
  return result;
}

bool MWindow::PreTranslateMessage(platform::Window& window, const platform::Message& message) {
  (void)window;
  return PreTranslateMessage(message) != 0;
}

platform::WindowHandle MWindow::Create(platform::WindowHandle parent, const wchar_t* windowName, DWORD style,
                                       DWORD exStyle, CRect rect) {
  if (m_window->Exists()) return m_window->GetHandle();
  m_parent = parent;
  platform::WindowCreateParams params;
  params.owner = parent ? platform::WindowFromHandle(parent) : nullptr;
  params.title = windowName ? windowName : L"";
  params.style = style;
  params.exStyle = exStyle;
  params.rect = {rect.left, rect.top, rect.right, rect.bottom};
  params.popUp = IsPopUp();
  if (!m_window->Create(params)) return 0;
  OnInitDialog();
  return m_window->GetHandle();
}

platform::WindowHandle MWindow::Create(platform::WindowHandle parent, CRect rect) {
  return Create(parent, L"", platform::WS_POPUP, 0, rect);
}

int MWindow::ShowModal(int showCommand) { return m_window->RunModal(showCommand); }
void MWindow::DestroyWindow() { m_window->Destroy(); }
void MWindow::EnableWindow(int enable) { m_window->Enable(enable != 0); }
int MWindow::IsWindowEnabled() const { return m_window->Exists() && m_window->IsEnabled() ? 1 : 0; }
int MWindow::IsWindowVisible() const { return m_window->Exists() && m_window->IsVisible() ? 1 : 0; }
int MWindow::IsIconic() const { return m_window->Exists() && m_window->IsIconic() ? 1 : 0; }

void MWindow::MoveWindow(CRect r) { m_window->Move({r.left, r.top, r.right, r.bottom}); }

void MWindow::CenterWindow(MWindow* reference) {
  m_window->CenterWindow(reference ? reference->GetNativeWindow() : nullptr);
}

void MWindow::BringToTop() { m_window->BringToTop(); }

int MWindow::SetIcon(unsigned resourceId) {
  if (!m_window->Exists()) return 0;
  std::unique_ptr<Image> image = MRender::LoadImageFromIDResource(resourceId, L"PNG", &ResourceModule::Toolkit());
  if (!image) return 0;
  const Canvas& frame = image->GetFrame(0);
  std::vector<uint32_t> pixels(static_cast<size_t>(frame.Width()) * frame.Height());
  for (int y = 0; y < frame.Height(); ++y) {
    for (int x = 0; x < frame.Width(); ++x) pixels[static_cast<size_t>(y) * frame.Width() + x] = frame.GetPixel(x, y);
  }
  m_window->SetIcon(pixels.data(), frame.Width(), frame.Height());
  return 1;
}

DWORD MWindow::GetStyle() const { return m_window->Exists() ? m_window->GetStyle() : 0; }
DWORD MWindow::GetExStyle() const { return m_window->Exists() ? m_window->GetExStyle() : 0; }
void MWindow::ModifyStyle(DWORD remove, DWORD add) { m_window->ModifyStyle(remove, add); }
void MWindow::ModifyExStyle(DWORD remove, DWORD add) { m_window->ModifyExStyle(remove, add); }

CRect MWindow::GetClientRect() const {
  if (!m_window->Exists()) return {};
  const platform::Rect r = m_window->GetClientRect();
  return {r.left, r.top, r.right, r.bottom};
}

CRect MWindow::GetWindowRect() const {
  if (!m_window->Exists()) return {};
  const platform::Rect r = m_window->GetWindowRect();
  return {r.left, r.top, r.right, r.bottom};
}

void MWindow::SetWindowTextW(const wchar_t* text) { m_window->SetTitle(text ? text : L""); }
CString MWindow::GetWindowTextW() const { return m_window->GetTitle(); }
int MWindow::GetWindowTextLengthW() const { return static_cast<int>(m_window->GetTitle().size()); }

void MWindow::InvalidateRect(const CRect* rect, int erase) {
  (void)erase;
  if (!m_window->Exists()) return;
  if (!rect) {
    m_window->Invalidate(nullptr);
    return;
  }
  const platform::Rect r{rect->left, rect->top, rect->right, rect->bottom};
  m_window->Invalidate(&r);
}

void MWindow::SetCapture() { m_window->SetCapture(); }
void MWindow::ReleaseCapture() { m_window->ReleaseCapture(); }
void MWindow::SetFocus() { m_window->SetFocus(); }
int MWindow::SetTimer(unsigned id, unsigned elapseMs) { return m_window->SetTimer(id, elapseMs) ? 1 : 0; }
int MWindow::KillTimer(unsigned id) { return m_window->KillTimer(id) ? 1 : 0; }

CPoint MWindow::ClientToScreen(CPoint point) const {
  const platform::Point p = m_window->ClientToScreen({point.x, point.y});
  return {p.x, p.y};
}

CPoint MWindow::ScreenToClient(CPoint point) const {
  const platform::Point p = m_window->ScreenToClient({point.x, point.y});
  return {p.x, p.y};
}

long MWindow::SendMessageW(unsigned msg, unsigned wParam, long lParam) {
  return static_cast<long>(m_window->SendMessage(msg, wParam, lParam));
}

void MWindow::PostMessageW(unsigned msg, unsigned wParam, long lParam) { m_window->PostMessage(msg, wParam, lParam); }

platform::WindowHandle MWindow::GetSafeHwnd() const { return m_window->Exists() ? m_window->GetHandle() : 0; }
