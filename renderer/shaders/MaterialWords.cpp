// The material words of ".jsm" scripts: render states, layers and their
// images, stage states and colour combining, sort keys. They act once, at
// compile time, on the material being built.
#include <string>

#include "engine/services/C3DImage.h"
#include "engine/services/C3DResource.h"
#include "platform/graphics/GfxConstants.h"
#include "renderer/Lumetra.h"
#include "renderer/shaders/DX8MaterialShader.h"
#include "renderer/shaders/ShaderCompiler.h"

namespace gfx = platform::gfx;

namespace {

DX8MaterialShader* Material(DX8BaseShader* shader) { return dynamic_cast<DX8MaterialShader*>(shader); }

// "no" and "false" are off; any other word, or none, is on.
uint32_t Boolean(ShaderTokens t) { return (t.size() > 1 && (t[1] == "no" || t[1] == "false")) ? 0u : 1u; }

uint32_t Comparison(ShaderTokens t) {
  uint32_t value = gfx::D3DCMP_LESSEQUAL;
  if (t.size() < 2) return value;
  const std::string& w = t[1];
  if (w == "no" || w == "none" || w == "false" || w == "never") value = gfx::D3DCMP_NEVER;
  if (w == "yes" || w == "true" || w == "always") value = gfx::D3DCMP_ALWAYS;
  if (w == "less") value = gfx::D3DCMP_LESS;
  if (w == "equal") value = gfx::D3DCMP_EQUAL;
  if (w == "lessequal") value = gfx::D3DCMP_LESSEQUAL;
  if (w == "greater") value = gfx::D3DCMP_GREATER;
  if (w == "notequal") value = gfx::D3DCMP_NOTEQUAL;
  if (w == "greaterequal") value = gfx::D3DCMP_GREATEREQUAL;
  return value;
}

uint32_t Blend(const std::string& w, uint32_t unknown) {
  static const struct {
    const char* word;
    uint32_t value;
  } kBlends[] = {{"zero", gfx::D3DBLEND_ZERO},
                 {"one", gfx::D3DBLEND_ONE},
                 {"srccolor", gfx::D3DBLEND_SRCCOLOR},
                 {"invsrccolor", gfx::D3DBLEND_INVSRCCOLOR},
                 {"srcalpha", gfx::D3DBLEND_SRCALPHA},
                 {"invsrcalpha", gfx::D3DBLEND_INVSRCALPHA},
                 {"dstalpha", gfx::D3DBLEND_DESTALPHA},
                 {"invdstalpha", gfx::D3DBLEND_INVDESTALPHA},
                 {"dstcolor", gfx::D3DBLEND_DESTCOLOR},
                 {"invdstcolor", gfx::D3DBLEND_INVDESTCOLOR},
                 {"srcalphasat", gfx::D3DBLEND_SRCALPHASAT}};
  for (const auto& b : kBlends)
    if (w == b.word) return b.value;
  return unknown;
}

uint32_t Filter(ShaderTokens t) {
  if (t.size() < 2) return gfx::D3DTEXF_LINEAR;
  const std::string& w = t[1];
  if (w == "gaussian") return gfx::D3DTEXF_GAUSSIANCUBIC;
  if (w == "anisotropic") return gfx::D3DTEXF_ANISOTROPIC;
  if (w == "linear") return gfx::D3DTEXF_LINEAR;
  if (w == "point") return gfx::D3DTEXF_POINT;
  if (w == "none") return gfx::D3DTEXF_NONE;
  return gfx::D3DTEXF_LINEAR;
}

uint32_t Address(ShaderTokens t) {
  if (t.size() > 1 && t[1] == "clamp") return gfx::D3DTADDRESS_CLAMP;
  if (t.size() > 1 && t[1] == "mirror") return gfx::D3DTADDRESS_MIRROR;
  return gfx::D3DTADDRESS_WRAP;
}

void SetState(DX8BaseShader* s, size_t position, uint32_t value) {
  if (DX8MaterialShader* m = Material(s)) m->SetState(position, value);
}

// The current layer's stage value, or with no layer current every layer's.
void SetStage(DX8BaseShader* s, size_t position, uint32_t value) {
  DX8MaterialShader* m = Material(s);
  if (!m) return;
  if (DX8SHADER_Layer* layer = m->Layer(m->GetCurrentLayer())) {
    layer->request.values[position] = value;
    return;
  }
  for (int32_t k = 0; k < m->GetLayerCount(); ++k) m->Layer(k)->request.values[position] = value;
}

DX8SHADER_Layer* CurrentLayer(DX8BaseShader* s) {
  DX8MaterialShader* m = Material(s);
  return m ? m->Layer(m->GetCurrentLayer()) : nullptr;
}

void NoEffect(Lumetra*, DX8BaseShader*, ShaderTokens) {}
void ExecNothing(DX8BaseShader*, const DX8ShaderCommand&, MeshGeometry*) {}

void WordLayer(Lumetra*, DX8BaseShader* s, ShaderTokens t) {
  DX8MaterialShader* m = Material(s);
  if (!m || t.size() < 2) return;
  const int32_t n = ScriptInteger(t[1]);
  if (n < 0 || n > 3) return;
  if (n + 1 > m->GetLayerCount()) m->SetLayerCount(n + 1);
  if (n < m->GetLayerCount()) m->SetCurrentLayer(static_cast<int16_t>(n));
}

void WordLayerKill(Lumetra*, DX8BaseShader* s, ShaderTokens t) {
  if (t.size() < 2) return;
  const uint32_t v = s->ParseOperand(t[1], true);
  if (v != DX8BaseShader::kNoOperand) s->AddCommand(ExecNothing, &v, 1);
}

void LoadLayerImage(Lumetra* renderer, DX8BaseShader* s, ShaderTokens t, uint32_t flags) {
  DX8MaterialShader* m = Material(s);
  if (!m || !renderer || t.size() < 3) return;
  DX8SHADER_Layer* layer = m->Layer(m->GetCurrentLayer());
  if (!layer || layer->image) return;
  const std::string name = renderer->GetResourcePath() + t[1] + t[2];
  C3DImage* image = renderer->CreateImage(flags, name);
  // The layer takes over the factory's reference.
  layer->image = dynamic_cast<DeviceImage*>(image) ? image : nullptr;
  if (image && !layer->image) image->Release();
}

void WordImage(Lumetra* r, DX8BaseShader* s, ShaderTokens t) { LoadLayerImage(r, s, t, RF_DEFAULT); }
void WordImageHq(Lumetra* r, DX8BaseShader* s, ShaderTokens t) { LoadLayerImage(r, s, t, RF_DEFAULT | RF_MIPCHAIN); }

void WordCull(Lumetra*, DX8BaseShader* s, ShaderTokens t) {
  if (t.size() < 2) return;
  uint32_t mode = gfx::D3DCULL_CW;
  if (t[1] == "none" || t[1] == "no") mode = gfx::D3DCULL_NONE;
  if (t[1] == "ccw" || t[1] == "counterclockwise") mode = gfx::D3DCULL_CCW;
  SetState(s, kCullMode, mode);
}

void WordLight(Lumetra*, DX8BaseShader* s, ShaderTokens t) { SetState(s, kLighting, Boolean(t)); }
void WordAlphaEnable(Lumetra*, DX8BaseShader* s, ShaderTokens t) { SetState(s, kAlphaBlendEnable, Boolean(t)); }
void WordAlphaTest(Lumetra*, DX8BaseShader* s, ShaderTokens t) { SetState(s, kAlphaTestEnable, Boolean(t)); }
void WordDepthRead(Lumetra*, DX8BaseShader* s, ShaderTokens t) { SetState(s, kZEnable, Boolean(t)); }
void WordDepthWrite(Lumetra*, DX8BaseShader* s, ShaderTokens t) { SetState(s, kZWriteEnable, Boolean(t)); }
void WordAlphaFunc(Lumetra*, DX8BaseShader* s, ShaderTokens t) { SetState(s, kAlphaFunc, Comparison(t)); }
void WordDepthFunc(Lumetra*, DX8BaseShader* s, ShaderTokens t) { SetState(s, kZFunc, Comparison(t)); }
void WordAlphaRef(Lumetra*, DX8BaseShader* s, ShaderTokens t) {
  SetState(s, kAlphaRef, t.size() > 1 ? static_cast<uint32_t>(ScriptInteger(t[1])) : 0u);
}
void WordDepthBias(Lumetra*, DX8BaseShader* s, ShaderTokens t) {
  SetState(s, kZBias, t.size() > 1 ? static_cast<uint32_t>(ScriptInteger(t[1])) : 0u);
}

void WordAlphaBlend(Lumetra*, DX8BaseShader* s, ShaderTokens) {
  SetState(s, kAlphaBlendEnable, 1);
  SetState(s, kSrcBlend, gfx::D3DBLEND_SRCALPHA);
  SetState(s, kDestBlend, gfx::D3DBLEND_INVSRCALPHA);
}

void WordAdditive(Lumetra*, DX8BaseShader* s, ShaderTokens) {
  SetState(s, kAlphaBlendEnable, 1);
  SetState(s, kSrcBlend, gfx::D3DBLEND_SRCALPHA);
  SetState(s, kDestBlend, gfx::D3DBLEND_ONE);
}

void WordBlendMode(Lumetra*, DX8BaseShader* s, ShaderTokens t) {
  if (t.size() < 3) return;
  SetState(s, kSrcBlend, Blend(t[1], gfx::D3DBLEND_ONE));
  SetState(s, kDestBlend, Blend(t[2], gfx::D3DBLEND_ZERO));
}

void WordDepthSort(Lumetra*, DX8BaseShader* s, ShaderTokens) {
  if (DX8MaterialShader* m = Material(s)) m->SetDepthSort(true);
}

void WordSortPriority(Lumetra*, DX8BaseShader* s, ShaderTokens t) {
  DX8MaterialShader* m = Material(s);
  if (m && t.size() >= 2) m->SetSortPriority(ScriptInteger(t[1]));
}

void WordAddressU(Lumetra*, DX8BaseShader* s, ShaderTokens t) { SetStage(s, kAddressU, Address(t)); }
void WordAddressV(Lumetra*, DX8BaseShader* s, ShaderTokens t) { SetStage(s, kAddressV, Address(t)); }
void WordMagFilter(Lumetra*, DX8BaseShader* s, ShaderTokens t) { SetStage(s, kMagFilter, Filter(t)); }
void WordMinFilter(Lumetra*, DX8BaseShader* s, ShaderTokens t) { SetStage(s, kMinFilter, Filter(t)); }
void WordMipFilter(Lumetra*, DX8BaseShader* s, ShaderTokens t) { SetStage(s, kMipFilter, Filter(t)); }

void SetCombine(DX8BaseShader* s, uint32_t colorOp, uint32_t colorArg2, bool alpha, uint32_t alphaOp,
                uint32_t alphaArg1, uint32_t alphaArg2) {
  DX8SHADER_Layer* layer = CurrentLayer(s);
  if (!layer) return;
  auto& r = layer->request.values;
  r[kColorOp] = colorOp;
  r[kColorArg1] = gfx::D3DTA_TEXTURE;
  r[kColorArg2] = colorArg2;
  if (!alpha) return;
  r[kAlphaOp] = alphaOp;
  r[kAlphaArg1] = alphaArg1;
  r[kAlphaArg2] = alphaArg2;
}

// Blends the texture over what came before by the texture's alpha; the alpha
// that came in is passed on unchanged (a disabled alpha operation under an
// enabled colour operation is undefined on devices).
void WordSuckMe1(Lumetra*, DX8BaseShader* s, ShaderTokens) {
  SetCombine(s, gfx::D3DTOP_BLENDTEXTUREALPHA, gfx::D3DTA_CURRENT, true, gfx::D3DTOP_SELECTARG1, gfx::D3DTA_CURRENT,
             gfx::D3DTA_CURRENT);
}
void WordSuckMe2(Lumetra*, DX8BaseShader* s, ShaderTokens) {
  SetCombine(s, gfx::D3DTOP_MODULATE, gfx::D3DTA_DIFFUSE, false, 0, 0, 0);
}
void WordSuckMe3(Lumetra*, DX8BaseShader* s, ShaderTokens) {
  SetCombine(s, gfx::D3DTOP_MODULATE, gfx::D3DTA_CURRENT, true, gfx::D3DTOP_MODULATE, gfx::D3DTA_TEXTURE,
             gfx::D3DTA_CURRENT);
}
void WordSuckMe4(Lumetra*, DX8BaseShader* s, ShaderTokens) {
  SetCombine(s, gfx::D3DTOP_MODULATE, gfx::D3DTA_DIFFUSE, true, gfx::D3DTOP_MODULATE, gfx::D3DTA_TEXTURE,
             gfx::D3DTA_DIFFUSE);
}

uint32_t MaterialSource(ShaderTokens t) {
  return (t.size() > 1 && t[1] == "material") ? gfx::D3DMCS_MATERIAL : gfx::D3DMCS_COLOR1;
}
void WordAmbientSource(Lumetra*, DX8BaseShader* s, ShaderTokens t) { SetState(s, kAmbientSource, MaterialSource(t)); }
void WordDiffuseSource(Lumetra*, DX8BaseShader* s, ShaderTokens t) { SetState(s, kDiffuseSource, MaterialSource(t)); }

}  // namespace

void AddMaterialWords(ShaderWordTable* table) {
  ShaderWordTable& t = *table;
  t["root"] = NoEffect;
  t["layer"] = WordLayer;
  t["layerkill"] = WordLayerKill;
  t["image"] = WordImage;
  t["imagehq"] = WordImageHq;
  t["imagea"] = NoEffect;
  t["imagel"] = NoEffect;
  t["cull"] = WordCull;
  t["light"] = WordLight;
  t["alphaenable"] = WordAlphaEnable;
  t["alphatest"] = WordAlphaTest;
  t["depthread"] = WordDepthRead;
  t["depthwrite"] = WordDepthWrite;
  t["alphafunc"] = WordAlphaFunc;
  t["depthfunc"] = WordDepthFunc;
  t["alpharef"] = WordAlphaRef;
  t["depthbias"] = WordDepthBias;
  t["alphablend"] = WordAlphaBlend;
  t["additive"] = WordAdditive;
  t["blendmode"] = WordBlendMode;
  t["depthsort"] = WordDepthSort;
  t["sortpriority"] = WordSortPriority;
  t["addressu"] = WordAddressU;
  t["addressv"] = WordAddressV;
  t["magfilter"] = WordMagFilter;
  t["minfilter"] = WordMinFilter;
  t["mipfilter"] = WordMipFilter;
  t["suckme1"] = WordSuckMe1;
  t["suckme2"] = WordSuckMe2;
  t["suckme3"] = WordSuckMe3;
  t["suckme4"] = WordSuckMe4;
  t["ambientsource"] = WordAmbientSource;
  t["diffusesource"] = WordDiffuseSource;
}
