// Input dispatch, drawing and redraw requests down and up the control tree,
// on controls without a window.
#include <gtest/gtest.h>

#include "CoreTestSupport.h"
#include "toolkit/core/CScrollHorizontal.h"
#include "toolkit/core/CScrollVertical.h"
#include "toolkit/core/MPanel.h"

namespace {

// A container control: children in window coordinates, nothing drawn itself.
class Box : public MControlFont {
 public:
  Box(MObject* parent, unsigned id, CRect rect) : MControlFont(parent, id, rect, L"", 1, 1, 1) {}
  void DrawControl(Canvas&, CRect) override {}
  TestControl* Add(unsigned id, CRect rect, int visible = 1) {
    auto* c = new TestControl(this, id, rect, visible);
    AddChild(c, 1);
    return c;
  }
};

TEST(ControlTree, InvisibleControlGetsNoInputAndIsNotDrawn) {
  RecordingParent root;
  Box box(&root, 10, CRect(0, 0, 100, 100));
  TestControl* hidden = box.Add(11, CRect(10, 10, 50, 50), 0);
  const CPoint inside(20, 20);
  box.OnMouseMove(0, inside);
  box.OnLButtonDown(0, inside);
  box.OnLButtonUp(0, inside);
  box.OnScroll(1, 1, inside);
  box.OnKeyDown('A', 1, 0);
  Canvas canvas(100, 100);
  box.Draw(canvas, CRect(0, 0, 100, 100));
  EXPECT_EQ(hidden->moves + hidden->presses + hidden->releases + hidden->draws, 0);
  EXPECT_TRUE(hidden->scrolls.empty());
  EXPECT_TRUE(hidden->keys.empty());
  EXPECT_EQ(canvas.GetColor(20, 20), 0u);

  // Showing it asks its parent to repaint its rectangle (re-render, flag 1).
  RecordingParent parent;
  TestControl lone(&parent, 1, CRect(5, 6, 25, 26), 0);
  lone.SetVisible(1);
  ASSERT_EQ(parent.updates.size(), 1u);
  EXPECT_EQ(parent.updates[0].rect, CRect(5, 6, 25, 26));
  EXPECT_EQ(parent.updates[0].flag, 1);
  box.Draw(canvas, CRect(0, 0, 100, 100));
  hidden->SetVisible(1);
  box.Draw(canvas, CRect(0, 0, 100, 100));
  EXPECT_EQ(hidden->draws, 1);
  EXPECT_NE(canvas.GetColor(20, 20), 0u);
}

TEST(ControlTree, PressGoesToTheLaterOfTwoOverlappingChildren) {
  RecordingParent root;
  Box box(&root, 10, CRect(0, 0, 100, 100));
  TestControl* below = box.Add(1, CRect(10, 10, 60, 60));
  TestControl* above = box.Add(2, CRect(40, 40, 90, 90));
  EXPECT_EQ(box.OnLButtonDown(0, CPoint(50, 50)), 1);
  EXPECT_EQ(below->presses, 0);
  EXPECT_EQ(above->presses, 1);
  // Only one of them is under this point.
  box.OnLButtonDown(0, CPoint(15, 15));
  EXPECT_EQ(below->presses, 1);
}

TEST(ControlTree, HeldPressKeepsMovesOnThePressedChild) {
  RecordingParent root;
  Box box(&root, 10, CRect(0, 0, 200, 100));
  TestControl* pressed = box.Add(1, CRect(10, 10, 50, 50));
  TestControl* other = box.Add(2, CRect(100, 10, 150, 50));
  box.OnMouseMove(0, CPoint(20, 20));
  box.OnLButtonDown(0, CPoint(20, 20));
  const int before = pressed->moves;
  const int otherBefore = other->moves;
  box.OnMouseMove(platform::MK_LBUTTON, CPoint(120, 20));  // over the other child
  EXPECT_EQ(pressed->moves, before + 1);
  EXPECT_EQ(pressed->lastMove, CPoint(120, 20));
  EXPECT_EQ(other->moves, otherBefore);
  box.OnLButtonUp(0, CPoint(120, 20));
  EXPECT_EQ(pressed->releases, 1);
  // Released: the move reaches the child under the pointer, which becomes
  // the active one.
  box.OnMouseMove(0, CPoint(121, 20));
  EXPECT_EQ(other->lastMove, CPoint(121, 20));
  EXPECT_EQ(box.GetActiveChild(), other);
}

TEST(ControlTree, DoubleClickWithoutTheFlagArrivesAsAPress) {
  RecordingParent root;
  struct Case {
    int flag;
    int presses;
    int doubleClicks;
  };
  for (const Case c : {Case{0, 2, 0}, Case{1, 1, 1}}) {
    Box box(&root, 10, CRect(0, 0, 100, 100));
    TestControl* child = box.Add(1, CRect(10, 10, 50, 50));
    child->SetDblClk(c.flag);
    box.OnLButtonDown(0, CPoint(20, 20));
    box.OnLButtonUp(0, CPoint(20, 20));
    box.OnLButtonDblClk(0, CPoint(20, 20));
    EXPECT_EQ(child->presses, c.presses) << "flag " << c.flag;
    EXPECT_EQ(child->doubleClicks, c.doubleClicks) << "flag " << c.flag;
    EXPECT_EQ(child->IsPressed(), 0);
  }
}

TEST(ControlTree, FocusedChildTakesTheKeysAndTheHotKeyNeedsItsModifiers) {
  RecordingParent root;
  Box box(&root, 10, CRect(0, 0, 100, 100));
  TestControl* first = box.Add(1, CRect(0, 0, 10, 10));
  TestControl* focused = box.Add(2, CRect(20, 0, 30, 10));
  focused->SetFocused(1);
  EXPECT_EQ(box.OnKeyDown('K', 1, 0x11), 1);
  EXPECT_TRUE(first->keys.empty());
  ASSERT_EQ(focused->keys.size(), 1u);
  EXPECT_EQ(focused->keys[0].second, 0x11u);
  // A focused child that is hidden swallows nothing and passes nothing on.
  focused->SetVisible(0);
  EXPECT_EQ(box.OnKeyDown('K', 1, 0), 0);
  EXPECT_TRUE(first->keys.empty());

  class HotKeyControl : public MControlFont {
   public:
    HotKeyControl() : MControlFont(nullptr, 1, CRect(0, 0, 5, 5), L"", 1, 1, 1) { SetHotKey('S', 0x11); }
    void DrawControl(Canvas&, CRect) override {}
  } hot;
  EXPECT_EQ(hot.OnKeyDown('S', 1, 0x11), 1);
  EXPECT_EQ(hot.OnKeyDown('S', 1, 0x12), 0);
  EXPECT_EQ(hot.OnKeyDown('T', 1, 0x11), 0);
}

TEST(ControlTree, PanelWithContentBelowShowsItsBarAndMovesPointsByTheOffset) {
  RecordingParent root;
  MPanel panel(&root, 10, CRect(0, 0, 100, 100), 1);
  panel.InitControl(nullptr);
  auto* content = new TestControl(&panel, 20, CRect(0, 0, 80, 150));  // 50 px below the panel
  panel.AddChild(content, 1);
  panel.Relayout();
  CScrollVertical* bar = panel.GetScrollVertical();
  EXPECT_TRUE(bar->IsVisible());
  EXPECT_EQ(bar->GetRect(), CRect(93, 0, 100, 100));
  EXPECT_EQ(bar->GetRange(), 150);
  EXPECT_FALSE(panel.GetScrollHorizontal()->IsVisible());

  bar->SetPosition(75);  // half range
  panel.OnMouseMove(0, CPoint(40, 40));
  EXPECT_EQ(content->lastMove, CPoint(40, 65));
  // The bar itself sees the window point.
  panel.OnLButtonDown(0, CPoint(96, 60));
  EXPECT_EQ(panel.GetActiveChild(), bar);
  panel.OnLButtonUp(0, CPoint(96, 60));

  // The wheel moves the bar a step down and clamps at the ends.
  bar->SetPosition(0);
  EXPECT_EQ(panel.OnScroll(1, 1, CPoint(40, 40)), 1);
  EXPECT_EQ(bar->GetPosition(), bar->GetStep());
  for (int i = 0; i < 10; ++i) panel.OnScroll(1, 0, CPoint(40, 40));
  EXPECT_EQ(bar->GetPosition(), 0);

  // Content that fits hides the bar again and leaves points alone.
  content->SetRect(CRect(0, 0, 80, 90));
  panel.Relayout();
  EXPECT_FALSE(bar->IsVisible());
  panel.OnMouseMove(0, CPoint(41, 41));
  EXPECT_EQ(content->lastMove, CPoint(41, 41));
}

TEST(ControlTree, GetControlFindsAControlThreePanelsDeep) {
  RecordingParent root;
  MPanel outer(&root, 100, CRect(0, 0, 300, 300), 1);
  auto* middle = new MPanel(&outer, 101, CRect(0, 0, 200, 200), 1);
  outer.AddChild(middle, 1);
  auto* inner = new MPanel(middle, 102, CRect(0, 0, 100, 100), 1);
  middle->AddChild(inner, 0);  // an area child on the way
  auto* deep = new TestControl(inner, 103, CRect(10, 10, 20, 20));
  inner->AddChild(deep, 1);
  EXPECT_EQ(outer.GetControl(103), deep);
  EXPECT_EQ(outer.GetControl(102), inner);
  EXPECT_EQ(outer.GetControl(999), nullptr);
  // Removing deletes it, and it is gone from the search.
  inner->RemoveControl(deep);
  EXPECT_EQ(outer.GetControl(103), nullptr);
}

TEST(ControlTree, SetRectAsksForTheOldAndTheNewPlace) {
  RecordingParent parent;
  TestControl control(&parent, 1, CRect(0, 0, 10, 10));
  control.SetRect(50, 60, 10, 10);
  ASSERT_EQ(parent.updates.size(), 1u);
  EXPECT_EQ(parent.updates[0].rect, CRect(0, 0, 60, 70));
  EXPECT_EQ(control.GetRect(), CRect(50, 60, 60, 70));
  control.SetVisible(0);
  parent.updates.clear();
  control.SetRect(0, 0, 5, 5);  // hidden: nothing to repaint
  EXPECT_TRUE(parent.updates.empty());
}

TEST(ControlTree, NotificationsBubbleUpThroughPanels) {
  RecordingParent root;
  MPanel panel(&root, 10, CRect(0, 0, 100, 100), 1);
  auto* child = new TestControl(&panel, 42, CRect(0, 0, 10, 10));
  panel.AddChild(child, 1);
  child->SendMessageW(2, 0, 0);
  ASSERT_EQ(root.messages.size(), 1u);
  EXPECT_EQ(root.messages[0], std::make_pair(42u, 2u));
}

TEST(ControlTree, ClassNamesMatchExactly) {
  TestControl control(nullptr, 1, CRect(0, 0, 10, 10));
  EXPECT_FALSE(MObject().IsClass(L"MiraControl"));
  EXPECT_TRUE(control.IsClass(L"MiraControl"));
  EXPECT_FALSE(control.IsClass(L"miracontrol"));
  EXPECT_FALSE(control.IsClass(L"MiraControlX"));
}

}  // namespace

namespace {

TEST(ControlTree, PanelPassesItsEnabledStateToItsChildren) {
  RecordingParent root;
  MPanel panel(&root, 10, CRect(0, 0, 100, 100), 1);
  auto* a = new TestControl(&panel, 20, CRect(0, 0, 10, 10));
  auto* b = new TestControl(&panel, 21, CRect(20, 0, 30, 10), 0);
  panel.AddChild(a, 1);
  panel.AddChild(b, 1);
  panel.SetEnabled(0);
  EXPECT_EQ(panel.IsEnabled(), 0);
  EXPECT_EQ(a->IsEnabled(), 0);
  EXPECT_EQ(b->IsEnabled(), 0);
  // A disabled control takes no press and no wheel.
  panel.SetEnabled(1);
  a->SetEnabled(0);
  EXPECT_EQ(panel.OnLButtonDown(0, CPoint(5, 5)), 0);
  EXPECT_EQ(a->presses, 0);
  EXPECT_EQ(a->OnScroll(1, 1, CPoint(5, 5)), 0);
}

}  // namespace
