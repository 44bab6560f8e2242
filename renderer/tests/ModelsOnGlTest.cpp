// Models from the assembled game data drawn through the renderer plug-in on
// the gl backend, read back pixel by pixel.
#include <gtest/gtest.h>

#include "engine/services/C3DModel.h"
#include "renderer/tests/GlResourceTestUtil.h"

namespace {

using gltest::ChannelDiff;

class ModelsOnGl : public gltest::PluginOnGl {
 protected:
  void Draw(C3DModel* model, const JMatrix& world) {
    FrameWith([&](C3DPass* p) { renderer->DrawModel(p, model, &world); });
  }
  void ExpectPixel(int x, int y, uint32_t colour) {
    EXPECT_LE(ChannelDiff(Pixel(x, y), colour), 3) << "at " << x << "," << y << ": " << std::hex << Pixel(x, y);
  }

  // Model depth squeezed into 0.4 .. 0.6.
  static constexpr float kDepth = 0.1f;
  static constexpr uint32_t kBrick = 0xC04020, kSand = 0xE0C080, kBlue = 0x2040C0, kWhite = 0xF0F0F0;
  static constexpr uint32_t kSteel = 0x808890, kLamp = 0xFFD020, kBlack = 0x000000;
};

TEST_F(ModelsOnGl, TexturedTowerThroughItsScriptAndItsPicture) {
  C3DModel* tower = renderer->CreateModel(RF_NOFALLBACK, std::string(GAME_DATA_DIR) + "Models\\tower.ssm");
  ASSERT_NE(tower, nullptr);
  ASSERT_EQ(tower->GetPartCount(), 2);
  // The walls' script names the picture; the cap is a material over its
  // picture alone.
  ASSERT_NE(tower->GetShader(0), nullptr);
  EXPECT_NE(tower->GetShader(0)->GetName().find("tower_wall.jsm"), std::string::npos);
  ASSERT_NE(tower->GetShader(1), nullptr);
  EXPECT_NE(tower->GetShader(1)->GetName().find("tower_cap.tga"), std::string::npos);

  // Walls span x 16..48 and y 24..40 on screen; the texture repeats once
  // per model unit, brick for its left half and sand for its right.
  Draw(tower, Place(16, 32, 40, kDepth));
  for (int x : {18, 22, 34, 38}) ExpectPixel(x, 32, kBrick);
  for (int x : {26, 30, 42, 46}) ExpectPixel(x, 32, kSand);
  ExpectPixel(8, 32, kBlack);
  // The cap over the walls shows its own two colours.
  bool blue = false, white = false;
  for (int x = 14; x < 50; ++x) {
    blue = blue || ChannelDiff(Pixel(x, 20), kBlue) <= 3;
    white = white || ChannelDiff(Pixel(x, 20), kWhite) <= 3;
  }
  EXPECT_TRUE(blue);
  EXPECT_TRUE(white);
  renderer->ReleaseResource(tower);
}

TEST_F(ModelsOnGl, AnimatedMastFollowsItsKeyFrames) {
  C3DModel* mast = renderer->CreateModel(RF_NOFALLBACK, std::string(GAME_DATA_DIR) + "Models\\signal_mast.ssm");
  ASSERT_NE(mast, nullptr);
  ASSERT_EQ(mast->GetAnchorCount(), 1);
  EXPECT_EQ(mast->GetAnchorName(0), "top");
  const int32_t anim = mast->FindAnimation("default");
  ASSERT_EQ(anim, 0);
  mast->PlayAnimation(anim, 1.0f, 1.0f, true, false);
  const JMatrix world = Place(8, 32, 60, kDepth);
  // The lamp spans y 32..36 at the low key, 28..32 half way, 24..28 high.
  struct Step {
    float advance;
    int litY, darkY;
  };
  for (const Step& s : {Step{0.0f, 34, 26}, Step{0.5f, 30, 34}, Step{0.5f, 26, 34}, Step{1.0f, 34, 26}}) {
    SCOPED_TRACE(testing::Message() << "lamp lit at " << s.litY);
    mast->AdvanceAnimation(anim, s.advance);
    Draw(mast, world);
    ExpectPixel(29, s.litY, kLamp);
    ExpectPixel(29, s.darkY, kBlack);
    ExpectPixel(32, 45, kSteel);
  }
  renderer->ReleaseResource(mast);
}

TEST_F(ModelsOnGl, PlaneAfterTextureRectAndWidth) {
  C3DModel* plane = renderer->CreateModel(RF_BUILTIN | RF_UNSHARED, "polymesh_planeUL");
  ASSERT_NE(plane, nullptr);
  C3DBaseShader* wall = renderer->CreateShader(0, std::string(GAME_DATA_DIR) + "Models\\tower_wall.tga");
  plane->SetShader(0, wall);
  renderer->ReleaseResource(wall);
  // An upper-left plane hangs below and right of its origin (10, 10).
  JMatrix world = Place(10, 10, 10, kDepth);
  Draw(plane, world);
  ExpectPixel(12, 15, kBrick);
  ExpectPixel(18, 15, kSand);
  ExpectPixel(25, 15, kBlack);
  // The picture's right half stretched over twice the width (filtered, so
  // probes keep clear of the half's edges).
  plane->SetTextureRect(0, 0.5f, 1.0f, 0.0f, 1.0f);
  plane->SetWidth(2.0f);
  Draw(plane, world);
  for (int x : {15, 20, 25}) ExpectPixel(x, 15, kSand);
  ExpectPixel(35, 15, kBlack);
  renderer->ReleaseResource(plane);
}

}  // namespace
