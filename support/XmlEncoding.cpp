#include "support/XmlEncoding.h"

#include <iconv.h>
#include <langinfo.h>
#include <locale.h>

#include <cerrno>
#include <cstring>

#include "platform/TextConvert.h"

namespace xml {
namespace {

struct Alias {
  const char* name;
  int codePage;
};

// Names an XML declaration or an HTML meta element may carry, mapped to the
// code page numbers the file formats were designed around.
constexpr Alias kAliases[] = {
    {"utf-8", 65001}, {"utf8", 65001}, {"cp65001", 65001}, {"unicode-1-1-utf-8", 65001},
    {"unicode-2-0-utf-8", 65001}, {"x-unicode20utf8", 65001},
    {"utf-16", 1200}, {"utf-16le", 1200}, {"unicode", 1200}, {"ucs-2", 1200}, {"ucs-2le", 1200},
    {"cp1200", 1200}, {"unicodelittle", 1200}, {"iso-10646-ucs-2", 1200}, {"csunicode", 1200},
    {"utf-16be", 1201}, {"unicodefffe", 1201}, {"ucs-2be", 1201}, {"cp1201", 1201}, {"unicodebig", 1201},
    {"us-ascii", 20127}, {"ascii", 20127}, {"us", 20127}, {"ansi_x3.4-1968", 20127},
    {"ansi_x3.4-1986", 20127}, {"iso646-us", 20127}, {"iso_646.irv:1991", 20127}, {"cp367", 20127},
    {"ibm367", 20127}, {"csascii", 20127}, {"iso-ir-6", 20127},
    {"windows-1250", 1250}, {"x-cp1250", 1250}, {"cp1250", 1250},
    {"windows-1251", 1251}, {"x-cp1251", 1251}, {"cp1251", 1251},
    {"windows-1252", 1252}, {"x-ansi", 1252}, {"cp1252", 1252},
    {"windows-1253", 1253}, {"cp1253", 1253},
    {"windows-1254", 1254}, {"cp1254", 1254},
    {"windows-1255", 1255}, {"cp1255", 1255},
    {"windows-1256", 1256}, {"cp1256", 1256},
    {"windows-1257", 1257}, {"cp1257", 1257},
    {"windows-1258", 1258}, {"cp1258", 1258},
    {"windows-874", 874}, {"dos-874", 874}, {"tis-620", 874}, {"cp874", 874}, {"iso-8859-11", 874},
    {"shift_jis", 932}, {"shift-jis", 932}, {"sjis", 932}, {"x-sjis", 932}, {"ms_kanji", 932},
    {"csshiftjis", 932}, {"cswindows31j", 932}, {"windows-31j", 932}, {"cp932", 932},
    {"gb2312", 936}, {"gbk", 936}, {"cp936", 936}, {"csgb2312", 936}, {"gb_2312-80", 936},
    {"gb2312-80", 936}, {"chinese", 936}, {"x-gbk", 936}, {"iso-ir-58", 936}, {"csiso58gb231280", 936},
    {"ks_c_5601-1987", 949}, {"ks_c_5601-1989", 949}, {"ks_c_5601", 949}, {"ksc_5601", 949},
    {"ksc5601", 949}, {"korean", 949}, {"cp949", 949}, {"csksc56011987", 949}, {"iso-ir-149", 949},
    {"big5", 950}, {"big5-hkscs", 950}, {"cn-big5", 950}, {"csbig5", 950}, {"x-x-big5", 950},
    {"cp950", 950},
    {"johab", 1361}, {"cp1361", 1361},
    {"ibm437", 437}, {"cp437", 437}, {"437", 437}, {"cspc8codepage437", 437},
    {"ibm737", 737}, {"cp737", 737}, {"ibm775", 775}, {"cp775", 775},
    {"ibm850", 850}, {"cp850", 850}, {"ibm852", 852}, {"cp852", 852}, {"ibm855", 855}, {"cp855", 855},
    {"ibm857", 857}, {"cp857", 857}, {"ibm00858", 858}, {"cp858", 858}, {"ibm860", 860}, {"cp860", 860},
    {"ibm861", 861}, {"cp861", 861}, {"ibm862", 862}, {"cp862", 862}, {"dos-862", 862},
    {"ibm863", 863}, {"cp863", 863}, {"ibm864", 864}, {"cp864", 864}, {"ibm865", 865}, {"cp865", 865},
    {"ibm866", 866}, {"cp866", 866}, {"ibm869", 869}, {"cp869", 869},
    {"macintosh", 10000}, {"mac", 10000}, {"x-mac-roman", 10000}, {"csmacintosh", 10000},
    {"x-mac-cyrillic", 10007}, {"mac-cyrillic", 10007},
    {"koi8-r", 20866}, {"koi8", 20866}, {"koi", 20866}, {"cskoi8r", 20866},
    {"koi8-u", 21866}, {"koi8-ru", 21866},
    {"iso-8859-1", 28591}, {"iso8859-1", 28591}, {"iso_8859-1", 28591}, {"iso_8859-1:1987", 28591},
    {"latin1", 28591}, {"l1", 28591}, {"cp819", 28591}, {"ibm819", 28591}, {"csisolatin1", 28591},
    {"iso-ir-100", 28591},
    {"iso-8859-2", 28592}, {"iso8859-2", 28592}, {"iso_8859-2", 28592}, {"latin2", 28592}, {"l2", 28592},
    {"csisolatin2", 28592}, {"iso-ir-101", 28592},
    {"iso-8859-3", 28593}, {"iso_8859-3", 28593}, {"latin3", 28593}, {"l3", 28593}, {"iso-ir-109", 28593},
    {"iso-8859-4", 28594}, {"iso_8859-4", 28594}, {"latin4", 28594}, {"l4", 28594}, {"iso-ir-110", 28594},
    {"iso-8859-5", 28595}, {"iso_8859-5", 28595}, {"cyrillic", 28595}, {"csisolatincyrillic", 28595},
    {"iso-ir-144", 28595},
    {"iso-8859-6", 28596}, {"iso_8859-6", 28596}, {"arabic", 28596}, {"csisolatinarabic", 28596},
    {"ecma-114", 28596}, {"iso-ir-127", 28596},
    {"iso-8859-7", 28597}, {"iso_8859-7", 28597}, {"greek", 28597}, {"greek8", 28597},
    {"csisolatingreek", 28597}, {"ecma-118", 28597}, {"elot_928", 28597}, {"iso-ir-126", 28597},
    {"iso-8859-8", 28598}, {"iso_8859-8", 28598}, {"hebrew", 28598}, {"csisolatinhebrew", 28598},
    {"iso-ir-138", 28598}, {"visual", 28598}, {"iso-8859-8-i", 38598}, {"logical", 38598},
    {"iso-8859-9", 28599}, {"iso_8859-9", 28599}, {"latin5", 28599}, {"l5", 28599},
    {"csisolatin5", 28599}, {"iso-ir-148", 28599},
    {"iso-8859-10", 28600}, {"latin6", 28600}, {"iso-8859-13", 28603}, {"latin7", 28603},
    {"iso-8859-14", 28604}, {"latin8", 28604},
    {"iso-8859-15", 28605}, {"iso_8859-15", 28605}, {"latin-9", 28605}, {"latin9", 28605}, {"l9", 28605},
    {"csisolatin9", 28605}, {"iso-8859-16", 28606}, {"latin10", 28606},
    {"euc-jp", 51932}, {"x-euc-jp", 51932}, {"cseucpkdfmtjapanese", 51932}, {"x-euc", 51932},
    {"iso-2022-jp", 50220}, {"csiso2022jp", 50220}, {"iso-2022-kr", 50225}, {"csiso2022kr", 50225},
    {"euc-kr", 51949}, {"cseuckr", 51949}, {"euc-cn", 51936}, {"x-euc-cn", 51936},
    {"gb18030", 54936},
};

struct Converter {
  int codePage;
  const char* converter;
};

// glibc's iconv names for the code pages above.
constexpr Converter kConverters[] = {
    {20127, "ASCII"}, {1250, "CP1250"}, {1251, "CP1251"}, {1252, "WINDOWS-1252"}, {1253, "CP1253"},
    {1254, "CP1254"}, {1255, "CP1255"}, {1256, "CP1256"}, {1257, "CP1257"}, {1258, "CP1258"},
    {874, "CP874"}, {932, "CP932"}, {936, "CP936"}, {949, "CP949"}, {950, "CP950"}, {1361, "JOHAB"},
    {437, "CP437"}, {737, "CP737"}, {775, "CP775"}, {850, "CP850"}, {852, "CP852"}, {855, "CP855"},
    {857, "CP857"}, {858, "CP858"}, {860, "CP860"}, {861, "CP861"}, {862, "CP862"}, {863, "CP863"},
    {864, "CP864"}, {865, "CP865"}, {866, "CP866"}, {869, "CP869"}, {10000, "MACINTOSH"},
    {10007, "MAC-CYRILLIC"}, {20866, "KOI8-R"}, {21866, "KOI8-U"}, {28591, "ISO-8859-1"},
    {28592, "ISO-8859-2"}, {28593, "ISO-8859-3"}, {28594, "ISO-8859-4"}, {28595, "ISO-8859-5"},
    {28596, "ISO-8859-6"}, {28597, "ISO-8859-7"}, {28598, "ISO-8859-8"}, {38598, "ISO-8859-8"},
    {28599, "ISO-8859-9"}, {28600, "ISO-8859-10"}, {28603, "ISO-8859-13"}, {28604, "ISO-8859-14"},
    {28605, "ISO-8859-15"}, {28606, "ISO-8859-16"}, {51932, "EUC-JP"}, {50220, "ISO-2022-JP"},
    {50225, "ISO-2022-KR"}, {51949, "EUC-KR"}, {51936, "EUC-CN"}, {54936, "GB18030"},
};

constexpr std::size_t kMaxNameLength = 64;

class IconvHandle {
 public:
  IconvHandle(const char* to, const char* from) : m_cd(iconv_open(to, from)) {}
  ~IconvHandle() {
    if (Valid()) iconv_close(m_cd);
  }
  IconvHandle(const IconvHandle&) = delete;
  IconvHandle& operator=(const IconvHandle&) = delete;
  bool Valid() const { return m_cd != reinterpret_cast<iconv_t>(-1); }
  iconv_t Get() const { return m_cd; }

 private:
  iconv_t m_cd;
};

class LocaleHandle {
 public:
  LocaleHandle() : m_locale(newlocale(LC_CTYPE_MASK, "", static_cast<locale_t>(nullptr))) {}
  ~LocaleHandle() {
    if (m_locale) freelocale(m_locale);
  }
  LocaleHandle(const LocaleHandle&) = delete;
  LocaleHandle& operator=(const LocaleHandle&) = delete;
  locale_t Get() const { return m_locale; }

 private:
  locale_t m_locale;
};

char AsciiLower(wchar_t c) {
  if (c >= L'A' && c <= L'Z') return static_cast<char>(c - L'A' + 'a');
  return static_cast<char>(c);
}

XmlEncoding FromConverter(int codePage, const char* converter) {
  XmlEncoding e;
  e.codePage = codePage;
  e.converter = converter;
  for (const char* c = converter; *c; ++c) e.name.push_back(static_cast<wchar_t>(static_cast<unsigned char>(*c)));
  return e;
}

// A converter is only any use for a declaration read as 8-bit text when
// markup survives the conversion unchanged ('+' rules out UTF-7, whose
// shifted runs would swallow it).
bool KeepsAscii(const char* converter) {
  IconvHandle cd("WCHAR_T", converter);
  if (!cd.Valid()) return false;
  char input[] = "<?xml a='1'?>+A";
  wchar_t output[32] = {};
  char* in = input;
  std::size_t inLeft = sizeof(input) - 1;
  char* out = reinterpret_cast<char*>(output);
  std::size_t outLeft = sizeof(output);
  if (iconv(cd.Get(), &in, &inLeft, &out, &outLeft) == static_cast<std::size_t>(-1)) return false;
  return inLeft == 0 && std::wstring_view(output) == L"<?xml a='1'?>+A";
}

}  // namespace

XmlEncoding Utf8Encoding() { return {kCodePageUtf8, {}, L"UTF-8"}; }
XmlEncoding Utf16LeEncoding() { return {kCodePageUtf16Le, {}, L"UTF-16LE"}; }
XmlEncoding Utf16BeEncoding() { return {kCodePageUtf16Be, {}, L"UTF-16BE"}; }

XmlEncoding AnsiEncoding() {
  LocaleHandle locale;
  if (locale.Get()) {
    const char* codeset = nl_langinfo_l(CODESET, locale.Get());
    if (codeset && *codeset && std::strcmp(codeset, "UTF-8") != 0 && std::strcmp(codeset, "ANSI_X3.4-1968") != 0) {
      std::wstring name;
      for (const char* c = codeset; *c; ++c) name.push_back(static_cast<wchar_t>(static_cast<unsigned char>(*c)));
      if (auto known = EncodingFromName(name)) {
        if (known->codePage != kCodePageUtf8) return *known;
      }
    }
  }
  return FromConverter(1252, "WINDOWS-1252");
}

std::optional<XmlEncoding> EncodingFromName(std::wstring_view name) {
  if (name.empty() || name.size() > kMaxNameLength) return std::nullopt;
  std::string lower;
  for (wchar_t c : name) {
    // iconv reads "//" as options; such names are not encodings.
    if (c <= L' ' || c >= 0x7F || c == L'/') return std::nullopt;
    lower.push_back(AsciiLower(c));
  }
  for (const Alias& alias : kAliases) {
    if (lower != alias.name) continue;
    if (alias.codePage == kCodePageUtf8) return Utf8Encoding();
    if (alias.codePage == kCodePageUtf16Le) return Utf16LeEncoding();
    if (alias.codePage == kCodePageUtf16Be) return Utf16BeEncoding();
    for (const Converter& c : kConverters) {
      if (c.codePage == alias.codePage) return FromConverter(c.codePage, c.converter);
    }
  }
  std::string upper;
  for (char c : lower) upper.push_back(c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c);
  if (!KeepsAscii(upper.c_str())) return std::nullopt;
  return FromConverter(0, upper.c_str());
}

bool IsValidUtf8(std::string_view bytes) {
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  const std::size_t n = bytes.size();
  std::size_t i = 0;
  while (i < n) {
    const unsigned char c = p[i];
    if (c < 0x80) {
      ++i;
      continue;
    }
    std::size_t more;
    char32_t cp;
    if (c >= 0xC2 && c <= 0xDF) {
      more = 1;
      cp = c & 0x1F;
    } else if (c >= 0xE0 && c <= 0xEF) {
      more = 2;
      cp = c & 0x0F;
    } else if (c >= 0xF0 && c <= 0xF4) {
      more = 3;
      cp = c & 0x07;
    } else {
      return false;
    }
    if (n - i <= more) return false;
    for (std::size_t k = 1; k <= more; ++k) {
      if ((p[i + k] & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (p[i + k] & 0x3F);
    }
    if ((more == 2 && cp < 0x800) || (more == 3 && (cp < 0x10000 || cp > 0x10FFFF)) ||
        (cp >= 0xD800 && cp <= 0xDFFF)) {
      return false;
    }
    i += more + 1;
  }
  return true;
}

std::wstring DecodeBytes(const XmlEncoding& encoding, std::string_view bytes) {
  if (encoding.codePage == kCodePageUtf8 || encoding.converter.empty()) return platform::FromUtf8(bytes);
  IconvHandle cd("WCHAR_T", encoding.converter.c_str());
  if (!cd.Valid()) return platform::FromUtf8(bytes);
  std::wstring out(bytes.size() + 16, L'\0');
  std::size_t used = 0;
  char* in = const_cast<char*>(bytes.data());
  std::size_t inLeft = bytes.size();
  while (inLeft > 0) {
    char* dst = reinterpret_cast<char*>(out.data() + used);
    std::size_t outLeft = (out.size() - used) * sizeof(wchar_t);
    const std::size_t before = outLeft;
    const std::size_t r = iconv(cd.Get(), &in, &inLeft, &dst, &outLeft);
    used += (before - outLeft) / sizeof(wchar_t);
    if (r != static_cast<std::size_t>(-1)) break;
    if (errno == E2BIG) {
      out.resize(out.size() + out.size() / 2 + 16);
    } else if (errno == EILSEQ) {
      // A byte the code page leaves undefined: keep a visible mark of it.
      if (used == out.size()) out.resize(out.size() + 16);
      out[used++] = 0xFFFD;
      ++in;
      --inLeft;
    } else {
      if (used == out.size()) out.resize(out.size() + 1);
      out[used++] = 0xFFFD;
      break;
    }
  }
  out.resize(used);
  return out;
}

std::string EncodeText(const XmlEncoding& encoding, std::wstring_view text, bool* lossy) {
  *lossy = false;
  if (encoding.codePage == kCodePageUtf8) return platform::ToUtf8(text);
  if (encoding.codePage == kCodePageUtf16Le || encoding.codePage == kCodePageUtf16Be) {
    const std::u16string units = platform::ToUtf16(text);
    std::string out(units.size() * 2, '\0');
    const bool big = encoding.codePage == kCodePageUtf16Be;
    for (std::size_t i = 0; i < units.size(); ++i) {
      const auto hi = static_cast<char>(units[i] >> 8);
      const auto lo = static_cast<char>(units[i] & 0xFF);
      out[2 * i] = big ? hi : lo;
      out[2 * i + 1] = big ? lo : hi;
    }
    return out;
  }
  IconvHandle cd(encoding.converter.c_str(), "WCHAR_T");
  if (!cd.Valid()) {
    *lossy = true;
    return platform::ToUtf8(text);
  }
  std::string out(text.size() * 2 + 16, '\0');
  std::size_t used = 0;
  char* in = reinterpret_cast<char*>(const_cast<wchar_t*>(text.data()));
  std::size_t inLeft = text.size() * sizeof(wchar_t);
  for (;;) {
    char* dst = out.data() + used;
    std::size_t outLeft = out.size() - used;
    const std::size_t before = outLeft;
    // A null input flushes the shift state of stateful encodings.
    const std::size_t r = inLeft > 0 ? iconv(cd.Get(), &in, &inLeft, &dst, &outLeft)
                                     : iconv(cd.Get(), nullptr, nullptr, &dst, &outLeft);
    used += before - outLeft;
    if (r != static_cast<std::size_t>(-1)) {
      if (inLeft == 0 && in != nullptr) {
        in = nullptr;
        continue;
      }
      break;
    }
    if (errno == E2BIG) {
      out.resize(out.size() + out.size() / 2 + 16);
    } else if (errno == EILSEQ && inLeft >= sizeof(wchar_t)) {
      if (used == out.size()) out.resize(out.size() + 16);
      out[used++] = '?';
      in += sizeof(wchar_t);
      inLeft -= sizeof(wchar_t);
      *lossy = true;
    } else {
      *lossy = true;
      break;
    }
  }
  out.resize(used);
  return out;
}

}  // namespace xml
