#pragma once
// Named character references understood in attribute values: the character
// entities of HTML 4 plus "apos".  Names are matched with their case, so
// "Agrave" and "agrave" stay distinct.  Pure functions; any thread.
#include <string_view>

namespace xml {

// The character a named reference stands for, or 0 when the name is unknown.
char32_t LookupEntity(std::wstring_view name);

}  // namespace xml
