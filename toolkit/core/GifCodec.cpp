// GIF decoding through giflib: every frame composed over the previous ones
// as the file's disposal methods say.
#include <gif_lib.h>

#include <algorithm>
#include <cstring>

#include "toolkit/core/ImageCodec.h"

namespace {

struct GifSource {
  const uint8_t* data;
  size_t size;
  size_t at;
};

int ReadGifBytes(GifFileType* gif, GifByteType* out, int length) {
  auto* source = static_cast<GifSource*>(gif->UserData);
  const size_t n = std::min(static_cast<size_t>(std::max(length, 0)), source->size - source->at);
  std::memcpy(out, source->data + source->at, n);
  source->at += n;
  return static_cast<int>(n);
}

struct GifCloser {
  void operator()(GifFileType* gif) const {
    int error = 0;
    DGifCloseFile(gif, &error);
  }
};

}  // namespace

namespace ImageCodec {

std::unique_ptr<Image> DecodeGif(const uint8_t* data, size_t size) {
  if (!data || size < 13) return nullptr;
  // The logical screen's size is checked before giflib allocates anything.
  const uint64_t screenArea = static_cast<uint64_t>(data[6] | (data[7] << 8)) * (data[8] | (data[9] << 8));
  if (screenArea == 0 || screenArea > kMaxDecodedPixels) return nullptr;
  GifSource source{data, size, 0};
  int error = 0;
  std::unique_ptr<GifFileType, GifCloser> gif(DGifOpen(&source, ReadGifBytes, &error));
  if (!gif) return nullptr;
  const int width = gif->SWidth;
  const int height = gif->SHeight;
  if (width <= 0 || height <= 0) return nullptr;

  // Frames are read one record at a time (not slurped), so every frame's
  // size is checked before its pixels are allocated, and all frames
  // together stay within a budget.
  const uint64_t budget = 4 * kMaxDecodedPixels;
  uint64_t used = 0;
  std::vector<uint32_t> screen(static_cast<size_t>(width) * height, 0);
  std::vector<Image::Frame> frames;
  GraphicsControlBlock gcb{DISPOSAL_UNSPECIFIED, false, 0, NO_TRANSPARENT_COLOR};
  GifRecordType type = UNDEFINED_RECORD_TYPE;
  do {
    if (DGifGetRecordType(gif.get(), &type) == GIF_ERROR) break;
    if (type == EXTENSION_RECORD_TYPE) {
      int code = 0;
      GifByteType* block = nullptr;
      if (DGifGetExtension(gif.get(), &code, &block) == GIF_ERROR) break;
      if (code == GRAPHICS_EXT_FUNC_CODE && block && block[0] >= 4) DGifExtensionToGCB(block[0], block + 1, &gcb);
      bool readable = true;
      while (block && readable) readable = DGifGetExtensionNext(gif.get(), &block) == GIF_OK;
      if (!readable) break;
      continue;
    }
    if (type != IMAGE_DESC_RECORD_TYPE) continue;
    if (DGifGetImageDesc(gif.get()) == GIF_ERROR) break;
    const GifImageDesc d = gif->Image;
    const uint64_t area = static_cast<uint64_t>(std::max(d.Width, 0)) * std::max(d.Height, 0);
    if (area == 0 || area > kMaxDecodedPixels || used + screenArea > budget) break;
    std::vector<GifPixelType> raster(static_cast<size_t>(area));
    bool complete = true;
    if (d.Interlace) {
      static constexpr int kStart[4] = {0, 4, 2, 1};
      static constexpr int kStep[4] = {8, 8, 4, 2};
      for (int pass = 0; pass < 4 && complete; ++pass) {
        for (int y = kStart[pass]; y < d.Height && complete; y += kStep[pass]) {
          complete = DGifGetLine(gif.get(), &raster[static_cast<size_t>(y) * d.Width], d.Width) == GIF_OK;
        }
      }
    } else {
      for (int y = 0; y < d.Height && complete; ++y) {
        complete = DGifGetLine(gif.get(), &raster[static_cast<size_t>(y) * d.Width], d.Width) == GIF_OK;
      }
    }
    if (!complete) break;
    const ColorMapObject* map = d.ColorMap ? d.ColorMap : gif->SColorMap;
    if (!map) break;
    const std::vector<uint32_t> before = gcb.DisposalMode == DISPOSE_PREVIOUS ? screen : std::vector<uint32_t>();
    for (int y = 0; y < d.Height; ++y) {
      const int sy = d.Top + y;
      if (sy < 0 || sy >= height) continue;
      for (int x = 0; x < d.Width; ++x) {
        const int sx = d.Left + x;
        if (sx < 0 || sx >= width) continue;
        const int index = raster[static_cast<size_t>(y) * d.Width + x];
        if (index == gcb.TransparentColor || index >= map->ColorCount) continue;
        const GifColorType& c = map->Colors[index];
        screen[static_cast<size_t>(sy) * width + sx] = 0xFF000000u | (c.Red << 16) | (c.Green << 8) | c.Blue;
      }
    }
    Canvas canvas(width, height);
    if (!canvas.IsValid()) break;
    uint8_t* out = canvas.Bits();
    for (int y = 0; y < height; ++y) {
      std::memcpy(out + static_cast<size_t>(y) * canvas.Stride(), &screen[static_cast<size_t>(y) * width],
                  static_cast<size_t>(width) * 4);
    }
    canvas.MarkDirty();
    frames.push_back({std::move(canvas), gcb.DelayTime * 10});
    used += screenArea;
    if (gcb.DisposalMode == DISPOSE_BACKGROUND) {
      for (int y = std::max(0, d.Top); y < std::min(height, d.Top + d.Height); ++y) {
        for (int x = std::max(0, d.Left); x < std::min(width, d.Left + d.Width); ++x) {
          screen[static_cast<size_t>(y) * width + x] = 0;
        }
      }
    } else if (gcb.DisposalMode == DISPOSE_PREVIOUS) {
      screen = before;
    }
    gcb = GraphicsControlBlock{DISPOSAL_UNSPECIFIED, false, 0, NO_TRANSPARENT_COLOR};
  } while (type != TERMINATE_RECORD_TYPE);
  // A damaged tail loses only the frames after the damage.
  if (frames.empty()) return nullptr;
  return std::make_unique<Image>(std::move(frames));
}

}  // namespace ImageCodec
