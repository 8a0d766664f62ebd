#pragma once
// A window that hosts a control tree: the parent object of its top-level
// controls, with one PaintManager.  The application derives its windows
// from it, creates its controls in InitUI and runs them with ShowModal;
// control events arrive at OnMessage(control id, code, wParam, lParam).
// Thread-safety: UI thread (see PaintManager for the timer thread).
#include "toolkit/core/MObject.h"
#include "toolkit/core/MWindow.h"
#include "toolkit/core/PaintManager.h"

class MControl;

class MDialog : public MWindow, public MObject {
 public:
  MDialog();
  ~MDialog() override;

  // MWindow side.
  long OnWindowMessage(unsigned msg, unsigned wParam, long lParam) override;
  int PreTranslateMessage(const platform::Message& message) override;
  int OnInitDialog() override;
  void OnDestroyMessage(platform::WindowHandle window) override;

  virtual CPoint GetAirBladderPoint(MControl* control, unsigned type);
  virtual void OnMinimize();
  virtual void OnMaximize();
  virtual void InitUI(CRect client) { (void)client; }
  virtual void UISize(CRect client) { (void)client; }
  virtual long OnMessage(unsigned id, unsigned code, unsigned wParam, long lParam);
  virtual long OnUserCloseWindow(unsigned wParam, long lParam);
  virtual int OnCreate();
  virtual int OnSize(unsigned type, int cx, int cy);
  virtual int OnMouseMove(unsigned flags, CPoint point);
  virtual int OnMouseLeave(unsigned wParam, long lParam);
  virtual int OnMouseHover(unsigned wParam, long lParam);
  virtual int OnMouseWheel(unsigned flags, short delta, CPoint point);
  virtual int OnLButtonDown(unsigned flags, CPoint point);
  virtual int OnLButtonUp(unsigned flags, CPoint point);
  virtual int OnLButtonDblClk(unsigned flags, CPoint point);
  virtual int OnRButtonDown(unsigned flags, CPoint point);
  virtual int OnRButtonUp(unsigned flags, CPoint point);
  virtual int OnRButtonDblClk(unsigned flags, CPoint point);
  virtual int OnKeyDown(unsigned vk, unsigned repeat, unsigned flags);
  virtual int OnNcActivate(int active);
  virtual int OnPaint();
  virtual int OnTimer(unsigned id);
  virtual int OnClose() { return 1; }
  virtual int OnDestroy() { return 0; }
  virtual void PostNcDestroy() {}

  // MObject side.
  const wchar_t* GetClassNameW() const override { return L"MDialog"; }
  long OnBaseMessage(unsigned id, unsigned code, unsigned wParam, long lParam) override;
  long OnControlUpdate(CRect rect, int flag, MControl* control) override;

  MControl* CreateControl(const wchar_t* className, unsigned id, CRect rect, const wchar_t* title, int visible,
                          int enabled);
  MControl* CreateArea(const wchar_t* className, unsigned id, CRect rect, const wchar_t* title, int visible,
                       int enabled);
  MControl* GetControl(unsigned id) { return m_paintManager.GetControl(id); }
  const std::vector<MControl*>& GetControls() const { return m_paintManager.GetControls(); }
  void SetFocusControl(MControl* control) { m_paintManager.SetFocusControl(control); }
  unsigned SetMTimer(unsigned periodMs) { return m_paintManager.SetMTimer(periodMs); }
  void KillMTimer(unsigned id);
  void DoOK();
  void DoCancel();
  void DoClose();
  void DoYes();
  void DoNo();
  int LoadBKImage(const CString& file) { return m_paintManager.LoadBKImage(file); }
  int LoadBKImage(unsigned resId, const CString& type) { return m_paintManager.LoadBKImage(resId, type); }
  void SetBackMode(enumBackMode mode, int margin) { m_paintManager.SetBackMode(mode, margin); }
  void SetLayeredWindow(int layered) { m_paintManager.SetLayeredWindow(layered); }
  void EnableWndDrag(int enable) { m_paintManager.EnableWndDrag(enable); }
  void SetScrollResID(unsigned vertical, unsigned horizontal) { m_paintManager.SetScrollResID(vertical, horizontal); }
  void SetTooltip(const CString& text, CRect rect) { m_paintManager.SetTooltip(text.c_str(), rect); }
  void ClearTooltip() { m_paintManager.ClearTooltip(); }
  void SetTooltipCtrlID(unsigned id) { m_paintManager.SetTooltipCtrlID(id); }
  unsigned GetTooltipCtrlID() const { return m_paintManager.GetTooltipCtrlID(); }
  // 0 for a point with x = 0 or y = 0.
  int SetAirBladderMsg(const wchar_t* text, CPoint screenPoint, AIRBLADDER_TYPE type);

  PaintManager& GetPaintManager() { return m_paintManager; }
  CRect GetDialogClientRect() const { return m_client; }

 protected:
  PaintManager m_paintManager;
  CRect m_client;
};
