#include <gtest/gtest.h>

#include "ZipFixture.h"
#include "support/ZipEntryName.h"

namespace {

TEST(ZipNameTest, UnsafeNamesAreCleanedOrSkipped) {
  struct Case {
    std::wstring stored;
    std::wstring expected;  // empty: skipped
  };
  const Case cases[] = {
      {L"tool.exe", L"tool.exe"},
      {L"bin\\drivers\\a.sys", L"bin/drivers/a.sys"},
      {L"C:\\x\\evil", L"x/evil"},
      {L"c:d:/x", L"x"},
      {L"..\\..\\evil", L"evil"},
      {L"a\\..\\b", L"b"},
      {L"a/./b//c", L"a/b/c"},
      {L"folder/", L"folder"},
      {L"/etc/evil", L""},
      {L"\\etc\\evil", L""},
      {L"a/../../evil", L""},
      {L"../evil", L""},
      {L"..", L""},
      {L"a/..", L""},
      {L".", L""},
      {L"", L""},
      {std::wstring(L"a\0b", 3), L""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(MakeSafeEntryPath(c.stored), c.expected) << std::string(c.stored.begin(), c.stored.end());
  }
}

TEST(ZipNameTest, NamesAreDecodedFromTheirCodePage) {
  ZipEntry cp437;
  cp437.name = "\x81" "ber\x94.txt";
  EXPECT_EQ(DecodeZipEntryName(cp437), L"\u00FCber\u00F6.txt");

  ZipEntry utf8;
  utf8.flags = 0x0800;
  utf8.name = "\xC3\xBC\xE2\x82\xAC.txt";
  EXPECT_EQ(DecodeZipEntryName(utf8), L"\u00FC\u20AC.txt");

  // Info-ZIP's UTF-8 copy counts only while it belongs to the stored name.
  ZipEntry unicode;
  unicode.name = "?.txt";
  const uint32_t nameCrc = 0x46C88610u;  // CRC-32 of "?.txt"
  unicode.extra = ExtraBlock(0x7075, std::string("\x01", 1) + Le32(nameCrc) + "\xE2\x82\xAC.txt");
  EXPECT_EQ(DecodeZipEntryName(unicode), L"\u20AC.txt");
  unicode.extra = ExtraBlock(0x7075, std::string("\x01", 1) + Le32(nameCrc ^ 1) + "\xE2\x82\xAC.txt");
  EXPECT_EQ(DecodeZipEntryName(unicode), L"?.txt");
}

}  // namespace
