#pragma once
// Reads a screenshot the window layer saved (a 24-bit BMP of a known size,
// rows bottom-up or top-down) back as A8R8G8B8 words, top row first, for
// the pixel probes.
#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace platform::testing {

inline bool ReadScreenshotBmp(const std::string& path, int width, int height, std::vector<uint32_t>* pixels) {
  std::ifstream in(path, std::ios::binary);
  const std::vector<uint8_t> bmp{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  if (bmp.size() != 54u + size_t(width) * 3 * height) return false;
  int32_t stored = 0;
  std::memcpy(&stored, &bmp[22], 4);
  pixels->assign(size_t(width) * height, 0);
  for (int y = 0; y < height; ++y) {
    const int row = stored > 0 ? height - 1 - y : y;
    for (int x = 0; x < width; ++x) {
      const uint8_t* p = &bmp[54 + (size_t(row) * width + x) * 3];
      (*pixels)[size_t(y) * width + x] = 0xFF000000u | uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];
    }
  }
  return true;
}

}  // namespace platform::testing
