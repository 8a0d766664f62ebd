// The window side of dialogs: size changes, icon, balloon tip, and controls
// that go away while the pointer is on them.
#include <gtest/gtest.h>

#include "CoreTestSupport.h"
#include "toolkit/core/MAirBladder.h"
#include "toolkit/core/MRender.h"
#include "toolkit/core/SkinFolder.h"

using namespace platform;

namespace {

class DialogWindow : public DisplayTest {};

TEST_F(DialogWindow, SizeChangesReachUISizeWithTheNewClient) {
  TestDialog dialog;
  ASSERT_TRUE(dialog.Open(CRect(100, 100, 400, 300)));
  EXPECT_EQ(dialog.lastSize, CRect(0, 0, 300, 200));
  EXPECT_EQ(dialog.GetStyle() & (WS_CAPTION | WS_THICKFRAME), 0u);  // no system frame
  dialog.MoveWindow(CRect(100, 100, 520, 330));
  ASSERT_TRUE(PumpUntil([&] { return dialog.lastSize == CRect(0, 0, 420, 230); }));
  EXPECT_EQ(dialog.GetDialogClientRect(), CRect(0, 0, 420, 230));
}

TEST_F(DialogWindow, IconFromTheToolkitResources) {
  TestDialog dialog;
  EXPECT_EQ(dialog.SetIcon(101), 0);  // no window yet
  ASSERT_TRUE(dialog.Open());
  EXPECT_EQ(dialog.SetIcon(101), 1);
  EXPECT_EQ(dialog.SetIcon(4242), 0);
}

TEST_F(DialogWindow, BalloonTipPointsAtTheControlsBottomEdge) {
  TestDialog dialog;
  ASSERT_TRUE(dialog.Open(CRect(300, 200, 700, 500)));
  TestControl* control = dialog.Add(5, CRect(40, 40, 140, 70));
  const CPoint left = dialog.GetAirBladderPoint(control, 0);
  const CPoint middle = dialog.GetAirBladderPoint(control, 1);
  const CPoint right = dialog.GetAirBladderPoint(control, 2);
  EXPECT_EQ(left, dialog.ClientToScreen(CPoint(40, 70)));
  EXPECT_EQ(middle, dialog.ClientToScreen(CPoint(90, 70)));
  EXPECT_EQ(right, dialog.ClientToScreen(CPoint(140, 70)));
  EXPECT_EQ(dialog.SetAirBladderMsg(L"refused", CPoint(0, 120), AIRBLADDER_LEFT), 0);
  EXPECT_EQ(dialog.GetPaintManager().GetAirBladder(), nullptr);
  ASSERT_EQ(dialog.SetAirBladderMsg(L"Saved to the keyboard", middle, AIRBLADDER_MIDDLE), 1);
  MAirBladder* tip = dialog.GetPaintManager().GetAirBladder();
  ASSERT_NE(tip, nullptr);
  EXPECT_TRUE(tip->IsShown());
  EXPECT_EQ(tip->GetWindow().GetTitle(), L"AirBladder Window");
  // The arrow's middle sits on the point: the window is centred on it.
  // The server reports the move back through the loop.
  PumpUntil([&] { return tip->GetWindow().GetWindowRect().top == middle.y; });
  const platform::Rect where = tip->GetWindow().GetWindowRect();
  EXPECT_EQ(where.top, middle.y);
  EXPECT_EQ(where.left + where.Width() / 2, middle.x);
  // Drawn from the skin's tip picture, not left empty.
  EXPECT_NE(tip->GetImage().GetPixel(where.Width() / 2, where.Height() / 2) >> 24, 0u);
  // Hiding with another owner's id does nothing; with none it hides.
  dialog.GetPaintManager().ShowAirBladder(1, 7);
  dialog.GetPaintManager().ShowAirBladder(0, 8);
  EXPECT_TRUE(tip->IsShown());
  dialog.GetPaintManager().ShowAirBladder(0, 7);
  EXPECT_FALSE(tip->IsShown());
}

TEST_F(DialogWindow, ARemovedControlLeavesNoHoverFocusOrTimerBehind) {
  TestDialog dialog;
  ASSERT_TRUE(dialog.Open());
  PaintManager& pm = dialog.GetPaintManager();
  TestControl* control = dialog.Add(5, CRect(0, 0, 100, 100));
  SendMessage(dialog.GetSafeHwnd(), WM_MOUSEMOVE, 0, MakeLParam(30, 30));
  SendMessage(dialog.GetSafeHwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MakeLParam(30, 30));
  ASSERT_EQ(pm.GetHoverControl(), control);
  ASSERT_EQ(pm.GetFocusControl(), control);
  ASSERT_EQ(pm.SetTimer(control, 1, 10), 1);
  control->AddMTimer();
  EXPECT_EQ(pm.RemoveControl(control), 1);
  EXPECT_EQ(pm.GetHoverControl(), nullptr);
  EXPECT_EQ(pm.GetFocusControl(), nullptr);
  // Its timer is gone with it: the loop runs on without touching it.
  PumpFor(50);
  SendMessage(dialog.GetSafeHwnd(), WM_LBUTTONUP, 0, MakeLParam(30, 30));
  SendMessage(dialog.GetSafeHwnd(), WM_MOUSEMOVE, 0, MakeLParam(31, 31));
  EXPECT_EQ(pm.GetControls().size(), 0u);
}

TEST_F(DialogWindow, BackgroundImageAtItsSizeOrStretchedAsAFrame) {
  TestDialog dialog;
  ASSERT_TRUE(dialog.Open(CRect(0, 0, 300, 200)));
  PaintManager& pm = dialog.GetPaintManager();
  EXPECT_EQ(dialog.LoadBKImage(L"no_such_background.png"), 0);
  const Canvas& image = pm.GetPaintImage();
  ASSERT_TRUE(PumpUntil([&] { return image.IsValid(); }));
  PumpFor(30);
  EXPECT_EQ(image.GetColor(150, 100), ArgbFromColorRef(0x130D09, 254));  // the colours instead
  EXPECT_EQ(image.GetColor(0, 0), ArgbFromColorRef(0xFDA810, 254));

  ASSERT_EQ(dialog.LoadBKImage(L"img_tip_bk.png"), 1);  // 190 x 100
  std::unique_ptr<Image> picture = MRender::LoadImageFromFile(SkinFolder::SkinFile(L"img_tip_bk.png"));
  ASSERT_NE(picture, nullptr);
  const Canvas& source = picture->GetFrame(0);
  ASSERT_TRUE(PumpUntil([&] { return image.GetPixel(10, 10) == source.GetPixel(10, 10); }));
  // Mode 0: the picture at its own size at the top-left corner, nothing
  // (not the colours) beyond it.
  EXPECT_EQ(image.GetPixel(250, 150), 0u);
  // Mode 1: a frame over the whole client, corners unscaled.
  dialog.SetBackMode(BACK_MODE_FRAME, 4);
  ASSERT_TRUE(PumpUntil([&] { return image.GetPixel(298, 198) == source.GetPixel(188, 98); }));
  EXPECT_EQ(image.GetPixel(1, 1), source.GetPixel(1, 1));
}

TEST_F(DialogWindow, CursorsByName) {
  TestDialog dialog;
  ASSERT_TRUE(dialog.Open());
  TestControl* control = dialog.Add(5, CRect(0, 0, 100, 100));
  EXPECT_EQ(control->OnControlSetCursor(0, CPoint(10, 10)), 0);  // none set
  control->SetCursorEx(L"pointer");                             // not a cursor name
  EXPECT_EQ(control->OnControlSetCursor(0, CPoint(10, 10)), 0);
  control->SetCursorEx(L"hand");
  EXPECT_EQ(control->OnControlSetCursor(0, CPoint(10, 10)), 1);
  EXPECT_EQ(control->OnControlSetCursor(0, CPoint(150, 10)), 0);  // outside
}

}  // namespace
