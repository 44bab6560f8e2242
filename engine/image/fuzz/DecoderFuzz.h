#pragma once
// The shared body of the image-decoder fuzzers: arbitrary bytes go to one
// decoder in both row orders, and a decoded image must hold exactly its rows;
// anything else is a fault.
#include <cstdint>
#include <cstdlib>
#include <memory>

#include "engine/image/TexTransport.h"
#include "platform/DebugOutput.h"

// Progressive and arithmetic-coded JPEG files may claim large images in a
// few bytes, and decoding one honestly takes long. JPEG targets skip inputs
// whose frame header claims more than this many pixels, so the run explores
// the decoder's paths instead of filling memory; the decoder's own caps are
// tested beside it.
constexpr uint64_t kFuzzMaxJpegPixels = uint64_t{1} << 20;

// The width times height of a JPEG's first frame header, or 0 when none is
// found.
inline uint64_t JpegClaimedPixels(const uint8_t* data, size_t size) {
  size_t at = 2;
  while (at + 4 <= size) {
    if (data[at] != 0xFF) return 0;
    const uint8_t marker = data[at + 1];
    const size_t length = size_t{data[at + 2]} << 8 | data[at + 3];
    const bool frame = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
    if (frame) {
      if (at + 9 > size) return 0;
      const uint64_t height = uint64_t{data[at + 5]} << 8 | data[at + 6];
      const uint64_t width = uint64_t{data[at + 7]} << 8 | data[at + 8];
      return width * height;
    }
    at += 2 + length;
  }
  return 0;
}

using ImageDecoder = TexTransport* (*)(const uint8_t* data, size_t size, int options);

inline int FuzzDecoder(ImageDecoder decode, const uint8_t* data, size_t size) {
  for (int options : {0, TexTransport::kBottomUp}) {
    std::unique_ptr<TexTransport> image(decode(data, size, options));
    if (!image) continue;
    if (image->width <= 0 || image->height <= 0 || image->loaded != 1 ||
        image->pixels.size() != image->RowStride() * static_cast<size_t>(image->height))
      std::abort();
  }
  return 0;
}
