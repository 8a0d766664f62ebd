#pragma once
// The horizontal scroll bar of a panel (id 2).
#include "toolkit/core/MScroll.h"

class CScrollHorizontal : public MScroll {
 public:
  CScrollHorizontal(MObject* parent, unsigned id, CRect rect, int visible)
      : MScroll(parent, id, rect, visible, false) {}

 protected:
  unsigned ImageResource() const override;
};
