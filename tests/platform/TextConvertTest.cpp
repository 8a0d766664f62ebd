#include "platform/TextConvert.h"

#include <gtest/gtest.h>

namespace {

struct Utf8Case {
  std::string utf8;
  std::wstring text;
};

TEST(TextConvert, Utf8DecodesValidAndReplacesInvalidSequences) {
  const Utf8Case cases[] = {
      {"", L""},
      {"abc", L"abc"},
      {"\xC3\xBC\xC5\x9F", L"\u00FC\u015F"},                // ü ş
      {"\xE2\x82\xAC", L"\u20AC"},                          // €
      {"\xF0\x9F\x98\x80", std::wstring(1, wchar_t(0x1F600))},
      {"a\xFF" "b", L"a\uFFFDb"},                           // invalid lead byte
      {"\xC3", L"\uFFFD"},                                  // truncated at the end
      {"\xC3" "a", L"\uFFFDa"},                             // missing continuation
      {"\xC0\xAF", L"\uFFFD\uFFFD"},                        // overlong form
      {"\xED\xA0\x80", L"\uFFFD\uFFFD\uFFFD"},              // encoded surrogate
  };
  for (const auto& c : cases) {
    EXPECT_EQ(platform::FromUtf8(c.utf8), c.text) << c.utf8;
  }
}

TEST(TextConvert, Utf8RoundTripsEveryPlane) {
  std::wstring text = L"K\u00E9y\u4E2D";
  text.push_back(static_cast<wchar_t>(0x10FFFF));
  EXPECT_EQ(platform::FromUtf8(platform::ToUtf8(text)), text);
  EXPECT_EQ(platform::ToUtf8(std::wstring(1, wchar_t(0xD800))), "\xEF\xBF\xBD");
}

TEST(TextConvert, Utf16JoinsPairsAndReplacesLoneSurrogates) {
  const std::u16string pair = {0xD83D, 0xDE00};
  EXPECT_EQ(platform::FromUtf16(pair), std::wstring(1, wchar_t(0x1F600)));
  EXPECT_EQ(platform::ToUtf16(std::wstring(1, wchar_t(0x1F600))), pair);
  EXPECT_EQ(platform::FromUtf16(std::u16string{0xDC00, u'a'}), L"\uFFFDa");
  EXPECT_EQ(platform::FromUtf16(std::u16string{u'a', 0xD800}), L"a\uFFFD");
}

}  // namespace
