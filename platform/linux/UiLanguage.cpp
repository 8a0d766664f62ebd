#include "platform/UiLanguage.h"

#include <cstdlib>
#include <string>

namespace platform {
namespace {

struct LocaleId {
  std::string_view name;  // "ll_TT" or "ll" for the language's main id
  int lcid;
};

constexpr LocaleId kLocales[] = {
    {"en_US", 1033},  {"en_GB", 2057},  {"en_AU", 3081},  {"en_CA", 4105},
    {"en_NZ", 5129},  {"en_IE", 6153},  {"en_ZA", 7177},  {"en_IN", 16393},
    {"tr_TR", 1055},  {"de_DE", 1031},  {"de_CH", 2055},  {"de_AT", 3079},
    {"de_LU", 4103},  {"fr_FR", 1036},  {"fr_BE", 2060},  {"fr_CA", 3084},
    {"fr_CH", 4108},  {"fr_LU", 5132},  {"es_ES", 3082},  {"es_MX", 2058},
    {"es_AR", 11274}, {"es_CO", 9226},  {"es_CL", 13322}, {"es_US", 21514},
    {"it_IT", 1040},  {"it_CH", 2064},  {"ja_JP", 1041},  {"ko_KR", 1042},
    {"zh_CN", 2052},  {"zh_SG", 4100},  {"zh_TW", 1028},  {"zh_HK", 3076},
    {"zh_MO", 5124},  {"ru_RU", 1049},  {"pt_BR", 1046},  {"pt_PT", 2070},
    {"pl_PL", 1045},  {"nl_NL", 1043},  {"nl_BE", 2067},  {"sv_SE", 1053},
    {"sv_FI", 2077},  {"da_DK", 1030},  {"nb_NO", 1044},  {"nn_NO", 2068},
    {"fi_FI", 1035},  {"cs_CZ", 1029},  {"sk_SK", 1051},  {"hu_HU", 1038},
    {"el_GR", 1032},  {"he_IL", 1037},  {"ar_SA", 1025},  {"ar_EG", 3073},
    {"th_TH", 1054},  {"uk_UA", 1058},  {"vi_VN", 1066},  {"id_ID", 1057},
    {"ro_RO", 1048},  {"bg_BG", 1026},  {"hr_HR", 1050},  {"sl_SI", 1060},
    {"et_EE", 1061},  {"lv_LV", 1062},  {"lt_LT", 1063},  {"ca_ES", 1027},
    {"hi_IN", 1081},  {"ms_MY", 1086},  {"fa_IR", 1065},
    // Each language's main id, for territories not listed above.
    {"en", 1033}, {"tr", 1055}, {"de", 1031}, {"fr", 1036}, {"es", 3082},
    {"it", 1040}, {"ja", 1041}, {"ko", 1042}, {"zh", 2052}, {"ru", 1049},
    {"pt", 1046}, {"pl", 1045}, {"nl", 1043}, {"sv", 1053}, {"da", 1030},
    {"nb", 1044}, {"no", 1044}, {"nn", 2068}, {"fi", 1035}, {"cs", 1029},
    {"sk", 1051}, {"hu", 1038}, {"el", 1032}, {"he", 1037}, {"ar", 1025},
    {"th", 1054}, {"uk", 1058}, {"vi", 1066}, {"id", 1057}, {"ro", 1048},
    {"bg", 1026}, {"hr", 1050}, {"sl", 1060}, {"et", 1061}, {"lv", 1062},
    {"lt", 1063}, {"ca", 1027}, {"hi", 1081}, {"ms", 1086}, {"fa", 1065},
};

int Find(std::string_view name) {
  for (const LocaleId& entry : kLocales) {
    if (entry.name == name) return entry.lcid;
  }
  return 0;
}

}  // namespace

int LcidFromLocale(std::string_view locale) {
  // language[_territory][.codeset][@modifier]; only the first two matter.
  const size_t end = locale.find_first_of(".@");
  const std::string_view name = locale.substr(0, end);
  if (const int lcid = Find(name)) return lcid;
  const std::string_view language = name.substr(0, name.find('_'));
  if (const int lcid = Find(language)) return lcid;
  return kEnglishUnitedStates;
}

int UserDefaultUILanguage() {
  for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* value = std::getenv(variable);
    if (value != nullptr && value[0] != '\0') return LcidFromLocale(value);
  }
  return kEnglishUnitedStates;
}

}  // namespace platform
