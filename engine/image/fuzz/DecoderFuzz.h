#pragma once
// The shared body of the image-decoder fuzzers: arbitrary bytes go to one
// decoder in both row orders, and a decoded image must hold exactly its rows;
// anything else is a fault.
#include <cstdint>
#include <cstdlib>
#include <memory>

#include "engine/image/TexTransport.h"
#include "platform/DebugOutput.h"

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
