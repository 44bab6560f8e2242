#include "engine/frame/ParticleEmitter.h"

#include <algorithm>
#include <cmath>

#include "engine/services/C3DMesh.h"
#include "engine/math/Noise.h"
#include "engine/frame/ParticleService.h"
#include "engine/frame/ParticleServiceItem.h"
#include "platform/Random.h"

namespace {

// An emitter's pool never holds more than this, whatever the effect asks.
constexpr int32_t kMaxPool = 65536;

float Component(const JVector& v, int axis) { return axis == 0 ? v.x : (axis == 1 ? v.y : v.z); }
void SetComponent(JVector& v, int axis, float value) { (axis == 0 ? v.x : (axis == 1 ? v.y : v.z)) = value; }

float Lerp(float a, float b, float t) { return a + (b - a) * t; }

uint32_t ChannelByte(float c) {
  const float v = c * 255.0f;
  if (!(v > 0.0f)) return 0;
  if (v >= 255.0f) return 255;
  return static_cast<uint32_t>(v);
}

// Sine and cosine of whole degrees.
struct TrigTables {
  float sine[360];
  float cosine[360];
  TrigTables() {
    for (int i = 0; i < 360; ++i) {
      const double a = i * 3.14159265358979323846 / 180.0;
      sine[i] = static_cast<float>(std::sin(a));
      cosine[i] = static_cast<float>(std::cos(a));
    }
  }
};

const TrigTables& Trig() {
  static const TrigTables tables;
  return tables;
}

int32_t WholeDegrees(float radians) {
  const float degrees = radians * 57.2957795f;
  if (!std::isfinite(degrees) || std::fabs(degrees) > 1.0e7f) return 0;
  int32_t d = static_cast<int32_t>(degrees) % 360;
  return d < 0 ? d + 360 : d;
}

JVector Cross(const JVector& a, const JVector& b) {
  return JVector(a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x);
}

}  // namespace

bool cParticle::Update(float dt, const JVector& acceleration, float floor, uint16_t frames, uint8_t iterationType) {
  age += dt;
  if (age > life) return false;
  if (position.y < floor) return false;
  const JVector d = drift ? *drift : JVector();
  position.x += (d.x + velocity.x) * dt;
  position.y += (d.y + velocity.y) * dt;
  position.z += (d.z + velocity.z) * dt;
  const float t = life > 0.0f ? age / life : 1.0f;
  rotation = Lerp(rotationBirth, rotationDeath, t);
  size = Lerp(sizeBirth, sizeDeath, t);
  if (separateHeight) height = Lerp(heightBirth, heightDeath, t);
  float c[4];
  for (int i = 0; i < 4; ++i) c[i] = Lerp(colourBirth[i], colourDeath[i], t);
  colour = ChannelByte(c[3]) << 24 | ChannelByte(c[0]) << 16 | ChannelByte(c[1]) << 8 | ChannelByte(c[2]);
  velocity.x += acceleration.x;
  velocity.y += acceleration.y;
  velocity.z += acceleration.z;
  if (frames == 0) {
    frame = 0;
  } else if (iterationType == 1) {
    const int32_t f = static_cast<int32_t>(static_cast<float>(frames) * t + 0.5f);
    frame = std::min<int32_t>(f, frames - 1);
  } else if (iterationType == 2) {
    frame = platform::Rand() % frames;
  } else {
    frame = 0;
  }
  return true;
}

void cParticleEmitter::Init(cParticleServiceItem* item) {
  item_ = item;
  const ParticleFactoryParams& params = item->GetParams();
  life_ = item->GetEmitterLife();
  const int32_t number = item->GetNumber();
  totalAllowed_ = number < 1 ? 0 : number;
  radius_ = item->GetRadius();
  aperture_ = item->GetAperture();
  apertureExclusion_ = item->GetApertureExclusion();
  drift = item->GetDrift();
  jitter = params.box;
  startDelay_ = item->GetStartDelay();
  separateHeight_ = params.scaleType == 1;
  drawMode_ = params.weatherType;
  age_ = 0.0f;
  emitted_ = 0;
  toNextPulse_ = 0.0f;
  const int32_t size = std::min(params.maxParticles, kMaxPool);
  pool_.clear();
  if (size >= 1) pool_.resize(static_cast<size_t>(size));
  handedOut_ = 0;
  free_ = nullptr;
  live_ = nullptr;
  liveCount_ = 0;
}

void cParticleEmitter::SetPlacement(const JVector& position, const JVector& direction) {
  position_ = position;
  direction_ = direction;
}

void cParticleEmitter::SetFrozen(bool frozen) { frozen_ = frozen; }

int32_t cParticleEmitter::AddRef() { return ++refCount_; }

int32_t cParticleEmitter::Release() { return --refCount_; }

void cParticleEmitter::Update(float dt) {
  if (finished_ || !item_) return;
  if (frozen_ || !std::isfinite(dt) || dt < 0.0f) dt = 0.0f;
  if (startDelay_ > 0.0f) {
    startDelay_ -= dt;
    if (startDelay_ > 0.0f) return;
    dt = -startDelay_;  // the part of the frame after the delay
    startDelay_ = 0.0f;
  }

  float remaining = dt;
  while (remaining > 0.0f) {
    const float step = std::min(toNextPulse_, remaining);
    toNextPulse_ -= step;
    remaining -= step;
    if (toNextPulse_ <= 0.0f && !frozen_) {
      const float cycle = item_->GetCycle();
      toNextPulse_ += cycle >= kMinCycle ? cycle : kMinCycle;
      if (!suppressed && !emissionFinished_) Emit();
    }
    age_ += step;
    // A stopped emitter is done emitting too: without this an endless effect
    // (no life, no total) that was stopped would never finish, and its owner
    // would keep its record, and the item its pool, for good.
    if (suppressed || (life_ > 0.0f && age_ >= life_) || (totalAllowed_ > 0 && emitted_ >= totalAllowed_)) {
      emissionFinished_ = true;
      if (liveCount_ == 0) {
        finished_ = true;
        break;
      }
    }
  }

  JVector gravity;
  if (cParticleService* service = item_->GetParticleService()) gravity = service->GetGravity();
  const float k = dt * item_->GetGravityFactor();
  const JVector acceleration(gravity.x * k, gravity.y * k, gravity.z * k);
  const uint16_t frames = item_->GetFrameCount();
  const uint8_t iteration = item_->GetIterationType();
  cParticle* previous = nullptr;
  for (cParticle* p = live_; p;) {
    cParticle* next = p->next;
    if (p->Update(dt, acceleration, floorHeight, frames, iteration)) {
      previous = p;
    } else {
      (previous ? previous->next : live_) = next;
      p->next = free_;
      free_ = p;
      --liveCount_;
    }
    p = next;
  }
}

void cParticleEmitter::Emit() {
  int32_t count = item_->GetPulseCount();
  if (count < 0) count = 0;
  if (totalAllowed_ > 0) count = std::min(count, totalAllowed_ - emitted_);
  emitted_ += count;
  for (int32_t i = 0; i < count; ++i) {
    cParticle* p = nullptr;
    if (free_) {
      p = free_;
      free_ = p->next;
    } else if (handedOut_ < pool_.size()) {
      p = &pool_[handedOut_++];
    } else {
      break;  // the pool is exhausted: the pulse stops here
    }
    Birth(p);
    p->next = live_;
    live_ = p;
    ++liveCount_;
  }
}

void cParticleEmitter::Birth(cParticle* p) {
  cParticleServiceItem* item = item_;
  p->emitter = this;
  p->age = 0.0f;
  p->frame = 0;
  p->life = item->GetParticleLife() * lifeScale;
  for (int c = 0; c < 4; ++c) p->colourBirth[c] = item->GetColourBirth(c);
  for (int c = 0; c < 4; ++c) p->colourDeath[c] = item->GetColourDeath(c);
  p->sizeBirth = item->GetScaleBirth() * sizeScale;
  p->sizeDeath = item->GetScaleDeath() * sizeScale;
  p->separateHeight = separateHeight_;
  if (separateHeight_) {
    p->heightBirth = item->GetScaleBirthY();
    p->heightDeath = item->GetScaleDeathY();
  } else {
    p->heightBirth = p->sizeBirth;
    p->heightDeath = p->sizeDeath;
  }
  p->rotationBirth = item->GetRotationBirth();
  p->rotationDeath = item->GetRotationDeath();
  p->size = p->sizeBirth;
  p->height = p->heightBirth;
  p->rotation = p->rotationBirth;
  p->colour = ChannelByte(p->colourBirth[3]) << 24 | ChannelByte(p->colourBirth[0]) << 16 |
              ChannelByte(p->colourBirth[1]) << 8 | ChannelByte(p->colourBirth[2]);

  JVector position = position_;
  for (int axis = 0; axis < 3; ++axis) {
    const float u = static_cast<float>(platform::Rand() & 255) / 255.0f;
    float offset = (2.0f * u - 1.0f) * radius_;
    const float j = Component(jitter, axis);
    // The height axis gets no jitter for the weather modes: rain and snow
    // fall from the emitter's height.
    if (j != 0.0f && (axis != 1 || drawMode_ == 0)) offset += Noise_RandomFloatInRange(-j, j);
    SetComponent(position, axis, Component(position, axis) + offset);
  }
  p->position = position;

  // The direction tilted off the emitter direction by an angle between the
  // aperture exclusion and the aperture, turned about it by a random angle.
  const float sample = static_cast<float>(platform::Rand() & 255) / 255.0f;
  float tilt = apertureExclusion_ + (aperture_ - apertureExclusion_) * sample;
  if ((platform::Rand() & 2) == 0) tilt = -tilt;
  const float w = static_cast<float>(platform::Rand() & 511) / 256.0f - 1.0f;
  const float turn = 3.14f * w;
  JVector direction;
  const float length = std::sqrt(direction_.x * direction_.x + direction_.y * direction_.y +
                                 direction_.z * direction_.z);
  if (length > 0.0f && std::isfinite(length)) {
    const JVector n(direction_.x / length, direction_.y / length, direction_.z / length);
    JVector a = std::fabs(n.y) < 0.9f ? Cross(n, JVector(0.0f, 1.0f, 0.0f)) : Cross(n, JVector(1.0f, 0.0f, 0.0f));
    a.Normalize();
    const JVector b = Cross(n, a);
    const float ct = std::cos(tilt);
    const float st = std::sin(tilt);
    const float cp = std::cos(turn);
    const float sp = std::sin(turn);
    direction = JVector(length * (ct * n.x + st * (cp * a.x + sp * b.x)),
                        length * (ct * n.y + st * (cp * a.y + sp * b.y)),
                        length * (ct * n.z + st * (cp * a.z + sp * b.z)));
  }
  const float speed = item->GetSpeed();
  p->velocity = JVector(direction.x * speed, direction.y * speed, direction.z * speed);
  p->drift = &drift;
}

uint32_t cParticleEmitter::CountQuads(int32_t frame, uint16_t frames) {
  if (frames <= 1) return frame == 0 ? liveCount_ : 0;
  uint32_t n = 0;
  for (const cParticle* p = live_; p; p = p->next) {
    if (p->frame == frame) ++n;
  }
  return n;
}

template <typename Place>
uint32_t cParticleEmitter::Build(RenderVertex* out, uint32_t room, const JMatrix& view, int32_t frame,
                                 uint16_t frames, bool streaks, Place place) {
  const TrigTables& trig = Trig();
  uint32_t written = 0;
  for (const cParticle* p = live_; p && written < room; p = p->next) {
    if (frames > 1 && p->frame != frame) continue;
    if (frames <= 1 && frame != 0) continue;
    JVector centre = place(p->position);
    centre.Transform(view);
    const float hx = p->size * 0.5f;
    const float hy = (separateHeight_ ? p->height : p->size) * 0.5f;
    float c = 1.0f;
    float s = 0.0f;
    if (!streaks) {
      const int32_t d = WholeDegrees(p->rotation);
      c = trig.cosine[d];
      s = trig.sine[d];
    }
    // Corners in the order the texture corners were prefilled: top left,
    // top right, bottom right, bottom left.
    static constexpr float kCorner[4][2] = {{-1.0f, 1.0f}, {1.0f, 1.0f}, {1.0f, -1.0f}, {-1.0f, -1.0f}};
    RenderVertex* v = out + static_cast<size_t>(written) * 4;
    for (int k = 0; k < 4; ++k) {
      const float ox = kCorner[k][0] * hx;
      const float oy = kCorner[k][1] * hy;
      v[k].x = centre.x + ox * c - oy * s;
      v[k].y = centre.y + ox * s + oy * c;
      v[k].z = centre.z;
      v[k].diffuse = p->colour;
    }
    ++written;
  }
  return written;
}

uint32_t cParticleEmitter::BuildQuads(RenderVertex* out, uint32_t room, const JMatrix& view, const JVector&,
                                      int32_t frame, uint16_t frames) {
  return Build(out, room, view, frame, frames, false, [](const JVector& p) { return p; });
}

namespace {

// The position moved by whole box widths into the box of half-size `box`
// centred on the camera (axes with no box stay).
JVector WrapAround(const JVector& p, const JVector& camera, const JVector& box) {
  JVector out = p;
  for (int axis = 0; axis < 3; ++axis) {
    const float half = Component(box, axis);
    if (!(half > 0.0f)) continue;
    const float width = 2.0f * half;
    float rel = Component(p, axis) - Component(camera, axis);
    rel -= width * std::floor((rel + half) / width);
    SetComponent(out, axis, Component(camera, axis) + rel);
  }
  return out;
}

}  // namespace

uint32_t cParticleEmitter::BuildWrappedQuads(RenderVertex* out, uint32_t room, const JMatrix& view,
                                             const JVector& camera, int32_t frame, uint16_t frames) {
  const JVector box = jitter;
  return Build(out, room, view, frame, frames, false,
               [&](const JVector& p) { return WrapAround(p, camera, box); });
}

uint32_t cParticleEmitter::BuildStreaks(RenderVertex* out, uint32_t room, const JMatrix& view, const JVector& camera,
                                        int32_t frame, uint16_t frames) {
  const JVector box = jitter;
  return Build(out, room, view, frame, frames, true, [&](const JVector& p) { return WrapAround(p, camera, box); });
}
