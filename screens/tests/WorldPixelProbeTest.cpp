// The game world drawn by the real program on the gl renderer (SDL's
// offscreen driver): a new game started through the menus on a shipped
// location, the frames kept as screenshots beside the test's build, and
// pixels read back where the terrain, the sky and the day's light show.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/services/Core3D.h"
#include "game/GameCamera.h"
#include "game/KV9GameManager.h"
#include "game/world/TerrainManager.h"
#include "game/world/TerrainSurface.h"
#include "platform/tests/ScreenshotBmp.h"
#include "screens/tests/ProgramRig.h"

namespace frontend {
namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 600;

struct Colour {
  float r = 0, g = 0, b = 0;
  float Sum() const { return r + g + b; }
};

Colour Unpack(uint32_t p) { return {float((p >> 16) & 255), float((p >> 8) & 255), float(p & 255)}; }

// How far apart two colours' hues are: the distance of their channel
// shares, so that a texture darkened by the light still matches.
float ShareDistance(Colour a, Colour b) {
  const float sa = std::max(a.Sum(), 1.0f), sb = std::max(b.Sum(), 1.0f);
  return std::max({std::fabs(a.r / sa - b.r / sb), std::fabs(a.g / sa - b.g / sb), std::fabs(a.b / sa - b.b / sb)});
}

class Shot {
 public:
  bool Load(const std::string& path) { return platform::testing::ReadScreenshotBmp(path, kWidth, kHeight, &pixels_); }
  // The mean colour of the square of side 2 r + 1 around (x, y).
  Colour Mean(int x, int y, int r) const {
    Colour c;
    int n = 0;
    for (int j = std::max(0, y - r); j <= std::min(kHeight - 1, y + r); ++j)
      for (int i = std::max(0, x - r); i <= std::min(kWidth - 1, x + r); ++i, ++n) {
        const Colour p = Unpack(pixels_[size_t(j) * kWidth + size_t(i)]);
        c.r += p.r, c.g += p.g, c.b += p.b;
      }
    return n ? Colour{c.r / float(n), c.g / float(n), c.b / float(n)} : c;
  }

 private:
  std::vector<uint32_t> pixels_;
};

Colour MeanOfImage(const std::string& path) {
  TerrainImage image;
  std::string why;
  EXPECT_TRUE(LoadTerrainImage(path, &image, &why)) << path << ": " << why;
  Colour c;
  for (uint32_t p : image.pixels) {
    const Colour q = Unpack(p);
    c.r += q.r, c.g += q.g, c.b += q.b;
  }
  const float n = float(std::max<size_t>(image.pixels.size(), 1));
  return {c.r / n, c.g / n, c.b / n};
}

class WorldPixelProbe : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(SCREENSHOT_DIR);
    ASSERT_TRUE(program.StartAtMainMenu()) << program.Failure();
    // NEW GAME, a warm continent's first location, START.
    ASSERT_TRUE(program.Click("btnPMNew"));
    ASSERT_TRUE(program.Click("btnAfrica"));
    ASSERT_TRUE(program.ClickAt("lbCLMLocations", 0.5f, 0.4f));
    ASSERT_TRUE(program.Click("btnCLMStart", 1));
    for (int i = 0; i < 3000 && !WorldBuilt(); ++i) ASSERT_TRUE(program.RunFrames(1));
    ASSERT_TRUE(WorldBuilt()) << "no world after START";
    ASSERT_TRUE(program.RunFrames(5));
  }

  cEntity_TerrainManager* Terrain() const {
    cKV9_GlobalWrapper* t = program.GameTable();
    cKV9_GameManager* manager = t ? t->gameManager : nullptr;
    return manager ? dynamic_cast<cEntity_TerrainManager*>(manager->GetTerrainManagerEntity()) : nullptr;
  }
  bool WorldBuilt() const { return Terrain() && Terrain()->IsWorldBuilt(); }

  Shot Screenshot(const std::string& name) {
    const std::string path = std::string(SCREENSHOT_DIR) + "/" + name + ".bmp";
    EXPECT_TRUE(program.SaveScreenshot(path)) << path;
    Shot shot;
    EXPECT_TRUE(shot.Load(path)) << path;
    return shot;
  }

  ProgramRig program;
};

// The land screen's overview: below the screen's middle (the cursor stands
// on it) the ground shows one of the location's terrain pictures, neither
// black nor any other colour. From the game view raised above the hills and
// tilted up as far as it goes, the sky's picture shows above the horizon.
TEST_F(WorldPixelProbe, ANewGameShowsTheTerrainThenTheSkyAboveTheHorizon) {
  const Shot overview = Screenshot("world-new-game");
  const std::string data = RunTreeDir() + "/data/";
  const Colour ground = overview.Mean(kWidth / 2, kHeight * 2 / 3, 6);
  EXPECT_GT(ground.Sum(), 90.0f) << "the ground is dark";
  float nearest = 1.0f;
  for (const std::string& name : Terrain()->GetTextureNames())
    nearest = std::min(nearest, ShareDistance(ground, MeanOfImage(data + name)));
  EXPECT_LT(nearest, 0.06f) << "ground " << ground.r << " " << ground.g << " " << ground.b;

  cEntity_GameCamera* camera = program.GameTable()->gameManager->GetGameCamera();
  ASSERT_NE(camera, nullptr);
  camera->LeaveFixedView(true, true);
  // Looking out across the land from above the hills around the plot, as
  // low as the game view lets a player tilt it.
  camera->SetTarget(JVector(0.0f, 600.0f, 0.0f));
  camera->SetOrbitAngles(15.0f, camera->GetHeading());
  camera->UpdateView();
  const Shot view = Screenshot("world-game-view");
  const Colour skyPicture = MeanOfImage(data + "Textures/Sky/sky.tga");
  const Colour sky = view.Mean(kWidth / 2, 12, 6);
  EXPECT_GT(sky.Sum(), 150.0f) << "the sky is dark";
  EXPECT_LT(ShareDistance(sky, skyPicture), 0.06f) << "sky " << sky.r << " " << sky.g << " " << sky.b;
  const Colour below = view.Mean(kWidth / 2, kHeight - 12, 6);
  EXPECT_GT(ShareDistance(below, skyPicture), 0.06f) << "the sky reaches the bottom of the screen";
}

}  // namespace
}  // namespace frontend
