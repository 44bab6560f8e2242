#pragma once
// A ".jfn" font rasterised from a TrueType or OpenType face: every glyph of
// codes 32 to 126 (and a line-feed record) packed onto page pictures, each
// glyph cell as wide as its advance, white ink with coverage in alpha and
// an optional dark outline so that text reads over any background.
//
// Description statements, one a line ('#' starts a comment):
//   face <file>          the face file, in the faces folder
//   pixels <n>           pixels to the em (8..256, default 32)
//   outline <n>          outline width in pixels (0..4, default 0)
//   outlineink <RRGGBB>  the outline's colour (default 000000)
//   ink <RRGGBB>         the colour of the ink (default FFFFFF, white)
//   units pixels|lines   the metrics written: in pixels (default), or in
//                        lines (a line is 1 high, for interface text sized
//                        by its text scale)
//   page <w> <h>         page picture size in pixels (8..4096, default 256 256)
//   pages <n>            the page count the layout must come to (a check)
#include <cstdint>
#include <string>
#include <vector>

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

// Lays out the font the description asks for, reading its face from
// `faceFolder`; false with "line N: reason".
bool BuildJfnFont(const std::string& description, const std::string& faceFolder, JfnFont* font,
                  std::string* error);
// The font file's bytes (the pages are written beside it as pictures).
std::vector<uint8_t> EncodeJfn(const JfnFont& font, const std::string& title);
