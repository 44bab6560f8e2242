#pragma once
// A font: text is laid out into textured quads collected per page during a
// frame and flushed into a render pass.
#include <cstdint>
#include <string>

#include "engine/services/C3DResource.h"

class C3DMaterialShader;
class C3DPass;
struct JMatrix;

class C3DFont : public C3DResource {
 public:
  using C3DResource::C3DResource;

  // The characters of the font's glyphs, in glyph order, ending in 0.
  virtual const char* GetCharacters() = 0;
  // The box the text covers: both corners start at the origin.
  virtual void Measure(std::string text, float* minX, float* minY, float* minZ, float* maxX,
                       float* maxY, float* maxZ) = 0;
  virtual float GetLineHeight() = 0;
  virtual float GetAscent() = 0;
  virtual float GetDescent() = 0;
  virtual int32_t GetPageCount() = 0;
  virtual C3DMaterialShader* GetPageShader(uint16_t page) = 0;
  virtual int32_t Check() = 0;
  virtual void AddText(C3DPass* pass, const std::string& text, const JMatrix* matrix) = 0;
  virtual void Flush(C3DPass* pass) = 0;
};
