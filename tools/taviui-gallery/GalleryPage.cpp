#include "tools/taviui-gallery/GalleryPage.h"

#include "toolkit/core/FontRegistry.h"
#include "toolkit/core/MRender.h"

namespace gallery {

namespace {

constexpr COLORREF kBack = 0x130D09;    // the dialogs' default back colour
constexpr COLORREF kBorder = 0xFDA810;  // and border colour
constexpr ARGB kRed = 0xFFE03030;
constexpr ARGB kBlue = 0xFF3060E0;
constexpr ARGB kLabel = 0xFFB0B8C8;

const TextFont kLabelFont{FontRegistry::kEmbeddedFontFamily, 12, kFontStyleRegular};

void Label(Canvas& c, int x, int y, const wchar_t* text) {
  c.DrawText(text, CRect(x, y, x + 200, y + 16), kLabelFont, TextFormat{}, kLabel);
}

// A 24 x 24 frame picture: four coloured corners, grey edges, white centre.
std::unique_ptr<Image> FramePicture() {
  Canvas c(24, 24);
  c.Clear(0xFF707880);
  c.ClearRect(CRect(0, 0, 8, 8), 0xFFFF0000);
  c.ClearRect(CRect(16, 0, 24, 8), 0xFF00FF00);
  c.ClearRect(CRect(0, 16, 8, 24), 0xFF0000FF);
  c.ClearRect(CRect(16, 16, 24, 24), 0xFFFFFF00);
  c.ClearRect(CRect(8, 8, 16, 16), 0xFFFFFFFF);
  return Image::FromCanvas(std::move(c));
}

}  // namespace

void DrawPage(Canvas& c) {
  // Background as a dialog paints it: border colour, then the back colour
  // inset by one pixel.
  MRender::FillSolidRect(c, 0, 0, kWidth, kHeight, kBorder);
  MRender::FillSolidRect(c, 1, 1, kWidth - 2, kHeight - 2, kBack);
  c.DrawText(L"TaviUI gallery", CRect(20, 2, 400, 22), TextFont{FontRegistry::kEmbeddedFontFamily, 14, 0},
             TextFormat{}, 0xFFFFFFFF);

  // Fills.
  Label(c, 20, 90, L"Fills");
  MRender::FillSolidRect(c, 20, 30, 60, 55, 0x40C020);
  MRender::DrawColor(c, CRect(60, 60, 100, 85), 0x80FFFFFF);

  // Nine-grid frames.
  auto frame = FramePicture();
  Label(c, 120, 120, L"DrawImageFrame 8 / 0");
  MRender::DrawImageFrame(c, frame.get(), CRect(120, 30, 260, 115), 0, 0, 24, 24, 8);
  MRender::DrawImageFrame(c, frame.get(), CRect(120, 140, 180, 170), 0, 0, 24, 24, 0);
  MRender::DrawImageFrameMID(c, frame.get(), CRect(190, 140, 260, 170), 0, 0, 24, 24, 8, 4, 8, 4);

  // Gradients: smooth and in bands.
  Label(c, 280, 90, L"DrawGradient, bands");
  MRender::DrawGradient(c, CRect(280, 30, 620, 50), kRed, kBlue, false, 64);
  MRender::DrawGradient(c, CRect(280, 55, 440, 85), 0xFF202020, 0xFFE0E0E0, true, 64);
  MRender::DrawGradientBands(c, CRect(450, 55, 620, 85), 0xFF202020, 0xFFE0E0E0, false, 10);

  // Rounded rectangles.
  Label(c, 280, 215, L"DrawRoundRectange");
  MRender::DrawRoundRectange(c, 280.f, 160.f, 110.f, 50.f, 4.f, 0xFFFFFFFF, 2.f, true, 0xFFE0A020);
  MRender::DrawRoundRectange(c, 400.f, 160.f, 100.f, 50.f, 12.f, 0xFF3060E0);
  MRender::DrawRoundRectange(c, 510.f, 160.f, 110.f, 50.f, 1.f, 0xFFE03030, 3.f, false, 0);

  // Transitions of a striped picture over the background.
  Canvas stripes(120, 100);
  for (int x = 0; x < 120; x += 20) stripes.ClearRect(CRect(x, 0, x + 10, 100), 0xFFFFFFFF);
  for (int x = 10; x < 120; x += 20) stripes.ClearRect(CRect(x, 0, x + 10, 100), 0xFF3060E0);
  Label(c, 20, 360, L"Vertical / horizontal transition");
  MRender::DrawVerticalTransition(c, stripes, CRect(20, 250, 140, 350), CRect(0, 0, 120, 100), 0, 100);
  MRender::DrawHorizontalTransition(c, stripes, CRect(150, 250, 270, 350), CRect(0, 0, 120, 100), 100, 0);

  // Text: styles, alignment, ellipsis, wrapping, and its measured bounds.
  const TextFont body{FontRegistry::kEmbeddedFontFamily, 14, 0};
  int y = 240;
  const std::pair<int, const wchar_t*> styles[] = {{kFontStyleRegular, L"Open Sans Semibold 14 px"},
                                                   {kFontStyleBold, L"Bold"},
                                                   {kFontStyleItalic, L"Italic"},
                                                   {kFontStyleUnderline | kFontStyleStrikeout, L"Underline, strikeout"}};
  for (const auto& [style, text] : styles) {
    c.DrawText(text, CRect(300, y, 620, y + 20), TextFont{body.family, 14, style}, TextFormat{}, 0xFFFFFFFF);
    y += 20;
  }
  TextFormat right;
  right.horizontal = TextAlign::Far;
  c.DrawText(L"right aligned", CRect(480, 240, 620, 260), body, right, 0xFFE0A020);
  TextFormat cut;
  cut.ellipsis = true;
  c.DrawText(L"An ellipsis cuts a long line short", CRect(300, 325, 460, 345), body, cut, 0xFFB0B8C8);
  TextFormat wrap;
  wrap.singleLine = false;
  wrap.wrap = true;
  c.DrawText(L"Wrapped text breaks at word boundaries.", CRect(470, 300, 620, 345), body, wrap, 0xFFB0B8C8);
  const CSize bounds = MRender::GetTextBounds(body, L"GetTextBounds");
  c.DrawText(L"GetTextBounds", CRect(300, 355, 300 + bounds.cx + 2, 355 + bounds.cy), body, TextFormat{},
             0xFFFFFFFF);
  Path box;
  box.MoveTo(299.5, 354.5);
  box.LineTo(300.5 + bounds.cx, 354.5);
  box.LineTo(300.5 + bounds.cx, 355.5 + bounds.cy);
  box.LineTo(299.5, 355.5 + bounds.cy);
  box.Close();
  c.StrokePath(box, 0xFFE03030, 1.0);

  // The toolkit's own scroll-bar pictures (resources 101 and 102).
  Label(c, 20, 200, L"Resources 101, 102");
  auto horizontal = MRender::LoadImageFromIDResource(101, L"PNG", &ResourceModule::Toolkit());
  auto vertical = MRender::LoadImageFromIDResource(102, L"PNG", &ResourceModule::Toolkit());
  if (horizontal) MRender::DrawImageFrame(c, horizontal.get(), CRect(20, 130, 100, 150), 0, 0, 22, 20, 4);
  if (vertical) MRender::DrawImageFrameMID(c, vertical.get(), CRect(80, 130, 108, 195), 0, 0, 28, 239, 0, 20, 0, 20);
}

}  // namespace gallery
