#include "support/ZipEntryName.h"

#include <zlib.h>

#include <vector>

#include "platform/TextConvert.h"

namespace {

constexpr uint16_t kUtf8NameFlag = 0x0800;
constexpr uint16_t kUnicodePathExtraId = 0x7075;

// Code page 437, bytes 0x80 to 0xFF.
constexpr char16_t kCp437High[128] = {
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x00E0, 0x00E5, 0x00E7,
    0x00EA, 0x00EB, 0x00E8, 0x00EF, 0x00EE, 0x00EC, 0x00C4, 0x00C5,
    0x00C9, 0x00E6, 0x00C6, 0x00F4, 0x00F6, 0x00F2, 0x00FB, 0x00F9,
    0x00FF, 0x00D6, 0x00DC, 0x00A2, 0x00A3, 0x00A5, 0x20A7, 0x0192,
    0x00E1, 0x00ED, 0x00F3, 0x00FA, 0x00F1, 0x00D1, 0x00AA, 0x00BA,
    0x00BF, 0x2310, 0x00AC, 0x00BD, 0x00BC, 0x00A1, 0x00AB, 0x00BB,
    0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x2561, 0x2562, 0x2556,
    0x2555, 0x2563, 0x2551, 0x2557, 0x255D, 0x255C, 0x255B, 0x2510,
    0x2514, 0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x255E, 0x255F,
    0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550, 0x256C, 0x2567,
    0x2568, 0x2564, 0x2565, 0x2559, 0x2558, 0x2552, 0x2553, 0x256B,
    0x256A, 0x2518, 0x250C, 0x2588, 0x2584, 0x258C, 0x2590, 0x2580,
    0x03B1, 0x00DF, 0x0393, 0x03C0, 0x03A3, 0x03C3, 0x00B5, 0x03C4,
    0x03A6, 0x0398, 0x03A9, 0x03B4, 0x221E, 0x03C6, 0x03B5, 0x2229,
    0x2261, 0x00B1, 0x2265, 0x2264, 0x2320, 0x2321, 0x00F7, 0x2248,
    0x00B0, 0x2219, 0x00B7, 0x221A, 0x207F, 0x00B2, 0x25A0, 0x00A0,
};

std::wstring FromCp437(const std::string& bytes) {
  std::wstring text;
  text.reserve(bytes.size());
  for (unsigned char byte : bytes) {
    text.push_back(byte < 0x80 ? static_cast<wchar_t>(byte) : static_cast<wchar_t>(kCp437High[byte - 0x80]));
  }
  return text;
}

bool StartsWithDrive(const std::wstring& name) {
  return name.size() >= 2 && name[1] == L':' &&
         ((name[0] >= L'A' && name[0] <= L'Z') || (name[0] >= L'a' && name[0] <= L'z'));
}

}  // namespace

std::wstring DecodeZipEntryName(const ZipEntry& entry) {
  if (entry.flags & kUtf8NameFlag) return platform::FromUtf8(entry.name);
  // Info-ZIP keeps a UTF-8 copy beside the code-page name, tied to it by the
  // stored name's CRC so that a renamed entry does not pick up a stale copy.
  std::string unicode;
  if (FindZipExtra(entry.extra, kUnicodePathExtraId, unicode) && unicode.size() > 5 && unicode[0] == 1) {
    const uint32_t nameCrc = ZipRead32(reinterpret_cast<const unsigned char*>(unicode.data()) + 1);
    const auto actual = static_cast<uint32_t>(
        crc32(0L, reinterpret_cast<const Bytef*>(entry.name.data()), static_cast<uInt>(entry.name.size())));
    if (nameCrc == actual) return platform::FromUtf8(std::string_view(unicode).substr(5));
  }
  return FromCp437(entry.name);
}

std::wstring MakeSafeEntryPath(const std::wstring& stored) {
  std::wstring name = stored;
  for (wchar_t& c : name) {
    if (c == L'\\') c = L'/';
    if (c == L'\0') return {};
  }
  if (!name.empty() && name[0] == L'/') return {};

  for (bool changed = true; changed;) {
    changed = false;
    if (StartsWithDrive(name)) {
      name.erase(0, 2);
      changed = true;
    }
    if (!name.empty() && name[0] == L'/') {
      name.erase(0, 1);
      changed = true;
    }
    const size_t up = name.find(L"/../");
    if (up != std::wstring::npos) {
      name.erase(0, up + 4);
      changed = true;
    }
  }

  std::wstring path;
  size_t start = 0;
  while (start <= name.size()) {
    size_t end = name.find(L'/', start);
    if (end == std::wstring::npos) end = name.size();
    const std::wstring part = name.substr(start, end - start);
    start = end + 1;
    if (part.empty() || part == L".") continue;
    if (part == L"..") return {};
    if (!path.empty()) path += L'/';
    path += part;
  }
  return path;
}
