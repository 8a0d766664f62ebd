#include "platform/Window.h"

#include <X11/Xatom.h>
#include <sys/ipc.h>
#include <sys/shm.h>

#include <algorithm>
#include <cstring>

#include "platform/TextConvert.h"
#include "platform/UiLoop.h"
#include "platform/linux/ui/WindowSystem.h"

namespace platform {

namespace {

constexpr long kEventMask = ExposureMask | StructureNotifyMask | FocusChangeMask | KeyPressMask | KeyReleaseMask |
                            ButtonPressMask | ButtonReleaseMask | PointerMotionMask | EnterWindowMask |
                            LeaveWindowMask;

// The window manager's client-message to add or remove a state.
void SendNetWmState(Display* d, ::Window xid, bool add, Atom state) {
  WindowSystem& system = WindowSystem::Get();
  XEvent e{};
  e.xclient.type = ClientMessage;
  e.xclient.window = xid;
  e.xclient.message_type = system.GetAtom("_NET_WM_STATE");
  e.xclient.format = 32;
  e.xclient.data.l[0] = add ? 1 : 0;
  e.xclient.data.l[1] = static_cast<long>(state);
  e.xclient.data.l[3] = 1;
  XSendEvent(d, DefaultRootWindow(d), False, SubstructureRedirectMask | SubstructureNotifyMask, &e);
}

// Window-manager hints that follow the style: frame (Motif), stacking and type.
void ApplyHints(Window::State* s) {
  WindowSystem& system = WindowSystem::Get();
  Display* d = system.GetDisplay();
  // Motif hints: flags (decorations), functions, decorations, input mode, status.
  const long motif[5] = {2, 0, (s->style & WS_CAPTION) == WS_CAPTION ? 1 : 0, 0, 0};
  const Atom motifAtom = system.GetAtom("_MOTIF_WM_HINTS");
  XChangeProperty(d, s->xid, motifAtom, motifAtom, 32, PropModeReplace, reinterpret_cast<const unsigned char*>(motif), 5);
  std::vector<Atom> states;
  if (s->exStyle & WS_EX_TOPMOST) states.push_back(system.GetAtom("_NET_WM_STATE_ABOVE"));
  if (s->exStyle & WS_EX_TOOLWINDOW) states.push_back(system.GetAtom("_NET_WM_STATE_SKIP_TASKBAR"));
  XChangeProperty(d, s->xid, system.GetAtom("_NET_WM_STATE"), XA_ATOM, 32, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(states.data()), static_cast<int>(states.size()));
  const Atom type = system.GetAtom((s->exStyle & WS_EX_TOOLWINDOW) ? "_NET_WM_WINDOW_TYPE_UTILITY"
                                                                    : "_NET_WM_WINDOW_TYPE_NORMAL");
  XChangeProperty(d, s->xid, system.GetAtom("_NET_WM_WINDOW_TYPE"), XA_ATOM, 32, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(&type), 1);
}

// The window holding the pointer grab (one per display).
WindowHandle& CaptureHolder() {
  static WindowHandle holder = 0;
  return holder;
}

}  // namespace

Window::Window(WindowHandler* handler) : m_state(std::make_unique<State>()) {
  m_state->handler = handler;
  m_state->self = this;
}

Window::~Window() { Destroy(); }

bool Window::Create(const WindowCreateParams& params) {
  if (Exists()) return true;
  WindowSystem& system = WindowSystem::Get();
  if (!system.Open()) return false;
  Display* d = system.GetDisplay();
  State* s = m_state.get();
  const int screen = DefaultScreen(d);
  s->owner = params.owner;
  s->style = params.style;
  s->exStyle = params.exStyle;
  s->title = params.title;
  s->popUp = params.popUp;
  s->visual = DefaultVisual(d, screen);
  s->depth = DefaultDepth(d, screen);
  s->layered = false;
  XSetWindowAttributes attrs{};
  unsigned long mask = CWEventMask | CWBorderPixel | CWBackPixel;
  attrs.event_mask = kEventMask;
  attrs.border_pixel = 0;
  attrs.background_pixel = 0;
  if (params.exStyle & WS_EX_LAYERED) {
    // Per-pixel alpha needs a 32-bit visual (and a compositor to blend it);
    // without one the window shows the same pixels opaque.
    XVisualInfo info;
    if (XMatchVisualInfo(d, screen, 32, TrueColor, &info)) {
      s->visual = info.visual;
      s->depth = 32;
      s->layered = true;
      s->colormap = XCreateColormap(d, RootWindow(d, screen), s->visual, AllocNone);
      attrs.colormap = s->colormap;
      mask |= CWColormap;
    }
  }
  if (params.popUp) {
    attrs.override_redirect = True;
    mask |= CWOverrideRedirect;
  }
  const int width = std::max(1, params.rect.Width());
  const int height = std::max(1, params.rect.Height());
  s->xid = XCreateWindow(d, RootWindow(d, screen), params.rect.left, params.rect.top, width, height, 0, s->depth,
                         InputOutput, s->visual, mask, &attrs);
  if (!s->xid) return false;
  s->handle = static_cast<WindowHandle>(s->xid);
  s->rect = {params.rect.left, params.rect.top, params.rect.left + width, params.rect.top + height};
  s->gc = XCreateGC(d, s->xid, 0, nullptr);
  if (system.GetInputMethod()) {
    s->inputContext = XCreateIC(system.GetInputMethod(), XNInputStyle, XIMPreeditNothing | XIMStatusNothing,
                                XNClientWindow, s->xid, XNFocusWindow, s->xid, nullptr);
  }
  Atom protocols[] = {system.GetAtom("WM_DELETE_WINDOW")};
  XSetWMProtocols(d, s->xid, protocols, 1);
  if (params.owner && params.owner->Exists()) XSetTransientForHint(d, s->xid, params.owner->GetState()->xid);
  // The window manager keeps the position we ask for.
  XSizeHints hints{};
  hints.flags = PPosition | USPosition;
  hints.x = params.rect.left;
  hints.y = params.rect.top;
  XSetWMNormalHints(d, s->xid, &hints);
  ApplyHints(s);
  SetTitle(params.title);
  s->enabled = (params.style & WS_DISABLED) == 0;
  system.Register(s);
  SendMessage(WM_CREATE, 0, 0);
  // The first size and position are reported as the window is made, so a
  // handler lays itself out before it is first shown.
  if (Exists()) SendMessage(WM_SIZE, SIZE_RESTORED, MakeLParam(width, height));
  if (Exists()) SendMessage(WM_MOVE, 0, MakeLParam(params.rect.left, params.rect.top));
  if (Exists() && (s->style & WS_VISIBLE)) Show(SW_SHOW);
  return Exists();
}

void Window::Destroy() {
  State* s = m_state.get();
  if (!s->xid || s->destroying) return;
  s->destroying = true;
  WindowSystem& system = WindowSystem::Get();
  SendMessage(WM_DESTROY, 0, 0);
  Display* d = system.GetDisplay();
  if (HasCapture()) ReleaseCapture();
  s->timers.clear();
  ReleaseShared();
  if (s->inputContext) XDestroyIC(s->inputContext);
  s->inputContext = nullptr;
  if (s->gc) XFreeGC(d, s->gc);
  XDestroyWindow(d, s->xid);
  if (s->colormap) XFreeColormap(d, s->colormap);
  XFlush(d);
  const WindowHandle handle = s->handle;
  WindowHandler* handler = s->handler;
  system.Unregister(s);
  s->gc = nullptr;
  s->colormap = 0;
  s->xid = 0;
  s->mapped = false;
  s->destroying = false;
  // The handler hears of the end last; it may delete this Window from here.
  if (handler) {
    Message m{handle, WM_NCDESTROY, 0, 0, 0, system.Modifiers(), false};
    handler->OnWindowMessage(*this, m);
  }
}

bool Window::Exists() const { return m_state->xid != 0; }
WindowHandle Window::GetHandle() const { return m_state->handle; }
void Window::SetHandler(WindowHandler* handler) { m_state->handler = handler; }
Window* Window::GetOwner() const { return m_state->owner; }

void Window::Show(int command) {
  State* s = m_state.get();
  if (!Exists()) return;
  Display* d = WindowSystem::Get().GetDisplay();
  switch (command) {
    case SW_HIDE:
      XUnmapWindow(d, s->xid);
      s->style &= ~WS_VISIBLE;
      break;
    case SW_MINIMIZE:
    case SW_SHOWMINIMIZED:
      s->iconic = true;
      s->style |= WS_MINIMIZE;
      XIconifyWindow(d, s->xid, DefaultScreen(d));
      break;
    default:
      s->iconic = false;
      s->style &= ~WS_MINIMIZE;
      s->style |= WS_VISIBLE;
      if (command == SW_SHOWNOACTIVATE || command == SW_SHOWNA || s->popUp) {
        XMapWindow(d, s->xid);
      } else {
        XMapRaised(d, s->xid);
      }
      break;
  }
  XFlush(d);
}

bool Window::IsVisible() const { return Exists() && (m_state->style & WS_VISIBLE) && !m_state->iconic; }
bool Window::IsIconic() const { return Exists() && m_state->iconic; }

void Window::Enable(bool enable) {
  if (!Exists() || m_state->enabled == enable) return;
  m_state->enabled = enable;
  if (enable) m_state->style &= ~WS_DISABLED;
  else m_state->style |= WS_DISABLED;
  if (!enable && HasCapture()) ReleaseCapture();
  SendMessage(WM_ENABLE, enable ? 1 : 0, 0);
}

bool Window::IsEnabled() const { return Exists() && m_state->enabled; }
uint32_t Window::GetStyle() const { return Exists() ? m_state->style : 0; }
uint32_t Window::GetExStyle() const { return Exists() ? m_state->exStyle : 0; }

void Window::ModifyStyle(uint32_t remove, uint32_t add) {
  if (!Exists()) return;
  m_state->style = (m_state->style & ~remove) | add;
  ApplyHints(m_state.get());
}

void Window::ModifyExStyle(uint32_t remove, uint32_t add) {
  if (!Exists()) return;
  const bool wasTopmost = m_state->exStyle & WS_EX_TOPMOST;
  m_state->exStyle = (m_state->exStyle & ~remove) | add;
  const bool topmost = m_state->exStyle & WS_EX_TOPMOST;
  if (wasTopmost != topmost) SetTopmost(topmost);
  ApplyHints(m_state.get());
}

bool Window::IsLayered() const { return Exists() && m_state->layered; }

void Window::Move(const Rect& r) {
  if (!Exists()) return;
  XMoveResizeWindow(WindowSystem::Get().GetDisplay(), m_state->xid, r.left, r.top, std::max(1, r.Width()),
                    std::max(1, r.Height()));
  XFlush(WindowSystem::Get().GetDisplay());
}

Rect Window::GetWindowRect() const { return Exists() ? m_state->rect : Rect{}; }

Rect Window::GetClientRect() const {
  if (!Exists()) return {};
  return {0, 0, m_state->rect.Width(), m_state->rect.Height()};
}

Point Window::ClientToScreen(Point p) const { return {p.x + m_state->rect.left, p.y + m_state->rect.top}; }
Point Window::ScreenToClient(Point p) const { return {p.x - m_state->rect.left, p.y - m_state->rect.top}; }

void Window::CenterWindow(const Window* reference) {
  if (!Exists()) return;
  const Window* on = reference ? reference : m_state->owner;
  const Rect work = GetWorkArea();
  const Rect area = (on && on->Exists() && on->IsVisible() && !on->IsIconic()) ? on->GetWindowRect() : work;
  const Rect me = m_state->rect;
  int x = area.left + (area.Width() - me.Width()) / 2;
  int y = area.top + (area.Height() - me.Height()) / 2;
  // Keep it inside the work area: right and bottom edges first, then left
  // and top, so a window larger than the area shows its top-left corner.
  if (x + me.Width() > work.right) x = work.right - me.Width();
  if (y + me.Height() > work.bottom) y = work.bottom - me.Height();
  x = std::max(x, work.left);
  y = std::max(y, work.top);
  Move({x, y, x + me.Width(), y + me.Height()});
  m_state->rect = {x, y, x + me.Width(), y + me.Height()};
}

void Window::BringToTop() {
  if (!Exists()) return;
  XRaiseWindow(WindowSystem::Get().GetDisplay(), m_state->xid);
  XFlush(WindowSystem::Get().GetDisplay());
}

void Window::SetTopmost(bool topmost) {
  if (!Exists()) return;
  if (topmost) m_state->exStyle |= WS_EX_TOPMOST;
  else m_state->exStyle &= ~WS_EX_TOPMOST;
  Display* d = WindowSystem::Get().GetDisplay();
  if (m_state->mapped) SendNetWmState(d, m_state->xid, topmost, WindowSystem::Get().GetAtom("_NET_WM_STATE_ABOVE"));
  else ApplyHints(m_state.get());
  if (topmost) XRaiseWindow(d, m_state->xid);
  XFlush(d);
}

void Window::SetTitle(const std::wstring& title) {
  if (!Exists()) return;
  m_state->title = title;
  WindowSystem& system = WindowSystem::Get();
  const std::string utf8 = ToUtf8(title);
  XChangeProperty(system.GetDisplay(), m_state->xid, system.GetAtom("_NET_WM_NAME"), system.GetAtom("UTF8_STRING"), 8,
                  PropModeReplace, reinterpret_cast<const unsigned char*>(utf8.c_str()), static_cast<int>(utf8.size()));
  XStoreName(system.GetDisplay(), m_state->xid, utf8.c_str());
}

std::wstring Window::GetTitle() const { return Exists() ? m_state->title : std::wstring(); }

void Window::SetIcon(const uint32_t* pixels, int width, int height) {
  if (!Exists() || !pixels || width <= 0 || height <= 0) return;
  std::vector<long> data;
  data.reserve(2 + static_cast<size_t>(width) * height);
  data.push_back(width);
  data.push_back(height);
  for (int i = 0; i < width * height; ++i) data.push_back(static_cast<long>(pixels[i]));
  WindowSystem& system = WindowSystem::Get();
  XChangeProperty(system.GetDisplay(), m_state->xid, system.GetAtom("_NET_WM_ICON"), XA_CARDINAL, 32, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(data.data()), static_cast<int>(data.size()));
}

void Window::Invalidate(const Rect* rect) {
  // Any thread may get here, so nothing of the window's geometry is read:
  // the loop clips the rectangle to the client area when it paints.
  constexpr int kEverything = 1 << 20;
  State* s = m_state.get();
  {
    std::scoped_lock lock(s->paintMutex);
    const Rect r = rect ? *rect : Rect{0, 0, kEverything, kEverything};
    if (r.IsEmpty()) return;
    if (s->update.IsEmpty()) {
      s->update = r;
    } else {
      s->update = {std::min(s->update.left, r.left), std::min(s->update.top, r.top),
                   std::max(s->update.right, r.right), std::max(s->update.bottom, r.bottom)};
    }
    if (s->paintPending) return;
    s->paintPending = true;
  }
  WindowSystem::Get().Wake();
}

Rect Window::GetUpdateRect() const {
  std::scoped_lock lock(m_state->paintMutex);
  return m_state->painting;
}

void Window::Present(const uint8_t* pixels, int stride, int width, int height, const Rect& dirty) {
  if (!Exists() || !pixels || width <= 0 || height <= 0) return;
  const Rect r{std::max(0, dirty.left), std::max(0, dirty.top), std::min(width, dirty.right),
               std::min(height, dirty.bottom)};
  if (r.IsEmpty()) return;
  Display* d = WindowSystem::Get().GetDisplay();
  State* s = m_state.get();
  if (PresentShared(pixels, stride, width, height, r)) return;
  // The image only borrows the caller's pixels for the duration of the call.
  XImage* image = XCreateImage(d, s->visual, static_cast<unsigned>(s->depth), ZPixmap, 0,
                               reinterpret_cast<char*>(const_cast<uint8_t*>(pixels)), static_cast<unsigned>(width),
                               static_cast<unsigned>(height), 32, stride);
  if (!image) return;
  XPutImage(d, s->xid, s->gc, image, r.left, r.top, r.left, r.top, static_cast<unsigned>(r.Width()),
            static_cast<unsigned>(r.Height()));
  image->data = nullptr;
  XDestroyImage(image);
  XFlush(d);
}

bool Window::PresentShared(const uint8_t* pixels, int stride, int width, int height, const Rect& r) {
  WindowSystem& system = WindowSystem::Get();
  State* s = m_state.get();
  if (!system.HasShm() || s->shmFailed) return false;
  Display* d = system.GetDisplay();
  if (s->shmImage && (s->shmImage->width != width || s->shmImage->height != height)) ReleaseShared();
  if (!s->shmImage) {
    XImage* image = XShmCreateImage(d, s->visual, static_cast<unsigned>(s->depth), ZPixmap, nullptr, &s->shm,
                                    static_cast<unsigned>(width), static_cast<unsigned>(height));
    if (!image || image->bits_per_pixel != 32) {
      if (image) XDestroyImage(image);
      s->shmFailed = true;
      return false;
    }
    s->shm.shmid = shmget(IPC_PRIVATE, static_cast<size_t>(image->bytes_per_line) * height, IPC_CREAT | 0600);
    if (s->shm.shmid < 0) {
      XDestroyImage(image);
      s->shmFailed = true;
      return false;
    }
    s->shm.shmaddr = image->data = static_cast<char*>(shmat(s->shm.shmid, nullptr, 0));
    s->shm.readOnly = False;
    const bool attached = image->data != reinterpret_cast<char*>(-1) &&
                          system.CheckedCall([&] { XShmAttach(d, &s->shm); });
    // Marked for removal now: it goes when both sides have detached.
    shmctl(s->shm.shmid, IPC_RMID, nullptr);
    if (!attached) {
      if (image->data != reinterpret_cast<char*>(-1)) shmdt(image->data);
      image->data = nullptr;
      XDestroyImage(image);
      s->shmFailed = true;
      return false;
    }
    s->shmImage = image;
  }
  XImage* image = s->shmImage;
  const size_t rowBytes = static_cast<size_t>(r.Width()) * 4;
  for (int y = r.top; y < r.bottom; ++y) {
    std::memcpy(image->data + static_cast<size_t>(y) * image->bytes_per_line + static_cast<size_t>(r.left) * 4,
                pixels + static_cast<size_t>(y) * stride + static_cast<size_t>(r.left) * 4, rowBytes);
  }
  XShmPutImage(d, s->xid, s->gc, image, r.left, r.top, r.left, r.top, static_cast<unsigned>(r.Width()),
               static_cast<unsigned>(r.Height()), False);
  // The segment may be written again only after the server has read it.
  XSync(d, False);
  return true;
}

void Window::ReleaseShared() {
  State* s = m_state.get();
  if (!s->shmImage) return;
  Display* d = WindowSystem::Get().GetDisplay();
  XShmDetach(d, &s->shm);
  XSync(d, False);
  shmdt(s->shm.shmaddr);
  s->shmImage->data = nullptr;
  XDestroyImage(s->shmImage);
  s->shmImage = nullptr;
}

bool Window::CaptureContents(std::vector<uint32_t>& pixels, int& width, int& height) const {
  if (!Exists()) return false;
  Display* d = WindowSystem::Get().GetDisplay();
  XSync(d, False);
  width = m_state->rect.Width();
  height = m_state->rect.Height();
  XImage* image = XGetImage(d, m_state->xid, 0, 0, static_cast<unsigned>(width), static_cast<unsigned>(height),
                            AllPlanes, ZPixmap);
  if (!image) return false;
  pixels.resize(static_cast<size_t>(width) * height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const unsigned long p = XGetPixel(image, x, y);
      pixels[static_cast<size_t>(y) * width + x] =
          m_state->depth == 32 ? static_cast<uint32_t>(p) : (0xFF000000u | static_cast<uint32_t>(p & 0xFFFFFF));
    }
  }
  XDestroyImage(image);
  return true;
}

void Window::SetCapture() {
  if (!Exists()) return;
  XGrabPointer(WindowSystem::Get().GetDisplay(), m_state->xid, True,
               ButtonPressMask | ButtonReleaseMask | PointerMotionMask, GrabModeAsync, GrabModeAsync, None, None,
               CurrentTime);
  CaptureHolder() = m_state->handle;
}

void Window::ReleaseCapture() {
  if (CaptureHolder() != m_state->handle) return;
  CaptureHolder() = 0;
  if (WindowSystem::Get().IsOpen()) XUngrabPointer(WindowSystem::Get().GetDisplay(), CurrentTime);
}

bool Window::HasCapture() const { return Exists() && CaptureHolder() == m_state->handle; }

void Window::SetFocus() {
  if (!Exists() || !m_state->mapped) return;
  XSetInputFocus(WindowSystem::Get().GetDisplay(), m_state->xid, RevertToParent, CurrentTime);
}

bool Window::SetCursor(const std::wstring& name) {
  if (!Exists()) return false;
  const Cursor cursor = WindowSystem::Get().CursorFor(name);
  if (cursor == None) return false;
  XDefineCursor(WindowSystem::Get().GetDisplay(), m_state->xid, cursor);
  return true;
}

void Window::TrackMouse() {
  m_state->trackLeave = true;
  if (!m_state->trackHover) {
    m_state->trackHover = true;
    m_state->hoverDue = Clock::now() + std::chrono::milliseconds(kHoverTimeMs);
  }
}

void Window::StartWindowDrag(Point screenPoint) {
  if (!Exists()) return;
  WindowSystem& system = WindowSystem::Get();
  Display* d = system.GetDisplay();
  ReleaseCapture();
  if (!system.WindowManagerMoves()) {
    system.BeginSelfDrag(m_state.get(), screenPoint);
    return;
  }
  XUngrabPointer(d, CurrentTime);
  XEvent e{};
  e.xclient.type = ClientMessage;
  e.xclient.window = m_state->xid;
  e.xclient.message_type = system.GetAtom("_NET_WM_MOVERESIZE");
  e.xclient.format = 32;
  e.xclient.data.l[0] = screenPoint.x;
  e.xclient.data.l[1] = screenPoint.y;
  e.xclient.data.l[2] = 8;  // move
  e.xclient.data.l[3] = 1;  // with the left button
  e.xclient.data.l[4] = 1;  // asked by an application
  XSendEvent(d, DefaultRootWindow(d), False, SubstructureRedirectMask | SubstructureNotifyMask, &e);
  XFlush(d);
}

bool Window::SetTimer(uintptr_t id, unsigned elapseMs) {
  if (!Exists()) return false;
  const auto interval = std::chrono::milliseconds(std::max(1u, elapseMs));
  m_state->timers[id] = {interval, Clock::now() + interval};
  WindowSystem::Get().Wake();
  return true;
}

bool Window::KillTimer(uintptr_t id) { return m_state->timers.erase(id) != 0; }

intptr_t Window::SendMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) {
  if (!Exists()) return 0;
  return platform::SendMessage(m_state->handle, message, wParam, lParam);
}

void Window::PostMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) {
  const WindowHandle handle = m_state->handle;
  if (handle) platform::PostMessage(handle, message, wParam, lParam);
}

intptr_t Window::DefaultProc(const Message& message) {
  if (message.message == WM_CLOSE) Destroy();
  return 0;
}

int Window::RunModal(int showCommand) {
  if (!Exists()) return -1;
  WindowSystem& system = WindowSystem::Get();
  const WindowHandle handle = m_state->handle;
  Window* owner = m_state->owner;
  const WindowHandle ownerHandle = owner ? owner->GetHandle() : 0;
  auto ownerAlive = [&]() { return ownerHandle && system.Find(ownerHandle) == owner; };
  Show(showCommand);
  if (ownerAlive()) owner->Enable(false);
  int result = 0;
  bool quit = false;
  Message m;
  while (system.Find(handle) == this) {
    if (!system.GetMessage(m, -1)) continue;
    if (m.message == WM_QUIT) {
      quit = true;
      break;
    }
    if (m.window == handle && m.message == WM_CLOSE && m.posted) {
      result = static_cast<int>(m.wParam);
      // The owner comes back before this window goes, so focus returns to it.
      if (ownerAlive()) {
        owner->Enable(true);
        owner->SetFocus();
      }
    }
    Window* target = system.Find(m.window);
    if (target && target->GetState()->handler &&
        target->GetState()->handler->PreTranslateMessage(*target, m)) {
      continue;
    }
    system.Dispatch(m);
  }
  if (ownerAlive()) {
    owner->Enable(true);
    owner->SetFocus();
  }
  if (quit) system.PostQuit(static_cast<int>(m.wParam));
  return result;
}

}  // namespace platform
