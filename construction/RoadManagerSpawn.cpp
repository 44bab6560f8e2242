#include "construction/RoadManagerSpawn.h"

#include <new>

#include "construction/RoadManager.h"

SpawnRoadManager::SpawnRoadManager() : cSpawn_Base(cEntity_RoadManager::kSpawnName) {}

cEntity_Base* SpawnRoadManager::Create(uint32_t, uint32_t, cEntity_Manager* creator, const std::string&) {
  return new (std::nothrow) cEntity_RoadManager(creator, kEntityType_Base);
}
