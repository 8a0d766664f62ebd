#include <gtest/gtest.h>

#include <climits>
#include <fstream>
#include <sstream>

#include "StoreTestSupport.h"
#include "platform/TextConvert.h"
#include "store/MacroFile.h"
#include "store/ProfileFile.h"
#include "store/SettingsStore.h"

namespace {

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

class ExchangeFiles : public testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(m_store.Open(m_folder.Wide(), kKeyboard)); }

  std::wstring File(const std::string& name) const { return platform::FromUtf8(m_folder.Path() + name); }

  // Writes `bytes` to a file of that name in the test folder.
  std::wstring Given(const std::string& name, const std::string& bytes) const {
    WriteBytes(m_folder.Path() + name, bytes);
    return File(name);
  }

  // The rows of every table an import may touch, to see that nothing moved.
  std::string Counts() {
    return Scalar(m_store, "SELECT (SELECT count(*) FROM t_profile_data) || ' ' || "
                           "(SELECT count(*) FROM t_macro_data) || ' ' || "
                           "(SELECT count(*) FROM t_macrorecord) || ' ' || "
                           "(SELECT count(*) FROM t_key_macro_data) || ' ' || "
                           "(SELECT group_concat(status) FROM t_profile_data)");
  }

  // Profile "Oyun Ş" with two assignments of layer 0 (one playing macro
  // "Burst"), one of layer 1, and a macro of two events.
  int MakeKnownProfile() {
    const int macro = m_store.DbInsertMacro({0, L"Burst", 0, 2, 3, 15});
    std::vector<MacroEvent> events = {{0, macro, 2, 0, 65, 10, L"A"}, {0, macro, 3, 1, 65, 0, L"A"}};
    m_store.DbAddMacroEvents(events);
    const int profile = m_store.DbAddProfile({0, L"Oyun \u015E", L"", 0, 0});
    m_store.DbSaveKeyAssignment({0, profile, 0, 0x04, 4, L"A", 1, 5, 0, 0, L"B"});
    m_store.DbSaveKeyAssignment({0, profile, 0, 0x3A, 58, L"F1", kMacroAssignmentType, macro, 0, 0,
                                 L"Burst & <go>"});
    m_store.DbSaveKeyAssignment({0, profile, 1, 0x05, 5, L"B", 1, 6, 0, 0, L"C"});
    return profile;
  }

  TempFolder m_folder;
  SettingsStore m_store;
};

TEST_F(ExchangeFiles, ProfileExportIsByteExact) {
  const int profile = MakeKnownProfile();
  ASSERT_EQ(ExportProfile(m_store, File("out.xml"), profile, L"Oyun \u015E"), ExportResult::Saved);
  EXPECT_EQ(ReadBytes(m_folder.Path() + "out.xml"),
            ReadBytes(KESTREL_SOURCE_DIR "/tests/store/golden/profile_export.xml"));
}

TEST_F(ExchangeFiles, EmptyListsAreWrittenSelfClosing) {
  const int profile = m_store.DbAddProfile({0, L"Empty", L"", 0, 0});
  ASSERT_EQ(ExportProfile(m_store, File("p.xml"), profile, L"Empty"), ExportResult::Saved);
  EXPECT_EQ(ReadBytes(m_folder.Path() + "p.xml"),
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<profile>\r\n<profileinfo name=\"Empty\"/>\r\n"
            "<keyitems/>\r\n</profile>\r\n");
  const int macro = m_store.DbInsertMacro({0, L"Quiet \"one\"", 0, 1, 2, 0});
  ASSERT_EQ(ExportMacro(m_store, File("m.xml"), macro), ExportResult::Saved);
  EXPECT_EQ(ReadBytes(m_folder.Path() + "m.xml"),
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<macro>\r\n"
            "<macroinfo name=\"Quiet &quot;one&quot;\" times=\"1\" type=\"2\" delaytime=\"0\"/>\r\n"
            "<macroitems/>\r\n</macro>\r\n");
}

TEST_F(ExchangeFiles, ExportWithoutSelectionOrTargetSaysSo) {
  const int macro = m_store.DbAddMacro(L"M");
  EXPECT_EQ(ExportProfile(m_store, File("p.xml"), 0, L""), ExportResult::NothingSelected);
  EXPECT_EQ(ExportMacro(m_store, File("m.xml"), -1), ExportResult::NothingSelected);
  EXPECT_EQ(ExportMacro(m_store, File("m.xml"), macro + 1), ExportResult::ReadFailed);
  EXPECT_EQ(ExportMacro(m_store, File("absent/m.xml"), macro), ExportResult::SaveFailed);
  EXPECT_EQ(FilesIn(m_folder.Path()), std::vector<std::string>{"db"});
}

TEST_F(ExchangeFiles, ProfileImportMapsMacrosAndKeepsTheFilesAssignments) {
  m_store.DbAddMacro(L"Already here");  // so that the new macro's id differs from the file's
  const int before = m_store.DbAddProfile({0, L"Before", L"", 0, 0});
  m_store.DbSetCurrentProfile(before);
  // Macros before keyitems, an item of layer 1, a macro_value naming no
  // macroinfo, an item that assigns nothing and a key given twice.
  const std::wstring path = Given("Gaming.second.xml",
                                  "<profile>\r\n"
                                  "<macroinfo name=\"M\" macro_id=\"7\" times=\"3\" type=\"1\" delaytime=\"4\">"
                                  "<macroitems><item desc=\"X\" type=\"2\" value=\"88\" delay_time=\"5\"/>"
                                  "<item desc=\"X\" type=\"3\" value=\"88\" delay_time=\"6\"/></macroitems>"
                                  "</macroinfo>\r\n"
                                  "<profileinfo name=\"not used\"/>\r\n"
                                  "<keyitems>\r\n"
                                  "<item fn_layer=\"0\" key_code=\"4\" macro_type=\"3\" macro_value=\"7\" macro_desc=\"M\"/>\r\n"
                                  "<item fn_layer=\"1\" key_code=\"5\" macro_type=\"1\" macro_value=\"9\"/>\r\n"
                                  "<item fn_layer=\"0\" key_code=\"6\" macro_type=\"3\" macro_value=\"42\"/>\r\n"
                                  "<item fn_layer=\"0\" key_code=\"7\" macro_type=\"1\" macro_value=\"0\"/>\r\n"
                                  "<item fn_layer=\"0\" key_code=\"8\" macro_type=\"1\" macro_value=\"1\"/>\r\n"
                                  "<item fn_layer=\"0\" key_code=\"8\" macro_type=\"1\" macro_value=\"2\" layout_desc=\"&#65;\"/>\r\n"
                                  "</keyitems>\r\n"
                                  "</profile>\r\n");
  const ProfileImport result = ImportProfile(m_store, path);
  ASSERT_TRUE(result.imported);
  EXPECT_EQ(result.name, L"Gaming");
  ASSERT_EQ(result.macros.size(), 1u);
  const int macro = result.macros[0].macro_id;
  EXPECT_EQ(macro, 2);
  EXPECT_EQ(result.macros[0].name, L"M");
  EXPECT_EQ(m_store.DbGetCurrentProfile(), result.profile);
  std::wstring name;
  ASSERT_TRUE(m_store.DbGetProfileName(result.profile, name));
  EXPECT_EQ(name, L"Gaming");

  Macro stored;
  ASSERT_TRUE(m_store.DbGetMacro(macro, stored));
  EXPECT_EQ(stored.play_times, 3);
  EXPECT_EQ(stored.delay_type, 1);
  EXPECT_EQ(stored.delay_time, 4);
  std::vector<MacroEvent> events;
  ASSERT_EQ(m_store.DbListMacroEvents(macro, events), 2);
  EXPECT_EQ(events[1].record_index, 1);
  EXPECT_EQ(events[1].type, 3);
  EXPECT_EQ(events[1].value, 88);
  EXPECT_EQ(events[1].delay_time, 6);
  EXPECT_EQ(events[1].desc, L"X");

  const std::string id = std::to_string(result.profile);
  EXPECT_EQ(Rows(m_store, "SELECT fn_layer, key_code, macro_type, macro_value, layout_desc FROM t_key_macro_data "
                          "WHERE profile = " + id + " ORDER BY fn_layer, key_code"),
            (std::vector<std::vector<std::string>>{{"0", "4", "3", std::to_string(macro), ""},
                                                   {"0", "6", "3", "42", ""},
                                                   {"0", "8", "1", "2", "A"},
                                                   {"1", "5", "1", "9", ""}}));
}

TEST_F(ExchangeFiles, ImportingTwiceSkipsOnlyMacrosWithTheSameNameAndId) {
  const int profile = MakeKnownProfile();
  ASSERT_EQ(ExportProfile(m_store, File("Twice.xml"), profile, L"Twice"), ExportResult::Saved);

  // Same database: "Burst" with the file's id is there, so it is not added.
  ProfileImport first = ImportProfile(m_store, File("Twice.xml"));
  ASSERT_TRUE(first.imported);
  EXPECT_TRUE(first.macros.empty());
  KeyAssignment plays;
  ASSERT_TRUE(m_store.DbGetKeyAssignment(first.profile, 0, 0x3A, plays));
  EXPECT_EQ(plays.macro_value, 1);

  // Renamed, the stored macro no longer matches: the file's macro comes in
  // again and the keys play the new copy.
  ASSERT_TRUE(m_store.DbRenameMacro(1, L"Burst renamed"));
  ProfileImport second = ImportProfile(m_store, File("Twice.xml"));
  ASSERT_TRUE(second.imported);
  ASSERT_EQ(second.macros.size(), 1u);
  EXPECT_EQ(second.macros[0].name, L"Burst");
  EXPECT_GT(second.macros[0].macro_id, 1);
  ASSERT_TRUE(m_store.DbGetKeyAssignment(second.profile, 0, 0x3A, plays));
  EXPECT_EQ(plays.macro_value, second.macros[0].macro_id);
  EXPECT_EQ(m_store.DbCountMacroKeyEvents(second.macros[0].macro_id), 2);
  EXPECT_NE(second.profile, first.profile);
}

TEST_F(ExchangeFiles, MacroPlayedByTwoKeysIsImportedOnce) {
  const int profile = MakeKnownProfile();
  m_store.DbSaveKeyAssignment({0, profile, 0, 0x3B, 59, L"F2", kMacroAssignmentType, 1, 0, 0, L"Burst"});
  ASSERT_EQ(ExportProfile(m_store, File("Two.xml"), profile, L"Two"), ExportResult::Saved);
  ASSERT_NE(ReadBytes(m_folder.Path() + "Two.xml").find("</macroinfo>\r\n<macroinfo name=\"Burst\""),
            std::string::npos);

  TempFolder other;
  SettingsStore target;
  ASSERT_TRUE(target.Open(other.Wide(), kKeyboard));
  target.DbAddMacro(L"Taken id");
  const ProfileImport result = ImportProfile(target, File("Two.xml"));
  ASSERT_TRUE(result.imported);
  ASSERT_EQ(result.macros.size(), 1u);
  std::vector<Macro> macros;
  EXPECT_EQ(target.DbListMacros(macros), 2);
  std::vector<KeyAssignment> keys;
  ASSERT_EQ(target.DbListKeyAssignments(result.profile, 0, keys), 3);
  EXPECT_EQ(keys[1].macro_value, result.macros[0].macro_id);
  EXPECT_EQ(keys[2].macro_value, result.macros[0].macro_id);
}

TEST_F(ExchangeFiles, UnreadableFilesImportNothing) {
  MakeKnownProfile();
  const std::string counts = Counts();
  struct Case {
    const char* what;
    const char* bytes;  // null: no file at all
  };
  const Case cases[] = {
      {"missing", nullptr},
      {"empty", ""},
      {"not well-formed", "<profile><keyitems><item key_code=\"4\" macro_value=\"1\"/></profile>"},
      {"two roots", "<profile/><profile/>"},
      {"profile file given to the macro import", "<profile><macroinfo times=\"1\"/></profile>"},
      {"macro file given to the profile import", "<macro><macroinfo name=\"a\" macro_id=\"1\"/></macro>"},
      {"other root", "<Profile><keyitems/></Profile>"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::wstring path = c.bytes != nullptr ? Given("Bad.xml", c.bytes) : File("Absent.xml");
    const bool macroFile = std::string(c.what).find("macro import") != std::string::npos;
    const bool profileFile = std::string(c.what).find("profile import") != std::string::npos;
    if (!profileFile) {
      EXPECT_FALSE(ImportMacro(m_store, path).imported);
    }
    if (!macroFile) {
      EXPECT_FALSE(ImportProfile(m_store, path).imported);
    }
    EXPECT_EQ(Counts(), counts);
  }
}

TEST_F(ExchangeFiles, ImportThatFailsHalfWayLeavesTheStoreAsItWas) {
  const int profile = MakeKnownProfile();
  m_store.DbSetCurrentProfile(profile);
  ASSERT_EQ(ExportProfile(m_store, File("Half.xml"), profile, L"Half"), ExportResult::Saved);
  const std::string counts = Counts();
  // The second key item (F1) cannot be stored, as on a full disk.
  ASSERT_EQ(m_store.Exec("CREATE TRIGGER refuse BEFORE INSERT ON t_key_macro_data WHEN NEW.key_code = 58 "
                         "BEGIN SELECT RAISE(ABORT, 'refused'); END;"),
            0);
  ASSERT_TRUE(m_store.DbRenameMacro(1, L"so that the macro is imported"));
  EXPECT_FALSE(ImportProfile(m_store, File("Half.xml")).imported);
  EXPECT_EQ(Counts(), counts);
  EXPECT_EQ(m_store.DbGetCurrentProfile(), profile);

  ASSERT_EQ(m_store.Exec("CREATE TRIGGER refuse_events BEFORE INSERT ON t_macrorecord WHEN NEW.record_index = 1 "
                         "BEGIN SELECT RAISE(ABORT, 'refused'); END;"),
            0);
  const std::wstring macroFile = Given("Two.xml",
                                       "<macro><macroinfo times=\"1\" type=\"1\" delaytime=\"0\"/><macroitems>"
                                       "<item desc=\"a\" type=\"2\" value=\"1\" delay_time=\"0\"/>"
                                       "<item desc=\"a\" type=\"3\" value=\"1\" delay_time=\"0\"/>"
                                       "</macroitems></macro>");
  EXPECT_FALSE(ImportMacro(m_store, macroFile).imported);
  EXPECT_EQ(Counts(), counts);
}

TEST_F(ExchangeFiles, MacroImportIsNamedAfterTheFile) {
  const std::string bytes =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<macro>\r\n"
      "<macroinfo name=\"not used\" times=\"3\" type=\"3\" delaytime=\"20\"/>\r\n<macroitems>\r\n"
      "<item desc=\"Ctrl\" type=\"2\" value=\"17\" delay_time=\"7\"/>\r\n"
      "<item desc=\"Ctrl\" type=\"3\" value=\"17\" delay_time=\"8\"/>\r\n"
      "<item desc=\"Wheel\" type=\"1\" value=\"-120\" delay_time=\"0\"/>\r\n"
      "</macroitems>\r\n</macro>\r\n";
  const struct {
    const char* file;
    const wchar_t* name;
  } cases[] = {{"Fire.v2.xml", L"Fire"}, {"no extension", L""}, {".hidden.xml", L""}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    const MacroImport result = ImportMacro(m_store, Given(c.file, bytes));
    ASSERT_TRUE(result.imported);
    EXPECT_EQ(result.name, c.name);
    Macro macro;
    ASSERT_TRUE(m_store.DbGetMacro(result.macro_id, macro));
    EXPECT_EQ(macro.name, c.name);
    EXPECT_EQ(macro.play_times, 3);
    EXPECT_EQ(macro.delay_type, 3);
    EXPECT_EQ(macro.delay_time, 20);
    EXPECT_EQ(macro.link_count, 0);
    std::vector<MacroEvent> events;
    ASSERT_EQ(m_store.DbListMacroEvents(result.macro_id, events), 3);
    EXPECT_EQ(events[2].record_index, 2);
    EXPECT_EQ(events[2].value, -120);
    EXPECT_EQ(events[0].delay_time, 7);
    EXPECT_EQ(events[0].desc, L"Ctrl");
    EXPECT_EQ(m_store.DbCountMacroKeyEvents(result.macro_id), 2);
  }
  // A macro exported and imported again comes back with the same content.
  ASSERT_EQ(ExportMacro(m_store, File("again.xml"), 1), ExportResult::Saved);
  const std::string exported = ReadBytes(m_folder.Path() + "again.xml");
  EXPECT_NE(exported.find("<macroinfo name=\"Fire\" times=\"3\" type=\"3\" delaytime=\"20\"/>\r\n<macroitems>\r\n"
                          "<item desc=\"Ctrl\" type=\"2\" value=\"17\" delay_time=\"7\"/>\r\n"),
            std::string::npos)
      << exported;
}

TEST(ExchangeText, NumbersAreReadAsDecimal) {
  const std::pair<const wchar_t*, int> cases[] = {
      {L"", 0},           {L"12", 12},          {L" \t-7x", -7},        {L"+3", 3},
      {L"abc", 0},        {L"0x1F", 0},         {L"2147483647", INT_MAX}, {L"99999999999", INT_MAX},
      {L"-2147483648", INT_MIN}, {L"-99999999999999999999", INT_MIN}, {L"- 5", 0},
  };
  for (const auto& [text, value] : cases) {
    EXPECT_EQ(ParseDecimal(text), value) << platform::ToUtf8(text);
  }
}

TEST(ExchangeText, NameIsTheFileNameUpToItsFirstDot) {
  const std::pair<const wchar_t*, const wchar_t*> cases[] = {
      {L"/home/u/Gaming.xml", L"Gaming"},   {L"/home/u/Gaming.second.xml", L"Gaming"},
      {L"/home/u.v/Plain", L""},            {L"Work.xml", L"Work"},
      {L"/home/u/\u015Eey.xml", L"\u015Eey"}, {L"/home/u/.xml", L""},
  };
  for (const auto& [path, name] : cases) {
    EXPECT_EQ(NameFromFileName(path), name) << platform::ToUtf8(path);
  }
}

}  // namespace
