#pragma once
// Helpers of the skin tests: where the build put its files, and small
// decoders for what the program will read (PNG, GIF, ICO, source text).
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace skintest {

std::filesystem::path RuntimeDir();
std::filesystem::path SkinDir();
std::filesystem::path SourceDir();

struct Picture {
  bool ok = false;
  int width = 0;
  int height = 0;
  std::vector<uint32_t> argb;  // straight (not premultiplied) alpha, row-major
  uint32_t At(int x, int y) const { return argb[static_cast<std::size_t>(y * width + x)]; }
};

Picture DecodePng(const std::vector<unsigned char>& bytes);
Picture ReadPng(const std::filesystem::path& file);

struct Animation {
  bool ok = false;
  int width = 0;
  int height = 0;
  int frames = 0;
};
Animation ReadGif(const std::filesystem::path& file);

std::vector<unsigned char> ReadBytes(const std::filesystem::path& file);
std::string ReadText(const std::filesystem::path& file);

// Every file below `folders` (relative to the source tree) whose name ends
// in one of `extensions`.
std::vector<std::filesystem::path> SourceFiles(const std::vector<std::string>& folders,
                                               const std::vector<std::string>& extensions);

}  // namespace skintest
