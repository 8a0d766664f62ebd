#pragma once
// The X11 side of the toolkit's windows: one display connection, the atoms
// and visuals, the window registry, the cross-thread message queue and the
// loop that turns X events, posted messages, timers and paints into
// messages.  UI thread only, except the parts marked otherwise.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>

#include <atomic>
#include <chrono>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "platform/Window.h"
#include "platform/WindowMessages.h"

namespace platform {

using Clock = std::chrono::steady_clock;

struct Window::State {
  WindowHandler* handler = nullptr;
  Window* self = nullptr;
  Window* owner = nullptr;
  ::Window xid = 0;
  WindowHandle handle = 0;
  Visual* visual = nullptr;
  int depth = 0;
  Colormap colormap = 0;
  GC gc = nullptr;
  XIC inputContext = nullptr;  // typed characters in any layout (and compose keys)
  bool layered = false;
  bool popUp = false;
  uint32_t style = 0;
  uint32_t exStyle = 0;
  std::wstring title;
  Rect rect;  // screen
  bool mapped = false;
  bool iconic = false;
  bool enabled = true;
  bool destroying = false;
  // Timers: number -> interval and next due time.
  struct Timer {
    std::chrono::milliseconds interval;
    Clock::time_point due;
  };
  std::map<uintptr_t, Timer> timers;
  // Hover and leave tracking.
  bool trackLeave = false;
  bool trackHover = false;
  Clock::time_point hoverDue;
  Point hoverPoint;
  // Double clicks: the last press.
  unsigned lastButton = 0;
  Time lastPressTime = 0;
  Point lastPressPoint;
  // Self-managed move while no window manager moves the window.
  bool dragging = false;
  Point dragOffset;
  // Painting: any thread may invalidate.
  std::mutex paintMutex;
  Rect update;
  bool paintPending = false;
  Rect painting;
  Clock::time_point lastPaint;
  // The shared-memory image Present copies into (MIT-SHM), when the server
  // offers it; plain XPutImage otherwise.
  XShmSegmentInfo shm{};
  XImage* shmImage = nullptr;
  bool shmFailed = false;
};

class WindowSystem {
 public:
  static WindowSystem& Get();

  bool Open();
  Display* GetDisplay() const { return m_display; }
  bool IsOpen() const { return m_display != nullptr; }

  Atom GetAtom(const char* name);

  // Registry.
  void Register(Window::State* state);
  void Unregister(Window::State* state);
  Window* Find(WindowHandle handle);
  Window::State* FindByXid(::Window xid);
  std::vector<Window*> AllWindows();

  // Any thread.
  bool Post(const Message& message);
  void Wake();

  // The loop.
  bool GetMessage(Message& out, int timeoutMs);
  intptr_t Dispatch(const Message& message);
  void PostQuit(int code);

  // Input state.
  bool IsKeyDown(int vk) const { return m_keysDown.count(vk) != 0; }
  unsigned Modifiers() const { return m_modifiers; }
  Cursor CursorFor(const std::wstring& name);
  bool WindowManagerMoves();
  bool HasShm() const { return m_hasShm; }
  XIM GetInputMethod() const { return m_inputMethod; }
  // Runs the X calls and reports whether the server raised an error for
  // them (they are synced first).
  bool CheckedCall(const std::function<void()>& calls);
  void BeginSelfDrag(Window::State* state, Point screenPoint);

 private:
  WindowSystem();
  void DrainPosted();
  void DrainX();
  void Translate(XEvent& event);
  void QueueInput(Window::State* s, uint32_t msg, uintptr_t w, intptr_t l, Time time, int sidedKey = 0);
  void TakeInputState(const Message& m);
  std::u32string TypedText(Window::State* s, XKeyEvent& k);
  bool QueueDueWork();
  int MillisecondsToNextDeadline();

  Display* m_display = nullptr;
  bool m_hasShm = false;
  XIM m_inputMethod = nullptr;
  int m_wakeFd = -1;
  std::map<std::string, Atom> m_atoms;
  std::map<std::wstring, Cursor> m_cursors;
  std::mutex m_registryMutex;
  std::map<WindowHandle, Window::State*> m_windows;
  std::mutex m_postMutex;
  std::deque<Message> m_posted;
  std::deque<Message> m_ready;  // UI thread only
  // Keys held as of the message being handled, and as of the last X event
  // read (which is ahead of it: events are read in batches).
  std::set<int> m_keysDown;
  std::set<int> m_keysReadDown;
  unsigned m_modifiers = 0;      // as of the message being handled
  unsigned m_readModifiers = 0;  // as of the last X event read
  std::atomic<bool> m_quit{false};
  std::atomic<int> m_quitCode{0};
};

unsigned ModifiersFromState(unsigned state);
uintptr_t MouseKeysFromState(unsigned state);

}  // namespace platform
