#include "model/AttributeText.h"

#include <climits>
#include <cwctype>

namespace {

std::wstring_view SkipBlanks(std::wstring_view text) {
  std::size_t start = 0;
  while (start < text.size() && std::iswspace(static_cast<wint_t>(text[start]))) ++start;
  return text.substr(start);
}

int HexDigit(wchar_t c) {
  if (c >= L'0' && c <= L'9') return c - L'0';
  if (c >= L'a' && c <= L'f') return c - L'a' + 10;
  if (c >= L'A' && c <= L'F') return c - L'A' + 10;
  return -1;
}

int ClampToInt(long long value) {
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return static_cast<int>(value);
}

}  // namespace

int ParseDecimal(std::wstring_view text) {
  text = SkipBlanks(text);
  bool negative = false;
  if (!text.empty() && (text[0] == L'-' || text[0] == L'+')) {
    negative = text[0] == L'-';
    text.remove_prefix(1);
  }
  long long value = 0;
  std::size_t digits = 0;
  while (digits < text.size() && text[digits] >= L'0' && text[digits] <= L'9') {
    value = value * 10 + (text[digits] - L'0');
    if (value > static_cast<long long>(INT_MAX) + 1) return 0;
    ++digits;
  }
  if (negative) value = -value;
  if (value > INT_MAX || value < INT_MIN) return 0;
  return static_cast<int>(value);
}

std::uint32_t ParseHexadecimal(std::wstring_view text) {
  text = SkipBlanks(text);
  if (text.size() >= 2 && text[0] == L'0' && (text[1] == L'x' || text[1] == L'X')) text.remove_prefix(2);
  std::uint64_t value = 0;
  for (wchar_t c : text) {
    const int digit = HexDigit(c);
    if (digit < 0) break;
    value = value * 16 + static_cast<std::uint64_t>(digit);
    if (value > UINT32_MAX) return 0;
  }
  return static_cast<std::uint32_t>(value);
}

bool ParseFlag(std::wstring_view text) { return ParseDecimal(text) == 1; }

KeyRect ParseKeyRect(std::wstring_view text) {
  int parts[4] = {0, 0, 0, 0};
  for (int& part : parts) {
    const std::size_t separator = text.find(L'#');
    part = ParseDecimal(text.substr(0, separator));
    if (separator == std::wstring_view::npos) break;
    text.remove_prefix(separator + 1);
  }
  // Widened so that a huge width or height cannot overflow the right edge.
  KeyRect rect;
  rect.left = parts[0];
  rect.top = parts[1];
  rect.right = ClampToInt(static_cast<long long>(parts[0]) + parts[2]);
  rect.bottom = ClampToInt(static_cast<long long>(parts[1]) + parts[3]);
  return rect;
}

std::optional<GridPosition> ParseRowCol(std::wstring_view text) {
  if (text.empty()) return std::nullopt;
  GridPosition position;
  position.row = ParseDecimal(text.substr(0, 1));
  const std::size_t columnLength = text.size() == 3 ? 1 : 2;
  position.column = ParseDecimal(text.size() > columnLength ? text.substr(text.size() - columnLength) : text);
  return position;
}
