#pragma once
// A ".jfn" font laid out from a glyph design: every glyph of codes 32 to
// 126 (and a line-feed record) packed onto page pictures, each glyph as wide
// as its ink plus one design pixel of spacing.
//
// Description statements, one a line ('#' starts a comment):
//   design <name>        the glyph design (from the designs folder)
//   scale <n>            screen pixels per design pixel (1..8, default 1)
//   ascent <rows>        design rows above the baseline (default: all but one)
//   page <w> <h>         page picture size in pixels (8..4096, default 256 256)
//   space <pixels>       advance of the blank, in design pixels (default 4)
//   pages <n>            the page count the layout must come to (a check)
//   ink <RRGGBB>         the colour of the ink (default FFFFFF, white)
#include <cstdint>
#include <string>
#include <vector>

#include "tools/fonttool/GlyphDesign.h"
#include "tools/imagetool/ImageDescription.h"

struct JfnGlyph {
  uint32_t code = 0;
  uint32_t page = 0;
  float ascent = 0, descent = 0, advance = 0;
  float uLeft = 0, uRight = 0, vTop = 0, vBottom = 0;
};

struct JfnFont {
  std::vector<JfnGlyph> glyphs;
  std::vector<ImagePicture> pages;
};

// Lays out the font the description asks for; false with "line N: reason".
bool BuildJfnFont(const std::string& description, const std::string& designFolder, JfnFont* font,
                  std::string* error);
// The font file's bytes (the pages are written beside it as pictures).
std::vector<uint8_t> EncodeJfn(const JfnFont& font, const std::string& title);
