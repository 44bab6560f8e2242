#include "game/KV9AirportManager.h"

#include "construction/BuildingAirportSite.h"
#include "construction/BuildingManager.h"
#include "engine/entity/EntityManager.h"
#include "engine/services/GlobalWrapper.h"

cKV9_AirportManager::cKV9_AirportManager(cEntity_Manager* manager) : cEntity_AirportManager(manager) {}

cKV9_AirportManager::~cKV9_AirportManager() { SetSite(nullptr); }

void cKV9_AirportManager::AttachSite() {
  cEntity_Manager* entities = GetManager();
  auto* table = entities ? dynamic_cast<cKV9_GlobalWrapper*>(entities->GetGlobalWrapper()) : nullptr;
  cEntity_BuildingManager* buildings = table ? table->buildingManager : nullptr;
  if (ownSite_ && ownSite_->Buildings() == buildings) return;
  ownSite_ = buildings ? std::make_unique<BuildingAirportSite>(buildings) : nullptr;
  SetSite(ownSite_.get());
}

CoreStatus cKV9_AirportManager::Init() {
  AttachSite();
  return cEntity_AirportManager::Init();
}

CoreStatus cKV9_AirportManager::Start() {
  AttachSite();
  return cEntity_AirportManager::Start();
}
