#pragma once
// A thin wrapper of one native top-level window with a virtual message
// handler.  Operations that need the native window do nothing (0) when it
// does not exist.
// Thread-safety: UI thread; PostMessageW from any thread while the object
// lives.
#include <memory>

#include "platform/Window.h"
#include "toolkit/core/Types.h"

class MWindow : public platform::WindowHandler {
 public:
  MWindow();
  ~MWindow() override;
  MWindow(const MWindow&) = delete;
  MWindow& operator=(const MWindow&) = delete;

  virtual const wchar_t* GetWindowClassName() const { return L"TaviClient"; }
  virtual const wchar_t* GetSuperClassName() const { return nullptr; }
  virtual void ShowWindow(int command);
  // Default: the window system's default handling.
  virtual long OnWindowMessage(unsigned msg, unsigned wParam, long lParam);
  virtual int PreTranslateMessage(const platform::Message& message);
  virtual int OnInitDialog() { return 1; }
  // After the native window is gone.
  virtual void OnDestroyMessage(platform::WindowHandle window) { (void)window; }
  // Menus, drop-downs and tips: never managed or focused by the window manager.
  virtual bool IsPopUp() const { return false; }

  // Returns the handle (0 on failure); calls OnInitDialog once made.
  platform::WindowHandle Create(platform::WindowHandle parent, const wchar_t* windowName, DWORD style,
                                DWORD exStyle, CRect rect);
  platform::WindowHandle Create(platform::WindowHandle parent, CRect rect);
  int ShowModal(int showCommand = platform::SW_SHOW);
  void DestroyWindow();
  void EnableWindow(int enable);
  int IsWindowEnabled() const;
  int IsWindowVisible() const;
  int IsIconic() const;
  void MoveWindow(CRect screenRect);
  void CenterWindow(MWindow* reference = nullptr);
  void BringToTop();
  // The icon from a PNG resource of the toolkit library; 0 when there is none.
  int SetIcon(unsigned resourceId);
  DWORD GetStyle() const;
  DWORD GetExStyle() const;
  void ModifyStyle(DWORD remove, DWORD add);
  void ModifyExStyle(DWORD remove, DWORD add);
  CRect GetClientRect() const;
  CRect GetWindowRect() const;
  void SetWindowTextW(const wchar_t* text);
  CString GetWindowTextW() const;
  int GetWindowTextLengthW() const;
  void InvalidateRect(const CRect* rect, int erase);
  void SetCapture();
  void ReleaseCapture();
  void SetFocus();
  int SetTimer(unsigned id, unsigned elapseMs);
  int KillTimer(unsigned id);
  CPoint ClientToScreen(CPoint point) const;
  CPoint ScreenToClient(CPoint point) const;
  long SendMessageW(unsigned msg, unsigned wParam, long lParam);
  void PostMessageW(unsigned msg, unsigned wParam, long lParam);
  platform::WindowHandle GetSafeHwnd() const;
  platform::WindowHandle GetParentHwnd() const { return m_parent; }
  platform::Window* GetNativeWindow() const { return m_window.get(); }
  // The message being handled (its time and modifier state); null outside.
  const platform::Message* GetCurrentMessage() const { return m_current; }

 protected:
  // The default handling of the message being handled.
  long DefaultWindowProc(unsigned msg, unsigned wParam, long lParam);

 private:
  intptr_t OnWindowMessage(platform::Window& window, const platform::Message& message) override;
  bool PreTranslateMessage(platform::Window& window, const platform::Message& message) override;

  platform::WindowHandle m_parent = 0;
  std::unique_ptr<platform::Window> m_window;
  const platform::Message* m_current = nullptr;
};
