#include "support/ZipArchive.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace {

constexpr uint32_t kEndSignature = 0x06054b50;
constexpr uint32_t kZip64LocatorSignature = 0x07064b50;
constexpr uint32_t kCentralSignature = 0x02014b50;
constexpr uint32_t kLocalSignature = 0x04034b50;
constexpr size_t kEndSize = 22;
constexpr size_t kZip64LocatorSize = 20;
constexpr size_t kCentralSize = 46;
constexpr size_t kLocalSize = 30;
constexpr size_t kMaxCommentSize = 0xFFFF;
constexpr uint16_t kZip64ExtraId = 0x0001;

const unsigned char* Bytes(const std::string& text, size_t at) {
  return reinterpret_cast<const unsigned char*>(text.data()) + at;
}

}  // namespace

ZipArchive::~ZipArchive() {
  if (m_fd >= 0) ::close(m_fd);
}

int64_t ZipArchive::ReadAt(uint64_t offset, char* buffer, size_t size) const {
  size_t done = 0;
  while (done < size) {
    ssize_t got = ::pread(m_fd, buffer + done, size - done, static_cast<off_t>(offset + done));
    if (got < 0) {
      if (errno == EINTR) continue;
      return -1;
    }
    if (got == 0) break;
    done += static_cast<size_t>(got);
  }
  return static_cast<int64_t>(done);
}

bool ZipArchive::Open(const std::string& path) {
  // Not blocking: a named pipe in place of the archive must not hang us;
  // it is refused below like anything else that is no regular file.
  m_fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (m_fd < 0) return false;
  struct stat info {};
  if (::fstat(m_fd, &info) != 0 || !S_ISREG(info.st_mode)) return false;
  m_size = static_cast<uint64_t>(info.st_size);
  if (m_size < kEndSize) return false;

  // The end record sits in the last 22 bytes plus at most a 64 KiB comment.
  const uint64_t tailSize = std::min<uint64_t>(m_size, kEndSize + kMaxCommentSize);
  const uint64_t tailStart = m_size - tailSize;
  std::string tail(tailSize, '\0');
  if (ReadAt(tailStart, tail.data(), tail.size()) != static_cast<int64_t>(tail.size())) return false;
  size_t endAt = std::string::npos;
  for (size_t at = tail.size() - kEndSize + 1; at-- > 0;) {
    if (ZipRead32(Bytes(tail, at)) != kEndSignature) continue;
    // A signature inside the comment would leave too little room for the
    // comment length it claims.
    if (at + kEndSize + ZipRead16(Bytes(tail, at + 20)) <= tail.size()) {
      endAt = at;
      break;
    }
  }
  if (endAt == std::string::npos) return false;

  const unsigned char* end = Bytes(tail, endAt);
  const uint16_t disk = ZipRead16(end + 4);
  const uint16_t directoryDisk = ZipRead16(end + 6);
  const uint16_t entriesHere = ZipRead16(end + 8);
  const uint16_t entriesTotal = ZipRead16(end + 10);
  const uint32_t directorySize = ZipRead32(end + 12);
  const uint32_t directoryOffset = ZipRead32(end + 16);
  if (disk != 0 || directoryDisk != 0 || entriesHere != entriesTotal) return false;
  if (entriesTotal == 0xFFFF || directorySize == 0xFFFFFFFF || directoryOffset == 0xFFFFFFFF) return false;
  if (endAt >= kZip64LocatorSize && ZipRead32(Bytes(tail, endAt - kZip64LocatorSize)) == kZip64LocatorSignature) {
    return false;
  }
  const uint64_t endOffset = tailStart + endAt;
  if (uint64_t{directoryOffset} + directorySize > endOffset) return false;

  std::string directory(directorySize, '\0');
  if (ReadAt(directoryOffset, directory.data(), directory.size()) != static_cast<int64_t>(directory.size())) {
    return false;
  }
  size_t at = 0;
  for (uint32_t index = 0; index < entriesTotal; ++index) {
    if (at + kCentralSize > directory.size()) break;
    const unsigned char* record = Bytes(directory, at);
    if (ZipRead32(record) != kCentralSignature) break;
    const size_t nameSize = ZipRead16(record + 28);
    const size_t extraSize = ZipRead16(record + 30);
    const size_t commentSize = ZipRead16(record + 32);
    if (at + kCentralSize + nameSize + extraSize + commentSize > directory.size()) break;
    ZipEntry entry;
    entry.madeBy = ZipRead16(record + 4);
    entry.flags = ZipRead16(record + 8);
    entry.method = ZipRead16(record + 10);
    entry.dosTime = ZipRead16(record + 12);
    entry.dosDate = ZipRead16(record + 14);
    entry.crc = ZipRead32(record + 16);
    entry.compressedSize = ZipRead32(record + 20);
    entry.uncompressedSize = ZipRead32(record + 24);
    const uint16_t startDisk = ZipRead16(record + 34);
    entry.externalAttributes = ZipRead32(record + 38);
    entry.localHeaderOffset = ZipRead32(record + 42);
    entry.name = directory.substr(at + kCentralSize, nameSize);
    entry.extra = directory.substr(at + kCentralSize + nameSize, extraSize);
    // Any sign of ZIP64 refuses the whole archive rather than misreading
    // sizes and offsets that live elsewhere.
    std::string zip64;
    if (entry.compressedSize == 0xFFFFFFFF || entry.uncompressedSize == 0xFFFFFFFF ||
        entry.localHeaderOffset == 0xFFFFFFFF || startDisk == 0xFFFF ||
        FindZipExtra(entry.extra, kZip64ExtraId, zip64)) {
      m_entries.clear();
      return false;
    }
    m_entries.push_back(std::move(entry));
    at += kCentralSize + nameSize + extraSize + commentSize;
  }
  return true;
}

bool ZipArchive::LocateData(const ZipEntry& entry, uint64_t& dataOffset, std::string& localExtra) const {
  unsigned char header[kLocalSize];
  if (ReadAt(entry.localHeaderOffset, reinterpret_cast<char*>(header), kLocalSize) != static_cast<int64_t>(kLocalSize)) {
    return false;
  }
  if (ZipRead32(header) != kLocalSignature) return false;
  const uint64_t nameSize = ZipRead16(header + 26);
  const uint64_t extraSize = ZipRead16(header + 28);
  localExtra.assign(extraSize, '\0');
  const uint64_t extraAt = uint64_t{entry.localHeaderOffset} + kLocalSize + nameSize;
  if (ReadAt(extraAt, localExtra.data(), localExtra.size()) != static_cast<int64_t>(extraSize)) return false;
  dataOffset = extraAt + extraSize;
  return true;
}

bool FindZipExtra(const std::string& extra, uint16_t id, std::string& data) {
  size_t at = 0;
  while (at + 4 <= extra.size()) {
    const uint16_t blockId = ZipRead16(Bytes(extra, at));
    const size_t blockSize = ZipRead16(Bytes(extra, at + 2));
    if (at + 4 + blockSize > extra.size()) return false;
    if (blockId == id) {
      data = extra.substr(at + 4, blockSize);
      return true;
    }
    at += 4 + blockSize;
  }
  return false;
}
