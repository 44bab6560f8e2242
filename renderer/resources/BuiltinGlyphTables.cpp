#include "renderer/resources/GlyphTable.h"

// Generated at build time from the font tool's glyph designs.
extern const uint8_t kDosGlyphBits[1024];
extern const uint8_t kFutureGlyphBits[1024];
extern const uint8_t kBlockGlyphBits[1024];
extern const uint8_t kPelvonGlyphBits[4096];

const GlyphTable* BuiltinGlyphTable(int table) {
  static const GlyphTable kTables[4] = {
      {128, 128, 14, 8, sizeof kDosGlyphBits, kDosGlyphBits},
      {128, 128, 14, 8, sizeof kFutureGlyphBits, kFutureGlyphBits},
      {128, 128, 14, 8, sizeof kBlockGlyphBits, kBlockGlyphBits},
      {256, 256, 28, 16, sizeof kPelvonGlyphBits, kPelvonGlyphBits},
  };
  return table >= 1 && table <= 4 ? &kTables[table - 1] : nullptr;
}
