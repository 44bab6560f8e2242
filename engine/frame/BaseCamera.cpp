#include "engine/frame/BaseCamera.h"

#include <cmath>

#include "engine/math/CameraView.h"
#include "engine/services/Core3D.h"

namespace {

float Length(const JVector& v) { return std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z); }

void ToArray(const JVector& v, float out[3]) {
  out[0] = v.x;
  out[1] = v.y;
  out[2] = v.z;
}

}  // namespace

cEntity_BaseCamera::cEntity_BaseCamera(cEntity_Manager* manager) : cEntity_Base(manager, kEntityType_Base) {}

cEntity_BaseCamera::~cEntity_BaseCamera() = default;

CoreStatus cEntity_BaseCamera::AttachView(Core3D* renderer, const platform::RECT* viewport) {
  if (!view_) {
    if (!renderer) return status::Fail;
    view_ = renderer->AddView();
    if (!view_) return status::Fail;
    if (viewport) {
      view_->viewportWidth = static_cast<float>(viewport->right - viewport->left);
      view_->viewportHeight = static_cast<float>(viewport->bottom - viewport->top);
    }
    view_->focalDistance = focalDistance_;
    view_->farPlane = farPlane_;
    view_->nearPlane = nearPlane_;
    view_->fieldOfView = fieldOfView_;
    view_->perspective = perspective_ != 0;
    view_->BuildProjection();
    UpdateView();
  }
  if (viewport) SetViewport(viewport);
  return status::Ok;
}

CameraView* cEntity_BaseCamera::GetView() { return view_; }

void cEntity_BaseCamera::SetViewport(const platform::RECT* viewport) {
  if (!view_) return;
  viewport_ = viewport;
  UpdateProjection();
}

void cEntity_BaseCamera::UpdateProjection() {
  if (!view_ || !viewport_) return;
  view_->viewportWidth = static_cast<float>(viewport_->right - viewport_->left);
  view_->viewportHeight = static_cast<float>(viewport_->bottom - viewport_->top);
  view_->BuildProjection();
  UpdateView();
}

void cEntity_BaseCamera::SetPositionXYZ(float x, float y, float z) { SetPosition(JVector(x, y, z)); }

CoreStatus cEntity_BaseCamera::SetPosition(JVector position) {
  if (Length(position) == 0.0f) return status::Ok;
  position_ = position;
  UpdateView();
  return status::Ok;
}

void cEntity_BaseCamera::SetTargetXYZ(float x, float y, float z) { SetTarget(JVector(x, y, z)); }

CoreStatus cEntity_BaseCamera::SetTargetFromObject(cEntity_Base* object) {
  if (!object) return status::Fail;
  JVector p = object->GetPosition();
  if (Length(p) != 0.0f) target_ = p;
  UpdateView();
  return status::Ok;
}

void cEntity_BaseCamera::SetTarget(JVector target) {
  if (Length(target) == 0.0f) return;
  target_ = target;
  UpdateView();
}

void cEntity_BaseCamera::SetUpXYZ(float x, float y, float z) { SetUp(JVector(x, y, z)); }

void cEntity_BaseCamera::SetUp(JVector up) {
  const float length = Length(up);
  if (length == 0.0f) return;
  if (length != 1.0f) up.Normalize();
  up_ = up;
  UpdateView();
}

void cEntity_BaseCamera::SetFocalDistance(float value) { focalDistance_ = value; }
void cEntity_BaseCamera::SetFarPlane(float value) { farPlane_ = value; }
void cEntity_BaseCamera::SetNearPlane(float value) { nearPlane_ = value; }
void cEntity_BaseCamera::SetFieldOfView(float value) { fieldOfView_ = value; }
void cEntity_BaseCamera::SetOrthographic(bool orthographic) { perspective_ = orthographic ? 0 : 1; }
void cEntity_BaseCamera::SetFlagA(uint8_t flag) { flagA_ = flag; }

CoreStatus cEntity_BaseCamera::ScreenToRay(float x, float y, float width, float height, JVector* start,
                                           JVector* second) {
  if (!view_ || !start || !second || width <= 0.0f || height <= 0.0f) return status::Fail;
  const float t = std::tan(view_->fieldOfView * 0.5f);
  float kx;
  float ky;
  if (height > width) {
    kx = 1.0f / ((width / height) * t);
    ky = 1.0f / t;
  } else {
    kx = 1.0f / t;
    ky = 1.0f / ((height / width) * t);
  }
  const float f = view_->focalDistance;
  const float z = view_->perspective ? 1.0f / view_->zoom : 1.0f / (view_->zoom * f);
  const float u = -2.0f * (x / width - 0.5f) / (kx * z);
  const float v = -2.0f * (y / height - 0.5f) / (ky * z);
  float p0[3];
  float p1[3];
  if (view_->perspective) {
    p0[0] = p0[1] = p0[2] = 0.0f;
    p1[0] = u * f;
    p1[1] = v * f;
    p1[2] = f;
  } else {
    p0[0] = u;
    p0[1] = v;
    p0[2] = 0.0f;
    p1[0] = u;
    p1[1] = v;
    p1[2] = f;
  }
  auto toWorld = [&](const float p[3]) {
    const auto& m = view_->cameraMatrix.m;
    return JVector(view_->eye[0] + m[0][0] * p[0] + m[0][1] * p[1] + m[0][2] * p[2],
                   view_->eye[1] + m[1][0] * p[0] + m[1][1] * p[1] + m[1][2] * p[2],
                   view_->eye[2] + m[2][0] * p[0] + m[2][1] * p[1] + m[2][2] * p[2]);
  };
  *start = toWorld(p0);
  *second = toWorld(p1);
  return status::Ok;
}

JVector cEntity_BaseCamera::GetPosition() { return position_; }
JVector cEntity_BaseCamera::GetTarget() { return target_; }

void cEntity_BaseCamera::UpdateView() {
  if (!view_) return;
  float eye[3];
  float target[3];
  float up[3];
  ToArray(position_, eye);
  ToArray(target_, target);
  ToArray(up_, up);
  view_->LookAt(eye, target, up);
}
