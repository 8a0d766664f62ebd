#pragma once
// Lexical pieces of XML markup shared by the parser, the attribute lookup
// and the encoding detection: character classes, the extent of a start tag,
// the attribute scan and the declared encoding of a text.  Pure functions
// over views; any thread.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace xml {

constexpr bool IsSpace(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n'; }

// What may follow '<' to start a start tag.
constexpr bool IsNameStart(wchar_t c) {
  return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') || c == L':' || c == L'_' || c >= 0x7B;
}

// First position at or after `from` where `sequence` starts; npos if none.
std::size_t FindSequence(const wchar_t* text, std::size_t length, std::size_t from, std::wstring_view sequence);

struct TagScan {
  std::size_t nameEnd = 0;  // position after the tag name
  std::size_t end = 0;      // position after the closing '>'
  bool empty = false;       // closed by "/>"
  bool complete = false;    // false when the text ends inside the tag
};

// Scans the start tag whose '<' is at `start`: it runs to the first '>'
// outside a quoted value; "/>" closes an empty element unless the '/' ends
// an unquoted value.
TagScan ScanStartTag(const wchar_t* text, std::size_t length, std::size_t start);

struct AttributeScan {
  bool found = false;
  bool hasValue = false;
  std::wstring_view value;           // raw, without quotes
  std::size_t nameEnd = 0;           // offsets inside the scanned region
  std::size_t valueTokenBegin = 0;   // the opening quote (or first character)
  std::size_t valueTokenEnd = 0;     // after the closing quote
  std::size_t lastEnd = 0;           // after the last attribute when not found
  bool lastValueBareEmpty = false;   // the last attribute ends in "=" with no value
};

// Looks for the attribute `name` (exact) in the attribute part of a tag.
// The scan stops at '/', '>' or '?' outside quotes.
AttributeScan FindAttribute(std::wstring_view region, std::wstring_view name);

// The encoding a text declares: the `encoding` attribute of an xml
// declaration at its start, or the charset of an HTML meta Content-Type
// element in the head.  nullopt when nothing is declared.
std::optional<std::wstring> DeclaredEncoding(std::wstring_view text);

}  // namespace xml
