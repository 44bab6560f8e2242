#pragma once
// Glyphs of a TrueType or OpenType face rasterised through FreeType: 8-bit
// coverage bitmaps with their placement on the baseline.
#include <cstdint>
#include <string>
#include <vector>

struct RasterGlyph {
  uint32_t width = 0;  // bitmap columns
  uint32_t rows = 0;   // bitmap rows
  int32_t left = 0;    // pen to the bitmap's left column, pixels
  int32_t top = 0;     // baseline up to the bitmap's top row, pixels
  float advance = 0;   // pen advance, pixels
  std::vector<uint8_t> coverage;  // rows x width, top row first, 0..255
};

class FaceRaster {
 public:
  FaceRaster();
  ~FaceRaster();
  FaceRaster(const FaceRaster&) = delete;
  FaceRaster& operator=(const FaceRaster&) = delete;

  // Opens the face file at `emPixels` pixels to the em; false with the reason.
  bool Open(const std::string& file, uint32_t emPixels, std::string* error);
  // The glyph of a character code (Latin-1); a code the face lacks gives an
  // empty bitmap with the face's fallback advance. False on a FreeType error.
  bool Render(uint32_t code, RasterGlyph* glyph, std::string* error) const;
  // Baseline to the top of the tallest glyph, and down to the lowest, pixels.
  float Ascender() const { return ascender_; }
  float Descender() const { return descender_; }

 private:
  void* library_ = nullptr;  // FT_Library
  void* face_ = nullptr;     // FT_Face
  float ascender_ = 0;
  float descender_ = 0;
};
