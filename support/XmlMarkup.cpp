#include "support/XmlMarkup.h"

#include <array>
#include <cstdint>
#include <cwchar>

namespace xml {
namespace {

// Character classes of the markup scanners, as bits of a table over ASCII.
constexpr unsigned char kSpace = 1;
constexpr unsigned char kTagNameStop = 2;        // whitespace, '/', '>'
constexpr unsigned char kAttributeNameStop = 4;  // also '=' and '?'
constexpr unsigned char kTokenStop = 8;          // in a tag: whitespace, '=', '/', '>'
constexpr unsigned char kBareValueStop = 16;     // whitespace, '>'

constexpr std::array<unsigned char, 128> MakeClasses() {
  std::array<unsigned char, 128> t{};
  for (wchar_t c : {L' ', L'\t', L'\r', L'\n'}) {
    t[c] = kSpace | kTagNameStop | kAttributeNameStop | kTokenStop | kBareValueStop;
  }
  t[L'/'] |= kTagNameStop | kAttributeNameStop | kTokenStop;
  t[L'>'] |= kTagNameStop | kAttributeNameStop | kTokenStop | kBareValueStop;
  t[L'='] |= kAttributeNameStop | kTokenStop;
  t[L'?'] |= kAttributeNameStop;
  return t;
}

constexpr std::array<unsigned char, 128> kClasses = MakeClasses();

inline bool Is(wchar_t c, unsigned char cls) {
  return static_cast<std::uint32_t>(c) < 128 && (kClasses[static_cast<std::uint32_t>(c)] & cls) != 0;
}

inline bool IsNameEnd(wchar_t c) { return Is(c, kTagNameStop); }

bool EqualsIgnoringCase(std::wstring_view a, std::wstring_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    wchar_t x = a[i];
    wchar_t y = b[i];
    if (x >= L'A' && x <= L'Z') x += L'a' - L'A';
    if (y >= L'A' && y <= L'Z') y += L'a' - L'A';
    if (x != y) return false;
  }
  return true;
}

std::size_t FindIgnoringCase(std::wstring_view text, std::wstring_view what) {
  for (std::size_t i = 0; i + what.size() <= text.size(); ++i) {
    if (EqualsIgnoringCase(text.substr(i, what.size()), what)) return i;
  }
  return std::wstring_view::npos;
}

// The charset part of a Content-Type value such as "text/html; charset=x".
std::optional<std::wstring> CharsetOf(std::wstring_view content) {
  const std::size_t at = FindIgnoringCase(content, L"charset");
  if (at == std::wstring_view::npos) return std::nullopt;
  std::size_t k = at + 7;
  while (k < content.size() && IsSpace(content[k])) ++k;
  if (k >= content.size() || content[k] != L'=') return std::nullopt;
  ++k;
  while (k < content.size() && IsSpace(content[k])) ++k;
  const std::size_t begin = k;
  while (k < content.size() && content[k] != L';' && !IsSpace(content[k]) && content[k] != L'"' && content[k] != L'\'') ++k;
  return std::wstring(content.substr(begin, k - begin));
}

std::optional<std::wstring> HtmlMetaCharset(std::wstring_view t) {
  bool inHtml = false;
  std::size_t i = 0;
  const std::size_t n = t.size();
  while (i < n) {
    const std::size_t lt = t.find(L'<', i);
    if (lt == std::wstring_view::npos || lt + 1 >= n) break;
    const wchar_t c = t[lt + 1];
    if (c == L'!') {
      const bool comment = t.compare(lt, 4, L"<!--") == 0;
      const std::size_t e = comment ? t.find(L"-->", lt + 4) : t.find(L'>', lt);
      if (e == std::wstring_view::npos) break;
      i = e + (comment ? 3 : 1);
      continue;
    }
    if (c == L'?') {
      const std::size_t e = t.find(L"?>", lt + 2);
      if (e == std::wstring_view::npos) break;
      i = e + 2;
      continue;
    }
    if (c == L'/') {
      const std::size_t e = t.find(L'>', lt);
      if (e == std::wstring_view::npos) break;
      std::size_t nameEnd = lt + 2;
      while (nameEnd < e && !IsSpace(t[nameEnd])) ++nameEnd;
      if (inHtml && EqualsIgnoringCase(t.substr(lt + 2, nameEnd - lt - 2), L"head")) break;
      i = e + 1;
      continue;
    }
    if (!IsNameStart(c)) break;
    const TagScan tag = ScanStartTag(t.data(), n, lt);
    if (!tag.complete) break;
    const std::wstring_view name = t.substr(lt + 1, tag.nameEnd - lt - 1);
    if (!inHtml) {
      if (!EqualsIgnoringCase(name, L"html")) break;
      inHtml = true;
    } else if (EqualsIgnoringCase(name, L"meta")) {
      const std::size_t regionEnd = tag.end - (tag.empty ? 2 : 1);
      const std::wstring_view region = t.substr(tag.nameEnd, regionEnd - tag.nameEnd);
      const AttributeScan equiv = FindAttribute(region, L"http-equiv");
      if (equiv.found && EqualsIgnoringCase(equiv.value, L"Content-Type")) {
        const AttributeScan content = FindAttribute(region, L"content");
        if (content.found) {
          if (auto charset = CharsetOf(content.value)) return charset;
        }
      }
    }
    i = tag.end;
  }
  return std::nullopt;
}

}  // namespace

std::size_t FindSequence(const wchar_t* text, std::size_t length, std::size_t from, std::wstring_view sequence) {
  const std::size_t m = sequence.size();
  std::size_t i = from;
  while (i <= length && length - i >= m) {
    const wchar_t* f = std::wmemchr(text + i, sequence[0], length - i - m + 1);
    if (!f) return std::wstring_view::npos;
    i = static_cast<std::size_t>(f - text);
    if (std::wmemcmp(text + i, sequence.data(), m) == 0) return i;
    ++i;
  }
  return std::wstring_view::npos;
}

TagScan ScanStartTag(const wchar_t* p, std::size_t n, std::size_t start) {
  std::size_t j = start + 1;
  while (j < n && !IsNameEnd(p[j])) ++j;
  TagScan r;
  r.nameEnd = j;
  r.end = n;
  // The same tokens as FindAttribute sees: names, '=' with a quoted or bare
  // value, quoted literals standing alone.  Quotes inside a name are plain
  // characters, so an edit at a token boundary never changes how the rest
  // of the tag reads.
  while (j < n) {
    const wchar_t c = p[j];
    if (c == L'>') {
      r.end = j + 1;
      r.complete = true;
      return r;
    }
    if (Is(c, kSpace)) {
      ++j;
      continue;
    }
    if (c == L'/') {
      if (j + 1 < n && p[j + 1] == L'>') {
        r.end = j + 2;
        r.empty = true;
        r.complete = true;
        return r;
      }
      ++j;
      continue;
    }
    if (c == L'=') {
      ++j;
      while (j < n && Is(p[j], kSpace)) ++j;
      if (j < n && (p[j] == L'"' || p[j] == L'\'')) {
        const wchar_t* q = std::wmemchr(p + j + 1, p[j], n - j - 1);
        if (!q) return r;
        j = static_cast<std::size_t>(q - p) + 1;
        continue;
      }
      // A bare value keeps a '/' as its own.
      while (j < n && !Is(p[j], kBareValueStop)) ++j;
      continue;
    }
    if (c == L'"' || c == L'\'') {
      const wchar_t* q = std::wmemchr(p + j + 1, c, n - j - 1);
      if (!q) return r;
      j = static_cast<std::size_t>(q - p) + 1;
      continue;
    }
    do {
      ++j;
    } while (j < n && !Is(p[j], kTokenStop));
  }
  return r;
}

AttributeScan FindAttribute(std::wstring_view region, std::wstring_view name) {
  AttributeScan r;
  const wchar_t* p = region.data();
  const std::size_t n = region.size();
  std::size_t j = 0;
  while (true) {
    while (j < n && Is(p[j], kSpace)) ++j;
    if (j >= n) break;
    const wchar_t c = p[j];
    if (c == L'/' || c == L'>' || c == L'?') break;
    if (c == L'"' || c == L'\'') {
      // A quoted literal with no name in front of it: step over it whole.
      const wchar_t* q = std::wmemchr(p + j + 1, c, n - j - 1);
      j = q ? static_cast<std::size_t>(q - p) + 1 : n;
      r.lastEnd = j;
      r.lastValueBareEmpty = false;
      continue;
    }
    const std::size_t nameBegin = j;
    while (j < n && !Is(p[j], kAttributeNameStop)) ++j;
    const std::size_t nameEnd = j;
    std::size_t k = j;
    while (k < n && Is(p[k], kSpace)) ++k;
    bool hasValue = false;
    std::size_t valueBegin = 0;
    std::size_t valueEnd = 0;
    std::size_t tokenBegin = 0;
    std::size_t tokenEnd = 0;
    if (k < n && p[k] == L'=') {
      ++k;
      while (k < n && Is(p[k], kSpace)) ++k;
      hasValue = true;
      tokenBegin = k;
      if (k < n && (p[k] == L'"' || p[k] == L'\'')) {
        const wchar_t* q = std::wmemchr(p + k + 1, p[k], n - k - 1);
        valueBegin = k + 1;
        valueEnd = q ? static_cast<std::size_t>(q - p) : n;
        tokenEnd = q ? valueEnd + 1 : n;
      } else {
        valueBegin = k;
        while (k < n && !Is(p[k], kBareValueStop)) ++k;
        valueEnd = k;
        tokenEnd = k;
      }
      j = tokenEnd;
    }
    if (nameEnd - nameBegin == name.size() && nameEnd > nameBegin &&
        std::wmemcmp(p + nameBegin, name.data(), name.size()) == 0) {
      r.found = true;
      r.hasValue = hasValue;
      r.nameEnd = nameEnd;
      if (hasValue) {
        r.value = region.substr(valueBegin, valueEnd - valueBegin);
        r.valueTokenBegin = tokenBegin;
        r.valueTokenEnd = tokenEnd;
      }
      return r;
    }
    r.lastEnd = hasValue ? tokenEnd : nameEnd;
    r.lastValueBareEmpty = hasValue && tokenBegin == tokenEnd;
  }
  return r;
}

std::optional<std::wstring> DeclaredEncoding(std::wstring_view text) {
  if (text.substr(0, 5) == L"<?xml" && (text.size() == 5 || IsSpace(text[5]) || text[5] == L'?')) {
    const std::size_t end = text.find(L"?>", 5);
    const std::wstring_view region = text.substr(5, end == std::wstring_view::npos ? std::wstring_view::npos : end - 5);
    const AttributeScan a = FindAttribute(region, L"encoding");
    if (a.found) return std::wstring(a.value);
    return std::nullopt;
  }
  return HtmlMetaCharset(text);
}

}  // namespace xml
