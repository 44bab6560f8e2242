#pragma once
// The particle frame service: it holds the effect definitions read at load
// time and the registered items, and advances every item once per frame
// unless the game is paused.
#include <cstdint>
#include <memory>
#include <vector>

#include "engine/frame/BaseService.h"
#include "engine/services/C3DPass.h"
#include "engine/math/JVector.h"
#include "engine/frame/ParticleParams.h"
#include "engine/entity/SpawnBase.h"
#include "base/Status.h"

class cParticleServiceItem;

class cParticleService : public C3DEntity, public cBaseService {
 public:
  static constexpr const char* kSpawnName = "SPN::GM:SERVICE:PARTICLE";
  // Effects are addressed by a 16-bit index.
  static constexpr size_t kMaxFactories = 65535;

  explicit cParticleService(cEntity_Manager* creator);
  // Detaches every item and releases the effects.
  ~cParticleService() override;

  CoreStatus AddItem(cParticleServiceItem* item);
  CoreStatus RemoveItem(cParticleServiceItem* item);
  // Stores a copy and gives its index; false when the index space is full.
  bool AddFactory(const ParticleFactoryParams& params, uint16_t* index);
  // Copies effect `index` (an index past the end gives the first); false,
  // with an empty material list, only when no effect is stored.
  bool GetFactory(uint16_t index, ParticleFactoryParams* out) const;
  int32_t GetFactoryCount() const { return static_cast<int32_t>(factories_.size()); }
  void ReleaseFactories();
  // Advances every item in order.
  void Update(float seconds) override;

  void SetMaxParticles(int32_t value) { maxParticles_ = value; }
  int32_t GetMaxParticles() const { return maxParticles_; }
  void SetGravity(JVector gravity) { gravity_ = gravity; }
  JVector GetGravity() const { return gravity_; }
  int32_t GetItemCount() const { return static_cast<int32_t>(items_.size()); }
  cParticleServiceItem* GetItem(int32_t i) const {
    return i >= 0 && i < GetItemCount() ? items_[static_cast<size_t>(i)] : nullptr;
  }

 private:
  int32_t maxParticles_ = 0;
  JVector gravity_;
  std::vector<cParticleServiceItem*> items_;
  std::vector<std::unique_ptr<FactoryDef>> factories_;
};

class SpawnParticleService : public cSpawn_Base {
 public:
  SpawnParticleService() : cSpawn_Base(cParticleService::kSpawnName) {}
  cEntity_Base* Create(uint32_t, uint32_t, cEntity_Manager* creator, const std::string&) override {
    return new cParticleService(creator);
  }
};
