// The base camera's pick ray through a screen point, in perspective and
// orthographic views.
#include <gtest/gtest.h>

#include <cmath>

#include "engine/frame/BaseCamera.h"
#include "engine/math/CameraView.h"
#include "engine/entity/EntityManager.h"
#include "engine/frame/tests/FrameTestWorld.h"

namespace {

constexpr float kQuarterTurn = 1.57079633f;  // a 90-degree field of view

class BaseCameraTest : public ::testing::Test {
 protected:
  // A camera at (0, 0, -10) looking at the origin with y up, focal distance 2.
  cEntity_BaseCamera* MakeCamera(bool orthographic) {
    cEntity_Base* entity = nullptr;
    EXPECT_EQ(world.table.entityManager->CreateEntity(&spawn, &entity), status::Ok);
    auto* camera = dynamic_cast<cEntity_BaseCamera*>(entity);
    camera->SetFocalDistance(2.0f);
    camera->SetFieldOfView(kQuarterTurn);
    camera->SetOrthographic(orthographic);
    camera->SetPosition(JVector(0, 0, -10));
    camera->SetTarget(JVector(0, 0, 1));
    camera->SetUp(JVector(0, 1, 0));
    EXPECT_EQ(camera->AttachView(&world.renderer, &viewport), status::Ok);
    return camera;
  }

  frametest::FrameWorld world;
  SpawnBaseCamera spawn;
  platform::RECT viewport{0, 0, 100, 100};
};

void ExpectNear(const JVector& actual, float x, float y, float z) {
  EXPECT_NEAR(actual.x, x, 1e-4f);
  EXPECT_NEAR(actual.y, y, 1e-4f);
  EXPECT_NEAR(actual.z, z, 1e-4f);
}

TEST_F(BaseCameraTest, PerspectiveRaysStartAtTheEyeAndSpreadWithTheFieldOfView) {
  cEntity_BaseCamera* camera = MakeCamera(false);
  JVector start, second;
  ASSERT_EQ(camera->ScreenToRay(50, 50, 100, 100, &start, &second), status::Ok);
  ExpectNear(start, 0, 0, -10);
  ExpectNear(second, 0, 0, -8);  // straight ahead, one focal distance out

  // The top-left corner of a square 90-degree view: 45 degrees off the axis
  // both ways, upwards for the top of the screen.
  ASSERT_EQ(camera->ScreenToRay(0, 0, 100, 100, &start, &second), status::Ok);
  ExpectNear(start, 0, 0, -10);
  EXPECT_NEAR(std::fabs(second.x), 2.0f, 1e-4f);
  EXPECT_NEAR(second.y, 2.0f, 1e-4f);
  EXPECT_NEAR(second.z, -8.0f, 1e-4f);

  // Opposite screen corners give mirrored rays.
  JVector opposite;
  ASSERT_EQ(camera->ScreenToRay(100, 100, 100, 100, &start, &opposite), status::Ok);
  EXPECT_NEAR(opposite.x, -second.x, 1e-4f);
  EXPECT_NEAR(opposite.y, -2.0f, 1e-4f);

  // The field of view spans the longer side: a viewport twice as wide as
  // tall keeps the horizontal spread and halves the vertical one, and one
  // twice as tall keeps the vertical spread.
  ASSERT_EQ(camera->ScreenToRay(0, 0, 200, 100, &start, &second), status::Ok);
  EXPECT_NEAR(std::fabs(second.x), 2.0f, 1e-4f);
  EXPECT_NEAR(second.y, 1.0f, 1e-4f);
  ASSERT_EQ(camera->ScreenToRay(0, 0, 100, 200, &start, &second), status::Ok);
  EXPECT_NEAR(std::fabs(second.x), 1.0f, 1e-4f);
  EXPECT_NEAR(second.y, 2.0f, 1e-4f);
}

TEST_F(BaseCameraTest, OrthographicRaysAreParallelAndStartOnTheScreenPlane) {
  cEntity_BaseCamera* camera = MakeCamera(true);
  JVector start, second;
  ASSERT_EQ(camera->ScreenToRay(50, 50, 100, 100, &start, &second), status::Ok);
  ExpectNear(start, 0, 0, -10);
  ExpectNear(second, 0, 0, -8);
  ASSERT_EQ(camera->ScreenToRay(0, 0, 100, 100, &start, &second), status::Ok);
  EXPECT_NEAR(std::fabs(start.x), 2.0f, 1e-4f);  // zoom 1 x focal distance 2
  EXPECT_NEAR(start.y, 2.0f, 1e-4f);
  EXPECT_NEAR(start.z, -10.0f, 1e-4f);
  ExpectNear(JVector(second.x - start.x, second.y - start.y, second.z - start.z), 0, 0, 2);
}

TEST_F(BaseCameraTest, NoRayWithoutAViewOrWithAnEmptyViewport) {
  cEntity_Base* entity = nullptr;
  ASSERT_EQ(world.table.entityManager->CreateEntity(&spawn, &entity), status::Ok);
  auto* unattached = dynamic_cast<cEntity_BaseCamera*>(entity);
  JVector start, second;
  EXPECT_EQ(unattached->ScreenToRay(1, 1, 100, 100, &start, &second), status::Fail);
  cEntity_BaseCamera* camera = MakeCamera(false);
  EXPECT_EQ(camera->ScreenToRay(1, 1, 0, 100, &start, &second), status::Fail);
  EXPECT_EQ(camera->ScreenToRay(1, 1, 100, 0, &start, &second), status::Fail);
  EXPECT_EQ(camera->ScreenToRay(1, 1, 100, 100, nullptr, &second), status::Fail);
}

}  // namespace
