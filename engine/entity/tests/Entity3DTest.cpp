#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <numbers>

#include "engine/entity/Entity3D.h"
#include "engine/math/JVector.h"

namespace {

constexpr float kPi = std::numbers::pi_v<float>;

// Counts recompositions, so each setter's work can be checked.
class CountingEntity : public cEntity_Base3D {
 public:
  CountingEntity() : cEntity_Base3D(nullptr) {}
  void RebuildWorldMatrix() override {
    ++rebuilds;
    cEntity_Base3D::RebuildWorldMatrix();
  }
  JMatrix World() {
    JMatrix m;
    GetWorldMatrix(m.Data());
    return m;
  }
  int rebuilds = 0;
};

JVector Apply(const JMatrix& m, float x, float y, float z) {
  JVector v(x, y, z, 0.0f);
  v.Transform(m);
  return v;
}

void ExpectPoint(const JVector& v, float x, float y, float z) {
  EXPECT_NEAR(v.x, x, 1e-5f);
  EXPECT_NEAR(v.y, y, 1e-5f);
  EXPECT_NEAR(v.z, z, 1e-5f);
}

JMatrix FromArray(const float* a) {
  JMatrix m;
  std::memcpy(m.Data(), a, sizeof(m));
  return m;
}

void ExpectSameMatrix(const JMatrix& a, const JMatrix& b) {
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c) EXPECT_NEAR(a.m[r][c], b.m[r][c], 1e-5f) << r << "," << c;
}

TEST(Entity3D, WorldIsScaleThenRotationThenTranslation) {
  CountingEntity e;
  EXPECT_EQ(e.GetType(), 2u);
  ExpectSameMatrix(e.World(), JMatrix::Identity());
  e.SetPosition(1, 2, 3);
  e.SetRotation(0, kPi / 2, 0);
  e.SetScale(2, 2, 2);
  ExpectPoint(Apply(e.World(), 1, 0, 0), 1, 2, 1);
  const JVector p = e.GetPosition();
  EXPECT_EQ(p.x, 1.0f);
  EXPECT_EQ(p.y, 2.0f);
  EXPECT_EQ(p.z, 3.0f);
  EXPECT_EQ(p.w, 0.0f);
}

TEST(Entity3D, EachSetterRecomposesOnceExceptTheDocumentedOnes) {
  CountingEntity e;
  const float v[3] = {4, 5, 6};
  float out[16];
  float x, y, z;
  struct Case {
    const char* what;
    void (*run)(CountingEntity&, const float*);
    int rebuilds;
  };
  const Case cases[] = {
      {"SetPositionVector", [](CountingEntity& c, const float* a) { c.SetPositionVector(a); }, 2},
      {"SetPositionY", [](CountingEntity& c, const float*) { c.SetPositionY(1); }, 1},
      {"TranslateVector", [](CountingEntity& c, const float* a) { c.TranslateVector(a); }, 1},
      {"RotateTranslationVector", [](CountingEntity& c, const float* a) { c.RotateTranslationVector(a); }, 1},
      {"ResetTranslation", [](CountingEntity& c, const float*) { c.ResetTranslation(); }, 0},
      {"SetRotationMatrix", [](CountingEntity& c, const float*) {
         const JMatrix m = JMatrix::Identity();
         c.SetRotationMatrix(m.Data());
       }, 0},
      {"SetRotationVector", [](CountingEntity& c, const float* a) { c.SetRotationVector(a); }, 1},
      {"SetRotationZ", [](CountingEntity& c, const float*) { c.SetRotationZ(1); }, 1},
      {"AddRotationVector", [](CountingEntity& c, const float* a) { c.AddRotationVector(a); }, 1},
      {"SetScaleVector", [](CountingEntity& c, const float* a) { c.SetScaleVector(a); }, 1},
      {"SetScaleX", [](CountingEntity& c, const float*) { c.SetScaleX(3); }, 1},
      {"MultiplyScaleVector", [](CountingEntity& c, const float* a) { c.MultiplyScaleVector(a); }, 1},
      {"MultiplyScaleUniform", [](CountingEntity& c, const float*) { c.MultiplyScaleUniform(0.5f); }, 1},
  };
  for (const Case& c : cases) {
    e.rebuilds = 0;
    c.run(e, v);
    EXPECT_EQ(e.rebuilds, c.rebuilds) << c.what;
  }
  // Getters never recompose.
  e.rebuilds = 0;
  e.GetPositionVector(out);
  e.GetRotationXYZ(x, y, z);
  e.GetScaleVector(out);
  e.GetRotationMatrix(out);
  e.GetScaleMatrix(out);
  e.GetTranslationMatrix(out);
  e.GetWorldMatrix(out);
  EXPECT_EQ(e.rebuilds, 0);
}

TEST(Entity3D, ResetTranslationKeepsTheOldWorldUntilTheNextRebuild) {
  CountingEntity e;
  e.SetPosition(5, 6, 7);
  e.ResetTranslation();
  EXPECT_EQ(e.GetPositionX(), 0.0f);
  ExpectPoint(Apply(e.World(), 0, 0, 0), 5, 6, 7);
  e.SetScaleZ(1);
  ExpectPoint(Apply(e.World(), 0, 0, 0), 0, 0, 0);
}

TEST(Entity3D, AGivenRotationMatrixIsDiscardedByTheNextAngleSetter) {
  CountingEntity e;
  JMatrix turned;
  JMath_MatrixRotationXYZ(turned, 0.3f, 0.2f, 0.1f);
  e.SetRotationMatrix(turned.Data());
  float out[16];
  e.GetRotationMatrix(out);
  EXPECT_EQ(out[1], turned.m[0][1]);
  EXPECT_EQ(e.GetRotationX(), 0.0f);  // angles unchanged
  e.SetRotationX(0.0f);
  e.GetRotationMatrix(out);
  ExpectSameMatrix(FromArray(out), JMatrix::Identity());
}

TEST(Entity3D, AddRotationTurnsFurtherAndSumsTheAngles) {
  CountingEntity e;
  e.SetRotation(0.4f, 0, 0);
  e.AddRotation(0, 0.1f, 0);
  e.AddRotation(0, 0.1f, 0);
  JMatrix expected;
  JMath_MatrixRotationXYZ(expected, 0.4f, 0, 0);
  expected = JMath_MatrixProduct(expected, JMath_RotationY(0.2f));
  float out[16];
  e.GetRotationMatrix(out);
  ExpectSameMatrix(FromArray(out), expected);
  float x, y, z;
  e.GetRotationXYZ(x, y, z);
  EXPECT_FLOAT_EQ(x, 0.4f);
  EXPECT_FLOAT_EQ(y, 0.2f);
  EXPECT_FLOAT_EQ(z, 0.0f);
}

TEST(Entity3D, TranslationAndScaleCompose) {
  CountingEntity e;
  e.SetPosition(10, 0, 0);
  e.Translate(1, 2, 3);
  EXPECT_FLOAT_EQ(e.GetPositionX(), 11.0f);
  EXPECT_FLOAT_EQ(e.GetPositionZ(), 3.0f);
  // Turning the position a quarter about Y sends +X to -Z.
  e.SetPosition(10, 0, 0);
  e.RotateTranslation(0, kPi / 2, 0);
  ExpectPoint(e.GetPositionJVector(), 0, 0, -10);
  e.SetScale(2, 3, 4);
  e.MultiplyScale(2, 2, 0.5f);
  float x, y, z;
  e.GetScaleXYZ(x, y, z);
  EXPECT_FLOAT_EQ(x, 4.0f);
  EXPECT_FLOAT_EQ(y, 6.0f);
  EXPECT_FLOAT_EQ(z, 2.0f);
  EXPECT_EQ(e.GetScaleY(), 6.0f);
  // Writing through the translation pointer shows after a rebuild.
  e.GetTranslationMatrixPtr()[12] = 42.0f;
  EXPECT_EQ(e.GetPositionX(), 42.0f);
}

}  // namespace
