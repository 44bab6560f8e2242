#include "sound/DX3DSoundListener.h"

#include <cmath>

#include "sound/DXSoundError.h"

using namespace platform;

namespace {
uint32_t ApplyMode(bool immediate) { return immediate ? DS3D_IMMEDIATE : DS3D_DEFERRED; }
}  // namespace

DX3DSoundListener::DX3DSoundListener(IDirectSound8* device, IDirectSoundBuffer8* primary) {
  if (!device || !primary) return;
  void* out = nullptr;
  if (!DXSucceeded(primary->QueryInterface(IID_IDirectSound3DListener, &out)) || !out) return;
  listener_ = static_cast<IDirectSound3DListener8*>(out);
  primary_ = primary;
}

DX3DSoundListener::~DX3DSoundListener() {
  if (listener_) listener_->Release();
}

void DX3DSoundListener::SetPosition(JVector position, bool immediate) {
  if (position.x != position_.x || position.y != position_.y || position.z != position_.z) moved_ = true;
  position_ = position;
  if (listener_) DXSucceeded(listener_->SetPosition(position.x, position.y, position.z, ApplyMode(immediate)));
}

void DX3DSoundListener::SetVelocity(JVector velocity, bool immediate) {
  velocity_ = velocity;
  if (listener_) DXSucceeded(listener_->SetVelocity(velocity.x, velocity.y, velocity.z, ApplyMode(immediate)));
}

JVector DX3DSoundListener::TopFor(const JVector& front) {
  // Gram-Schmidt against world up (0, 1, 0): top = up - (up . front) front.
  JVector top(-front.y * front.x, 1.0f - front.y * front.y, -front.y * front.z);
  const float length = std::sqrt(top.x * top.x + top.y * top.y + top.z * top.z);
  if (length > 1e-4f) return JVector(top.x / length, top.y / length, top.z / length);
  if (front.x == 0.0f && front.y == 0.0f && front.z == 0.0f) return JVector(0.0f, 1.0f, 0.0f);
  // Looking straight up the head's top points back, straight down forward.
  return JVector(0.0f, 0.0f, front.y > 0.0f ? -1.0f : 1.0f);
}

void DX3DSoundListener::SetOrientation(JVector front, bool immediate) {
  if (!listener_) return;
  front.Normalize();
  const JVector top = TopFor(front);
  if (front.x != front_.x || front.y != front_.y || front.z != front_.z) moved_ = true;
  front_ = front;
  DXSucceeded(listener_->SetOrientation(front.x, front.y, front.z, top.x, top.y, top.z, ApplyMode(immediate)));
}
