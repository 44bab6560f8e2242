// TGA reading: uncompressed (type 2) and run-length (type 10) true-colour
// images of 16, 24 or 32 bits a pixel.
#include <algorithm>
#include <memory>

#include "engine/image/ImageBytes.h"
#include "engine/image/TexTransport.h"
#include "platform/DebugOutput.h"

using imagebytes::U16;

namespace {

constexpr size_t kHeaderSize = 18;

TexTransport* Refuse(const char* why) {
  platform::DebugPrintf("[TexTransport::DecodeTGA] refused: %s\n", why);
  return nullptr;
}

// One stored pixel to blue, green, red, alpha.
void ConvertPixel(const uint8_t* src, unsigned bytesPerPixel, uint8_t* dst) {
  switch (bytesPerPixel) {
    case 2: {
      const unsigned p = U16(src);
      dst[0] = static_cast<uint8_t>((p & 31) * 8);
      dst[1] = static_cast<uint8_t>(((p >> 5) & 31) * 8);
      dst[2] = static_cast<uint8_t>(((p >> 10) & 31) * 8);
      dst[3] = 255;
      break;
    }
    case 3:
      imagebytes::OpaqueFromBGR(src, dst);
      break;
    default:
      std::copy(src, src + 4, dst);
      break;
  }
}

}  // namespace

TexTransport* TexTransport::DecodeTGA(const uint8_t* data, size_t size, int options) {
  if (!data || size < kHeaderSize) return Refuse("file shorter than its header");
  const unsigned idLength = data[0];
  const unsigned colourMapType = data[1];
  const unsigned imageType = data[2];
  const uint64_t colourMapLength = U16(data + 5);
  const unsigned colourMapBits = data[7];
  const int32_t w = U16(data + 12);
  const int32_t h = U16(data + 14);
  const unsigned depth = data[16];
  const unsigned descriptor = data[17];

  if (imageType != 2 && imageType != 10) return Refuse("not a true-colour image (type 2 or 10)");
  if (depth != 16 && depth != 24 && depth != 32) return Refuse("pixel depth not 16, 24 or 32");
  if (w == 0 || h == 0) return Refuse("empty image");
  if (w > kMaxDimension || h > kMaxDimension || int64_t{w} * h > kMaxPixels) return Refuse("dimensions over the cap");

  uint64_t pos = kHeaderSize + idLength;
  // Colour-map entries take whole bytes (a 15-bit entry takes two).
  if (colourMapType != 0) pos += colourMapLength * ((colourMapBits + 7) / 8);
  if (pos > size) return Refuse("identifier or colour map runs past the end of the file");

  const unsigned bpp = depth / 8;
  const uint64_t count = static_cast<uint64_t>(w) * static_cast<uint64_t>(h);
  const uint64_t left = size - pos;
  if (imageType == 2) {
    if (count * bpp > left) return Refuse("pixel data runs past the end of the file");
  } else {
    // Every packet covers at most 128 pixels with a header and one or more
    // pixels, so fewer bytes than this cannot fill the image.
    if ((count + 127) / 128 * (1 + bpp) > left) return Refuse("run-length data too short for the image");
  }

  auto image = std::make_unique<TexTransport>();
  image->width = w;
  image->height = h;
  image->pixels.assign(count * 4, 0);
  const uint8_t* src = data + pos;
  const uint8_t* end = data + size;
  uint8_t* dst = image->pixels.data();

  if (imageType == 2) {
    for (uint64_t i = 0; i < count; ++i, src += bpp, dst += 4) ConvertPixel(src, bpp, dst);
  } else {
    uint64_t filled = 0;
    while (filled < count) {
      if (src >= end) return Refuse("run-length data ends early");
      const unsigned header = *src++;
      const uint64_t run = (header & 127u) + 1;
      if (run > count - filled) return Refuse("run-length packet runs past the last pixel");
      if (header & 128u) {
        if (static_cast<size_t>(end - src) < bpp) return Refuse("run-length data ends early");
        uint8_t pixel[4];
        ConvertPixel(src, bpp, pixel);
        src += bpp;
        for (uint64_t i = 0; i < run; ++i, dst += 4) std::copy(pixel, pixel + 4, dst);
      } else {
        if (static_cast<uint64_t>(end - src) < run * bpp) return Refuse("run-length data ends early");
        for (uint64_t i = 0; i < run; ++i, src += bpp, dst += 4) ConvertPixel(src, bpp, dst);
      }
      filled += run;
    }
  }

  // Descriptor bit 5: the file's first row is the top row.
  const bool fileTopFirst = (descriptor & 0x20u) != 0;
  const bool wantBottomFirst = (options & kBottomUp) != 0;
  if (fileTopFirst == wantBottomFirst) FlipRows(image.get());
  image->loaded = 1;
  return image.release();
}
