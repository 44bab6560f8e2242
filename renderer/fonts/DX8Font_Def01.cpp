#include "renderer/fonts/DX8Font_Def01.h"

#include <algorithm>
#include <new>
#include <utility>

#include "engine/math/JMatrix.h"
#include "renderer/Lumetra.h"
#include "renderer/resources/GlyphTable.h"
#include "renderer/shaders/DX8MaterialShader.h"

DX8Font_Def01* DX8Font_Def01::Create(Lumetra* owner, const std::string& name, uint32_t flags,
                                     const GlyphTable& table, C3DBaseShader* shader) {
  auto* material = dynamic_cast<DX8MaterialShader*>(shader);
  if (!material && shader) shader->Release();
  const uint32_t count = table.glyphHeight ? table.bitmapBytes / table.glyphHeight : 0;
  if (count == 0 || table.textureWidth == 0 || table.textureHeight == 0 || table.glyphsPerRow == 0) {
    if (material) material->Release();
    return nullptr;
  }
  auto* font = new (std::nothrow) DX8Font_Def01(owner, flags, name);
  if (!font) {
    if (material) material->Release();
    return nullptr;
  }
  font->glyphCount_ = count;
  // Entry i holds character i - 1 (entry 0 wraps to 255); the last is 0.
  font->characters_.resize(count);
  for (uint32_t i = 0; i + 1 < count; ++i) font->characters_[i] = static_cast<char>((i + 255) % 256);
  font->characters_[count - 1] = 0;
  font->corners_.resize(size_t(count) * 2);
  for (uint32_t i = 0; i < count; ++i) {
    font->corners_[size_t(i) * 2] = float((i % table.glyphsPerRow) * 9) / float(table.textureWidth);
    font->corners_[size_t(i) * 2 + 1] =
        float((i / table.glyphsPerRow) * (table.glyphHeight + 1)) / float(table.textureHeight);
  }
  font->advance_ = 8.0f / float(table.glyphHeight);
  font->cellWidth_ = 8.0f / float(table.textureWidth);
  font->cellHeight_ = float(table.glyphHeight) / float(table.textureHeight);
  font->shader_ = material;
  font->MakeBuffers(1);
  return font;
}

DX8Font_Def01::DX8Font_Def01(Lumetra* owner, uint32_t flags, std::string name)
    : DX8Font(owner, flags, std::move(name)) {}

DX8Font_Def01::~DX8Font_Def01() {
  if (shader_) shader_->Release();
}

C3DMaterialShader* DX8Font_Def01::GetPageShader(uint16_t) { return shader_; }

void DX8Font_Def01::Measure(std::string text, float* minX, float* minY, float* minZ, float* maxX, float* maxY,
                            float* maxZ) {
  uint32_t lines = 0, column = 0, widest = 0;
  for (char ch : text) {
    if (ch == '\n') {
      ++lines;
      column = 0;
    } else {
      widest = std::max(widest, ++column);
    }
  }
  if (minX) *minX = 0.0f;
  if (minY) *minY = -float(lines) * lineHeight_;
  if (minZ) *minZ = 0.0f;
  if (maxX) *maxX = float(widest) * advance_;
  if (maxY) *maxY = lineHeight_;
  if (maxZ) *maxZ = 0.0f;
}

void DX8Font_Def01::AddText(C3DPass*, const std::string& text, const JMatrix* matrix) {
  if (text.empty() || buffers_.empty()) return;
  const uint32_t quads = static_cast<uint32_t>(std::count_if(text.begin(), text.end(), [](char c) { return c != '\n'; }));
  QuadBuffer& b = *buffers_[0];
  Reserve(b, quads);
  const JMatrix identity = JMatrix::Identity();
  const float* m = (matrix ? *matrix : identity).Data();
  float x = 0.0f, y = 0.0f;
  uint32_t added = 0;
  for (char ch : text) {
    const auto c = static_cast<unsigned char>(ch);
    if (c == '\n') {
      x = 0.0f;
      y -= lineHeight_;
      continue;
    }
    const uint32_t g = c < glyphCount_ ? c : 0;
    const float u = CornerU(g), v = CornerV(g);
    RenderVertex* q = NextQuad(b) + size_t(added) * 4;
    Place(q[0], x, y + lineHeight_, m, u, v);
    Place(q[1], x + advance_, y + lineHeight_, m, u + cellWidth_, v);
    Place(q[2], x + advance_, y, m, u + cellWidth_, v + cellHeight_);
    Place(q[3], x, y, m, u, v + cellHeight_);
    ++added;
    x += advance_;
  }
  Commit(b, added);
}

void DX8Font_Def01::Flush(C3DPass* pass) {
  if (!buffers_.empty()) FlushBuffer(*buffers_[0], pass, shader_);
}
