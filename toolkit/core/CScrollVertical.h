#pragma once
// The vertical scroll bar of a panel (id 1).
#include "toolkit/core/MScroll.h"

class CScrollVertical : public MScroll {
 public:
  CScrollVertical(MObject* parent, unsigned id, CRect rect, int visible) : MScroll(parent, id, rect, visible, true) {}

 protected:
  unsigned ImageResource() const override;
};
