#pragma once
// The physics frame service: binds a set of entities to the physics module
// of the service table. The game loads no physics module, so a service made
// by a script stays disabled and its frame update does nothing; the calls to
// the module are kept for a module that may be bound.
#include <cstdint>
#include <vector>

#include "engine/frame/BaseService.h"
#include "engine/math/JVector.h"
#include "engine/entity/SpawnBase.h"
#include "base/Status.h"

class CorePhysics;
class PhysicsService;

// Mix-in of entities moved by the physics module.
class PhysicsServiceItem {
 public:
  PhysicsServiceItem() = default;
  virtual ~PhysicsServiceItem() = default;
  PhysicsServiceItem(const PhysicsServiceItem&) = delete;
  PhysicsServiceItem& operator=(const PhysicsServiceItem&) = delete;

  int32_t ids[3] = {-1, -1, -1};
  uint32_t word = 0;
  // The body record handed to the module.
  JVector body[9];
  PhysicsService* owner = nullptr;
  cEntity_Base* entity = nullptr;  // the entity whose transform the body takes
  int32_t worldId = -1;
  int32_t spaceId = -1;
};

class PhysicsService : public cBaseService {
 public:
  static constexpr const char* kSpawnName = "SPN::GM:SERVICE:PHYSICS";

  explicit PhysicsService(cEntity_Manager* creator);
  // Empties the item list without touching the items.
  ~PhysicsService() override;

  // Null: 0x80004005. Else keeps the module, has it create a world and a
  // space and attach them; the module's status.
  CoreStatus SetPhysics(CorePhysics* module);
  // Appends the item and, with a module, creates its body in the service's
  // space with the entity's scale x rotation x translation transform.
  CoreStatus AddItem(PhysicsServiceItem* item);
  // Nothing while disabled; no operation enables the service.
  void Update(float seconds) override;

  bool IsEnabled() const { return enabled_; }
  CorePhysics* GetPhysics() const { return physics_; }
  int32_t GetItemCount() const { return static_cast<int32_t>(items_.size()); }
  int32_t GetWorldId() const { return worldId_; }
  int32_t GetSpaceId() const { return spaceId_; }

 private:
  CorePhysics* physics_ = nullptr;
  std::vector<PhysicsServiceItem*> items_;
  int32_t worldId_ = -1;
  int32_t spaceId_ = -1;
  bool enabled_ = false;
};

class SpawnPhysicsService : public cSpawn_Base {
 public:
  SpawnPhysicsService() : cSpawn_Base(PhysicsService::kSpawnName) {}
  cEntity_Base* Create(uint32_t, uint32_t, cEntity_Manager* creator, const std::string&) override {
    return new PhysicsService(creator);
  }
};
