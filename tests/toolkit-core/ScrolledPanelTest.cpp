// A scrolled panel in a dialog: a child's redraw request repaints where the
// child shows (moved up by the offset), and scrolling repaints the content.
#include <gtest/gtest.h>

#include "CoreTestSupport.h"
#include "toolkit/core/CScrollVertical.h"
#include "toolkit/core/MPanel.h"

namespace {

class ScrolledPanel : public MPanel {
 public:
  using MPanel::MPanel;
  int DrawSubControls(Canvas& dc, CRect clip) override {
    if (!ContentOverflows()) return MPanel::DrawSubControls(dc, clip);
    DrawScrolledContent(dc, clip);
    return 1;
  }
};

class PanelInDialog : public DisplayTest {};

TEST_F(PanelInDialog, RedrawRequestsAndWheelFollowTheScrollOffset) {
  TestDialog dialog;
  ASSERT_TRUE(dialog.Open(CRect(100, 100, 400, 400)));
  PaintManager& pm = dialog.GetPaintManager();
  auto* panel = new ScrolledPanel(&dialog, 10, CRect(0, 0, 200, 100), 1);
  panel->SetManager(&pm);
  panel->InitControl(&pm);
  pm.AddControl(panel, 1);
  std::vector<TestControl*> rows;
  for (int i = 0; i < 4; ++i) {  // 4 rows of 50: 100 px below the panel
    auto* row = new TestControl(panel, 20 + i, CRect(0, 50 * i, 190, 50 * i + 50), 1, 0xFF000000 | (0x40 * (i + 1)));
    row->SetManager(&pm);
    panel->AddChild(row, 1);
    rows.push_back(row);
  }
  panel->Relayout();
  CScrollVertical* bar = panel->GetScrollVertical();
  bar->SetPosition(bar->GetRange() / 2);  // offset 50: row 1 shows at the top
  panel->UpdateControl(1);
  const Canvas& image = pm.GetPaintImage();
  ASSERT_TRUE(PumpUntil([&] { return image.IsValid() && image.GetColor(20, 10) == rows[1]->colour; }));
  EXPECT_EQ(image.GetColor(20, 60), rows[2]->colour);

  // Row 2 (content y 100..150) changes: it shows at 50..100.
  rows[2]->colour = 0xFFFF00FF;
  rows[2]->UpdateControl(1);
  ASSERT_TRUE(PumpUntil([&] { return image.GetColor(20, 60) == 0xFFFF00FF; }));

  // The pointer over row 1's place reaches row 1 at its content point.
  platform::SendMessage(dialog.GetSafeHwnd(), platform::WM_MOUSEMOVE, 0, platform::MakeLParam(20, 10));
  EXPECT_EQ(rows[1]->lastMove, CPoint(20, 60));

  // A wheel notch down scrolls further and repaints.
  const CPoint screen = dialog.ClientToScreen(CPoint(20, 10));
  const int before = bar->GetPosition();
  platform::SendMessage(dialog.GetSafeHwnd(), platform::WM_MOUSEWHEEL,
                        static_cast<uintptr_t>(static_cast<uint16_t>(-120)) << 16,
                        platform::MakeLParam(screen.x, screen.y));
  EXPECT_GT(bar->GetPosition(), before);
  const CPoint offset = panel->GetScrollOffset();
  const int shownRow = (10 + offset.y) / 50;
  ASSERT_TRUE(PumpUntil([&] { return image.GetColor(20, 10) == rows[static_cast<size_t>(shownRow)]->colour; }))
      << "offset " << offset.y;
}

}  // namespace
