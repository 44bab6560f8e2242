#pragma once
// A built-in bitmap font: fixed-pitch glyph cells of a glyph table drawn
// from its glyph texture, one page, one material.
#include <vector>

#include "renderer/fonts/DX8Font.h"

class C3DBaseShader;
struct GlyphTable;

class DX8Font_Def01 : public DX8Font {
 public:
  // The font over the table with the material shader `shader` (whose one
  // reference it takes); null when the table holds no glyph.
  static DX8Font_Def01* Create(Lumetra* owner, const std::string& name, uint32_t flags, const GlyphTable& table,
                               C3DBaseShader* shader);
  ~DX8Font_Def01() override;

  const char* GetCharacters() override { return characters_.data(); }
  void Measure(std::string text, float* minX, float* minY, float* minZ, float* maxX, float* maxY,
               float* maxZ) override;
  float GetLineHeight() override { return 1.0f; }
  float GetAscent() override { return 1.0f; }
  float GetDescent() override { return 0.0f; }
  int32_t GetPageCount() override { return 1; }
  C3DMaterialShader* GetPageShader(uint16_t page) override;
  void AddText(C3DPass* pass, const std::string& text, const JMatrix* matrix) override;
  void Flush(C3DPass* pass) override;

  float Advance() const { return advance_; }
  uint32_t GlyphCount() const { return glyphCount_; }
  // Texture corner of glyph i.
  float CornerU(uint32_t i) const { return corners_[size_t(i) * 2]; }
  float CornerV(uint32_t i) const { return corners_[size_t(i) * 2 + 1]; }

 private:
  DX8Font_Def01(Lumetra* owner, uint32_t flags, std::string name);

  std::vector<char> characters_;
  uint32_t glyphCount_ = 0;
  float advance_ = 1.0f;
  float lineHeight_ = 1.0f;
  float cellWidth_ = 0.0f;
  float cellHeight_ = 0.0f;
  std::vector<float> corners_;
  DX8MaterialShader* shader_ = nullptr;
};
