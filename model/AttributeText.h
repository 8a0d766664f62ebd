#pragma once
// Reading the numbers and small structures that the configuration and
// device description files carry as attribute text.  The readers are
// lenient: text that does not form a number reads as 0, never as an error.
// Pure functions; any thread.
#include <cstdint>
#include <optional>
#include <string_view>

#include "model/KeyboardLayout.h"

// Decimal number at the start of `text` (leading blanks and a sign allowed,
// anything after the digits ignored); 0 when there are no digits or the
// number does not fit an int.
int ParseDecimal(std::wstring_view text);

// Hexadecimal number at the start of `text`, with or without a 0x prefix, in
// either case ("4660" is 0x4660); 0 when there are no hex digits or the
// number does not fit 32 bits.
std::uint32_t ParseHexadecimal(std::wstring_view text);

// Yes/no attributes: exactly the number 1 is yes.
bool ParseFlag(std::wstring_view text);

// "x#y#w#h" as the rectangle (x, y, x + w, y + h); missing parts read as 0.
KeyRect ParseKeyRect(std::wstring_view text);

// "r,c" / "r-cc": the row is the first character, the column the last
// character of a 3-character text and the last two characters otherwise.
// Nothing for an empty text: a key without a cell is not on the grid.
std::optional<GridPosition> ParseRowCol(std::wstring_view text);
