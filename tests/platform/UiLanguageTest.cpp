#include "platform/UiLanguage.h"

#include <gtest/gtest.h>

#include "tests/platform/TempFolder.h"

namespace {

TEST(UiLanguage, LocaleNamesMapToLanguageIds) {
  const std::pair<const char*, int> cases[] = {
      {"en_US.UTF-8", 1033}, {"tr_TR.UTF-8", 1055}, {"de_DE.UTF-8", 1031},
      {"de_DE@euro", 1031},  {"fr_FR", 1036},       {"es_ES.ISO-8859-1", 3082},
      {"it_IT", 1040},       {"ja_JP.eucJP", 1041}, {"ko_KR.UTF-8", 1042},
      {"zh_CN.GB18030", 2052}, {"zh_TW.Big5", 1028}, {"ru_RU.KOI8-R", 1049},
      {"pt_BR.UTF-8", 1046}, {"pt_PT", 2070},       {"pl_PL", 1045},
      {"nl_NL", 1043},       {"en_GB.UTF-8", 2057},
      // A territory the table lacks falls back to the language.
      {"de_BE.UTF-8", 1031}, {"es_PE", 3082},       {"fr", 1036},
      {"zh_XX", 2052},
      // Nothing known: English.
      {"C", 1033}, {"POSIX", 1033}, {"C.UTF-8", 1033}, {"", 1033},
      {"eo.UTF-8", 1033}, {"_DE", 1033}, {"xx_DE", 1033},
  };
  for (const auto& [locale, lcid] : cases) {
    EXPECT_EQ(platform::LcidFromLocale(locale), lcid) << locale;
  }
}

TEST(UiLanguage, FirstSetLocaleVariableDecides) {
  struct Case {
    std::optional<std::string> all, messages, lang;
    int expected;
  };
  const Case cases[] = {
      {"de_DE.UTF-8", "fr_FR", "ja_JP", 1031},
      {std::nullopt, "fr_FR", "ja_JP", 1036},
      {std::string(""), std::string(""), "ja_JP", 1041},  // empty is unset
      {"C", std::nullopt, "tr_TR.UTF-8", 1033},           // C is a choice
      {std::nullopt, std::nullopt, std::nullopt, 1033},
  };
  for (const auto& c : cases) {
    ScopedEnv all("LC_ALL", c.all);
    ScopedEnv messages("LC_MESSAGES", c.messages);
    ScopedEnv lang("LANG", c.lang);
    EXPECT_EQ(platform::UserDefaultUILanguage(), c.expected);
  }
}

}  // namespace
