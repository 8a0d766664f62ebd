#include <gif_lib.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <vector>

#include "Canvas.h"
#include "Outputs.h"
#include "Painters.h"

using namespace theme;

namespace {

constexpr Rgb kSpinnerBack = Hex(0x0D131B);

// Every frame is a blend of the back colour, the accent and white, so a
// palette along that path holds every colour the spinner uses.
std::vector<Rgb> SpinnerPalette() {
  std::vector<Rgb> palette;
  for (int i = 0; i < 192; ++i) palette.push_back(Mix(kSpinnerBack, kAccent, i / 191.0));
  for (int i = 1; i <= 64; ++i) palette.push_back(Mix(kAccent, kWhite, i / 64.0));
  return palette;
}

int Nearest(const std::vector<Rgb>& palette, double r, double g, double b) {
  int best = 0;
  double bestDistance = 1e9;
  for (int i = 0; i < static_cast<int>(palette.size()); ++i) {
    const double dr = palette[i].r - r, dg = palette[i].g - g, db = palette[i].b - b;
    const double d = dr * dr * 0.3 + dg * dg * 0.59 + db * db * 0.11;
    if (d < bestDistance) bestDistance = d, best = i;
  }
  return best;
}

void DrawSpinnerFrame(cairo_t* cr, int size, int frame, int frames) {
  SetColor(cr, kSpinnerBack);
  cairo_paint(cr);
  const double c = size / 2.0;
  // Faint track ring.
  cairo_arc(cr, c, c, size * 0.30, 0, 2 * M_PI);
  SetColor(cr, Mix(kSpinnerBack, kAccent, 0.12));
  cairo_set_line_width(cr, size * 0.02);
  cairo_stroke(cr);
  // Twelve beads; the head is white-hot, the tail fades into the track.
  for (int i = 0; i < frames; ++i) {
    const int age = (frame - i + frames) % frames;
    const double a = -M_PI / 2 + i * 2 * M_PI / frames;
    const double x = c + std::cos(a) * size * 0.30, y = c + std::sin(a) * size * 0.30;
    const double t = 1.0 - static_cast<double>(age) / frames;
    const double radius = size * (0.028 + 0.034 * t);
    Rgb colour = Mix(Mix(kSpinnerBack, kAccent, 0.18), kAccent, t);
    if (age == 0) colour = Mix(kAccent, kWhite, 0.55);
    if (age <= 1) {
      cairo_arc(cr, x, y, radius * 1.9, 0, 2 * M_PI);
      SetColor(cr, kAccent, 0.22);
      cairo_fill(cr);
    }
    cairo_arc(cr, x, y, radius, 0, 2 * M_PI);
    SetColor(cr, colour);
    cairo_fill(cr);
  }
  DrawLogo(cr, c - size * 0.16, c - size * 0.16, size * 0.32);
}

struct GifCloser {
  void operator()(GifFileType* gif) const {
    int error = 0;
    EGifCloseFile(gif, &error);
  }
};

}  // namespace

bool WriteLoadingGif(const std::string& path, int size, int frames) {
  if (!EnsureParentFolder(path)) return false;
  const std::vector<Rgb> palette = SpinnerPalette();
  std::vector<GifColorType> colours;
  for (const Rgb& p : palette) {
    colours.push_back({static_cast<GifByteType>(std::lround(p.r * 255)),
                       static_cast<GifByteType>(std::lround(p.g * 255)),
                       static_cast<GifByteType>(std::lround(p.b * 255))});
  }
  ColorMapObject* map = GifMakeMapObject(256, colours.data());
  if (map == nullptr) return false;

  int error = 0;
  std::unique_ptr<GifFileType, GifCloser> gif(EGifOpenFileName(path.c_str(), false, &error));
  if (!gif) {
    GifFreeMapObject(map);
    return false;
  }
  EGifSetGifVersion(gif.get(), true);
  bool ok = EGifPutScreenDesc(gif.get(), size, size, 8, 0, map) == GIF_OK;
  GifFreeMapObject(map);

  // Loop for ever (the NETSCAPE2.0 application extension).
  const unsigned char loop[3] = {1, 0, 0};
  ok = ok && EGifPutExtensionLeader(gif.get(), APPLICATION_EXT_FUNC_CODE) == GIF_OK;
  ok = ok && EGifPutExtensionBlock(gif.get(), 11, "NETSCAPE2.0") == GIF_OK;
  ok = ok && EGifPutExtensionBlock(gif.get(), 3, loop) == GIF_OK;
  ok = ok && EGifPutExtensionTrailer(gif.get()) == GIF_OK;

  Canvas canvas(size, size);
  std::vector<GifPixelType> line(static_cast<std::size_t>(size));
  for (int frame = 0; ok && frame < frames; ++frame) {
    DrawSpinnerFrame(canvas.Cr(), size, frame, frames);
    cairo_surface_flush(canvas.Surface());

    GraphicsControlBlock control{};
    control.DisposalMode = DISPOSE_DO_NOT;
    control.DelayTime = 6;  // hundredths of a second
    control.TransparentColor = NO_TRANSPARENT_COLOR;
    GifByteType extension[4];
    EGifGCBToExtension(&control, extension);
    ok = EGifPutExtension(gif.get(), GRAPHICS_EXT_FUNC_CODE, 4, extension) == GIF_OK;
    ok = ok && EGifPutImageDesc(gif.get(), 0, 0, size, size, false, nullptr) == GIF_OK;

    const unsigned char* data = cairo_image_surface_get_data(canvas.Surface());
    const int stride = cairo_image_surface_get_stride(canvas.Surface());
    for (int y = 0; ok && y < size; ++y) {
      const auto* row = reinterpret_cast<const uint32_t*>(data + y * stride);
      for (int x = 0; x < size; ++x) {
        // The frame is opaque, so the premultiplied channels are the colour.
        const uint32_t p = row[x];
        line[static_cast<std::size_t>(x)] = static_cast<GifPixelType>(
            Nearest(palette, ((p >> 16) & 0xFF) / 255.0, ((p >> 8) & 0xFF) / 255.0, (p & 0xFF) / 255.0));
      }
      ok = EGifPutLine(gif.get(), line.data(), size) == GIF_OK;
    }
  }
  GifFileType* raw = gif.release();
  ok = EGifCloseFile(raw, &error) == GIF_OK && ok;
  return ok;
}
