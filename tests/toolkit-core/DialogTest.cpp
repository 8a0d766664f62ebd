// Dialogs on real X windows: results, painting, mouse and key routing.
#include <gtest/gtest.h>

#include "CoreTestSupport.h"
#include "platform/SyntheticInput.h"
#include "toolkit/core/MPanel.h"
#include "toolkit/core/ToolTipWindow.h"

using namespace platform;

namespace {

class Dialog : public DisplayTest {};

void Send(TestDialog& d, uint32_t msg, uintptr_t wParam, CPoint p) {
  SendMessage(d.GetSafeHwnd(), msg, wParam, MakeLParam(p.x, p.y));
}

TEST_F(Dialog, ResultsOfTheCloseRequests) {
  struct Case {
    void (MDialog::*request)();
    int result;
  };
  for (const Case c : {Case{&MDialog::DoOK, IDOK}, Case{&MDialog::DoCancel, IDCANCEL},
                       Case{&MDialog::DoClose, IDCANCEL}, Case{&MDialog::DoYes, IDYES}, Case{&MDialog::DoNo, IDNO}}) {
    TestDialog dialog;
    ASSERT_TRUE(dialog.Open());
    EXPECT_EQ(dialog.initCalls, 1);
    (dialog.*c.request)();
    EXPECT_EQ(dialog.ShowModal(SW_SHOW), c.result);
    EXPECT_EQ(dialog.GetSafeHwnd(), 0u);
  }
  TestDialog never;
  EXPECT_EQ(never.ShowModal(SW_SHOW), -1);
}

TEST_F(Dialog, SetRectRepaintsTheOldAndTheNewPlace) {
  TestDialog dialog;
  ASSERT_TRUE(dialog.Open());
  dialog.GetPaintManager().SetBackColor(RGB(0, 0, 0), RGB(0, 0, 0));
  TestControl* control = dialog.Add(5, CRect(10, 10, 40, 40), 1, 0xFFFF0000);
  const Canvas& image = dialog.GetPaintManager().GetPaintImage();
  ASSERT_TRUE(PumpUntil([&] { return image.IsValid() && image.GetColor(20, 20) == 0xFFFF0000; }));
  control->SetRect(100, 100, 30, 30);
  ASSERT_TRUE(PumpUntil([&] { return image.GetColor(110, 110) == 0xFFFF0000; }));
  EXPECT_NE(image.GetColor(20, 20) & 0xFFFFFF, 0xFF0000u);
}

TEST_F(Dialog, LaterControlsOverTheChangedOneAreRedrawnToo) {
  TestDialog dialog;
  ASSERT_TRUE(dialog.Open());
  TestControl* below = dialog.Add(1, CRect(10, 10, 60, 60));
  TestControl* above = dialog.Add(2, CRect(40, 40, 90, 90));
  TestControl* apart = dialog.Add(3, CRect(150, 10, 190, 50));
  ASSERT_TRUE(PumpUntil([&] { return above->draws > 0; }));
  PumpFor(50);
  above->SetUpdate(1, 0);
  apart->SetUpdate(1, 0);
  below->UpdateControl(1);
  EXPECT_EQ(below->GetUpdate(), 0);
  EXPECT_EQ(above->GetUpdate(), 0);  // it lies over the changed one
  EXPECT_EQ(apart->GetUpdate(), 1);
}

TEST_F(Dialog, BackgroundPressDragsTheWindowButNotOverAResponsiveControl) {
  TestDialog dialog;
  ASSERT_TRUE(dialog.Open(CRect(200, 200, 520, 440)));
  TestControl* control = dialog.Add(5, CRect(0, 0, 100, 100));
  // The window's place is known only once the server has answered; the
  // press must not be aimed before that.
  ASSERT_TRUE(PumpUntil([&] { return control->draws > 0 && dialog.GetWindowRect().left == 200; }));
  PumpFor(100);
  auto dragFrom = [&](CPoint client) {
    const CRect before = dialog.GetWindowRect();
    const CPoint screen = dialog.ClientToScreen(client);
    SynthesizeMouseMove(screen.x, screen.y);
    PumpFor(50);
    SynthesizeButton(1, true);
    PumpFor(50);
    for (int i = 1; i <= 5; ++i) {
      SynthesizeMouseMove(screen.x + 8 * i, screen.y + 6 * i);
      PumpFor(20);
    }
    SynthesizeButton(1, false);
    PumpFor(100);
    const CRect after = dialog.GetWindowRect();
    return CPoint(after.left - before.left, after.top - before.top);
  };
  EXPECT_EQ(dragFrom(CPoint(50, 50)), CPoint(0, 0));
  EXPECT_EQ(control->presses, 1);
  EXPECT_EQ(control->releases, 1);
  EXPECT_EQ(dragFrom(CPoint(200, 150)), CPoint(40, 30));

  // Without window drag the background stays put.
  dialog.EnableWndDrag(0);
  EXPECT_EQ(dragFrom(CPoint(200, 150)), CPoint(0, 0));
}

TEST_F(Dialog, WheelStepsOf120) {
  TestDialog dialog;
  ASSERT_TRUE(dialog.Open());
  TestControl* control = dialog.Add(5, CRect(0, 0, 100, 100));
  const CPoint screen = dialog.ClientToScreen(CPoint(50, 50));
  struct Case {
    int delta;
    std::vector<unsigned> steps;
  };
  for (const Case& c : {Case{60, {}}, Case{-240, {1, 1}}, Case{120, {0}}, Case{-119, {}}}) {
    control->scrolls.clear();
    const uintptr_t w = static_cast<uintptr_t>(static_cast<uint16_t>(c.delta)) << 16;
    SendMessage(dialog.GetSafeHwnd(), WM_MOUSEWHEEL, w, MakeLParam(screen.x, screen.y));
    EXPECT_EQ(control->scrolls, c.steps) << "delta " << c.delta;
  }
}

TEST_F(Dialog, TabWithoutATabStopClearsTheFocus) {
  TestDialog dialog;
  ASSERT_TRUE(dialog.Open());
  TestControl* a = dialog.Add(1, CRect(0, 0, 10, 10));
  TestControl* b = dialog.Add(2, CRect(20, 0, 30, 10));
  PaintManager& pm = dialog.GetPaintManager();
  Message tab{dialog.GetSafeHwnd(), WM_KEYDOWN, 0x09, 0};
  pm.SetFocusControl(a);
  EXPECT_EQ(pm.PreTranslateMessage(tab), 1);
  EXPECT_EQ(pm.GetFocusControl(), nullptr);
  EXPECT_EQ(a->focusCalls, (std::vector<int>{1, 0}));
  // With tab stops the focus walks on and wraps around.
  a->SetTabStop(1);
  b->SetTabStop(1);
  EXPECT_EQ(pm.PreTranslateMessage(tab), 1);
  EXPECT_EQ(pm.GetFocusControl(), a);
  EXPECT_EQ(pm.PreTranslateMessage(tab), 1);
  EXPECT_EQ(pm.GetFocusControl(), b);
  EXPECT_EQ(pm.PreTranslateMessage(tab), 1);
  EXPECT_EQ(pm.GetFocusControl(), a);
  // A single tab stop that already has the focus: nothing to consume.
  b->SetTabStop(0);
  EXPECT_EQ(pm.PreTranslateMessage(tab), 0);
}

TEST_F(Dialog, ModifierCodesOfRealKeys) {
  TestDialog dialog;
  ASSERT_TRUE(dialog.Open());
  TestControl* control = dialog.Add(5, CRect(0, 0, 100, 100));
  dialog.SetFocus();
  const CPoint screen = dialog.ClientToScreen(CPoint(50, 50));
  SynthesizeMouseMove(screen.x, screen.y);
  PumpFor(100);
  constexpr int kShift = 0x10, kControl = 0x11, kAlt = 0x12, kKeyA = 'A';
  struct Case {
    std::vector<int> held;
    unsigned code;
  };
  for (const Case& c : {Case{{kControl, kShift}, 0x11}, Case{{kAlt}, 0x12}, Case{{kShift}, 0x10}, Case{{}, 0}}) {
    control->keys.clear();
    for (int k : c.held) SynthesizeKey(k, true);
    SynthesizeKey(kKeyA, true);
    SynthesizeKey(kKeyA, false);
    for (int k : c.held) SynthesizeKey(k, false);
    auto keyA = [&]() -> const std::pair<unsigned, unsigned>* {
      for (const auto& k : control->keys) {
        if (k.first == static_cast<unsigned>(kKeyA)) return &k;
      }
      return nullptr;
    };
    ASSERT_TRUE(PumpUntil([&] { return keyA() != nullptr; })) << "code " << c.code;
    EXPECT_EQ(keyA()->second, c.code);
  }
}

TEST_F(Dialog, ControlTimersRestartAndNumbersWrapAt240) {
  TestDialog dialog;
  ASSERT_TRUE(dialog.Open());
  PaintManager& pm = dialog.GetPaintManager();
  TestControl* control = dialog.Add(5, CRect(0, 0, 10, 10));
  EXPECT_EQ(pm.SetTimer(control, 7, 1000), 1);
  EXPECT_EQ(pm.SetTimer(control, 7, 1000), 0);  // running
  const unsigned first = pm.GetTimerNumber(control, 7);
  EXPECT_EQ(first, 17u);
  EXPECT_EQ(pm.KillTimer(control, 7), 1);
  EXPECT_EQ(pm.SetTimer(control, 7, 20), 1);  // restarted with its number
  EXPECT_EQ(pm.GetTimerNumber(control, 7), first);
  ASSERT_TRUE(PumpUntil([&] { return control->ticks > 0; }));
  for (unsigned key = 100; key < 100 + 239; ++key) ASSERT_EQ(pm.SetTimer(control, key, 100000), 1);
  EXPECT_EQ(pm.GetTimerNumber(control, 100 + 238), 16u);
  EXPECT_EQ(pm.SetTimer(control, 999, 100000), 1);  // the 241st
  EXPECT_EQ(pm.GetTimerNumber(control, 999), 17u);
  EXPECT_EQ(pm.KillTimer(control), 1);
  EXPECT_EQ(pm.GetTimerNumber(control, 7), 0u);
}

TEST_F(Dialog, LayeredPaintMakesUnalphaedPixelsOpaqueAndLeavesClearedOnesTransparent) {
  Canvas canvas(4, 1);
  uint32_t* px = reinterpret_cast<uint32_t*>(canvas.Bits());
  px[0] = 0x00000000;  // untouched
  px[1] = 0x00FF0000;  // written without alpha
  px[2] = 0x80400000;  // blended
  px[3] = 0x00000001;
  canvas.MarkDirty();
  PaintManager::FixLayeredAlpha(canvas, CRect(0, 0, 4, 1));
  EXPECT_EQ(canvas.GetPixel(0, 0), 0x00000000u);
  EXPECT_EQ(canvas.GetPixel(1, 0), 0xFFFF0000u);
  EXPECT_EQ(canvas.GetPixel(2, 0), 0x80400000u);
  EXPECT_EQ(canvas.GetPixel(3, 0), 0xFF000001u);

  TestDialog dialog;
  ASSERT_TRUE(dialog.Open());
  dialog.SetLayeredWindow(1);
  TestControl* control = dialog.Add(5, CRect(0, 0, 50, 50), 1, 0);
  control->drawExtra = [](Canvas& dc) {
    dc.ClearRect(CRect(0, 0, 50, 50), 0);
    uint32_t* row = reinterpret_cast<uint32_t*>(dc.Bits() + 10 * dc.Stride());
    row[10] = 0x0000FF00;  // a pixel set as plain text drawing would
    dc.MarkDirty();
  };
  const Canvas& image = dialog.GetPaintManager().GetPaintImage();
  ASSERT_TRUE(PumpUntil([&] { return control->draws > 0 && image.IsValid(); }));
  PumpFor(50);
  EXPECT_EQ(image.GetPixel(10, 10), 0xFF00FF00u);
  EXPECT_EQ(image.GetPixel(20, 20), 0u);
  EXPECT_EQ(image.GetPixel(100, 100) >> 24, 254u);  // the background colours
}

TEST_F(Dialog, DeactivationReleasesAHeldControlAtMinusOne) {
  TestDialog dialog;
  ASSERT_TRUE(dialog.Open());
  TestControl* control = dialog.Add(5, CRect(0, 0, 100, 100));
  Send(dialog, WM_MOUSEMOVE, 0, CPoint(30, 30));
  Send(dialog, WM_LBUTTONDOWN, MK_LBUTTON, CPoint(30, 30));
  EXPECT_EQ(control->presses, 1);
  EXPECT_EQ(dialog.GetPaintManager().GetHoverControl(), control);
  SendMessage(dialog.GetSafeHwnd(), WM_NCACTIVATE, 0, 0);
  EXPECT_EQ(control->releases, 1);
  EXPECT_EQ(control->lastRelease, CPoint(-1, -1));
  EXPECT_EQ(dialog.GetPaintManager().GetHoverControl(), nullptr);
  // Without a held button it gets a move there instead.
  Send(dialog, WM_MOUSEMOVE, 0, CPoint(30, 30));
  SendMessage(dialog.GetSafeHwnd(), WM_NCACTIVATE, 0, 0);
  EXPECT_EQ(control->releases, 1);
  EXPECT_EQ(control->lastMove, CPoint(-1, -1));
}

TEST_F(Dialog, DoubleClickAtTopLevelWithoutTheFlagIsAPress) {
  TestDialog dialog;
  ASSERT_TRUE(dialog.Open());
  TestControl* control = dialog.Add(5, CRect(0, 0, 100, 100));
  Send(dialog, WM_MOUSEMOVE, 0, CPoint(30, 30));
  Send(dialog, WM_LBUTTONDOWN, MK_LBUTTON, CPoint(30, 30));
  Send(dialog, WM_LBUTTONUP, 0, CPoint(30, 30));
  Send(dialog, WM_LBUTTONDBLCLK, MK_LBUTTON, CPoint(30, 30));
  EXPECT_EQ(control->presses, 2);
  EXPECT_EQ(control->doubleClicks, 0);
  EXPECT_EQ(dialog.GetPaintManager().GetDoubleClickFlag(), 1);
}

TEST_F(Dialog, TooltipShowsWhenThePointerEntersItsControl) {
  TestDialog dialog;
  ASSERT_TRUE(dialog.Open());
  TestControl* control = dialog.Add(5, CRect(0, 0, 100, 50));
  control->SetTooltip(L"A tip long enough to wrap: the tooltip never grows wider than its maximum of 256 pixels.");
  Send(dialog, WM_MOUSEMOVE, 0, CPoint(200, 200));
  Send(dialog, WM_MOUSEMOVE, 0, CPoint(30, 30));
  ToolTipWindow* tip = dialog.GetPaintManager().GetToolTipWindow();
  ASSERT_NE(tip, nullptr);
  EXPECT_TRUE(tip->IsShown());
  EXPECT_EQ(dialog.GetPaintManager().GetTooltipCtrlID(), 5u);
  EXPECT_LE(tip->GetImage().Width(), 256);
  EXPECT_GT(tip->GetImage().Height(), 20);  // wrapped onto more lines
  // It opens just below the control.
  const platform::Rect where = tip->GetWindow().GetWindowRect();
  EXPECT_EQ(where.top, dialog.ClientToScreen(CPoint(0, 50)).y + 2);
  dialog.ClearTooltip();
  EXPECT_FALSE(tip->IsShown());
}

}  // namespace
