#pragma once
// One per dialog: the two top-level control lists (areas, then controls),
// painting into an off-screen image and presenting the dirty rectangle,
// mouse and key routing to the controls (hover, capture, focus, Tab),
// per-control window timers, the periodic timer list, the tooltip and the
// balloon tip, the control factory, and the window's image and font
// registries.
//
// Ownership: owns every top-level control and the registry records; the
// controls keep pointers into the registry, which outlives them.
// Thread-safety: UI thread (the thread that called Init), except
// OnControlUpdate, InvalidateRect, AddImgResInfo, FindTempFont and the
// periodic tick (OnMTimer), which the timer thread may call.  Off the UI
// thread, invalidations are queued and handed to the UI thread by a posted
// message; nothing touches the window there.
#include <atomic>
#include <map>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/Window.h"
#include "toolkit/core/Canvas.h"
#include "toolkit/core/ImgResInfo.h"
#include "toolkit/core/PlumeTimer.h"
#include "toolkit/core/Resources.h"
#include "toolkit/core/Types.h"

class MAirBladder;
class MControl;
class MObject;
class MWindow;
class ToolTipWindow;

enum enumBackMode { BACK_MODE_IMAGE = 0, BACK_MODE_FRAME = 1 };
enum AIRBLADDER_TYPE { AIRBLADDER_LEFT = 0, AIRBLADDER_MIDDLE = 1, AIRBLADDER_RIGHT = 2 };
enum AIRBLADDER_MODE { AIRBLADDER_MODE_DEFAULT = 3 };

// Private message that carries invalidations queued off the UI thread.
constexpr uint32_t kMsgDeferredUpdate = platform::WM_USER + 0x2F0;

class PaintManager : public PlumeTimer {
 public:
  PaintManager();
  ~PaintManager() override;

  void Init(platform::Window* window, MWindow* dialog);
  bool IsInitialised() const { return m_initialised; }
  MWindow* GetMDialog() const { return m_dialog; }
  platform::Window* GetPaintWnd() const { return m_window; }
  void DestroyData();

  // A message of the host window; non-zero = handled.
  long OnWindowMessage(unsigned msg, unsigned wParam, long lParam);
  int PreTranslateMessage(const platform::Message& message);

  long OnControlUpdate(CRect rect, int flag, MControl* control);
  void Invalidate();
  void InvalidateRect(CRect rect, int erase);
  // Paints now (normally on WM_PAINT): the update rectangle into the
  // off-screen image, presented to the window.
  int OnPaint(CRect update);
  const Canvas& GetPaintImage() const { return m_image; }
  // The layered-window fix-up: pixels with alpha 0 that carry a colour
  // (written without alpha) become opaque.
  static void FixLayeredAlpha(Canvas& canvas, CRect rect);

  // Background.
  void SetBackColor(DWORD back, DWORD border);
  void SetBackMode(enumBackMode mode, int margin);
  int LoadBKImage(const CString& file);
  int LoadBKImage(unsigned resId, const CString& type);
  void SetLayeredWindow(int layered);
  int IsLayered() const;
  void EnableWndDrag(int enable) { m_windowDrag = enable; }
  void SetWindowMaxSize(int cx, int cy) { m_maxSize = {cx, cy}; }
  void SetWindowMixSize(int cx, int cy) { m_minSize = {cx, cy}; }
  void SetCaptionRect(CRect rect) { m_captionRect = rect; }

  // Controls.
  MControl* CreateControl(unsigned kind, MObject* parent, const wchar_t* className, unsigned id, CRect rect,
                          const wchar_t* title, int visible, int enabled);
  MControl* CreateArea(MObject* parent, const wchar_t* className, unsigned id, CRect rect, const wchar_t* title,
                       int visible, int enabled);
  MControl* CreateControl(MObject* parent, const wchar_t* className, unsigned id, CRect rect,
                          const wchar_t* title, int visible, int enabled);
  // Takes ownership of a control made elsewhere: kind 0 area list, 1 control list.
  void AddControl(MControl* control, int kind);
  const std::vector<MControl*>& GetControls() const { return m_controls; }
  const std::vector<MControl*>& GetAreaControls() const { return m_areas; }
  MControl* GetControl(unsigned id);
  int RemoveControl(MControl* control);
  void ClearAllControls();
  void ClearAreaControls();
  void ClearControls();
  // True when the control is in either tree of this manager.
  bool HasControl(const MControl* control) const;

  // Input state.
  MControl* GetHoverControl() const { return m_hover; }
  MControl* GetFocusControl() const { return m_focus; }
  void SetFocusControl(MControl* control);
  // Drops a control that is going away from hover, focus and capture.
  void ForgetControl(const MControl* control);
  MControl* GetNextFocusableControl();
  MControl* GetPrevFocusableControl();
  int IsCaptured() const { return m_captured; }
  int GetDoubleClickFlag() const { return m_doubleClick; }
  void SetCapture();
  void ReleaseCapture();
  int SetCursor(const std::wstring& name);

  // Per-control window timers.
  int SetTimer(MControl* control, unsigned key, unsigned elapseMs);
  int KillTimer(MControl* control, unsigned key);
  int KillTimer(MControl* control);
  void ClearTimers();
  // The native number of a control's timer, 0 when it has none.
  unsigned GetTimerNumber(const MControl* control, unsigned key) const;

  // The periodic timer.
  unsigned SetMTimer(unsigned periodMs);
  void KillMTimer();
  void AddMTimer(MControl* control);
  void DeleteMiraTimer(MControl* control);
  void OnMTimer(unsigned id) override;

  // Tooltip and balloon tip.
  void SetTooltip(const wchar_t* text, CRect rect);
  void ClearTooltip();
  unsigned GetTooltipCtrlID() const { return m_tooltipOwner; }
  void SetTooltipCtrlID(unsigned id) { m_tooltipOwner = id; }
  ToolTipWindow* GetToolTipWindow() const { return m_tooltip.get(); }
  int SetAirBladderMsg(const wchar_t* text, CPoint screenPoint, AIRBLADDER_TYPE type, AIRBLADDER_MODE mode);
  void ShowAirBladder(int show, int ownerId);
  MAirBladder* GetAirBladder() const { return m_airBladder.get(); }

  // Image registry (any thread).
  ImgResInfo* AddImgResInfo(const wchar_t* file, int states);
  ImgResInfo* AddImgResInfo(unsigned resId, const CString& resType, int states, int fromApplication);
  void ClearImgResInfo();

  // Font registry: family names this window may draw with (any thread).
  bool AddTempFont(const wchar_t* family, const wchar_t* file);
  bool AddTempFont(const wchar_t* family, unsigned resId);
  bool AddGDITempFont(unsigned resId);
  // The family to draw the toolkit font with: a registered family, an
  // installed one, and the embedded font when neither exists (so text is
  // never invisible).
  std::wstring FindTempFont(const wchar_t* family);
  void ClearTempFont();

  // Scroll-bar images and colours.
  unsigned GetScrollVID() const { return m_scrollVId; }
  unsigned GetScrollHID() const { return m_scrollHId; }
  void SetScrollResID(unsigned vertical, unsigned horizontal) {
    m_scrollVId = vertical;
    m_scrollHId = horizontal;
  }
  COLORREF GetDefaultEnabledColor() const { return m_disabledColour; }
  void SetDefaultEnabledColor(COLORREF colour) { m_disabledColour = colour; }

  CRect GetClientRect() const;
  CRect GetWindowRect() const;
  CSize GetClientSize() const;
  long SendMessageW(unsigned msg, unsigned wParam, long lParam);
  void PostMessageW(unsigned msg, unsigned wParam, long lParam);
  bool OnUiThread() const;
  // The module whose resources the application-side requests read (null:
  // the application has none, and those requests fail).
  void SetApplicationModule(HINSTANCE module) { m_appModule = module; }

 private:
  struct ControlTimer {
    unsigned key = 0;
    unsigned number = 0;
    bool killed = false;
    MControl* control = nullptr;
  };
  struct DeferredUpdate {
    CRect rect;
    int flag = 0;
    MControl* control = nullptr;  // null: a plain invalidation
  };

  void OnMouseMove(unsigned flags, CPoint point);
  void OnMouseLeave();
  int OnLButtonDown(unsigned flags, CPoint point);
  int OnLButtonUp(unsigned flags, CPoint point);
  int OnLButtonDblClk(unsigned flags, CPoint point);
  int OnRButtonDown(unsigned flags, CPoint point);
  int OnRButtonUp(unsigned flags, CPoint point);
  int OnRButtonDblClk(unsigned flags, CPoint point);
  int OnMouseWheel(unsigned wParam, long lParam);
  int OnKeyDown(unsigned vk);
  int OnNcActivate(int active);
  void OnTimer(unsigned number);
  void RunDeferredUpdates();
  void UpdateOnUiThread(CRect rect, int flag, MControl* control);
  void PaintBackground(Canvas& canvas, CRect client);
  MControl* FocusableWalk(bool forward);
  static unsigned CurrentModifierCode();
  void StopNativeTimer(unsigned number);

  platform::Window* m_window = nullptr;
  MWindow* m_dialog = nullptr;
  bool m_initialised = false;
  std::thread::id m_uiThread;

  COLORREF m_backColour = 0x130D09;
  COLORREF m_borderColour = 0xFDA810;
  std::unique_ptr<Image> m_backImage;
  enumBackMode m_backMode = BACK_MODE_IMAGE;
  int m_frameMargin = 4;
  int m_layered = 0;
  CSize m_maxSize;
  CSize m_minSize;
  CRect m_captionRect;
  Canvas m_image;

  std::vector<MControl*> m_areas;
  std::vector<MControl*> m_controls;
  mutable std::recursive_mutex m_areaLock;
  mutable std::recursive_mutex m_controlLock;

  MControl* m_hover = nullptr;
  MControl* m_focus = nullptr;
  int m_tracking = 0;
  int m_captured = 0;
  int m_leftPressed = 0;
  int m_rightPressed = 0;
  int m_doubleClick = 0;
  int m_windowDrag = 1;
  int m_active = 0;

  // Read by the tick thread; the first tick may come before it is stored.
  std::atomic<unsigned> m_periodicId{0};
  std::vector<MControl*> m_periodic;
  std::recursive_mutex m_periodicLock;
  std::vector<ControlTimer> m_timers;
  mutable std::recursive_mutex m_timerLock;
  unsigned m_lastTimerNumber = 4096;

  std::unique_ptr<ToolTipWindow> m_tooltip;
  unsigned m_tooltipOwner = 0;
  std::unique_ptr<MAirBladder> m_airBladder;
  int m_airBladderOwner = 0;

  std::map<CString, std::unique_ptr<ImgResInfo>> m_fileImages;
  std::map<unsigned, std::unique_ptr<ImgResInfo>> m_appImages;
  std::map<unsigned, std::unique_ptr<ImgResInfo>> m_toolkitImages;
  std::mutex m_imageLock;
  std::map<CString, std::wstring> m_fonts;
  std::mutex m_fontLock;

  unsigned m_scrollVId = 102;
  unsigned m_scrollHId = 101;
  COLORREF m_disabledColour = 0x808080;
  HINSTANCE m_appModule = nullptr;

  std::mutex m_deferredLock;
  std::vector<DeferredUpdate> m_deferred;
  bool m_deferredPosted = false;
};
