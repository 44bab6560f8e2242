#include <gtest/gtest.h>

#include <cstring>

#include "engine/math/CameraView.h"
#include "engine/math/JVector.h"

namespace {

constexpr float kHalfPi = 1.57079632679f;

// Field by field: the record has padding after the perspective flag.
bool SameView(const CameraView& a, const CameraView& b) {
  auto same = [](const auto& x, const auto& y) { return std::memcmp(&x, &y, sizeof(x)) == 0; };
  return same(a.focalDistance, b.focalDistance) && same(a.fieldOfView, b.fieldOfView) &&
         same(a.nearPlane, b.nearPlane) && same(a.farPlane, b.farPlane) && same(a.eye, b.eye) &&
         same(a.cameraMatrix, b.cameraMatrix) && same(a.viewportWidth, b.viewportWidth) &&
         same(a.viewportHeight, b.viewportHeight) && same(a.zoom, b.zoom) && a.perspective == b.perspective &&
         same(a.projection, b.projection) && same(a.extraMatrix, b.extraMatrix) && same(a.view, b.view);
}

void ExpectOnly(const JMatrix& m, std::initializer_list<std::pair<int, float>> cells) {
  float expected[16] = {};
  for (const auto& [index, value] : cells) expected[index] = value;
  for (int i = 0; i < 16; ++i) EXPECT_NEAR(m.Data()[i], expected[i], 1e-5f) << "element " << i / 4 << "," << i % 4;
}

TEST(CameraView, PerspectiveProjectionSpansTheLongerSide) {
  CameraView v;
  v.fieldOfView = kHalfPi;
  v.viewportWidth = 800;
  v.viewportHeight = 600;
  v.zoom = 1;
  v.nearPlane = 1;
  v.farPlane = 1000;
  v.perspective = true;
  v.projection.m[3][3] = 42;  // cleared by the rebuild
  v.BuildProjection();
  ExpectOnly(v.projection, {{0, -1.0f}, {5, 4.0f / 3.0f}, {10, 1000.0f / 999.0f}, {11, 1.0f}, {14, -1000.0f / 999.0f}});

  // Taller than wide: the field of view spans the height.
  v.viewportWidth = 600;
  v.viewportHeight = 800;
  v.zoom = 2;
  v.BuildProjection();
  ExpectOnly(v.projection, {{0, -4.0f / 6.0f}, {5, 0.5f}, {10, 1000.0f / 999.0f}, {11, 1.0f}, {14, -1000.0f / 999.0f}});
}

TEST(CameraView, OrthographicProjectionScalesByZoomAndFocalDistance) {
  CameraView v;
  v.fieldOfView = kHalfPi;
  v.viewportWidth = 800;
  v.viewportHeight = 600;
  v.zoom = 2;
  v.focalDistance = 10;
  v.nearPlane = 1;
  v.farPlane = 1000;
  v.perspective = false;
  v.BuildProjection();
  ExpectOnly(v.projection, {{0, -1.0f / 20.0f}, {5, (4.0f / 3.0f) / 20.0f}, {10, 1.0f / 999.0f}, {15, 1.0f}});
}

TEST(CameraView, DegenerateLensOrViewportKeepsThePreviousProjection) {
  CameraView good;
  good.BuildProjection();
  struct Case { const char* what; void (*spoil)(CameraView&); };
  const Case cases[] = {
      {"empty viewport", [](CameraView& v) { v.viewportWidth = 0; }},
      {"negative height", [](CameraView& v) { v.viewportHeight = -5; }},
      {"zero field of view", [](CameraView& v) { v.fieldOfView = 0; }},
      {"near equals far", [](CameraView& v) { v.nearPlane = v.farPlane; }},
      {"zero zoom", [](CameraView& v) { v.zoom = 0; }},
      {"orthographic without focal distance", [](CameraView& v) { v.perspective = false; v.focalDistance = 0; }},
  };
  for (const Case& c : cases) {
    CameraView v = good;
    c.spoil(v);
    v.BuildProjection();
    EXPECT_EQ(std::memcmp(&v.projection, &good.projection, sizeof(JMatrix)), 0) << c.what;
  }
}

TEST(CameraView, LookAtBuildsAxesAndViewMatrix) {
  CameraView v;
  const float eye[3] = {0, 0, -10}, target[3] = {0, 0, 0}, up[3] = {0, 1, 0};
  v.LookAt(eye, target, up);
  ExpectOnly(v.cameraMatrix, {{0, 1}, {5, 1}, {10, 1}, {15, 1}});
  ExpectOnly(v.view, {{0, 1}, {5, 1}, {10, 1}, {14, 10}, {15, 1}});
  EXPECT_EQ(v.eye[2], -10);

  // From +X towards the origin: forward -X, right +Z, up +Y.
  const float eye2[3] = {10, 0, 0};
  v.LookAt(eye2, target, up);
  ExpectOnly(v.cameraMatrix, {{2, -1}, {5, 1}, {8, 1}, {15, 1}});
  JVector p(0, 0, 0);
  p.Transform(v.view);
  EXPECT_NEAR(p.x, 0, 1e-5);
  EXPECT_NEAR(p.y, 0, 1e-5);
  EXPECT_NEAR(p.z, 10, 1e-5);
  JVector right(0, 0, 1);
  right.Transform(v.view);
  EXPECT_NEAR(right.x, 1, 1e-5);
}

TEST(CameraView, LookAtWithoutADirectionChangesNothing) {
  CameraView v;
  v.BuildProjection();
  const float eye[3] = {1, 2, 3}, target[3] = {4, 2, 3}, up[3] = {0, 1, 0};
  v.LookAt(eye, target, up);
  const CameraView before = v;
  const float same[3] = {1, 2, 3};
  v.LookAt(same, same, up);  // eye equals target
  EXPECT_TRUE(SameView(v, before));
  const float along[3] = {1, 0, 0};
  v.LookAt(eye, target, along);  // up parallel to the line of sight
  EXPECT_TRUE(SameView(v, before));
}

TEST(CameraView, BuildViewMatrixUsesTheStoredEyeAndAxes) {
  CameraView v;
  v.eye[0] = 1;
  v.eye[1] = 2;
  v.eye[2] = 3;
  v.cameraMatrix = JMath_RotationZ(kHalfPi);  // columns: r = (0,-1,0), u = (1,0,0), f = (0,0,1)
  v.cameraMatrix.m[0][3] = 5;                 // dropped from the view
  EXPECT_EQ(v.BuildViewMatrix(), 0);
  ExpectOnly(v.view, {{1, 1}, {4, -1}, {10, 1}, {12, 2}, {13, -1}, {14, -3}, {15, 1}});
}

}  // namespace
