#pragma once
// Mix-in of entities that run particle effects: it holds one effect's
// parameters (copied from the particle service), owns the emitters made
// from it, advances them every frame and builds their camera-facing quads,
// one vertex and index list per texture frame.
#include <cstdint>
#include <string>
#include <vector>

#include "engine/services/C3DMesh.h"
#include "engine/math/JMatrix.h"
#include "engine/math/JVector.h"
#include "engine/frame/ParticleParams.h"
#include "base/Status.h"

class cParticleEmitter;
class cParticleService;

class cParticleServiceItem {
 public:
  // 16-bit indices address at most 65,536 vertices: four per quad.
  static constexpr uint32_t kMaxQuads = 16384;

  cParticleServiceItem() = default;
  // Deletes its emitters; detaches from the service.
  virtual ~cParticleServiceItem();
  cParticleServiceItem(const cParticleServiceItem&) = delete;
  cParticleServiceItem& operator=(const cParticleServiceItem&) = delete;

  // Fresh samples of the effect's ranges.
  virtual float GetEmitterLife();
  virtual float GetParticleLife();
  virtual int32_t GetNumber();
  virtual float GetCycle();
  virtual float GetRadius();
  virtual float GetAperture();
  virtual float GetApertureExclusion();
  virtual float GetScaleBirth();
  virtual float GetScaleDeath();
  virtual float GetScaleBirthY();
  virtual float GetScaleDeathY();
  virtual float GetRotationBirth();
  virtual float GetRotationDeath();
  // Channel 0..3 (red, green, blue, alpha) as 0..1.
  virtual float GetColourBirth(int32_t channel);
  virtual float GetColourDeath(int32_t channel);
  virtual float GetSpeed();
  virtual JVector GetDrift();

  // Copies effect `index` from the owning service (an index past the end
  // gives the first effect). Fail without a service or effects.
  virtual CoreStatus Init(uint16_t index);
  // Advances every emitter, then deletes the finished ones nobody holds.
  virtual void Update(float dt);
  // Builds the quads of every texture frame for the view; nothing here is
  // drawn (the entity that carries the item draws the lists).
  virtual void Render(const JMatrix& view, const JVector& camera);
  // A new emitter at that place, owned by the item.
  virtual cParticleEmitter* CreateEmitter(const JVector& position, const JVector& direction);
  virtual void SetFrameCount(uint16_t frames);
  virtual const std::string& GetEffectName();

  // The most quads one texture frame may hold: the effect's pool size,
  // never above kMaxQuads. Quads past it are not drawn.
  uint32_t GetQuadCapacity() const;
  uint16_t GetFrameCount() const { return frameCount_; }
  // The lists of texture frame f after Render: 4 vertices and 6 indices per
  // quad; quads past the count are stale.
  uint32_t GetQuadCount(uint16_t f) const { return f < frames_.size() ? frames_[f].quads : 0; }
  RenderVertex* GetVertices(uint16_t f) { return f < frames_.size() ? frames_[f].vertices.data() : nullptr; }
  uint16_t* GetIndices(uint16_t f) { return f < frames_.size() ? frames_[f].indices.data() : nullptr; }

  cParticleService* GetParticleService() const { return service_; }
  const ParticleFactoryParams& GetParams() const { return params_; }
  void SetParams(const ParticleFactoryParams& params);
  float GetGravityFactor() const { return gravity_; }
  uint8_t GetIterationType() const { return iterationType_; }
  int32_t GetPulseCount() const { return pulseCount_; }
  float GetStartDelay() const { return startDelay_; }
  int32_t GetListIndex() const { return listIndex_; }
  int32_t GetEmitterCount() const { return static_cast<int32_t>(emitters_.size()); }
  cParticleEmitter* GetEmitter(int32_t i) const {
    return i >= 0 && i < GetEmitterCount() ? emitters_[static_cast<size_t>(i)] : nullptr;
  }
  // Live particles of every emitter.
  uint32_t CountLiveParticles() const;

 private:
  friend class cParticleService;

  struct FrameLists {
    std::vector<RenderVertex> vertices;
    std::vector<uint16_t> indices;
    uint32_t quads = 0;
  };
  // Grows the lists of a frame to `quads` quads (never shrinks), prefilling
  // the new indices and texture corners.
  void Reserve(FrameLists& lists, uint32_t quads);

  cParticleService* service_ = nullptr;
  float gravity_ = 0.0f;
  uint16_t frameCount_ = 1;
  uint8_t iterationType_ = 0;
  int32_t pulseCount_ = 0;
  float startDelay_ = 0.0f;
  ParticleFactoryParams params_;
  int32_t listIndex_ = 0;
  std::vector<cParticleEmitter*> emitters_;
  std::vector<FrameLists> frames_;
};
