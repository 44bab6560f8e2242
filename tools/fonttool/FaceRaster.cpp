#include "tools/fonttool/FaceRaster.h"

#include <ft2build.h>
#include FT_FREETYPE_H


namespace {

FT_Library Library(void* p) { return static_cast<FT_Library>(p); }
FT_Face Face(void* p) { return static_cast<FT_Face>(p); }

std::string FtError(const char* what, FT_Error e) { return std::string(what) + " (FreeType error " + std::to_string(e) + ")"; }

}  // namespace

FaceRaster::FaceRaster() = default;

FaceRaster::~FaceRaster() {
  if (face_) FT_Done_Face(Face(face_));
  if (library_) FT_Done_FreeType(Library(library_));
}

bool FaceRaster::Open(const std::string& file, uint32_t emPixels, std::string* error) {
  if (emPixels < 4 || emPixels > 512) {
    *error = "the size is 4 to 512 pixels";
    return false;
  }
  if (!library_) {
    FT_Library lib = nullptr;
    if (const FT_Error e = FT_Init_FreeType(&lib)) {
      *error = FtError("FreeType does not start", e);
      return false;
    }
    library_ = lib;
  }
  if (face_) FT_Done_Face(Face(face_));
  face_ = nullptr;
  FT_Face face = nullptr;
  if (const FT_Error e = FT_New_Face(Library(library_), file.c_str(), 0, &face)) {
    *error = FtError((file + " is not a face FreeType reads").c_str(), e);
    return false;
  }
  face_ = face;
  if (const FT_Error e = FT_Set_Pixel_Sizes(face, 0, emPixels)) {
    *error = FtError("the face cannot be sized", e);
    return false;
  }
  ascender_ = float(face->size->metrics.ascender) / 64.0f;
  descender_ = -float(face->size->metrics.descender) / 64.0f;
  return true;
}

bool FaceRaster::Render(uint32_t code, RasterGlyph* glyph, std::string* error) const {
  *glyph = RasterGlyph{};
  if (!face_) {
    *error = "no face open";
    return false;
  }
  FT_Face face = Face(face_);
  const FT_UInt index = FT_Get_Char_Index(face, code);
  if (const FT_Error e = FT_Load_Glyph(face, index, FT_LOAD_RENDER | FT_LOAD_TARGET_LIGHT)) {
    *error = FtError(("glyph " + std::to_string(code) + " does not render").c_str(), e);
    return false;
  }
  const FT_GlyphSlot slot = face->glyph;
  const FT_Bitmap& b = slot->bitmap;
  glyph->advance = float(slot->advance.x) / 64.0f;
  if (index == 0 && code != 32) {
    glyph->advance = 0;  // the face lacks the character
    return true;
  }
  glyph->width = b.width;
  glyph->rows = b.rows;
  glyph->left = slot->bitmap_left;
  glyph->top = slot->bitmap_top;
  glyph->coverage.assign(size_t(b.width) * b.rows, 0);
  for (uint32_t y = 0; y < b.rows; ++y) {
    const unsigned char* row = b.buffer + ptrdiff_t(y) * b.pitch;
    for (uint32_t x = 0; x < b.width; ++x) glyph->coverage[size_t(y) * b.width + x] = row[x];
  }
  return true;
}
