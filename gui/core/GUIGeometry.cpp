#include "gui/core/GUIGeometry.h"

#include <algorithm>
#include <cmath>

#include "engine/math/CameraView.h"

namespace {

bool Within(float v, float a, float b) { return v >= std::min(a, b) && v <= std::max(a, b); }

}  // namespace

int32_t SegmentBoxTest(const float p0[3], const float p1[3], const float box[3], float hit[3]) {
  // Both points beyond the same face: a miss without clipping.
  for (int axis = 0; axis < 3; ++axis) {
    const float lo = std::min(0.0f, box[axis]);
    const float hi = std::max(0.0f, box[axis]);
    if ((p0[axis] < lo && p1[axis] < lo) || (p0[axis] > hi && p1[axis] > hi)) return GUIFACE_NONE;
  }
  bool inside0 = true;
  bool inside1 = true;
  for (int axis = 0; axis < 3; ++axis) {
    inside0 = inside0 && Within(p0[axis], 0.0f, box[axis]);
    inside1 = inside1 && Within(p1[axis], 0.0f, box[axis]);
  }
  if (inside0 && inside1) {
    for (int i = 0; i < 3; ++i) hit[i] = p0[i];
    return GUIFACE_INSIDE;
  }
  // Face planes in test order: x = 0, x = B.x, z = 0, z = B.z, y = 0, y = B.y.
  struct Plane {
    int axis;
    bool far;
    int32_t face;
  };
  static constexpr Plane kPlanes[] = {{0, false, GUIFACE_X0}, {0, true, GUIFACE_XB}, {2, false, GUIFACE_Z0},
                                      {2, true, GUIFACE_ZB},  {1, false, GUIFACE_Y0}, {1, true, GUIFACE_YB}};
  float best = 1.0f;
  int32_t result = GUIFACE_NONE;
  for (const Plane& plane : kPlanes) {
    const int a = plane.axis;
    const float d = p1[a] - p0[a];
    if (d == 0.0f) continue;  // parallel to this pair of faces
    const float value = plane.far ? box[a] : 0.0f;
    const float t = (value - p0[a]) / d;
    if (t < 0.0f || t >= best) continue;
    float point[3];
    for (int i = 0; i < 3; ++i) point[i] = p0[i] + t * (p1[i] - p0[i]);
    point[a] = value;
    const int b = (a + 1) % 3;
    const int c = (a + 2) % 3;
    if (!Within(point[b], 0.0f, box[b]) || !Within(point[c], 0.0f, box[c])) continue;
    best = t;
    for (int i = 0; i < 3; ++i) hit[i] = point[i];
    result = plane.face;
  }
  return result;
}

void TransformPoint(const JMatrix& m, const float in[3], float out[3]) {
  float r[3];
  for (int c = 0; c < 3; ++c) r[c] = in[0] * m.m[0][c] + in[1] * m.m[1][c] + in[2] * m.m[2][c] + m.m[3][c];
  for (int c = 0; c < 3; ++c) out[c] = r[c];
}

GUIRay ScreenRay(const CameraView& view, float x, float y, float width, float height) {
  const float t = std::tan(view.fieldOfView * 0.5f);
  const float wv = view.viewportWidth;
  const float hv = view.viewportHeight;
  float p;
  float q;
  if (hv <= wv) {
    p = wv / (hv * t);
    q = 1.0f / t;
  } else {
    p = 1.0f / t;
    q = hv / (wv * t);
  }
  const float d = view.focalDistance;
  const float l = view.perspective ? 1.0f / view.zoom : 1.0f / (view.zoom * d);
  const float nx = (1.0f - 2.0f * x / width) / (q * l);
  const float ny = (1.0f - 2.0f * y / height) / (p * l);
  float nearPoint[3];
  float farPoint[3];
  if (view.perspective) {
    nearPoint[0] = nearPoint[1] = nearPoint[2] = 0.0f;
    farPoint[0] = nx * d;
    farPoint[1] = ny * d;
    farPoint[2] = d;
  } else {
    nearPoint[0] = farPoint[0] = nx;
    nearPoint[1] = farPoint[1] = ny;
    nearPoint[2] = 0.0f;
    farPoint[2] = d;
  }
  // Camera space to world: the camera matrix's columns are its axes.
  GUIRay ray;
  const JMatrix& r = view.cameraMatrix;
  for (int i = 0; i < 3; ++i) {
    ray.start[i] = r.m[i][0] * nearPoint[0] + r.m[i][1] * nearPoint[1] + r.m[i][2] * nearPoint[2] + view.eye[i];
    ray.end[i] = r.m[i][0] * farPoint[0] + r.m[i][1] * farPoint[1] + r.m[i][2] * farPoint[2] + view.eye[i];
  }
  return ray;
}
