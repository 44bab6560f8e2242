#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "simulation/Airplane.h"
#include "simulation/AmbientManager.h"
#include "simulation/StatManager.h"
#include "simulation/tests/AirportTestWorld.h"

namespace {

using airporttest::AirportWorld;

std::vector<uint8_t> SaveBytes(cEntity_AmbientManager& m) {
  SerialBlock block;
  uint32_t size = 0;
  if (!m.Save(&block, &size)) return {};
  return std::vector<uint8_t>(block.get(), block.get() + size);
}

class AmbientManagerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(a.w.world.ready);
    a.w.world.random.UseLower();
    a.w.world.table.actionFactory->RegisterSpawn(&spawnManager);
    a.w.world.table.actionFactory->RegisterSpawn(&spawnAirplane);
    cEntity_Base* made = nullptr;
    ASSERT_EQ(a.w.world.manager->SpawnEntity(cEntity_AmbientManager::kSpawnName, &made), 0);
    m = dynamic_cast<cEntity_AmbientManager*>(made);
    ASSERT_NE(m, nullptr);
    a.w.world.table.ambientManager = m;
    m->LoadSettings();
    m->RegisterAndRestore();
    a.w.manager.running = 1;
    a.BasicAirport(2, 2);
    airline = a.ActiveAirline("Ambient Air");
  }
  void TearDown() override {
    if (m) m->Clear();
    a.w.world.table.ambientManager = &a.ambient;
  }
  cFlightContract* PlacedFlight() {
    cFlightContract* flight = a.SignedFlight(airline);
    EXPECT_TRUE(a.airport->PlacePassengerFlight(flight));
    return flight;
  }

  AirportWorld a;
  SpawnAmbientManager spawnManager;
  SpawnAirplane spawnAirplane;
  cEntity_AmbientManager* m = nullptr;
  cAirlineContract* airline = nullptr;
};

TEST_F(AmbientManagerTest, SettingsComeFromTheConfiguration) {
  EXPECT_EQ(m->ambientLimit, 15);
  EXPECT_EQ(m->hourlyParking, 33.0f);
  a.w.world.config.SetValue("App", "AmbientLimit", "40");
  a.w.world.config.SetValue("App", "LongTermParking", "12.5");
  m->LoadSettings();
  EXPECT_EQ(m->ambientLimit, 40);
  EXPECT_EQ(m->longTermParking, 12.5f);
}

TEST_F(AmbientManagerTest, AirplanesAreMadeForTheirGateAndListed) {
  cFlightContract* flight = PlacedFlight();
  m->CreatePassengerAirplane(flight, a.runway, a.terminal);
  ASSERT_EQ(m->airplanes.size(), 1u);
  cEntity_Airplane* airplane = m->airplanes[0];
  EXPECT_EQ(airplane->flight, flight);
  EXPECT_EQ(airplane->gate, a.site.GateNode(a.terminal, flight->slotKeys[0]));
  EXPECT_EQ(airplane->standIndex, flight->slotKeys[1]);
  EXPECT_EQ(airplane->phase, uint32_t{kPhase_Holding});
  EXPECT_TRUE(a.w.world.Clock().IsRegistered(airplane));
  m->noAmbients = 1;
  m->CreatePassengerAirplane(PlacedFlight(), a.runway, a.terminal);
  EXPECT_EQ(m->airplanes.size(), 1u);
}

TEST_F(AmbientManagerTest, BlobKeepsTheFlightIdsOfTheAirplaneList) {
  cFlightContract* first = PlacedFlight();
  cFlightContract* second = PlacedFlight();
  m->CreatePassengerAirplane(first, a.runway, a.terminal);
  m->CreatePassengerAirplane(PlacedFlight(), a.runway, a.terminal);
  m->CreatePassengerAirplane(second, a.runway, a.terminal);
  m->airplanes[1]->Finish();  // leaves a null entry
  const std::vector<uint8_t> bytes = SaveBytes(*m);
  ASSERT_EQ(bytes.size(), 16u);
  auto word = [&](size_t i) {
    return uint32_t(bytes[4 * i]) | uint32_t(bytes[4 * i + 1]) << 8 | uint32_t(bytes[4 * i + 2]) << 16 |
           uint32_t(bytes[4 * i + 3]) << 24;
  };
  EXPECT_EQ(word(0), 3u);
  EXPECT_EQ(word(1), first->flightId);
  EXPECT_EQ(word(2), 0xFFFFFFFFu);
  EXPECT_EQ(word(3), second->flightId);

  // A loaded game gets the airplanes back at their gates, in the same order.
  m->Clear();
  ASSERT_TRUE(m->LoadFromBlob(bytes.data(), static_cast<uint32_t>(bytes.size())));
  m->RegisterAndRestore();
  ASSERT_EQ(m->airplanes.size(), 2u);
  EXPECT_EQ(m->airplanes[0]->flight, first);
  EXPECT_EQ(m->airplanes[0]->phase, uint32_t{kPhase_AtGate});
  EXPECT_EQ(m->airplanes[0]->arrivalDone, 1);
  EXPECT_EQ(m->airplanes[1]->flight, second);
  std::vector<uint8_t> again = SaveBytes(*m);
  EXPECT_EQ(again.size(), 12u);
}

TEST_F(AmbientManagerTest, CorruptBlobsAreRefusedWithNothingKept) {
  m->flightsToRestore = {42};
  struct Case {
    const char* name;
    std::vector<uint8_t> bytes;
  } cases[] = {
      {"empty", {}},
      {"count without ids", {2, 0, 0, 0, 1, 0, 0, 0}},
      {"a stray byte", {1, 0, 0, 0, 1, 0, 0, 0, 9}},
      {"a huge count", {0xFF, 0xFF, 0xFF, 0xFF}},
  };
  for (const Case& c : cases) {
    EXPECT_FALSE(m->LoadFromBlob(c.bytes.data(), static_cast<uint32_t>(c.bytes.size()))) << c.name;
    EXPECT_EQ(m->flightsToRestore, std::vector<uint32_t>{42}) << c.name;
  }
}

TEST_F(AmbientManagerTest, ClearFinishesCargoAirplanesToo) {
  simkit::FakeInstance* storage = a.Place(7, "Cargo");
  a.site.AddStorage(storage, storage->GetType()->GetTypeWord(), 3, 0, 2);
  cAirlineContract* freight = a.ActiveAirline("Ambient Freight", true);
  cFlightContract* flight = a.SignedFlight(freight, 0, true);
  m->CreateCargoAirplane(flight, a.runway, storage);
  ASSERT_EQ(m->cargoAirplanes.size(), 1u);
  cEntity_Airplane* airplane = m->cargoAirplanes[0];
  EXPECT_EQ(airplane->cargoFlight, 1);
  EXPECT_EQ(airplane->gate, a.site.DropoffNode(storage));
  EXPECT_EQ(SaveBytes(*m).size(), 4u);  // cargo airplanes are not saved
  m->Clear();
  EXPECT_TRUE(airplane->finished);
  EXPECT_TRUE(airplane->IsMarkedForRemoval());
  EXPECT_TRUE(m->cargoAirplanes.empty());
}

TEST_F(AmbientManagerTest, TheTickDropsEveryFinishedAirplane) {
  for (int i = 0; i < 4; ++i) m->CreatePassengerAirplane(PlacedFlight(), a.runway, a.terminal);
  ASSERT_EQ(m->airplanes.size(), 4u);
  cEntity_Airplane* second = m->airplanes[1];
  cEntity_Airplane* last = m->airplanes[3];
  m->airplanes[0]->Finish();
  m->airplanes[2]->Finish();
  m->OnTime(0, 0, kTimeEvent_Tick, 1.0f);
  EXPECT_EQ(m->airplanes, (std::vector<cEntity_Airplane*>{second, last}));
  // The saved list holds the live airplanes' flights only.
  const std::vector<uint8_t> bytes = SaveBytes(*m);
  ASSERT_EQ(bytes.size(), 12u);
  EXPECT_EQ(bytes[0], 2u);
  for (size_t i = 4; i < bytes.size(); i += 4) EXPECT_NE(bytes[i] & bytes[i + 1] & bytes[i + 2] & bytes[i + 3], 0xFF);

  simkit::FakeInstance* storage = a.Place(7, "Cargo");
  a.site.AddStorage(storage, storage->GetType()->GetTypeWord(), 3, 0, 2);
  cAirlineContract* freight = a.ActiveAirline("Ambient Freight", true);
  for (int i = 0; i < 2; ++i) m->CreateCargoAirplane(a.SignedFlight(freight, 0, true), a.runway, storage);
  ASSERT_EQ(m->cargoAirplanes.size(), 2u);
  m->cargoAirplanes[0]->Finish();
  m->cargoAirplanes[1]->Finish();
  m->OnTime(0, 0, kTimeEvent_Tick, 1.0f);
  EXPECT_TRUE(m->cargoAirplanes.empty());
}

TEST_F(AmbientManagerTest, ParkingPaysByTheLotsLevel) {
  struct Case {
    const char* name;
    uint8_t level;
    bool upper;
    double paid;
  } cases[] = {
      {"hourly, one hour", 1, false, 4.0},
      {"hourly, four hours", 1, true, 16.0},
      {"short-term, two days", 2, false, 2 * 24 * 2.5},
      {"short-term, five days", 2, true, 5 * 24 * 2.5},
      {"long-term, five days", 3, false, 5 * 24 * 1.5},
      {"long-term, fourteen days", 3, true, 14 * 24 * 1.5},
  };
  for (const Case& c : cases) {
    c.upper ? a.w.world.random.UseUpper() : a.w.world.random.UseLower();
    simkit::FakeInstance* lot = a.Place(3, "Lot " + std::to_string(c.level), c.level);
    const double parking = a.w.world.stats->block.parkingIncome;
    const double cash = a.w.world.stats->block.cash;
    m->SpawnVehicle(1, 1, 2, 2, kVehicleKind_Parking, lot, 0);
    EXPECT_DOUBLE_EQ(a.w.world.stats->block.parkingIncome - parking, c.paid) << c.name;
    EXPECT_DOUBLE_EQ(a.w.world.stats->block.cash - cash, c.paid) << c.name;
    // A drop-off car pays nothing.
    m->SpawnVehicle(1, 1, 2, 2, kVehicleKind_DropOff, lot, 0);
    EXPECT_DOUBLE_EQ(a.w.world.stats->block.parkingIncome - parking, c.paid) << c.name;
  }
}

TEST_F(AmbientManagerTest, OrdinaryTrafficIsRefusedOverTheLimitOrWhenClosed) {
  struct Case {
    const char* name;
    int32_t traffic;
    uint8_t closure, running;
    uint32_t kind;
    bool refused;
  } cases[] = {
      {"15 of 15: one more is let in", 15, 0, 1, kVehicleKind_DropOff, false},
      {"16 of 15: refused", 16, 0, 1, kVehicleKind_DropOff, true},
      {"closed airport", 0, 1, 1, kVehicleKind_DropOff, true},
      {"flights not running", 0, 0, 0, kVehicleKind_DropOff, true},
      {"service vehicles pass the limit", 100, 1, 0, 0x100, false},
  };
  for (const Case& c : cases) {
    m->trafficCount = c.traffic;
    m->refusedCount = 0;
    a.airport->closure = c.closure;
    a.w.manager.running = c.running;
    m->SpawnVehicle(1, 1, 2, 2, c.kind, nullptr, 0);
    EXPECT_EQ(m->refusedCount, c.refused ? 1 : 0) << c.name;
  }
}

TEST_F(AmbientManagerTest, AMaintenanceVehicleThatCannotBeMadeStopsTheWait) {
  cFlightContract* flight = PlacedFlight();
  m->CreatePassengerAirplane(flight, a.runway, a.terminal);
  cEntity_Airplane* airplane = m->airplanes[0];
  airplane->servicesUnderWay[kService_Maintenance] = 1;
  airplane->servicesUnderWay[kService_Catering] = 1;
  m->SpawnMaintenanceVehicle(1, 1, true, 0x10, airplane);
  EXPECT_EQ(airplane->servicesUnderWay[kService_Maintenance], 0);
  EXPECT_EQ(airplane->servicesUnderWay[kService_Catering], 1);
}

}  // namespace
