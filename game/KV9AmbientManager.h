#pragma once
// The game's ambient traffic manager: the simulation's manager with the
// loading, world build and world reset steps.
#include "game/WorldPartOps.h"
#include "simulation/AmbientManager.h"

class cKV9_AmbientManager : public cEntity_AmbientManager, public AmbientManagerOps {
 public:
  explicit cKV9_AmbientManager(cEntity_Manager* manager) : cEntity_AmbientManager(manager, kEntityType_Base) {}

  // Fails when there is no configuration to read the settings from.
  CoreStatus LoadSettings() override;
  CoreStatus RegisterAndRestore() override {
    cEntity_AmbientManager::RegisterAndRestore();
    return status::Ok;
  }
  CoreStatus Clear() override {
    cEntity_AmbientManager::Clear();
    return status::Ok;
  }
};
