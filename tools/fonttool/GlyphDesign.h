#pragma once
// Glyph designs: 1-bit glyphs 8 pixels wide drawn as text. One statement a
// line; blanks separate words; '#' at the start of a line is a comment.
//
//   size 8 <rows>               the cell: 8 pixels wide, <rows> high (first)
//   derive <design> bold|tall   start from another design of the same folder:
//                               "bold" widens every stroke one pixel to the
//                               right; "tall" draws every pixel row twice
//                               (the cell has twice that design's rows)
//   glyph <code> [label]        the next <rows> lines draw character <code>
//                               (0..255): '#' ink, '.' blank, 8 a line
//
// A later glyph of the same code replaces the earlier one; codes without a
// glyph are blank.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

struct GlyphDesign {
  uint32_t rows = 0;
  // Per code, `rows` bytes, top row first, the leftmost pixel in bit 7.
  std::array<std::vector<uint8_t>, 256> glyphs;
};

// Reads design `name` (file "<name>.txt") from `folder`, following derive
// statements; false with "file: line N: reason".
bool LoadGlyphDesign(const std::string& folder, const std::string& name, GlyphDesign* design, std::string* error);
bool ParseGlyphDesign(const std::string& text, const std::string& folder, GlyphDesign* design, std::string* error,
                      int depth = 0);

// The glyph bits of the design as a built-in table: `count` glyphs of
// design.rows bytes each.
std::vector<uint8_t> GlyphTableBytes(const GlyphDesign& design, uint32_t count);
