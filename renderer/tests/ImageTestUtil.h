#pragma once
// Image files and texture read-back for the image resource tests.
#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/graphics/GfxDevice.h"

namespace rtest {

// An uncompressed 32-bit ".tga" with rows stored top first; pixels are
// A8R8G8B8 words, top row first.
inline std::vector<uint8_t> TgaTopDown(uint16_t w, uint16_t h, const std::vector<uint32_t>& pixels) {
  std::vector<uint8_t> b = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  auto u16 = [&](uint16_t v) {
    b.push_back(uint8_t(v));
    b.push_back(uint8_t(v >> 8));
  };
  u16(w);
  u16(h);
  b.push_back(32);
  b.push_back(0x28);  // 8 alpha bits, top-left origin
  for (uint32_t p : pixels)
    for (int i = 0; i < 4; ++i) b.push_back(uint8_t(p >> (8 * i)));
  return b;
}

// Level `level` of a texture as 32-bit words (A8R8G8B8) or 16-bit words
// widened into 32 (A4R4G4B4 values kept as they are), top row first.
inline std::vector<uint32_t> LevelWords(platform::gfx::Texture* texture, uint32_t level) {
  namespace gfx = platform::gfx;
  gfx::SurfaceDesc desc;
  std::vector<uint32_t> out;
  if (!texture || texture->GetLevelDesc(level, &desc) != 0) return out;
  gfx::LockedRect locked;
  if (texture->LockRect(level, &locked, nullptr, gfx::D3DLOCK_READONLY) != 0) return out;
  const bool wide = desc.format == gfx::D3DFMT_A8R8G8B8;
  for (uint32_t y = 0; y < desc.height; ++y) {
    const auto* row = static_cast<const uint8_t*>(locked.bits) + size_t(y) * size_t(locked.pitch);
    for (uint32_t x = 0; x < desc.width; ++x) {
      uint32_t v = 0;
      std::memcpy(&v, row + x * (wide ? 4 : 2), wide ? 4 : 2);
      out.push_back(v);
    }
  }
  texture->UnlockRect(level);
  return out;
}

}  // namespace rtest
