// Script materials, images and dynamic meshes through the real plug-in on
// the gl backend: texels of generated pictures at probed pixels, blending,
// alpha test and the colour words against vertex colours, disabled layers,
// mip chains drawn small, drawing into an image, and the 16-bit fallback.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "GlResourceTestUtil.h"
#include "ImageTestUtil.h"

namespace {

using namespace gltest;

class ResourcesOnGl : public PluginOnGl {
 protected:
  // A material from script text, its images named relative to the scratch
  // folder (the resource path while the material compiles).
  C3DMaterialShader* Script(const std::string& text) {
    const std::string file = dir.Write("case.jsm", text);
    renderer->SetResourcePath(dir.File(""));
    C3DBaseShader* shader = renderer->CreateShader(RF_UNSHARED, file);
    renderer->SetResourcePath(GAME_DATA_DIR);
    return dynamic_cast<C3DMaterialShader*>(shader);
  }
};

TEST_F(ResourcesOnGl, DataMaterialShowsItsGeneratedTexels) {
  // The fence tile (8 x 8) drawn over 32 x 32 pixels: 4 screen pixels a
  // texel, point-sampled, the transparent ground cut out by the alpha test.
  C3DBaseShader* fence = renderer->CreateShader(0, std::string(GAME_DATA_DIR) + "Shaders\\fence.jsm");
  C3DMesh* mesh = Quad(0, 0, 32, 32, 0xFFFFFFFFu);
  mesh->SetShader(dynamic_cast<C3DMaterialShader*>(fence));
  hook->background = 0xFF0000FFu;
  Frame({mesh});
  struct Probe {
    int x, y;
    uint32_t expected;
  };
  for (const Probe& p : {Probe{1, 1, 0xA0A0A8u}, Probe{5, 5, 0xA0A0A8u}, Probe{13, 13, 0xA0A0A8u},
                         Probe{5, 1, 0x0000FFu}, Probe{1, 13, 0x0000FFu}, Probe{30, 1, 0xA0A0A8u},
                         Probe{40, 40, 0x0000FFu}}) {
    SCOPED_TRACE(testing::Message() << p.x << "," << p.y);
    EXPECT_LE(ChannelDiff(Pixel(p.x, p.y), p.expected), 2) << std::hex << Pixel(p.x, p.y);
  }
  // The grass picture as an image-named shader.
  C3DBaseShader* grass = renderer->CreateShader(0, std::string(GAME_DATA_DIR) + "Textures\\grass.tga");
  mesh->SetShader(dynamic_cast<C3DMaterialShader*>(grass));
  Frame({mesh});
  EXPECT_LE(ChannelDiff(Pixel(3, 3), 0x3A7D2Cu), 2);
  EXPECT_LE(ChannelDiff(Pixel(11, 3), 0x4C9438u), 2);
}

TEST_F(ResourcesOnGl, BlendingAlphaTestAndColourWordsAgainstVertexColours) {
  // t.tga: quarter-alpha red.
  dir.Write("t.tga", rtest::TgaTopDown(4, 4, std::vector<uint32_t>(16, 0x40FF0000u)));
  struct Case {
    const char* name;
    const char* script;
    uint32_t vertex;
    uint32_t background;
    uint32_t expected;
    bool disableLayer0 = false;
  };
  const char* image = "layer 0; image ./ t.tga; ";
  const Case cases[] = {
      {"texture alone", "", 0xFF00FF00u, 0xFF000000u, 0xFF0000u},
      {"alphablend", "alphablend; ", 0xFF00FF00u, 0xFF000000u, 0x400000u},
      {"additive", "additive; ", 0xFF00FF00u, 0xFF0000FFu, 0x4000FFu},
      {"blendmode one one", "alphaenable; blendmode one one; ", 0xFF00FF00u, 0xFF0000FFu, 0xFF00FFu},
      {"alpha test cuts", "alphatest; alpharef 128; alphafunc greater; ", 0xFF00FF00u, 0xFF0000FFu, 0x0000FFu},
      {"alpha test keeps", "alphatest; alpharef 32; alphafunc greater; ", 0xFF00FF00u, 0xFF0000FFu, 0xFF0000u},
      // Texture blended over the vertex colour by the texture's alpha; the
      // vertex alpha (one half) passes on to the blend.
      {"suckme1", "alphablend; SUCKME suckme1; ", 0x8000FF00u, 0xFF000000u, 0x206000u},
      {"suckme2", "SUCKME suckme2; ", 0xFF808080u, 0xFF000000u, 0x800000u},
      {"suckme3", "alphablend; SUCKME suckme3; ", 0x80FFFFFFu, 0xFF000000u, 0x200000u},
      {"suckme4", "alphablend; SUCKME suckme4; ", 0x80FFFFFFu, 0xFF000000u, 0x200000u},
      {"disabled layer draws the vertex colour", "", 0xFF00FF00u, 0xFF000000u, 0x00FF00u, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::string script = c.script;
    const size_t marker = script.find("SUCKME ");
    // Colour words act on the current layer: they follow the layer statement.
    std::string words;
    if (marker != std::string::npos) {
      words = script.substr(marker + 7);
      script = script.substr(0, marker);
    }
    C3DMaterialShader* material = Script(script + image + words);
    ASSERT_NE(material, nullptr);
    ASSERT_EQ(material->GetLayerCount(), 1);
    if (c.disableLayer0) material->DisableLayer(0);
    C3DMesh* mesh = Quad(0, 0, 16, 16, c.vertex);
    mesh->SetShader(material);
    hook->background = c.background;
    Frame({mesh});
    EXPECT_LE(ChannelDiff(Pixel(8, 8), c.expected), 3) << std::hex << Pixel(8, 8);
    EXPECT_EQ(Pixel(40, 40), c.background & 0xFFFFFFu);
  }
}

TEST_F(ResourcesOnGl, MipChainDrawnSmallAveragesWithoutChainPointSamples) {
  // A one-pixel black and white checker of 16 x 16 drawn on 2 x 2 pixels.
  dir.Write("checker.tga", [] {
    std::vector<uint32_t> px(256);
    for (int i = 0; i < 256; ++i) px[size_t(i)] = ((i % 16 + i / 16) % 2) ? 0xFFFFFFFFu : 0xFF000000u;
    return rtest::TgaTopDown(16, 16, px);
  }());
  C3DMaterialShader* mipped = Script("layer 0; imagehq ./ checker.tga; minfilter linear; mipfilter linear;");
  C3DMaterialShader* plain = Script("layer 0; image ./ checker.tga; minfilter point; mipfilter none;");
  C3DMesh* small = Quad(0, 0, 2, 2, 0xFFFFFFFFu);
  small->SetShader(mipped);
  Frame({small});
  EXPECT_LE(ChannelDiff(Pixel(0, 0), 0x808080u), 12) << std::hex << Pixel(0, 0);
  small->SetShader(plain);
  Frame({small});
  const uint32_t p = Pixel(0, 0);
  EXPECT_TRUE(p == 0 || p == 0xFFFFFFu) << std::hex << p;
}

TEST_F(ResourcesOnGl, RenderToImageThenTheImageDrawn) {
  dir.Write("blue.tga", rtest::TgaTopDown(2, 2, std::vector<uint32_t>(4, 0xFF0000FFu)));
  C3DMaterialShader* blue = Script("layer 0; image ./ blue.tga;");
  C3DImage* canvas = renderer->CreateImage(RF_BUILTIN | RF_EMPTY, "16 16");  // opaque white
  ASSERT_EQ(canvas->GetWidth(), 16);
  // The left half of the canvas in clip space.
  C3DMesh* painter = renderer->CreateMesh(0, "DynamicMesh");
  auto& v = quads.emplace_back();
  v = {{{-1, 1, 0.5f, ~0u, 0, 0, 0, 0},
        {0, 1, 0.5f, ~0u, 1, 0, 0, 0},
        {0, -1, 0.5f, ~0u, 1, 1, 0, 0},
        {-1, -1, 0.5f, ~0u, 0, 1, 0, 0}}};
  painter->SetVertices(v.data(), 4, false, false);
  painter->SetIndices(const_cast<uint16_t*>(kQuadIndices), 6, false, false);
  painter->SetShader(blue);
  const JMatrix identity = JMatrix::Identity();
  renderer->DrawResourceNow(painter, canvas, &identity, &identity, &identity);

  auto* show = dynamic_cast<C3DMaterialShader*>(renderer->CreateShader(RF_BUILTIN | RF_MATERIAL | RF_EMPTY, "show"));
  ASSERT_NE(show, nullptr);
  ASSERT_EQ(show->SetLayerCount(1), 0);
  show->SetLayerImage(0, canvas);
  C3DMesh* screen = Quad(0, 0, 32, 32, 0xFFFFFFFFu);
  screen->SetShader(show);
  Frame({screen});
  EXPECT_LE(ChannelDiff(Pixel(4, 16), 0x0000FFu), 2) << std::hex << Pixel(4, 16);
  EXPECT_LE(ChannelDiff(Pixel(28, 16), 0xFFFFFFu), 2) << std::hex << Pixel(28, 16);
}

TEST_F(ResourcesOnGl, SixteenBitFallbackDrawsTheNarrowedColourExactly) {
  // Two files of one colour: an image of the same name would be shared.
  dir.Write("p.tga", rtest::TgaTopDown(2, 2, std::vector<uint32_t>(4, 0xFF8A4B2Cu)));
  dir.Write("q.tga", rtest::TgaTopDown(2, 2, std::vector<uint32_t>(4, 0xFF8A4B2Cu)));
  gfx::SetRefusedTextureFormat(gfx::D3DFMT_A8R8G8B8);
  C3DMaterialShader* narrow = Script("layer 0; image ./ p.tga; magfilter point;");
  gfx::SetRefusedTextureFormat(0);
  C3DMaterialShader* wide = Script("layer 0; image ./ q.tga; magfilter point;");
  C3DMesh* left = Quad(0, 0, 16, 16, 0xFFFFFFFFu);
  C3DMesh* right = Quad(16, 0, 32, 16, 0xFFFFFFFFu);
  left->SetShader(narrow);
  right->SetShader(wide);
  Frame({left, right});
  EXPECT_EQ(Pixel(8, 8), 0x884422u);
  EXPECT_EQ(Pixel(24, 8), 0x8A4B2Cu);
}

}  // namespace
