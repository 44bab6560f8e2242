#include "engine/math/JVector.h"

#include <cmath>

#include "engine/math/JMatrix.h"

JVector::~JVector() = default;

JVector JVector::Add(JVector b) const { return JVector(x + b.x, y + b.y, z + b.z, w + b.w); }

JVector JVector::Subtract(JVector a, JVector b) { return JVector(a.x - b.x, a.y - b.y, a.z - b.z, a.w - b.w); }

JVector JVector::MultiplyScalar(float s) const { return JVector(x * s, y * s, z * s, w * s); }

JVector JVector::Cross(JVector b) const {
  return JVector(y * b.z - z * b.y, z * b.x - x * b.z, x * b.y - y * b.x, 0.0f);
}

void JVector::Normalize() {
  const float len = std::sqrt(x * x + y * y + z * z);
  if (len > 0.0f) {
    const float inv = 1.0f / len;
    x *= inv;
    y *= inv;
    z *= inv;
  }
}

void JVector::Transform(const JMatrix& M) {
  const float nx = x * M.m[0][0] + y * M.m[1][0] + z * M.m[2][0] + M.m[3][0];
  const float ny = x * M.m[0][1] + y * M.m[1][1] + z * M.m[2][1] + M.m[3][1];
  const float nz = x * M.m[0][2] + y * M.m[1][2] + z * M.m[2][2] + M.m[3][2];
  x = nx;
  y = ny;
  z = nz;
}
