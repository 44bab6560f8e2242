#include "game/KV9BuildingManager.h"

#include <algorithm>
#include <new>

#include "construction/BOInstance.h"
#include "construction/BuildableObject.h"
#include "engine/services/GlobalWrapper.h"
#include "game/world/TerrainManager.h"
#include "simulation/AirportManager.h"
#include "simulation/AmbientData.h"
#include "simulation/AmbientManager.h"

cKV9_BuildingManager::cKV9_BuildingManager(cEntity_Manager* manager)
    : cEntity_BuildingManager(manager, kEntityType_Base), game_(manager, "cKV9_BuildingManager") {}

CoreStatus cKV9_BuildingManager::LoadDataTables() {
  InstallHooks();
  return cEntity_BuildingManager::LoadDataTables();
}

void cKV9_BuildingManager::InstallHooks() {
  cKV9_GlobalWrapper* t = game_.Table();
  if (!t) return;
  // The ambient manager is made before the buildings and lives as long as
  // the game; its own hooks cover the traffic.
  if (cEntity_AmbientManager* ambient = game_.Live(t->ambientManager)) {
    ambient->InstallBuildingHooks(hooks);
  } else {
    game_.Missing("ambient manager");
  }
  // The ambient manager keeps a copy of a table record; the table's own
  // record is then freed by the caller.
  hooks.addAmbientData = [this](AmbientData* record) {
    cKV9_GlobalWrapper* table = game_.Table();
    if (cEntity_AmbientManager* ambient = table ? game_.Live(table->ambientManager) : nullptr) {
      if (record) ambient->AddAmbientData(*record);
    } else {
      game_.Missing("ambient manager");
    }
    return false;
  };
  hooks.addStaticModel = [this](C3DModel* model, const std::vector<std::string>& params) {
    cKV9_GlobalWrapper* table = game_.Table();
    if (cEntity_TerrainManager* terrain = table ? game_.Live(table->terrainManager) : nullptr) {
      terrain->AddStaticData(model, params);
    } else {
      game_.Missing("terrain manager");
    }
  };
  // The airport manager comes after the buildings in the loading sequence:
  // it is looked up at each call.
  auto airport = [this]() -> cEntity_AirportManager* {
    cKV9_GlobalWrapper* table = game_.Table();
    return table ? game_.Live(table->airportManager) : nullptr;
  };
  auto addOnce = [](std::vector<BOInstance*>& list, BOInstance* building) {
    if (building && std::find(list.begin(), list.end(), building) == list.end()) list.push_back(building);
  };
  hooks.addStorageFacility = [airport](BOInstance* storage) {
    if (cEntity_AirportManager* a = airport()) a->AddStorageFacility(storage);
  };
  hooks.removeStorageFacility = [airport](BOInstance* storage) {
    if (cEntity_AirportManager* a = airport()) a->RemoveStorageFacility(storage);
  };
  hooks.addCargoStorage = [airport, addOnce](BOInstance* storage) {
    if (cEntity_AirportManager* a = airport()) addOnce(a->storages, storage);
  };
  hooks.removeCargoStorage = [airport](BOInstance* storage) {
    if (cEntity_AirportManager* a = airport()) a->RemoveCargoStorage(storage);
  };
  hooks.addColdStorage = [airport, addOnce](BOInstance* storage) {
    if (cEntity_AirportManager* a = airport()) addOnce(a->coldStorages, storage);
  };
  hooks.removeColdStorage = [airport](BOInstance* storage) {
    if (cEntity_AirportManager* a = airport()) a->RemoveColdStorage(storage);
  };
  hooks.linkStoragesToRunway = [airport](BOInstance* runway) {
    if (cEntity_AirportManager* a = airport()) a->LinkStoragesToRunway(runway);
  };
  hooks.assignToAdmin = [airport](BOInstance* building) {
    if (cEntity_AirportManager* a = airport()) a->AssignToAdmin(building);
  };
  hooks.releaseFromAdmin = [airport](BOInstance* building) {
    if (cEntity_AirportManager* a = airport()) a->ReleaseFromAdmin(building);
  };
}

bool cKV9_BuildingManager::GetBuildingTop(int32_t cellX, int32_t cellY, float* top) {
  BOInstance* building = GetInstanceAt(cellX, cellY);
  cBuildableObject* type = building ? building->GetType() : nullptr;
  if (!type) return false;
  if (top) *top = type->GetIconHeight() + building->world.m[3][1] + 0.5f;
  return true;
}
