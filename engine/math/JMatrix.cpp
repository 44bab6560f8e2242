#include "engine/math/JMatrix.h"

#include <cmath>

#include "engine/math/JVector.h"

JMatrix JMatrix::Identity() {
  JMatrix r = Zero();
  r.m[0][0] = r.m[1][1] = r.m[2][2] = r.m[3][3] = 1.0f;
  return r;
}

JMatrix JMatrix::Zero() {
  JMatrix r;
  for (auto& row : r.m)
    for (float& v : row) v = 0.0f;
  return r;
}

JMatrix& JMath_MatrixMultiply(JMatrix& out, const JMatrix& a, const JMatrix& b) {
  // Built in a temporary so out may alias either operand.
  JMatrix r;
  for (int i = 0; i < 4; ++i) {
    for (int j = 0; j < 3; ++j) {
      float sum = a.m[i][0] * b.m[0][j] + a.m[i][1] * b.m[1][j] + a.m[i][2] * b.m[2][j];
      if (i == 3) sum += b.m[3][j];
      r.m[i][j] = sum;
    }
    r.m[i][3] = (i == 3) ? 1.0f : 0.0f;
  }
  out = r;
  return out;
}

JMatrix JMath_MatrixProduct(const JMatrix& a, const JMatrix& b) {
  JMatrix r;
  JMath_MatrixMultiply(r, a, b);
  return r;
}

void JMath_MatrixTranslation(JMatrix& M, float x, float y, float z) {
  M = JMatrix::Identity();
  M.m[3][0] = x;
  M.m[3][1] = y;
  M.m[3][2] = z;
}

void JMath_MatrixTranslate(JMatrix& M, float x, float y, float z) {
  JMatrix t;
  JMath_MatrixTranslation(t, x, y, z);
  JMath_MatrixMultiply(M, M, t);
}

void JMath_MatrixScale(JMatrix& M, float x, float y, float z) {
  JMatrix s = JMatrix::Identity();
  s.m[0][0] = x;
  s.m[1][1] = y;
  s.m[2][2] = z;
  JMath_MatrixMultiply(M, M, s);
}

void JMath_MatrixScaleVector(JMatrix& M, const JVector& v) { JMath_MatrixScale(M, v.x, v.y, v.z); }

namespace {

// A rotation by `a` in the plane of axes i and j: [i][j] takes -sin and
// [j][i] takes sin.
JMatrix PlaneRotation(int i, int j, float a) {
  const float c = std::cos(a), s = std::sin(a);
  JMatrix r = JMatrix::Identity();
  r.m[i][i] = c;
  r.m[i][j] = -s;
  r.m[j][i] = s;
  r.m[j][j] = c;
  return r;
}

}  // namespace

JMatrix JMath_RotationX(float a) { return PlaneRotation(1, 2, a); }

JMatrix JMath_RotationY(float a) { return PlaneRotation(0, 2, a); }

JMatrix JMath_RotationZ(float a) { return PlaneRotation(1, 0, a); }

void JMath_MatrixRotationY(JMatrix& M, float a) { M = JMath_RotationY(a); }

void JMath_MatrixRotateY(JMatrix& M, float a) { JMath_MatrixMultiply(M, M, JMath_RotationY(a)); }

void JMath_MatrixRotateZ(JMatrix& M, float a) { JMath_MatrixMultiply(M, M, JMath_RotationZ(a)); }

void JMath_MatrixRotationXYZ(JMatrix& M, float x, float y, float z) {
  JMatrix r = JMath_RotationX(x);
  JMath_MatrixMultiply(r, r, JMath_RotationY(y));
  JMath_MatrixMultiply(r, r, JMath_RotationZ(z));
  M = r;
}

void JMath_MatrixRotateXYZ(JMatrix& M, float x, float y, float z) {
  JMatrix r;
  JMath_MatrixRotationXYZ(r, x, y, z);
  JMath_MatrixMultiply(M, M, r);
}

void JMath_MatrixInverseRigid(const JMatrix& M, JMatrix& out) {
  JMatrix r = JMatrix::Zero();
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) r.m[i][j] = M.m[j][i];
  for (int i = 0; i < 3; ++i)
    r.m[3][i] = -(M.m[3][0] * M.m[i][0] + M.m[3][1] * M.m[i][1] + M.m[3][2] * M.m[i][2]);
  r.m[3][3] = 1.0f;
  out = r;
}

void JMath_MatrixInverse(const JMatrix& M, JMatrix& out) {
  JMatrix scale = JMatrix::Identity();
  for (int i = 0; i < 3; ++i) {
    const float len2 = M.m[i][0] * M.m[i][0] + M.m[i][1] * M.m[i][1] + M.m[i][2] * M.m[i][2] +
                       M.m[i][3] * M.m[i][3];
    scale.m[i][i] = (len2 != 0.0f) ? 1.0f / len2 : 0.0f;
  }
  JMatrix r;
  JMath_MatrixInverseRigid(M, r);
  JMath_MatrixMultiply(out, r, scale);
}
