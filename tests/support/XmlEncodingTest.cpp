#include "support/XmlEncoding.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <string>

namespace {

struct NameCase {
  std::wstring name;
  int codePage;  // -1: not an encoding for 8-bit files
  std::wstring shown;
};

TEST(XmlEncoding, NamesMapToCodePages) {
  const NameCase cases[] = {
      {L"utf-8", 65001, L"UTF-8"},       {L"UTF8", 65001, L"UTF-8"},
      {L"cp65001", 65001, L"UTF-8"},     {L"Unicode", 1200, L"UTF-16LE"},
      {L"ucs-2", 1200, L"UTF-16LE"},     {L"unicodeFFFE", 1201, L"UTF-16BE"},
      {L"utf-16BE", 1201, L"UTF-16BE"},  {L"Latin1", 28591, L"ISO-8859-1"},
      {L"ISO-8859-1", 28591, L"ISO-8859-1"}, {L"windows-1252", 1252, L"WINDOWS-1252"},
      {L"Shift_JIS", 932, L"CP932"},     {L"GBK", 936, L"CP936"},
      {L"gb2312", 936, L"CP936"},        {L"big5", 950, L"CP950"},
      {L"EUC-KR", 51949, L"EUC-KR"},     {L"gb18030", 54936, L"GB18030"},
      // Known to iconv only.
      {L"viscii", 0, L"VISCII"},
      // Not usable for a declaration read as 8-bit text, or no encoding at all.
      {L"UTF-32", -1, L""},              {L"IBM1047", -1, L""},
      {L"UTF-7", -1, L""},               {L"utf-8//TRANSLIT", -1, L""},
      {L"no-such-charset", -1, L""},     {L"", -1, L""},
  };
  for (const auto& c : cases) {
    const auto e = xml::EncodingFromName(c.name);
    if (c.codePage < 0) {
      EXPECT_FALSE(e.has_value()) << c.name;
      continue;
    }
    ASSERT_TRUE(e.has_value()) << c.name;
    EXPECT_EQ(e->codePage, c.codePage) << c.name;
    EXPECT_EQ(e->name, c.shown) << c.name;
  }
}

TEST(XmlEncoding, AnsiFallsBackToWindows1252) {
  const char* saved = getenv("LC_ALL");
  const std::string previous = saved ? saved : "";
  for (const char* locale : {"C", "POSIX", "C.UTF-8", "xx_NOWHERE.ISO-8859-1"}) {
    setenv("LC_ALL", locale, 1);
    EXPECT_EQ(xml::AnsiEncoding().name, L"WINDOWS-1252") << locale;
  }
  if (saved) {
    setenv("LC_ALL", previous.c_str(), 1);
  } else {
    unsetenv("LC_ALL");
  }
}

TEST(XmlEncoding, Utf8TestIsStrict) {
  const std::pair<std::string, bool> cases[] = {
      {"", true},
      {"plain <ascii/>", true},
      {"\xC3\x9C\xE2\x82\xAC\xF0\x9F\x98\x80", true},
      {"caf\xE9", false},             // Latin-1 e acute
      {"\x80\x80", false},            // continuation bytes without a lead
      {"\xC0\xAF", false},            // overlong
      {"\xE0\x80\xAF", false},        // overlong
      {"\xED\xA0\x80", false},        // surrogate
      {"\xF4\x90\x80\x80", false},    // beyond U+10FFFF
      {"\xE2\x82", false},            // truncated
      {"\xE2\x28\xA1", false},        // second byte not a continuation
  };
  for (const auto& [bytes, valid] : cases) EXPECT_EQ(xml::IsValidUtf8(bytes), valid) << bytes;
}

TEST(XmlEncoding, ConvertsBothWays) {
  const auto latin2 = xml::EncodingFromName(L"iso-8859-2");
  ASSERT_TRUE(latin2.has_value());
  EXPECT_EQ(xml::DecodeBytes(*latin2, "\xB1\xE6z"), L"\u0105\u0107z");
  bool lossy = true;
  EXPECT_EQ(xml::EncodeText(*latin2, L"\u0105\u0107z", &lossy), "\xB1\xE6z");
  EXPECT_FALSE(lossy);
  EXPECT_EQ(xml::EncodeText(*latin2, L"a\u20ACb", &lossy), "a?b");
  EXPECT_TRUE(lossy);

  const auto cp1252 = xml::EncodingFromName(L"cp1252");
  ASSERT_TRUE(cp1252.has_value());
  // 0x81 is undefined in Windows-1252: it must not vanish silently.
  EXPECT_EQ(xml::DecodeBytes(*cp1252, "a\x81\x80"), L"a\uFFFD\u20AC");

  const auto jis = xml::EncodingFromName(L"iso-2022-jp");
  ASSERT_TRUE(jis.has_value());
  const std::string bytes = xml::EncodeText(*jis, L"<a v=\"\u65E5\u672C\"/>", &lossy);
  EXPECT_FALSE(lossy);
  EXPECT_EQ(xml::DecodeBytes(*jis, bytes), L"<a v=\"\u65E5\u672C\"/>");

  EXPECT_EQ(xml::EncodeText(xml::Utf16BeEncoding(), std::wstring(1, wchar_t(0x1F600)), &lossy), std::string("\xD8\x3D\xDE\x00", 4));
  EXPECT_EQ(xml::EncodeText(xml::Utf16LeEncoding(), L"A", &lossy), std::string("A\0", 2));
}

}  // namespace
