#pragma once
// Conversions between the program's wide text (UTF-32 wchar_t on Linux,
// holding the same code points the design keeps in UTF-16) and the UTF-8
// that crosses every boundary: files, SQLite, X11 and Pango.
// Pure functions; any thread.
#include <string>
#include <string_view>

namespace platform {

// Invalid UTF-8 never fails: each byte that does not start a valid sequence
// becomes U+FFFD, so text read from a damaged file stays readable.
std::wstring FromUtf8(std::string_view utf8);

// Code points that cannot be encoded (lone surrogates, values above
// U+10FFFF) become U+FFFD.
std::string ToUtf8(std::wstring_view text);

// UTF-16 code units (as read from a UTF-16 file) to wide text; surrogate
// pairs are joined, lone surrogates become U+FFFD.
std::wstring FromUtf16(std::u16string_view units);

// Wide text to UTF-16 code units; code points above U+FFFF become pairs.
std::u16string ToUtf16(std::wstring_view text);

}  // namespace platform
