#pragma once
// Colour and depth formats by their channel widths, as display-mode records
// describe them, in both directions.
#include <cstdint>

namespace lumetra {

// Channel widths of a colour format: red, green, blue, alpha, unused.
struct ColourWidths {
  uint32_t red = 0, green = 0, blue = 0, alpha = 0, x = 0;
};

// The format with exactly these widths, or the unknown format (0).
uint32_t ColourFormatFromWidths(const ColourWidths& widths);
// The widths of a format; all zero for a format this table does not know.
// The 8-bit formats R3G3B2, A8R3G3B2 and A8 are only read, never listed.
ColourWidths WidthsFromColourFormat(uint32_t format);
// (32,0,0) D32, (24,8,0) D24S8, (24,0,8) D24X8, (24,4,4) D24X4S4,
// (16,0,0) D16, (15,1,0) D15S1; anything else the unknown format.
uint32_t DepthFormatFromWidths(uint32_t depth, uint32_t stencil, uint32_t x);

}  // namespace lumetra
