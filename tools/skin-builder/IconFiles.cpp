#include <cstdint>
#include <fstream>
#include <vector>

#include "Canvas.h"
#include "Outputs.h"
#include "Painters.h"
#include "SkinCatalog.h"

namespace {

cairo_status_t AppendBytes(void* closure, const unsigned char* data, unsigned int length) {
  auto* out = static_cast<std::vector<unsigned char>*>(closure);
  out->insert(out->end(), data, data + length);
  return CAIRO_STATUS_SUCCESS;
}

std::vector<unsigned char> LogoPng(int size) {
  Canvas canvas(size, size);
  DrawLogo(canvas.Cr(), 0, 0, size);
  cairo_surface_flush(canvas.Surface());
  std::vector<unsigned char> png;
  cairo_surface_write_to_png_stream(canvas.Surface(), AppendBytes, &png);
  return png;
}

void PutLe16(std::vector<unsigned char>& out, unsigned v) {
  out.push_back(static_cast<unsigned char>(v & 0xFF));
  out.push_back(static_cast<unsigned char>((v >> 8) & 0xFF));
}

void PutLe32(std::vector<unsigned char>& out, uint32_t v) {
  PutLe16(out, v & 0xFFFF);
  PutLe16(out, v >> 16);
}

bool WriteBytes(const std::string& path, const std::vector<unsigned char>& bytes) {
  if (!EnsureParentFolder(path)) return false;
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

}  // namespace

bool WriteIconFile(const std::string& path) {
  std::vector<std::vector<unsigned char>> images;
  for (int size : kIconSizes) images.push_back(LogoPng(size));

  // ICONDIR, then one ICONDIRENTRY per image, then the PNG streams.
  std::vector<unsigned char> out;
  PutLe16(out, 0);
  PutLe16(out, 1);
  PutLe16(out, static_cast<unsigned>(images.size()));
  uint32_t offset = static_cast<uint32_t>(6 + 16 * images.size());
  for (std::size_t i = 0; i < images.size(); ++i) {
    const int size = kIconSizes[i];
    out.push_back(static_cast<unsigned char>(size >= 256 ? 0 : size));  // 0 means 256
    out.push_back(static_cast<unsigned char>(size >= 256 ? 0 : size));
    out.push_back(0);   // no palette
    out.push_back(0);   // reserved
    PutLe16(out, 1);    // colour planes
    PutLe16(out, 32);   // bits per pixel
    PutLe32(out, static_cast<uint32_t>(images[i].size()));
    PutLe32(out, offset);
    offset += static_cast<uint32_t>(images[i].size());
  }
  for (const auto& image : images) out.insert(out.end(), image.begin(), image.end());
  return WriteBytes(path, out);
}

bool WriteAppIcon(const std::string& path, int size) { return WriteBytes(path, LogoPng(size)); }
