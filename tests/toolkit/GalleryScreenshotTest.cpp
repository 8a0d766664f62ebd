// The gallery program draws every helper in a real window; its screenshot
// (read back from the X server) shows the expected colours at known points.
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "toolkit/core/Canvas.h"

extern char** environ;

namespace {

int RunGallery(const std::string& screenshot) {
  const std::string program = KESTREL_RUNTIME_DIR "/taviui-gallery";
  std::vector<char*> argv = {const_cast<char*>(program.c_str()), const_cast<char*>("--screenshot"),
                             const_cast<char*>(screenshot.c_str()), nullptr};
  pid_t pid = 0;
  if (posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv.data(), environ) != 0) return -1;
  int status = 0;
  if (waitpid(pid, &status, 0) != pid) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace

TEST(GalleryScreenshot, ShowsTheExpectedColours) {
  if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no X display (DISPLAY is not set): the gallery runs under Xvfb";
  const std::string path = ::testing::TempDir() + "/gallery.png";
  ASSERT_EQ(RunGallery(path), 0);
  std::ifstream in(path, std::ios::binary);
  const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const Canvas shot = Canvas::FromPng(bytes.data(), bytes.size());
  ASSERT_TRUE(shot.IsValid());
  ASSERT_EQ(shot.Width(), 640);
  ASSERT_EQ(shot.Height(), 400);
  struct Probe {
    int x, y;
    ARGB colour;
    const char* what;
  };
  const Probe probes[] = {
      {0, 0, 0xFF10A8FD, "border (COLORREF 0xFDA810)"},
      {5, 390, 0xFF090D13, "background (COLORREF 0x130D09)"},
      {40, 50, 0xFF20C040, "solid fill"},
      {123, 33, 0xFFFF0000, "nine-grid top-left corner"},
      {255, 110, 0xFFFFFF00, "nine-grid bottom-right corner"},
      {190, 72, 0xFFFFFFFF, "nine-grid centre"},
      {280, 40, 0xFFE03030, "gradient start"},
      {619, 40, 0xFF3060E0, "gradient end"},
      {335, 185, 0xFFE0A020, "rounded rectangle fill"},
      {25, 250, 0xFFFFFFFF, "vertical transition, first row (opaque)"},
  };
  for (const Probe& p : probes) {
    EXPECT_EQ(shot.GetPixel(p.x, p.y), p.colour) << p.what << std::hex << " got " << shot.GetPixel(p.x, p.y);
  }
  // The last row of the transition is almost only the background.
  const ARGB bottom = shot.GetPixel(25, 349);
  EXPECT_LT((bottom >> 16) & 0xFF, 0x20) << std::hex << bottom;
  std::remove(path.c_str());
}
