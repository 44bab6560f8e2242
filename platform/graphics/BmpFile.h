#pragma once
// Writing 24-bit BMP files: a 14-byte file header, a 40-byte information
// header, then the rows bottom-up as blue, green, red, each row padded to a
// multiple of four bytes.
#include <cstdint>
#include <vector>

namespace platform::gfx {

// `argb` holds width x height A8R8G8B8 words, top row first. Alpha is dropped.
bool WriteBmp24(const uint32_t* argb, uint32_t width, uint32_t height, std::vector<uint8_t>* out);

}  // namespace platform::gfx
