// 3D buffers and the listener: parameters with immediate or deferred
// application, and how a 3D buffer is heard (distance attenuation and the
// side it comes from).
#include <cmath>

#include "platform/audio/AudioInternal.h"

namespace platform::audio_impl {
namespace {

SoundVector Sub(const SoundVector& a, const SoundVector& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
float Dot(const SoundVector& a, const SoundVector& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
SoundVector Cross(const SoundVector& a, const SoundVector& b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
float Length(const SoundVector& v) { return std::sqrt(Dot(v, v)); }

bool ValidDistance(float d) { return std::isfinite(d) && d > 0.0f; }
bool ValidApply(uint32_t apply) { return apply == DS3D_IMMEDIATE || apply == DS3D_DEFERRED; }

bool ValidBufferParams(const DS3DBUFFER& p) {
  return p.size == sizeof(DS3DBUFFER) && IsFinite(p.position) && IsFinite(p.velocity) &&
         IsFinite(p.coneOrientation) && p.insideConeAngle <= 360 && p.outsideConeAngle <= 360 &&
         p.coneOutsideVolume >= DSBVOLUME_MIN && p.coneOutsideVolume <= DSBVOLUME_MAX &&
         ValidDistance(p.minDistance) && ValidDistance(p.maxDistance) && p.mode <= DS3DMODE_DISABLE;
}

bool ValidOrientation(const SoundVector& front, const SoundVector& top) {
  return IsFinite(front) && IsFinite(top) && Length(front) > 0.0f && Length(top) > 0.0f &&
         Length(Cross(front, top)) > 1e-6f * Length(front) * Length(top);
}

bool ValidFactor(float f, float max) { return std::isfinite(f) && f >= 0.0f && f <= max; }

bool ValidListenerParams(const DS3DLISTENER& p) {
  return p.size == sizeof(DS3DLISTENER) && IsFinite(p.position) && IsFinite(p.velocity) &&
         ValidOrientation(p.orientFront, p.orientTop) && std::isfinite(p.distanceFactor) &&
         p.distanceFactor > 0.0f && ValidFactor(p.rolloffFactor, DS3D_MAXROLLOFFFACTOR) &&
         ValidFactor(p.dopplerFactor, DS3D_MAXDOPPLERFACTOR);
}

}  // namespace

bool IsFinite(const SoundVector& v) { return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z); }

bool Spatialize(const DS3DBUFFER& b, const DS3DLISTENER& l, bool muteAtMax, float* gain, float* left,
                float* right) {
  if (b.mode == DS3DMODE_DISABLE) return false;
  float side = 0.0f;
  SoundVector rel = b.position;
  float d = 0.0f;
  if (b.mode == DS3DMODE_HEADRELATIVE) {
    // Already in the listener's frame: x right, y up, z front.
    d = Length(rel);
    if (d > 0.0f) side = rel.x / d;
  } else {
    rel = Sub(b.position, l.position);
    d = Length(rel);
    SoundVector rightAxis = Cross(l.orientTop, l.orientFront);
    const float len = Length(rightAxis);
    if (d > 0.0f && len > 0.0f) side = Dot(rel, rightAxis) / (len * d);
  }
  if (muteAtMax && d > b.maxDistance) {
    *gain = 0.0f;
  } else {
    const float clamped = d < b.minDistance ? b.minDistance : (d > b.maxDistance ? b.maxDistance : d);
    // Inverse-distance roll-off: full level inside the minimum distance,
    // halving with each doubling of distance at roll-off 1.
    *gain = b.minDistance / (b.minDistance + l.rolloffFactor * (clamped - b.minDistance));
  }
  side = side < -1.0f ? -1.0f : (side > 1.0f ? 1.0f : side);
  *left = side > 0.0f ? 1.0f - side : 1.0f;
  *right = side < 0.0f ? 1.0f + side : 1.0f;
  return true;
}

// ---- 3D buffer ----------------------------------------------------------------

template <class F>
CoreStatus Buffer3DImpl::Change(uint32_t apply, F&& change) {
  if (!ValidApply(apply)) return DSERR_INVALIDPARAM;
  auto lock = owner_->core->Enter();
  Buffer3DState& s = owner_->state3d;
  DS3DBUFFER next = s.pending;
  const CoreStatus r = change(next);
  if (r != DS_OK) return r;
  s.pending = next;
  if (apply == DS3D_IMMEDIATE) {
    s.current = next;
  } else {
    s.dirty = true;
  }
  return DS_OK;
}

CoreStatus Buffer3DImpl::GetAllParameters(DS3DBUFFER* params) {
  if (!params || params->size != sizeof(DS3DBUFFER)) return DSERR_INVALIDPARAM;
  auto lock = owner_->core->Enter();
  *params = owner_->state3d.current;
  return DS_OK;
}

CoreStatus Buffer3DImpl::SetAllParameters(const DS3DBUFFER* params, uint32_t apply) {
  if (!params || !ValidBufferParams(*params)) return DSERR_INVALIDPARAM;
  return Change(apply, [&](DS3DBUFFER& p) {
    p = *params;
    return DS_OK;
  });
}

CoreStatus Buffer3DImpl::GetPosition(SoundVector* v) {
  if (!v) return DSERR_INVALIDPARAM;
  auto lock = owner_->core->Enter();
  *v = owner_->state3d.current.position;
  return DS_OK;
}

CoreStatus Buffer3DImpl::SetPosition(float x, float y, float z, uint32_t apply) {
  const SoundVector v{x, y, z};
  if (!IsFinite(v)) return DSERR_INVALIDPARAM;
  return Change(apply, [&](DS3DBUFFER& p) {
    p.position = v;
    return DS_OK;
  });
}

CoreStatus Buffer3DImpl::GetVelocity(SoundVector* v) {
  if (!v) return DSERR_INVALIDPARAM;
  auto lock = owner_->core->Enter();
  *v = owner_->state3d.current.velocity;
  return DS_OK;
}

CoreStatus Buffer3DImpl::SetVelocity(float x, float y, float z, uint32_t apply) {
  const SoundVector v{x, y, z};
  if (!IsFinite(v)) return DSERR_INVALIDPARAM;
  return Change(apply, [&](DS3DBUFFER& p) {
    p.velocity = v;
    return DS_OK;
  });
}

CoreStatus Buffer3DImpl::GetMinDistance(float* d) {
  if (!d) return DSERR_INVALIDPARAM;
  auto lock = owner_->core->Enter();
  *d = owner_->state3d.current.minDistance;
  return DS_OK;
}

CoreStatus Buffer3DImpl::SetMinDistance(float d, uint32_t apply) {
  if (!ValidDistance(d)) return DSERR_INVALIDPARAM;
  return Change(apply, [&](DS3DBUFFER& p) {
    p.minDistance = d;
    return DS_OK;
  });
}

CoreStatus Buffer3DImpl::GetMaxDistance(float* d) {
  if (!d) return DSERR_INVALIDPARAM;
  auto lock = owner_->core->Enter();
  *d = owner_->state3d.current.maxDistance;
  return DS_OK;
}

CoreStatus Buffer3DImpl::SetMaxDistance(float d, uint32_t apply) {
  if (!ValidDistance(d)) return DSERR_INVALIDPARAM;
  return Change(apply, [&](DS3DBUFFER& p) {
    p.maxDistance = d;
    return DS_OK;
  });
}

CoreStatus Buffer3DImpl::GetMode(uint32_t* mode) {
  if (!mode) return DSERR_INVALIDPARAM;
  auto lock = owner_->core->Enter();
  *mode = owner_->state3d.current.mode;
  return DS_OK;
}

CoreStatus Buffer3DImpl::SetMode(uint32_t mode, uint32_t apply) {
  if (mode > DS3DMODE_DISABLE) return DSERR_INVALIDPARAM;
  return Change(apply, [&](DS3DBUFFER& p) {
    p.mode = mode;
    return DS_OK;
  });
}

// ---- listener -----------------------------------------------------------------

template <class F>
CoreStatus ListenerImpl::Change(uint32_t apply, F&& change) {
  if (!ValidApply(apply)) return DSERR_INVALIDPARAM;
  DeviceCore& core = *owner_->core;
  auto lock = core.Enter();
  DS3DLISTENER next = core.listenerPending;
  change(next);
  core.listenerPending = next;
  if (apply == DS3D_IMMEDIATE) {
    core.listener = next;
  } else {
    core.listenerDirty = true;
  }
  return DS_OK;
}

CoreStatus ListenerImpl::GetAllParameters(DS3DLISTENER* params) {
  if (!params || params->size != sizeof(DS3DLISTENER)) return DSERR_INVALIDPARAM;
  auto lock = owner_->core->Enter();
  *params = owner_->core->listener;
  return DS_OK;
}

CoreStatus ListenerImpl::SetAllParameters(const DS3DLISTENER* params, uint32_t apply) {
  if (!params || !ValidListenerParams(*params)) return DSERR_INVALIDPARAM;
  return Change(apply, [&](DS3DLISTENER& p) { p = *params; });
}

CoreStatus ListenerImpl::GetPosition(SoundVector* v) {
  if (!v) return DSERR_INVALIDPARAM;
  auto lock = owner_->core->Enter();
  *v = owner_->core->listener.position;
  return DS_OK;
}

CoreStatus ListenerImpl::SetPosition(float x, float y, float z, uint32_t apply) {
  const SoundVector v{x, y, z};
  if (!IsFinite(v)) return DSERR_INVALIDPARAM;
  return Change(apply, [&](DS3DLISTENER& p) { p.position = v; });
}

CoreStatus ListenerImpl::GetVelocity(SoundVector* v) {
  if (!v) return DSERR_INVALIDPARAM;
  auto lock = owner_->core->Enter();
  *v = owner_->core->listener.velocity;
  return DS_OK;
}

CoreStatus ListenerImpl::SetVelocity(float x, float y, float z, uint32_t apply) {
  const SoundVector v{x, y, z};
  if (!IsFinite(v)) return DSERR_INVALIDPARAM;
  return Change(apply, [&](DS3DLISTENER& p) { p.velocity = v; });
}

CoreStatus ListenerImpl::GetOrientation(SoundVector* front, SoundVector* top) {
  if (!front || !top) return DSERR_INVALIDPARAM;
  auto lock = owner_->core->Enter();
  *front = owner_->core->listener.orientFront;
  *top = owner_->core->listener.orientTop;
  return DS_OK;
}

CoreStatus ListenerImpl::SetOrientation(float fx, float fy, float fz, float tx, float ty, float tz,
                                        uint32_t apply) {
  const SoundVector front{fx, fy, fz}, top{tx, ty, tz};
  if (!ValidOrientation(front, top)) return DSERR_INVALIDPARAM;
  return Change(apply, [&](DS3DLISTENER& p) {
    p.orientFront = front;
    p.orientTop = top;
  });
}

CoreStatus ListenerImpl::GetDistanceFactor(float* f) {
  if (!f) return DSERR_INVALIDPARAM;
  auto lock = owner_->core->Enter();
  *f = owner_->core->listener.distanceFactor;
  return DS_OK;
}

CoreStatus ListenerImpl::SetDistanceFactor(float f, uint32_t apply) {
  if (!std::isfinite(f) || f <= 0.0f) return DSERR_INVALIDPARAM;
  return Change(apply, [&](DS3DLISTENER& p) { p.distanceFactor = f; });
}

CoreStatus ListenerImpl::GetRolloffFactor(float* f) {
  if (!f) return DSERR_INVALIDPARAM;
  auto lock = owner_->core->Enter();
  *f = owner_->core->listener.rolloffFactor;
  return DS_OK;
}

CoreStatus ListenerImpl::SetRolloffFactor(float f, uint32_t apply) {
  if (!ValidFactor(f, DS3D_MAXROLLOFFFACTOR)) return DSERR_INVALIDPARAM;
  return Change(apply, [&](DS3DLISTENER& p) { p.rolloffFactor = f; });
}

CoreStatus ListenerImpl::GetDopplerFactor(float* f) {
  if (!f) return DSERR_INVALIDPARAM;
  auto lock = owner_->core->Enter();
  *f = owner_->core->listener.dopplerFactor;
  return DS_OK;
}

CoreStatus ListenerImpl::SetDopplerFactor(float f, uint32_t apply) {
  if (!ValidFactor(f, DS3D_MAXDOPPLERFACTOR)) return DSERR_INVALIDPARAM;
  return Change(apply, [&](DS3DLISTENER& p) { p.dopplerFactor = f; });
}

CoreStatus ListenerImpl::CommitDeferredSettings() {
  DeviceCore& core = *owner_->core;
  auto lock = core.Enter();
  if (core.listenerDirty) {
    core.listener = core.listenerPending;
    core.listenerDirty = false;
  }
  for (BufferImpl* b : core.buffers) {
    if (!b->state3d.dirty) continue;
    b->state3d.current = b->state3d.pending;
    b->state3d.dirty = false;
  }
  return DS_OK;
}

}  // namespace platform::audio_impl
