#pragma once
// DXT1 block compression: 4x4 pixels in 8 bytes (two R5G6B5 end colours and
// sixteen 2-bit palette indices). A block whose first end colour is not
// above the second has three colours and a transparent black entry.
#include <cstdint>

namespace platform::gfx {

// Decodes one block into 16 A8R8G8B8 pixels, row by row.
void DecodeDxt1Block(const uint8_t block[8], uint32_t out[16]);
// Encodes 16 A8R8G8B8 pixels; pixels with alpha below 128 become the
// transparent entry (and the block uses the three-colour mode).
void EncodeDxt1Block(const uint32_t pixels[16], uint8_t block[8]);

}  // namespace platform::gfx
