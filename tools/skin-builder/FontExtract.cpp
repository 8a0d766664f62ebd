// kestrel-font-extract: copies one face out of an OpenType collection (.ttc)
// into a plain OpenType file.  Debian ships the Source Han Sans design only
// as the Noto Sans CJK collection, while the toolkit loads the single face
// font/SourceHanSansCN-Regular.otf; this tool bridges the two.
//
//   kestrel-font-extract COLLECTION POSTSCRIPT-NAME OUTPUT
//
// The face is found by its PostScript name (name id 6).  Its tables are
// copied unchanged, four-byte aligned, and the head table's checksum
// adjustment is recomputed for the new file.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

bool Fits(const Bytes& b, std::size_t offset, std::size_t length) {
  return offset <= b.size() && length <= b.size() - offset;
}

uint32_t Be32(const Bytes& b, std::size_t o) {
  return (uint32_t{b[o]} << 24) | (uint32_t{b[o + 1]} << 16) | (uint32_t{b[o + 2]} << 8) | b[o + 3];
}
uint16_t Be16(const Bytes& b, std::size_t o) { return static_cast<uint16_t>((b[o] << 8) | b[o + 1]); }

void Put32(Bytes& b, std::size_t o, uint32_t v) {
  b[o] = static_cast<unsigned char>(v >> 24);
  b[o + 1] = static_cast<unsigned char>(v >> 16);
  b[o + 2] = static_cast<unsigned char>(v >> 8);
  b[o + 3] = static_cast<unsigned char>(v);
}

struct Table {
  uint32_t tag, checksum, offset, length;
};

// The table records of the face whose offset table starts at `face`; empty
// when the records do not fit the file.
std::vector<Table> Tables(const Bytes& b, std::size_t face) {
  std::vector<Table> tables;
  if (!Fits(b, face, 12)) return tables;
  const unsigned count = Be16(b, face + 4);
  if (!Fits(b, face + 12, std::size_t{count} * 16)) return tables;
  for (unsigned i = 0; i < count; ++i) {
    const std::size_t r = face + 12 + i * 16;
    Table t{Be32(b, r), Be32(b, r + 4), Be32(b, r + 8), Be32(b, r + 12)};
    if (!Fits(b, t.offset, t.length)) return {};
    tables.push_back(t);
  }
  return tables;
}

constexpr uint32_t Tag(const char (&s)[5]) {
  return (uint32_t(s[0]) << 24) | (uint32_t(s[1]) << 16) | (uint32_t(s[2]) << 8) | uint32_t(s[3]);
}

// The PostScript name of a face, from its name table (Macintosh Roman or
// Windows UTF-16 records; the name is ASCII either way).
std::string PostScriptName(const Bytes& b, const std::vector<Table>& tables) {
  for (const Table& t : tables) {
    if (t.tag != Tag("name") || t.length < 6) continue;
    const unsigned count = Be16(b, t.offset + 2);
    const std::size_t strings = t.offset + Be16(b, t.offset + 4);
    for (unsigned i = 0; i < count; ++i) {
      const std::size_t r = t.offset + 6 + i * 12;
      if (r + 12 > t.offset + t.length) break;
      const unsigned platform = Be16(b, r), nameId = Be16(b, r + 6);
      const unsigned length = Be16(b, r + 8), offset = Be16(b, r + 10);
      if (nameId != 6 || !Fits(b, strings + offset, length)) continue;
      std::string name;
      if (platform == 1) {
        name.assign(b.begin() + static_cast<long>(strings + offset),
                    b.begin() + static_cast<long>(strings + offset + length));
      } else if (platform == 3 || platform == 0) {
        for (unsigned k = 0; k + 1 < length; k += 2) {
          name.push_back(static_cast<char>(Be16(b, strings + offset + k) & 0x7F));
        }
      }
      if (!name.empty()) return name;
    }
  }
  return {};
}

Bytes Extract(const Bytes& b, std::size_t face, const std::vector<Table>& tables) {
  Bytes out(12 + tables.size() * 16, 0);
  std::memcpy(out.data(), b.data() + face, 12);
  std::size_t headOffset = 0;
  for (std::size_t i = 0; i < tables.size(); ++i) {
    const Table& t = tables[i];
    const std::size_t offset = out.size();
    out.insert(out.end(), b.begin() + t.offset, b.begin() + t.offset + t.length);
    while (out.size() % 4 != 0) out.push_back(0);
    const std::size_t r = 12 + i * 16;
    Put32(out, r, t.tag);
    Put32(out, r + 4, t.checksum);
    Put32(out, r + 8, static_cast<uint32_t>(offset));
    Put32(out, r + 12, t.length);
    if (t.tag == Tag("head")) headOffset = offset;
  }
  if (headOffset != 0 && headOffset + 12 <= out.size()) {
    Put32(out, headOffset + 8, 0);
    uint32_t sum = 0;
    for (std::size_t o = 0; o + 4 <= out.size(); o += 4) sum += Be32(out, o);
    Put32(out, headOffset + 8, 0xB1B0AFBA - sum);
  }
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: kestrel-font-extract COLLECTION POSTSCRIPT-NAME OUTPUT\n");
    return 2;
  }
  std::ifstream in(argv[1], std::ios::binary);
  const Bytes b((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (!Fits(b, 0, 12) || Be32(b, 0) != Tag("ttcf")) {
    std::fprintf(stderr, "kestrel-font-extract: %s is not a font collection\n", argv[1]);
    return 1;
  }
  const uint32_t faces = Be32(b, 8);
  if (!Fits(b, 12, std::size_t{faces} * 4)) return 1;
  for (uint32_t i = 0; i < faces; ++i) {
    const std::size_t face = Be32(b, 12 + i * 4);
    const std::vector<Table> tables = Tables(b, face);
    if (tables.empty() || PostScriptName(b, tables) != argv[2]) continue;
    const Bytes out = Extract(b, face, tables);
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(argv[3]).parent_path(), ec);
    std::ofstream file(argv[3], std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(out.data()), static_cast<std::streamsize>(out.size()));
    return file ? 0 : 1;
  }
  std::fprintf(stderr, "kestrel-font-extract: no face named %s in %s\n", argv[2], argv[1]);
  return 1;
}
