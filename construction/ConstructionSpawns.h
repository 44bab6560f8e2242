#pragma once
// The spawns of the construction entities that exist as whole classes,
// registered by the game's action manager under their spawn names. The
// building manager's spawn joins once its placement operations exist.
#include "engine/entity/SpawnBase.h"

class SpawnGamePlot : public cSpawn_Base {
 public:
  SpawnGamePlot();
  cEntity_Base* Create(uint32_t, uint32_t, cEntity_Manager* creator, const std::string&) override;
};
