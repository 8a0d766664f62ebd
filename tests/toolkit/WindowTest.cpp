// Real X windows under Xvfb: mapping, scripted input, timers, paints,
// modal loops, the title registry, dragging and presenting pixels.
#include "platform/Window.h"

#include <set>
#include <thread>

#include "platform/SyntheticInput.h"
#include "tests/toolkit/WindowTestSupport.h"

using namespace platform;

namespace {

constexpr int kVkShift = 16;
constexpr int kVkA = 'A';

struct TestWindow {
  RecordingHandler handler;
  Window window{&handler};

  bool Open(Rect rect, uint32_t style = WS_POPUP | WS_VISIBLE, uint32_t exStyle = 0, Window* owner = nullptr,
            const std::wstring& title = L"Kestrel window test") {
    WindowCreateParams params;
    params.owner = owner;
    params.title = title;
    params.style = style;
    params.exStyle = exStyle;
    params.rect = rect;
    if (!window.Create(params)) return false;
    if (!(style & WS_VISIBLE)) return true;
    return PumpUntil([&] { return handler.Count(WM_SHOWWINDOW) > 0 && handler.Count(WM_PAINT) > 0; });
  }
};

void Click(int x, int y, int button = 1) {
  SynthesizeMouseMove(x, y);
  SynthesizeButton(button, true);
  SynthesizeButton(button, false);
}

}  // namespace

class WindowTest : public DisplayTest {};

TEST_F(WindowTest, MapsAndPaintsAfterCreate) {
  TestWindow t;
  ASSERT_TRUE(t.Open({100, 100, 300, 250}));
  ASSERT_FALSE(t.handler.messages.empty());
  EXPECT_EQ(t.handler.messages.front().message, WM_CREATE);
  ASSERT_NE(t.handler.Last(WM_SIZE), nullptr);
  EXPECT_EQ(LowWord(t.handler.Last(WM_SIZE)->lParam), 200);
  EXPECT_EQ(HighWord(t.handler.Last(WM_SIZE)->lParam), 150);
  EXPECT_TRUE(t.window.IsVisible());
  EXPECT_EQ(t.window.GetClientRect().Width(), 200);
  EXPECT_EQ(t.window.GetClientRect().Height(), 150);
  EXPECT_EQ(t.window.GetTitle(), L"Kestrel window test");
  t.window.Show(SW_MINIMIZE);
  EXPECT_TRUE(t.window.IsIconic());
  EXPECT_FALSE(t.window.IsVisible());
  t.window.Show(SW_RESTORE);
  EXPECT_FALSE(t.window.IsIconic());
  EXPECT_TRUE(t.window.IsVisible());
  t.window.Show(SW_HIDE);
  ASSERT_TRUE(PumpUntil([&] { return t.handler.Last(WM_SHOWWINDOW)->wParam == 0; }));
  EXPECT_FALSE(t.window.IsVisible());
  t.window.Destroy();
  EXPECT_FALSE(t.window.Exists());
  EXPECT_EQ(t.handler.messages.back().message, WM_NCDESTROY);
  EXPECT_EQ(t.handler.Count(WM_DESTROY), 1u);
}

TEST_F(WindowTest, ClickAndKeyArriveWithCoordinatesAndModifiers) {
  TestWindow t;
  ASSERT_TRUE(t.Open({200, 150, 400, 300}));
  t.window.SetFocus();
  PumpFor(50);
  t.handler.messages.clear();
  bool shiftHeldAtA = false;
  t.handler.onMessage = [&](Window&, const Message& m, intptr_t&) {
    if (m.message == WM_KEYDOWN && m.wParam == static_cast<uintptr_t>(kVkA)) shiftHeldAtA = IsKeyDown(kVkShift);
    return false;
  };

  SynthesizeKey(kVkShift, true);
  Click(250, 180);
  SynthesizeKey(kVkA, true);
  SynthesizeKey(kVkA, false);
  SynthesizeKey(kVkShift, false);
  ASSERT_TRUE(PumpUntil([&] { return t.handler.Count(WM_KEYUP) >= 2; }));

  const Message* down = t.handler.Last(WM_LBUTTONDOWN);
  const Message* up = t.handler.Last(WM_LBUTTONUP);
  ASSERT_NE(down, nullptr);
  ASSERT_NE(up, nullptr);
  EXPECT_EQ(LowWord(down->lParam), 50);
  EXPECT_EQ(HighWord(down->lParam), 30);
  EXPECT_EQ(down->wParam & (MK_LBUTTON | MK_SHIFT), MK_LBUTTON | MK_SHIFT);
  EXPECT_EQ(up->wParam & MK_LBUTTON, 0u);
  EXPECT_EQ(down->modifiers, kModifierShift);

  const Message* key = nullptr;
  for (const Message& m : t.handler.messages) {
    if (m.message == WM_KEYDOWN && m.wParam == static_cast<uintptr_t>(kVkA)) key = &m;
  }
  ASSERT_NE(key, nullptr);
  EXPECT_EQ(key->modifiers, kModifierShift);
  const Message* ch = t.handler.Last(WM_CHAR);
  ASSERT_NE(ch, nullptr);
  EXPECT_EQ(ch->wParam, static_cast<uintptr_t>('A'));
  EXPECT_TRUE(shiftHeldAtA);
  EXPECT_FALSE(IsKeyDown(kVkShift));
  // The Shift key itself arrives without its side.
  bool sawShift = false;
  for (const Message& m : t.handler.messages) sawShift |= m.message == WM_KEYDOWN && m.wParam == kVkShift;
  EXPECT_TRUE(sawShift);
}

TEST_F(WindowTest, PopUpWindowsMapWithoutTheWindowManager) {
  TestWindow owner;
  ASSERT_TRUE(owner.Open({100, 600, 300, 700}));
  RecordingHandler handler;
  Window popUp(&handler);
  WindowCreateParams params;
  params.owner = &owner.window;
  params.style = WS_POPUP | WS_VISIBLE;
  params.exStyle = WS_EX_TOPMOST | WS_EX_TOOLWINDOW;
  params.rect = {120, 620, 220, 650};
  params.popUp = true;
  ASSERT_TRUE(popUp.Create(params));
  ASSERT_TRUE(PumpUntil([&] { return handler.Count(WM_PAINT) > 0; }));
  EXPECT_EQ(popUp.GetOwner(), &owner.window);
  EXPECT_EQ(popUp.GetWindowRect().left, 120);
  // Clicks on the pop-up go to the pop-up, in its own coordinates.
  Click(130, 630);
  ASSERT_TRUE(PumpUntil([&] { return handler.Count(WM_LBUTTONUP) == 1; }));
  EXPECT_EQ(LowWord(handler.Last(WM_LBUTTONDOWN)->lParam), 10);
  EXPECT_EQ(owner.handler.Count(WM_LBUTTONDOWN), 0u);
}

TEST_F(WindowTest, SecondQuickClickIsADoubleClickAndWheelStepsAre120) {
  TestWindow t;
  ASSERT_TRUE(t.Open({300, 300, 400, 400}));
  t.handler.messages.clear();
  Click(320, 320);
  Click(321, 321);
  Click(320, 320, 4);
  Click(320, 320, 5);
  ASSERT_TRUE(PumpUntil([&] { return t.handler.Count(WM_MOUSEWHEEL) == 2; }));
  EXPECT_EQ(t.handler.Count(WM_LBUTTONDOWN), 1u);
  EXPECT_EQ(t.handler.Count(WM_LBUTTONDBLCLK), 1u);
  std::vector<int> deltas;
  for (const Message& m : t.handler.messages) {
    if (m.message == WM_MOUSEWHEEL) {
      deltas.push_back(HighWord(static_cast<intptr_t>(m.wParam)));
      EXPECT_EQ(LowWord(m.lParam), 320);  // screen coordinates
    }
  }
  EXPECT_EQ(deltas, (std::vector<int>{120, -120}));
}

TEST_F(WindowTest, DisabledWindowIgnoresInput) {
  TestWindow t;
  ASSERT_TRUE(t.Open({500, 100, 600, 200}));
  t.window.Enable(false);
  t.handler.messages.clear();
  Click(550, 150);
  PumpFor(100);
  EXPECT_EQ(t.handler.Count(WM_LBUTTONDOWN), 0u);
  EXPECT_EQ(t.handler.Count(WM_MOUSEMOVE), 0u);
  t.window.Enable(true);
  Click(551, 151);
  EXPECT_TRUE(PumpUntil([&] { return t.handler.Count(WM_LBUTTONUP) == 1; }));
}

TEST_F(WindowTest, WindowTimersFireUntilKilled) {
  TestWindow t;
  ASSERT_TRUE(t.Open({0, 0, 50, 50}, WS_POPUP));
  ASSERT_TRUE(t.window.SetTimer(7, 20));
  ASSERT_TRUE(t.window.SetTimer(9, 35));
  ASSERT_TRUE(PumpUntil([&] { return t.handler.Count(WM_TIMER) >= 6; }));
  std::set<uintptr_t> ids;
  for (const Message& m : t.handler.messages) {
    if (m.message == WM_TIMER) ids.insert(m.wParam);
  }
  EXPECT_EQ(ids, (std::set<uintptr_t>{7, 9}));
  EXPECT_TRUE(t.window.KillTimer(7));
  EXPECT_TRUE(t.window.KillTimer(9));
  EXPECT_FALSE(t.window.KillTimer(9));
  const size_t fired = t.handler.Count(WM_TIMER);
  PumpFor(100);
  EXPECT_EQ(t.handler.Count(WM_TIMER), fired);
}

TEST_F(WindowTest, InvalidationsAreCoalescedIntoFewPaints) {
  TestWindow t;
  ASSERT_TRUE(t.Open({0, 0, 100, 100}));
  t.handler.messages.clear();
  Rect union_;
  t.handler.onMessage = [&](Window& w, const Message& m, intptr_t&) {
    if (m.message == WM_PAINT && union_.IsEmpty()) union_ = w.GetUpdateRect();
    return false;
  };
  Rect a{10, 10, 20, 20}, b{50, 60, 70, 80};
  t.window.Invalidate(&a);
  t.window.Invalidate(&b);
  ASSERT_TRUE(PumpUntil([&] { return t.handler.Count(WM_PAINT) == 1; }));
  EXPECT_EQ(union_.left, 10);
  EXPECT_EQ(union_.top, 10);
  EXPECT_EQ(union_.right, 70);
  EXPECT_EQ(union_.bottom, 80);
  // Invalidating on every pass for 150 ms gives at most one paint per 15 ms.
  t.handler.messages.clear();
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(150);
  while (std::chrono::steady_clock::now() < end) {
    t.window.Invalidate(nullptr);
    PumpMessages(1);
  }
  EXPECT_GE(t.handler.Count(WM_PAINT), 1u);
  EXPECT_LE(t.handler.Count(WM_PAINT), 11u);
}

TEST_F(WindowTest, ModalLoopEndsWithThePostedCloseResult) {
  TestWindow owner;
  ASSERT_TRUE(owner.Open({100, 100, 400, 400}));
  TestWindow dialog;
  ASSERT_TRUE(dialog.Open({150, 150, 250, 250}, WS_POPUP, 0, &owner.window));
  bool ownerDisabledDuringLoop = false;
  // Like the toolkit's dialogs: the close request becomes a posted WM_CLOSE
  // with the same result.
  dialog.handler.onMessage = [&](Window& w, const Message& m, intptr_t& result) {
    if (m.message == WM_TIMER) {
      ownerDisabledDuringLoop = !owner.window.IsEnabled();
      w.KillTimer(1);
      w.PostMessage(WM_TOOLKIT_CLOSE, IDYES, 0);
      return true;
    }
    if (m.message == WM_TOOLKIT_CLOSE) {
      w.PostMessage(WM_CLOSE, m.wParam, m.lParam);
      result = 1;
      return true;
    }
    return false;
  };
  dialog.window.SetTimer(1, 30);
  EXPECT_EQ(dialog.window.RunModal(SW_SHOW), IDYES);
  EXPECT_TRUE(ownerDisabledDuringLoop);
  EXPECT_TRUE(owner.window.IsEnabled());
  EXPECT_FALSE(dialog.window.Exists());
  EXPECT_EQ(dialog.window.RunModal(SW_SHOW), -1);
}

TEST_F(WindowTest, NestedModalLoopsEachEndWithTheirOwnResult) {
  TestWindow main;
  ASSERT_TRUE(main.Open({100, 100, 400, 400}));
  TestWindow outer;
  ASSERT_TRUE(outer.Open({120, 120, 300, 300}, WS_POPUP, 0, &main.window));
  TestWindow inner;
  ASSERT_TRUE(inner.Open({140, 140, 200, 200}, WS_POPUP, 0, &outer.window));
  int innerResult = 0;
  bool mainDisabledInside = false;
  outer.handler.onMessage = [&](Window& w, const Message& m, intptr_t&) {
    if (m.message != WM_TIMER) return false;
    w.KillTimer(1);
    inner.window.SetTimer(2, 10);
    innerResult = inner.window.RunModal(SW_SHOW);
    w.PostMessage(WM_CLOSE, IDOK, 0);
    return true;
  };
  inner.handler.onMessage = [&](Window& w, const Message& m, intptr_t&) {
    if (m.message != WM_TIMER) return false;
    w.KillTimer(2);
    mainDisabledInside = !main.window.IsEnabled() && !outer.window.IsEnabled();
    w.PostMessage(WM_CLOSE, IDNO, 0);
    return true;
  };
  outer.window.SetTimer(1, 10);
  EXPECT_EQ(outer.window.RunModal(SW_SHOW), IDOK);
  EXPECT_EQ(innerResult, IDNO);
  EXPECT_TRUE(mainDisabledInside);
  EXPECT_TRUE(main.window.IsEnabled());
  EXPECT_FALSE(outer.window.Exists());
  EXPECT_FALSE(inner.window.Exists());
}

TEST_F(WindowTest, CloseEveryWindowWithATitle) {
  TestWindow a, b, other;
  ASSERT_TRUE(a.Open({0, 0, 40, 40}, WS_POPUP, 0, nullptr, L"Kestrel wait"));
  ASSERT_TRUE(b.Open({50, 0, 90, 40}, WS_POPUP, 0, nullptr, L"Kestrel wait"));
  ASSERT_TRUE(other.Open({100, 0, 140, 40}, WS_POPUP, 0, nullptr, L"Kestrel main"));
  EXPECT_EQ(FindWindowsByTitle(L"Kestrel wait").size(), 2u);
  EXPECT_EQ(CloseWindowsByTitle(L"Kestrel wait"), 2);
  ASSERT_TRUE(PumpUntil([&] { return !a.window.Exists() && !b.window.Exists(); }));
  EXPECT_TRUE(other.window.Exists());
  EXPECT_TRUE(FindWindowsByTitle(L"Kestrel wait").empty());
}

TEST_F(WindowTest, DragByTheBackgroundMovesTheWindow) {
  TestWindow t;
  ASSERT_TRUE(t.Open({400, 400, 500, 480}));
  t.handler.onMessage = [&](Window& w, const Message& m, intptr_t&) {
    if (m.message == WM_LBUTTONDOWN) {
      w.StartWindowDrag(w.ClientToScreen({LowWord(m.lParam), HighWord(m.lParam)}));
    }
    return false;
  };
  SynthesizeMouseMove(420, 420);
  SynthesizeButton(1, true);
  ASSERT_TRUE(PumpUntil([&] { return t.handler.Count(WM_LBUTTONDOWN) == 1; }));
  SynthesizeMouseMove(440, 430);
  SynthesizeMouseMove(460, 445);
  PumpFor(50);
  SynthesizeButton(1, false);
  ASSERT_TRUE(PumpUntil([&] { return t.window.GetWindowRect().left == 440; }));
  EXPECT_EQ(t.window.GetWindowRect().top, 425);
  EXPECT_EQ(t.handler.Count(WM_MOVE) > 0, true);
}

TEST_F(WindowTest, CaptureKeepsTheMouseOutsideTheWindow) {
  TestWindow t;
  ASSERT_TRUE(t.Open({600, 600, 700, 700}));
  t.handler.onMessage = [&](Window& w, const Message& m, intptr_t&) {
    if (m.message == WM_LBUTTONDOWN) w.SetCapture();
    if (m.message == WM_LBUTTONUP) w.ReleaseCapture();
    return false;
  };
  SynthesizeMouseMove(650, 650);
  SynthesizeButton(1, true);
  ASSERT_TRUE(PumpUntil([&] { return t.window.HasCapture(); }));
  t.handler.messages.clear();
  SynthesizeMouseMove(800, 590);
  ASSERT_TRUE(PumpUntil([&] { return t.handler.Count(WM_MOUSEMOVE) > 0; }));
  const Message* move = t.handler.Last(WM_MOUSEMOVE);
  EXPECT_EQ(LowWord(move->lParam), 200);
  EXPECT_EQ(HighWord(move->lParam), -10);
  SynthesizeButton(1, false);
  ASSERT_TRUE(PumpUntil([&] { return !t.window.HasCapture(); }));
  EXPECT_TRUE(t.window.SetCursor(L"hand"));
  EXPECT_FALSE(t.window.SetCursor(L"no such cursor"));
}

TEST_F(WindowTest, HoverAfterRestingAndLeaveOnExit) {
  TestWindow t;
  ASSERT_TRUE(t.Open({700, 100, 800, 200}));
  SynthesizeMouseMove(720, 120);
  ASSERT_TRUE(PumpUntil([&] { return t.handler.Count(WM_MOUSEMOVE) > 0; }));
  t.window.TrackMouse();
  SynthesizeMouseMove(730, 125);
  ASSERT_TRUE(PumpUntil([&] { return t.handler.Count(WM_MOUSEHOVER) == 1; }));
  EXPECT_EQ(LowWord(t.handler.Last(WM_MOUSEHOVER)->lParam), 30);
  SynthesizeMouseMove(900, 300);
  ASSERT_TRUE(PumpUntil([&] { return t.handler.Count(WM_MOUSELEAVE) == 1; }));
  PumpFor(450);
  EXPECT_EQ(t.handler.Count(WM_MOUSEHOVER), 1u);  // once per TrackMouse
}

TEST_F(WindowTest, CentredOnTheWorkAreaAndOnTheOwner) {
  TestWindow t;
  ASSERT_TRUE(t.Open({0, 0, 200, 100}));
  const Rect work = GetWorkArea();
  t.window.CenterWindow(nullptr);
  ASSERT_TRUE(PumpUntil([&] { return t.window.GetWindowRect().left != 0; }));
  EXPECT_EQ(t.window.GetWindowRect().left, work.left + (work.Width() - 200) / 2);
  EXPECT_EQ(t.window.GetWindowRect().top, work.top + (work.Height() - 100) / 2);

  TestWindow child;
  ASSERT_TRUE(child.Open({0, 0, 100, 50}, WS_POPUP | WS_VISIBLE, 0, &t.window));
  child.window.CenterWindow(nullptr);
  const Rect o = t.window.GetWindowRect();
  EXPECT_EQ(child.window.GetWindowRect().left, o.left + 50);
  EXPECT_EQ(child.window.GetWindowRect().top, o.top + 25);

  // Centred on a window at the screen's corner it stays inside the work area.
  t.window.Move({work.right - 60, work.bottom - 30, work.right + 140, work.bottom + 70});
  ASSERT_TRUE(PumpUntil([&] { return t.window.GetWindowRect().left == work.right - 60; }));
  child.window.CenterWindow(&t.window);
  EXPECT_EQ(child.window.GetWindowRect().right, work.right);
  EXPECT_EQ(child.window.GetWindowRect().bottom, work.bottom);
}

TEST_F(WindowTest, PresentedPixelsAreWhatTheServerShows) {
  for (bool layered : {false, true}) {
    TestWindow t;
    ASSERT_TRUE(t.Open({50, 500, 114, 532}, WS_POPUP | WS_VISIBLE, layered ? WS_EX_LAYERED : 0));
    EXPECT_EQ(t.window.IsLayered(), layered);  // Xvfb offers a 32-bit visual
    std::vector<uint32_t> pixels(64 * 32, 0xFF336699);
    for (int x = 0; x < 32; ++x) pixels[x] = 0x80400000;  // premultiplied half-transparent red
    t.window.Present(reinterpret_cast<const uint8_t*>(pixels.data()), 64 * 4, 64, 32, {0, 0, 64, 32});
    std::vector<uint32_t> shown;
    int w = 0, h = 0;
    ASSERT_TRUE(t.window.CaptureContents(shown, w, h));
    ASSERT_EQ(w, 64);
    ASSERT_EQ(h, 32);
    EXPECT_EQ(shown[10 * 64 + 10], 0xFF336699u);
    EXPECT_EQ(shown[5], layered ? 0x80400000u : 0xFF400000u);
  }
}
