#pragma once
// A font from a ".jfn" file: proportional glyphs on one or more page
// textures, each page drawn with its own material ("<font>_<page>.jsm", or a
// material over "<font>_<page>.tga" or ".bmp").
//
// The file is untrusted: the skipped block and the glyph count are bounded
// by the file's size, the page count by kMaxPages, character codes above
// 255 are skipped, and glyphs naming a page the font does not have are
// never drawn.
#include <array>
#include <vector>

#include "renderer/fonts/DX8Font.h"

class DX8Font_JFN : public DX8Font {
 public:
  static constexpr uint32_t kMaxPages = 256;
  static constexpr uint32_t kMaxFileBytes = 16u << 20;

  struct Glyph {
    uint8_t character = 0;
    uint16_t page = 0;
    float ascent = 0, descent = 0, advance = 0;
    float uLeft = 0, uRight = 0, vTop = 0, vBottom = 0;
  };

  // Loads the file and finds every page's material; null when either fails.
  static DX8Font_JFN* Create(Lumetra* owner, uint32_t flags, const std::string& name);

  DX8Font_JFN(Lumetra* owner, uint32_t flags, std::string name);
  ~DX8Font_JFN() override;

  // 0, or 0x80004005 with one debug line naming the file and the reason;
  // a failed load leaves the font as it was.
  int32_t Load(const std::string& path);
  int32_t LoadFromMemory(const uint8_t* data, size_t size, const std::string& name);

  const char* GetCharacters() override { return characters_.data(); }
  void Measure(std::string text, float* minX, float* minY, float* minZ, float* maxX, float* maxY,
               float* maxZ) override;
  float GetLineHeight() override { return lineHeight_; }
  float GetAscent() override { return ascent_; }
  float GetDescent() override { return descent_; }
  int32_t GetPageCount() override { return static_cast<int32_t>(pageCount_); }
  C3DMaterialShader* GetPageShader(uint16_t page) override;
  void AddText(C3DPass* pass, const std::string& text, const JMatrix* matrix) override;
  void Flush(C3DPass* pass) override;

  const std::vector<Glyph>& Glyphs() const { return glyphs_; }
  uint16_t GlyphFor(unsigned char c) const { return map_[c]; }
  uint32_t Pending() const { return pending_; }

 private:
  // Glyph of character c, or null when the font has none that can be drawn.
  const Glyph* Usable(unsigned char c) const;
  bool FindPageShaders();

  uint32_t pending_ = 0;
  std::array<uint16_t, 256> map_{};
  std::vector<char> characters_{0};
  std::vector<Glyph> glyphs_;
  std::vector<DX8MaterialShader*> pageShaders_;
  uint32_t pageCount_ = 0;
  float ascent_ = 0.0f, descent_ = 0.0f, lineHeight_ = 1.0f;
  std::vector<float> penX_, penY_;
};
