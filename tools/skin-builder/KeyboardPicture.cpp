#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>

#include "Canvas.h"
#include "Glyphs.h"
#include "Outputs.h"
#include "SkinCatalog.h"
#include "model/DeviceDescription.h"
#include "platform/TextConvert.h"

using namespace theme;

namespace {

constexpr std::uint32_t kFnCode = 0xAF;

// The glyph a key icon of the layout stands for, drawn on the cap.
bool IconGlyph(const std::wstring& icon, Glyph& glyph) {
  const struct {
    const wchar_t* file;
    Glyph glyph;
  } table[] = {
      {L"key_icon_mute.png", Glyph::Mute},        {L"key_icon_volume_down.png", Glyph::VolumeDown},
      {L"key_icon_volume_up.png", Glyph::VolumeUp}, {L"key_icon_play.png", Glyph::PlayPause},
      {L"key_icon_windows.png", Glyph::Windows},  {L"key_icon_menu.png", Glyph::Menu},
      {L"key_icon_up.png", Glyph::TriangleUp},    {L"key_icon_down.png", Glyph::TriangleDown},
      {L"key_icon_left.png", Glyph::TriangleLeft}, {L"key_icon_right.png", Glyph::TriangleRight},
  };
  for (const auto& entry : table) {
    if (icon == entry.file) {
      glyph = entry.glyph;
      return true;
    }
  }
  return false;
}

void DrawCase(cairo_t* cr, int w, int h, const KeyRect& keys) {
  // The case: a dark brushed shell with a lit rim.
  RoundedRect(cr, 1.5, 1.5, w - 3, h - 3, 16);
  SetVerticalGradient(cr, 0, h, Hex(0x1D2734), Hex(0x0B1017));
  cairo_fill_preserve(cr);
  SetColor(cr, Hex(0x33465C));
  cairo_set_line_width(cr, 1.5);
  cairo_stroke(cr);
  RoundedRect(cr, 4, 3.5, w - 8, h - 7, 14);
  SetColor(cr, kWhite, 0.05);
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);

  // The plate under the keys, a little below the shell's surface.
  const double m = 6;
  RoundedRect(cr, keys.left - m, keys.top - m, keys.right - keys.left + 2 * m,
              keys.bottom - keys.top + 2 * m, 8);
  SetColor(cr, Hex(0x05080C));
  cairo_fill_preserve(cr);
  SetColor(cr, kAccent, 0.35);
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);

  // Under-glow along the front edge.
  cairo_pattern_t* glow = cairo_pattern_create_linear(0, h - 12, 0, h);
  cairo_pattern_add_color_stop_rgba(glow, 0, kAccent.r, kAccent.g, kAccent.b, 0);
  cairo_pattern_add_color_stop_rgba(glow, 1, kAccent.r, kAccent.g, kAccent.b, 0.35);
  RoundedRect(cr, 1.5, 1.5, w - 3, h - 3, 16);
  cairo_set_source(cr, glow);
  cairo_fill(cr);
  cairo_pattern_destroy(glow);
}

void DrawKeyCap(cairo_t* cr, const KeyItem& key) {
  const double x = key.rect.left, y = key.rect.top;
  const double w = key.rect.right - key.rect.left, h = key.rect.bottom - key.rect.top;
  if (w <= 4 || h <= 4) return;
  // Skirt, then the dished top face set back from the front edge.
  RoundedRect(cr, x + 0.5, y + 0.5, w - 1, h - 1, 6);
  SetVerticalGradient(cr, y, y + h, Hex(0x141B25), Hex(0x0A0E14));
  cairo_fill_preserve(cr);
  SetColor(cr, Hex(0x263547));
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
  RoundedRect(cr, x + 4, y + 3, w - 8, h - 10, 5);
  SetVerticalGradient(cr, y + 3, y + h - 7, Hex(0x263243), Hex(0x1A2330));
  cairo_fill(cr);
  cairo_move_to(cr, x + 8, y + 3.5);
  cairo_line_to(cr, x + w - 8, y + 3.5);
  SetColor(cr, kWhite, 0.10);
  cairo_stroke(cr);

  const std::string label = platform::ToUtf8(key.name);
  const double faceX = x + 4, faceY = y + 3, faceW = w - 8, faceH = h - 10;
  Glyph glyph{};
  const bool hasGlyph = IconGlyph(key.icon, glyph);
  const Rgb labelColour = key.code == kFnCode ? kAccentBright : Hex(0xE8EEF5);
  const double size = label.size() <= 1 ? 15 : (label.size() <= 3 ? 12.5 : 10.5);

  if (!label.empty() && hasGlyph) {
    // A function key with a media legend: the name above, the Fn layer's
    // icon below in the accent colour.
    DrawText(cr, label, "Open Sans Semibold", size, faceX, faceY + 1, faceW, faceH * 0.5, labelColour);
    SetColor(cr, kAccent);
    const double g = faceH * 0.42;
    DrawGlyph(cr, glyph, faceX + (faceW - g) / 2, faceY + faceH * 0.52, g, 2.2);
  } else if (hasGlyph) {
    SetColor(cr, labelColour);
    const double g = std::min(faceW, faceH) * 0.55;
    DrawGlyph(cr, glyph, faceX + (faceW - g) / 2, faceY + (faceH - g) / 2, g, 2.0);
  } else if (!label.empty()) {
    DrawText(cr, label, "Open Sans Semibold", size, faceX, faceY, faceW, faceH, labelColour);
  }
}

}  // namespace

bool WriteKeyboardPicture(const std::string& skinFolder, const std::string& layoutPath,
                          std::string& pictureName) {
  std::ifstream in(layoutPath, std::ios::binary);
  if (!in) return false;
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  DeviceFeatures features;
  KeyboardLayout layout;
  const DescriptionLoad load = ReadDeviceDescriptionText(platform::FromUtf8(bytes), features, layout);
  if (!load.loaded || !load.keyboard_found || layout.Width() <= 0 || layout.Height() <= 0 ||
      layout.Image().empty()) {
    return false;
  }

  KeyRect bounds{layout.Width(), layout.Height(), 0, 0};
  for (const KeyItem& key : layout.Keys()) {
    bounds.left = std::min(bounds.left, key.rect.left);
    bounds.top = std::min(bounds.top, key.rect.top);
    bounds.right = std::max(bounds.right, key.rect.right);
    bounds.bottom = std::max(bounds.bottom, key.rect.bottom);
  }
  if (layout.Keys().empty()) bounds = {0, 0, layout.Width(), layout.Height()};

  Canvas canvas(layout.Width(), layout.Height());
  DrawCase(canvas.Cr(), layout.Width(), layout.Height(), bounds);
  for (const KeyItem& key : layout.Keys()) DrawKeyCap(canvas.Cr(), key);

  pictureName = std::string(kKeyboardFolder) + platform::ToUtf8(layout.Image());
  return canvas.SavePng(skinFolder + "/" + pictureName);
}
