#pragma once
// A container with its own vertical (id 1) and horizontal (id 2) scroll
// bar, 7 pixels thick, and a virtual content size taken from its children.
// Children keep window coordinates; while the content overflows, points are
// moved by the scroll offset before the children see them (the bars get
// the window point), and a derived class draws the scrolled content itself
// (DrawScrolledContent does it for plain children).  Creates children by
// class name.
// Thread-safety: UI thread; OnControlUpdate also from the timer thread.
#include "toolkit/core/MControlFont.h"

class CScrollHorizontal;
class CScrollVertical;

class MPanel : public MControlFont {
 public:
  MPanel(MObject* parent, unsigned id, CRect rect, int visible);
  ~MPanel() override;

  void InitControl(PaintManager* manager) override;
  void DrawControl(Canvas& dc, CRect clip) override;
  int DrawSubControls(Canvas& dc, CRect clip) override;
  int OnMousePointChange(CPoint& point) override;
  int OnControlScroll(int kind, unsigned down, CPoint point) override;
  long OnWindowMessage(unsigned msg, unsigned wParam, long lParam) override;
  long OnMessage(unsigned id, unsigned code, unsigned wParam, long lParam) override;
  long OnBaseMessage(unsigned id, unsigned code, unsigned wParam, long lParam) override;
  long OnControlUpdate(CRect rect, int flag, MControl* control) override;
  void SetControlRect(CRect rect) override;
  void SetControlEnabled(int enabled) override;

  virtual MControl* CreateArea(const wchar_t* className, unsigned id, CRect rect, const wchar_t* title, int visible,
                               int enabled);
  virtual MControl* CreateControl(unsigned kind, MObject* parent, const wchar_t* className, unsigned id, CRect rect,
                                  const wchar_t* title, int visible, int enabled);
  virtual MControl* CreateControl(const wchar_t* className, unsigned id, CRect rect, const wchar_t* title,
                                  int visible, int enabled);
  virtual int OnControlKeyUp(unsigned vk, unsigned repeat, unsigned modifiers);

  CScrollVertical* GetScrollVertical() const { return m_vertical; }
  CScrollHorizontal* GetScrollHorizontal() const { return m_horizontal; }
  void SetVirtualHeight(int height) { m_virtualHeight = height; }
  void SetVirtualWidth(int width) { m_virtualWidth = width; }
  int GetVirtualHeight() const { return m_virtualHeight; }
  int GetVirtualWidth() const { return m_virtualWidth; }
  void SetEnableScroll(int enable) { m_enableScroll = enable; }
  int GetEnableScroll() const { return m_enableScroll; }
  // Lays the bars and the virtual size out again after children changed.
  void Relayout() { SetControlRect(m_rect); }
  // How far the content is scrolled (0 when it fits or scrolling is off).
  CPoint GetScrollOffset() const;
  bool ContentOverflows() const;

 protected:
  // Draws the children (not the bars) shifted by the scroll offset and
  // clipped to the panel, then the visible bars.
  void DrawScrolledContent(Canvas& dc, CRect clip);

  int m_initialised = 0;
  CScrollVertical* m_vertical = nullptr;
  CScrollHorizontal* m_horizontal = nullptr;
  int m_barThickness = 7;
  int m_virtualHeight = 0;
  int m_virtualWidth = 0;
  int m_enableScroll = 1;
};
