#pragma once
// The spawn of the road manager, registered by the game's action manager
// under "SPN::KV9:ROAD:MANAGER".
#include "engine/entity/SpawnBase.h"

class SpawnRoadManager : public cSpawn_Base {
 public:
  SpawnRoadManager();
  cEntity_Base* Create(uint32_t, uint32_t, cEntity_Manager* creator, const std::string&) override;
};
