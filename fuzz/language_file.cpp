// Feeds arbitrary bytes to the language file reader, as a real file in a
// temporary folder.  A lookup never returns more than the longest text or a
// line break, finds the same text whatever the letter case of the section,
// and the file's text decodes the same when written again as UTF-16 or as
// UTF-8 with a byte-order mark.
#include <stdlib.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "app/Language.h"
#include "platform/TextConvert.h"

namespace {

constexpr int kLanguageId = 1033;

struct Folder {
  std::string path;
  Folder() {
    char pattern[] = "/tmp/kestrel-fuzz-language.XXXXXX";
    const char* made = mkdtemp(pattern);
    if (made == nullptr) abort();
    path = std::string(made) + "/";
  }
};

void CheckText(const std::wstring& text) {
  if (text.size() > kMaxLanguageText) abort();
  if (text.find(L'\n') != std::wstring::npos) abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static Folder folder;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const std::string file = folder.path + std::to_string(kLanguageId) + ".lan";
  FILE* out = std::fopen(file.c_str(), "wb");
  if (out == nullptr) abort();
  std::fwrite(data, 1, size, out);
  std::fclose(out);

  const std::wstring wideFolder = platform::FromUtf8(folder.path);
  const std::wstring text = DecodeLanguageFile(bytes);
  for (const int id : {65, 1, 0}) {
    const std::wstring found = ReadLanguageString(wideFolder, kLanguageId, kLanguageSection, id);
    CheckText(found);
    const std::wstring key = std::to_wstring(id);
    if (FindLanguageString(text, kLanguageSection, key) != found) abort();
    if (FindLanguageString(text, L"kb.dialog", key) != found) abort();
  }
  // The section name in the input itself, if there is one, is looked up too.
  const std::size_t open = text.find(L'[');
  if (open != std::wstring::npos) {
    const std::size_t close = text.find(L']', open);
    const std::wstring section = text.substr(open + 1, close == std::wstring::npos ? 16 : close - open - 1);
    CheckText(FindLanguageString(text, section, L"1"));
  }

  // The first line of the input as the value of a key, repeated until it is
  // longer than a text may be: the lookup gives part of it, and a value
  // far past the limit is cut to exactly the limit, not dropped.
  const std::wstring line = text.substr(0, text.find(L'\n'));
  if (!line.empty()) {
    std::wstring value = line;
    while (value.size() <= kMaxLanguageText + 8) value += line;
    const std::wstring found = FindLanguageString(L"[KB.DIALOG]\n65=" + value, kLanguageSection, L"65");
    CheckText(found);
    if (value.find(found) == std::wstring::npos) abort();
    const std::size_t first = value.find_first_not_of(L" \t\r\v\f");
    const std::size_t last = value.find_last_not_of(L" \t\r\v\f");
    if (first != std::wstring::npos && last - first + 1 > kMaxLanguageText + 2 &&
        found.size() != kMaxLanguageText) {
      abort();
    }
  }

  // Whatever the bytes decoded to is text: stored again with a byte-order
  // mark it reads back unchanged.
  const std::u16string units = platform::ToUtf16(text);
  std::string little = "\xFF\xFE";
  std::string big = "\xFE\xFF";
  for (const char16_t unit : units) {
    little += static_cast<char>(unit & 0xFF);
    little += static_cast<char>(unit >> 8);
    big += static_cast<char>(unit >> 8);
    big += static_cast<char>(unit & 0xFF);
  }
  if (DecodeLanguageFile(little) != text || DecodeLanguageFile(big) != text) abort();
  if (DecodeLanguageFile("\xEF\xBB\xBF" + platform::ToUtf8(text)) != text) abort();

  ::unlink(file.c_str());
  return 0;
}
