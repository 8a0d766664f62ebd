// A toolkit dialog of 300 controls (250 cached areas and 50 buttons that
// re-render their cached image when the hover moves onto or off them), in
// a real window: the pointer moves across the 50 buttons one by one.
// Prints milliseconds per hover repaint (the two buttons' rectangles) and
// per full repaint, with and without re-rendering every cache, against the
// budget of one 60 Hz frame.
// Without $DISPLAY the benchmark starts its own Xvfb and stops it after.
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "PrivateXServer.h"
#include "platform/UiLoop.h"
#include "toolkit/core/CArea.h"
#include "toolkit/core/MControlFont.h"
#include "toolkit/core/MDialog.h"
#include "toolkit/core/MRender.h"

namespace {

constexpr int kWidth = 1280;
constexpr int kHeight = 720;
constexpr int kAreas = 250;
constexpr int kButtons = 50;
constexpr double kFrameBudgetMs = 1000.0 / 60.0;

// A button as the controls draw one: a cached rounded picture with its
// title, re-rendered when the hover state changes.
class BenchButton : public MControlFont {
 public:
  BenchButton(MObject* parent, unsigned id, CRect rect, const wchar_t* title)
      : MControlFont(parent, id, rect, title, 1, 1, 1) {}

  void DrawControl(Canvas& dc, CRect clip) override {
    (void)clip;
    const int w = m_rect.Width(), h = m_rect.Height();
    if (!GetUpdate() || !m_cache) {
      Canvas& cache = UpdateMemDC(dc, w, h);
      cache.Clear(0);
      MRender::DrawRoundRectange(cache, 0.f, 0.f, static_cast<float>(w), static_cast<float>(h), 6.f,
                                 m_hot ? 0xE04080C0 : 0xC0203040);
      cache.DrawText(m_title, CRect(0, 0, w, h), GetDrawFont(), GetDrawFormat(), 0xFFFFFFFF);
      ++renders;
    }
    dc.DrawCanvas(*m_cache, m_rect.left, m_rect.top, w, h, 0, 0, w, h);
  }
  int OnControlMouseMove(unsigned, CPoint point) override {
    const bool hot = m_rect.PtInRect(point);
    if (hot != m_hot) {
      m_hot = hot;
      UpdateControl(1);
    }
    return hot ? 1 : 0;
  }

  bool m_hot = false;
  int renders = 0;
};

class BenchDialog : public MDialog {
 public:
  void InitUI(CRect) override {
    for (int i = 0; i < kAreas; ++i) {
      const int x = (i % 25) * 50 + 10, y = (i / 25) * 40 + 10;
      if (auto* area = static_cast<CArea*>(CreateArea(L"CArea", 1000 + i, CRect(x, y, x + 46, y + 36), L"", 1, 1))) {
        area->SetTransparent(10, 60, RGB(60 + i % 100, 90, 140));
      }
    }
    for (int i = 0; i < kButtons; ++i) {
      const int x = (i % 10) * 120 + 20, y = 440 + (i / 10) * 50;
      auto* button = new BenchButton(this, 2000 + i, CRect(x, y, x + 110, y + 40), (L"Button " + std::to_wstring(i)).c_str());
      button->SetManager(&GetPaintManager());
      GetPaintManager().AddControl(button, 1);
      buttons.push_back(button);
    }
  }
  std::vector<BenchButton*> buttons;
};

template <typename F>
double MillisecondsPerRun(int runs, F&& body) {
  body();
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < runs; ++i) body();
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count() / runs;
}

void Report(const char* what, double ms) {
  std::printf("%-52s %8.3f ms   %.1f%% of a 60 Hz frame (%.2f ms)\n", what, ms, 100.0 * ms / kFrameBudgetMs,
              kFrameBudgetMs);
}

}  // namespace

int main() {
  PrivateXServer server;
  if (!platform::OpenDisplay() && !server.Start()) {
    std::fprintf(stderr, "bench_toolkit_dialog: no X display and no Xvfb\n");
    return 1;
  }
  BenchDialog dialog;
  if (!dialog.Create(0, L"bench dialog", platform::WS_POPUP | platform::WS_VISIBLE, 0, CRect(0, 0, kWidth, kHeight))) {
    std::fprintf(stderr, "bench_toolkit_dialog: the window could not be created\n");
    return 1;
  }
  PaintManager& pm = dialog.GetPaintManager();
  for (int i = 0; i < 20; ++i) platform::PumpMessages(10);
  const CRect client(0, 0, kWidth, kHeight);
  std::printf("toolkit dialog: %d x %d, %d areas + %d buttons\n", kWidth, kHeight, kAreas, kButtons);

  // Hover: the pointer moves to the next button; the old and the new one
  // re-render and their rectangles (and what lies above them) are painted.
  int index = 0;
  int rendersBefore = 0;
  for (BenchButton* b : dialog.buttons) rendersBefore += b->renders;
  const double hover = MillisecondsPerRun(500, [&] {
    BenchButton* from = dialog.buttons[static_cast<size_t>(index)];
    index = (index + 1) % kButtons;
    BenchButton* to = dialog.buttons[static_cast<size_t>(index)];
    const CRect r = to->GetRect();
    const CPoint p((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    platform::SendMessage(dialog.GetSafeHwnd(), platform::WM_MOUSEMOVE, 0, platform::MakeLParam(p.x, p.y));
    CRect dirty;
    dirty.UnionRect(from->GetRect(), r);
    pm.OnPaint(dirty);
  });
  int rendersAfter = 0;
  for (BenchButton* b : dialog.buttons) rendersAfter += b->renders;
  const double rendersPerHover = (rendersAfter - rendersBefore) / 501.0;
  const double fromCaches = MillisecondsPerRun(50, [&] { pm.OnPaint(client); });
  const double rerender = MillisecondsPerRun(20, [&] {
    for (MControl* c : pm.GetAreaControls()) c->SetUpdate(0, 0);
    for (MControl* c : pm.GetControls()) c->SetUpdate(0, 0);
    pm.OnPaint(client);
  });
  Report("hover repaint (two buttons, move + paint + present)", hover);
  std::printf("  button images re-rendered per hover step: %.2f (expected 2)\n", rendersPerHover);
  Report("full repaint from the caches", fromCaches);
  Report("full repaint, every cache re-rendered", rerender);
  std::printf("ratio full (cached) / hover: %.1f\n", fromCaches / hover);
  dialog.DestroyWindow();
  return 0;
}
