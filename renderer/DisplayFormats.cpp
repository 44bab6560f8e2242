#include "renderer/DisplayFormats.h"

#include "platform/graphics/GfxConstants.h"

namespace lumetra {
namespace gfx = platform::gfx;
namespace {

struct ColourEntry {
  uint32_t format;
  ColourWidths widths;
  bool listed;  // also read back from a format
};

constexpr ColourEntry kColourFormats[] = {
    {gfx::D3DFMT_R8G8B8, {8, 8, 8, 0, 0}, true},   {gfx::D3DFMT_A8R8G8B8, {8, 8, 8, 8, 0}, true},
    {gfx::D3DFMT_X8R8G8B8, {8, 8, 8, 0, 8}, true}, {gfx::D3DFMT_R5G6B5, {5, 6, 5, 0, 0}, true},
    {gfx::D3DFMT_X1R5G5B5, {5, 5, 5, 0, 1}, true}, {gfx::D3DFMT_A1R5G5B5, {5, 5, 5, 1, 0}, true},
    {gfx::D3DFMT_A4R4G4B4, {4, 4, 4, 4, 0}, true}, {gfx::D3DFMT_X4R4G4B4, {4, 4, 4, 0, 4}, true},
    {gfx::D3DFMT_R3G3B2, {3, 3, 2, 0, 0}, false},  {gfx::D3DFMT_A8R3G3B2, {3, 3, 2, 8, 0}, false},
    {gfx::D3DFMT_A8, {0, 0, 0, 8, 0}, false},
};

bool Same(const ColourWidths& a, const ColourWidths& b) {
  return a.red == b.red && a.green == b.green && a.blue == b.blue && a.alpha == b.alpha && a.x == b.x;
}

}  // namespace

uint32_t ColourFormatFromWidths(const ColourWidths& widths) {
  for (const ColourEntry& entry : kColourFormats) {
    if (Same(entry.widths, widths)) return entry.format;
  }
  return gfx::D3DFMT_UNKNOWN;
}

ColourWidths WidthsFromColourFormat(uint32_t format) {
  for (const ColourEntry& entry : kColourFormats) {
    if (entry.listed && entry.format == format) return entry.widths;
  }
  return ColourWidths{};
}

uint32_t DepthFormatFromWidths(uint32_t depth, uint32_t stencil, uint32_t x) {
  struct DepthEntry {
    uint32_t depth, stencil, x, format;
  };
  constexpr DepthEntry kDepthFormats[] = {
      {32, 0, 0, gfx::D3DFMT_D32},     {24, 8, 0, gfx::D3DFMT_D24S8}, {24, 0, 8, gfx::D3DFMT_D24X8},
      {24, 4, 4, gfx::D3DFMT_D24X4S4}, {16, 0, 0, gfx::D3DFMT_D16},   {15, 1, 0, gfx::D3DFMT_D15S1},
  };
  for (const DepthEntry& entry : kDepthFormats) {
    if (entry.depth == depth && entry.stencil == stencil && entry.x == x) return entry.format;
  }
  return gfx::D3DFMT_UNKNOWN;
}

}  // namespace lumetra
