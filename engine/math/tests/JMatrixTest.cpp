#include <gtest/gtest.h>

#include <cmath>

#include "engine/math/JMatrix.h"
#include "engine/math/JVector.h"

namespace {

constexpr float kHalfPi = 1.57079632679f;

JMatrix FromRows(std::initializer_list<float> values) {
  JMatrix r = JMatrix::Zero();
  int i = 0;
  for (float v : values) r.Data()[i++] = v;
  return r;
}

void ExpectMatrixNear(const JMatrix& actual, const JMatrix& expected, float tol = 1e-5f) {
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j) EXPECT_NEAR(actual.m[i][j], expected.m[i][j], tol) << "element " << i << "," << j;
}

JVector Apply(const JMatrix& m, float x, float y, float z) {
  JVector v(x, y, z, 9.0f);
  v.Transform(m);
  EXPECT_EQ(v.w, 9.0f);
  return v;
}

void ExpectPointNear(const JVector& v, float x, float y, float z, float tol = 1e-5f) {
  EXPECT_NEAR(v.x, x, tol);
  EXPECT_NEAR(v.y, y, tol);
  EXPECT_NEAR(v.z, z, tol);
}

TEST(JMatrix, MultiplyIsTheAffineProductAndIgnoresFourthColumns) {
  JMatrix a = FromRows({1, 2, 3, 7, 4, 5, 6, 7, 7, 8, 9, 7, 10, 11, 12, 7});
  JMatrix b = FromRows({2, 0, 1, 5, 1, 3, 0, 5, 0, 1, 4, 5, 5, 6, 7, 5});
  const JMatrix expected = FromRows({4, 9, 13, 0, 13, 21, 28, 0, 22, 33, 43, 0, 36, 51, 65, 1});
  JMatrix out;
  JMath_MatrixMultiply(out, a, b);
  ExpectMatrixNear(out, expected);
  ExpectMatrixNear(JMath_MatrixProduct(a, b), expected);

  // The output may be either operand.
  JMatrix aliasA = a;
  JMath_MatrixMultiply(aliasA, aliasA, b);
  ExpectMatrixNear(aliasA, expected);
  JMatrix aliasB = b;
  JMath_MatrixMultiply(aliasB, a, aliasB);
  ExpectMatrixNear(aliasB, expected);
}

TEST(JMatrix, ProductAppliesTheLeftMatrixFirst) {
  JMatrix t;
  JMath_MatrixTranslation(t, 1, 2, 3);
  const JMatrix rz = JMath_RotationZ(kHalfPi);
  // Translate, then turn: (1, 2, 3) turned a quarter about Z.
  ExpectPointNear(Apply(JMath_MatrixProduct(t, rz), 0, 0, 0), -2, 1, 3);
  // Turn, then translate: the origin stays put by the turn.
  ExpectPointNear(Apply(JMath_MatrixProduct(rz, t), 0, 0, 0), 1, 2, 3);
}

TEST(JMatrix, ElementaryRotationsTurnTheStatedWay) {
  ExpectPointNear(Apply(JMath_RotationY(kHalfPi), 1, 0, 0), 0, 0, -1);
  ExpectPointNear(Apply(JMath_RotationZ(kHalfPi), 1, 0, 0), 0, 1, 0);
  ExpectPointNear(Apply(JMath_RotationX(kHalfPi), 0, 1, 0), 0, 0, -1);

  JMatrix m;
  JMath_MatrixRotationXYZ(m, 0, kHalfPi, 0);
  ExpectPointNear(Apply(m, 1, 0, 0), 0, 0, -1);
  JMath_MatrixRotationXYZ(m, kHalfPi, 0, 0);
  ExpectPointNear(Apply(m, 0, 1, 0), 0, 0, -1);
  // X first, then Y: +Y -> -Z -> -X.
  JMath_MatrixRotationXYZ(m, kHalfPi, kHalfPi, 0);
  ExpectPointNear(Apply(m, 0, 1, 0), -1, 0, 0);
  // Y first, then Z: +X -> -Z, which a turn about Z keeps.
  JMath_MatrixRotationXYZ(m, 0, kHalfPi, kHalfPi);
  ExpectPointNear(Apply(m, 1, 0, 0), 0, 0, -1);

  JMath_MatrixRotationY(m, kHalfPi);
  ExpectMatrixNear(m, JMath_RotationY(kHalfPi));
}

TEST(JMatrix, PostMultiplyingBuildersComposeInCallOrder) {
  JMatrix m = JMatrix::Identity();
  JMath_MatrixScale(m, 2, 3, 4);
  JMath_MatrixTranslate(m, 1, 1, 1);
  ExpectPointNear(Apply(m, 1, 1, 1), 3, 4, 5);

  m = JMatrix::Identity();
  JMath_MatrixScaleVector(m, JVector(2, 3, 4, 100));
  EXPECT_FLOAT_EQ(m.m[3][3], 1.0f);
  ExpectPointNear(Apply(m, 1, 1, 1), 2, 3, 4);

  JMath_MatrixTranslation(m, 1, 0, 0);
  JMath_MatrixRotateY(m, kHalfPi);
  ExpectPointNear(Apply(m, 0, 0, 0), 0, 0, -1);

  JMath_MatrixTranslation(m, 1, 0, 0);
  JMath_MatrixRotateZ(m, kHalfPi);
  ExpectPointNear(Apply(m, 0, 0, 0), 0, 1, 0);

  JMath_MatrixTranslation(m, 0, 1, 0);
  JMath_MatrixRotateXYZ(m, kHalfPi, kHalfPi, 0);
  ExpectPointNear(Apply(m, 0, 0, 0), -1, 0, 0);
}

TEST(JMatrix, RigidInverseUndoesRotationAndTranslation) {
  JMatrix m;
  JMath_MatrixRotationXYZ(m, 0, 0, kHalfPi);
  JMath_MatrixTranslate(m, 1, 2, 3);
  JMatrix inv;
  JMath_MatrixInverseRigid(m, inv);
  // Transposed rotation; row 3 = -(t.r0, t.r1, t.r2) = -(2, -1, 3).
  ExpectMatrixNear(inv, FromRows({0, -1, 0, 0, 1, 0, 0, 0, 0, 0, 1, 0, -2, 1, -3, 1}));
  ExpectPointNear(Apply(inv, 1, 7, 3), 5, 0, 0);

  JMath_MatrixRotationXYZ(m, 0.3f, -0.5f, 1.1f);
  JMath_MatrixTranslate(m, 4, -5, 6);
  JMath_MatrixInverseRigid(m, inv);
  ExpectMatrixNear(JMath_MatrixProduct(m, inv), JMatrix::Identity());
  JMatrix self = m;
  JMath_MatrixInverseRigid(self, self);
  ExpectMatrixNear(self, inv);
}

TEST(JMatrix, InverseUndoesScaleRotationAndTranslation) {
  JMatrix m = JMatrix::Identity();
  JMath_MatrixScale(m, 2, 4, 0.5f);
  JMath_MatrixRotateZ(m, kHalfPi);
  JMath_MatrixTranslate(m, 1, 2, 3);
  JMatrix inv;
  JMath_MatrixInverse(m, inv);
  ExpectMatrixNear(inv, FromRows({0, -0.25f, 0, 0, 0.5f, 0, 0, 0, 0, 0, 2, 0, -1, 0.25f, -6, 1}));
  ExpectPointNear(Apply(m, 1, 1, 1), -3, 4, 3.5f);
  ExpectPointNear(Apply(inv, -3, 4, 3.5f), 1, 1, 1);

  JMath_MatrixRotationXYZ(m, 0.7f, 0.2f, -0.4f);
  JMath_MatrixScale(m, 3, 3, 3);
  JMath_MatrixTranslate(m, -2, 8, 1);
  JMath_MatrixInverse(m, inv);
  ExpectMatrixNear(JMath_MatrixProduct(m, inv), JMatrix::Identity(), 1e-4f);

  // A collapsed axis gives a zero factor, not an infinity.
  m = JMatrix::Identity();
  JMath_MatrixScale(m, 1, 1, 0);
  JMath_MatrixInverse(m, inv);
  for (float v : inv.m[2]) EXPECT_EQ(v, 0.0f);
  EXPECT_EQ(inv.m[0][0], 1.0f);
}

}  // namespace
