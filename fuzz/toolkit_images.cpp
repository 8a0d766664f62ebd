// Picture decoders (PNG, GIF, BMP, icon files) on arbitrary bytes: skins and
// icon files come from disk and may be damaged.
#include <cstddef>
#include <cstdint>

#include "toolkit/core/ImageCodec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (auto image = ImageCodec::Decode(data, size)) {
    // Touch every frame so a bad size would show.
    for (size_t i = 0; i < image->GetFrameCount(); ++i) {
      const Canvas& frame = image->GetFrame(i);
      (void)frame.GetPixel(frame.Width() - 1, frame.Height() - 1);
    }
  }
  ImageCodec::DecodeIcon(data, size);
  ImageCodec::DecodeBmp(data, size);
  ImageCodec::DecodeGif(data, size);
  return 0;
}
