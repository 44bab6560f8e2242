#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "construction/RoadManager.h"
#include "simulation/AirportBlob.h"
#include "simulation/Airplane.h"
#include "simulation/AirportManager.h"
#include "simulation/AmbientManager.h"
#include "simulation/Vehicle.h"
#include "simulation/SimulationServices.h"
#include "simulation/tests/ContractRun.h"
#include "simulation/tests/kit/FakeAirportSite.h"

namespace {

using namespace contracttest;

// The real ambient manager, counting the airplanes it makes per flight.
class CountingAmbient : public cEntity_AmbientManager {
 public:
  using cEntity_AmbientManager::cEntity_AmbientManager;
  void CreatePassengerAirplane(cFlightContract* flight, BOInstance* runway, BOInstance* terminal) override {
    Count(flight);
    cEntity_AmbientManager::CreatePassengerAirplane(flight, runway, terminal);
  }
  void CreateCargoAirplane(cFlightContract* flight, BOInstance* runway, BOInstance* storage) override {
    Count(flight);
    cEntity_AmbientManager::CreateCargoAirplane(flight, runway, storage);
  }
  // Airplanes made per flight and game day, since the last look.
  std::map<std::pair<const cFlightContract*, uint32_t>, int> arrivals;

 private:
  void Count(const cFlightContract* flight) {
    cSimulation_Clock* clock = GameClockOf(GameTableOf(this));
    ++arrivals[{flight, clock ? clock->totalSeconds / 86400u : 0u}];
  }
};

class SpawnCountingAmbient : public cSpawn_Base {
 public:
  SpawnCountingAmbient() : cSpawn_Base(cEntity_AmbientManager::kSpawnName) {}
  cEntity_Base* Create(uint32_t, uint32_t, cEntity_Manager* creator, const std::string&) override {
    return new CountingAmbient(creator);
  }
};

// Game years at speed 50,000 with every simulation manager: contracts
// signed by the player, flights placed at the gates and storages of a fake
// airport by the real airport manager, banks in the event queue, airplanes
// made by the real ambient manager landing, paying and leaving.
class FlightsRunTest : public ContractRun {
 protected:
  void BuildBaseAirport() override {
    w.world.table.actionFactory->RegisterSpawn(&spawnAirport_);
    w.world.table.actionFactory->RegisterSpawn(&spawnAmbient_);
    w.world.table.actionFactory->RegisterSpawn(&spawnAirplane_);
    cEntity_Base* made = nullptr;
    ASSERT_EQ(w.world.manager->SpawnEntity(cEntity_AirportManager::kSpawnName, &made), 0);
    airport = dynamic_cast<cEntity_AirportManager*>(made);
    ASSERT_NE(airport, nullptr);
    ASSERT_EQ(w.world.manager->SpawnEntity(cEntity_AmbientManager::kSpawnName, &made), 0);
    ambient = dynamic_cast<CountingAmbient*>(made);
    ASSERT_NE(ambient, nullptr);
    w.world.table.airportManager = airport;
    w.world.table.ambientManager = ambient;
    airport->Init();
    airport->SetSite(&site);
    airport->Start();
    ambient->LoadSettings();
    ambient->RegisterAndRestore();

    for (auto [c, n] : std::vector<std::pair<uint8_t, std::string>>{
             {3, "Parking"}, {kOrganizational, "Control Tower"}, {kEmergency, "fire station"}})
      w.Build(c, n, 1, nullptr);
    // The service buildings reach the taxiway: their vehicles serve every
    // gate.
    for (const char* name : {"Plane Maintain", "Turnaround"}) {
      simkit::FakeInstance* service = w.Build(kService, name, 1, nullptr);
      service->taxiwayAccess = {{59, 2, 1, 1}};
      site.SetServiceKinds(service, 0x1F8);
    }
    // Two runways on a taxiway along y = 2; three terminals of their own
    // types with six gates each along y = 4 .. 6; two storages.
    for (uint16_t x = 0; x < 60; ++x) site.Node(x, 2);
    for (uint16_t r = 0; r < 2; ++r) {
      simkit::FakeInstance* runway = w.Build(8, "Runway " + std::to_string(r), 1, nullptr);
      site.AddRunway(runway, 4000.0f, static_cast<uint16_t>(r * 50), 2);
    }
    for (uint16_t t = 0; t < 3; ++t) {
      simkit::FakeInstance* terminal = w.Build(5, "Terminal " + std::to_string(t), 1, nullptr);
      w.world.buildings.terminals.push_back(terminal);
      std::vector<std::pair<uint16_t, uint16_t>> gates;
      for (uint16_t g = 0; g < 6; ++g) {
        const uint16_t x = static_cast<uint16_t>(t * 18 + g * 3 + 1);
        site.Node(x, 3);
        gates.emplace_back(x, 4);
      }
      std::vector<uint8_t> hours;
      for (uint8_t g = 0; g < 6; ++g) hours.push_back(static_cast<uint8_t>((t * 6 + g) % 24));
      site.AddTerminal(terminal, gates, hours);
      for (uint16_t g = 0; g < 6; ++g) site.Node(gates[g].first, gates[g].second);
      for (BOInstance* runway : site.Runways()) site.Link(runway, terminal);
    }
    for (uint16_t s = 0; s < 2; ++s) {
      simkit::FakeInstance* storage = w.Build(kStorage, "Cargo", 1, nullptr);
      const uint32_t word = storage->GetType()->GetTypeWord() | (uint32_t{s + 1u} << 23);
      const uint16_t x = static_cast<uint16_t>(10 + 30 * s);
      site.Node(x, 1);
      site.AddStorage(storage, word, x, 1, 8);
      site.CargoOf(storage).capacity = 2000;
      airport->storages.push_back(storage);
      airport->AddStorageFacility(storage);
      storage->taxiwayAccess = {{x, 1, 1, 1}};
    }
    simkit::FakeInstance* lot = w.Build(3, "Parking", 1, nullptr);
    lot->roadAccess = {{20, 30, 0}};
    site.AddParking(lot, 10.0f, 20.0f, 20, 32);
    w.world.scenario.population = 30000000;

    // The land side: a road from the entrance at (0, 29) to the lot, on
    // which the parking and drop-off cars drive.
    w.world.table.actionFactory->RegisterSpawn(&spawnVehicle_);
    w.world.table.actionFactory->RegisterSpawn(&spawnMaintenance_);
    roads = std::make_unique<cEntity_RoadManager>(w.world.table.entityManager, kEntityType_Base);
    w.world.table.roadManager = roads.get();
    roads->BuildWorld();
    roads->SetEntranceCell(0, 29);
    ASSERT_TRUE(roads->PlaceRoad(0, 29, 21, 1, false));
    roads->FinishRoadPlacement();
    AmbientData car;
    car.modelName = "Models\\car.ssm";
    car.kindFlags = 0x1F0F;
    ambient->AddAmbientData(car);
    traffic.ambient = ambient;
    w.world.Clock().RegisterTimeObject(&traffic);
  }
  void TearDown() override {
    w.world.Clock().UnregisterTimeObject(&traffic);
    if (ambient) ambient->Clear();
    w.world.table.roadManager = &w.world.roads;
    roads.reset();
    if (airport) airport->Stop();
    ContractRun::TearDown();
    w.world.table.airportManager = &w.world.airport;
    w.world.table.ambientManager = nullptr;
  }

  void CheckFlights(uint32_t day) {
    std::map<const cFlightContract*, int> inBanks;
    for (uint32_t k = 0; k < 8; ++k) {
      for (const cFlightContract* f : airport->passengerBanks[k]) ++inBanks[f];
      for (const cFlightContract* f : airport->cargoBanks[k]) ++inBanks[f];
    }
    const std::set<const cFlightContract*> all(m->allFlights.begin(), m->allFlights.end());
    for (const cFlightContract* f : m->allFlights) ASSERT_EQ(inBanks[f], 1) << "day " << day << " flight " << f->flightId;
    for (const auto& [f, n] : inBanks) ASSERT_TRUE(n == 0 || all.count(f)) << "day " << day;
    for (const auto& [key, n] : ambient->arrivals) ASSERT_LE(n, 1) << "day " << day << " flight " << key.first->flightId;
    ambient->arrivals.clear();
    // Every lock set is held by a live airplane.
    std::set<const cPathNode*> heldGates;
    for (auto* list : {&ambient->airplanes, &ambient->cargoAirplanes}) {
      for (const cEntity_Airplane* a : *list) {
        if (!a) continue;
        ASSERT_TRUE(all.count(a->flight)) << "day " << day;
        if (a->holdsGateLock) heldGates.insert(a->gate);
      }
    }
    for (BOInstance* terminal : w.world.buildings.terminals) {
      for (uint32_t g = 0; g < site.GateCount(terminal); ++g) {
        const cPathNode* node = site.GateNode(terminal, g);
        ASSERT_TRUE(!node->lock || heldGates.count(node)) << "day " << day;
      }
    }
    ASSERT_EQ(traffic.overLimit, 0) << "day " << day;
    ASSERT_EQ(traffic.miscounted, 0) << "day " << day;
  }

  // Looks at the road on every tick: ordinary traffic stays within the
  // limit and one more, and the manager's count is the live ordinary
  // vehicles.
  struct TrafficWatch : cSimulation_TimeObject {
    TrafficWatch() : cSimulation_TimeObject(kTimeEvent_Tick) {}
    int32_t OnTime(uint32_t, uint32_t, uint32_t, float) override {
      int32_t ordinary = 0;
      for (const cEntity_Vehicle* v : ambient->vehicles) ordinary += v && v->IsOrdinary() ? 1 : 0;
      overLimit += ordinary > ambient->ambientLimit + 1 ? 1 : 0;
      miscounted += ordinary != ambient->trafficCount ? 1 : 0;
      busiest = std::max(busiest, ordinary);
      return 0;
    }
    cEntity_AmbientManager* ambient = nullptr;
    int32_t busiest = 0;
    int overLimit = 0;
    int miscounted = 0;
  };

  // One game day at speed 50,000 and 60 frames a second throughout.
  // Contract offers and cancelled flights put the clock back to speed 1, as
  // the slow-down rule says; the player of this run sets it back at once,
  // so the day is not spent at speed 1.
  void RunDayAtTopSpeed() {
    constexpr float kFrame = 1.0f / 60.0f;
    cSimulation_Clock& clock = w.world.Clock();
    const uint32_t until = clock.totalSeconds + 86400u;
    while (clock.totalSeconds < until) {
      clock.SetSpeed(50000);
      w.world.RunFrame(kFrame);
    }
  }

  simkit::FakeAirportSite site{&w.world.pathFinder};
  SpawnAirportManager spawnAirport_;
  SpawnCountingAmbient spawnAmbient_;
  SpawnAirplane spawnAirplane_;
  cEntity_AirportManager* airport = nullptr;
  CountingAmbient* ambient = nullptr;
  SpawnVehicle spawnVehicle_;
  SpawnMaintanance spawnMaintenance_;
  std::unique_ptr<cEntity_RoadManager> roads;
  TrafficWatch traffic;
};

TEST_F(FlightsRunTest, FlightsStayScheduledOnceForTenYears) {
  const uint32_t kDays = 3650;
  std::mt19937 pick(11);
  const uint32_t saveDay = 400 + pick() % 3000;
  bool saved = false;
  uint32_t arrivals = 0;
  for (uint32_t day = 1; day <= kDays; ++day) {
    RunDayAtTopSpeed();
    Play();
    for (const auto& [f, n] : ambient->arrivals) arrivals += static_cast<uint32_t>(n);
    ASSERT_NO_FATAL_FAILURE(CheckInvariants(day));
    ASSERT_NO_FATAL_FAILURE(CheckFlights(day));
    if (day == saveDay) {
      // The airport's and the ambient manager's blobs load into fresh
      // managers and write out the same bytes.
      SerialBlock block;
      uint32_t size = 0;
      ASSERT_TRUE(airport->Save(&block, &size));
      const std::vector<uint8_t> bytes(block.get(), block.get() + size);
      cEntity_AirportManager fresh(nullptr);
      fresh.awards.clear();
      for (const auto& award : airport->awards) {
        fresh.awards.push_back(std::make_unique<cAward>());
        fresh.awards.back()->name = award->name;
      }
      ASSERT_TRUE(fresh.ApplyBlob(bytes.data(), size));
      SerialBlock again;
      uint32_t againSize = 0;
      ASSERT_TRUE(fresh.Save(&again, &againSize));
      AirportBlob ours, theirs;
      ASSERT_TRUE(AirportBlob::Parse(bytes.data(), size, &ours, nullptr));
      ASSERT_TRUE(AirportBlob::Parse(again.get(), againSize, &theirs, nullptr));
      EXPECT_EQ(ours.wonAwards, theirs.wonAwards);
      EXPECT_EQ(std::vector<uint32_t>(ours.history, ours.history + 10),
                std::vector<uint32_t>(theirs.history, theirs.history + 10));
      ASSERT_TRUE(ambient->Save(&block, &size));
      cEntity_AmbientManager freshAmbient(nullptr);
      ASSERT_TRUE(freshAmbient.LoadFromBlob(block.get(), size));
      saved = true;
    }
  }
  EXPECT_TRUE(saved);
  EXPECT_GT(arrivals, 500u);
  EXPECT_FALSE(m->allFlights.empty());
  const StatBlock& b = w.world.stats->block;
  EXPECT_GT(b.flights + b.flightsEarlier, 500u);
  EXPECT_GT(b.parkingIncome + b.parkingIncomeEarlier, 0.0);
  EXPECT_GT(traffic.busiest, 0);
}

}  // namespace
