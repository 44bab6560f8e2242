#pragma once
// Little-endian field readers and pixel helpers for the image decoders.
// Callers check the offsets against the file size first.
#include <cstdint>

namespace imagebytes {

inline uint16_t U16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
inline uint32_t U32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
         (static_cast<uint32_t>(p[3]) << 24);
}
inline int32_t S32(const uint8_t* p) { return static_cast<int32_t>(U32(p)); }

// A stored blue, green, red pixel as blue, green, red, opaque alpha.
inline void OpaqueFromBGR(const uint8_t* src, uint8_t* dst) {
  dst[0] = src[0];
  dst[1] = src[1];
  dst[2] = src[2];
  dst[3] = 255;
}

}  // namespace imagebytes
