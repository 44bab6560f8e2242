#pragma once
// Builds a 32-bit picture from a short text description. One statement a
// line; blanks separate words; '#' starts a comment; colours are eight hex
// digits AARRGGBB.
//
//   size <width> <height>           the picture's size (first, once; 1..4096)
//   fill <colour>                   every pixel
//   checker <cell> <colour> <colour>
//                                   squares of cell x cell pixels, the first
//                                   colour at the top left
//   gradient horizontal|vertical <colour> <colour>
//                                   each channel (alpha included) runs
//                                   linearly from the first colour at the
//                                   left (top) to the second at the right
//                                   (bottom)
//   rect <x> <y> <width> <height> <colour>
//                                   a filled rectangle, clipped
//   noise <seed> <amount>           red, green and blue of every pixel move
//                                   together by up to amount (0..255), from
//                                   the lattice noise at seed + pixel index
//   key <character> <colour>        a palette character for pixel rows
//   rows <x> <y>                    the lines up to "end" are pixel rows
//                                   from (x, y) down, one palette character
//                                   a pixel; they are clipped
//
// Later statements paint over earlier ones.
#include <cstdint>
#include <string>
#include <vector>

struct ImagePicture {
  uint32_t width = 0;
  uint32_t height = 0;
  std::vector<uint32_t> pixels;  // A8R8G8B8, top row first
};

// Fills `picture` from `text`; on failure returns false with "line N: reason".
bool BuildImageFromDescription(const std::string& text, ImagePicture* picture, std::string* error);

// An uncompressed 32-bit ".tga" file of the picture (top-left origin, eight
// alpha bits).
std::vector<uint8_t> EncodeTga32(const ImagePicture& picture);
