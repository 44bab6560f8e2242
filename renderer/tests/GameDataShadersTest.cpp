// The game's shader scripts and pictures, read from the assembled run tree:
// each compiles to the material it describes over its generated texture.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "RendererTestUtil.h"
#include "renderer/resources/DX8Image.h"
#include "renderer/shaders/DX8MaterialShader.h"
#include "renderer/shaders/DX8VertexShader.h"

namespace {

using namespace rtest;

class GameDataShadersTest : public RecordRenderer {
 protected:
  void SetUp() override {
    RecordRenderer::SetUp();
    renderer.SetResourcePath(GAME_DATA_DIR);
  }
  DX8MaterialShader* Material(const char* name) {
    return dynamic_cast<DX8MaterialShader*>(renderer.CreateShader(0, std::string(GAME_DATA_DIR) + name));
  }
  DX8Image* LayerImage(DX8MaterialShader* m) { return m ? dynamic_cast<DX8Image*>(m->GetLayerImage(0)) : nullptr; }
};

TEST_F(GameDataShadersTest, MaterialsOverTheirTextures) {
  struct Case {
    const char* name;
    const char* file;
    size_t state;
    uint32_t value;
    uint16_t width;
    uint32_t levels;
  };
  const Case cases[] = {
      {"glow blends", "Shaders/glow.jsm", kAlphaBlendEnable, 1, 16, 1},
      {"fence is alpha-tested", "Shaders/fence.jsm", kAlphaTestEnable, 1, 8, 1},
      {"fence keeps pixels over half alpha", "Shaders/fence.jsm", kAlphaFunc, gfx::D3DCMP_GREATER, 8, 1},
      {"beacon adds", "Shaders/beacon.jsm", kDestBlend, gfx::D3DBLEND_ONE, 16, 5},
      {"grass as an image-named shader", "Textures/grass.tga", kZWriteEnable, 1, 32, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    DX8MaterialShader* m = Material(c.file);
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(m->GetState(c.state), c.value);
    DX8Image* image = LayerImage(m);
    ASSERT_NE(image, nullptr);
    ASSERT_NE(image->GetDeviceTexture(), nullptr);
    EXPECT_EQ(image->GetWidth(), c.width);
    EXPECT_EQ(image->GetDeviceTexture()->GetLevelCount(), c.levels);
  }
}

TEST_F(GameDataShadersTest, ShimmerRecoloursAndProjects) {
  auto* shader = dynamic_cast<DX8VertexShader*>(
      renderer.CreateShader(RF_VERTEX, std::string(GAME_DATA_DIR) + "Shaders/shimmer.jsv"));
  ASSERT_NE(shader, nullptr);
  RenderVertex v{8, 1, 2, 0xFF000000u, 0, 0, 0, 0};
  MeshGeometry g;
  g.vertices = &v;
  g.vertexCount = 1;
  shader->RunOn(&g);
  EXPECT_EQ(v.diffuse >> 24, 127u);
  EXPECT_EQ(v.diffuse & 0xFFu, 255u);
  EXPECT_FLOAT_EQ(v.u, 2.0f);
  EXPECT_FLOAT_EQ(v.v, 0.5f);
}

}  // namespace

namespace {

using namespace rtest;

// The names of the ".jsm" scripts in a folder of the run tree.
std::vector<std::string> ScriptsIn(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(std::string(GAME_DATA_DIR) + folder))
    if (entry.path().extension() == ".jsm") names.push_back(folder + "/" + entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

class GameDataBuildingMaterialsTest : public GameDataShadersTest {};

// Every script of the run tree's building, vehicle, button and terminal-object
// folders compiles over its picture; the skins of models also carry the
// tint layer behind it.
TEST_F(GameDataBuildingMaterialsTest, ScriptsCompileOverTheirPictures) {
  struct Folder {
    const char* path;
    uint16_t layers;
  };
  const Folder folders[] = {{"Models/Buildings", 2}, {"Models/Vehicles", 2}, {"Interface/BuildMenu/Thumbnails", 1},
                            {"Interface/TerminalObjects", 0}};
  for (const Folder& folder : folders) {
    const std::vector<std::string> scripts = ScriptsIn(folder.path);
    ASSERT_FALSE(scripts.empty()) << folder.path;
    for (const std::string& script : scripts) {
      SCOPED_TRACE(script);
      DX8MaterialShader* m = Material(script.c_str());
      ASSERT_NE(m, nullptr);
      ASSERT_NE(LayerImage(m), nullptr);
      EXPECT_NE(LayerImage(m)->GetDeviceTexture(), nullptr);
      if (folder.layers == 0) continue;
      EXPECT_EQ(m->GetLayerCount(), folder.layers);
      if (folder.layers == 2) {
        EXPECT_NE(m->GetLayerImage(1), nullptr) << "the tint";
      }
    }
  }
}

TEST_F(GameDataBuildingMaterialsTest, BuildingModelsFindTheMaterialBesideEachSkin) {
  // Named as the tables name them: the skins resolve beside the last "\\".
  for (const char* name : {"Models\\Buildings\\tower.ssm", "Models\\Buildings\\terminal_large.ssm",
                           "Models\\Buildings\\hangar.ssm", "Models\\Vehicles\\bus.ssm"}) {
    SCOPED_TRACE(name);
    C3DModel* model = renderer.CreateModel(0x48, std::string(GAME_DATA_DIR) + name);
    ASSERT_NE(model, nullptr);
    ASSERT_GT(model->GetPartCount(), 0);
    for (uint16_t part = 0; part < model->GetPartCount(); ++part) {
      auto* material = dynamic_cast<DX8MaterialShader*>(model->GetShader(part));
      ASSERT_NE(material, nullptr) << "part " << part;
      EXPECT_EQ(material->GetLayerCount(), 2) << "part " << part;
    }
    renderer.ReleaseResource(model);
  }
  C3DModel* tower = renderer.CreateModel(0x48, std::string(GAME_DATA_DIR) + "Models\\Buildings\\tower.ssm");
  ASSERT_NE(tower, nullptr);
  EXPECT_GE(tower->FindAnimation("default"), 0) << "the radar turns";
  renderer.ReleaseResource(tower);
}

}  // namespace
