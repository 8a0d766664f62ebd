// The gallery's dialog, built through the factory, read back from the X
// server: areas, the scrolled panel and its bar at known points.
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tools/taviui-gallery/GalleryDialog.h"
#include "toolkit/core/Canvas.h"

extern char** environ;

namespace {

int RunGalleryDialog(const std::string& screenshot) {
  const std::string program = KESTREL_RUNTIME_DIR "/taviui-gallery";
  std::vector<char*> argv = {const_cast<char*>(program.c_str()), const_cast<char*>("--dialog"),
                             const_cast<char*>("--screenshot"), const_cast<char*>(screenshot.c_str()), nullptr};
  pid_t pid = 0;
  if (posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv.data(), environ) != 0) return -1;
  int status = 0;
  if (waitpid(pid, &status, 0) != pid) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool Near(ARGB a, ARGB b) {
  for (int shift = 0; shift < 24; shift += 8) {
    if (std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)) > 2) return false;
  }
  return true;
}

int Brightness(ARGB c) { return ((c >> 16) & 0xFF) + ((c >> 8) & 0xFF) + (c & 0xFF); }

TEST(GalleryDialogScreenshot, AreasPanelAndBarAtTheirPlaces) {
  if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no X display: the gallery runs under Xvfb";
  const std::string path = ::testing::TempDir() + "/gallery-dialog.png";
  ASSERT_EQ(RunGalleryDialog(path), 0);
  std::ifstream in(path, std::ios::binary);
  const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const Canvas shot = Canvas::FromPng(bytes.data(), bytes.size());
  ASSERT_TRUE(shot.IsValid());
  ASSERT_EQ(shot.Width(), gallery::kDialogWidth);
  ASSERT_EQ(shot.Height(), gallery::kDialogHeight);

  using gallery::kPanelRect;
  const int scroll = gallery::kPanelScroll;
  auto stripeAt = [&](int y) { return gallery::StripeColour((y + scroll - kPanelRect.top) / gallery::kStripeHeight); };
  struct Probe {
    int x, y;
    ARGB expected;
  };
  const Probe probes[] = {
      {gallery::kTitleArea.left, 30, gallery::kTitleFrame},  // the frame
      {gallery::kTitleArea.left + 30, 30, ArgbFromColorRef(gallery::kTitleFill)},
      // Scrolled by 60: the first stripe is out of sight.
      {kPanelRect.left + 20, kPanelRect.top + 5, ArgbFromColorRef(stripeAt(kPanelRect.top + 5))},
      {kPanelRect.left + 20, kPanelRect.bottom - 5, ArgbFromColorRef(stripeAt(kPanelRect.bottom - 5))},
      {5, 5, ArgbFromColorRef(0x130D09)},  // the dialog's back colour
  };
  for (const Probe& p : probes) {
    EXPECT_TRUE(Near(shot.GetColor(p.x, p.y), p.expected))
        << "at " << p.x << "," << p.y << std::hex << ": 0x" << shot.GetColor(p.x, p.y) << " not 0x" << p.expected;
  }
  EXPECT_NE(stripeAt(kPanelRect.top + 5), gallery::StripeColour(0));
  // The bar: a thin column at the panel's right edge unlike the stripes.
  const ARGB bar = shot.GetColor(kPanelRect.right - 4, kPanelRect.top + 120);
  EXPECT_FALSE(Near(bar, ArgbFromColorRef(stripeAt(kPanelRect.top + 120))));
  EXPECT_FALSE(Near(bar, ArgbFromColorRef(0x130D09)));
  // The fading area runs from light at the top to dark at the bottom.
  EXPECT_GT(Brightness(shot.GetColor(100, 75)), Brightness(shot.GetColor(100, 300)) + 200);
}

}  // namespace
