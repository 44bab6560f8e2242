#include "renderer/fonts/DX8Font_JFN.h"

#include <algorithm>
#include <cstdio>
#include <new>
#include <utility>

#include "base/ByteReader.h"
#include "engine/math/JMatrix.h"
#include "platform/DebugOutput.h"
#include "platform/FileRead.h"
#include "renderer/Lumetra.h"
#include "renderer/shaders/DX8MaterialShader.h"

namespace {

constexpr size_t kGlyphRecordBytes = 36;
constexpr size_t kSkippedTail = 32;
constexpr size_t kCountsBytes = 12;

}  // namespace

DX8Font_JFN* DX8Font_JFN::Create(Lumetra* owner, uint32_t flags, const std::string& name) {
  auto* font = new (std::nothrow) DX8Font_JFN(owner, flags, name);
  if (!font) return nullptr;
  if (status::Failed(font->Load(name)) || !font->FindPageShaders()) {
    delete font;
    return nullptr;
  }
  font->MakeBuffers(font->pageCount_);
  return font;
}

DX8Font_JFN::DX8Font_JFN(Lumetra* owner, uint32_t flags, std::string name) : DX8Font(owner, flags, std::move(name)) {
  penX_.resize(8);
  penY_.resize(8);
}

DX8Font_JFN::~DX8Font_JFN() {
  for (DX8MaterialShader* shader : pageShaders_)
    if (shader) shader->Release();
}

bool DX8Font_JFN::FindPageShaders() {
  if (!renderer_) return pageCount_ == 0;
  const std::string base = Name().substr(0, Name().size() >= 4 ? Name().size() - 4 : 0);
  const uint32_t flags = GetFlags() & ~uint32_t(RF_DEFAULT);
  pageShaders_.assign(pageCount_, nullptr);
  for (uint32_t p = 0; p < pageCount_; ++p) {
    C3DBaseShader* shader = nullptr;
    for (const char* ext : {".jsm", ".tga", ".bmp"}) {
      shader = renderer_->CreateShader(flags | RF_NOFALLBACK, base + "_" + std::to_string(p) + ext);
      if (shader) break;
    }
    pageShaders_[p] = dynamic_cast<DX8MaterialShader*>(shader);
    if (!pageShaders_[p]) {
      if (shader) shader->Release();
      return false;
    }
  }
  return true;
}

int32_t DX8Font_JFN::Load(const std::string& path) {
  std::vector<uint8_t> bytes;
  platform::FileReadError why;
  if (!platform::ReadFileBytes(path, kMaxFileBytes, &bytes, &why)) {
    platform::DebugPrintf("DX8Font_JFN: \"%s\" %s\n", path.c_str(), why.text.c_str());
    return status::Fail;
  }
  return LoadFromMemory(bytes.data(), bytes.size(), path);
}

int32_t DX8Font_JFN::LoadFromMemory(const uint8_t* data, size_t size, const std::string& name) {
  auto fail = [&](const char* why) {
    platform::DebugPrintf("DX8Font_JFN: \"%s\" %s\n", name.c_str(), why);
    return status::Fail;
  };
  ByteReader r(data, size);
  char magic[4] = {};
  r.Bytes(magic, 4);
  if (!r.Ok() || std::string(magic, 4) != "JFNT") return fail("is no font file (magic)");
  if (r.F32() != 1.0f || !r.Ok()) return fail("has a version other than 1.0");
  const uint32_t skipped = r.U32();
  if (!r.Ok() || uint64_t(skipped) + kSkippedTail + kCountsBytes > r.Remaining())
    return fail("is shorter than its header says");
  r.Skip(size_t(skipped) + kSkippedTail);
  const uint32_t count = r.U32();
  const uint32_t pages = r.U32();
  r.U32();  // not used
  if (!r.Ok()) return fail("ends in its header");
  if (uint64_t(count) * kGlyphRecordBytes > r.Remaining()) return fail("has more glyphs than bytes");
  if (pages > kMaxPages) return fail("has too many pages");

  std::vector<Glyph> glyphs;
  std::vector<char> characters;
  std::array<uint16_t, 256> map{};
  float ascent = 0.0f, descent = 0.0f;
  glyphs.reserve(count);
  for (uint32_t i = 0; i < count; ++i) {
    const uint32_t code = r.U32();
    const uint32_t page = r.U32();
    Glyph g;
    g.ascent = r.F32();
    g.descent = r.F32();
    g.advance = r.F32();
    g.uLeft = r.F32();
    g.uRight = r.F32();
    g.vTop = r.F32();
    g.vBottom = r.F32();
    // A code beyond the 256 characters a text byte can name is skipped.
    if (code > 255) continue;
    g.character = static_cast<uint8_t>(code);
    g.page = static_cast<uint16_t>(page & 0xFFFF);
    if (glyphs.size() > 0xFFFF) continue;  // the map holds 16-bit glyph numbers
    map[code] = static_cast<uint16_t>(glyphs.size());
    ascent = std::max(ascent, g.ascent);
    descent = std::max(descent, g.descent);
    characters.push_back(static_cast<char>(code));
    glyphs.push_back(g);
  }
  if (!r.Ok()) return fail("ends inside its glyphs");
  characters.push_back(0);
  glyphs_ = std::move(glyphs);
  characters_ = std::move(characters);
  map_ = map;
  pageCount_ = pages;
  ascent_ = ascent;
  descent_ = descent;
  lineHeight_ = ascent + descent;
  return status::Ok;
}

C3DMaterialShader* DX8Font_JFN::GetPageShader(uint16_t page) {
  return page < pageShaders_.size() ? pageShaders_[page] : nullptr;
}

const DX8Font_JFN::Glyph* DX8Font_JFN::Usable(unsigned char c) const {
  const uint16_t g = map_[c];
  if (g >= glyphs_.size() || glyphs_[g].page >= pageCount_) return nullptr;
  return &glyphs_[g];
}

void DX8Font_JFN::Measure(std::string text, float* minX, float* minY, float* minZ, float* maxX, float* maxY,
                          float* maxZ) {
  float lo[2] = {0, 0}, hi[2] = {0, 0};
  float x = 0.0f, y = 0.0f;
  const uint16_t lf = map_['\n'];
  const float drop = lf < glyphs_.size() ? glyphs_[lf].ascent + glyphs_[lf].descent : 0.0f;
  for (char ch : text) {
    const auto c = static_cast<unsigned char>(ch);
    if (c == '\n') {
      x = 0.0f;
      y -= drop;
      continue;
    }
    const uint16_t gi = map_[c];
    if (gi >= glyphs_.size()) continue;
    const Glyph& g = glyphs_[gi];
    lo[0] = std::min(lo[0], x);
    lo[1] = std::min(lo[1], y - g.descent);
    x += g.advance;
    hi[0] = std::max(hi[0], x);
    hi[1] = std::max(hi[1], y + g.ascent);
  }
  if (minX) *minX = lo[0];
  if (minY) *minY = lo[1];
  if (minZ) *minZ = 0.0f;
  if (maxX) *maxX = hi[0];
  if (maxY) *maxY = hi[1];
  if (maxZ) *maxZ = 0.0f;
}

void DX8Font_JFN::AddText(C3DPass*, const std::string& text, const JMatrix* matrix) {
  if (text.empty()) return;
  if (penX_.size() < text.size()) {
    penX_.resize(text.size());
    penY_.resize(text.size());
  }
  const uint16_t lf = map_['\n'];
  const float drop = lf < glyphs_.size() ? glyphs_[lf].ascent + glyphs_[lf].descent : 0.0f;
  float x = 0.0f, y = 0.0f;
  for (size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    penX_[i] = x;
    penY_[i] = y;
    if (c == '\n') {
      x = 0.0f;
      y -= drop;
    } else if (map_[c] < glyphs_.size()) {
      x += glyphs_[map_[c]].advance;
    }
  }
  const JMatrix identity = JMatrix::Identity();
  const float* m = (matrix ? *matrix : identity).Data();
  for (uint32_t p = 0; p < pageCount_ && p < buffers_.size(); ++p) {
    uint32_t count = 0;
    for (char ch : text) {
      const Glyph* g = ch == '\n' ? nullptr : Usable(static_cast<unsigned char>(ch));
      if (g && g->page == p) ++count;
    }
    if (count == 0) continue;
    QuadBuffer& b = *buffers_[p];
    Reserve(b, count);
    uint32_t added = 0;
    for (size_t i = 0; i < text.size(); ++i) {
      const Glyph* g = text[i] == '\n' ? nullptr : Usable(static_cast<unsigned char>(text[i]));
      if (!g || g->page != p) continue;
      const float px = penX_[i], py = penY_[i];
      RenderVertex* q = NextQuad(b) + size_t(added) * 4;
      Place(q[0], px, py + g->ascent, m, g->uLeft, g->vTop);
      Place(q[1], px + g->advance, py + g->ascent, m, g->uRight, g->vTop);
      Place(q[2], px + g->advance, py - g->descent, m, g->uRight, g->vBottom);
      Place(q[3], px, py - g->descent, m, g->uLeft, g->vBottom);
      ++added;
    }
    Commit(b, added);
  }
  ++pending_;
}

void DX8Font_JFN::Flush(C3DPass* pass) {
  if (pending_ == 0) return;
  pending_ = 0;
  for (uint32_t p = 0; p < buffers_.size() && p < pageShaders_.size(); ++p)
    FlushBuffer(*buffers_[p], pass, pageShaders_[p]);
}
