#pragma once
// Builds .ZIP archives byte by byte for the extraction tests, so that each
// test can state exactly which field is odd (names, attributes, times, CRC).
#include <cstdint>
#include <string>
#include <vector>

struct FixtureEntry {
  std::string name;  // raw bytes as stored
  std::string data;
  uint16_t method = 8;       // 0 stored, 8 deflated
  uint16_t flags = 0;
  uint16_t madeBy = 0x0314;  // Unix, version 2.0
  uint32_t externalAttributes = 0100644u << 16;
  uint16_t dosTime = 0;
  uint16_t dosDate = 0x21;  // 1980-01-01
  std::string localExtra;
  std::string centralExtra;
  // Stored in both headers instead of the real CRC when nonzero.
  uint32_t crcOverride = 0;
  // Stored instead of the real uncompressed size when nonzero.
  uint32_t sizeOverride = 0;
};

struct FixtureLayout {
  std::vector<size_t> dataOffsets;  // where each entry's data begins
  std::vector<size_t> dataSizes;
  size_t directoryOffset = 0;
};

std::string BuildZip(const std::vector<FixtureEntry>& entries, FixtureLayout* layout = nullptr);

// A raw deflate stream of `data`.
std::string Deflate(const std::string& data);
// An extra field block: id, size, data.
std::string ExtraBlock(uint16_t id, const std::string& data);
std::string Le16(uint16_t value);
std::string Le32(uint32_t value);
