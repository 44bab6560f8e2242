#pragma once
// An emitter of one effect: it waits out its start delay, emits particles
// in pulses from its fixed pool, moves, ages, recolours, resizes and kills
// them, and finishes once its emission is over and its last particle died.
// Its item deletes it when it has finished and nobody holds a reference.
#include <cstdint>
#include <vector>

#include "engine/math/JMatrix.h"
#include "engine/math/JVector.h"
#include "engine/frame/Particle.h"

class cParticleServiceItem;
struct RenderVertex;

class cParticleEmitter {
 public:
  // A pulse cycle shorter than this is taken as this long, so that a zero
  // cycle cannot stall the frame.
  static constexpr float kMinCycle = 0.001f;

  cParticleEmitter() = default;
  virtual ~cParticleEmitter() = default;
  cParticleEmitter(const cParticleEmitter&) = delete;
  cParticleEmitter& operator=(const cParticleEmitter&) = delete;

  // Samples the emitter's values from the item and allocates its pool.
  virtual void Init(cParticleServiceItem* item);
  virtual void Update(float dt);
  virtual void SetPlacement(const JVector& position, const JVector& direction);
  virtual void SetFrozen(bool frozen);
  // Live particles showing texture frame `frame` (all of them with one frame).
  virtual uint32_t CountQuads(int32_t frame, uint16_t frames);
  // Quad builders: each writes at most `room` camera-facing quads (four
  // vertices) of the particles showing `frame` and answers how many.
  // Plain quads (draw mode 0).
  virtual uint32_t BuildQuads(RenderVertex* out, uint32_t room, const JMatrix& view, const JVector& camera,
                              int32_t frame, uint16_t frames);
  // Quads of positions wrapped into the box around the camera (snow, 1).
  virtual uint32_t BuildWrappedQuads(RenderVertex* out, uint32_t room, const JMatrix& view, const JVector& camera,
                                     int32_t frame, uint16_t frames);
  // Unrotated size x height rectangles of wrapped positions (rain, 2).
  virtual uint32_t BuildStreaks(RenderVertex* out, uint32_t room, const JMatrix& view, const JVector& camera,
                                int32_t frame, uint16_t frames);
  virtual int32_t AddRef();
  virtual int32_t Release();

  bool IsFinished() const { return finished_; }
  bool IsEmissionFinished() const { return emissionFinished_; }
  int32_t GetRefCount() const { return refCount_; }
  uint32_t GetLiveCount() const { return liveCount_; }
  int32_t GetEmitted() const { return emitted_; }
  int32_t GetTotalAllowed() const { return totalAllowed_; }
  uint32_t GetPoolSize() const { return static_cast<uint32_t>(pool_.size()); }
  float GetLife() const { return life_; }
  float GetAge() const { return age_; }
  float GetStartDelay() const { return startDelay_; }
  int32_t GetDrawMode() const { return drawMode_; }
  const cParticle* GetFirstLive() const { return live_; }
  JVector GetPosition() const { return position_; }
  JVector GetDirection() const { return direction_; }

  // Values the effect's owner tunes.
  JVector drift;
  JVector jitter;
  float lifeScale = 1.0f;
  float sizeScale = 1.0f;
  float floorHeight = 0.0f;  // particles below it die
  bool suppressed = false;   // emits nothing more; finishes with its last particle
  const JVector* force = nullptr;  // the owner's force vector (wind), not owned

 private:
  void Emit();
  void Birth(cParticle* p);
  template <typename Place>
  uint32_t Build(RenderVertex* out, uint32_t room, const JMatrix& view, int32_t frame, uint16_t frames,
                 bool streaks, Place place);

  bool finished_ = false;
  cParticleServiceItem* item_ = nullptr;
  JVector direction_;
  JVector position_;
  float radius_ = 0.0f;
  float aperture_ = 0.0f;
  float apertureExclusion_ = 0.0f;
  int32_t drawMode_ = 0;
  bool separateHeight_ = false;
  int32_t refCount_ = 0;
  bool frozen_ = false;
  bool emissionFinished_ = false;
  float life_ = 0.0f;
  float startDelay_ = 0.0f;
  float age_ = 0.0f;
  float toNextPulse_ = 0.0f;
  int32_t totalAllowed_ = 0;
  int32_t emitted_ = 0;
  cParticle* live_ = nullptr;
  std::vector<cParticle> pool_;
  uint32_t handedOut_ = 0;
  cParticle* free_ = nullptr;
  uint32_t liveCount_ = 0;
};
