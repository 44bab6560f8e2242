#include <gtest/gtest.h>

#include "engine/math/JMatrix.h"
#include "engine/math/JVector.h"

namespace {

void ExpectVector(const JVector& v, float x, float y, float z, float w) {
  EXPECT_FLOAT_EQ(v.x, x);
  EXPECT_FLOAT_EQ(v.y, y);
  EXPECT_FLOAT_EQ(v.z, z);
  EXPECT_FLOAT_EQ(v.w, w);
}

TEST(JVector, StartsAtZeroAndCombinesAllFourComponents) {
  ExpectVector(JVector(), 0, 0, 0, 0);
  const JVector a(1, 2, 3, 4), b(10, 20, 30, 40);
  ExpectVector(a.Add(b), 11, 22, 33, 44);
  ExpectVector(JVector::Subtract(a, b), -9, -18, -27, -36);
  ExpectVector(a.MultiplyScalar(-2), -2, -4, -6, -8);
  // Operands are values: nothing changes in place.
  ExpectVector(a, 1, 2, 3, 4);
}

TEST(JVector, CrossIsRightHandedOnXyzWithZeroW) {
  ExpectVector(JVector(1, 0, 0, 5).Cross(JVector(0, 1, 0, 5)), 0, 0, 1, 0);
  ExpectVector(JVector(0, 1, 0).Cross(JVector(1, 0, 0)), 0, 0, -1, 0);
  ExpectVector(JVector(1, 2, 3).Cross(JVector(4, 5, 6)), -3, 6, -3, 0);
}

TEST(JVector, NormalizeScalesXyzAndLeavesWAndZeroVectorsAlone) {
  JVector v(3, 0, 4, 7);
  v.Normalize();
  ExpectVector(v, 0.6f, 0, 0.8f, 7);
  JVector zero(0, 0, 0, 7);
  zero.Normalize();
  ExpectVector(zero, 0, 0, 0, 7);
}

TEST(JVector, TransformIncludesTranslationAndKeepsW) {
  JMatrix m = JMath_RotationZ(1.57079632679f);
  JMath_MatrixTranslate(m, 10, 20, 30);
  JVector v(1, 0, 0, 3);
  v.Transform(m);
  EXPECT_NEAR(v.x, 10, 1e-5);
  EXPECT_NEAR(v.y, 21, 1e-5);
  EXPECT_NEAR(v.z, 30, 1e-5);
  EXPECT_EQ(v.w, 3);
}

}  // namespace
