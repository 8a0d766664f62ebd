#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/TextConvert.h"
#include "support/XmlDocument.h"

namespace {

std::string Utf16Bytes(const std::wstring& text, bool bigEndian) {
  std::string out;
  for (char16_t unit : platform::ToUtf16(text)) {
    const char hi = static_cast<char>(unit >> 8);
    const char lo = static_cast<char>(unit & 0xFF);
    out += bigEndian ? hi : lo;
    out += bigEndian ? lo : hi;
  }
  return out;
}

class XmlDocumentFile : public ::testing::Test {
 protected:
  void SetUp() override {
    // The 8-bit fallback follows the locale; a UTF-8 locale means Windows-1252.
    setenv("LC_ALL", "C.UTF-8", 1);
    std::string pattern = (std::filesystem::temp_directory_path() / "xmldoc-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    m_folder = pattern;
  }
  void TearDown() override { std::filesystem::remove_all(m_folder); }

  std::wstring Write(const std::string& name, const std::string& bytes) const {
    const auto path = m_folder / name;
    std::ofstream(path, std::ios::binary) << bytes;
    return path.wstring();
  }
  std::wstring PathOf(const std::string& name) const { return (m_folder / name).wstring(); }
  std::string Read(const std::wstring& path) const {
    std::ifstream in(std::filesystem::path(path), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  std::filesystem::path m_folder;
};

struct LoadCase {
  const char* what;
  std::string bytes;
  bool loads;
  std::wstring value;       // attribute v of the root element
  std::wstring diagnostic;  // an entry the diagnostics must hold
};

TEST_F(XmlDocumentFile, EncodingsAreDetectedAndConverted) {
  const std::wstring wideText = L"<?xml version=\"1.0\" encoding=\"UTF-16\"?>\r\n<a v=\"\u00DC\u20AC\U0001F600\"/>";
  const std::wstring wideValue = L"\u00DC\u20AC\U0001F600";
  const LoadCase cases[] = {
      {"utf-8 mark beats the declaration",
       "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><a v=\"\xC3\x9C\"/>", true, L"\u00DC",
       L"<bom encoding=\"UTF-8\"/>"},
      {"utf-16le with mark", "\xFF\xFE" + Utf16Bytes(wideText, false), true, wideValue, L"<bom encoding=\"UTF-16LE\"/>"},
      {"utf-16be with mark", "\xFE\xFF" + Utf16Bytes(wideText, true), true, wideValue, L"<endian_swap/>"},
      {"utf-16le without mark", Utf16Bytes(L"<a v=\"\u00E9\"/>", false), true, L"\u00E9",
       L"<utf16_detection encoding=\"UTF-16LE\"/>"},
      {"utf-16be without mark", Utf16Bytes(L"<a v=\"\u00E9\"/>", true), true, L"\u00E9",
       L"<utf16_detection encoding=\"UTF-16BE\"/>"},
      {"latin-1 declared", "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\r\n<a v=\"\xDC\xE9\x80\"/>", true,
       L"\u00DC\u00E9\u0080", L"<converted_to encoding=\"ISO-8859-1\" length=\"57\"/>"},
      {"windows-1252 declared", "<?xml version='1.0' encoding='Windows-1252'?><a v=\"\x80\x9F\"/>", true,
       L"\u20AC\u0178", L""},
      {"shift_jis declared", "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?><a v=\"\x93\xFA\x96\x7B\"/>", true,
       L"\u65E5\u672C", L""},
      {"html meta charset", "<html v=\"\xB1\"><head><meta http-equiv=\"content-type\" "
                            "content=\"text/html; charset=ISO-8859-2\"/></head></html>",
       true, L"\u0105", L""},
      {"unknown name means the 8-bit code page", "<?xml version=\"1.0\" encoding=\"x-bogus\"?><a v=\"\xE9\"/>", true,
       L"\u00E9", L""},
      {"windows-1252 without declaration", "<a v=\"\x80\xE9\x9F caf\xE9\"/>", true, L"\u20AC\u00E9\u0178 caf\u00E9",
       L"<utf8_detection encoding=\"WINDOWS-1252\"/>"},
      {"windows-1252 after a line break", "\r\n<a v=\"\xE9\"/>", true, L"\u00E9", L""},
      {"utf-8 without declaration", "<a v=\"\xC3\x9C\xE2\x82\xAC\"/>", true, L"\u00DC\u20AC",
       L"<utf8_detection encoding=\"UTF-8\"/>"},
      {"utf-16 declared in 8-bit text", "<?xml version=\"1.0\" encoding=\"UTF-16\"?><a v=\"\xC3\x9C\"/>", true,
       L"\u00DC", L""},
      {"nul bytes are dropped", std::string("<a\0 v=\"1\"\0/>", 12), true, L"1", L"<nulls_removed count=\"2\"/>"},
      {"odd last byte of utf-16", "\xFF\xFE" + Utf16Bytes(L"<a v=\"1\"/>", false) + "x", true, L"1", L""},
      {"empty file", "", false, L"", L"<read encoding=\"\" length=\"0\"/>"},
      {"declaration only", "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n", false, L"", L"<no_root_element"},
      {"two roots", "<a v=\"1\"/><b/>", false, L"1", L"<root_has_sibling offset=\"10\"/>"},
      {"stray end tag", "<a v=\"1\"></x></a>", false, L"1", L"<lone_end_tag tagname=\"x\""},
  };
  for (const auto& c : cases) {
    XmlDocument doc;
    EXPECT_EQ(doc.LoadFile(Write("in.xml", c.bytes)), c.loads) << c.what << "\n" << doc.Diagnostics();
    doc.FindElement(L"");
    EXPECT_EQ(doc.GetAttribute(L"v"), c.value) << c.what;
    EXPECT_NE(doc.Diagnostics().find(c.diagnostic), std::wstring::npos) << c.what << "\n" << doc.Diagnostics();
  }
}

TEST_F(XmlDocumentFile, EightBitFallbackFollowsTheLocale) {
  // A locale of its own, so that the test does not depend on what the
  // machine has installed.
  const std::string command = "localedef -i en_US -f ISO-8859-15 '" + (m_folder / "en_US.ISO-8859-15").string() +
                              "' >/dev/null 2>&1";
  if (std::system(command.c_str()) != 0) GTEST_SKIP() << "localedef cannot build a locale here";
  setenv("LOCPATH", m_folder.c_str(), 1);
  setenv("LC_ALL", "en_US.ISO-8859-15", 1);
  XmlDocument doc;
  const bool loaded = doc.LoadFile(Write("in.xml", "<a v=\"\xA4\xBD\"/>"));
  const std::wstring value = doc.FindElement(L"a") ? doc.GetAttribute(L"v") : L"";
  const std::wstring diagnostics = doc.Diagnostics();
  unsetenv("LOCPATH");
  setenv("LC_ALL", "C.UTF-8", 1);
  EXPECT_TRUE(loaded);
  EXPECT_EQ(value, L"\u20AC\u0153");  // the euro and oe of Latin-9, not Latin-1's currency sign and one half
  EXPECT_NE(diagnostics.find(L"<utf8_detection encoding=\"ISO-8859-15\"/>"), std::wstring::npos) << diagnostics;
}

TEST_F(XmlDocumentFile, SaveKeepsTheLoadedFormByteForByte) {
  const std::wstring text = L"<?xml version=\"1.0\" encoding=\"UTF-16\"?>\r\n<a v=\"\u00DC\U0001F600\"/>\r\n";
  const std::string forms[] = {
      "\xFF\xFE" + Utf16Bytes(text, false),
      "\xFE\xFF" + Utf16Bytes(text, true),
      "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><a v=\"\xC3\x9C\"/>",
      "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\r\n<a v=\"\xDC\xE9\"/>\r\n",
      "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?><a v=\"\x93\xFA\x96\x7B\"/>",
      "<a v=\"\xC3\x9C\"/>",
  };
  for (const auto& bytes : forms) {
    XmlDocument doc;
    ASSERT_TRUE(doc.LoadFile(Write("in.xml", bytes))) << bytes;
    ASSERT_TRUE(doc.SaveFile(PathOf("out.xml"))) << doc.Diagnostics();
    EXPECT_EQ(Read(PathOf("out.xml")), bytes);
  }
}

TEST_F(XmlDocumentFile, UnrepresentableCharactersAreReportedAsLoss) {
  XmlDocument doc;
  ASSERT_TRUE(doc.LoadFile(Write("in.xml", "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><a/>")));
  ASSERT_TRUE(doc.FindElement(L"a"));
  ASSERT_TRUE(doc.SetAttribute(L"v", L"\u00E9\u20AC"));
  ASSERT_TRUE(doc.SaveFile(PathOf("out.xml")));
  EXPECT_EQ(Read(PathOf("out.xml")), "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><a v=\"\xE9?\"/>");
  EXPECT_NE(doc.Diagnostics().find(L"<conversion_loss"), std::wstring::npos);
  EXPECT_EQ(doc.Diagnostics().find(L"<file_error"), std::wstring::npos);
}

TEST_F(XmlDocumentFile, BuiltDocumentIsSavedAsDeclaredWithoutMark) {
  XmlDocument doc;
  doc.SetText(L"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n");
  ASSERT_TRUE(doc.AddElement(L"a"));
  ASSERT_TRUE(doc.SetAttribute(L"v", L"\u00DC\u20AC"));
  ASSERT_TRUE(doc.SaveFile(PathOf("utf8.xml")));
  EXPECT_EQ(Read(PathOf("utf8.xml")), "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<a v=\"\xC3\x9C\xE2\x82\xAC\"/>\r\n");
  EXPECT_NE(doc.Diagnostics().find(L"<write encoding=\"UTF-8\" length=\"56\"/>"), std::wstring::npos) << doc.Diagnostics();

  doc.SetText(L"<?xml version=\"1.0\" encoding=\"iso-8859-1\"?><a v=\"\u00DC\"/>");
  ASSERT_TRUE(doc.SaveFile(PathOf("latin1.xml")));
  EXPECT_EQ(Read(PathOf("latin1.xml")), "<?xml version=\"1.0\" encoding=\"iso-8859-1\"?><a v=\"\xDC\"/>");

  doc.SetText(L"<a v=\"\u00DC\"/>");
  ASSERT_TRUE(doc.SaveFile(PathOf("plain.xml")));
  EXPECT_EQ(Read(PathOf("plain.xml")), "<a v=\"\xC3\x9C\"/>");
}

TEST_F(XmlDocumentFile, MacroFileBytes) {
  XmlDocument doc;
  doc.SetText(L"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n");
  ASSERT_TRUE(doc.AddElement(L"macro"));
  ASSERT_TRUE(doc.EnterElement());
  ASSERT_TRUE(doc.AddElement(L"macroinfo"));
  ASSERT_TRUE(doc.SetAttribute(L"name", L"M\u00FC"));
  ASSERT_TRUE(doc.SetAttribute(L"times", 1));
  ASSERT_TRUE(doc.SetAttribute(L"type", 0));
  ASSERT_TRUE(doc.SetAttribute(L"delaytime", 10));
  ASSERT_TRUE(doc.AddElement(L"macroitems"));
  ASSERT_TRUE(doc.EnterElement());
  for (int value : {65, 66}) {
    ASSERT_TRUE(doc.AddElement(L"item"));
    ASSERT_TRUE(doc.SetAttribute(L"desc", L"\u20AC"));
    ASSERT_TRUE(doc.SetAttribute(L"type", 1));
    ASSERT_TRUE(doc.SetAttribute(L"value", value));
    ASSERT_TRUE(doc.SetAttribute(L"delay_time", 5));
  }
  ASSERT_TRUE(doc.SaveFile(PathOf("macro.xml")));
  EXPECT_EQ(Read(PathOf("macro.xml")),
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
            "<macro>\r\n"
            "<macroinfo name=\"M\xC3\xBC\" times=\"1\" type=\"0\" delaytime=\"10\"/>\r\n"
            "<macroitems>\r\n"
            "<item desc=\"\xE2\x82\xAC\" type=\"1\" value=\"65\" delay_time=\"5\"/>\r\n"
            "<item desc=\"\xE2\x82\xAC\" type=\"1\" value=\"66\" delay_time=\"5\"/>\r\n"
            "</macroitems>\r\n"
            "</macro>\r\n");
  XmlDocument reread;
  ASSERT_TRUE(reread.LoadFile(PathOf("macro.xml")));
  ASSERT_TRUE(reread.FindElement(L"macro") && reread.EnterElement() && reread.FindElement(L"macroinfo"));
  EXPECT_EQ(reread.GetAttribute(L"name"), L"M\u00FC");
}

TEST_F(XmlDocumentFile, FileErrorsFailWithTheSystemReason) {
  XmlDocument doc;
  doc.SetText(L"<a/>");
  EXPECT_FALSE(doc.LoadFile(PathOf("missing.xml")));
  EXPECT_EQ(doc.GetText(), L"");
  EXPECT_EQ(doc.Diagnostics(), L"<file_error msg=\"No such file or directory\" n=\"2\"/>");
  EXPECT_FALSE(doc.FindElement(L"a"));

  // A device without end is refused, not read until the memory runs out.
  EXPECT_FALSE(doc.LoadFile(L"/dev/zero"));
  EXPECT_EQ(doc.Diagnostics(), L"<file_error msg=\"File too large\" n=\"27\"/>");
  EXPECT_EQ(doc.GetText(), L"");

  EXPECT_FALSE(doc.LoadFile(m_folder.wstring()));
  EXPECT_NE(doc.Diagnostics().find(L"<file_error msg=\"Is a directory\" n=\"21\"/>"), std::wstring::npos);

  doc.SetText(L"<a/>");
  EXPECT_FALSE(doc.SaveFile(PathOf("no/such/folder.xml")));
  EXPECT_NE(doc.Diagnostics().find(L"<file_error"), std::wstring::npos);
  // stdio holds the few bytes until the close: the full disk shows only there.
  EXPECT_FALSE(doc.SaveFile(L"/dev/full"));
  EXPECT_NE(doc.Diagnostics().find(L"n=\"28\""), std::wstring::npos) << doc.Diagnostics();
}

}  // namespace
