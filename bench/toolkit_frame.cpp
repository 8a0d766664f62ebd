// Frame composition and presentation of the toolkit: a full 1280 x 720
// frame (background picture + 200 cached control images) and a 40 x 40
// dirty rectangle, composed on a Canvas and shown in a real window.
// Goals on this machine: <= 4 ms per full frame, <= 0.5 ms per small one.
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
#include "platform/Window.h"
#include "toolkit/core/MRender.h"

namespace {

constexpr int kWidth = 1280;
constexpr int kHeight = 720;
constexpr int kControls = 200;
constexpr double kFullGoalMs = 4.0;
constexpr double kSmallGoalMs = 0.5;

struct CachedControl {
  Canvas image;
  CRect rect;
};

template <typename F>
double MillisecondsPerRun(int runs, F&& body) {
  body();  // warm-up
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < runs; ++i) body();
  const auto elapsed = std::chrono::steady_clock::now() - start;
  return std::chrono::duration<double, std::milli>(elapsed).count() / runs;
}

void Compose(Canvas& frame, const Image& background, const std::vector<CachedControl>& controls, const CRect& clip) {
  frame.PushClip(clip);
  // The background is opaque: copied, not blended.
  MRender::BitBlt(frame, clip.left, clip.top, clip.Width(), clip.Height(), background.GetFrame(), clip.left, clip.top);
  for (const CachedControl& c : controls) {
    CRect overlap;
    if (!overlap.IntersectRect(c.rect, clip)) continue;
    frame.DrawCanvas(c.image, c.rect.left, c.rect.top, c.rect.Width(), c.rect.Height(), 0, 0, c.rect.Width(),
                     c.rect.Height());
  }
  frame.PopClip();
}

void Report(const char* what, double ms, double goal) {
  std::printf("%-44s %8.3f ms/frame   goal %.1f ms   ratio %.2f (%s)\n", what, ms, goal, ms / goal,
              ms <= goal ? "within goal" : "over goal");
}

}  // namespace

int main() {
  // The background: a gradient picture of the frame's size.
  Canvas backgroundPixels(kWidth, kHeight);
  MRender::DrawGradient(backgroundPixels, CRect(0, 0, kWidth, kHeight), 0xFF101828, 0xFF304060, true, 64);
  const auto background = Image::FromCanvas(std::move(backgroundPixels));

  // 200 cached control images (semi-transparent rounded buttons with text),
  // spread over the frame as the pages place their controls.
  std::vector<CachedControl> controls;
  for (int i = 0; i < kControls; ++i) {
    Canvas image(96, 32);
    MRender::DrawRoundRectange(image, 0.f, 0.f, 96.f, 32.f, 6.f, 0xC0203040 + static_cast<ARGB>(i));
    image.DrawText(L"Button " + std::to_wstring(i), CRect(0, 0, 96, 32), TextFont{L"", 12, 0},
                   TextFormat{TextAlign::Center, TextAlign::Center}, 0xFFFFFFFF);
    const int x = (i % 12) * 104 + 8, y = (i / 12) * 42 + 8;
    controls.push_back({std::move(image), CRect(x, y, x + 96, y + 32)});
  }

  Canvas frame(kWidth, kHeight);
  const CRect full(0, 0, kWidth, kHeight);
  const CRect small(600, 340, 640, 380);
  std::printf("toolkit frame: %d x %d, background + %d cached control images\n", kWidth, kHeight, kControls);
  const double composeFull = MillisecondsPerRun(100, [&] { Compose(frame, *background, controls, full); });
  const double composeSmall = MillisecondsPerRun(2000, [&] { Compose(frame, *background, controls, small); });
  Report("compose full frame", composeFull, kFullGoalMs);
  Report("compose 40 x 40 dirty rectangle", composeSmall, kSmallGoalMs);

  PrivateXServer server;
  if (!platform::OpenDisplay() && !server.Start()) {
    std::printf("no X display and no Xvfb: presentation not measured\n");
    return 0;
  }
  platform::Window window;
  platform::WindowCreateParams params;
  params.title = L"Kestrel frame benchmark";
  params.style = platform::WS_POPUP | platform::WS_VISIBLE;
  params.rect = {0, 0, kWidth, kHeight};
  if (!window.Create(params)) {
    std::printf("the window could not be created: presentation not measured\n");
    return 0;
  }
  platform::PumpMessages(100);
  auto present = [&](const CRect& r) {
    Compose(frame, *background, controls, r);
    window.Present(frame.Bits(), frame.Stride(), kWidth, kHeight, {r.left, r.top, r.right, r.bottom});
    // A round trip: the server has taken the pixels when it answers.
    platform::GetCursorPos();
  };
  // Each run waits for the server to have taken the pixels, so the figure
  // is the whole cost of showing a frame.
  const double fullMs = MillisecondsPerRun(50, [&] { present(full); });
  const double smallMs = MillisecondsPerRun(1000, [&] { present(small); });
  const double presentOnly = MillisecondsPerRun(50, [&] {
    window.Present(frame.Bits(), frame.Stride(), kWidth, kHeight, {0, 0, kWidth, kHeight});
    platform::GetCursorPos();
  });
  std::printf("%-44s %8.3f ms/frame\n", "present only, full frame", presentOnly);
  Report("compose + present full frame", fullMs, kFullGoalMs);
  Report("compose + present 40 x 40 dirty rectangle", smallMs, kSmallGoalMs);
  std::printf("full / small: %.1f x\n", fullMs / smallMs);
  return 0;
}
