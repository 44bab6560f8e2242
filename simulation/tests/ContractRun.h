#pragma once
// A seeded contract game for the long runs: our data tables on the real
// clock, a player who takes every offer, places every business and builds
// what each airline asks for, and the daily checks of the contract lists,
// the flight arrays and the cash ledger.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "engine/entity/ActionFactory.h"
#include "engine/entity/EntityManager.h"
#include "simulation/SimulationClock.h"
#include "simulation/SimulationSpawns.h"
#include "simulation/tests/ContractTestWorld.h"

namespace contracttest {

// The contract manager spawned by name on the real clock with our data
// tables; BuildBaseAirport lays out what the airport starts with.
class ContractRun : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(w.world.ready);
    w.world.BuildWorld();
    w.world.random.UseSeed(2026);
    for (const char* name : {"Hotel", "Budget Inn", "Gas Station", "Truck Stop", "Car Rental", "Restaurant", "Bank"})
      w.world.buildings.AddNamedType(kBuildingClass_Amenity, name, 1);
    for (const char* name : {"Check-in Desk", "Newsstand", "Coffee Shop", "Gift Shop", "Duty Free Shop", "Bookstore"}) {
      w.world.buildings.terminalObjects.push_back(std::make_unique<TerminalItem>());
      w.world.buildings.terminalObjects.back()->name = name;
    }
    for (auto [c, n] : std::vector<std::pair<uint8_t, std::string>>{
             {kStorage, "Cargo"}, {kStorage, "Cold Storage"}, {kAdmin, "Admin"}, {kService, "Turnaround"},
             {kSecurity, "police station"}, {kOrganizational, "Control Tower"}, {kEmergency, "fire station"},
             {kRunway, "3500 Meter Runway"}, {kAdmin, "Customs"}, {kService, "Plane Maintain"}})
      w.AddTypeLevels(c, n);
    w.world.table.actionFactory->RegisterSpawn(&spawn_);
    cEntity_Base* made = nullptr;
    ASSERT_EQ(w.world.manager->SpawnEntity(cEntity_ContractManager::kSpawnName, &made), 0);
    m = dynamic_cast<cEntity_ContractManager*>(made);
    ASSERT_NE(m, nullptr);
    w.world.table.contractManager = m;
    m->Init();
    w.world.scenario.continent = 3;
    m->Start();
    BuildBaseAirport();
    m->CheckAirportFunctional();
    for (uint32_t& t : w.world.airport.traffic) t = 1000;
    w.world.airport.trafficToday = 1000;
  }
  void TearDown() override {
    if (m) m->Stop();
    w.world.table.contractManager = nullptr;
  }
  // The base airport, dedicated to nobody.
  virtual void BuildBaseAirport() {
    for (auto [c, n] : std::vector<std::pair<uint8_t, std::string>>{
             {5, "Terminal"}, {8, "Runway"}, {3, "Parking"}, {kService, "Plane Maintain"}, {kService, "Turnaround"},
             {kOrganizational, "Control Tower"}, {kEmergency, "fire station"}})
      w.Build(c, n, 1, nullptr);
  }

  // Builds, once per contract, what its requirements ask, dedicated to it.
  void Grow(cAirlineContract* c) {
    if (!grown_.insert(c).second) return;
    for (ContractRequirement* n = c->requirements.Head(); n; n = n->next) {
      const uint8_t level = n->kind == kRequirement_TypeAtLevel ? WordLevel(n->word) : 1;
      cBuildableObject* type = w.world.buildings.GetBuildingType(WordClass(n->word), WordId(n->word), level);
      if (!type) continue;
      for (int i = 0; i < std::max(n->buildCount, n->dedicateCount); ++i)
        w.world.buildings.Place(static_cast<simkit::FakeType*>(type))->owner = c;
    }
    if (c->checkInsToDedicate) {
      simkit::FakeInstance* terminal = w.Build(5, "Terminal", 1, nullptr);
      terminal->interior.resize(c->checkInsToDedicate);
      terminal->interiorContracts.assign(c->checkInsToDedicate, c);
      w.world.buildings.terminals.push_back(terminal);
    }
    // Customs enough for every international flight there may be.
    for (int i = 0; i < 4; ++i) w.Build(kAdmin, "Customs", 1, nullptr);
  }
  void Play() {
    while (!m->airlineLists[kList_Offered].empty()) {
      Grow(m->airlineLists[kList_Offered][0]);
      m->AcceptAirlineOffer(0);
    }
    for (uint32_t g = 0; g < 3; ++g) {
      while (!m->businessLists[g][kList_Offered].empty()) m->AcceptBusinessOffer(g, 0);
      for (cBusinessContract* c : m->businessLists[g][kList_Active]) c->placed = 1;
    }
  }
  void CheckInvariants(uint32_t day) {
    std::map<const void*, int> seen;
    for (const auto& list : m->airlineLists) {
      ASSERT_LE(list.size(), kMaxContractList) << day;
      for (const cAirlineContract* c : list) ++seen[c];
    }
    for (const auto& group : m->businessLists) {
      for (const auto& list : group) {
        ASSERT_LE(list.size(), kMaxContractList) << day;
        for (const cBusinessContract* c : list) ++seen[c];
      }
    }
    for (const auto& [contract, count] : seen) ASSERT_EQ(count, 1) << "day " << day;
    std::set<uint32_t> ids;
    std::map<const cFlightContract*, int> inAll;
    for (const cFlightContract* f : m->allFlights) ++inAll[f];
    size_t signedCount = 0;
    for (const auto& list : m->airlineLists) {
      for (const cAirlineContract* c : list) {
        for (const auto* array : {&c->openFlights, &c->otherFlights, &c->signedFlights}) {
          ASSERT_LE(array->size(), kMaxContractList) << day;
          for (const cFlightContract* f : *array) ASSERT_TRUE(ids.insert(f->flightId).second) << "day " << day;
        }
        for (const cFlightContract* f : c->openFlights) ASSERT_EQ(inAll.count(f), 0u) << "day " << day;
        for (const cFlightContract* f : c->signedFlights) ASSERT_EQ(inAll[f], 1) << "day " << day;
        signedCount += c->signedFlights.size();
      }
    }
    ASSERT_EQ(signedCount, m->allFlights.size()) << "day " << day;

    // Every dollar moved is booked: cash is the start plus all income less
    // all expenses, and the contracts' own income is part of that income.
    const StatBlock& b = w.world.stats->block;
    ASSERT_NEAR(b.cash, StatBlock::kStartingCash + b.income + b.incomeEarlier - b.expenses, 1e-3) << "day " << day;
    ASSERT_LE(b.contractIncome + b.contractIncomeEarlier, b.income + b.incomeEarlier + 1e-3) << "day " << day;
  }

  // What the lists hold, written out independently of the blob: each
  // list's contracts by name with their terms and flights by id and slot.
  static std::vector<std::string> Snapshot(const cEntity_ContractManager& manager) {
    std::vector<std::string> out;
    for (uint32_t l = 0; l < 4; ++l) {
      for (const cAirlineContract* c : manager.airlineLists[l]) {
        std::string line = std::to_string(l) + " " + c->GetName() + " state " + std::to_string(c->state) +
                           " start " + std::to_string(c->start) + " end " + std::to_string(c->end) + " satisfaction " +
                           std::to_string(c->satisfaction);
        for (const auto* array : {&c->openFlights, &c->otherFlights, &c->signedFlights}) {
          line += " |";
          for (const cFlightContract* f : *array)
            line += " " + std::to_string(f->flightId) + "@" + std::to_string(f->buildingWord) + ":" +
                    std::to_string(f->slotKeys[0]) + "/" + std::to_string(f->slotKeys[1]);
        }
        out.push_back(line);
      }
    }
    for (uint32_t g = 0; g < 3; ++g) {
      for (uint32_t l = 0; l < 4; ++l) {
        for (const cBusinessContract* c : manager.businessLists[g][l])
          out.push_back(std::to_string(g) + "/" + std::to_string(l) + " " + c->GetName() + " placed " +
                        std::to_string(c->placed));
      }
    }
    // A load rebuilds the all-flights list contract by contract, so only
    // its members are compared, not their signing order.
    std::vector<uint32_t> ids;
    for (const cFlightContract* f : manager.allFlights) ids.push_back(f->flightId);
    std::sort(ids.begin(), ids.end());
    std::string all = "all";
    for (uint32_t id : ids) all += " " + std::to_string(id);
    out.push_back(all);
    out.push_back("next " + std::to_string(manager.nextFlightId) + " functional " +
                  std::to_string(manager.baseRequirementsMet) + " running " + std::to_string(manager.running));
    return out;
  }

  // Saves the manager and loads the blob into a second manager spawned by
  // name, as a loaded game does: the lists and the blob come out equal.
  void LoadIntoFreshManager(const std::vector<uint8_t>& bytes, uint32_t day) {
    cEntity_Base* made = nullptr;
    ASSERT_EQ(w.world.manager->SpawnEntity(cEntity_ContractManager::kSpawnName, &made), 0);
    auto* fresh = dynamic_cast<cEntity_ContractManager*>(made);
    ASSERT_NE(fresh, nullptr);
    fresh->Init();
    ASSERT_TRUE(fresh->LoadFromBlob(bytes.data(), static_cast<uint32_t>(bytes.size())));
    fresh->Start();
    EXPECT_EQ(Snapshot(*fresh), Snapshot(*m)) << "day " << day;
    SerialBlock again;
    uint32_t againSize = 0;
    ASSERT_TRUE(fresh->Save(&again, &againSize));
    EXPECT_EQ(std::vector<uint8_t>(again.get(), again.get() + againSize), bytes) << "day " << day;
    fresh->Stop();
    w.world.manager->DestroyEntity(fresh);
  }

  ContractWorld w;
  SpawnContractManager spawn_;
  cEntity_ContractManager* m = nullptr;
  std::set<cAirlineContract*> grown_;
};

}  // namespace contracttest
