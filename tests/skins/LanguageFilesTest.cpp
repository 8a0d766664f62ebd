#include <gtest/gtest.h>
#include <pango/pangocairo.h>

#include <map>
#include <memory>
#include <regex>
#include <set>

#include "BuiltFiles.h"
#include "app/AppContext.h"
#include "app/Language.h"
#include "model/DeviceDescription.h"
#include "platform/TextConvert.h"

namespace {

using namespace skintest;

constexpr int kEnglish = 1033;
constexpr int kTurkish = 1055;

std::wstring LanguageFolder() { return (RuntimeDir() / "language").wstring() + L"/"; }

std::wstring Text(int language, int id) {
  return ReadLanguageString(LanguageFolder(), language, kLanguageSection, id);
}

// Every key = value line of the shipped file, as written.
std::map<int, std::string> Entries(int language) {
  std::map<int, std::string> entries;
  const std::string text = ReadText(RuntimeDir() / "language" / (std::to_string(language) + ".lan"));
  const std::regex line(R"((?:^|\n)(\d+)=([^\r\n]*))");
  for (std::sregex_iterator it(text.begin(), text.end(), line), end; it != end; ++it) {
    const int id = std::stoi((*it)[1]);
    EXPECT_TRUE(entries.emplace(id, (*it)[2]).second) << "id " << id << " twice in " << language;
  }
  return entries;
}

// The id groups every language file must provide.
std::set<int> RequiredIds() {
  const std::pair<int, int> ranges[] = {
      {1, 2},     {5, 5},     {10, 11},   {20, 20},   {22, 23},   {25, 33},   {50, 53},
      {56, 56},   {60, 61},   {65, 65},   {82, 121},  {150, 153}, {156, 157}, {165, 168},
      {170, 172}, {175, 177}, {201, 202}, {204, 212}, {218, 218}, {220, 220}, {222, 223},
      {227, 228}, {230, 236}, {252, 252}, {270, 279}, {290, 291}, {293, 293}, {295, 295},
      {300, 312}, {316, 323}, {325, 327}, {329, 331}, {335, 337}, {363, 370}, {540, 541},
      {621, 621}, {701, 715},
  };
  std::set<int> ids;
  for (const auto& [first, last] : ranges) {
    for (int id = first; id <= last; ++id) ids.insert(id);
  }
  return ids;
}

// Ids the code looks up: GetLanguageString(section, <number>) anywhere in the
// program, and the light-mode names of every shipped layout.
std::set<int> IdsUsedByTheProgram() {
  std::set<int> ids;
  const std::regex call(R"(GetLanguageString\s*\(\s*[^,()]*,\s*(\d+)\s*\))");
  for (const auto& file : SourceFiles({"app", "toolkit", "model", "device", "store", "lighting",
                                       "macros", "support", "platform"},
                                      {".cpp", ".h"})) {
    const std::string text = ReadText(file);
    for (std::sregex_iterator it(text.begin(), text.end(), call), end; it != end; ++it) {
      ids.insert(std::stoi((*it)[1]));
    }
  }
  for (const auto& path : SourceFiles({"data/layouts"}, {".xml"})) {
    DeviceFeatures features;
    KeyboardLayout layout;
    ReadDeviceDescriptionText(platform::FromUtf8(ReadText(path)), features, layout);
    EXPECT_FALSE(features.light_modes.empty()) << path;
    for (const auto& mode : features.light_modes) ids.insert(std::stoi(mode.name));
  }
  return ids;
}

TEST(LanguageFiles, BothFilesHoldTheSameNonEmptyEntries) {
  const auto english = Entries(kEnglish), turkish = Entries(kTurkish);
  ASSERT_FALSE(english.empty());
  for (const auto& [id, text] : english) {
    EXPECT_TRUE(turkish.count(id)) << id << " is missing in Turkish";
  }
  for (const auto& [id, text] : turkish) {
    EXPECT_TRUE(english.count(id)) << id << " is missing in English";
  }
  for (const auto* entries : {&english, &turkish}) {
    for (const auto& [id, text] : *entries) {
      EXPECT_FALSE(text.empty()) << id;
      EXPECT_EQ(platform::FromUtf8(text).find(L'\uFFFD'), std::wstring::npos) << id << " is not UTF-8";
      EXPECT_LE(platform::FromUtf8(text).size(), kMaxLanguageText) << id;
    }
  }
}

TEST(LanguageFiles, EveryRequiredAndUsedIdHasTextInBothLanguages) {
  std::set<int> ids = RequiredIds();
  const std::set<int> used = IdsUsedByTheProgram();
  ids.insert(used.begin(), used.end());
  for (int id : ids) {
    EXPECT_FALSE(Text(kEnglish, id).empty()) << "English lacks " << id;
    EXPECT_FALSE(Text(kTurkish, id).empty()) << "Turkish lacks " << id;
  }
}

TEST(LanguageFiles, TurkishIsATranslationNotACopy) {
  // Words that are the same in both languages.
  const std::set<int> same = {320};  // "ms"
  const auto english = Entries(kEnglish), turkish = Entries(kTurkish);
  int turkishLetters = 0;
  for (const auto& [id, text] : turkish) {
    if (!same.count(id)) {
      EXPECT_NE(text, english.at(id)) << id << " is not translated";
    }
    for (wchar_t c : platform::FromUtf8(text)) {
      turkishLetters += std::wstring_view(L"çğıöşüÇĞİÖŞÜ").find(c) != std::wstring_view::npos;
    }
  }
  for (int id : same) EXPECT_EQ(turkish.at(id), english.at(id)) << id << " need not be in the list";
  EXPECT_GT(turkishLetters, 100);
}

TEST(LanguageFiles, ProfileAndMacroBasesMatchTheNameTranslation) {
  // A profile stored under one language's base name is shown with the
  // other's: "Profile" <-> "Profil", "Macro" <-> "Makro".
  EXPECT_EQ(Text(kEnglish, 65), L"Profile");
  EXPECT_EQ(Text(kTurkish, 65), L"Profil");
  EXPECT_EQ(Text(kEnglish, 331), L"Macro");
  EXPECT_EQ(Text(kTurkish, 331), L"Makro");
}

struct LayoutDeleter {
  void operator()(PangoLayout* l) const { g_object_unref(l); }
};

// Width in pixels of one line of `text` in the toolkit font.
int TextWidth(const std::wstring& text, int pixelSize) {
  static cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 4, 4);
  static cairo_t* cr = cairo_create(surface);
  std::unique_ptr<PangoLayout, LayoutDeleter> layout(pango_cairo_create_layout(cr));
  PangoFontDescription* desc = pango_font_description_from_string("Noto Sans CJK SC");
  pango_font_description_set_absolute_size(desc, pixelSize * PANGO_SCALE);
  pango_layout_set_font_description(layout.get(), desc);
  pango_font_description_free(desc);
  const std::string utf8 = platform::ToUtf8(text);
  pango_layout_set_text(layout.get(), utf8.c_str(), -1);
  int w = 0, h = 0;
  pango_layout_get_pixel_size(layout.get(), &w, &h);
  return w;
}

// Texts on buttons, tabs and labels must fit the rectangles the pages give
// them, in both languages.  Room = control width less its frame or box.
TEST(LanguageFiles, LabelsFitTheirControls) {
  const struct {
    std::vector<int> ids;
    int pixelSize;
    int room;
    const char* where;
  } cases[] = {
      {{50, 51, 52, 53, 56}, 13, 78, "tab captions"},
      {{60, 61}, 14, 372, "home status"},
      {{152, 153, 156, 157}, 14, 184, "settings buttons"},
      {{151}, 14, 172, "start at login box"},
      {{150}, 14, 155, "language label"},
      {{311, 312, 31, 33}, 14, 100, "macro buttons"},
      {{321, 322}, 14, 110, "record buttons"},
      {{316}, 14, 160, "repeat label"},
      {{317, 318, 319}, 14, 132, "delay radios"},
      {{320}, 14, 40, "unit label"},
      {{323, 335}, 14, 160, "event list titles"},
      {{336}, 14, 100, "event kind column"},
      {{337}, 14, 120, "delay column"},
      {{20}, 14, 240, "message box button"},
      {{23, 25, 22}, 14, 90, "yes, no and confirm"},
      {{171, 170, 173}, 14, 290, "close question"},
      {{201, 206, 209, 202}, 14, 166, "key menu"},
  };
  for (const auto& c : cases) {
    for (int id : c.ids) {
      for (int language : {kEnglish, kTurkish}) {
        const std::wstring text = Text(language, id);
        EXPECT_LE(TextWidth(text, c.pixelSize), c.room)
            << c.where << ": " << platform::ToUtf8(text) << " (" << id << ", " << language << ")";
      }
    }
  }
}

TEST(LanguageFiles, CurrentLanguageSelectsTheFileBesideTheProgram) {
  const int saved = LanguageId.load();
  LanguageId = kTurkish;
  EXPECT_EQ(GetLanguageString(kLanguageSection, 65), L"Profil");
  LanguageId = kEnglish;
  EXPECT_EQ(GetLanguageString(kLanguageSection, 65), L"Profile");
  // A language without a file gives empty texts and nothing else.
  LanguageId = 1031;
  EXPECT_EQ(GetLanguageString(kLanguageSection, 65), L"");
  LanguageId = saved;
}

}  // namespace
