#include "engine/frame/ParticleServiceItem.h"

#include <algorithm>

#include "engine/math/Noise.h"
#include "engine/frame/ParticleEmitter.h"
#include "engine/frame/ParticleService.h"
#include "platform/Random.h"

namespace {

float Sample(float min, float max) {
  const int k = platform::Rand() & 255;
  return min + (max - min) * static_cast<float>(k) / 255.0f;
}

float Sample(const ParticleFloatRange& r) { return Sample(r.min, r.max); }

// Uniform in [0, 1] from the engine's random numbers.
float Uniform() { return Noise_RandomFloatInRange(0.0f, 1.0f); }

}  // namespace

cParticleServiceItem::~cParticleServiceItem() {
  for (cParticleEmitter* emitter : emitters_) delete emitter;
  emitters_.clear();
  if (service_) service_->RemoveItem(this);
}

float cParticleServiceItem::GetEmitterLife() { return Sample(params_.emitterLifespan); }
float cParticleServiceItem::GetParticleLife() { return Sample(params_.particleLifespan); }
int32_t cParticleServiceItem::GetNumber() {
  const float v = Sample(static_cast<float>(params_.number.min), static_cast<float>(params_.number.max));
  return static_cast<int32_t>(v);
}
float cParticleServiceItem::GetCycle() { return Sample(params_.cycle); }
float cParticleServiceItem::GetRadius() { return Sample(params_.radius); }
float cParticleServiceItem::GetAperture() { return Sample(params_.aperture); }
float cParticleServiceItem::GetApertureExclusion() { return Sample(params_.apertureExclusion); }
float cParticleServiceItem::GetScaleBirth() { return Sample(params_.scaleBirth); }
float cParticleServiceItem::GetScaleDeath() { return Sample(params_.scaleDeath); }
float cParticleServiceItem::GetScaleBirthY() { return Sample(params_.scaleBirthY); }
float cParticleServiceItem::GetScaleDeathY() { return Sample(params_.scaleDeathY); }
float cParticleServiceItem::GetRotationBirth() { return Sample(params_.rotationBirth); }
float cParticleServiceItem::GetRotationDeath() { return Sample(params_.rotationDeath); }

float cParticleServiceItem::GetColourBirth(int32_t channel) {
  if (channel < 0 || channel > 3) return 0.0f;
  return Sample(params_.coloursBirth.min[channel], params_.coloursBirth.max[channel]) / 255.0f;
}

float cParticleServiceItem::GetColourDeath(int32_t channel) {
  if (channel < 0 || channel > 3) return 0.0f;
  return Sample(params_.coloursDeath.min[channel], params_.coloursDeath.max[channel]) / 255.0f;
}

float cParticleServiceItem::GetSpeed() { return Sample(params_.speed); }

JVector cParticleServiceItem::GetDrift() {
  const JVector& a = params_.driftMin;
  const JVector& b = params_.driftMax;
  const float ux = Uniform();
  const float uy = Uniform();
  const float uz = Uniform();
  return JVector(a.x + (b.x - a.x) * ux, a.y + (b.y - a.y) * uy, a.z + (b.z - a.z) * uz);
}

void cParticleServiceItem::SetParams(const ParticleFactoryParams& params) {
  params_ = params;
  gravity_ = params.gravity;
  iterationType_ = params.iterationType;
  pulseCount_ = params.pulseCount;
  startDelay_ = params.sleepTime;
  const size_t materials = params.materials.size();
  frameCount_ = static_cast<uint16_t>(std::clamp<size_t>(materials, 1, 0xFFFF));
}

CoreStatus cParticleServiceItem::Init(uint16_t index) {
  if (!service_) return status::Fail;
  ParticleFactoryParams params;
  if (!service_->GetFactory(index, &params)) return status::Fail;
  SetParams(params);
  return status::Ok;
}

void cParticleServiceItem::Update(float dt) {
  for (size_t i = 0; i < emitters_.size(); ++i) emitters_[i]->Update(dt);
  auto gone = [](cParticleEmitter* e) {
    if (!e->IsFinished() || e->GetRefCount() >= 1) return false;
    delete e;
    return true;
  };
  emitters_.erase(std::remove_if(emitters_.begin(), emitters_.end(), gone), emitters_.end());
}

cParticleEmitter* cParticleServiceItem::CreateEmitter(const JVector& position, const JVector& direction) {
  auto* emitter = new cParticleEmitter();
  emitter->Init(this);
  emitter->SetPlacement(position, direction);
  emitters_.push_back(emitter);
  return emitter;
}

void cParticleServiceItem::SetFrameCount(uint16_t frames) { frameCount_ = frames == 0 ? 1 : frames; }

const std::string& cParticleServiceItem::GetEffectName() { return params_.name; }

uint32_t cParticleServiceItem::GetQuadCapacity() const {
  if (params_.maxParticles < 1) return 0;
  return std::min(static_cast<uint32_t>(params_.maxParticles), kMaxQuads);
}

uint32_t cParticleServiceItem::CountLiveParticles() const {
  uint32_t n = 0;
  for (const cParticleEmitter* e : emitters_) n += e->GetLiveCount();
  return n;
}

void cParticleServiceItem::Reserve(FrameLists& lists, uint32_t quads) {
  const uint32_t have = static_cast<uint32_t>(lists.indices.size() / 6);
  if (quads <= have) return;
  lists.vertices.resize(static_cast<size_t>(quads) * 4);
  lists.indices.resize(static_cast<size_t>(quads) * 6);
  static constexpr float kUV[4][2] = {{0.0f, 0.0f}, {1.0f, 0.0f}, {1.0f, 1.0f}, {0.0f, 1.0f}};
  for (uint32_t q = have; q < quads; ++q) {
    const uint16_t base = static_cast<uint16_t>(q * 4);
    uint16_t* i = &lists.indices[static_cast<size_t>(q) * 6];
    i[0] = base;
    i[1] = static_cast<uint16_t>(base + 3);
    i[2] = static_cast<uint16_t>(base + 1);
    i[3] = static_cast<uint16_t>(base + 1);
    i[4] = static_cast<uint16_t>(base + 3);
    i[5] = static_cast<uint16_t>(base + 2);
    for (int k = 0; k < 4; ++k) {
      RenderVertex& v = lists.vertices[static_cast<size_t>(q) * 4 + static_cast<size_t>(k)];
      v = RenderVertex{0.0f, 0.0f, 0.0f, 0u, kUV[k][0], kUV[k][1], kUV[k][0], kUV[k][1]};
    }
  }
}

void cParticleServiceItem::Render(const JMatrix& view, const JVector& camera) {
  if (frames_.size() < frameCount_) frames_.resize(frameCount_);
  const uint32_t capacity = GetQuadCapacity();
  for (uint16_t f = 0; f < frameCount_; ++f) {
    FrameLists& lists = frames_[f];
    uint32_t wanted = 0;
    for (cParticleEmitter* e : emitters_) wanted += e->CountQuads(f, frameCount_);
    // Several emitters share the frame's mesh, which holds `capacity`
    // quads; the rest are not drawn this frame.
    const uint32_t room = std::min(wanted, capacity);
    Reserve(lists, room);
    uint32_t written = 0;
    for (cParticleEmitter* e : emitters_) {
      if (written >= room) break;
      RenderVertex* out = lists.vertices.data() + static_cast<size_t>(written) * 4;
      const uint32_t left = room - written;
      switch (e->GetDrawMode()) {
        case 1:
          written += e->BuildWrappedQuads(out, left, view, camera, f, frameCount_);
          break;
        case 2:
          written += e->BuildStreaks(out, left, view, camera, f, frameCount_);
          break;
        default:
          written += e->BuildQuads(out, left, view, camera, f, frameCount_);
          break;
      }
    }
    lists.quads = written;
  }
}
