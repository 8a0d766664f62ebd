#pragma once
// The base of every windowless control: a rectangle in the host window's
// client coordinates (also for controls nested in panels), flags, two owned
// child lists (area children drawn first, then the control, then the
// ordinary children in z-order), input dispatch down the tree, the drawing
// walk and redraw requests up to the parent.
//
// Ownership: a control owns both child lists and deletes the children with
// itself, with RemoveAllControl and with RemoveControl.
// Thread-safety: UI thread, except OnTimer, which the manager's periodic
// timer calls on its own thread.  Every walk over a child list holds that
// list's (re-entrant) lock; a parent's lock may be held while a child runs,
// never the other way round.
#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "toolkit/core/Canvas.h"
#include "toolkit/core/MObject.h"
#include "toolkit/core/Types.h"

class PaintManager;

class MControl : public MObject {
 public:
  MControl(MObject* parent, unsigned id, CRect rect, int visible, int enabled, int responsive);
  ~MControl() override;
  MControl(const MControl&) = delete;
  MControl& operator=(const MControl&) = delete;

  const wchar_t* GetClassNameW() const override { return L"MiraControl"; }

  virtual void InitControl(PaintManager* manager);
  virtual int PtInRect(CPoint point);
  virtual void DrawControl(Canvas& dc, CRect clip) = 0;
  virtual int DrawSubControls(Canvas& dc, CRect clip);
  virtual int IsDraw(CPoint point);
  virtual void SetUpdate(int cacheValid, unsigned long colour);
  virtual int SetControlFocus(int focus);
  virtual void InitUI(CRect rect);
  virtual int OnMousePointChange(CPoint& point);
  virtual int OnCheckMouseResponse(unsigned flags, CPoint point);
  virtual long OnWindowMessage(unsigned msg, unsigned wParam, long lParam);
  virtual long OnMessage(unsigned id, unsigned code, unsigned wParam, long lParam);
  virtual void SetControlRect(CRect rect);
  virtual void SetControlVisible(int visible);
  virtual void SetControlWndVisible(int visible);
  virtual void SetControlEnabled(int enabled);
  virtual int OnControlTimer();
  virtual const Canvas* GetControlDropBitmap();
  virtual int OnControlMouseMove(unsigned flags, CPoint point);
  virtual int OnControlSetCursor(unsigned flags, CPoint point);
  virtual int OnControlLButtonDown(unsigned flags, CPoint point);
  virtual int OnControlLButtonUp(unsigned flags, CPoint point);
  virtual int OnControlLButtonDblClk(unsigned flags, CPoint point);
  virtual int OnControlScroll(int kind, unsigned down, CPoint point);
  virtual int OnControlRButtonDown(unsigned flags, CPoint point);
  virtual int OnControlRButtonUp(unsigned flags, CPoint point);
  virtual int OnControlRButtonDblClk(unsigned flags, CPoint point);
  virtual int OnControlKeyDown(unsigned vk, unsigned repeat, unsigned modifiers);
  virtual void OnPositionChange();
  // Asks the host window to repaint this control's rectangle (the whole
  // window when it is layered); null = the control's own rectangle.
  virtual void InvalidateRect(const RECT* rect, int erase);

  // Input entry points: points in window client coordinates.
  int OnMouseMove(unsigned flags, CPoint point);
  int OnLButtonDown(unsigned flags, CPoint point);
  int OnLButtonUp(unsigned flags, CPoint point);
  int OnLButtonDblClk(unsigned flags, CPoint point);
  int OnRButtonDown(unsigned flags, CPoint point);
  int OnRButtonUp(unsigned flags, CPoint point);
  int OnRButtonDblClk(unsigned flags, CPoint point);
  int OnScroll(int kind, unsigned down, CPoint point);
  int OnKeyDown(unsigned vk, unsigned repeat, unsigned modifiers);
  int OnKeyUp(unsigned vk, unsigned repeat, unsigned modifiers);
  int OnTimer();
  void Draw(Canvas& dc, CRect clip);

  MObject* GetParantObject() const { return m_parent; }
  void SetParent(MObject* parent) { m_parent = parent; }
  PaintManager* GetManager() const { return m_manager; }
  void SetManager(PaintManager* manager) { m_manager = manager; }
  unsigned GetControlID() const { return m_id; }

  void SetRect(CRect rect);
  void SetRect(int x, int y, int cx, int cy);
  CRect GetRect() const { return m_rect; }
  void SetVisible(int visible);
  void SetVisible(int visible, int redraw);
  int IsVisible() const { return m_visible.load(); }
  void SetEnabled(int enabled);
  int IsEnabled() const { return m_enabled.load(); }
  bool IsParentVisible() const;
  int IsDragDrop() const { return m_dragDrop; }
  void SetDragDrop(int on) { m_dragDrop = on; }
  int GetRresponse() const { return m_responsive; }
  void SetRresponse(int on) { m_responsive = on; }
  int IsTabStop() const { return m_tabStop; }
  void SetTabStop(int on) { m_tabStop = on; }
  int GetDblClk() const { return m_dblClk; }
  void SetDblClk(int on) { m_dblClk = on; }
  int IsPressed() const { return m_pressed; }
  int IsKeyDown() const { return m_keyDown; }
  int IsFocused() const { return m_focused; }
  void SetFocused(int on) { m_focused = on; }
  void SetHotKey(unsigned vk, unsigned modifiers) {
    m_hotKey = vk;
    m_hotKeyModifiers = modifiers;
  }
  int GetUpdate() const { return m_cacheValid.load(); }
  int IsRunTimer() const { return m_runTimer.load(); }
  void SetRunTimer(int on) { m_runTimer = on; }
  int UseImageECM() const { return m_imageECM; }
  void SetImageECM(int on) { m_imageECM = on; }

  void UpdateControl(int flag, int force = 0);
  void UpdateControl(CRect rect, int flag, int force);
  void UpdateAControl(int a, int force = 0);
  // The control's off-screen image, made current (valid) at cx x cy.
  Canvas& UpdateMemDC(Canvas& dc, int cx, int cy);
  Canvas& UpdateAnimateDC(Canvas& dc, int cx, int cy);
  Canvas* GetMemDC() { return m_cache.get(); }
  Canvas* GetAnimateDC() { return m_animationCache.get(); }
  int IsAnimationPending() const { return m_animationPending.load(); }

  long SendMessageW(unsigned code, unsigned wParam, long lParam);
  MControl* GetControl(unsigned id);
  const std::vector<MControl*>& GetControls() const { return m_children; }
  const std::vector<MControl*>& GetAreaControls() const { return m_areaChildren; }
  int RemoveControl(MControl* control);
  void RemoveAllControl();
  // Takes ownership; kind 0 = area child, anything else = ordinary child.
  void AddChild(MControl* control, int kind);
  // True when the control is this one or lies anywhere below it.
  bool Contains(const MControl* control) const;

  void SetTooltip(const wchar_t* text);
  void SetTooltip(const CString& text, CRect rect);
  void ClearTooltip();
  const CString& GetTooltip() const { return m_tooltip; }
  int SetCursorEx(const wchar_t* name);
  void AddMTimer();
  bool IsFocusControl() const;
  void OnFocus(int focus) { SetControlFocus(focus); }
  MControl* GetActiveChild() const { return m_activeChild; }

  const Canvas* GetDropBitmap() { return GetControlDropBitmap(); }

 protected:
  // The point a child sees: scroll bars (ids 1 and 2) get the window point.
  static CPoint PointForChild(const MControl* child, CPoint window, CPoint translated);

  MObject* m_parent = nullptr;
  PaintManager* m_manager = nullptr;
  unsigned m_id = 0;
  CRect m_rect;
  // Read by the timer thread (which controls tick) while the UI thread
  // shows and hides them.
  std::atomic<int> m_visible{1};
  std::atomic<int> m_enabled{1};
  int m_dragDrop = 0;
  int m_responsive = 1;
  int m_tabStop = 0;
  int m_dblClk = 0;
  int m_pressed = 0;
  int m_keyDown = 0;
  int m_focused = 0;
  unsigned m_hotKey = 0;
  unsigned m_hotKeyModifiers = 0;
  // The timer thread may invalidate caches while the UI thread draws.
  std::atomic<int> m_cacheValid{0};
  std::atomic<int> m_animationPending{0};
  std::atomic<int> m_runTimer{0};
  int m_imageECM = 0;
  std::vector<MControl*> m_areaChildren;
  std::vector<MControl*> m_children;
  mutable std::recursive_mutex m_areaLock;
  mutable std::recursive_mutex m_childrenLock;
  MControl* m_activeChild = nullptr;
  std::unique_ptr<Canvas> m_cache;
  std::unique_ptr<Canvas> m_animationCache;
  CString m_tooltip;
  std::wstring m_cursor;
};
