#pragma once
// Road traffic on the kit's world: the real road manager and path finder
// with a road network laid by the test, the real ambient manager spawned by
// name, and the vehicle and maintenance spawns registered.
//
// The default network: the entrance at (0, 10), a road along y = 10 from
// x = 0 to 20 and one along x = 10 from y = 4 to 16, crossing at (10, 10).
#include <string>

#include "construction/tests/RoadWorld.h"
#include "engine/entity/ActionFactory.h"
#include "simulation/AmbientManager.h"
#include "simulation/ContractManager.h"
#include "simulation/Maintenance.h"
#include "simulation/SimulationClock.h"
#include "simulation/SimulationSpawns.h"
#include "simulation/Vehicle.h"

namespace traffictest {

struct TrafficWorld {
  explicit TrafficWorld(bool crossing = true) {
    if (!road.world.ready) return;
    road.world.BuildWorld();
    road.SetCash(1e9);
    road.world.table.contractManager = &contracts;
    contracts.running = 1;
    road.world.table.actionFactory->RegisterSpawn(&spawnManager);
    road.world.table.actionFactory->RegisterSpawn(&spawnVehicle);
    road.world.table.actionFactory->RegisterSpawn(&spawnMaintenance);
    road.roads->SetEntranceCell(0, 10);
    road.Place(0, 10, 21, 1);
    if (crossing) road.Place(10, 4, 1, 13);
    cEntity_Base* made = nullptr;
    if (status::Failed(road.world.manager->SpawnEntity(cEntity_AmbientManager::kSpawnName, &made))) return;
    ambient = dynamic_cast<cEntity_AmbientManager*>(made);
    if (!ambient) return;
    road.world.table.ambientManager = ambient;
    ambient->LoadSettings();
    ambient->RegisterAndRestore();
    ready = true;
  }
  ~TrafficWorld() {
    if (ambient) ambient->Clear();
    road.world.table.ambientManager = nullptr;
    road.world.table.contractManager = nullptr;
  }

  // A vehicle made by the spawn, listed and on the clock, not yet started.
  cEntity_Vehicle* NewVehicle(uint32_t kind = 0) {
    cEntity_Base* made = nullptr;
    if (status::Failed(road.world.manager->SpawnEntity(cEntity_Vehicle::kSpawnName, &made))) return nullptr;
    auto* vehicle = dynamic_cast<cEntity_Vehicle*>(made);
    vehicle->kindFlags = kind;
    ambient->AddVehicle(vehicle);
    Clock().RegisterTimeObject(vehicle);
    return vehicle;
  }
  cSimulation_Clock& Clock() { return road.world.Clock(); }
  cPathNode* Node(int x, int y) { return road.finder.GetNodeAt(x, y); }
  // Ticks of `t` game seconds straight into the vehicle, at most `limit`.
  int Drive(cEntity_Vehicle* vehicle, float t, int limit) {
    int n = 0;
    while (n < limit && !vehicle->finished) {
      vehicle->OnTime(0, 0, kTimeEvent_Tick, t);
      ++n;
    }
    return n;
  }

  roadtest::RoadWorld road;
  cEntity_ContractManager contracts{nullptr};
  SpawnAmbientManager spawnManager;
  SpawnVehicle spawnVehicle;
  SpawnMaintanance spawnMaintenance;
  cEntity_AmbientManager* ambient = nullptr;
  bool ready = false;
};

}  // namespace traffictest
