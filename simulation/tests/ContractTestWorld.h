#pragma once
// A headless world with a contract manager in the service table and the
// building types the contracts ask for, for the contract tests.
#include <memory>
#include <string>

#include "simulation/AirlineContract.h"
#include "simulation/BusinessContract.h"
#include "simulation/ContractData.h"
#include "simulation/ContractManager.h"
#include "simulation/FlightContract.h"
#include "simulation/Simulation.h"
#include "simulation/StatManager.h"
#include "simulation/tests/kit/SimWorld.h"

namespace contracttest {

inline constexpr uint8_t kAdmin = 6, kStorage = 7, kRunway = 8, kEmergency = 9, kSecurity = 10, kService = 11,
                         kOrganizational = 12;

struct ContractWorld {
  ContractWorld() {
    world.table.contractManager = &manager;
    manager.baseRequirementsMet = 1;
  }
  ~ContractWorld() { world.table.contractManager = nullptr; }

  // A type of that name with levels 1-3, tech level 0 (reached).
  void AddTypeLevels(uint8_t classCode, const std::string& name) {
    for (uint8_t level = 1; level <= 3; ++level) world.buildings.AddNamedType(classCode, name, level);
  }
  simkit::FakeInstance* Build(uint8_t classCode, const std::string& name, uint8_t level, cContract* owner) {
    const uint16_t id = world.buildings.FindTypeIndexByName(classCode, name);
    auto* type = static_cast<simkit::FakeType*>(world.buildings.GetBuildingType(classCode, id, level));
    if (!type) type = world.buildings.AddNamedType(classCode, name, level);
    simkit::FakeInstance* instance = world.buildings.Place(type);
    instance->owner = owner;
    return instance;
  }
  AirplaneData* Plane(const std::string& name, uint8_t size, bool cargo, uint16_t year = 1970) {
    planes.push_back(std::make_unique<AirplaneData>());
    AirplaneData* plane = planes.back().get();
    plane->name = name;
    plane->sizeClass = size;
    plane->cargo = cargo;
    plane->yearAvailable = year;
    return plane;
  }
  std::unique_ptr<cAirlineContract> Airline(const AirlineData* data) {
    auto contract = std::make_unique<cAirlineContract>(data);
    contract->SetName(data->name);
    contract->UpdateRequirements(&world.buildings);
    return contract;
  }
  cFlightContract* AddOpenFlight(cAirlineContract* airline, const AirplaneData* plane) {
    auto* flight = new cFlightContract(plane, airline, manager.nextFlightId++);
    airline->openFlights.push_back(flight);
    return flight;
  }
  void SetRatings(float security, float safety, float satisfaction) {
    world.stats->block.securityRating = security;
    world.stats->block.safetyRating = safety;
    world.stats->block.satisfactionRating = satisfaction;
  }

  simkit::SimWorld world;
  cEntity_ContractManager manager{nullptr};
  std::vector<std::unique_ptr<AirplaneData>> planes;
};

}  // namespace contracttest
