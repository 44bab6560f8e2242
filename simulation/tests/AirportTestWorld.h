#pragma once
// A headless world with the real airport manager spawned by name (tables
// read from data/), the contract world's contract manager, the fake building
// side and a recording ambient manager.
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "engine/entity/ActionFactory.h"
#include "engine/entity/EntityManager.h"
#include "simulation/AirportManager.h"
#include "simulation/EventManager.h"
#include "simulation/SimulationClock.h"
#include "simulation/SimulationSpawns.h"
#include "simulation/tests/ContractTestWorld.h"
#include "simulation/tests/kit/FakeAirportSite.h"

namespace airporttest {

using contracttest::ContractWorld;

struct AirportWorld {
  AirportWorld() {
    if (!w.world.ready) return;
    w.world.BuildWorld();
    w.world.table.actionFactory->RegisterSpawn(&spawn);
    cEntity_Base* made = nullptr;
    if (status::Failed(w.world.manager->SpawnEntity(cEntity_AirportManager::kSpawnName, &made))) return;
    airport = dynamic_cast<cEntity_AirportManager*>(made);
    if (!airport) return;
    w.world.table.airportManager = airport;
    w.world.table.ambientManager = &ambient;
    airport->Init();
    airport->SetSite(&site);
    airport->Start();
  }
  ~AirportWorld() {
    if (airport) airport->Stop();
    w.world.table.airportManager = &w.world.airport;
    w.world.table.ambientManager = nullptr;
  }

  simkit::FakeInstance* Place(uint8_t classCode, const std::string& name, uint8_t level = 1) {
    return w.Build(classCode, name, level, nullptr);
  }
  // A straight strip of taxiway nodes from (x0, y) to (x1, y).
  void Strip(uint16_t x0, uint16_t x1, uint16_t y) {
    for (uint16_t x = x0; x <= x1; ++x) site.Node(x, y);
  }
  // A runway at (0, 0) and a terminal whose gates stand at (2 + 2i, 0), all
  // on one strip; gates the strip does not reach are left unjoined.
  void BasicAirport(uint32_t gates, uint32_t joined, float runwayLength = 3000.0f) {
    runway = Place(8, "Runway");
    terminal = Place(5, "Terminal");
    w.world.buildings.terminals.push_back(terminal);
    if (joined) Strip(0, static_cast<uint16_t>(2 * joined), 0);
    std::vector<std::pair<uint16_t, uint16_t>> cells;
    for (uint32_t i = 0; i < gates; ++i) cells.emplace_back(static_cast<uint16_t>(2 + 2 * i), i < joined ? 0 : 9);
    site.AddRunway(runway, runwayLength, 0, 0);
    site.AddTerminal(terminal, cells);
    site.Link(runway, terminal);
  }
  // A signed flight of `airline` on a new model, in the contract manager's
  // all-flights list (not yet placed).
  cFlightContract* SignedFlight(cAirlineContract* airline, uint16_t seats = 200, bool cargo = false,
                                uint16_t runwayNeeded = 1000) {
    AirplaneData* plane = w.Plane("Model " + std::to_string(w.planes.size()), 1, cargo);
    plane->maxPassengers = seats;
    plane->requiredRunway = runwayNeeded;
    cFlightContract* flight = w.AddOpenFlight(airline, plane);
    airline->openFlights.pop_back();
    airline->signedFlights.push_back(flight);
    w.manager.allFlights.push_back(flight);
    return flight;
  }
  AirlineData* Airline(const std::string& name, bool cargo = false) {
    airlineData.push_back(std::make_unique<AirlineData>());
    AirlineData* data = airlineData.back().get();
    data->name = name;
    data->cargo = cargo;
    return data;
  }
  cAirlineContract* ActiveAirline(const std::string& name, bool cargo = false) {
    cAirlineContract* contract = w.Airline(Airline(name, cargo)).release();
    w.manager.airlineLists[kList_Active].push_back(contract);
    return contract;
  }
  std::vector<EventRecord> Queue() { return w.world.events->GetQueue(); }
  void Hour(uint8_t hour) {
    w.world.Clock().hour = hour;
    airport->OnTime(w.world.Clock().totalSeconds, 0, kTimeEvent_Hour, 0.0f);
  }

  ContractWorld w;
  SpawnAirportManager spawn;
  simkit::FakeAirportSite site{&w.world.pathFinder};
  simkit::FakeAmbient ambient{nullptr, kEntityType_Base};
  cEntity_AirportManager* airport = nullptr;
  simkit::FakeInstance* runway = nullptr;
  simkit::FakeInstance* terminal = nullptr;
  std::vector<std::unique_ptr<AirlineData>> airlineData;
};

}  // namespace airporttest
