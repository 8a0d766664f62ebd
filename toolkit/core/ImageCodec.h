#pragma once
// Decoders from bytes to Image: PNG, GIF (all frames), BMP and Windows icon
// files (the best image of the icon).  Every decoder checks every length and
// offset against the input and returns null for anything it cannot read.
// Thread-safety: free functions without shared state.
#include <cstddef>
#include <cstdint>
#include <memory>

#include "toolkit/core/Image.h"

namespace ImageCodec {

// Picks the decoder by the file's signature.
std::unique_ptr<Image> Decode(const uint8_t* data, size_t size);
std::unique_ptr<Image> DecodeGif(const uint8_t* data, size_t size);
std::unique_ptr<Image> DecodeBmp(const uint8_t* data, size_t size);
// The largest (then deepest) image of an icon file; PNG and BMP entries.
std::unique_ptr<Image> DecodeIcon(const uint8_t* data, size_t size);

}  // namespace ImageCodec
