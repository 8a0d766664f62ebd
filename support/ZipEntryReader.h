#pragma once
// Produces the content of one archive entry piece by piece: stored entries
// are copied, deflated ones inflated with zlib's raw inflate, both in
// 16384-byte steps, and the CRC-32 of what came out is kept.
//
// One object per entry; not shared between threads.
#include <cstdint>
#include <memory>
#include <vector>

#include "support/ZipArchive.h"

// The step in which entry data is read and produced.
constexpr size_t kZipStepBytes = 16384;

class ZipEntryReader {
 public:
  ZipEntryReader(const ZipArchive& archive, const ZipEntry& entry, uint64_t dataOffset);
  ~ZipEntryReader();
  ZipEntryReader(const ZipEntryReader&) = delete;
  ZipEntryReader& operator=(const ZipEntryReader&) = delete;

  // False for entries that cannot be read at all: encrypted ones and
  // unknown compression methods.
  bool CanRead() const { return m_canRead; }

  // Fills up to `size` bytes; returns the count, 0 once the entry is
  // complete, -1 when the data is damaged: it breaks off, fails to inflate,
  // or grows beyond the size the directory gives.
  int64_t Read(char* buffer, size_t size);

  // After Read returned 0: whether the content matches the stored CRC.
  bool CrcMatches() const;

 private:
  int64_t ReadStored(char* buffer, size_t size);
  int64_t ReadDeflated(char* buffer, size_t size);
  // Reads the next piece of compressed input; false on a damaged archive.
  bool FillInput();

  struct Inflater;
  const ZipArchive& m_archive;
  const ZipEntry& m_entry;
  uint64_t m_inputOffset;
  uint64_t m_inputLeft;
  uint64_t m_produced = 0;
  uint32_t m_crc = 0;
  bool m_canRead = false;
  bool m_finished = false;
  bool m_damaged = false;
  bool m_streamEnded = false;
  std::vector<char> m_input;
  std::unique_ptr<Inflater> m_inflater;
};
