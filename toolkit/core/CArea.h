#pragma once
// A filled rectangle composed over what lies under it: a fill colour with a
// transparency running from start to end (vertical or horizontal), or an
// opaque fill with an optional one-pixel frame.  Page backgrounds.
// Thread-safety: UI thread.
#include "toolkit/core/MControl.h"

class CArea : public MControl {
 public:
  CArea(MObject* parent, unsigned id, CRect rect, int visible, int enabled);

  void DrawControl(Canvas& dc, CRect clip) override;

  void SetTransparent(int startPercent, int endPercent, DWORD colour);
  void SetFrame(int on, ARGB colour, int unused = 0);
  void SetDirection(int vertical) { m_vertical = vertical; }

 private:
  int m_vertical = 1;
  int m_startTransparency = 80;
  int m_endTransparency = 80;
  COLORREF m_fillColour = 0xFFFFFF;
  int m_frame = 0;
  ARGB m_frameColour = 0xFF050505;
};
