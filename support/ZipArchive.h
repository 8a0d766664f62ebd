#pragma once
// Reads the table of contents of a PKWARE .ZIP archive: the end record and
// the central directory, and where each entry's data begins.  Archives that
// need ZIP64 or span several disks are refused; nothing here inflates or
// writes files (see ZipEntryReader and ExtractZip).
//
// One object per extraction; not shared between threads.
#include <cstdint>
#include <string>
#include <vector>

// One central directory record, with the fields extraction needs.
struct ZipEntry {
  uint16_t madeBy = 0;  // high byte: the system that wrote it (3 = Unix)
  uint16_t flags = 0;   // bit 0 encrypted, bit 11 name in UTF-8
  uint16_t method = 0;  // 0 stored, 8 deflated
  uint16_t dosTime = 0;
  uint16_t dosDate = 0;
  uint32_t crc = 0;
  uint32_t compressedSize = 0;
  uint32_t uncompressedSize = 0;
  uint32_t externalAttributes = 0;  // low byte DOS attributes, high half Unix mode
  uint32_t localHeaderOffset = 0;
  std::string name;   // raw bytes as stored
  std::string extra;  // the central directory's extra field
};

class ZipArchive {
 public:
  ZipArchive() = default;
  ~ZipArchive();
  ZipArchive(const ZipArchive&) = delete;
  ZipArchive& operator=(const ZipArchive&) = delete;

  // Opens the archive and reads its directory.  False when the file cannot
  // be read, has no end record, needs ZIP64 or several disks, or its
  // directory lies outside the file.  A directory that breaks off part-way
  // keeps the entries before the break.
  bool Open(const std::string& path);

  const std::vector<ZipEntry>& Entries() const { return m_entries; }

  // Finds the entry's local header; gives the offset of its data and the
  // local extra field.  False when the header is missing or damaged.
  bool LocateData(const ZipEntry& entry, uint64_t& dataOffset, std::string& localExtra) const;

  // Reads up to `size` bytes at `offset`; fewer at the end of the file,
  // -1 on a read error.
  int64_t ReadAt(uint64_t offset, char* buffer, size_t size) const;

  uint64_t Size() const { return m_size; }

 private:
  int m_fd = -1;
  uint64_t m_size = 0;
  std::vector<ZipEntry> m_entries;
};

// Finds extra field block `id` in an extra field; false when absent or the
// field is malformed before it.
bool FindZipExtra(const std::string& extra, uint16_t id, std::string& data);

// Little-endian field readers over raw archive bytes.
inline uint16_t ZipRead16(const unsigned char* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
inline uint32_t ZipRead32(const unsigned char* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
         (static_cast<uint32_t>(p[3]) << 24);
}
