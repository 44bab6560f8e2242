#include "game/KV9AirportManager.h"

#include "construction/BuildingManager.h"
#include "engine/entity/EntityManager.h"
#include "engine/services/GlobalWrapper.h"
#include "simulation/AirportSite.h"

CoreStatus cKV9_AirportManager::Start() {
  cEntity_Manager* entities = GetManager();
  auto* table = entities ? dynamic_cast<cKV9_GlobalWrapper*>(entities->GetGlobalWrapper()) : nullptr;
  SetSite(table ? dynamic_cast<AirportSite*>(table->buildingManager) : nullptr);
  return cEntity_AirportManager::Start();
}
