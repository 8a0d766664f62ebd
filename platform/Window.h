#pragma once
// One native top-level window of the toolkit.  The window hands every
// message to its handler (which must outlive it, or be replaced first); it
// owns the native window and destroys it with itself.  All operations belong to the UI thread except PostMessage and
// Invalidate, which any thread may call while the Window object lives.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/MessageTarget.h"
#include "platform/WindowMessages.h"

namespace platform {

struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool IsEmpty() const { return right <= left || bottom <= top; }
};

struct Point {
  int x = 0;
  int y = 0;
};

class Window;

class WindowHandler {
 public:
  virtual ~WindowHandler() = default;
  // Every message of the window; answer window.DefaultProc(message) for the
  // default handling (WM_CLOSE destroys the window).  The handler may
  // destroy the window (and delete the Window) from here.
  virtual intptr_t OnWindowMessage(Window& window, const Message& message) = 0;
  // Offered every message first while a modal loop runs; true consumes it.
  virtual bool PreTranslateMessage(Window& window, const Message& message) {
    (void)window;
    (void)message;
    return false;
  }
};

struct WindowCreateParams {
  Window* owner = nullptr;
  std::wstring title;
  uint32_t style = 0;    // WS_*: WS_VISIBLE shows it at once; without WS_CAPTION it has no frame
  uint32_t exStyle = 0;  // WS_EX_*: TOPMOST, TOOLWINDOW, LAYERED (per-pixel alpha)
  Rect rect;             // screen coordinates
  // A pop-up (menu, drop-down, tooltip, balloon): override-redirect, never
  // managed or focused by the window manager.
  bool popUp = false;
};

class Window : public MessageTarget {
 public:
  explicit Window(WindowHandler* handler = nullptr);
  ~Window() override;
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  // Sends WM_CREATE, WM_SIZE and WM_MOVE, then shows the window when the
  // style has WS_VISIBLE.
  // False without a display or when the server refuses.
  bool Create(const WindowCreateParams& params);
  // WM_DESTROY, the native window goes, then WM_NCDESTROY.
  void Destroy();
  bool Exists() const;
  WindowHandle GetHandle() const;
  void SetHandler(WindowHandler* handler);
  Window* GetOwner() const;

  void Show(int command);
  bool IsVisible() const;
  bool IsIconic() const;
  // A disabled window receives no mouse or key messages.
  void Enable(bool enable);
  bool IsEnabled() const;

  uint32_t GetStyle() const;
  uint32_t GetExStyle() const;
  void ModifyStyle(uint32_t remove, uint32_t add);
  void ModifyExStyle(uint32_t remove, uint32_t add);
  // True when the window shows per-pixel alpha (a 32-bit visual was found).
  bool IsLayered() const;

  void Move(const Rect& screenRect);
  Rect GetWindowRect() const;  // screen coordinates
  Rect GetClientRect() const;  // (0, 0, width, height)
  Point ClientToScreen(Point point) const;
  Point ScreenToClient(Point point) const;
  // Centred on the reference (or the owner) when that is visible and not
  // minimised, otherwise on the work area; kept inside the work area.
  void CenterWindow(const Window* reference);
  void BringToTop();
  void SetTopmost(bool topmost);

  void SetTitle(const std::wstring& title);
  std::wstring GetTitle() const;
  // The window's icon from premultiplied ARGB pixels (top-down rows).
  void SetIcon(const uint32_t* pixels, int width, int height);

  // Marks the rectangle (client coordinates; null = all) for repainting.
  // Paints are coalesced: at most one WM_PAINT per 15 ms per window.
  void Invalidate(const Rect* rect);
  // During WM_PAINT: the rectangle to repaint.
  Rect GetUpdateRect() const;
  // Shows the dirty part of a premultiplied ARGB image of the client size.
  void Present(const uint8_t* pixels, int stride, int width, int height, const Rect& dirty);
  // Reads back what the server shows in the window (for screenshots);
  // false when it cannot.  Pixels are ARGB, top-down.
  bool CaptureContents(std::vector<uint32_t>& pixels, int& width, int& height) const;

  void SetCapture();
  void ReleaseCapture();
  bool HasCapture() const;
  void SetFocus();
  // "arrow", "wait", "cross", "sizewe", "sizens", "hand", "help"; false
  // (and no change) for any other name.
  bool SetCursor(const std::wstring& name);
  // The next pointer leave gives WM_MOUSELEAVE and a rest of kHoverTimeMs
  // gives WM_MOUSEHOVER, once each.
  void TrackMouse();
  // Moves the window with the pointer while the left button stays down
  // (the window manager's move when it offers one).
  void StartWindowDrag(Point screenPoint);

  // WM_TIMER(id) every `elapseMs` until KillTimer; setting a running number
  // again restarts it.
  bool SetTimer(uintptr_t id, unsigned elapseMs);
  bool KillTimer(uintptr_t id);

  intptr_t SendMessage(uint32_t message, uintptr_t wParam, intptr_t lParam);
  void PostMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) override;
  intptr_t DefaultProc(const Message& message);

  // Shows the window, disables its owner and runs messages until the window
  // is gone; a posted WM_CLOSE's wParam is the result.  -1 when the window
  // does not exist.
  int RunModal(int showCommand);

  struct State;
  State* GetState() const { return m_state.get(); }

 private:
  bool PresentShared(const uint8_t* pixels, int stride, int width, int height, const Rect& dirty);
  void ReleaseShared();

  std::unique_ptr<State> m_state;
};

}  // namespace platform
