#include "platform/graphics/BmpFile.h"

#include <cstddef>

namespace platform::gfx {

bool WriteBmp24(const uint32_t* argb, uint32_t width, uint32_t height, std::vector<uint8_t>* out) {
  if (!argb || width == 0 || height == 0 || width > 32768 || height > 32768) return false;
  const uint32_t rowBytes = (width * 3 + 3) & ~3u;
  const uint32_t imageBytes = rowBytes * height;
  const uint32_t fileBytes = 54 + imageBytes;
  std::vector<uint8_t> b(fileBytes, 0);
  auto put16 = [&](size_t at, uint32_t v) {
    b[at] = uint8_t(v);
    b[at + 1] = uint8_t(v >> 8);
  };
  auto put32 = [&](size_t at, uint32_t v) {
    put16(at, v & 0xFFFF);
    put16(at + 2, v >> 16);
  };
  b[0] = 'B';
  b[1] = 'M';
  put32(2, fileBytes);
  put32(10, 54);          // offset of the pixels
  put32(14, 40);          // information header size
  put32(18, width);
  put32(22, height);      // positive: rows bottom-up
  put16(26, 1);           // planes
  put16(28, 24);          // bits per pixel
  put32(30, 0);           // no compression
  put32(34, imageBytes);
  put32(38, 2835);        // 72 dots per inch, in pixels per metre
  put32(42, 2835);
  for (uint32_t y = 0; y < height; ++y) {
    const uint32_t* src = argb + size_t(height - 1 - y) * width;
    uint8_t* row = b.data() + 54 + size_t(y) * rowBytes;
    for (uint32_t x = 0; x < width; ++x) {
      row[x * 3 + 0] = uint8_t(src[x]);
      row[x * 3 + 1] = uint8_t(src[x] >> 8);
      row[x * 3 + 2] = uint8_t(src[x] >> 16);
    }
  }
  *out = std::move(b);
  return true;
}

}  // namespace platform::gfx
