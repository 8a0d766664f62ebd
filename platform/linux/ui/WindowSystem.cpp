#include "platform/linux/ui/WindowSystem.h"

#include <X11/Xatom.h>
#include <X11/cursorfont.h>
#include <X11/keysym.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "model/VirtualKeys.h"
#include "platform/TextConvert.h"
#include "platform/XKeyTable.h"

namespace platform {

namespace {
constexpr auto kPaintInterval = std::chrono::milliseconds(15);

int GenericModifier(int vk) {
  if (vk == VirtualKey::LeftShift || vk == VirtualKey::RightShift) return VirtualKey::Shift;
  if (vk == VirtualKey::LeftControl || vk == VirtualKey::RightControl) return VirtualKey::Control;
  if (vk == VirtualKey::LeftMenu || vk == VirtualKey::RightMenu) return VirtualKey::Menu;
  return vk;
}

int OtherSide(int vk) {
  switch (vk) {
    case VirtualKey::LeftShift: return VirtualKey::RightShift;
    case VirtualKey::RightShift: return VirtualKey::LeftShift;
    case VirtualKey::LeftControl: return VirtualKey::RightControl;
    case VirtualKey::RightControl: return VirtualKey::LeftControl;
    case VirtualKey::LeftMenu: return VirtualKey::RightMenu;
    case VirtualKey::RightMenu: return VirtualKey::LeftMenu;
    default: return 0;
  }
}

// Xlib's default error handler ends the process.  An error here is a
// request on a window that just went away or a refused extension call: the
// toolkit carries on and CheckedCall reports it where it matters.
std::atomic<int> g_lastXError{0};
int RecordXError(Display*, XErrorEvent* error) {
  g_lastXError = error->error_code;
  if (std::getenv("KESTREL_X_DEBUG")) std::fprintf(stderr, "X error %d (request %d)\n", error->error_code, error->request_code);
  return 0;
}
}  // namespace

unsigned ModifiersFromState(unsigned state) {
  unsigned m = 0;
  if (state & ShiftMask) m |= kModifierShift;
  if (state & ControlMask) m |= kModifierControl;
  if (state & Mod1Mask) m |= kModifierAlt;
  return m;
}

uintptr_t MouseKeysFromState(unsigned state) {
  uintptr_t k = 0;
  if (state & Button1Mask) k |= MK_LBUTTON;
  if (state & Button3Mask) k |= MK_RBUTTON;
  if (state & Button2Mask) k |= MK_MBUTTON;
  if (state & ShiftMask) k |= MK_SHIFT;
  if (state & ControlMask) k |= MK_CONTROL;
  return k;
}

WindowSystem& WindowSystem::Get() {
  static WindowSystem system;
  return system;
}

WindowSystem::WindowSystem() { m_wakeFd = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC); }

bool WindowSystem::Open() {
  if (m_display) return true;
  const char* name = std::getenv("DISPLAY");
  if (!name || !*name) return false;
  m_display = XOpenDisplay(name);
  if (!m_display) return false;
  XSetErrorHandler(RecordXError);
  // The input method turns keys into text for every layout (and handles
  // compose and dead keys); $XMODIFIERS may name another one.
  XSetLocaleModifiers("");
  m_inputMethod = XOpenIM(m_display, nullptr, nullptr, nullptr);
  // Shared memory only works with a server on this machine.
  const char* at = std::strchr(name, ':');
  m_hasShm = XShmQueryExtension(m_display) && at == name;
  return true;
}

bool WindowSystem::CheckedCall(const std::function<void()>& calls) {
  XSync(m_display, False);
  g_lastXError = 0;
  calls();
  XSync(m_display, False);
  return g_lastXError == 0;
}

Atom WindowSystem::GetAtom(const char* name) {
  auto found = m_atoms.find(name);
  if (found != m_atoms.end()) return found->second;
  const Atom atom = XInternAtom(m_display, name, False);
  m_atoms.emplace(name, atom);
  return atom;
}

void WindowSystem::Register(Window::State* state) {
  std::scoped_lock lock(m_registryMutex);
  m_windows[state->handle] = state;
}

void WindowSystem::Unregister(Window::State* state) {
  std::scoped_lock lock(m_registryMutex);
  m_windows.erase(state->handle);
}

Window* WindowSystem::Find(WindowHandle handle) {
  std::scoped_lock lock(m_registryMutex);
  auto found = m_windows.find(handle);
  return found == m_windows.end() ? nullptr : found->second->self;
}

Window::State* WindowSystem::FindByXid(::Window xid) {
  std::scoped_lock lock(m_registryMutex);
  auto found = m_windows.find(static_cast<WindowHandle>(xid));
  return found == m_windows.end() ? nullptr : found->second;
}

std::vector<Window*> WindowSystem::AllWindows() {
  std::scoped_lock lock(m_registryMutex);
  std::vector<Window*> all;
  for (auto& [handle, state] : m_windows) all.push_back(state->self);
  return all;
}

bool WindowSystem::Post(const Message& message) {
  {
    std::scoped_lock lock(m_postMutex);
    m_posted.push_back(message);
    m_posted.back().posted = true;
  }
  Wake();
  return true;
}

void WindowSystem::Wake() {
  if (m_wakeFd < 0) return;
  const uint64_t one = 1;
  // A full counter already wakes the loop, so a failed write loses nothing.
  [[maybe_unused]] ssize_t n = write(m_wakeFd, &one, sizeof one);
}

void WindowSystem::PostQuit(int code) { Post(Message{0, WM_QUIT, static_cast<uintptr_t>(code), 0, 0, 0, true}); }

void WindowSystem::DrainPosted() {
  std::deque<Message> posted;
  {
    std::scoped_lock lock(m_postMutex);
    posted.swap(m_posted);
  }
  for (Message& m : posted) m_ready.push_back(m);
}

void WindowSystem::TakeInputState(const Message& m) {
  if (m.posted || m.window == 0) return;
  m_modifiers = m.modifiers;
  if (m.sidedKey == 0) return;
  const int generic = GenericModifier(m.sidedKey);
  if (m.message == WM_KEYDOWN || m.message == WM_SYSKEYDOWN) {
    m_keysDown.insert(m.sidedKey);
    m_keysDown.insert(generic);
  } else if (m.message == WM_KEYUP || m.message == WM_SYSKEYUP) {
    m_keysDown.erase(m.sidedKey);
    const int other = OtherSide(m.sidedKey);
    if (other == 0 || m_keysDown.count(other) == 0) m_keysDown.erase(generic);
  }
}

void WindowSystem::QueueInput(Window::State* s, uint32_t msg, uintptr_t w, intptr_t l, Time time, int sidedKey) {
  Message m;
  m.sidedKey = sidedKey;
  m.window = s->handle;
  m.message = msg;
  m.wParam = w;
  m.lParam = l;
  m.time = static_cast<uint32_t>(time);
  m.modifiers = m_readModifiers;
  m_ready.push_back(m);
}

std::u32string WindowSystem::TypedText(Window::State* s, XKeyEvent& k) {
  char text[64] = {};
  KeySym keysym = NoSymbol;
  std::u32string typed;
  if (s->inputContext) {
    Status status = 0;
    const int length = Xutf8LookupString(s->inputContext, &k, text, sizeof text - 1, &keysym, &status);
    if ((status == XLookupChars || status == XLookupBoth) && length > 0) {
      for (wchar_t c : FromUtf8(std::string_view(text, static_cast<size_t>(length)))) {
        typed.push_back(static_cast<char32_t>(c));
      }
    }
    return typed;
  }
  // Without an input method: Latin-1, whose bytes are the code points.
  const int length = XLookupString(&k, text, sizeof text - 1, &keysym, nullptr);
  for (int i = 0; i < length; ++i) typed.push_back(static_cast<unsigned char>(text[i]));
  return typed;
}

void WindowSystem::DrainX() {
  if (!m_display) return;
  while (XPending(m_display) > 0) {
    XEvent event;
    XNextEvent(m_display, &event);
    // Keys that are part of a composed character belong to the input method.
    if (m_inputMethod && XFilterEvent(&event, None)) continue;
    Translate(event);
  }
}

void WindowSystem::Translate(XEvent& event) {
  Window::State* s = FindByXid(event.xany.window);
  if (!s) return;
  switch (event.type) {
    case ButtonPress: {
      const XButtonEvent& b = event.xbutton;
      m_readModifiers = ModifiersFromState(b.state);
      if (b.button == Button4 || b.button == Button5) {
        const int delta = b.button == Button4 ? WHEEL_DELTA : -WHEEL_DELTA;
        const uintptr_t w = (static_cast<uintptr_t>(static_cast<uint16_t>(delta)) << 16) | MouseKeysFromState(b.state);
        QueueInput(s, WM_MOUSEWHEEL, w, MakeLParam(b.x_root, b.y_root), b.time);
        break;
      }
      uint32_t down = 0, dbl = 0;
      uintptr_t bit = 0;
      if (b.button == Button1) { down = WM_LBUTTONDOWN; dbl = WM_LBUTTONDBLCLK; bit = MK_LBUTTON; }
      else if (b.button == Button3) { down = WM_RBUTTONDOWN; dbl = WM_RBUTTONDBLCLK; bit = MK_RBUTTON; }
      else if (b.button == Button2) { down = WM_MBUTTONDOWN; dbl = WM_MBUTTONDBLCLK; bit = MK_MBUTTON; }
      else break;
      // X reports no double clicks: a second press of the same button soon
      // after and close to the first is one.
      const bool isDouble = s->lastButton == b.button && b.time - s->lastPressTime <= kDoubleClickTimeMs &&
                            std::abs(b.x - s->lastPressPoint.x) <= kDoubleClickDistance &&
                            std::abs(b.y - s->lastPressPoint.y) <= kDoubleClickDistance;
      if (isDouble) {
        s->lastButton = 0;
      } else {
        s->lastButton = b.button;
        s->lastPressTime = b.time;
        s->lastPressPoint = {b.x, b.y};
      }
      QueueInput(s, isDouble ? dbl : down, MouseKeysFromState(b.state) | bit, MakeLParam(b.x, b.y), b.time);
      break;
    }
    case ButtonRelease: {
      const XButtonEvent& b = event.xbutton;
      m_readModifiers = ModifiersFromState(b.state);
      if (s->dragging && b.button == Button1) {
        s->dragging = false;
        XUngrabPointer(m_display, b.time);
        break;
      }
      uint32_t up = 0;
      uintptr_t bit = 0;
      if (b.button == Button1) { up = WM_LBUTTONUP; bit = MK_LBUTTON; }
      else if (b.button == Button3) { up = WM_RBUTTONUP; bit = MK_RBUTTON; }
      else if (b.button == Button2) { up = WM_MBUTTONUP; bit = MK_MBUTTON; }
      else break;
      QueueInput(s, up, MouseKeysFromState(b.state) & ~bit, MakeLParam(b.x, b.y), b.time);
      break;
    }
    case MotionNotify: {
      const XMotionEvent& m = event.xmotion;
      m_readModifiers = ModifiersFromState(m.state);
      if (s->dragging) {
        XMoveWindow(m_display, s->xid, m.x_root - s->dragOffset.x, m.y_root - s->dragOffset.y);
        break;
      }
      if (s->trackHover) {
        s->hoverDue = Clock::now() + std::chrono::milliseconds(kHoverTimeMs);
        s->hoverPoint = {m.x, m.y};
      }
      QueueInput(s, WM_MOUSEMOVE, MouseKeysFromState(m.state), MakeLParam(m.x, m.y), m.time);
      break;
    }
    case LeaveNotify: {
      const XCrossingEvent& c = event.xcrossing;
      // Leaves caused by grabs (capture, the window manager's move) are not
      // the pointer leaving.
      if (c.mode != NotifyNormal || c.detail == NotifyInferior) break;
      if (s->trackLeave) {
        s->trackLeave = false;
        s->trackHover = false;
        QueueInput(s, WM_MOUSELEAVE, 0, 0, c.time);
      }
      break;
    }
    case KeyPress:
    case KeyRelease: {
      XKeyEvent& k = event.xkey;
      // Auto-repeat arrives as release + press with the same time: keep the
      // press only, marked as a repeat.
      if (event.type == KeyRelease && XEventsQueued(m_display, QueuedAfterReading) > 0) {
        XEvent next;
        XPeekEvent(m_display, &next);
        if (next.type == KeyPress && next.xkey.keycode == k.keycode && next.xkey.time == k.time) break;
      }
      const std::u32string typed = event.type == KeyPress ? TypedText(s, k) : std::u32string();
      // The virtual key comes from the layout's unshifted symbol ('A'
      // whether or not Shift is held).
      const int sided = VirtualKeyFromKeycode(m_display, k.keycode, (k.state & Mod2Mask) != 0);
      // Key messages name the modifier without its side, as the toolkit
      // expects; both are tracked as held.
      const int vk = GenericModifier(sided);
      const bool down = event.type == KeyPress;
      const bool repeat = down && m_keysReadDown.count(sided) != 0;
      if (sided != 0) {
        if (down) m_keysReadDown.insert(sided);
        else m_keysReadDown.erase(sided);
      }
      // The state bits describe the moment before this key; fold in the key itself.
      unsigned state = k.state;
      const unsigned keyBit = vk == VirtualKey::Shift     ? ShiftMask
                              : vk == VirtualKey::Control ? ControlMask
                              : vk == VirtualKey::Menu    ? Mod1Mask
                                                          : 0;
      state = down ? (state | keyBit) : (state & ~keyBit);
      m_readModifiers = ModifiersFromState(state);
      intptr_t l = 1 | (static_cast<intptr_t>((k.keycode - 8) & 0xFF) << 16);
      if (repeat) l |= static_cast<intptr_t>(1) << 30;
      if (!down) l |= (static_cast<intptr_t>(1) << 30) | (static_cast<intptr_t>(1) << 31);
      const bool alt = (state & Mod1Mask) != 0 && vk != VirtualKey::Menu;
      const uint32_t msg = down ? (alt ? WM_SYSKEYDOWN : WM_KEYDOWN) : (alt ? WM_SYSKEYUP : WM_KEYUP);
      if (vk != 0) QueueInput(s, msg, static_cast<uintptr_t>(vk), l, k.time, sided);
      if (down && !(k.state & (ControlMask | Mod1Mask))) {
        for (char32_t c : typed) {
          if (c >= 0x20 || c == '\r' || c == '\t' || c == 8 || c == 27) QueueInput(s, WM_CHAR, c, l, k.time);
        }
      }
      break;
    }
    case Expose: {
      const XExposeEvent& e = event.xexpose;
      Rect r{e.x, e.y, e.x + e.width, e.y + e.height};
      s->self->Invalidate(&r);
      break;
    }
    case ConfigureNotify: {
      const XConfigureEvent& c = event.xconfigure;
      int x = c.x, y = c.y;
      if (!c.send_event) {
        ::Window child;
        XTranslateCoordinates(m_display, s->xid, DefaultRootWindow(m_display), 0, 0, &x, &y, &child);
      }
      const bool sized = c.width != s->rect.Width() || c.height != s->rect.Height();
      const bool moved = x != s->rect.left || y != s->rect.top;
      s->rect = {x, y, x + c.width, y + c.height};
      if (sized) {
        QueueInput(s, WM_SIZE, SIZE_RESTORED, MakeLParam(c.width, c.height), CurrentTime);
        s->self->Invalidate(nullptr);
      }
      if (moved) QueueInput(s, WM_MOVE, 0, MakeLParam(x, y), CurrentTime);
      break;
    }
    case MapNotify:
      s->mapped = true;
      s->iconic = false;
      QueueInput(s, WM_SHOWWINDOW, 1, 0, CurrentTime);
      break;
    case UnmapNotify:
      s->mapped = false;
      QueueInput(s, WM_SHOWWINDOW, 0, 0, CurrentTime);
      break;
    case FocusIn:
    case FocusOut: {
      const XFocusChangeEvent& f = event.xfocus;
      if (f.mode == NotifyGrab || f.mode == NotifyUngrab || f.detail == NotifyPointer ||
          f.detail == NotifyInferior) {
        break;
      }
      const uintptr_t active = event.type == FocusIn ? 1 : 0;
      QueueInput(s, WM_NCACTIVATE, active, 0, CurrentTime);
      QueueInput(s, WM_ACTIVATE, active, 0, CurrentTime);
      QueueInput(s, active ? WM_SETFOCUS : WM_KILLFOCUS, 0, 0, CurrentTime);
      break;
    }
    case ClientMessage:
      if (event.xclient.message_type == GetAtom("WM_PROTOCOLS") &&
          static_cast<Atom>(event.xclient.data.l[0]) == GetAtom("WM_DELETE_WINDOW")) {
        // The window manager's close goes through the queue like a posted
        // WM_CLOSE, so a modal loop sees its (zero) result.
        Message m{s->handle, WM_CLOSE, 0, 0, 0, m_modifiers, true};
        m_ready.push_back(m);
      }
      break;
    default:
      break;
  }
}

bool WindowSystem::QueueDueWork() {
  const Clock::time_point now = Clock::now();
  bool queued = false;
  for (Window* window : AllWindows()) {
    Window::State* s = window->GetState();
    for (auto& [id, timer] : s->timers) {
      if (timer.due <= now) {
        timer.due = std::max(timer.due + timer.interval, now);
        m_ready.push_back(Message{s->handle, WM_TIMER, id, 0, 0, m_modifiers, false});
        queued = true;
      }
    }
    if (s->trackHover && s->hoverDue != Clock::time_point{} && s->hoverDue <= now) {
      s->trackHover = false;
      m_ready.push_back(Message{s->handle, WM_MOUSEHOVER, 0, MakeLParam(s->hoverPoint.x, s->hoverPoint.y), 0,
                                m_modifiers, false});
      queued = true;
    }
    std::scoped_lock lock(s->paintMutex);
    if (s->paintPending && s->mapped && s->lastPaint + kPaintInterval <= now) {
      s->paintPending = false;
      const Rect& u = s->update;
      s->painting = {std::max(u.left, 0), std::max(u.top, 0), std::min(u.right, s->rect.Width()),
                     std::min(u.bottom, s->rect.Height())};
      s->update = Rect{};
      if (s->painting.IsEmpty()) continue;
      s->lastPaint = now;
      m_ready.push_back(Message{s->handle, WM_PAINT, 0, 0, 0, m_modifiers, false});
      queued = true;
    }
  }
  return queued;
}

int WindowSystem::MillisecondsToNextDeadline() {
  const Clock::time_point now = Clock::now();
  Clock::time_point next = Clock::time_point::max();
  for (Window* window : AllWindows()) {
    Window::State* s = window->GetState();
    for (auto& [id, timer] : s->timers) next = std::min(next, timer.due);
    if (s->trackHover && s->hoverDue != Clock::time_point{}) next = std::min(next, s->hoverDue);
    std::scoped_lock lock(s->paintMutex);
    if (s->paintPending && s->mapped) next = std::min(next, s->lastPaint + kPaintInterval);
  }
  if (next == Clock::time_point::max()) return -1;
  if (next <= now) return 0;
  return static_cast<int>(std::chrono::ceil<std::chrono::milliseconds>(next - now).count());
}

bool WindowSystem::GetMessage(Message& out, int timeoutMs) {
  const Clock::time_point deadline =
      timeoutMs < 0 ? Clock::time_point::max() : Clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    if (m_ready.empty()) {
      DrainPosted();
      DrainX();
    }
    // Timers, hover and paints come only when no input or posted message is
    // waiting, so they never hold input up.
    if (m_ready.empty()) QueueDueWork();
    if (!m_ready.empty()) {
      out = m_ready.front();
      m_ready.pop_front();
      TakeInputState(out);
      return true;
    }
    int wait = MillisecondsToNextDeadline();
    if (timeoutMs >= 0) {
      const Clock::time_point now = Clock::now();
      if (now >= deadline) return false;
      const int left = static_cast<int>(std::chrono::ceil<std::chrono::milliseconds>(deadline - now).count());
      wait = wait < 0 ? left : std::min(wait, left);
    }
    pollfd fds[2];
    int count = 0;
    if (m_display) {
      XFlush(m_display);
      fds[count++] = {ConnectionNumber(m_display), POLLIN, 0};
    }
    if (m_wakeFd >= 0) fds[count++] = {m_wakeFd, POLLIN, 0};
    poll(fds, count, wait);
    if (m_wakeFd >= 0) {
      uint64_t value;
      [[maybe_unused]] ssize_t n = read(m_wakeFd, &value, sizeof value);
    }
  }
}

intptr_t WindowSystem::Dispatch(const Message& message) {
  Window* window = Find(message.window);
  if (!window) return 0;
  Window::State* s = window->GetState();
  if (!s->enabled && IsInputMessage(message.message)) return 0;
  if (s->handler) return s->handler->OnWindowMessage(*window, message);
  return window->DefaultProc(message);
}

Cursor WindowSystem::CursorFor(const std::wstring& name) {
  auto found = m_cursors.find(name);
  if (found != m_cursors.end()) return found->second;
  static const std::pair<const wchar_t*, unsigned> kShapes[] = {
      {L"arrow", XC_left_ptr},          {L"wait", XC_watch}, {L"cross", XC_crosshair},
      {L"sizewe", XC_sb_h_double_arrow}, {L"sizens", XC_sb_v_double_arrow},
      {L"hand", XC_hand2},              {L"help", XC_question_arrow}};
  for (const auto& [shapeName, shape] : kShapes) {
    if (name == shapeName) {
      const Cursor cursor = XCreateFontCursor(m_display, shape);
      m_cursors.emplace(name, cursor);
      return cursor;
    }
  }
  return None;
}

bool WindowSystem::WindowManagerMoves() {
  const ::Window root = DefaultRootWindow(m_display);
  Atom type;
  int format;
  unsigned long count, after;
  unsigned char* data = nullptr;
  bool supported = false;
  if (XGetWindowProperty(m_display, root, GetAtom("_NET_SUPPORTED"), 0, 4096, False, XA_ATOM, &type, &format,
                         &count, &after, &data) == Success && data) {
    const Atom wanted = GetAtom("_NET_WM_MOVERESIZE");
    const Atom* atoms = reinterpret_cast<const Atom*>(data);
    supported = std::find(atoms, atoms + count, wanted) != atoms + count;
  }
  if (data) XFree(data);
  return supported;
}

void WindowSystem::BeginSelfDrag(Window::State* s, Point screenPoint) {
  s->dragging = true;
  s->dragOffset = {screenPoint.x - s->rect.left, screenPoint.y - s->rect.top};
  XGrabPointer(m_display, s->xid, False, ButtonReleaseMask | PointerMotionMask, GrabModeAsync, GrabModeAsync,
               None, None, CurrentTime);
}

bool OpenDisplay() { return WindowSystem::Get().Open(); }
bool HasDisplay() { return WindowSystem::Get().IsOpen(); }

int RunMessageLoop() {
  WindowSystem& system = WindowSystem::Get();
  Message m;
  while (system.GetMessage(m, -1)) {
    if (m.message == WM_QUIT) return static_cast<int>(m.wParam);
    system.Dispatch(m);
  }
  return 0;
}

void PostQuitMessage(int exitCode) { WindowSystem::Get().PostQuit(exitCode); }

bool PumpMessages(int timeoutMs) {
  WindowSystem& system = WindowSystem::Get();
  Message m;
  bool any = false;
  int wait = timeoutMs;
  while (system.GetMessage(m, wait)) {
    any = true;
    wait = 0;
    if (m.message == WM_QUIT) {
      // Not ours to end: leave it for the loop that owns the thread.
      system.Post(m);
      break;
    }
    system.Dispatch(m);
  }
  return any;
}

intptr_t SendMessage(WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
  Message m{window, message, wParam, lParam, 0, WindowSystem::Get().Modifiers(), false};
  return WindowSystem::Get().Dispatch(m);
}

bool PostMessage(WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
  return WindowSystem::Get().Post(Message{window, message, wParam, lParam, 0, 0, true});
}

Window* WindowFromHandle(WindowHandle window) { return WindowSystem::Get().Find(window); }

std::vector<WindowHandle> FindWindowsByTitle(const std::wstring& title) {
  std::vector<WindowHandle> found;
  for (Window* window : WindowSystem::Get().AllWindows()) {
    if (window->GetTitle() == title) found.push_back(window->GetHandle());
  }
  return found;
}

int CloseWindowsByTitle(const std::wstring& title) {
  const std::vector<WindowHandle> windows = FindWindowsByTitle(title);
  for (WindowHandle window : windows) PostMessage(window, WM_CLOSE, 0, 0);
  return static_cast<int>(windows.size());
}

bool IsKeyDown(int virtualKey) { return WindowSystem::Get().IsKeyDown(virtualKey); }
unsigned GetModifierState() { return WindowSystem::Get().Modifiers(); }

Rect GetWorkArea() {
  WindowSystem& system = WindowSystem::Get();
  Display* d = system.GetDisplay();
  if (!d) return {};
  Rect area{0, 0, DisplayWidth(d, DefaultScreen(d)), DisplayHeight(d, DefaultScreen(d))};
  Atom type;
  int format;
  unsigned long count, after;
  unsigned char* data = nullptr;
  if (XGetWindowProperty(d, DefaultRootWindow(d), system.GetAtom("_NET_WORKAREA"), 0, 4, False, XA_CARDINAL, &type,
                         &format, &count, &after, &data) == Success && data && count >= 4 && format == 32) {
    const long* v = reinterpret_cast<const long*>(data);
    if (v[2] > 0 && v[3] > 0) area = {static_cast<int>(v[0]), static_cast<int>(v[1]), static_cast<int>(v[0] + v[2]),
                                      static_cast<int>(v[1] + v[3])};
  }
  if (data) XFree(data);
  return area;
}

Point GetCursorPos() {
  Display* d = WindowSystem::Get().GetDisplay();
  if (!d) return {};
  ::Window root, child;
  int rx = 0, ry = 0, wx, wy;
  unsigned mask;
  XQueryPointer(d, DefaultRootWindow(d), &root, &child, &rx, &ry, &wx, &wy, &mask);
  return {rx, ry};
}

}  // namespace platform
