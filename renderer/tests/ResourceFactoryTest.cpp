// The renderer's factories on the record device: sharing, flags,
// lower-casing, the built-in rows, fallbacks, release and deferred deletion,
// growth, and corrupt inputs that end in the fallback.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "ImageTestUtil.h"
#include "base/StringUtil.h"
#include "RendererTestUtil.h"
#include "platform/tests/ScratchDir.h"
#include "renderer/resources/DX8Image.h"
#include "renderer/shaders/DX8MaterialShader.h"
#include "renderer/shaders/DX8VertexShader.h"

namespace {

using namespace rtest;

class ResourceFactoryTest : public RecordRenderer {
 protected:
  void SetUp() override {
    RecordRenderer::SetUp();
    std::filesystem::create_directories(dir.Root() / "Textures");
    dir.Write("Textures/Glow.tga", TgaTopDown(2, 1, {0xFF00FF00u, 0x80FF0000u}));
    wall = dir.Write("wall.tga", TgaTopDown(1, 1, {0xFF123456u}));
    renderer.SetResourcePath(dir.File(""));
  }
  DX8Image* Image(uint32_t flags, const std::string& name) {
    return dynamic_cast<DX8Image*>(renderer.CreateImage(flags, name));
  }
  DX8MaterialShader* Material(uint32_t flags, const std::string& name) {
    return dynamic_cast<DX8MaterialShader*>(renderer.CreateShader(flags, name));
  }
  const ResourceRegistry& Images() { return renderer.Registry(Lumetra::Family::Images); }
  ScratchDir dir;
  std::string wall;
};

TEST_F(ResourceFactoryTest, EqualRequestsShareAndNamesAreLowerCased) {
  const std::string upper = dir.File("") + "Wall.TGA";
  C3DImage* a = renderer.CreateImage(0, wall);
  C3DImage* b = renderer.CreateImage(0, wall);
  C3DImage* c = renderer.CreateImage(0, upper);
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(a, b);
  EXPECT_EQ(c, a);
  EXPECT_EQ(a->GetName(), str::ToLower(upper));
  EXPECT_EQ(a->GetRefCount(), 3);
  C3DImage* d = renderer.CreateImage(RF_DEFAULT, wall);
  EXPECT_NE(d, a);  // other flags, other image
  C3DImage* e = renderer.CreateImage(RF_UNSHARED, wall);
  C3DImage* f = renderer.CreateImage(RF_UNSHARED, wall);
  EXPECT_NE(e, f);
  // RF_FINDONLY never finds anything: stored flags never hold it.
  C3DImage* g = renderer.CreateImage(RF_FINDONLY, wall);
  EXPECT_NE(g, a);
  EXPECT_EQ(g->GetName(), "");
  EXPECT_EQ(renderer.CreateImage(RF_FINDONLY | RF_NOFALLBACK, wall), nullptr);
}

TEST_F(ResourceFactoryTest, BuiltinShaderRows) {
  struct Case {
    const char* name;
    uint32_t flags;
    const char* request;
    const char* shaderName;
    uint32_t storedFlags;
    bool vertex;
    uint16_t layers;
  };
  const Case cases[] = {
      {"default_material", RF_BUILTIN, "default_material", "default_material", 5, false, 0},
      {"default_vertex", RF_BUILTIN, "Default_Vertex", "default_vertex", 6, true, 0},
      {"empty_material", RF_BUILTIN, "empty_material", "empty_material", 5, false, 0},
      {"any name as an empty material", RF_BUILTIN | RF_MATERIAL | RF_EMPTY, "whatever", "whatever", 5, false, 0},
      {"empty_vertex", RF_BUILTIN, "empty_vertex", "empty_vertex", 6, true, 0},
      {"solid shader", RF_BUILTIN, "solid shader", "solid shader", 5, false, 1},
      {"font material", RF_BUILTIN, "future font", "future font", 5, false, 1},
      {"unknown built-in falls back", RF_BUILTIN, "nothing", "empty_material", 5, false, 0},
      {"unknown built-in, default fallback", RF_BUILTIN | RF_DEFAULT | RF_VERTEX, "nothing", "default_vertex", 6, true,
       0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    C3DBaseShader* shader = renderer.CreateShader(c.flags, c.request);
    ASSERT_NE(shader, nullptr);
    EXPECT_EQ(shader->GetName(), c.shaderName);
    EXPECT_EQ(shader->GetFlags(), c.storedFlags);
    EXPECT_EQ(dynamic_cast<DX8VertexShader*>(shader) != nullptr, c.vertex);
    if (auto* m = dynamic_cast<DX8MaterialShader*>(shader)) {
      EXPECT_EQ(m->GetLayerCount(), c.layers);
    }
    EXPECT_GE(shader->GetRegistryIndex(), 0);
  }
  DX8MaterialShader* solid = Material(RF_BUILTIN, "solid shader");
  auto* image = dynamic_cast<DX8Image*>(solid->GetLayerImage(0));
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->GetName(), "8 8");
  EXPECT_EQ(LevelWords(image->GetDeviceTexture(), 0), std::vector<uint32_t>(64, 0xFFFFFFFFu));
  EXPECT_EQ(solid->GetState(kZWriteEnable), 0u);
  EXPECT_EQ(solid->GetState(kCullMode), gfx::D3DCULL_NONE);
  EXPECT_EQ(solid->Layer(0)->request.values[kMipFilter], gfx::D3DTEXF_NONE);
  DX8MaterialShader* font = Material(RF_BUILTIN, "dos font");
  EXPECT_EQ(font->GetState(kAlphaFunc), gfx::D3DCMP_GREATER);
  EXPECT_EQ(font->GetState(kAlphaRef), 128u);
  EXPECT_EQ(font->GetState(kZWriteEnable), 1u);  // only the metric font turns depth off
  EXPECT_EQ(Material(RF_BUILTIN, "metric font")->GetState(kZWriteEnable), 0u);
}

TEST_F(ResourceFactoryTest, ShadersFromScriptsAndImagesAndTheirFallbacks) {
  dir.Write("Shaders/glow.jsm",
            "depthwrite no; alphablend; cull none;\nfloat #fade 1; sin #fade 4 0.5 0 0.5;\n"
            "layer 0; image Textures\\ glow.tga; addressu clamp; suckme3;\n");
  dir.Write("Shaders/tint.jsv", "rgbgen 1 0 0;");
  struct Case {
    const char* name;
    uint32_t flags;
    std::string request;
    const char* resultName;
    bool vertex;
  };
  const std::string root = dir.File("");
  const Case cases[] = {
      {"material script", 0, root + "Shaders/glow.jsm", nullptr, false},
      {"vertex script", 0, root + "Shaders/tint.jsv", nullptr, true},
      {"missing script", 0, root + "Shaders/none.jsm", "empty_material", false},
      {"missing script, default", RF_DEFAULT, root + "Shaders/none.jsm", "default_material", false},
      {"missing vertex script without RF_VERTEX", 0, root + "none.jsv", "empty_material", false},
      {"missing vertex script with RF_VERTEX", RF_VERTEX, root + "none.jsv", "empty_vertex", true},
      {"image-named shader", 0, wall, nullptr, false},
      {"missing image-named shader", 0, root + "grass.tga", "empty_material", false},
      {"missing image-named shader, default", RF_DEFAULT, root + "grass.tga", "default_material", false},
      {"other name", 0, "plain name", "empty_material", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    C3DBaseShader* shader = renderer.CreateShader(c.flags, c.request);
    ASSERT_NE(shader, nullptr);
    EXPECT_EQ(shader->GetName(), c.resultName ? std::string(c.resultName) : str::ToLower(c.request));
    EXPECT_EQ(dynamic_cast<DX8VertexShader*>(shader) != nullptr, c.vertex);
  }
  DX8MaterialShader* glow = Material(0, root + "Shaders/glow.jsm");
  ASSERT_EQ(glow->GetLayerCount(), 1);
  auto* image = dynamic_cast<DX8Image*>(glow->GetLayerImage(0));
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->GetWidth(), 2);  // Textures\Glow.tga found through a lower-cased name
  EXPECT_EQ(image->GetFlags(), uint32_t(RF_DEFAULT));
  EXPECT_EQ(glow->GetFlags(), uint32_t(RF_MATERIAL));
  EXPECT_NE(glow, Material(0, root + "Shaders/glow.jsm"));  // script shaders are not shared
  DX8MaterialShader* grass = Material(0, wall);
  ASSERT_EQ(grass->GetLayerCount(), 1);
  EXPECT_EQ(grass->GetLayerImage(0)->GetName(), wall);
  EXPECT_EQ(grass->GetFlags(), uint32_t(RF_MATERIAL | RF_EMPTY));
}

TEST_F(ResourceFactoryTest, BuiltinAndBlankImages) {
  const uint32_t largest = renderer.ComputeCapability(0);
  struct Case {
    const char* name;
    uint32_t flags;
    std::string request;
    bool textured;
    uint32_t width, height;
  };
  const Case cases[] = {
      {"default_image", RF_BUILTIN, "default_image", true, 8, 8},
      {"solid shader image", RF_BUILTIN, "solid shader", true, 8, 8},
      {"W H", RF_BUILTIN | RF_EMPTY, "16 4", true, 16, 4},
      {"blanks around", RF_BUILTIN | RF_EMPTY, "  3   5 ", true, 3, 5},
      {"leading digits", RF_BUILTIN | RF_EMPTY, "2px 7x", true, 2, 7},
      {"huge sides are cut", RF_BUILTIN | RF_EMPTY, "99999999999 2", true, largest, 2},
      {"zero side: no texture", RF_BUILTIN | RF_EMPTY, "0 8", false, 0, 0},
      {"no digits: no texture", RF_BUILTIN | RF_EMPTY, "-4 4", false, 0, 0},
      {"one number: no texture", RF_BUILTIN | RF_EMPTY, "8", false, 0, 0},
      {"empty image", RF_BUILTIN | RF_EMPTY, "", false, 0, 0},
      {"glyph image", RF_BUILTIN, "dos font", true, 128, 128},
      {"tall glyph image", RF_BUILTIN | RF_DEFAULT, "pelvon font", true, 256, 256},
      {"unknown built-in", RF_BUILTIN, "nothing", false, 0, 0},
      {"unknown extension", 0, "picture.png", false, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    DX8Image* image = Image(c.flags, c.request);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->GetDeviceTexture() != nullptr, c.textured);
    EXPECT_EQ(image->GetWidth(), c.width);
    EXPECT_EQ(image->GetHeight(), c.height);
  }
  EXPECT_EQ(Image(RF_BUILTIN | RF_EMPTY, ""), Image(RF_BUILTIN, "nothing"));
  EXPECT_EQ(renderer.CreateImage(RF_BUILTIN | RF_NOFALLBACK, "nothing"), nullptr);
  const uint8_t bits[2] = {0xFF, 0x81};
  GlyphTable table{4, 9, 1, 2, 2, bits};
  C3DImage* glyphs = renderer.CreateGlyphImage("tiny font", RF_MIPCHAIN, &table);
  ASSERT_NE(glyphs, nullptr);
  EXPECT_EQ(glyphs->GetFlags(), uint32_t(RF_MIPCHAIN | RF_EMPTY));
  EXPECT_EQ(dynamic_cast<DX8Image*>(glyphs)->GetDeviceTexture()->GetLevelCount(), 3u);
  EXPECT_EQ(renderer.CreateGlyphImage("tiny font", RF_NOFALLBACK, nullptr), nullptr);
}

// Fallback chains end in resources that cannot fail, never in a loop.
TEST_F(ResourceFactoryTest, FallbacksEndInTheFamiliesBuiltins) {
  struct Case {
    const char* what;
    C3DResource* got;
    const char* name;
  };
  const Case cases[] = {
      {"missing model", renderer.CreateModel(0, "missing.ssm"), "default_model"},
      {"picture model", renderer.CreateModel(0, "wall.tga"), "default_model"},
      {"default model", renderer.CreateModel(RF_BUILTIN, "default_model"), "default_model"},
      {"missing font", renderer.CreateFont(0, "missing.jfn"), "dos font"},
      {"find-only font", renderer.CreateFont(RF_BUILTIN | RF_FINDONLY, "dos font"), "dos font"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ASSERT_NE(c.got, nullptr);
    EXPECT_EQ(c.got->GetName(), c.name);
    renderer.ReleaseResource(c.got);
  }
}

TEST_F(ResourceFactoryTest, ReleasedResourcesLeaveLookupsAndGoAtTheNextUpdate) {
  C3DImage* image = renderer.CreateImage(0, wall);
  const int32_t index = image->GetRegistryIndex();
  ASSERT_GE(index, 0);
  renderer.ReleaseResource(image);
  EXPECT_EQ(renderer.GetImage(uint32_t(index)), nullptr);
  EXPECT_EQ(Images().PendingCount(), 1u);
  C3DImage* again = renderer.CreateImage(0, wall);
  EXPECT_NE(again->GetRegistryIndex(), index);
  renderer.Update(0.0f);
  EXPECT_EQ(Images().PendingCount(), 0u);
  // A material gives its layer images back when it goes.
  DX8MaterialShader* grass = Material(0, wall);
  C3DImage* layerImage = grass->GetLayerImage(0);
  const uint16_t before = layerImage->GetRefCount();
  renderer.ReleaseResource(static_cast<C3DBaseShader*>(grass));
  EXPECT_EQ(layerImage->GetRefCount(), before);
  renderer.Update(0.0f);
  EXPECT_EQ(layerImage->GetRefCount(), before - 1);
}

TEST_F(ResourceFactoryTest, ReleasingTheDeviceDeletesWhatWasGivenUp) {
  C3DImage* kept = renderer.CreateImage(0, wall);
  C3DImage* given = renderer.CreateImage(RF_BUILTIN | RF_EMPTY, "4 4");
  renderer.ReleaseResource(given);
  EXPECT_EQ(Images().PendingCount(), 1u);
  ASSERT_TRUE(renderer.ReleaseDevice());
  EXPECT_EQ(Images().PendingCount(), 0u);
  EXPECT_EQ(renderer.GetImage(uint32_t(kept->GetRegistryIndex())), kept);
}

TEST_F(ResourceFactoryTest, FamiliesGrowPast64AndCompact) {
  // The metrics overlay's images are registered with the device.
  const int32_t already = int32_t(Images().UsedCount());
  std::vector<C3DImage*> images;
  for (int i = 1; i <= 64 - already; ++i)
    images.push_back(renderer.CreateImage(RF_BUILTIN | RF_EMPTY, "1 " + std::to_string(i)));
  EXPECT_EQ(Images().Capacity(), 64u);
  renderer.ReleaseResource(images[3]);
  C3DImage* filler = renderer.CreateImage(RF_BUILTIN | RF_EMPTY, "2 2");
  EXPECT_EQ(Images().Capacity(), 64u);
  EXPECT_EQ(images[4]->GetRegistryIndex(), already + 3);
  EXPECT_EQ(filler->GetRegistryIndex(), 63);
  renderer.CreateImage(RF_BUILTIN | RF_EMPTY, "3 3");
  EXPECT_EQ(Images().Capacity(), 128u);
}

TEST_F(ResourceFactoryTest, CorruptInputsEndInTheFallback) {
  dir.Write("bad.tga", std::string("\x00\x00\x02garbage", 10));
  dir.Write("truncated.stx", std::string("STX", 3));
  std::filesystem::create_directories(dir.Root() / "folder.tga");
  const std::string root = dir.File("");
  struct Case {
    const char* name;
    std::string script;  // written as a ".jsm" unless empty
    std::string request;
    const char* result;
  };
  const Case cases[] = {
      {"unterminated quote", "layer 0; image \"Textures\\ glow.tga;", "", nullptr},
      {"unterminated comment", "alphablend; /* layer 0;", "", nullptr},
      {"huge and NaN numbers", "float #a 1e999999; sin #a nan 1e40 -1e40 0; alpharef 1e30; layer 99999999999;", "",
       nullptr},
      {"bad image names", "layer 0; image Textures\\ missing.tga; layer 1; image \"\" \"\"; layer 2; image / ;", "",
       nullptr},
      {"bytes that are not text", std::string("\xFF\xFE\x00layer 0;\x01\x02", 12), "", nullptr},
      {"bad tga", "", root + "bad.tga", "empty_material"},
      {"truncated stx", "", root + "truncated.stx", "empty_material"},
      {"a folder named like an image", "", root + "folder.tga", "empty_material"},
      {"a folder named like a script", "", root + "folder.jsm", "empty_material"},
  };
  std::filesystem::create_directories(dir.Root() / "folder.jsm");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::string request = c.request;
    if (!c.script.empty()) request = dir.Write("case.jsm", c.script);
    C3DBaseShader* shader = renderer.CreateShader(0, request);
    ASSERT_NE(shader, nullptr);
    if (c.result) {
      EXPECT_EQ(shader->GetName(), c.result);
    }
    if (auto* m = dynamic_cast<DX8MaterialShader*>(shader)) {
      for (int32_t k = 0; k < m->GetLayerCount(); ++k) {
        // A layer whose image could not be read draws the default image.
        if (C3DImage* image = m->GetLayerImage(k)) {
          EXPECT_TRUE(image->GetName() == "8 8" || image->GetWidth() > 0);
        }
      }
      m->PrepareDraw(nullptr);
    }
  }
}

}  // namespace
