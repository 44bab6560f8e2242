#include "platform/graphics/PixelFormat.h"

#include <algorithm>
#include <cstring>

#include "platform/graphics/Dxt1.h"
#include "platform/graphics/GfxConstants.h"

namespace platform::gfx {
namespace {

// Widens an n-bit channel to 8 bits by repeating its top bits.
uint32_t Widen(uint32_t v, int bits) {
  switch (bits) {
    case 1: return v ? 255 : 0;
    case 2: return v * 85;
    case 3: return (v << 5) | (v << 2) | (v >> 1);
    case 4: return v * 17;
    case 5: return (v << 3) | (v >> 2);
    case 6: return (v << 2) | (v >> 4);
    default: return v;
  }
}

uint16_t Load16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }
void Store16(uint8_t* p, uint32_t v) {
  p[0] = uint8_t(v & 255);
  p[1] = uint8_t((v >> 8) & 255);
}

}  // namespace

bool IsColorFormat(uint32_t format) {
  switch (format) {
    case D3DFMT_R8G8B8: case D3DFMT_A8R8G8B8: case D3DFMT_X8R8G8B8: case D3DFMT_R5G6B5:
    case D3DFMT_X1R5G5B5: case D3DFMT_A1R5G5B5: case D3DFMT_A4R4G4B4: case D3DFMT_R3G3B2:
    case D3DFMT_A8: case D3DFMT_A8R3G3B2: case D3DFMT_X4R4G4B4: case D3DFMT_DXT1:
      return true;
    default:
      return false;
  }
}

bool IsDepthFormat(uint32_t format) { return DepthBytes(format) != 0; }

uint32_t DepthBytes(uint32_t format) {
  switch (format) {
    case D3DFMT_D16_LOCKABLE: case D3DFMT_D16: case D3DFMT_D15S1: return 2;
    case D3DFMT_D32: case D3DFMT_D24S8: case D3DFMT_D24X8: case D3DFMT_D24X4S4: return 4;
    default: return 0;
  }
}

bool IsBlockCompressed(uint32_t format) { return format == D3DFMT_DXT1; }

uint32_t BytesPerPixel(uint32_t format) {
  switch (format) {
    case D3DFMT_A8R8G8B8: case D3DFMT_X8R8G8B8: return 4;
    case D3DFMT_R8G8B8: return 3;
    case D3DFMT_R5G6B5: case D3DFMT_X1R5G5B5: case D3DFMT_A1R5G5B5: case D3DFMT_A4R4G4B4:
    case D3DFMT_A8R3G3B2: case D3DFMT_X4R4G4B4: return 2;
    case D3DFMT_R3G3B2: case D3DFMT_A8: return 1;
    default: return DepthBytes(format);
  }
}

uint32_t RowPitch(uint32_t format, uint32_t width) {
  if (IsBlockCompressed(format)) return ((width + 3) / 4) * 8;
  return width * BytesPerPixel(format);
}

uint32_t StorageRows(uint32_t format, uint32_t height) {
  return IsBlockCompressed(format) ? (height + 3) / 4 : height;
}

uint64_t SurfaceBytes(uint32_t format, uint32_t width, uint32_t height) {
  return uint64_t(RowPitch(format, width)) * StorageRows(format, height);
}

uint32_t ReadArgb(uint32_t format, const uint8_t* p) {
  switch (format) {
    case D3DFMT_A8R8G8B8:
      return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
    case D3DFMT_X8R8G8B8:
      return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | 0xFF000000u;
    case D3DFMT_R8G8B8:
      return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | 0xFF000000u;
    case D3DFMT_R5G6B5: {
      const uint32_t v = Load16(p);
      return 0xFF000000u | Widen((v >> 11) & 31, 5) << 16 | Widen((v >> 5) & 63, 6) << 8 | Widen(v & 31, 5);
    }
    case D3DFMT_X1R5G5B5: case D3DFMT_A1R5G5B5: {
      const uint32_t v = Load16(p);
      const uint32_t a = format == D3DFMT_A1R5G5B5 ? Widen(v >> 15, 1) : 255;
      return a << 24 | Widen((v >> 10) & 31, 5) << 16 | Widen((v >> 5) & 31, 5) << 8 | Widen(v & 31, 5);
    }
    case D3DFMT_A4R4G4B4: case D3DFMT_X4R4G4B4: {
      const uint32_t v = Load16(p);
      const uint32_t a = format == D3DFMT_A4R4G4B4 ? Widen(v >> 12, 4) : 255;
      return a << 24 | Widen((v >> 8) & 15, 4) << 16 | Widen((v >> 4) & 15, 4) << 8 | Widen(v & 15, 4);
    }
    case D3DFMT_A8R3G3B2: case D3DFMT_R3G3B2: {
      const uint32_t v = format == D3DFMT_A8R3G3B2 ? Load16(p) : p[0];
      const uint32_t a = format == D3DFMT_A8R3G3B2 ? (v >> 8) & 255 : 255;
      return a << 24 | Widen((v >> 5) & 7, 3) << 16 | Widen((v >> 2) & 7, 3) << 8 | Widen(v & 3, 2);
    }
    case D3DFMT_A8:
      return uint32_t(p[0]) << 24;
    default:
      return 0;
  }
}

void WriteArgb(uint32_t format, uint8_t* p, uint32_t c) {
  const uint32_t a = c >> 24, r = (c >> 16) & 255, g = (c >> 8) & 255, b = c & 255;
  switch (format) {
    case D3DFMT_A8R8G8B8: case D3DFMT_X8R8G8B8:
      p[0] = uint8_t(b), p[1] = uint8_t(g), p[2] = uint8_t(r);
      p[3] = uint8_t(format == D3DFMT_A8R8G8B8 ? a : 255);
      break;
    case D3DFMT_R8G8B8:
      p[0] = uint8_t(b), p[1] = uint8_t(g), p[2] = uint8_t(r);
      break;
    case D3DFMT_R5G6B5: Store16(p, (r >> 3) << 11 | (g >> 2) << 5 | (b >> 3)); break;
    case D3DFMT_X1R5G5B5: Store16(p, 0x8000 | (r >> 3) << 10 | (g >> 3) << 5 | (b >> 3)); break;
    case D3DFMT_A1R5G5B5: Store16(p, (a >> 7) << 15 | (r >> 3) << 10 | (g >> 3) << 5 | (b >> 3)); break;
    case D3DFMT_A4R4G4B4: Store16(p, (a >> 4) << 12 | (r >> 4) << 8 | (g >> 4) << 4 | (b >> 4)); break;
    case D3DFMT_X4R4G4B4: Store16(p, 0xF000 | (r >> 4) << 8 | (g >> 4) << 4 | (b >> 4)); break;
    case D3DFMT_A8R3G3B2: Store16(p, a << 8 | (r >> 5) << 5 | (g >> 5) << 2 | (b >> 6)); break;
    case D3DFMT_R3G3B2: p[0] = uint8_t((r >> 5) << 5 | (g >> 5) << 2 | (b >> 6)); break;
    case D3DFMT_A8: p[0] = uint8_t(a); break;
    default: break;
  }
}

bool DecodeToArgb(uint32_t format, const uint8_t* src, uint32_t pitch, uint32_t width, uint32_t height,
                  uint32_t* argb) {
  if (!IsColorFormat(format)) return false;
  if (IsBlockCompressed(format)) {
    uint32_t block[16];
    for (uint32_t by = 0; by < (height + 3) / 4; ++by) {
      for (uint32_t bx = 0; bx < (width + 3) / 4; ++bx) {
        DecodeDxt1Block(src + by * pitch + bx * 8, block);
        for (uint32_t y = 0; y < 4 && by * 4 + y < height; ++y)
          for (uint32_t x = 0; x < 4 && bx * 4 + x < width; ++x)
            argb[(by * 4 + y) * width + bx * 4 + x] = block[y * 4 + x];
      }
    }
    return true;
  }
  const uint32_t bpp = BytesPerPixel(format);
  for (uint32_t y = 0; y < height; ++y) {
    const uint8_t* row = src + size_t(y) * pitch;
    if (format == D3DFMT_A8R8G8B8) {
      std::memcpy(argb + size_t(y) * width, row, size_t(width) * 4);
      continue;
    }
    for (uint32_t x = 0; x < width; ++x) argb[size_t(y) * width + x] = ReadArgb(format, row + x * bpp);
  }
  return true;
}

bool EncodeFromArgb(uint32_t format, const uint32_t* argb, uint32_t width, uint32_t height, uint8_t* dst,
                    uint32_t pitch) {
  if (!IsColorFormat(format)) return false;
  if (IsBlockCompressed(format)) {
    uint32_t block[16];
    for (uint32_t by = 0; by < (height + 3) / 4; ++by) {
      for (uint32_t bx = 0; bx < (width + 3) / 4; ++bx) {
        // Pixels past the edge repeat the last row and column.
        for (uint32_t y = 0; y < 4; ++y)
          for (uint32_t x = 0; x < 4; ++x) {
            const uint32_t sx = std::min(bx * 4 + x, width - 1), sy = std::min(by * 4 + y, height - 1);
            block[y * 4 + x] = argb[size_t(sy) * width + sx];
          }
        EncodeDxt1Block(block, dst + by * pitch + bx * 8);
      }
    }
    return true;
  }
  const uint32_t bpp = BytesPerPixel(format);
  for (uint32_t y = 0; y < height; ++y) {
    uint8_t* row = dst + size_t(y) * pitch;
    if (format == D3DFMT_A8R8G8B8) {
      std::memcpy(row, argb + size_t(y) * width, size_t(width) * 4);
      continue;
    }
    for (uint32_t x = 0; x < width; ++x) WriteArgb(format, row + x * bpp, argb[size_t(y) * width + x]);
  }
  return true;
}

}  // namespace platform::gfx
