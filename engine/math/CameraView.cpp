#include "engine/math/CameraView.h"

#include <cmath>

namespace {

float Dot3(const float a[3], const float b[3]) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }

void Cross3(const float a[3], const float b[3], float out[3]) {
  out[0] = a[1] * b[2] - a[2] * b[1];
  out[1] = a[2] * b[0] - a[0] * b[2];
  out[2] = a[0] * b[1] - a[1] * b[0];
}

}  // namespace

void CameraView::BuildProjection() {
  const float w = viewportWidth;
  const float h = viewportHeight;
  const float t = std::tan(fieldOfView * 0.5f);
  const float depth = farPlane - nearPlane;
  const float scale = perspective ? zoom : zoom * focalDistance;
  if (!(w > 0.0f) || !(h > 0.0f) || t == 0.0f || !std::isfinite(t) || depth == 0.0f || scale == 0.0f)
    return;

  float xs, ys;
  if (h > w) {
    xs = h / (w * t);
    ys = 1.0f / t;
  } else {
    xs = 1.0f / t;
    ys = w / (h * t);
  }

  projection = JMatrix::Zero();
  projection.m[0][0] = -xs / scale;
  projection.m[1][1] = ys / scale;
  if (perspective) {
    projection.m[2][2] = farPlane / depth;
    projection.m[2][3] = 1.0f;
    projection.m[3][2] = -projection.m[2][2] * nearPlane;
  } else {
    projection.m[2][2] = 1.0f / depth;
    projection.m[3][3] = 1.0f;
  }
}

void CameraView::LookAt(const float eyeIn[3], const float target[3], const float up[3]) {
  float f[3] = {target[0] - eyeIn[0], target[1] - eyeIn[1], target[2] - eyeIn[2]};
  const float flen = std::sqrt(Dot3(f, f));
  if (flen == 0.0f) return;
  for (float& v : f) v /= flen;

  float r[3];
  Cross3(up, f, r);
  const float rlen = std::sqrt(Dot3(r, r));
  if (rlen == 0.0f) return;
  for (float& v : r) v /= rlen;

  float u[3];
  Cross3(f, r, u);

  cameraMatrix = JMatrix::Zero();
  cameraMatrix.m[3][3] = 1.0f;
  for (int i = 0; i < 3; ++i) {
    cameraMatrix.m[i][0] = r[i];
    cameraMatrix.m[i][1] = u[i];
    cameraMatrix.m[i][2] = f[i];
  }
  for (int i = 0; i < 3; ++i) eye[i] = eyeIn[i];
  BuildViewMatrix();
}

int32_t CameraView::BuildViewMatrix() {
  for (int i = 0; i < 3; ++i) {
    for (int j = 0; j < 3; ++j) view.m[i][j] = cameraMatrix.m[i][j];
    view.m[i][3] = 0.0f;
  }
  for (int j = 0; j < 3; ++j) {
    const float axis[3] = {cameraMatrix.m[0][j], cameraMatrix.m[1][j], cameraMatrix.m[2][j]};
    view.m[3][j] = -Dot3(eye, axis);
  }
  view.m[3][3] = 1.0f;
  return 0;
}
