#include "toolkit/core/ImageCodec.h"

#include <algorithm>
#include <cstring>
#include <vector>
#include <optional>

namespace {

uint16_t Read16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t Read32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
         (static_cast<uint32_t>(p[3]) << 24);
}

bool IsPng(const uint8_t* data, size_t size) {
  return size >= 8 && data[0] == 0x89 && data[1] == 'P' && data[2] == 'N' && data[3] == 'G';
}

uint32_t Premultiply(uint32_t a, uint32_t r, uint32_t g, uint32_t b) {
  if (a == 255) {
    return 0xFF000000u | (r << 16) | (g << 8) | b;
  }
  auto mul = [a](uint32_t c) { return (c * a + 127) / 255; };
  return (a << 24) | (mul(r) << 16) | (mul(g) << 8) | mul(b);
}

// A device-independent bitmap: the 40-byte (or larger) info header, then the
// palette, then the pixel rows.  Icons store twice the height (colour rows,
// then a 1-bit transparency mask); bitmap files do not.
std::unique_ptr<Image> DecodeDib(const uint8_t* data, size_t size, bool isIcon,
                                 std::optional<size_t> pixelOffset) {
  if (size < 40) return nullptr;
  const uint32_t headerSize = Read32(data);
  if (headerSize < 40 || headerSize > size) return nullptr;
  const int32_t width = static_cast<int32_t>(Read32(data + 4));
  int32_t height = static_cast<int32_t>(Read32(data + 8));
  const uint16_t bits = Read16(data + 14);
  const uint32_t compression = Read32(data + 16);
  uint32_t colours = Read32(data + 32);
  if (compression != 0 && !(compression == 3 && bits == 32)) return nullptr;  // BI_RGB or BI_BITFIELDS 32
  bool topDown = false;
  if (height < 0) {
    if (isIcon || height == INT32_MIN) return nullptr;
    height = -height;
    topDown = true;
  }
  if (isIcon) height /= 2;
  if (width <= 0 || height <= 0 || static_cast<uint64_t>(width) * height > kMaxDecodedPixels) return nullptr;
  if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32) return nullptr;

  size_t paletteAt = headerSize;
  if (compression == 3 && headerSize == 40) paletteAt += 12;  // the three masks follow a short header
  size_t paletteCount = 0;
  if (bits <= 8) {
    paletteCount = colours == 0 ? (1u << bits) : colours;
    if (paletteCount > (1u << bits)) return nullptr;
  }
  if (paletteAt + paletteCount * 4 > size) return nullptr;
  const uint8_t* palette = data + paletteAt;
  const size_t stride = ((static_cast<size_t>(bits) * width + 31) / 32) * 4;
  const size_t pixelsAt = pixelOffset ? *pixelOffset : paletteAt + paletteCount * 4;
  if (pixelsAt > size || stride * height > size - pixelsAt) return nullptr;
  const uint8_t* pixels = data + pixelsAt;
  const size_t maskStride = ((static_cast<size_t>(width) + 31) / 32) * 4;
  const uint8_t* mask = nullptr;
  if (isIcon && pixelsAt + stride * height + maskStride * height <= size) {
    mask = pixels + stride * height;
  }

  Canvas canvas(width, height);
  if (!canvas.IsValid()) return nullptr;
  uint8_t* out = canvas.Bits();
  bool anyAlpha = false;
  for (int y = 0; y < height; ++y) {
    const int row = topDown ? y : height - 1 - y;
    const uint8_t* in = pixels + stride * row;
    auto* dst = reinterpret_cast<uint32_t*>(out + static_cast<size_t>(y) * canvas.Stride());
    for (int x = 0; x < width; ++x) {
      uint32_t r = 0, g = 0, b = 0, a = 255;
      if (bits == 32) {
        b = in[x * 4];
        g = in[x * 4 + 1];
        r = in[x * 4 + 2];
        a = in[x * 4 + 3];
        anyAlpha = anyAlpha || a != 0;
      } else if (bits == 24) {
        b = in[x * 3];
        g = in[x * 3 + 1];
        r = in[x * 3 + 2];
      } else {
        const size_t bitAt = static_cast<size_t>(x) * bits;
        const uint32_t index = (in[bitAt / 8] >> (8 - bits - bitAt % 8)) & ((1u << bits) - 1);
        if (index < paletteCount) {
          b = palette[index * 4];
          g = palette[index * 4 + 1];
          r = palette[index * 4 + 2];
        }
      }
      // Keep the unmultiplied colour for now; alpha is settled below.
      dst[x] = (a << 24) | (r << 16) | (g << 8) | b;
    }
  }
  // A 32-bit bitmap file, or an icon whose alpha bytes are all zero, has no
  // real alpha: the icon's mask decides, a bitmap file is opaque.
  const bool useAlpha = bits == 32 && anyAlpha;
  for (int y = 0; y < height; ++y) {
    const int row = topDown ? y : height - 1 - y;
    auto* dst = reinterpret_cast<uint32_t*>(out + static_cast<size_t>(y) * canvas.Stride());
    for (int x = 0; x < width; ++x) {
      uint32_t p = dst[x];
      uint32_t a = useAlpha ? (p >> 24) : 255;
      if (!useAlpha && mask) {
        const uint8_t* m = mask + maskStride * row;
        if ((m[x / 8] >> (7 - x % 8)) & 1) a = 0;
      }
      dst[x] = Premultiply(a, (p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }
  }
  canvas.MarkDirty();
  return Image::FromCanvas(std::move(canvas));
}

}  // namespace

namespace ImageCodec {

std::unique_ptr<Image> Decode(const uint8_t* data, size_t size) {
  if (!data || size < 4) return nullptr;
  if (IsPng(data, size)) return Image::FromCanvas(Canvas::FromPng(data, size));
  if (size >= 6 && std::memcmp(data, "GIF8", 4) == 0) return DecodeGif(data, size);
  if (data[0] == 'B' && data[1] == 'M') return DecodeBmp(data, size);
  if (Read16(data) == 0 && (Read16(data + 2) == 1 || Read16(data + 2) == 2)) return DecodeIcon(data, size);
  return nullptr;
}

std::unique_ptr<Image> DecodeBmp(const uint8_t* data, size_t size) {
  if (!data || size < 14 + 40 || data[0] != 'B' || data[1] != 'M') return nullptr;
  const uint32_t offset = Read32(data + 10);
  if (offset < 14 || offset > size) return nullptr;
  return DecodeDib(data + 14, size - 14, false, static_cast<size_t>(offset - 14));
}

std::unique_ptr<Image> DecodeIcon(const uint8_t* data, size_t size) {
  if (!data || size < 6 || Read16(data) != 0) return nullptr;
  const uint16_t type = Read16(data + 2);
  const uint16_t count = Read16(data + 4);
  if ((type != 1 && type != 2) || count == 0 || 6 + static_cast<size_t>(count) * 16 > size) return nullptr;
  // Best first: the largest area, then the most bits per pixel.  Entries that
  // cannot be decoded are skipped, so one damaged entry does not lose the icon.
  struct Candidate {
    size_t at;
    size_t length;
    uint32_t area;
    uint16_t bits;
  };
  std::vector<Candidate> candidates;
  for (uint16_t i = 0; i < count; ++i) {
    const uint8_t* entry = data + 6 + static_cast<size_t>(i) * 16;
    const uint32_t w = entry[0] == 0 ? 256 : entry[0];
    const uint32_t h = entry[1] == 0 ? 256 : entry[1];
    const uint16_t bits = Read16(entry + 6);
    const uint32_t length = Read32(entry + 8);
    const uint32_t at = Read32(entry + 12);
    if (at >= size || length > size - at || length == 0) continue;
    candidates.push_back({at, length, w * h, bits});
  }
  std::stable_sort(candidates.begin(), candidates.end(), [](const Candidate& a, const Candidate& b) {
    return a.area != b.area ? a.area > b.area : a.bits > b.bits;
  });
  for (const Candidate& c : candidates) {
    const uint8_t* bytes = data + c.at;
    std::unique_ptr<Image> image = IsPng(bytes, c.length) ? Image::FromCanvas(Canvas::FromPng(bytes, c.length))
                                                           : DecodeDib(bytes, c.length, true, std::nullopt);
    if (image) return image;
  }
  return nullptr;
}

}  // namespace ImageCodec
