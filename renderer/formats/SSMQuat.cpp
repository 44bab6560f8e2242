#include "renderer/formats/SSMQuat.h"

#include <cmath>

SSMQuat SSMQuatFromMatrix(const float m[4][4]) {
  SSMQuat q;
  const float trace = m[0][0] + m[1][1] + m[2][2];
  if (trace > 0.0f) {
    const float s = std::sqrt(trace + 1.0f);
    const float k = 0.5f / s;
    q.w = s * 0.5f;
    q.x = (m[2][1] - m[1][2]) * k;
    q.y = (m[0][2] - m[2][0]) * k;
    q.z = (m[1][0] - m[0][1]) * k;
    return q;
  }
  // The largest diagonal element picks the stable formula; m00 wins a tie with
  // m11, and m22 must be strictly larger than the winner.
  int axis = (m[0][0] >= m[1][1]) ? 0 : 1;
  if (m[2][2] > m[axis][axis]) axis = 2;
  if (axis == 0) {
    const float s = std::sqrt(m[0][0] - (m[1][1] + m[2][2]) + 1.0f);
    const float k = (s != 0.0f) ? 0.5f / s : s;
    q.x = s * 0.5f;
    q.y = (m[1][0] + m[0][1]) * k;
    q.z = (m[2][0] + m[0][2]) * k;
    q.w = (m[2][1] - m[1][2]) * k;
  } else if (axis == 1) {
    const float s = std::sqrt(m[1][1] - (m[2][2] + m[0][0]) + 1.0f);
    const float k = (s != 0.0f) ? 0.5f / s : s;
    q.y = s * 0.5f;
    q.x = (m[1][0] + m[0][1]) * k;
    q.z = (m[2][1] + m[1][2]) * k;
    q.w = (m[0][2] - m[2][0]) * k;
  } else {
    const float s = std::sqrt(m[2][2] - (m[0][0] + m[1][1]) + 1.0f);
    const float k = (s != 0.0f) ? 0.5f / s : s;
    q.z = s * 0.5f;
    q.x = (m[2][0] + m[0][2]) * k;
    q.y = (m[2][1] + m[1][2]) * k;
    q.w = (m[1][0] - m[0][1]) * k;
  }
  return q;
}

SSMQuat SSMQuatSlerp(const SSMQuat& q1, const SSMQuat& q2, float t) {
  const float c = q1.x * q2.x + q1.y * q2.y + q1.z * q2.z + q1.w * q2.w;
  SSMQuat r;
  if (1.0f + c <= 0.001f) {
    // Nearly opposite: turn through a perpendicular quaternion instead.
    const SSMQuat p{-q1.y, q1.x, -q1.w, q1.z};
    const float k1 = std::sin((1.0f - t) * 1.57075f);
    const float k2 = std::sin(t * 1.57075f);
    r.x = k1 * q1.x + k2 * p.x;
    r.y = k1 * q1.y + k2 * p.y;
    r.z = k1 * q1.z + k2 * p.z;
    r.w = p.w;
    return r;
  }
  float k1;
  float k2;
  if (1.0f - c > 0.001f) {
    const float omega = std::acos(c);
    const float sinOmega = std::sin(omega);
    k1 = std::sin((1.0f - t) * omega) / sinOmega;
    k2 = std::sin(t * omega) / sinOmega;
  } else {
    k1 = 1.0f - t;
    k2 = t;
  }
  r.x = k1 * q1.x + k2 * q2.x;
  r.y = k1 * q1.y + k2 * q2.y;
  r.z = k1 * q1.z + k2 * q2.z;
  r.w = k1 * q1.w + k2 * q2.w;
  return r;
}
