// The ambient manager's road traffic: ambient-data records and models, the
// vehicles it makes (ordinary ones under the limit), the traffic queries the
// vehicles ask, snow vehicles, trips between buildings and the console's
// switch.
#include <algorithm>
#include <cmath>

#include "base/StringUtil.h"
#include "construction/BOInstance.h"
#include "construction/BuildableObject.h"
#include "construction/BuildingHooks.h"
#include "construction/BuildingManager.h"
#include "construction/PathFinder.h"
#include "engine/entity/EntityManager.h"
#include "engine/frame/GameManager.h"
#include "engine/math/Noise.h"
#include "engine/services/GlobalWrapper.h"
#include "scene/AudioManager.h"
#include "simulation/AirportManager.h"
#include "simulation/AmbientManager.h"
#include "simulation/ContractManager.h"
#include "simulation/Maintenance.h"
#include "simulation/SimulationClock.h"
#include "simulation/SimulationServices.h"
#include "simulation/SlowDown.h"
#include "simulation/Vehicle.h"

namespace {

constexpr const char* kRunningSound = "Sounds\\car-run03.ogg";
constexpr float kNoVehicle = 10000000.0f;
constexpr float kSameLane = 0.05f;

int32_t RandomIndex(size_t count) { return Noise_RandomIntInRange(0, static_cast<int32_t>(count) - 1); }

}  // namespace

std::vector<BOInstance*> cEntity_AmbientManager::PlacedBuildings(bool operatingOnly) {
  std::vector<BOInstance*> out;
  cKV9_GlobalWrapper* table = Table();
  cEntity_BuildingManager* buildings = table ? table->buildingManager : nullptr;
  if (!buildings) return out;
  for (uint8_t classCode = 0; classCode < kBuildingClassCount; ++classCode) {
    const uint16_t ids = buildings->GetTypeIdCount(classCode);
    for (uint16_t id = 0; id < ids; ++id) {
      for (uint8_t level = 0; level < kBuildingLevelCount; ++level) {
        cBuildableObject* type = buildings->GetBuildingType(classCode, id, level);
        if (!type) continue;
        const uint32_t n = operatingOnly ? type->GetOperatingInstanceCount() : type->GetInstanceCount();
        for (uint32_t i = 0; i < n; ++i) {
          BOInstance* instance = operatingOnly ? type->GetOperatingInstance(i) : type->GetInstance(i);
          if (instance) out.push_back(instance);
        }
      }
    }
  }
  return out;
}

void cEntity_AmbientManager::AddAmbientData(const AmbientData& record) {
  AmbientData r = record;
  r.state = 0;
  cEntity_BuildingManager* buildings = Table() ? Table()->buildingManager : nullptr;
  const auto anyExists = [buildings](const std::vector<uint32_t>& kinds) {
    if (!buildings) return false;
    return std::any_of(kinds.begin(), kinds.end(),
                       [buildings](uint32_t word) { return buildings->GetInstanceCountOfType(word) > 0; });
  };
  if (anyExists(r.originKinds)) r.state |= 1;
  if (anyExists(r.destinationKinds)) r.state |= 2;
  if (r.state == 3) {
    ambientData.insert(ambientData.begin(), std::move(r));
    ++activeRecordCount;
  } else {
    ambientData.push_back(std::move(r));
  }
}

void cEntity_AmbientManager::ActivateAllAmbientData() {
  for (AmbientData& record : ambientData) record.state = 3;
}

std::string cEntity_AmbientManager::ChooseModelForKind(uint32_t kind) {
  std::vector<const AmbientData*> candidates;
  for (const AmbientData& record : ambientData) {
    if (record.kindFlags & kind) candidates.push_back(&record);
  }
  if (candidates.empty()) return {};
  return candidates[static_cast<size_t>(RandomIndex(candidates.size()))]->modelName;
}

cEntity_Vehicle* cEntity_AmbientManager::SpawnAmbient(const std::string& modelName) {
  cKV9_GlobalWrapper* table = Table();
  cGameManager* game = GameManagerOf(table);
  if (!game) return nullptr;
  // People have no spawn of their own: a person's model makes nothing.
  const char* spawn = str::ToLower(modelName).find("man_pass") != std::string::npos ? kPersonSpawn : kVehicleSpawn;
  cEntity_Base* made = nullptr;
  if (status::Failed(game->SpawnEntity(spawn, &made)) || !made) return nullptr;
  auto* vehicle = dynamic_cast<cEntity_Vehicle*>(made);
  if (!vehicle) {
    game->DestroyEntity(made);
    return nullptr;
  }
  if (table->graphics && !modelName.empty()) vehicle->SetModelName(table->graphics, modelName);
  std::list<std::string> services{"AmbientRenderService"};
  game->AttachToServices(services, vehicle);
  if (table->audioManager) table->audioManager->AddObjectSound(vehicle, kRunningSound, 1.0f, 1.0f);
  return vehicle;
}

cEntity_Vehicle* cEntity_AmbientManager::SpawnAmbientByIndex(uint32_t index) {
  return index < ambientData.size() ? SpawnAmbient(ambientData[index].modelName) : nullptr;
}

cEntity_Vehicle* cEntity_AmbientManager::MakeVehicle(uint32_t kind) {
  cKV9_GlobalWrapper* table = Table();
  cGameManager* game = GameManagerOf(table);
  cEntity_Base* made = nullptr;
  if (!game || status::Failed(game->SpawnEntity(kVehicleSpawn, &made)) || !made) return nullptr;
  auto* vehicle = dynamic_cast<cEntity_Vehicle*>(made);
  if (!vehicle) {
    game->DestroyEntity(made);
    return nullptr;
  }
  vehicle->kindFlags = kind;
  const std::string model = ChooseModelForKind(kind);
  if (table->graphics && !model.empty()) vehicle->SetModelName(table->graphics, model);
  std::list<std::string> services{"AmbientRenderService"};
  game->AttachToServices(services, vehicle);
  vehicle->SetScale(0.05f, 0.05f, 0.05f);
  cSimulation_Clock* clock = GameClockOf(table);
  if (clock && clock->speed <= kSoundSpeedLimit && table->audioManager)
    table->audioManager->AddObjectSound(vehicle, kRunningSound, 1.0f, 1.0f);
  if (clock) clock->RegisterTimeObject(vehicle);
  return vehicle;
}

bool cEntity_AmbientManager::AdmitOrdinary(uint32_t kind) {
  if (kind & kVehicleKind_Service) return true;
  cKV9_GlobalWrapper* table = Table();
  const cEntity_ContractManager* contracts = table ? table->contractManager : nullptr;
  const cEntity_AirportManager* airport = table ? table->airportManager : nullptr;
  const bool running = contracts && contracts->running;
  const bool closed = airport && airport->closure > 0;
  if (!running || closed || trafficCount > ambientLimit) {
    ++refusedCount;
    return false;
  }
  return true;
}

void cEntity_AmbientManager::AddVehicle(cEntity_Vehicle* vehicle) {
  if (!vehicle) return;
  auto slot = std::find(vehicles.begin(), vehicles.end(), nullptr);
  if (slot != vehicles.end()) *slot = vehicle;
  else slot = vehicles.insert(vehicles.end(), vehicle);
  trafficIndex_.Add(vehicle, static_cast<size_t>(slot - vehicles.begin()));
  if (vehicle->IsOrdinary()) ++trafficCount;
  refusedCount = 0;
}

void cEntity_AmbientManager::RemoveVehicle(cEntity_Vehicle* vehicle) {
  auto it = std::find(vehicles.begin(), vehicles.end(), vehicle);
  if (it == vehicles.end()) return;
  *it = nullptr;
  trafficIndex_.Remove(vehicle);
  if (vehicle->IsOrdinary() && trafficCount > 0) --trafficCount;
}

void cEntity_AmbientManager::ForgetMaintenance(cEntity_Maintanance* vehicle) {
  auto it = std::find(maintenanceVehicles.begin(), maintenanceVehicles.end(), vehicle);
  if (it != maintenanceVehicles.end()) *it = nullptr;
}

void cEntity_AmbientManager::SpawnLeavingVehicle(uint16_t x, uint16_t y, BOInstance* building) {
  if (noAmbients || !AdmitOrdinary(0)) return;
  cEntity_Vehicle* vehicle = MakeVehicle(0);
  if (!vehicle) return;
  vehicle->refusedBefore = refusedCount;
  vehicle->originBuilding = building;
  AddVehicle(vehicle);
  vehicle->StartLeaving(x, y, x, y, 0);
}

bool cEntity_AmbientManager::RoadCellOutside(BOInstance* building, uint16_t* x, uint16_t* y, uint8_t* direction) {
  cKV9_GlobalWrapper* table = Table();
  cEntity_BuildingManager* buildings = table ? table->buildingManager : nullptr;
  if (!building || !buildings) return false;
  std::vector<RoadAccessCell> cells;
  buildings->GetRoadAccessCells(building, cells);
  if (cells.empty()) return false;
  const RoadAccessCell& cell = cells[static_cast<size_t>(RandomIndex(cells.size()))];
  float dx = 0.0f, dz = 0.0f;
  GridStep(cell.direction, &dx, &dz);
  *x = static_cast<uint16_t>(cell.x + static_cast<int32_t>(dx));
  *y = static_cast<uint16_t>(cell.y + static_cast<int32_t>(dz));
  *direction = cell.direction;
  return !table->pathFinder || table->pathFinder->GetNodeAt(*x, *y) != nullptr;
}

void cEntity_AmbientManager::SendVehicleBetweenBuildings(BOInstance* from, BOInstance* to, uint32_t kind) {
  if (!from || !to) return;
  uint16_t ax = 0, ay = 0, bx = 0, by = 0;
  uint8_t ad = 0, bd = 0;
  if (!RoadCellOutside(from, &ax, &ay, &ad) || !RoadCellOutside(to, &bx, &by, &bd)) return;
  SpawnVehicle(ax, ay, bx, by, kind, to, ad);
  for (cEntity_Vehicle* vehicle : vehicles) {
    if (vehicle && vehicle->destinationBuilding == to && !vehicle->originBuilding) vehicle->originBuilding = from;
  }
}

bool cEntity_AmbientManager::SpawnSnowVehicle() {
  cKV9_GlobalWrapper* table = Table();
  cPathFinder* finder = table ? table->pathFinder : nullptr;
  if (noAmbients || !finder) return false;
  const std::vector<BOInstance*> all = PlacedBuildings(false);
  if (all.size() < 2) return false;
  for (size_t attempt = 0; attempt < all.size(); ++attempt) {
    BOInstance* from = all[static_cast<size_t>(RandomIndex(all.size()))];
    BOInstance* to = all[static_cast<size_t>(RandomIndex(all.size()))];
    uint16_t ax = 0, ay = 0, bx = 0, by = 0;
    uint8_t ad = 0, bd = 0;
    if (from == to || !RoadCellOutside(from, &ax, &ay, &ad) || !RoadCellOutside(to, &bx, &by, &bd)) continue;
    PathRequest* test = finder->RequestPath(finder->GetNodeAt(ax, ay), finder->GetNodeAt(bx, by), 0, 0, 0);
    const bool found = test && test->route.size() >= 2;
    if (test) finder->CancelRequest(test);
    if (!found) continue;
    cEntity_Vehicle* vehicle = MakeVehicle(kVehicleKind_Snow);
    if (!vehicle) return false;
    vehicle->originBuilding = from;
    vehicle->destinationBuilding = to;
    AddVehicle(vehicle);
    vehicle->StartArrival(bx, by, ax, ay, kVehicleKind_Snow, ad);
    return true;
  }
  return false;
}

void cEntity_AmbientManager::OnBuildingRemoved(BOInstance* building) {
  if (!building) return;
  const std::vector<cEntity_Vehicle*> live = vehicles;
  for (cEntity_Vehicle* vehicle : live) {
    if (vehicle && (vehicle->originBuilding == building || vehicle->destinationBuilding == building))
      vehicle->Finish();
  }
  for (MaintConnectionData& connection : maintConnections) {
    auto& list = connection.buildings;
    list.erase(std::remove(list.begin(), list.end(), building), list.end());
  }
}

void cEntity_AmbientManager::InstallBuildingHooks(BuildingHooks& hooks) {
  hooks.spawnVehicle = [this](uint16_t x, uint16_t y, BOInstance* building) {
    uint16_t ax = 0, ay = 0;
    if (building) {
      ax = building->x;
      ay = building->y;
    }
    SpawnVehicle(x, y, ax, ay, 0, building, 0);
  };
  hooks.spawnLeavingVehicle = [this](uint16_t x, uint16_t y, BOInstance* building) {
    SpawnLeavingVehicle(x, y, building);
  };
  hooks.sendVehicleBetween = [this](BOInstance* from, BOInstance* to, uint32_t kind) {
    SendVehicleBetweenBuildings(from, to, kind);
  };
  hooks.onBuildingRemoved = [this](BOInstance* building) { OnBuildingRemoved(building); };
  hooks.activateAmbientRecords = [this]() { ActivateAllAmbientData(); };
}

void cEntity_AmbientManager::QueueRouteVehicle(PathRequest* request) {
  if (request) routeRequests.push_back(request);
}

void cEntity_AmbientManager::VehicleFromRoute(PathRequest* request) {
  cKV9_GlobalWrapper* table = Table();
  cPathFinder* finder = table ? table->pathFinder : nullptr;
  const bool usable = request->secondStatus && request->route.size() >= 2 && !ambientData.empty();
  if (!usable || noAmbients) {
    if (finder) finder->CancelRequest(request);
    return;
  }
  SlowDownFor(table, Happening::VehicleArrive);
  const AmbientData& record = ambientData[static_cast<size_t>(RandomIndex(ambientData.size()))];
  cEntity_Vehicle* vehicle = MakeVehicle(0);
  if (vehicle && table->graphics && !record.modelName.empty()) vehicle->SetModelName(table->graphics, record.modelName);
  if (!vehicle) {
    if (finder) finder->CancelRequest(request);
    return;
  }
  cPathNode* start = request->route.front();
  cPathNode* end = request->route.back();
  cPathNode* beforeEnd = request->route[request->route.size() - 2];
  CopyRoute(vehicle->route, request->route);
  const uint32_t endDirection = StepDirection(beforeEnd->x, beforeEnd->y, end->x, end->y);
  // One target at the end cell, passed along the axis it is driven to.
  const WorldRect r = CellWorldRect(table, end->x, end->y);
  AmbientTarget target;
  target.x = (r.x0 + r.x1) * 0.5f;
  target.z = (r.z0 + r.z1) * 0.5f;
  if (endDirection == 1) target.modeX = kAxis_AtOrAbove;
  else if (endDirection == 3) target.modeX = kAxis_AtOrBelow;
  else if (endDirection == 2) target.modeZ = kAxis_AtOrAbove;
  else target.modeZ = kAxis_AtOrBelow;
  target.event = kTargetEvent_Finish;
  vehicle->targets.push_back(target);
  const WorldRect s = CellWorldRect(table, start->x, start->y);
  vehicle->SetPosition((s.x0 + s.x1) * 0.5f, PlotGround(table), (s.z0 + s.z1) * 0.5f);
  const uint32_t startDirection = StepDirection(start->x, start->y, request->route[1]->x, request->route[1]->y);
  vehicle->gridDirection = static_cast<uint8_t>(startDirection);
  vehicle->SetRotation(0.0f, static_cast<float>(startDirection) * 3.14159265f / 2.0f, 0.0f);
  // Listed like every vehicle, so the world's reset removes it too.
  AddVehicle(vehicle);
  vehicle->StartOnRoute(request->route);
  if (finder) finder->CancelRequest(request);
}

cEntity_Vehicle* cEntity_AmbientManager::FindVehicleAhead(cEntity_Vehicle* vehicle, float* distance) {
  *distance = kNoVehicle;
  if (!vehicle) return nullptr;
  if (useTrafficGrid) return trafficIndex_.Ahead(vehicle, kSameLane, distance);
  const uint32_t d = vehicle->direction & 3;
  const float x = vehicle->GetPositionX(), z = vehicle->GetPositionZ();
  cEntity_Vehicle* best = nullptr;
  for (cEntity_Vehicle* other : vehicles) {
    if (!other || other == vehicle || other->stage == cEntity_Vehicle::kFinished) continue;
    const float ox = other->GetPositionX(), oz = other->GetPositionZ();
    const float across = (d & 1) ? std::fabs(oz - z) : std::fabs(ox - x);
    if (across > kSameLane) continue;
    float along = 0.0f;
    switch (d) {
      case 0: along = z - oz; break;
      case 1: along = ox - x; break;
      case 2: along = oz - z; break;
      default: along = x - ox; break;
    }
    if (along < 0.0f || along >= *distance) continue;
    *distance = along;
    best = other;
  }
  return best;
}

float cEntity_AmbientManager::NearestVehicleDistance(const JVector& point, uint32_t kind,
                                                    const cEntity_Vehicle* except) {
  // Emergency vehicles, the ones others pull over for, are few: the grid
  // keeps them apart.
  if (useTrafficGrid && kind == kVehicleKind_Emergency)
    return trafficIndex_.NearestEmergency(point.x, point.z, except, kNoVehicle);
  float best = kNoVehicle;
  for (cEntity_Vehicle* other : vehicles) {
    if (!other || other == except || !(other->kindFlags & kind) || other->stage == cEntity_Vehicle::kFinished)
      continue;
    const float d = std::floor(std::fabs(other->GetPositionX() - point.x) + std::fabs(other->GetPositionZ() - point.z));
    best = std::min(best, d);
  }
  return best;
}

bool cEntity_AmbientManager::SendMessage(uintptr_t sender, std::string& eventName, const std::string& params) {
  if (str::EqualsNoCase(eventName, "NoAmbients")) {
    noAmbients = str::EqualsNoCase(str::Trim(params), "true") ? 1 : 0;
    return true;
  }
  return cEntity_Base::SendMessage(sender, eventName, params);
}
