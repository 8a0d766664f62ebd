#include "ZipFixture.h"

#include <zlib.h>

std::string Le16(uint16_t value) {
  return {static_cast<char>(value & 0xFF), static_cast<char>(value >> 8)};
}

std::string Le32(uint32_t value) { return Le16(static_cast<uint16_t>(value)) + Le16(static_cast<uint16_t>(value >> 16)); }

std::string ExtraBlock(uint16_t id, const std::string& data) {
  return Le16(id) + Le16(static_cast<uint16_t>(data.size())) + data;
}

std::string Deflate(const std::string& data) {
  z_stream stream{};
  deflateInit2(&stream, 6, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
  std::string out(deflateBound(&stream, static_cast<uLong>(data.size())) + 16, '\0');
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
  stream.avail_in = static_cast<uInt>(data.size());
  stream.next_out = reinterpret_cast<Bytef*>(out.data());
  stream.avail_out = static_cast<uInt>(out.size());
  deflate(&stream, Z_FINISH);
  out.resize(stream.total_out);
  deflateEnd(&stream);
  return out;
}

std::string BuildZip(const std::vector<FixtureEntry>& entries, FixtureLayout* layout) {
  std::string archive;
  std::string directory;
  for (const FixtureEntry& entry : entries) {
    const std::string payload = entry.method == 8 ? Deflate(entry.data) : entry.data;
    uint32_t crc = static_cast<uint32_t>(
        crc32(0L, reinterpret_cast<const Bytef*>(entry.data.data()), static_cast<uInt>(entry.data.size())));
    if (entry.crcOverride) crc = entry.crcOverride;
    const uint32_t size = entry.sizeOverride ? entry.sizeOverride : static_cast<uint32_t>(entry.data.size());
    const uint32_t offset = static_cast<uint32_t>(archive.size());
    std::string common = Le16(20) + Le16(entry.flags) + Le16(entry.method) + Le16(entry.dosTime) +
                         Le16(entry.dosDate) + Le32(crc) + Le32(static_cast<uint32_t>(payload.size())) + Le32(size) +
                         Le16(static_cast<uint16_t>(entry.name.size()));
    archive += Le32(0x04034b50) + common + Le16(static_cast<uint16_t>(entry.localExtra.size())) + entry.name +
               entry.localExtra;
    if (layout) {
      layout->dataOffsets.push_back(archive.size());
      layout->dataSizes.push_back(payload.size());
    }
    archive += payload;
    directory += Le32(0x02014b50) + Le16(entry.madeBy) + common +
                 Le16(static_cast<uint16_t>(entry.centralExtra.size())) + Le16(0) + Le16(0) + Le16(0) +
                 Le32(entry.externalAttributes) + Le32(offset) + entry.name + entry.centralExtra;
  }
  if (layout) layout->directoryOffset = archive.size();
  const uint32_t directoryOffset = static_cast<uint32_t>(archive.size());
  archive += directory;
  archive += Le32(0x06054b50) + Le16(0) + Le16(0) + Le16(static_cast<uint16_t>(entries.size())) +
             Le16(static_cast<uint16_t>(entries.size())) + Le32(static_cast<uint32_t>(directory.size())) +
             Le32(directoryOffset) + Le16(0);
  return archive;
}
