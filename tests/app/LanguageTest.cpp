#include "app/Language.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

namespace fs = std::filesystem;

// A private language folder per test, removed afterwards.
class LanguageFileTest : public testing::Test {
 protected:
  void SetUp() override {
    std::string templ = (fs::temp_directory_path() / "kestrel-lang-XXXXXX").string();
    ASSERT_NE(mkdtemp(templ.data()), nullptr);
    m_dir = templ;
  }
  void TearDown() override { fs::remove_all(m_dir); }

  void Write(int languageId, const std::string& bytes) {
    std::ofstream out(m_dir / (std::to_string(languageId) + ".lan"), std::ios::binary);
    out << bytes;
  }
  std::wstring Folder() const { return m_dir.wstring() + L"/"; }
  std::wstring Read(int languageId, int id, const std::wstring& section = kLanguageSection) {
    return ReadLanguageString(Folder(), languageId, section, id);
  }

  fs::path m_dir;
};

TEST_F(LanguageFileTest, FindsTextsByDecimalKeyInTheirSection) {
  Write(1033,
        "; comment line\r\n"
        "[Other]\r\n"
        "65=wrong section\r\n"
        "[kb.dialog]\r\n"
        "0065=leading zeros are another key\r\n"
        "  65 =  Profile  \r\n"
        "66=\"  quoted keeps blanks \"\r\n"
        "67=\r\n"
        "68=a=b\r\n"
        "65=second copy is not read\r\n"
        "[Next]\r\n"
        "69=after the section\r\n");
  const struct {
    int id;
    std::wstring expected;
  } cases[] = {
      {65, L"Profile"},           // blanks around key and value dropped; first entry wins
      {66, L"  quoted keeps blanks "},
      {67, L""},                  // present but empty
      {68, L"a=b"},               // only the first '=' separates
      {69, L""},                  // belongs to another section
      {70, L""},                  // missing key
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Read(1033, c.id), c.expected) << c.id;
  }
  EXPECT_EQ(Read(1033, 65, L"Missing"), L"");
  EXPECT_EQ(Read(1033, 65, L"Other"), L"wrong section");
}

TEST_F(LanguageFileTest, LeadingZeroKeyIsNotFoundForItsNumber) {
  Write(1033, "[KB.DIALOG]\n0065=zero-padded\n");
  EXPECT_EQ(Read(1033, 65), L"");
}

TEST_F(LanguageFileTest, MissingFileGivesEmptyText) {
  Write(1033, "[KB.DIALOG]\n65=Profile\n");
  EXPECT_EQ(Read(1031, 65), L"");
  EXPECT_EQ(ReadLanguageString(Folder() + L"nowhere/", 1033, kLanguageSection, 65), L"");
}

TEST_F(LanguageFileTest, DecodesEveryAcceptedEncoding) {
  const std::wstring turkish = L"Profil \u015F\u011F\u0131\u00FC";  // ş ğ ı ü
  const std::string utf8 = "[KB.DIALOG]\r\n65=Profil \xC5\x9F\xC4\x9F\xC4\xB1\xC3\xBC\r\n";

  auto utf16 = [&](bool bigEndian) {
    const std::wstring text = L"[KB.DIALOG]\r\n65=" + turkish + L"\r\n";
    std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (wchar_t c : text) {
      const char hi = static_cast<char>((c >> 8) & 0xFF), lo = static_cast<char>(c & 0xFF);
      bytes += bigEndian ? std::string{hi, lo} : std::string{lo, hi};
    }
    return bytes;
  };

  const struct {
    const char* name;
    std::string bytes;
    std::wstring expected;
  } cases[] = {
      {"utf-8", utf8, turkish},
      {"utf-8 with mark", "\xEF\xBB\xBF" + utf8, turkish},
      {"utf-16le with mark", utf16(false), turkish},
      {"utf-16be with mark", utf16(true), turkish},
      // Not valid UTF-8: read in the 8-bit code page (Windows-1252 in the
      // test's C locale), where 0xFC is u with diaeresis and 0x80 the euro.
      {"ansi", "[KB.DIALOG]\r\n65=Gr\xFC\xDF \x80\r\n", L"Gr\u00FC\u00DF \u20AC"},
  };
  for (const auto& c : cases) {
    Write(1055, c.bytes);
    EXPECT_EQ(Read(1055, 65), c.expected) << c.name;
  }
}

TEST_F(LanguageFileTest, LongTextsAreCutTo259Characters) {
  const std::string value(300, 'x');
  Write(1033, "[KB.DIALOG]\n65=" + value + "\n66=" + std::string(259, 'y') + "\n");
  EXPECT_EQ(Read(1033, 65), std::wstring(259, L'x'));
  EXPECT_EQ(Read(1033, 66), std::wstring(259, L'y'));
}

TEST_F(LanguageFileTest, EveryCallReadsTheFileAgain) {
  Write(1033, "[KB.DIALOG]\n65=before\n");
  EXPECT_EQ(Read(1033, 65), L"before");
  Write(1033, "[KB.DIALOG]\n65=after\n");
  EXPECT_EQ(Read(1033, 65), L"after");
  std::filesystem::remove(m_dir / "1033.lan");
  EXPECT_EQ(Read(1033, 65), L"");
}

TEST(LanguageDecode, DamagedFilesStillDecode) {
  // Truncated UTF-16 and lone bytes must give text, not a crash or a hang.
  EXPECT_EQ(DecodeLanguageFile("\xFF\xFE" "A"), L"");
  EXPECT_EQ(DecodeLanguageFile(std::string_view("\xFF\xFE" "A\0", 4)), L"A");
  EXPECT_EQ(DecodeLanguageFile(""), L"");
}

}  // namespace
