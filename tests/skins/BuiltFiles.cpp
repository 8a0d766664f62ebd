#include "BuiltFiles.h"

#include <gif_lib.h>
#include <png.h>

#include <fstream>
#include <iterator>

namespace skintest {

std::filesystem::path RuntimeDir() { return KESTREL_RUNTIME_DIR; }
std::filesystem::path SkinDir() { return RuntimeDir() / "skins" / "theme1"; }
std::filesystem::path SourceDir() { return KESTREL_SOURCE_DIR; }

std::vector<unsigned char> ReadBytes(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string ReadText(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

Picture DecodePng(const std::vector<unsigned char>& bytes) {
  Picture p;
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (bytes.empty() || !png_image_begin_read_from_memory(&image, bytes.data(), bytes.size())) return p;
  image.format = PNG_FORMAT_BGRA;  // little-endian 0xAARRGGBB words
  p.argb.resize(PNG_IMAGE_SIZE(image) / 4);
  if (!png_image_finish_read(&image, nullptr, p.argb.data(), 0, nullptr)) {
    png_image_free(&image);
    return p;
  }
  p.ok = true;
  p.width = static_cast<int>(image.width);
  p.height = static_cast<int>(image.height);
  return p;
}

Picture ReadPng(const std::filesystem::path& file) { return DecodePng(ReadBytes(file)); }

Animation ReadGif(const std::filesystem::path& file) {
  Animation a;
  int error = 0;
  GifFileType* gif = DGifOpenFileName(file.c_str(), &error);
  if (gif == nullptr) return a;
  if (DGifSlurp(gif) == GIF_OK) {
    a.ok = true;
    a.width = gif->SWidth;
    a.height = gif->SHeight;
    a.frames = gif->ImageCount;
  }
  DGifCloseFile(gif, &error);
  return a;
}

std::vector<std::filesystem::path> SourceFiles(const std::vector<std::string>& folders,
                                               const std::vector<std::string>& extensions) {
  std::vector<std::filesystem::path> files;
  for (const std::string& folder : folders) {
    const std::filesystem::path root = SourceDir() / folder;
    if (!std::filesystem::is_directory(root)) continue;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
      if (!entry.is_regular_file()) continue;
      const std::string name = entry.path().filename().string();
      for (const std::string& ext : extensions) {
        if (name.size() >= ext.size() && name.compare(name.size() - ext.size(), ext.size(), ext) == 0) {
          files.push_back(entry.path());
          break;
        }
      }
    }
  }
  return files;
}

}  // namespace skintest
