#pragma once
// Describes one built-in bitmap font: its texture size, the cell grid and
// the glyph bits (one byte per glyph row, most significant bit leftmost).
// Every glyph cell is 9 pixels wide and glyphHeight + 1 pixels tall.
#include <cstdint>

struct GlyphTable {
  uint32_t textureHeight = 0;
  uint32_t textureWidth = 0;
  uint32_t glyphsPerRow = 0;
  uint32_t glyphHeight = 0;
  uint32_t bitmapBytes = 0;
  const uint8_t* bitmap = nullptr;
};

// The glyph table of built-in font 1 ("metric font", "dos font"), 2
// ("future font"), 3 ("block font") or 4 ("pelvon font"); null for any
// other number.
const GlyphTable* BuiltinGlyphTable(int table);
