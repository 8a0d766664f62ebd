// Text measuring and drawing with the embedded font and private fonts.
#include <gtest/gtest.h>

#include "toolkit/core/FontRegistry.h"
#include "toolkit/core/MRender.h"

namespace {
const TextFont kFont{FontRegistry::kEmbeddedFontFamily, 14, kFontStyleRegular};

// Columns that hold a dark pixel, as [first, last]; {-1, -1} when none.
std::pair<int, int> InkColumns(const Canvas& c) {
  int first = -1, last = -1;
  for (int x = 0; x < c.Width(); ++x) {
    for (int y = 0; y < c.Height(); ++y) {
      if ((c.GetPixel(x, y) & 0xFF) < 128) {
        if (first < 0) first = x;
        last = x;
        break;
      }
    }
  }
  return {first, last};
}
}  // namespace

TEST(TextBounds, EmptyTextHasNoWidthButALineHeight) {
  const CSize size = MRender::GetTextBounds(kFont, L"");
  EXPECT_EQ(size.cx, 0);
  EXPECT_GT(size.cy, 14);
  EXPECT_LT(size.cy, 30);
}

TEST(TextBounds, EmbeddedFontMeasuresAKnownString) {
  ASSERT_TRUE(FontRegistry::EnsureEmbeddedFont());
  EXPECT_TRUE(FontRegistry::IsRegistered(FontRegistry::kEmbeddedFontFamily));
  const CSize one = MRender::GetTextBounds(kFont, L"Kestrel");
  const CSize two = MRender::GetTextBounds(kFont, L"KestrelKestrel");
  const CSize big = MRender::GetTextBounds(TextFont{kFont.family, 28, 0}, L"Kestrel");
  // Seven letters of a 14-pixel face: between 3 and 10 pixels each.
  EXPECT_GT(one.cx, 21);
  EXPECT_LT(one.cx, 70);
  EXPECT_NEAR(two.cx, 2 * one.cx, 3);
  EXPECT_NEAR(big.cx, 2 * one.cx, 4);
  EXPECT_EQ(one.cy, MRender::GetTextBounds(kFont, L"").cy);  // one line whatever the text
  // Semibold is wider than the regular face of the same family.
  const CSize regular = MRender::GetTextBounds(TextFont{L"Open Sans", 14, 0}, L"Kestrel");
  EXPECT_GT(one.cx, regular.cx);
}

TEST(TextBounds, PrivateFontUnderAGivenName) {
  EXPECT_TRUE(FontRegistry::AddFontFile(L"KestrelTestCondensed",
                                        "/usr/share/fonts/truetype/open-sans/OpenSans-CondBold.ttf"));
  EXPECT_TRUE(FontRegistry::IsRegistered(L"KestrelTestCondensed"));
  EXPECT_NE(FontRegistry::Resolve(L"KestrelTestCondensed"), L"KestrelTestCondensed");
  // Text in that name is drawn with the condensed face: narrower than the
  // embedded semibold one.
  const CSize condensed = MRender::GetTextBounds(TextFont{L"KestrelTestCondensed", 14, 0}, L"Kestrel Kestrel");
  const CSize semibold = MRender::GetTextBounds(kFont, L"Kestrel Kestrel");
  EXPECT_LT(condensed.cx, semibold.cx * 0.95);
  EXPECT_FALSE(FontRegistry::AddFontFile(L"NotAFont", KESTREL_SOURCE_DIR "/tests/toolkit/data/anim.gif"));
  EXPECT_FALSE(FontRegistry::IsRegistered(L"NotAFont"));
  EXPECT_FALSE(FontRegistry::AddFontFile(L"Missing", "/nonexistent/font.ttf"));
}

TEST(TextDraw, AlignmentPlacesTheInk) {
  for (TextAlign align : {TextAlign::Near, TextAlign::Center, TextAlign::Far}) {
    Canvas c(200, 30);
    c.Clear(0xFFFFFFFF);
    TextFormat format;
    format.horizontal = align;
    format.vertical = TextAlign::Center;
    c.DrawText(L"Kes", CRect(0, 0, 200, 30), kFont, format, 0xFF000000);
    const auto [first, last] = InkColumns(c);
    ASSERT_GE(first, 0);
    if (align == TextAlign::Near) {
      EXPECT_LT(first, 5);
    } else if (align == TextAlign::Center) {
      EXPECT_NEAR((first + last) / 2, 100, 4);
    } else {
      EXPECT_GT(last, 194);
    }
  }
}

TEST(TextDraw, ClippedToItsRectangleAndEllipsisShortens) {
  Canvas c(200, 30);
  c.Clear(0xFFFFFFFF);
  c.DrawText(L"A rather long line of text", CRect(10, 0, 60, 30), kFont, TextFormat{}, 0xFF000000);
  const auto [first, last] = InkColumns(c);
  EXPECT_GE(first, 10);
  EXPECT_LT(last, 60);
  TextFormat ellipsis;
  ellipsis.ellipsis = true;
  const TextMetrics cut = Canvas::MeasureText(L"A rather long line of text", kFont, ellipsis, 60);
  const TextMetrics full = Canvas::MeasureText(L"A rather long line of text", kFont, TextFormat{}, 60);
  EXPECT_LE(cut.logicalWidth, 60.5);
  EXPECT_GT(full.logicalWidth, 100);
}

TEST(TextDraw, WrappingMakesMoreLines) {
  TextFormat wrap;
  wrap.singleLine = false;
  wrap.wrap = true;
  const TextMetrics wrapped = Canvas::MeasureText(L"one two three four five six", kFont, wrap, 60);
  const TextMetrics single = Canvas::MeasureText(L"one two three four five six", kFont, TextFormat{}, 60);
  EXPECT_GT(wrapped.logicalHeight, 2.5 * single.lineHeight);
  EXPECT_LE(wrapped.logicalWidth, 60.5);
  TextFormat lines;
  lines.singleLine = false;
  EXPECT_GT(Canvas::MeasureText(L"one\ntwo", kFont, lines).logicalHeight, 1.5 * single.lineHeight);
  EXPECT_LT(Canvas::MeasureText(L"one\ntwo", kFont, TextFormat{}).logicalHeight, 1.5 * single.lineHeight);
}
