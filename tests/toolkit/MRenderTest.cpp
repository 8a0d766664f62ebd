// Pixel tests of the drawing helpers on off-screen canvases.
#include "toolkit/core/MRender.h"

#include "platform/TextConvert.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

uint8_t Red(ARGB c) { return (c >> 16) & 0xFF; }
uint8_t Green(ARGB c) { return (c >> 8) & 0xFF; }
uint8_t Blue(ARGB c) { return c & 0xFF; }
uint8_t Alpha(ARGB c) { return c >> 24; }

bool Near(ARGB a, ARGB b, int tolerance = 1) {
  for (int shift = 0; shift < 32; shift += 8) {
    if (std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)) > tolerance) return false;
  }
  return true;
}

Canvas Filled(int w, int h, ARGB colour) {
  Canvas c(w, h);
  c.Clear(colour);
  return c;
}

std::string TempPath(const std::string& name) {
  return ::testing::TempDir() + "/" + name;
}

}  // namespace

TEST(MRenderTransition, VerticalRampFromOpaqueToNearlyNothing) {
  Canvas src = Filled(10, 100, 0xFFFFFFFF);
  Canvas dst = Filled(10, 100, 0xFF000000);
  const int last = MRender::DrawVerticalTransition(dst, src, CRect(0, 0, 10, 100), CRect(0, 0, 10, 100), 0, 100);
  // White over black with alpha a gives grey a: the row's grey is its alpha.
  EXPECT_EQ(Red(dst.GetPixel(5, 0)), 255);
  EXPECT_LE(Red(dst.GetPixel(5, 99)), 3);
  EXPECT_EQ(last, 2);  // int(255 - 99 * 2.55)
  for (int y = 1; y < 100; ++y) {
    EXPECT_LE(Red(dst.GetPixel(5, y)), Red(dst.GetPixel(5, y - 1))) << "row " << y;
    const int expected = static_cast<int>(255 - y * 2.55);
    EXPECT_NEAR(Red(dst.GetPixel(3, y)), expected, 1) << "row " << y;
  }
}

TEST(MRenderTransition, ZeroZeroIsAPlainCopyAndLeavesTheRestAlone) {
  Canvas src(8, 8);
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 8; ++x) src.ClearRect(CRect(x, y, x + 1, y + 1), 0x80000000u | (x * 30) << 16 | (y * 30));
  }
  Canvas dst = Filled(12, 12, 0xFF204060);
  const int last = MRender::DrawVerticalTransition(dst, src, CRect(2, 3, 10, 11), CRect(0, 0, 8, 8), 0, 0);
  EXPECT_EQ(last, 255);
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 8; ++x) ASSERT_EQ(dst.GetPixel(x + 2, y + 3), src.GetPixel(x, y)) << x << "," << y;
  }
  EXPECT_EQ(dst.GetPixel(1, 3), 0xFF204060u);
  EXPECT_EQ(dst.GetPixel(2, 2), 0xFF204060u);
  EXPECT_EQ(dst.GetPixel(10, 11), 0xFF204060u);
}

TEST(MRenderTransition, HorizontalFromTransparentLeftToOpaqueRight) {
  Canvas src = Filled(50, 4, 0xFFFFFFFF);
  Canvas dst = Filled(50, 4, 0xFF000000);
  // a > b: the first column uses alpha int(f) = 0, later columns more.
  MRender::DrawHorizontalTransition(dst, src, CRect(0, 0, 50, 4), CRect(0, 0, 50, 4), 100, 0);
  EXPECT_EQ(Red(dst.GetPixel(0, 1)), 0);
  EXPECT_GE(Red(dst.GetPixel(49, 1)), 245);
  for (int x = 1; x < 50; ++x) EXPECT_GE(Red(dst.GetPixel(x, 2)), Red(dst.GetPixel(x - 1, 2)));
}

TEST(MRenderTransition, EmptyRectangleDrawsNothing) {
  Canvas src = Filled(4, 4, 0xFFFFFFFF);
  Canvas dst = Filled(4, 4, 0xFF000000);
  EXPECT_EQ(MRender::DrawVerticalTransition(dst, src, CRect(0, 0, 4, 0), CRect(0, 0, 4, 4), 0, 100), 0);
  EXPECT_EQ(MRender::DrawHorizontalTransition(dst, src, CRect(0, 0, 0, 4), CRect(0, 0, 4, 4), 0, 100), 0);
  EXPECT_EQ(dst.GetPixel(0, 0), 0xFF000000u);
}

namespace {
// 24 x 24: 8 x 8 corners in four colours, grey edges, a white centre.
std::unique_ptr<Image> NineGridSource() {
  Canvas c = Filled(24, 24, 0xFF808080);
  c.ClearRect(CRect(0, 0, 8, 8), 0xFFFF0000);
  c.ClearRect(CRect(16, 0, 24, 8), 0xFF00FF00);
  c.ClearRect(CRect(0, 16, 8, 24), 0xFF0000FF);
  c.ClearRect(CRect(16, 16, 24, 24), 0xFFFFFF00);
  c.ClearRect(CRect(8, 8, 16, 16), 0xFFFFFFFF);
  return Image::FromCanvas(std::move(c));
}
}  // namespace

TEST(MRenderImageFrame, NineGridKeepsCornersAndStretchesTheRest) {
  auto image = NineGridSource();
  struct Case {
    int margin;
    CPoint point;
    ARGB expected;
  };
  const Case cases[] = {
      // Margin 8: corners stay 8 x 8 at the destination's corners.
      {8, {0, 0}, 0xFFFF0000}, {8, {7, 7}, 0xFFFF0000}, {8, {99, 0}, 0xFF00FF00}, {8, {92, 7}, 0xFF00FF00},
      {8, {0, 59}, 0xFF0000FF}, {8, {99, 59}, 0xFFFFFF00}, {8, {50, 3}, 0xFF808080}, {8, {3, 30}, 0xFF808080},
      {8, {50, 30}, 0xFFFFFFFF}, {8, {12, 12}, 0xFFFFFFFF},
      // Margin 0: the whole source is stretched, so the corners grow with it.
      {0, {0, 0}, 0xFFFF0000}, {0, {20, 10}, 0xFFFF0000}, {0, {99, 59}, 0xFFFFFF00}, {0, {50, 30}, 0xFFFFFFFF},
      {0, {50, 5}, 0xFF808080}};
  for (const Case& c : cases) {
    Canvas dst = Filled(100, 60, 0xFF000000);
    MRender::DrawImageFrame(dst, image.get(), CRect(0, 0, 100, 60), 0, 0, 24, 24, c.margin);
    EXPECT_TRUE(Near(dst.GetPixel(c.point.x, c.point.y), c.expected, 2))
        << "margin " << c.margin << " at " << c.point.x << "," << c.point.y << ": " << std::hex
        << dst.GetPixel(c.point.x, c.point.y);
  }
}

TEST(MRenderImageFrame, FourMarginsAndASourceSlice) {
  // The second state slice of a two-state strip: the frame draws only it.
  Canvas strip = Filled(48, 24, 0xFF000080);
  strip.ClearRect(CRect(24, 0, 48, 24), 0xFF00FF00);
  strip.ClearRect(CRect(24, 0, 28, 24), 0xFFFF0000);  // left margin of the slice
  auto image = Image::FromCanvas(std::move(strip));
  Canvas dst = Filled(60, 30, 0xFF000000);
  MRender::DrawImageFrameMID(dst, image.get(), CRect(10, 0, 60, 30), 24, 0, 24, 24, 4, 2, 2, 2);
  EXPECT_EQ(dst.GetPixel(10, 15), 0xFFFF0000u);
  EXPECT_EQ(dst.GetPixel(13, 15), 0xFFFF0000u);
  EXPECT_TRUE(Near(dst.GetPixel(30, 15), 0xFF00FF00, 2));
  EXPECT_EQ(dst.GetPixel(9, 15), 0xFF000000u);  // outside the destination
  MRender::DrawImageFrame(dst, nullptr, CRect(0, 0, 60, 30), 0, 0, 24, 24, 4);  // no picture: nothing
  EXPECT_EQ(dst.GetPixel(0, 0), 0xFF000000u);
}

TEST(MRenderColor, CheckAlphaColorOnlyLiftsPureBlack) {
  const std::pair<DWORD, DWORD> cases[] = {{0xFF000001, 0xFF000001}, {0x80000000, 0x80000001},
                                           {0x00000000, 0x00000001}, {0xFF000000, 0xFF000001},
                                           {0x00123456, 0x00123456}, {0xFF010000, 0xFF010000}};
  for (auto [in, expected] : cases) {
    DWORD colour = in;
    MRender::CheckAlphaColor(colour);
    EXPECT_EQ(colour, expected) << std::hex << in;
  }
}

TEST(MRenderColor, SolidFillReplacesAndDrawColorBlends) {
  Canvas c = Filled(10, 10, 0x40404040);
  const RECT r(0, 0, 5, 10);
  MRender::FillSolidRect(c, &r, RGB(0x10, 0x20, 0x30));
  EXPECT_EQ(c.GetPixel(2, 2), 0xFF102030u);
  EXPECT_TRUE(Near(c.GetColor(7, 2), 0x40404040u, 2));
  const ARGB before = c.GetPixel(7, 2);
  MRender::DrawColor(c, CRect(5, 0, 10, 10), 0x00FF0000);  // alpha 0: nothing
  EXPECT_EQ(c.GetPixel(7, 2), before);
  MRender::FillSolidRect(c, 5, 0, 5, 10, RGB(0, 0, 0));
  MRender::DrawColor(c, CRect(5, 0, 10, 10), 0x80FFFFFF);
  EXPECT_TRUE(Near(c.GetPixel(7, 2), 0xFF808080, 1)) << std::hex << c.GetPixel(7, 2);
}

TEST(MRenderRoundRect, RadiusFormCutsTheCorners) {
  Canvas c(40, 40);
  MRender::DrawRoundRectange(c, 0, 0, 40, 40, 10.0f, 0xFFFF0000);
  EXPECT_EQ(Alpha(c.GetPixel(0, 0)), 0);
  EXPECT_EQ(Alpha(c.GetPixel(1, 1)), 0);
  EXPECT_EQ(Alpha(c.GetPixel(39, 39)), 0);
  EXPECT_EQ(c.GetPixel(20, 0), 0xFFFF0000u);
  EXPECT_EQ(c.GetPixel(0, 20), 0xFFFF0000u);
  EXPECT_EQ(c.GetPixel(20, 20), 0xFFFF0000u);
  EXPECT_EQ(c.GetPixel(5, 5), 0xFFFF0000u);  // inside the corner arc (distance 7 from its centre)
}

TEST(MRenderRoundRect, DivisorFormEvensOutRadiiThatDifferByMoreThanTen) {
  // 200 x 40 with divisor 2: rx 50 and ry 10 differ by 40, so both become 10
  // and a point near the corner is inside the shape.
  Canvas c(200, 40);
  MRender::DrawRoundRectange(c, 0, 0, 200, 40, 2.0f, 0xFFFF0000, 1.0f, true, 0xFF0000FF);
  EXPECT_EQ(c.GetPixel(5, 4), 0xFF0000FFu);  // outside an ellipse of radii 50 x 10
  EXPECT_EQ(Alpha(c.GetPixel(0, 0)), 0);
  EXPECT_EQ(c.GetPixel(100, 20), 0xFF0000FFu);
  // The 1-pixel pen is centred on the outline: the edge pixels are red.
  const ARGB edge = c.GetPixel(100, 0);
  EXPECT_GT(Red(edge), Blue(edge)) << std::hex << edge;

  // 100 x 40 with divisor 4: rx 12.5, ry 5 stay elliptical, so a point
  // inside a circle of radius 5 is outside the corner.
  Canvas e(100, 40);
  MRender::DrawRoundRectange(e, 0, 0, 100, 40, 4.0f, 0x00000000, 1.0f, true, 0xFF0000FF);  // no visible pen
  EXPECT_EQ(Alpha(e.GetPixel(0, 0)), 0);
  EXPECT_LT(Alpha(e.GetPixel(2, 1)), 128);
  EXPECT_EQ(e.GetPixel(14, 3), 0xFF0000FFu);
  EXPECT_EQ(e.GetPixel(50, 20), 0xFF0000FFu);
}

TEST(MRenderGradient, EndColoursAtTheEnds) {
  for (bool vertical : {false, true}) {
    Canvas c = Filled(100, 100, 0xFF000000);
    MRender::DrawGradient(c, CRect(0, 0, 100, 100), 0xFFFF0000, 0xFF0000FF, vertical, 100);
    const ARGB first = c.GetPixel(0, 0);
    const ARGB last = c.GetPixel(99, 99);
    const ARGB middle = vertical ? c.GetPixel(10, 50) : c.GetPixel(50, 10);
    EXPECT_TRUE(Near(first, 0xFFFF0000, 1)) << std::hex << first;
    EXPECT_TRUE(Near(last, 0xFF0000FF, 1)) << std::hex << last;
    EXPECT_NEAR(Red(middle), 128, 4);
    EXPECT_NEAR(Blue(middle), 128, 4);
    EXPECT_EQ(Green(middle), 0);
    // Along the other axis nothing changes.
    EXPECT_EQ(vertical ? c.GetPixel(0, 30) : c.GetPixel(30, 0), vertical ? c.GetPixel(99, 30) : c.GetPixel(30, 99));
  }
}

TEST(MRenderGradient, AverageAlphaZeroDrawsNothingAndTranslucentBlends) {
  Canvas c = Filled(10, 10, 0xFF000000);
  MRender::DrawGradient(c, CRect(0, 0, 10, 10), 0x00FFFFFF, 0x01FFFFFF, false, 10);
  EXPECT_EQ(c.GetPixel(9, 5), 0xFF000000u);
  MRender::DrawGradient(c, CRect(0, 0, 10, 10), 0x80FFFFFF, 0x80FFFFFF, false, 10);
  EXPECT_TRUE(Near(c.GetPixel(5, 5), 0xFF808080, 1)) << std::hex << c.GetPixel(5, 5);
}

TEST(MRenderGradient, BandsFollowTheStepCount) {
  struct Case {
    int steps;
    int bands;
  };
  for (const Case& k : {Case{3, 2}, Case{4, 4}, Case{15, 8}, Case{16, 16}, Case{63, 32}, Case{200, 64}}) {
    Canvas c(128, 4);
    MRender::DrawGradientBands(c, CRect(0, 0, 128, 4), 0xFF000000, 0xFFFF0000, false, k.steps);
    const int width = 128 / k.bands;
    EXPECT_EQ(c.GetPixel(0, 0), 0xFF000000u) << k.steps;
    EXPECT_EQ(c.GetPixel(127, 0), 0xFFFF0000u) << k.steps;
    // Solid bands: every band is one colour, neighbours differ.
    EXPECT_EQ(c.GetPixel(width - 1, 0), c.GetPixel(0, 0)) << k.steps;
    EXPECT_NE(c.GetPixel(width, 0), c.GetPixel(width - 1, 0)) << k.steps;
  }
}

TEST(MRenderBitmap, CreateARGB32BitmapGivesTransparentPixels) {
  uint8_t* bits = reinterpret_cast<uint8_t*>(1);
  EXPECT_EQ(MRender::CreateARGB32Bitmap(0, 10, &bits), nullptr);
  EXPECT_EQ(bits, nullptr);
  auto bitmap = MRender::CreateARGB32Bitmap(16, 8, &bits);
  ASSERT_NE(bitmap, nullptr);
  ASSERT_NE(bits, nullptr);
  EXPECT_EQ(bitmap->Width(), 16);
  EXPECT_EQ(bitmap->Height(), 8);
  EXPECT_EQ(bitmap->GetPixel(15, 7), 0u);
}

TEST(MRenderBitmap, SaveBitmapToFileWritesA24BitBottomUpBmp) {
  Canvas c = Filled(3, 2, 0xFF000000);
  c.ClearRect(CRect(0, 0, 3, 1), 0xFF112233);  // top row
  c.ClearRect(CRect(2, 1, 3, 2), 0xFFAABBCC);
  const std::string path = TempPath("save.bmp");
  ASSERT_EQ(MRender::SaveBitmapToFile(c, platform::FromUtf8(path)), 1);
  std::ifstream in(path, std::ios::binary);
  std::vector<uint8_t> file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  // Rows of 3 pixels take 9 bytes, padded to 12.
  ASSERT_EQ(file.size(), 54u + 24u);
  EXPECT_EQ(file[0], 'B');
  EXPECT_EQ(file[1], 'M');
  EXPECT_EQ(file[2], 78);
  EXPECT_EQ(file[10], 54);
  EXPECT_EQ(file[14], 40);
  EXPECT_EQ(file[18], 3);
  EXPECT_EQ(file[22], 2);
  EXPECT_EQ(file[26], 1);
  EXPECT_EQ(file[28], 24);
  // The first row in the file is the bottom one: black, black, AABBCC.
  EXPECT_EQ(file[54 + 6], 0xCC);
  EXPECT_EQ(file[54 + 7], 0xBB);
  EXPECT_EQ(file[54 + 8], 0xAA);
  EXPECT_EQ(file[54 + 12], 0x33);
  // Our own decoder reads it back.
  auto back = MRender::LoadImageFromFile(platform::FromUtf8(path));
  ASSERT_NE(back, nullptr);
  EXPECT_EQ(back->GetFrame().GetPixel(1, 0), 0xFF112233u);
  EXPECT_EQ(back->GetFrame().GetPixel(2, 1), 0xFFAABBCCu);
  std::remove(path.c_str());
  EXPECT_EQ(MRender::SaveBitmapToFile(c, L"/nonexistent-folder/x.bmp"), 0);
}
