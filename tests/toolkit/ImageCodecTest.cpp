// Decoding pictures: GIF frames, icon entries, bitmaps, resources, bad input.
#include "toolkit/core/ImageCodec.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>

#include "platform/TextConvert.h"
#include "toolkit/core/MRender.h"

namespace {

std::vector<uint8_t> ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void Put16(std::vector<uint8_t>& v, uint16_t x) {
  v.push_back(x & 0xFF);
  v.push_back(x >> 8);
}
void Put32(std::vector<uint8_t>& v, uint32_t x) {
  for (int i = 0; i < 4; ++i) v.push_back((x >> (8 * i)) & 0xFF);
}

// An icon's BMP entry: info header with doubled height, BGR(A) rows bottom-up,
// then the 1-bit mask rows (1 = transparent).
std::vector<uint8_t> IconDib(int size, int bits, uint32_t bgra, bool maskTopLeft) {
  std::vector<uint8_t> v;
  Put32(v, 40);
  Put32(v, size);
  Put32(v, size * 2);
  Put16(v, 1);
  Put16(v, bits);
  for (int i = 0; i < 6; ++i) Put32(v, 0);
  const int stride = ((bits * size + 31) / 32) * 4;
  for (int y = 0; y < size; ++y) {
    std::vector<uint8_t> row(stride, 0);
    for (int x = 0; x < size; ++x) {
      for (int b = 0; b < bits / 8; ++b) row[x * (bits / 8) + b] = (bgra >> (8 * b)) & 0xFF;
    }
    v.insert(v.end(), row.begin(), row.end());
  }
  const int maskStride = ((size + 31) / 32) * 4;
  for (int y = 0; y < size; ++y) {
    std::vector<uint8_t> row(maskStride, 0);
    // Bottom-up: the last mask row is the top row of the picture.
    if (maskTopLeft && y == size - 1) row[0] = 0x80;
    v.insert(v.end(), row.begin(), row.end());
  }
  return v;
}

std::vector<uint8_t> IconFile(const std::vector<std::pair<int, std::vector<uint8_t>>>& entries, bool damageFirst) {
  std::vector<uint8_t> v;
  Put16(v, 0);
  Put16(v, 1);
  Put16(v, static_cast<uint16_t>(entries.size()));
  uint32_t at = 6 + 16 * static_cast<uint32_t>(entries.size());
  for (size_t i = 0; i < entries.size(); ++i) {
    const auto& [size, bytes] = entries[i];
    v.push_back(static_cast<uint8_t>(size == 256 ? 0 : size));
    v.push_back(static_cast<uint8_t>(size == 256 ? 0 : size));
    v.push_back(0);
    v.push_back(0);
    Put16(v, 1);
    Put16(v, 32);
    Put32(v, static_cast<uint32_t>(bytes.size()));
    Put32(v, (damageFirst && i == 0) ? 0x7FFFFFF0u : at);
    at += static_cast<uint32_t>(bytes.size());
  }
  for (const auto& entry : entries) v.insert(v.end(), entry.second.begin(), entry.second.end());
  return v;
}

std::vector<uint8_t> PngBytes(int size, ARGB colour) {
  Canvas c(size, size);
  c.Clear(colour);
  const std::string path = ::testing::TempDir() + "/entry.png";
  EXPECT_TRUE(c.SavePng(path));
  auto bytes = ReadAll(path);
  std::remove(path.c_str());
  return bytes;
}

}  // namespace

TEST(ImageCodec, GifKeepsEveryFrameWithItsDelay) {
  auto image = MRender::LoadImageFromFile(platform::FromUtf8(KESTREL_SOURCE_DIR "/tests/toolkit/data/anim.gif"));
  ASSERT_NE(image, nullptr);
  ASSERT_EQ(image->GetFrameCount(), 2u);
  EXPECT_EQ(image->GetWidth(), 4);
  EXPECT_EQ(image->GetFrame(0).GetPixel(1, 1), 0xFFFF0000u);
  EXPECT_EQ(image->GetFrame(1).GetPixel(1, 1), 0xFF0000FFu);
  EXPECT_EQ(image->GetFrameDelay(0), 100);
  EXPECT_EQ(image->GetFrameDelay(1), 200);
}

TEST(ImageCodec, GifCutShortKeepsTheFramesBeforeTheCut) {
  const auto gif = ReadAll(KESTREL_SOURCE_DIR "/tests/toolkit/data/anim.gif");
  ASSERT_GT(gif.size(), 12u);
  auto image = ImageCodec::DecodeGif(gif.data(), gif.size() - 12);
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->GetFrameCount(), 1u);
  EXPECT_EQ(image->GetFrame(0).GetPixel(0, 0), 0xFFFF0000u);
}

TEST(ImageCodec, IconPicksTheLargestEntryAndHonoursItsMask) {
  const auto small = IconDib(2, 32, 0xFF0000FF, false);  // bytes B, G, R, A: blue
  const auto large = IconDib(4, 24, 0x00FF00, true);      // green, top-left masked
  const auto icon = IconFile({{2, small}, {4, large}}, false);
  auto image = ImageCodec::DecodeIcon(icon.data(), icon.size());
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->GetWidth(), 4);
  EXPECT_EQ(image->GetFrame().GetPixel(0, 0), 0u);
  EXPECT_EQ(image->GetFrame().GetPixel(3, 3), 0xFF00FF00u);

  // A PNG entry of 256 pixels beats both.
  const auto withPng = IconFile({{2, small}, {4, large}, {256, PngBytes(256, 0xFF123456)}}, false);
  image = ImageCodec::DecodeIcon(withPng.data(), withPng.size());
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->GetWidth(), 256);
  EXPECT_EQ(image->GetFrame().GetPixel(100, 100), 0xFF123456u);
}

TEST(ImageCodec, IconSkipsADamagedEntry) {
  const auto icon = IconFile({{4, IconDib(4, 32, 0xFF00FF00, false)}, {2, IconDib(2, 32, 0xFF0000FF, false)}}, true);
  auto image = ImageCodec::DecodeIcon(icon.data(), icon.size());
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->GetWidth(), 2);
  EXPECT_EQ(image->GetFrame().GetPixel(1, 1), 0xFF0000FFu);
}

TEST(ImageCodec, LoadIconFromFileReadsIconFilesOnly) {
  const auto icon = IconFile({{4, IconDib(4, 32, 0x80FFFFFF, false)}}, false);
  const std::string path = ::testing::TempDir() + "/app.ico";
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(icon.data()), icon.size());
  auto image = MRender::LoadIconFromFile(platform::FromUtf8(path));
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->GetFrame().GetColor(0, 0), 0x80FFFFFFu);
  std::remove(path.c_str());
  EXPECT_EQ(MRender::LoadIconFromFile(L"/bin/sh"), nullptr);
  EXPECT_EQ(MRender::LoadIconFromFile(L"/nonexistent.ico"), nullptr);
}

TEST(ImageCodec, GarbageAndTruncatedInputGiveNull) {
  const auto png = PngBytes(8, 0xFFFFFFFF);
  const auto gif = ReadAll(KESTREL_SOURCE_DIR "/tests/toolkit/data/anim.gif");
  const std::vector<std::vector<uint8_t>> inputs = {
      {},
      {0x00, 0x01, 0x02, 0x03, 0x04},
      std::vector<uint8_t>(png.begin(), png.begin() + png.size() / 2),
      std::vector<uint8_t>(gif.begin(), gif.begin() + 20),
      {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0xFF, 0, 0},
      {0, 0, 1, 0, 1, 0, 4, 4, 0, 0, 1, 0, 32, 0, 0xFF, 0xFF, 0, 0, 22, 0, 0, 0},
  };
  // Headers that claim pictures far larger than their bytes.
  std::vector<uint8_t> hugeGif = gif;
  hugeGif[6] = hugeGif[7] = hugeGif[8] = hugeGif[9] = 0xFF;
  std::vector<uint8_t> hugePng = png;
  hugePng[16] = hugePng[20] = 0x01;  // 16M x 16M
  for (const auto& input : {hugeGif, hugePng}) {
    EXPECT_EQ(ImageCodec::Decode(input.data(), input.size()), nullptr);
  }
  for (size_t i = 0; i < inputs.size(); ++i) {
    EXPECT_EQ(ImageCodec::Decode(inputs[i].data(), inputs[i].size()), nullptr) << "input " << i;
  }
  EXPECT_EQ(MRender::LoadImageFromFile(L"/nonexistent/picture.png"), nullptr);
}

TEST(ImageCodec, ToolkitResourcesDecode) {
  const HINSTANCE toolkit = &ResourceModule::Toolkit();
  auto horizontal = MRender::LoadImageFromIDResource(101, L"PNG", toolkit);
  auto vertical = MRender::LoadImageFromIDResource(102, L"png", toolkit);
  ASSERT_NE(horizontal, nullptr);
  ASSERT_NE(vertical, nullptr);
  EXPECT_EQ(horizontal->GetWidth(), 22);
  EXPECT_EQ(horizontal->GetHeight(), 20);
  EXPECT_EQ(vertical->GetWidth(), 28);
  EXPECT_EQ(vertical->GetHeight(), 239);
  EXPECT_EQ(MRender::LoadImageFromIDResource(101, L"GIF", toolkit), nullptr);
  EXPECT_EQ(MRender::LoadImageFromIDResource(999, L"PNG", toolkit), nullptr);
  EXPECT_EQ(MRender::LoadImageFromIDResource(101, L"PNG", nullptr), nullptr);
  // The font is not a picture.
  EXPECT_EQ(MRender::LoadImageFromIDResource(106, L"TTF", toolkit), nullptr);
  const ResourceEntry* font = ResourceModule::Toolkit().Find(106, L"ttf");
  ASSERT_NE(font, nullptr);
  EXPECT_EQ(font->size, 221328u);
}
