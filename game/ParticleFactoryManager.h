#pragma once
// The particle-factory manager (spawned as
// "SPN::KV9:PARTICLE:FACTORY:MANAGER"): starts the game's effects. The game
// program completes it.
#include <cstdint>

#include "engine/entity/EntityBase.h"
#include "engine/math/JVector.h"

enum ParticleEffectKind : int32_t {
  kParticleEffect_Demolition = 0,
  kParticleEffect_Fire = 1,
  kParticleEffect_Tornado = 2,
};

class cEntity_ParticleFactoryManager : public cEntity_Base {
 public:
  using cEntity_Base::cEntity_Base;

  // Starts the effect at a world position along a direction; its handle, or
  // negative when it could not start.
  virtual int32_t StartEffect(int32_t kind, const JVector& position, const JVector& direction) = 0;
  virtual void StartSandstorm() = 0;
  virtual void ReleaseEffect(int32_t handle) = 0;
  virtual void SetEmitterParam1(int32_t handle, float value) = 0;
  virtual void SetEmitterParam2(int32_t handle, float value) = 0;
};
