#pragma once
// The DDS texture file: a 4-byte magic, a 124-byte header with a 32-byte
// pixel-format record, then every mip level's pixels from the largest down.
// Written and read for 32-bit colour (A8R8G8B8, X8R8G8B8), DXT1, and the
// 16-bit A4R4G4B4 and R5G6B5 layouts.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace platform::gfx {

struct DdsImage {
  uint32_t format = 0;  // D3DFMT_*
  uint32_t width = 0, height = 0;
  // One entry per level, rows packed at RowPitch(format, level width).
  std::vector<std::vector<uint8_t>> levels;
};

inline constexpr size_t kDdsHeaderBytes = 128;  // magic and header

// False for a format the file cannot hold or levels of the wrong size.
bool WriteDds(const DdsImage& image, std::vector<uint8_t>* out);
// False (with a message on the debugger channel, `out` untouched) for
// anything but a well-formed file of a supported format.
bool ReadDds(const uint8_t* data, size_t size, DdsImage* out);

}  // namespace platform::gfx
