#pragma once
// Small ".bmp" and ".tga" files laid out by hand for the image tests.
#include <functional>

#include "renderer/formats/tests/Bytes.h"

struct BmpLayout {
  int32_t width = 4;
  int32_t height = 2;  // negative: rows stored top first
  uint16_t bits = 24;
  uint32_t compression = 0;
  uint32_t coloursUsed = 0;
  uint32_t paletteEntries = 0;  // entries actually stored (8-bit)
  bool bitFieldMasks = false;   // three standard masks after the header
  // Bytes of stored pixel (x, fileRow), fileRow 0 being the first row in the file.
  std::function<uint8_t(int x, int fileRow, int byte)> pixel = [](int x, int r, int b) {
    return uint8_t(x * 16 + r * 64 + b * 3);
  };
};

inline std::vector<uint8_t> MakeBmp(const BmpLayout& s) {
  const int rows = s.height < 0 ? -s.height : s.height;
  const int bytes = s.bits / 8;
  const int stride = (s.width * bytes + 3) & ~3;
  const uint32_t extra = (s.bitFieldMasks ? 12 : 0) + s.paletteEntries * 4;
  const uint32_t offset = 14 + 40 + extra;
  Bytes b;
  b.raw("BM").u32(offset + uint32_t(stride * rows)).u32(0).u32(offset);
  b.u32(40).u32(uint32_t(s.width)).u32(uint32_t(s.height)).u16(1).u16(s.bits).u32(s.compression);
  b.u32(uint32_t(stride * rows)).u32(2835).u32(2835).u32(s.coloursUsed).u32(0);
  if (s.bitFieldMasks) b.u32(0x00FF0000).u32(0x0000FF00).u32(0x000000FF);
  for (uint32_t i = 0; i < s.paletteEntries; ++i) b.u8(uint8_t(i)).u8(uint8_t(255 - i)).u8(uint8_t(i / 2)).u8(uint8_t(i ^ 0x55));
  for (int r = 0; r < rows; ++r) {
    for (int x = 0; x < s.width; ++x)
      for (int k = 0; k < bytes; ++k) b.u8(s.pixel(x, r, k));
    b.zeros(size_t(stride - s.width * bytes));
  }
  return b.b;
}

// An uncompressed 32-bit ".tga" of one colour (blue, green, red, alpha), bottom-up.
inline std::vector<uint8_t> MakeTga32(int w, int h, const uint8_t bgra[4]) {
  Bytes b;
  b.u8(0).u8(0).u8(2).u16(0).u16(0).u8(0).u16(0).u16(0).u16(uint16_t(w)).u16(uint16_t(h)).u8(32).u8(8);
  for (int i = 0; i < w * h; ++i) b.u8(bgra[0]).u8(bgra[1]).u8(bgra[2]).u8(bgra[3]);
  return b.b;
}
