#pragma once
// The spawn of the building manager, registered by the game's action manager
// under "SPN::KV9:BUILDINGMANAGER".
#include "engine/entity/SpawnBase.h"

class SpawnBuildingManager : public cSpawn_Base {
 public:
  SpawnBuildingManager();
  // The new manager, or null (with a debug line) while the manager still
  // lacks operations of its own: the loading sequence then stops there.
  cEntity_Base* Create(uint32_t, uint32_t, cEntity_Manager* creator, const std::string&) override;
};
