#include "app/Language.h"

#include <iconv.h>
#include <langinfo.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <memory>

#include "app/AppContext.h"
#include "platform/TextConvert.h"

namespace {

// Language files are a few kilobytes; anything far larger is not one, and
// reading it whole on every lookup would stall the caller.
constexpr std::streamsize kMaxFileBytes = 4 * 1024 * 1024;

wchar_t LowerAscii(wchar_t c) { return (c >= L'A' && c <= L'Z') ? c + (L'a' - L'A') : c; }

// Section and key names compare without regard to ASCII letter case, as the
// initialisation-file format has always done.
bool SameName(std::wstring_view a, std::wstring_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
  }
  return true;
}

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == L'\v' || c == L'\f'; }

std::wstring_view Trim(std::wstring_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

bool IsValidUtf8(std::string_view bytes) {
  std::size_t i = 0;
  while (i < bytes.size()) {
    const auto c = static_cast<unsigned char>(bytes[i]);
    std::size_t extra = 0;
    unsigned min = 0;
    if (c < 0x80) {
      ++i;
      continue;
    } else if (c >= 0xC2 && c <= 0xDF) {
      extra = 1, min = 0x80;
    } else if (c >= 0xE0 && c <= 0xEF) {
      extra = 2, min = 0x800;
    } else if (c >= 0xF0 && c <= 0xF4) {
      extra = 3, min = 0x10000;
    } else {
      return false;
    }
    unsigned value = c & (0x3F >> extra);
    for (std::size_t k = 1; k <= extra; ++k) {
      if (i + k >= bytes.size()) return false;
      const auto t = static_cast<unsigned char>(bytes[i + k]);
      if ((t & 0xC0) != 0x80) return false;
      value = (value << 6) | (t & 0x3F);
    }
    if (value < min || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return false;
    i += extra + 1;
  }
  return true;
}

struct IconvCloser {
  void operator()(void* cd) const { iconv_close(static_cast<iconv_t>(cd)); }
};

// The 8-bit code set the locale names; a UTF-8 or plain-C locale says nothing
// about which single-byte code page the file was written in, and the files
// of this format were written on Western systems, so Windows-1252 is taken.
std::string AnsiCodeset() {
  const char* codeset = nl_langinfo(CODESET);
  if (codeset == nullptr || *codeset == '\0') return "WINDOWS-1252";
  const std::string name = codeset;
  if (name == "UTF-8" || name == "utf8" || name == "ANSI_X3.4-1968" || name == "ASCII" ||
      name == "US-ASCII") {
    return "WINDOWS-1252";
  }
  return name;
}

std::wstring DecodeAnsi(std::string_view bytes) {
  iconv_t raw = iconv_open("UTF-8", AnsiCodeset().c_str());
  if (raw == reinterpret_cast<iconv_t>(-1)) raw = iconv_open("UTF-8", "WINDOWS-1252");
  if (raw == reinterpret_cast<iconv_t>(-1)) return platform::FromUtf8(bytes);
  std::unique_ptr<void, IconvCloser> cd(raw);

  std::string out;
  std::string input(bytes);
  char* in = input.data();
  std::size_t inLeft = input.size();
  char buffer[1024];
  while (inLeft > 0) {
    char* outPtr = buffer;
    std::size_t outLeft = sizeof buffer;
    const std::size_t done = iconv(raw, &in, &inLeft, &outPtr, &outLeft);
    out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
    if (done == static_cast<std::size_t>(-1) && errno != E2BIG) {
      // A byte the code page does not define (0x81 in Windows-1252, for
      // example) is shown as a replacement character rather than ending
      // the text.
      out.append("\xEF\xBF\xBD");
      ++in;
      --inLeft;
    }
  }
  return platform::FromUtf8(out);
}

std::wstring DecodeUtf16(std::string_view bytes, bool bigEndian) {
  std::u16string units;
  units.reserve(bytes.size() / 2);
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const auto b0 = static_cast<unsigned char>(bytes[i]);
    const auto b1 = static_cast<unsigned char>(bytes[i + 1]);
    units.push_back(static_cast<char16_t>(bigEndian ? (b0 << 8) | b1 : (b1 << 8) | b0));
  }
  return platform::FromUtf16(units);
}

}  // namespace

std::wstring DecodeLanguageFile(std::string_view bytes) {
  if (bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE') {
    return DecodeUtf16(bytes.substr(2), false);
  }
  if (bytes.size() >= 2 && bytes[0] == '\xFE' && bytes[1] == '\xFF') {
    return DecodeUtf16(bytes.substr(2), true);
  }
  if (bytes.size() >= 3 && bytes.substr(0, 3) == "\xEF\xBB\xBF") {
    return platform::FromUtf8(bytes.substr(3));
  }
  if (IsValidUtf8(bytes)) return platform::FromUtf8(bytes);
  return DecodeAnsi(bytes);
}

std::wstring FindLanguageString(std::wstring_view text, const std::wstring& section,
                                const std::wstring& key) {
  bool inSection = false;
  std::size_t pos = 0;
  while (pos <= text.size()) {
    std::size_t end = text.find(L'\n', pos);
    if (end == std::wstring_view::npos) end = text.size();
    const std::wstring_view line = Trim(text.substr(pos, end - pos));
    pos = end + 1;

    if (!line.empty() && line.front() == L'[') {
      const std::size_t close = line.find(L']');
      const std::wstring_view name =
          Trim(line.substr(1, close == std::wstring_view::npos ? std::wstring_view::npos : close - 1));
      inSection = SameName(name, section);
      continue;
    }
    if (!inSection) continue;
    const std::size_t eq = line.find(L'=');
    if (eq == std::wstring_view::npos) continue;
    if (!SameName(Trim(line.substr(0, eq)), key)) continue;

    std::wstring_view value = Trim(line.substr(eq + 1));
    // A value wrapped in a pair of quotes keeps its blanks; the quotes
    // themselves are not part of the text.
    if (value.size() >= 2 && (value.front() == L'"' || value.front() == L'\'') &&
        value.back() == value.front()) {
      value = value.substr(1, value.size() - 2);
    }
    if (value.size() > kMaxLanguageText) value = value.substr(0, kMaxLanguageText);
    return std::wstring(value);
  }
  return {};
}

std::wstring ReadLanguageString(const std::wstring& languageFolder, int languageId,
                                const std::wstring& section, int id) {
  char key[16];
  std::snprintf(key, sizeof key, "%d", id);
  const std::wstring path = languageFolder + std::to_wstring(languageId) + L".lan";

  std::ifstream file(platform::ToUtf8(path), std::ios::binary | std::ios::ate);
  if (!file) return {};
  const std::streamsize size = std::min<std::streamsize>(file.tellg(), kMaxFileBytes);
  if (size <= 0) return {};
  file.seekg(0);
  std::string bytes(static_cast<std::size_t>(size), '\0');
  file.read(bytes.data(), size);
  bytes.resize(static_cast<std::size_t>(file.gcount()));
  return FindLanguageString(DecodeLanguageFile(bytes), section, platform::FromUtf8(key));
}

std::wstring GetLanguageString(const std::wstring& section, int id) {
  return ReadLanguageString(ModuleFolder() + L"language/", LanguageId.load(), section, id);
}
