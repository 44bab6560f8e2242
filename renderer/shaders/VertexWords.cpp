// The vertex words of ".jsv" scripts: each compiles into a command that
// rewrites the colour or the first texture coordinates of every vertex of
// the geometry it runs on.
#include <cstdint>

#include "renderer/DrawItem.h"
#include "renderer/shaders/DX8BaseShader.h"
#include "renderer/shaders/ShaderCompiler.h"

namespace {

using Op = uint32_t;
constexpr Op kNo = DX8BaseShader::kNoOperand;

// A 0..1 colour component as a byte: times 255, clamped, truncated. NaN
// gives 0.
uint32_t ColourByte(float component) {
  const float scaled = component * 255.0f;
  if (!(scaled > 0.0f)) return 0;
  if (scaled >= 255.0f) return 255;
  return static_cast<uint32_t>(scaled);
}

// Writable vertices of the geometry the command runs on, or none.
RenderVertex* Vertices(MeshGeometry* g, uint32_t* count) {
  *count = 0;
  if (!g || !g->vertices) return nullptr;
  *count = g->vertexCount;
  return const_cast<RenderVertex*>(g->vertices);
}

bool Parse(DX8BaseShader* s, ShaderTokens t, size_t first, size_t n, Op* out) {
  if (t.size() < first + n) return false;
  for (size_t i = 0; i < n; ++i) {
    out[i] = s->ParseOperand(t[first + i], false);
    if (out[i] == kNo) return false;
  }
  return true;
}

void ExecRgbGen(DX8BaseShader* s, const DX8ShaderCommand& c, MeshGeometry* g) {
  const uint32_t rgb = ColourByte(s->Read(c.operands[0])) << 16 | ColourByte(s->Read(c.operands[1])) << 8 |
                       ColourByte(s->Read(c.operands[2]));
  uint32_t n = 0;
  RenderVertex* v = Vertices(g, &n);
  for (uint32_t i = 0; i < n; ++i) v[i].diffuse = (v[i].diffuse & 0xFF000000u) | rgb;
}

void ExecAlphaGen(DX8BaseShader* s, const DX8ShaderCommand& c, MeshGeometry* g) {
  const uint32_t a = ColourByte(s->Read(c.operands[0])) << 24;
  uint32_t n = 0;
  RenderVertex* v = Vertices(g, &n);
  for (uint32_t i = 0; i < n; ++i) v[i].diffuse = (v[i].diffuse & 0x00FFFFFFu) | a;
}

void ExecRgbAlphaGen(DX8BaseShader* s, const DX8ShaderCommand& c, MeshGeometry* g) {
  const uint32_t argb = ColourByte(s->Read(c.operands[3])) << 24 | ColourByte(s->Read(c.operands[0])) << 16 |
                        ColourByte(s->Read(c.operands[1])) << 8 | ColourByte(s->Read(c.operands[2]));
  uint32_t n = 0;
  RenderVertex* v = Vertices(g, &n);
  for (uint32_t i = 0; i < n; ++i) v[i].diffuse = argb;
}

void ExecNothing(DX8BaseShader*, const DX8ShaderCommand&, MeshGeometry*) {}

void ExecUvwVar(DX8BaseShader* s, const DX8ShaderCommand& c, MeshGeometry* g) {
  const float u = s->Read(c.operands[0]), v = s->Read(c.operands[1]);
  uint32_t n = 0;
  RenderVertex* vx = Vertices(g, &n);
  for (uint32_t i = 0; i < n; ++i) {
    vx[i].u = u;
    vx[i].v = v;
  }
}

// Position coordinate sources: 0 x, 1 y, 2 z; kXyz takes x for u, y for v.
constexpr int kXyz = 3;
template <int kSource>
void ExecUvwPosition(DX8BaseShader* s, const DX8ShaderCommand& c, MeshGeometry* g) {
  const bool setU = s->Read(c.operands[0]) != 0.0f, setV = s->Read(c.operands[1]) != 0.0f;
  uint32_t n = 0;
  RenderVertex* vx = Vertices(g, &n);
  for (uint32_t i = 0; i < n; ++i) {
    const float p[3] = {vx[i].x, vx[i].y, vx[i].z};
    if (setU) vx[i].u = kSource == kXyz ? p[0] : p[kSource];
    if (setV) vx[i].v = kSource == kXyz ? p[1] : p[kSource];
  }
}

void ExecUvwScale(DX8BaseShader* s, const DX8ShaderCommand& c, MeshGeometry* g) {
  const float u = s->Read(c.operands[0]), v = s->Read(c.operands[1]);
  uint32_t n = 0;
  RenderVertex* vx = Vertices(g, &n);
  for (uint32_t i = 0; i < n; ++i) {
    vx[i].u *= u;
    vx[i].v *= v;
  }
}

void ExecUvwOffset(DX8BaseShader* s, const DX8ShaderCommand& c, MeshGeometry* g) {
  const float u = s->Read(c.operands[0]), v = s->Read(c.operands[1]);
  uint32_t n = 0;
  RenderVertex* vx = Vertices(g, &n);
  for (uint32_t i = 0; i < n; ++i) {
    vx[i].u += u;
    vx[i].v += v;
  }
}

template <size_t N>
void CompileFrom1(DX8BaseShader* s, ShaderTokens t, ShaderExecutor e) {
  Op ops[N];
  if (Parse(s, t, 1, N, ops)) s->AddCommand(e, ops, N);
}

void WordRgbGen(Lumetra*, DX8BaseShader* s, ShaderTokens t) { CompileFrom1<3>(s, t, ExecRgbGen); }
void WordAlphaGen(Lumetra*, DX8BaseShader* s, ShaderTokens t) { CompileFrom1<1>(s, t, ExecAlphaGen); }
void WordRgbAlphaGen(Lumetra*, DX8BaseShader* s, ShaderTokens t) { CompileFrom1<4>(s, t, ExecRgbAlphaGen); }
void WordRgbMul(Lumetra*, DX8BaseShader* s, ShaderTokens t) { CompileFrom1<3>(s, t, ExecNothing); }
void WordAlphaMul(Lumetra*, DX8BaseShader* s, ShaderTokens t) { CompileFrom1<1>(s, t, ExecNothing); }

void WordUvwSet(Lumetra*, DX8BaseShader* s, ShaderTokens t) {
  if (t.size() < 5) return;
  std::string source = t[1];
  if (source == "xxx" || source == "yyy" || source == "zzz") source.resize(1);
  ShaderExecutor e = nullptr;
  if (source == "var") e = ExecUvwVar;
  else if (source == "xyz") e = ExecUvwPosition<kXyz>;
  else if (source == "x") e = ExecUvwPosition<0>;
  else if (source == "y") e = ExecUvwPosition<1>;
  else if (source == "z") e = ExecUvwPosition<2>;
  if (!e) return;
  Op ops[3];
  if (Parse(s, t, 2, 3, ops)) s->AddCommand(e, ops, 3);
}

void WordUvwDef(Lumetra*, DX8BaseShader* s, ShaderTokens t) {
  if (t.size() < 5) return;
  ShaderExecutor e = t[1] == "scale" ? ExecUvwScale : t[1] == "offset" ? ExecUvwOffset : nullptr;
  if (!e) return;
  Op ops[3];
  if (Parse(s, t, 2, 3, ops)) s->AddCommand(e, ops, 3);
}

}  // namespace

void AddVertexWords(ShaderWordTable* table) {
  ShaderWordTable& t = *table;
  t["rgbgen"] = WordRgbGen;
  t["alphagen"] = WordAlphaGen;
  t["rgbalphagen"] = WordRgbAlphaGen;
  t["rgbmul"] = WordRgbMul;
  t["alphamul"] = WordAlphaMul;
  t["uvwset"] = WordUvwSet;
  t["uvwdef"] = WordUvwDef;
}
