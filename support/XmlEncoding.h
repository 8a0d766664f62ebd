#pragma once
// Character encodings of XML files: the table of encoding names, the
// system's 8-bit encoding, the UTF-8 test and the conversions between file
// bytes and wide text (UTF-8 and UTF-16 directly, everything else through
// iconv).  Pure functions; any thread.
#include <optional>
#include <string>
#include <string_view>

namespace xml {

// The code page numbers of the three encodings handled without iconv.
constexpr int kCodePageUtf8 = 65001;
constexpr int kCodePageUtf16Le = 1200;
constexpr int kCodePageUtf16Be = 1201;

struct XmlEncoding {
  int codePage = kCodePageUtf8;  // 0 for a converter known to iconv only
  std::string converter;         // iconv name; empty for UTF-8 and UTF-16
  std::wstring name;             // as written in diagnostics
};

XmlEncoding Utf8Encoding();
XmlEncoding Utf16LeEncoding();
XmlEncoding Utf16BeEncoding();

// The locale's 8-bit codeset; Windows-1252 when the locale is UTF-8, C or
// POSIX (or cannot be read).  The global locale is left alone.
XmlEncoding AnsiEncoding();

// Looks a declared name up (case-insensitive) in the alias table, then asks
// iconv.  Names of encodings that do not keep ASCII as single bytes (UTF-32,
// EBCDIC) are not taken, since such a name cannot have been read from a
// declaration in 8-bit text.  nullopt when unknown.
std::optional<XmlEncoding> EncodingFromName(std::wstring_view name);

// True when the bytes are well-formed UTF-8 (no stray continuation bytes,
// no truncated or overlong sequences, no surrogates).
bool IsValidUtf8(std::string_view bytes);

// 8-bit (or multi-byte) file bytes to wide text through iconv; bytes the
// converter rejects become U+FFFD.  Not for UTF-16.
std::wstring DecodeBytes(const XmlEncoding& encoding, std::string_view bytes);

// Wide text to bytes of the encoding (UTF-8, UTF-16LE/BE or an iconv
// converter).  A character the target cannot hold becomes '?' and sets
// *lossy.
std::string EncodeText(const XmlEncoding& encoding, std::wstring_view text, bool* lossy);

}  // namespace xml
