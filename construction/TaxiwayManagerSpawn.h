#pragma once
// The spawn of the taxiway and apron manager, registered by the game's
// action manager under "SPN::KV9:TAXIWAY:MANAGER".
#include "engine/entity/SpawnBase.h"

class SpawnTaxiwayManager : public cSpawn_Base {
 public:
  SpawnTaxiwayManager();
  cEntity_Base* Create(uint32_t, uint32_t, cEntity_Manager* creator, const std::string&) override;
};
