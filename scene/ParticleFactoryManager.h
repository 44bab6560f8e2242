#pragma once
// The particle-effect manager (spawned as
// "SPN::KV9:PARTICLE:FACTORY:MANAGER"): starts, moves, stops and removes the
// weather effects (rain, storm rain, snow, blizzard), the disasters (tornado,
// sandstorm) and the building effects. Each effect is one emitter of a
// particle factory, known to callers by a non-zero id.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/entity/EntityBase.h"
#include "engine/entity/SpawnBase.h"
#include "engine/frame/TimeService.h"
#include "engine/math/JVector.h"

class cParticleEmitter;
class cKV9_GlobalWrapper;
class SoundHandle;

enum ParticleEffectKind : int32_t {
  kParticleEffect_Demolition = 0,
  kParticleEffect_Fire = 1,
  kParticleEffect_Tornado = 2,
};

class cEntity_ParticleFactoryManager : public cEntity_Base, public TimeServiceItem {
 public:
  static constexpr const char* kSpawnName = "SPN::KV9:PARTICLE:FACTORY:MANAGER";
  // Factory indices of the effects (0 is the built-in default factory).
  enum FactoryIndex : uint16_t {
    kFactoryFalling = 1,
    kFactorySnow = 2,
    kFactoryBuildingA = 3,
    kFactorySandstorm = 4,
    kFactoryTornado = 6,
    kFactoryStormRain = 7,
    kFactoryRain = 8,
    kFactoryBuildingB = 9,
    kFactoryBlizzard = 10,
  };
  // How a running effect is moved each update.
  enum EffectKind : uint32_t {
    kKindRain = 0,
    kKindStormRain = 1,
    kKindSnow = 2,
    kKindFalling = 3,
    kKindBlizzard = 4,
    kKindSandstorm = 5,
    kKindTornado = 6,
    kKindBuilding = 7,
    kKindBuildingB = 8,
  };
  static constexpr float kWeatherKillHeight = -100000.0f;
  static constexpr float kTornadoBound = 140.0f;
  static constexpr const char* kTornadoSound = "Sounds\\weather\\WE_swind.wav";

  struct ParticleEmitterInfo {
    uint32_t id = 0;
    uint32_t kind = 0;
    cParticleEmitter* emitter = nullptr;
    SoundHandle* sound = nullptr;  // the tornado's wind
    float radius = 0.0f;           // the factory's largest birth radius
  };

  explicit cEntity_ParticleFactoryManager(cEntity_Manager* manager, uint32_t type = kEntityType_Base);
  ~cEntity_ParticleFactoryManager() override;

  // Registers with "TimeService" and reads App "Particles" ("true" in any
  // case, or missing, enables the effects). 0.
  virtual CoreStatus InitEffects();

  // The start operations answer the new effect's id, or 0 when it could not
  // start (no such factory: a diagnostic names the index).
  virtual uint32_t StartTornado(const JVector& position);
  virtual uint32_t StartSnow();
  virtual uint32_t StartRain();
  virtual uint32_t StartFallingEffect();
  virtual uint32_t StartStormRain();
  virtual uint32_t StartSandstormEffect();
  // Building effects at a point: `second` picks factory 9 over factory 3.
  virtual uint32_t StartBuildingEffect(const JVector& position, bool second);
  virtual uint32_t StartNamedEffect(const std::string& factoryName, const JVector& position);
  uint32_t StartBlizzard();

  // The older entry the event manager uses: kind Tornado, Fire (factory 3)
  // or Demolition (factory 9) at a position.
  virtual int32_t StartEffect(int32_t kind, const JVector& position, const JVector& direction);
  virtual void StartSandstorm();
  virtual void ReleaseEffect(int32_t id);

  CoreStatus StopEffect(uint32_t id);
  CoreStatus MoveEffect(uint32_t id, const JVector& position);
  cParticleEmitter* GetEffectEmitter(uint32_t id);
  virtual void SetEmitterParam1(int32_t id, float value);
  virtual void SetEmitterParam2(int32_t id, float value);
  // Deletes every record (the world reset).
  void Clear();
  // Effects are not saved: saving succeeds with nothing, loading refuses.
  bool Save(std::vector<uint8_t>* bytes) const;
  bool Load(const uint8_t* bytes, uint32_t size);

  // The weather's wind: the force of the weather effects (not owned).
  void SetWind(const JVector* wind) { wind_ = wind; }
  void SetEnabled(bool on) { enabled_ = on ? 1 : 0; }
  bool IsEnabled() const { return enabled_ != 0; }
  size_t GetEffectCount() const { return infos_.size(); }
  const ParticleEmitterInfo* GetEffect(size_t i) const { return i < infos_.size() ? infos_[i].get() : nullptr; }

  // Every frame: finished records (all of them when disabled) go, the rest
  // move by their kind.
  void OnTimeEvent(TimeEvent* event) override;
  void UpdateEffects();

 private:
  uint32_t Start(uint16_t factory, uint32_t kind, const JVector& position, const JVector& direction,
                 const JVector* force, bool weather);
  ParticleEmitterInfo* Find(uint32_t id);
  void Remove(size_t index);
  uint32_t NextId();
  float ViewValue();

  std::vector<std::unique_ptr<ParticleEmitterInfo>> infos_;
  uint32_t lastId_ = 0;
  uint8_t enabled_ = 1;
  void* userPointer_ = nullptr;
  cKV9_GlobalWrapper* wrapper_ = nullptr;
  const JVector* wind_ = nullptr;
  JVector calm_{0.0f, 0.0f, 0.0f};
};

class SpawnParticleFactoryManager : public cSpawn_Base {
 public:
  SpawnParticleFactoryManager() : cSpawn_Base(cEntity_ParticleFactoryManager::kSpawnName) {}
  cEntity_Base* Create(uint32_t, uint32_t, cEntity_Manager* creator, const std::string&) override;
};
