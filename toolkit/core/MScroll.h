#pragma once
// A panel's scroll bar: a position from 0 to its range (the panel's virtual
// size), drawn from one of the toolkit's own bar pictures (the track from
// the whole picture, the thumb from its middle).  Dragging the thumb moves
// the position and notifies the panel with CN_POSITION.
// Thread-safety: UI thread.
#include "toolkit/core/MControlFont.h"

class MScroll : public MControlFont {
 public:
  MScroll(MObject* parent, unsigned id, CRect rect, int visible, bool vertical);

  void InitControl(PaintManager* manager) override;
  void DrawControl(Canvas& dc, CRect clip) override;
  int OnControlLButtonDown(unsigned flags, CPoint point) override;
  int OnControlLButtonUp(unsigned flags, CPoint point) override;
  int OnControlMouseMove(unsigned flags, CPoint point) override;

  bool IsVertical() const { return m_vertical; }
  void SetRange(int range);
  int GetRange() const { return m_range; }
  // Clamped to 0..range; true when it changed.
  bool SetPosition(int position);
  int GetPosition() const { return m_position; }
  void SetStep(int step) { m_step = step; }
  int GetStep() const { return m_step; }
  // A bar with the reset flag returns to 0 whenever its panel is laid out.
  void SetResetFlag(int reset) { m_reset = reset; }
  int GetResetFlag() const { return m_reset; }
  // The part of the bar the thumb covers for a panel of `visible` pixels.
  CRect GetThumbRect(int visible) const;
  // The length of the panel side the bar scrolls, given by the panel.
  void SetVisibleLength(int length) { m_visibleLength = length; }

 protected:
  // The bar picture: resource 102 (vertical) or 101 (horizontal) by default.
  virtual unsigned ImageResource() const = 0;

 private:
  bool m_vertical;
  int m_range = 0;
  int m_position = 0;
  int m_step = 40;
  int m_reset = 0;
  int m_visibleLength = 0;
  bool m_dragging = false;
  int m_dragStart = 0;
  int m_dragPosition = 0;
  const Image* m_barImage = nullptr;
};
