#include "support/ZipEntryReader.h"

#include <zlib.h>

#include <algorithm>

namespace {

constexpr uint16_t kStored = 0;
constexpr uint16_t kDeflated = 8;
constexpr uint16_t kEncryptedFlag = 0x0001;
constexpr uint16_t kStrongEncryptionFlag = 0x0040;

}  // namespace

// zlib's stream state, ended exactly once.
struct ZipEntryReader::Inflater {
  z_stream stream{};
  bool ready = false;
  Inflater() { ready = inflateInit2(&stream, -MAX_WBITS) == Z_OK; }
  ~Inflater() {
    if (ready) inflateEnd(&stream);
  }
};

ZipEntryReader::ZipEntryReader(const ZipArchive& archive, const ZipEntry& entry, uint64_t dataOffset)
    : m_archive(archive), m_entry(entry), m_inputOffset(dataOffset), m_inputLeft(entry.compressedSize) {
  m_crc = static_cast<uint32_t>(crc32(0L, Z_NULL, 0));
  if (entry.flags & (kEncryptedFlag | kStrongEncryptionFlag)) return;
  if (entry.method == kStored) {
    m_canRead = true;
  } else if (entry.method == kDeflated) {
    m_inflater = std::make_unique<Inflater>();
    m_canRead = m_inflater->ready;
    m_input.resize(kZipStepBytes);
  }
}

ZipEntryReader::~ZipEntryReader() = default;

bool ZipEntryReader::CrcMatches() const { return m_finished && !m_damaged && m_crc == m_entry.crc; }

int64_t ZipEntryReader::Read(char* buffer, size_t size) {
  if (!m_canRead || m_damaged) return -1;
  if (m_finished) return 0;
  const int64_t got = m_entry.method == kStored ? ReadStored(buffer, size) : ReadDeflated(buffer, size);
  if (got < 0) {
    m_damaged = true;
    return -1;
  }
  if (got == 0) {
    m_finished = true;
    // Content shorter than the directory says is damaged too.
    if (m_produced != m_entry.uncompressedSize) {
      m_damaged = true;
      return -1;
    }
    return 0;
  }
  m_produced += static_cast<uint64_t>(got);
  if (m_produced > m_entry.uncompressedSize) {
    m_damaged = true;
    return -1;
  }
  m_crc = static_cast<uint32_t>(crc32(m_crc, reinterpret_cast<const Bytef*>(buffer), static_cast<uInt>(got)));
  return got;
}

int64_t ZipEntryReader::ReadStored(char* buffer, size_t size) {
  const size_t want = static_cast<size_t>(std::min<uint64_t>({size, m_inputLeft, kZipStepBytes}));
  if (want == 0) return 0;
  const int64_t got = m_archive.ReadAt(m_inputOffset, buffer, want);
  if (got != static_cast<int64_t>(want)) return -1;
  m_inputOffset += want;
  m_inputLeft -= want;
  return got;
}

bool ZipEntryReader::FillInput() {
  const size_t want = static_cast<size_t>(std::min<uint64_t>(m_inputLeft, m_input.size()));
  const int64_t got = m_archive.ReadAt(m_inputOffset, m_input.data(), want);
  if (got != static_cast<int64_t>(want)) return false;
  m_inputOffset += want;
  m_inputLeft -= want;
  z_stream& stream = m_inflater->stream;
  stream.next_in = reinterpret_cast<Bytef*>(m_input.data());
  stream.avail_in = static_cast<uInt>(want);
  return true;
}

int64_t ZipEntryReader::ReadDeflated(char* buffer, size_t size) {
  if (m_streamEnded) return 0;
  z_stream& stream = m_inflater->stream;
  const size_t room = std::min(size, kZipStepBytes);
  stream.next_out = reinterpret_cast<Bytef*>(buffer);
  stream.avail_out = static_cast<uInt>(room);
  while (stream.avail_out > 0) {
    if (stream.avail_in == 0) {
      if (m_inputLeft == 0) {
        // The compressed data ended before the deflate stream did: hand
        // over what came out, the next call reports the damage.
        if (stream.avail_out == room) return -1;
        break;
      }
      if (!FillInput()) return -1;
    }
    const int status = inflate(&stream, Z_NO_FLUSH);
    if (status == Z_STREAM_END) {
      m_streamEnded = true;
      break;
    }
    // Z_BUF_ERROR only says that no progress was possible with the input
    // at hand; the loop fetches more.
    if (status != Z_OK && status != Z_BUF_ERROR) return -1;
  }
  return static_cast<int64_t>(room - stream.avail_out);
}
