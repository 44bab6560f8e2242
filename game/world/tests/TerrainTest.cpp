#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "engine/math/Noise.h"
#include "game/world/Terrain.h"
#include "game/world/TerrainManager.h"
#include "game/world/TerrainSurface.h"
#include "game/world/tests/FakeTerrainHost.h"
#include "platform/tests/ScratchDir.h"

namespace {

// A field whose sample (column c, row r) is (c + 1000 r) / 200000: every
// sample distinct, all within 0..1.
std::vector<float> Ramp() {
  std::vector<float> h(128 * 128);
  for (int r = 0; r < 128; ++r)
    for (int c = 0; c < 128; ++c) h[static_cast<size_t>(r * 128 + c)] = (c + 1000.0f * r) / 200000.0f;
  return h;
}

float At(const std::vector<float>& h, int c, int r) { return h[static_cast<size_t>(r * 128 + c)]; }

TEST(TerrainSurface, HeightsBetweenSamples) {
  const std::vector<float> h = Ramp();
  const float S = 320.0f;
  auto L = Noise_CosineInterpolate;
  const float top = L(At(h, 126, 126), At(h, 127, 126), 0.5f), bottom = L(At(h, 126, 127), At(h, 127, 127), 0.5f);
  const float left = L(At(h, 126, 126), At(h, 126, 127), 0.5f), right = L(At(h, 127, 126), At(h, 127, 127), 0.5f);
  struct Case {
    const char* name;
    float x, z, expected;
  } cases[] = {
      {"the far corner is the last sample", 64.0f, 64.0f, At(h, 127, 127) * S},
      {"a sample point", -64.0f, -64.0f, At(h, 0, 0) * S},
      {"62.5 uses all four samples", 62.5f, 62.5f, (L(top, bottom, 0.5f) + L(left, right, 0.5f)) * 0.5f * S},
      {"column 127 interpolates only along z", 63.5f, 0.5f, L(At(h, 127, 64), At(h, 127, 65), 0.5f) * S},
      {"row 127 interpolates only along x", 0.5f, 63.5f, L(At(h, 64, 127), At(h, 65, 127), 0.5f) * S},
      {"far outside takes the nearest corner", 500.0f, -500.0f, At(h, 127, 0) * S},
      {"NaN takes the first sample", NAN, NAN, At(h, 0, 0) * S},
  };
  for (const Case& c : cases) EXPECT_NEAR(TerrainHeightAt(h.data(), c.x, c.z), c.expected, 1e-3f) << c.name;
  EXPECT_EQ(TerrainHeightAt(nullptr, 0.0f, 0.0f), 0.0f);
}

TerrainImage Solid(uint32_t w, uint32_t h, uint32_t colour) {
  TerrainImage image;
  image.width = w;
  image.height = h;
  image.pixels.assign(size_t{w} * h, colour);
  return image;
}

TEST(TerrainSurface, CompositionBlendsByHeight) {
  std::vector<float> flat(128 * 128, 0.0f);
  std::vector<uint32_t> out;
  EXPECT_FALSE(ComposeTerrainTexture(flat.data(), {}, 64, &out));  // no textures: no terrain
  EXPECT_FALSE(ComposeTerrainTexture(flat.data(), {TerrainImage{}}, 64, &out));

  const std::vector<TerrainImage> three = {Solid(4, 4, 0xFF000000u), Solid(3, 5, 0xFF0000FFu),
                                           Solid(7, 2, 0xFFFF0000u)};
  struct Case {
    const char* name;
    float height;
    uint32_t expected;
  } cases[] = {
      {"the lowest height is the first texture", 0.0f, 0xFF000000u},
      {"half way is the middle texture", 0.5f, 0xFF0000FFu},
      {"the top is the last texture", 1.0f, 0xFFFF0000u},
      {"above 1 is clamped to the top", 7.0f, 0xFFFF0000u},
      {"a quarter blends the first two", 0.25f, 0xFF00007Fu},
  };
  for (const Case& c : cases) {
    std::fill(flat.begin(), flat.end(), c.height);
    ASSERT_TRUE(ComposeTerrainTexture(flat.data(), three, 64, &out)) << c.name;
    EXPECT_EQ(out[0], c.expected) << c.name;
    EXPECT_EQ(out[64 * 64 - 1], c.expected) << c.name;
  }
  // Each texture is sampled at its own size.
  TerrainImage stripes = Solid(3, 1, 0xFF000000u);
  stripes.pixels[1] = 0xFF112233u;
  std::fill(flat.begin(), flat.end(), 0.0f);
  ASSERT_TRUE(ComposeTerrainTexture(flat.data(), {stripes}, 8, &out));
  EXPECT_EQ(out[1], 0xFF112233u);
  EXPECT_EQ(out[4], 0xFF112233u);
  EXPECT_EQ(out[8 + 7], 0xFF112233u);
}

TEST(TerrainSurface, PalettedImagesAreExpanded) {
  ScratchDir dir;
  // An 8-bit BMP, 2 x 1, top row first: palette blue then red.
  std::vector<uint8_t> bmp = {'B', 'M', 66, 0, 0, 0, 0, 0, 0, 0, 62, 0, 0, 0,
                              40, 0, 0, 0, 2, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 1, 0, 8, 0,
                              0, 0, 0, 0, 4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 0, 0, 0, 0, 0, 0, 0,
                              0xFF, 0, 0, 0, 0, 0, 0xFF, 0, 1, 0, 0, 0};
  dir.Write("p.bmp", bmp);
  TerrainImage image;
  std::string why;
  ASSERT_TRUE(LoadTerrainImage(dir.File("p.bmp"), &image, &why)) << why;
  ASSERT_EQ(image.pixels.size(), 2u);
  EXPECT_EQ(image.pixels[0], 0xFFFF0000u);
  EXPECT_EQ(image.pixels[1], 0xFF0000FFu);
  EXPECT_FALSE(LoadTerrainImage(dir.File("missing.tga"), &image, &why));
}

TEST(Terrain, SnowFollowsTheClock) {
  FakeTerrainHost host;
  cEntity_Terrain terrain(nullptr, &host);
  struct Case {
    const char* name;
    int32_t state;
    float amount, rate, seconds;
    int32_t endState;
    float endAmount;
  } cases[] = {
      {"an hour of snow covers", 1, 0.0f, 1.0f / 3600.0f, 3600.0f, 2, 1.0f},
      {"half an hour half covers", 1, 0.0f, 1.0f / 3600.0f, 1800.0f, 1, 0.505f},
      {"complete stays", 2, 1.0f, 1.0f / 3600.0f, 7200.0f, 2, 1.0f},
      {"three hours melt it", 3, 1.0f, -1.0f / 10800.0f, 10800.0f, 0, 0.0f},
      {"no snow stays none", 0, 0.0f, 1.0f, 100.0f, 0, 0.0f},
  };
  for (const Case& c : cases) {
    terrain.snowState = c.state;
    terrain.snowAmount = c.amount;
    terrain.snowRate = c.rate;
    // One tick past the span, so float rounding cannot leave it a hair short.
    for (int i = 0; i < 101; ++i) terrain.OnTime(0, 0, kTimeEvent_Tick, c.seconds / 100.0f);
    EXPECT_EQ(terrain.snowState, c.endState) << c.name;
    EXPECT_NEAR(terrain.snowAmount, c.endAmount, 0.011f) << c.name;
  }
}

class TerrainManagerTest : public ::testing::Test {
 protected:
  TerrainManagerTest() : heights(Ramp()), manager(nullptr, &host) {
    host.resources = dir.Root().string() + "/";
    host.heightSource = [this] { return heights.data(); };
    // Two 2 x 2 uncompressed 32-bit TGAs.
    const uint8_t tga[] = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 0, 2, 0, 32, 0x28,
                           1, 2, 3, 255, 4, 5, 6, 255, 7, 8, 9, 255, 10, 11, 12, 255};
    dir.Write("Textures/low.tga", std::vector<uint8_t>(tga, tga + sizeof tga));
    dir.Write("Textures/high.tga", std::vector<uint8_t>(tga, tga + sizeof tga));
    manager.SetTextureNames({"Textures\\low.tga", "Textures\\high.tga"});
  }
  ScratchDir dir;
  FakeTerrainHost host;
  std::vector<float> heights;
  cEntity_TerrainManager manager;
};

TEST_F(TerrainManagerTest, InitBuildDrawAndClear) {
  host.options["graphics|TextureSize"] = "256 256";
  host.plotTexture = "plot.jsm";
  ASSERT_EQ(manager.InitTerrain(), 0);
  EXPECT_EQ(manager.GetTextureSize(), 256);
  ASSERT_NE(manager.GetTerrain(), nullptr);
  ASSERT_NE(manager.SkyBox(), nullptr);
  ASSERT_EQ(manager.BuildWorld(), 0);
  cEntity_Terrain* terrain = manager.GetTerrain();
  EXPECT_TRUE(terrain->IsVisible());
  ASSERT_EQ(host.renderer.images.size(), 1u);
  EXPECT_EQ(host.renderer.images[0]->width, 256);
  // The model holds the whole mesh grid, every index within its vertices.
  auto* model = dynamic_cast<worldfake::EditableModel*>(terrain->Model());
  ASSERT_NE(model, nullptr);
  EXPECT_EQ(model->vertices.size(), terrain->GetTotalVertexCount());
  EXPECT_EQ(model->indices.size(), terrain->GetTotalIndexCount());
  for (uint16_t i : model->indices) ASSERT_LT(i, model->vertices.size());
  // A polymesh draws only indices dealt to a part: each carries its part.
  auto* sky = dynamic_cast<worldfake::EditableModel*>(manager.SkyBox());
  ASSERT_NE(sky, nullptr);
  for (const auto* m : {model, sky}) {
    ASSERT_EQ(m->partCount, 1);
    ASSERT_EQ(m->indexParts.size(), m->indices.size());
    for (uint16_t part : m->indexParts) ASSERT_LT(part, m->partCount);
  }
  // The mesh stands on the height field.
  for (const RenderVertex& v : model->vertices)
    ASSERT_NEAR(v.y, TerrainHeightAt(heights.data(), v.x / 10.0f, v.z / 10.0f), 1e-3f);
  EXPECT_EQ(host.cameraTargets.back().y, manager.GetHeightAt(0, 0));
  EXPECT_EQ(manager.HighCorner().y, At(heights, 127, 127) * 320.0f);
  EXPECT_TRUE(host.clock.IsRegistered(terrain));

  host.renderer.draws.clear();
  manager.Render(nullptr, &host.renderer);
  ASSERT_EQ(host.renderer.draws.size(), 2u);  // sky, terrain; no snow yet
  EXPECT_EQ(host.renderer.draws[0].resource, manager.SkyBox());
  terrain->snowState = 1;
  terrain->snowAmount = 0.25f;
  host.renderer.draws.clear();
  manager.Render(nullptr, &host.renderer);
  ASSERT_EQ(host.renderer.draws.size(), 3u);

  manager.ClearWorld();
  host.renderer.draws.clear();
  manager.Render(nullptr, &host.renderer);
  EXPECT_TRUE(host.renderer.draws.empty());
  EXPECT_FALSE(terrain->IsVisible());
  manager.Exit();
  EXPECT_EQ(host.renderer.Held(), 0);
}

TEST_F(TerrainManagerTest, BuildFailures) {
  struct Case {
    const char* name;
    std::vector<std::string> textures;
    std::string refused;
  } cases[] = {
      {"no texture names", {}, ""},
      {"a texture that cannot be read", {"Textures\\low.tga", "Textures\\none.tga"}, ""},
      {"no terrain material", {"Textures\\low.tga"}, host.resources + "terrain.jsm"},
  };
  ASSERT_EQ(manager.InitTerrain(), 0);
  for (const Case& c : cases) {
    manager.SetTextureNames(c.textures);
    host.renderer.refused = {c.refused};
    EXPECT_LT(manager.BuildWorld(), 0) << c.name;
    EXPECT_FALSE(manager.IsWorldBuilt()) << c.name;
    EXPECT_FALSE(manager.GetTerrain()->IsVisible()) << c.name;
  }
  host.renderer.refused.clear();
  manager.Exit();
  EXPECT_EQ(host.renderer.Held(), 0);
}

TEST_F(TerrainManagerTest, OptionsAndSkyBox) {
  struct Case {
    const char* value;
    int32_t size;
  } cases[] = {{"1024 1024", 1024}, {"1024", 512}, {"-5 5", 512}, {"abc def", 512}};
  for (const Case& c : cases) {
    FakeTerrainHost h;
    h.options["graphics|TextureSize"] = c.value;
    cEntity_TerrainManager m(nullptr, &h);
    ASSERT_EQ(m.InitTerrain(), 0);
    EXPECT_EQ(m.GetTextureSize(), c.size) << c.value;
  }
  FakeTerrainHost h;
  h.renderer.refused = {"polymesh_skybox"};
  cEntity_TerrainManager m(nullptr, &h);
  EXPECT_LT(m.InitTerrain(), 0);
  host.options["App|SnowAccumulation"] = "FALSE";
  ASSERT_EQ(manager.InitTerrain(), 0);
  ASSERT_EQ(manager.BuildWorld(), 0);
  EXPECT_EQ(manager.GetTerrain()->SnowMesh(), nullptr);
}

TEST_F(TerrainManagerTest, StaticsStayOutOfTheMiddle) {
  ASSERT_EQ(manager.InitTerrain(), 0);
  fake3d::FakeModel* tree = host.renderer.NewModel("tree.ssm");
  manager.AddStaticData(tree, {"tree"});
  JVector inBand(200.0f, 0.0f, 0.0f);
  EXPECT_FALSE(manager.AddStatic(&inBand, 0, 0));
  JVector outside(200.0f, 0.0f, 200.0f);
  ASSERT_TRUE(manager.AddStatic(&outside, 1, 0));
  EXPECT_FLOAT_EQ(outside.y, manager.GetHeightAt(20.0f, 20.0f));
  JVector unknown(300.0f, 0.0f, 300.0f);
  EXPECT_FALSE(manager.AddStatic(&unknown, 0, 5));
  ASSERT_EQ(manager.GetStatics().size(), 1u);
  EXPECT_FLOAT_EQ(manager.GetStatics()[0].world.m[3][0], 200.0f);
  manager.Exit();
}

}  // namespace
