#include "store/ExchangeFile.h"

#include <climits>

int ParseDecimal(const std::wstring& text) {
  std::size_t at = 0;
  while (at < text.size() && (text[at] == L' ' || (text[at] >= L'\t' && text[at] <= L'\r'))) {
    ++at;
  }
  bool negative = false;
  if (at < text.size() && (text[at] == L'-' || text[at] == L'+')) {
    negative = text[at] == L'-';
    ++at;
  }
  long long value = 0;
  for (; at < text.size() && text[at] >= L'0' && text[at] <= L'9'; ++at) {
    value = value * 10 + (text[at] - L'0');
    if (value > static_cast<long long>(INT_MAX) + 1) {
      value = static_cast<long long>(INT_MAX) + 1;  // saturated; more digits change nothing
    }
  }
  if (negative) {
    return value > INT_MAX ? INT_MIN : static_cast<int>(-value);
  }
  return value > INT_MAX ? INT_MAX : static_cast<int>(value);
}

std::wstring NameFromFileName(const std::wstring& path) {
  const std::size_t slash = path.find_last_of(L'/');
  const std::wstring file = slash == std::wstring::npos ? path : path.substr(slash + 1);
  const std::size_t dot = file.find(L'.');
  return dot == std::wstring::npos ? std::wstring() : file.substr(0, dot);
}
