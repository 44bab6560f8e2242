#include "construction/ConstructionSpawns.h"

#include <new>

#include "construction/GamePlot.h"

SpawnGamePlot::SpawnGamePlot() : cSpawn_Base(cEntity_GamePlot::kSpawnName) {}
cEntity_Base* SpawnGamePlot::Create(uint32_t, uint32_t, cEntity_Manager* creator, const std::string&) {
  return new (std::nothrow) cEntity_GamePlot(creator);
}
