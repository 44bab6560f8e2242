// Material scripts: every material word and keyword table, layers and the
// current layer, and the material's own interface.
#include <gtest/gtest.h>

#include <string>

#include "engine/services/C3DResource.h"
#include "platform/graphics/GfxConstants.h"
#include "renderer/Lumetra.h"
#include "renderer/shaders/DX8MaterialShader.h"
#include "renderer/shaders/ShaderCompiler.h"

namespace {

namespace gfx = platform::gfx;

class MaterialShaderTest : public ::testing::Test {
 protected:
  DX8MaterialShader* Material(const std::string& script) {
    return dynamic_cast<DX8MaterialShader*>(CompileShaderText(&renderer, RF_MATERIAL, "m.jsm", script));
  }
  Lumetra renderer;
};

TEST_F(MaterialShaderTest, RenderStateWords) {
  struct Case {
    const char* name;
    const char* script;
    size_t state;
    uint32_t expected;
  };
  const Case cases[] = {
      {"light without argument", "light;", kLighting, 1},
      {"light no", "light no;", kLighting, 0},
      {"light false", "light yes; light false;", kLighting, 0},
      {"alphaenable", "alphaenable;", kAlphaBlendEnable, 1},
      {"alphatest", "alphatest true;", kAlphaTestEnable, 1},
      {"depthread off", "depthread no;", kZEnable, 0},
      {"depthwrite off", "depthwrite false;", kZWriteEnable, 0},
      {"alphafunc greaterequal", "alphafunc greaterequal;", kAlphaFunc, gfx::D3DCMP_GREATEREQUAL},
      {"alphafunc is case-sensitive", "alphafunc Greater;", kAlphaFunc, gfx::D3DCMP_LESSEQUAL},
      {"alphafunc never", "alphafunc none;", kAlphaFunc, gfx::D3DCMP_NEVER},
      {"alphafunc always", "alphafunc yes;", kAlphaFunc, gfx::D3DCMP_ALWAYS},
      {"alphafunc without keyword", "alphafunc;", kAlphaFunc, gfx::D3DCMP_LESSEQUAL},
      {"depthfunc always", "depthfunc always;", kZFunc, gfx::D3DCMP_ALWAYS},
      {"depthfunc leaves zbias", "depthbias 3; depthfunc always;", kZBias, 3},
      {"depthfunc notequal", "depthfunc notequal;", kZFunc, gfx::D3DCMP_NOTEQUAL},
      {"alpharef", "alpharef 128;", kAlphaRef, 128},
      {"alpharef without value", "alpharef 9; alpharef;", kAlphaRef, 0},
      {"alpharef huge saturates", "alpharef 99999999999999;", kAlphaRef, 2147483647u},
      {"alphablend source", "alphablend;", kSrcBlend, gfx::D3DBLEND_SRCALPHA},
      {"alphablend destination", "alphablend;", kDestBlend, gfx::D3DBLEND_INVSRCALPHA},
      {"additive destination", "additive;", kDestBlend, gfx::D3DBLEND_ONE},
      {"additive enables blending", "additive;", kAlphaBlendEnable, 1},
      {"blendmode with one keyword does nothing", "blendmode one;", kSrcBlend, gfx::D3DBLEND_ONE},
      {"blendmode unknown destination", "blendmode srcalpha foo;", kDestBlend, gfx::D3DBLEND_ZERO},
      {"blendmode source", "blendmode srcalpha foo;", kSrcBlend, gfx::D3DBLEND_SRCALPHA},
      {"blendmode unknown source", "blendmode bar dstcolor;", kSrcBlend, gfx::D3DBLEND_ONE},
      {"blendmode srcalphasat", "blendmode one srcalphasat;", kDestBlend, gfx::D3DBLEND_SRCALPHASAT},
      {"blendmode leaves blending off", "blendmode one one;", kAlphaBlendEnable, 0},
      {"cull none", "cull none;", kCullMode, gfx::D3DCULL_NONE},
      {"cull no", "cull no;", kCullMode, gfx::D3DCULL_NONE},
      {"cull counterclockwise", "cull none; cull counterclockwise;", kCullMode, gfx::D3DCULL_CCW},
      {"cull other word", "cull sideways;", kCullMode, gfx::D3DCULL_CW},
      {"cull without word does nothing", "cull;", kCullMode, gfx::D3DCULL_CCW},
      {"ambientsource material", "ambientsource material;", kAmbientSource, gfx::D3DMCS_MATERIAL},
      {"diffusesource vertex", "diffusesource material; diffusesource vertex;", kDiffuseSource, gfx::D3DMCS_COLOR1},
      {"initial shade mode", "", kShadeMode, gfx::D3DSHADE_GOURAUD},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    DX8MaterialShader* m = Material(c.script);
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(m->GetState(c.state), c.expected);
  }
}

TEST_F(MaterialShaderTest, LayerAndStageWords) {
  struct Case {
    const char* name;
    const char* script;
    int32_t layer;
    size_t stage;
    uint32_t expected;
  };
  const Case cases[] = {
      {"new layer default filter", "layer 0;", 0, kMinFilter, gfx::D3DTEXF_ANISOTROPIC},
      {"addressu clamp on current", "layer 0; addressu clamp;", 0, kAddressU, gfx::D3DTADDRESS_CLAMP},
      {"addressv mirror", "layer 0; addressv mirror;", 0, kAddressV, gfx::D3DTADDRESS_MIRROR},
      {"addressu other word wraps", "layer 0; addressu clamp; addressu wrap;", 0, kAddressU, gfx::D3DTADDRESS_WRAP},
      {"before any layer affects none", "addressu clamp; layer 0;", 0, kAddressU, gfx::D3DTADDRESS_WRAP},
      {"root keeps the current layer (layer 0)", "layer 0; layer 1; root; addressu clamp;", 0, kAddressU,
       gfx::D3DTADDRESS_WRAP},
      {"root keeps the current layer (layer 1)", "layer 0; layer 1; root; addressu clamp;", 1, kAddressU,
       gfx::D3DTADDRESS_CLAMP},
      {"magfilter point", "layer 0; magfilter point;", 0, kMagFilter, gfx::D3DTEXF_POINT},
      {"minfilter none", "layer 0; minfilter none;", 0, kMinFilter, gfx::D3DTEXF_NONE},
      {"mipfilter gaussian", "layer 0; mipfilter gaussian;", 0, kMipFilter, gfx::D3DTEXF_GAUSSIANCUBIC},
      {"filter unknown is linear", "layer 0; mipfilter Point;", 0, kMipFilter, gfx::D3DTEXF_LINEAR},
      {"suckme1 colour", "layer 0; suckme1;", 0, kColorOp, gfx::D3DTOP_BLENDTEXTUREALPHA},
      {"suckme1 colour arg2", "layer 0; suckme1;", 0, kColorArg2, gfx::D3DTA_CURRENT},
      {"suckme1 passes alpha on", "layer 0; suckme1;", 0, kAlphaOp, gfx::D3DTOP_SELECTARG1},
      {"suckme1 alpha from what came in", "layer 0; suckme1;", 0, kAlphaArg1, gfx::D3DTA_CURRENT},
      {"suckme2 colour", "layer 0; suckme2;", 0, kColorArg2, gfx::D3DTA_DIFFUSE},
      {"suckme2 keeps alpha", "layer 0; suckme2;", 0, kAlphaOp, gfx::D3DTOP_SELECTARG1},
      {"suckme3 alpha", "layer 0; suckme3;", 0, kAlphaOp, gfx::D3DTOP_MODULATE},
      {"suckme3 alpha arg2", "layer 0; suckme3;", 0, kAlphaArg2, gfx::D3DTA_CURRENT},
      {"suckme4 alpha arg2", "layer 0; suckme4;", 0, kAlphaArg2, gfx::D3DTA_DIFFUSE},
      {"suckme4 colour", "layer 0; suckme4;", 0, kColorOp, gfx::D3DTOP_MODULATE},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    DX8MaterialShader* m = Material(c.script);
    ASSERT_NE(m, nullptr);
    ASSERT_NE(m->Layer(c.layer), nullptr);
    EXPECT_EQ(m->Layer(c.layer)->request.values[c.stage], c.expected);
  }
}

TEST_F(MaterialShaderTest, LayerStatementsAndSortKeys) {
  struct Case {
    const char* name;
    const char* script;
    uint16_t layers;
    int16_t current;
  };
  const Case cases[] = {
      {"layer 2 makes three", "layer 2;", 3, 2},
      {"layer 4 does nothing", "layer 4;", 0, -1},
      {"layer -1 does nothing", "layer -1;", 0, -1},
      {"layer without number", "layer;", 0, -1},
      {"back to an earlier layer", "layer 3; layer 1;", 4, 1},
      {"suckme without a layer", "suckme1; suckme3;", 0, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    DX8MaterialShader* m = Material(c.script);
    EXPECT_EQ(m->GetLayerCount(), c.layers);
    EXPECT_EQ(m->GetCurrentLayer(), c.current);
  }
  DX8MaterialShader* m = Material("sortpriority -7; depthsort; layerkill #x; float #x 0; layer 0; layerkill #x;");
  EXPECT_EQ(m->GetSortPriority(), -7);
  EXPECT_TRUE(m->IsDepthSortedShader());
  EXPECT_TRUE(m->RootCommands().empty());
  EXPECT_EQ(m->Layer(0)->commands.size(), 1u);
  EXPECT_EQ(Material("sortpriority;")->GetSortPriority(), 0);
}

TEST_F(MaterialShaderTest, MaterialInterface) {
  DX8MaterialShader* m = Material("");
  EXPECT_EQ(m->SetLayerCount(0), static_cast<int32_t>(0x80004005));
  EXPECT_EQ(m->SetLayerCount(5), static_cast<int32_t>(0x80004005));
  EXPECT_EQ(m->SetLayerCount(2), 0);
  EXPECT_EQ(m->SetLayerCount(1), 0);
  EXPECT_EQ(m->GetLayerCount(), 2);
  EXPECT_FALSE(m->EnableLayer(2));
  EXPECT_TRUE(m->DisableLayer(1));
  EXPECT_FALSE(m->IsPassLayerEnabled(1));
  m->SetLayerBlend(0, true, true);
  EXPECT_EQ(m->Layer(0)->request.values[kColorOp], gfx::D3DTOP_BLENDTEXTUREALPHA);
  EXPECT_EQ(m->Layer(0)->request.values[kColorArg2], gfx::D3DTA_DIFFUSE);
  m->SetLayerBlend(0, true, false);
  EXPECT_EQ(m->Layer(0)->request.values[kColorOp], gfx::D3DTOP_MODULATE);
  EXPECT_EQ(m->Layer(0)->request.values[kColorArg2], gfx::D3DTA_CURRENT);
  m->SetLayerBlend(9, true, true);  // ignored
  EXPECT_EQ(m->GetLayerImage(-1), nullptr);
  ASSERT_NE(m->AddLayer(), nullptr);
  ASSERT_NE(m->AddLayer(), nullptr);
  EXPECT_EQ(m->AddLayer(), nullptr);
  m->SetDiffuse(0.5f, 0.25f, 1, 1);
  m->SetAmbient(0.1f, 0.2f, 0.3f, 0.4f);
  gfx::Material device;
  m->GetDeviceMaterial(&device);
  EXPECT_FLOAT_EQ(device.diffuse.g, 0.25f);
  EXPECT_FLOAT_EQ(device.ambient.a, 0.4f);
  EXPECT_FLOAT_EQ(device.specular.r, 0.0f);
  DrawItem item;
  const uint16_t before = m->GetRefCount();
  m->BindToDrawItem(&item);
  EXPECT_EQ(item.shader, static_cast<PassShader*>(m));
  EXPECT_EQ(m->GetRefCount(), before + 1);
}

}  // namespace
