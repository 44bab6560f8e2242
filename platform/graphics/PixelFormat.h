#pragma once
// Pixel layouts of the surface formats the device keeps in memory, and
// conversion of whole rectangles to and from 32-bit A8R8G8B8 words.
#include <cstdint>

namespace platform::gfx {

bool IsColorFormat(uint32_t format);        // a format the layer stores and converts
bool IsDepthFormat(uint32_t format);
bool IsBlockCompressed(uint32_t format);    // DXT1: 4x4 blocks of 8 bytes
uint32_t BytesPerPixel(uint32_t format);    // 0 for block formats and unknown ones
// Bytes of one row of pixels (one row of blocks for DXT1).
uint32_t RowPitch(uint32_t format, uint32_t width);
// Rows of storage: the height, or the number of block rows.
uint32_t StorageRows(uint32_t format, uint32_t height);
uint64_t SurfaceBytes(uint32_t format, uint32_t width, uint32_t height);
// Bytes of one depth format's sample (for the record backend's memory).
uint32_t DepthBytes(uint32_t format);

// One pixel of a non-block colour format as A8R8G8B8 and back. Formats
// without alpha read as opaque; narrower channels widen by repeating their
// top bits (4-bit c becomes c * 17).
uint32_t ReadArgb(uint32_t format, const uint8_t* pixel);
void WriteArgb(uint32_t format, uint8_t* pixel, uint32_t argb);

// A whole rectangle (width x height, starting at `source`, rows `pitch`
// bytes apart) into tightly packed A8R8G8B8 words, and back. Block formats
// take and give whole blocks; width and height may end inside a block.
bool DecodeToArgb(uint32_t format, const uint8_t* source, uint32_t pitch, uint32_t width,
                  uint32_t height, uint32_t* argb);
bool EncodeFromArgb(uint32_t format, const uint32_t* argb, uint32_t width, uint32_t height,
                    uint8_t* destination, uint32_t pitch);

}  // namespace platform::gfx
