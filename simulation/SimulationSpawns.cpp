#include "simulation/SimulationSpawns.h"

#include <new>

#include "simulation/AirlineManager.h"
#include "simulation/Airplane.h"
#include "simulation/AirportManager.h"
#include "simulation/AmbientManager.h"
#include "simulation/ContractManager.h"
#include "simulation/EventManager.h"
#include "simulation/Maintenance.h"
#include "simulation/Simulation.h"
#include "simulation/StatManager.h"
#include "simulation/Vehicle.h"

SpawnSimulation::SpawnSimulation() : cSpawn_Base(cEntity_Simulation::kSpawnName) {}
cEntity_Base* SpawnSimulation::Create(uint32_t, uint32_t, cEntity_Manager* creator, const std::string&) {
  return new (std::nothrow) cEntity_Simulation(creator);
}

SpawnAirlineManager::SpawnAirlineManager() : cSpawn_Base(cEntity_AirlineManager::kSpawnName) {}
cEntity_Base* SpawnAirlineManager::Create(uint32_t, uint32_t, cEntity_Manager* creator, const std::string&) {
  return new (std::nothrow) cEntity_AirlineManager(creator);
}

SpawnEventManager::SpawnEventManager() : cSpawn_Base(cEntity_EventManager::kSpawnName) {}
cEntity_Base* SpawnEventManager::Create(uint32_t, uint32_t, cEntity_Manager* creator, const std::string&) {
  return new (std::nothrow) cEntity_EventManager(creator);
}

SpawnStatManager::SpawnStatManager() : cSpawn_Base(cEntity_StatManager::kSpawnName) {}
cEntity_Base* SpawnStatManager::Create(uint32_t, uint32_t, cEntity_Manager* creator, const std::string&) {
  return new (std::nothrow) cEntity_StatManager(creator);
}

SpawnContractManager::SpawnContractManager() : cSpawn_Base(cEntity_ContractManager::kSpawnName) {}
cEntity_Base* SpawnContractManager::Create(uint32_t, uint32_t, cEntity_Manager* creator, const std::string&) {
  return new (std::nothrow) cEntity_ContractManager(creator);
}

SpawnAirportManager::SpawnAirportManager() : cSpawn_Base(cEntity_AirportManager::kSpawnName) {}
cEntity_Base* SpawnAirportManager::Create(uint32_t, uint32_t, cEntity_Manager* creator, const std::string&) {
  return new (std::nothrow) cEntity_AirportManager(creator);
}

SpawnAirplane::SpawnAirplane() : cSpawn_Base(cEntity_Airplane::kSpawnName) {}
cEntity_Base* SpawnAirplane::Create(uint32_t, uint32_t, cEntity_Manager* creator, const std::string&) {
  return new (std::nothrow) cEntity_Airplane(creator);
}

SpawnAmbientManager::SpawnAmbientManager() : cSpawn_Base(cEntity_AmbientManager::kSpawnName) {}
cEntity_Base* SpawnAmbientManager::Create(uint32_t, uint32_t, cEntity_Manager* creator, const std::string&) {
  return new (std::nothrow) cEntity_AmbientManager(creator);
}

SpawnVehicle::SpawnVehicle() : cSpawn_Base(cEntity_Vehicle::kSpawnName) {}
cEntity_Base* SpawnVehicle::Create(uint32_t, uint32_t, cEntity_Manager* creator, const std::string&) {
  return new (std::nothrow) cEntity_Vehicle(creator);
}

SpawnMaintanance::SpawnMaintanance() : cSpawn_Base(cEntity_Maintanance::kSpawnName) {}
cEntity_Base* SpawnMaintanance::Create(uint32_t, uint32_t, cEntity_Manager* creator, const std::string&) {
  return new (std::nothrow) cEntity_Maintanance(creator);
}
