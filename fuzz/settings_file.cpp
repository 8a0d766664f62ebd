// Feeds arbitrary bytes to the settings file parser.  A file either reads as
// damaged or as values that the writer can store again: every name and text
// passes the writer's rules, and the text Format writes for them parses back
// to exactly the same values, so a read-modify-write cycle never changes or
// drops a value it did not mean to touch.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/SettingsFile.h"

namespace {

constexpr std::size_t kMaxFileSize = 64 * 1024;

bool IsControl(wchar_t c) { return (c < 0x20 && c != L'\t') || c == 0x7F; }
bool IsSpace(wchar_t c) { return c == L' ' || c == L'\t'; }

bool StorableName(const std::wstring& name) {
  if (name.empty() || name.front() == L'#' || IsSpace(name.front()) || IsSpace(name.back())) return false;
  for (wchar_t c : name) {
    if (c == L'=' || IsControl(c)) return false;
  }
  return true;
}

bool StorableText(const std::wstring& text) {
  for (wchar_t c : text) {
    if (IsControl(c)) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const auto values = platform::SettingsFile::Parse(bytes);
  if (!values) return 0;
  for (const auto& [name, text] : *values) {
    if (!StorableName(name) || !StorableText(text)) std::abort();
  }
  const std::string written = platform::SettingsFile::Format(*values);
  // The writer refuses to produce a file past the limit, so only a file
  // within it has to read back.
  if (written.size() > kMaxFileSize) return 0;
  const auto again = platform::SettingsFile::Parse(written);
  if (!again || *again != *values) std::abort();
  // Formatting is stable: the file written back is written again unchanged.
  if (platform::SettingsFile::Format(*again) != written) std::abort();
  return 0;
}
