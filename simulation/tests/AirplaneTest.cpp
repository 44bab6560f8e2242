#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "simulation/Airplane.h"
#include "simulation/StatManager.h"
#include "simulation/tests/AirportTestWorld.h"

namespace {

using airporttest::AirportWorld;

class AirplaneTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(a.w.world.ready);
    ASSERT_NE(a.airport, nullptr);
    a.w.world.random.UseLower();
    a.w.world.table.actionFactory->RegisterSpawn(&spawn);
    a.w.manager.running = 1;
    // A runway at cell (10, 10) and a terminal with two gates joined to it.
    a.runway = a.Place(8, "Runway");
    a.terminal = a.Place(5, "Terminal");
    a.w.world.buildings.terminals.push_back(a.terminal);
    a.Strip(10, 20, 10);
    a.site.AddRunway(a.runway, 3000.0f, 10, 10);
    a.site.AddTerminal(a.terminal, {{15, 10}, {20, 10}});
    a.site.Link(a.runway, a.terminal);
    airline = a.ActiveAirline("Plane Air");
    for (uint32_t i = 0; i < kFeeItemCount; ++i) airline->fees[i] = 10.0f * (i + 1);
    airline->signingPayment = 20000.0;
    Clock().SetSpeed(1);
    Clock().totalSeconds = 1200000000u;  // where a float of seconds has a 128-second step
  }
  cSimulation_Clock& Clock() { return a.w.world.Clock(); }
  cEntity_Airplane* Make(uint32_t gate = 0, bool cargo = false) {
    cEntity_Base* made = nullptr;
    if (status::Failed(a.w.world.manager->SpawnEntity(cEntity_Airplane::kSpawnName, &made))) return nullptr;
    auto* plane = dynamic_cast<cEntity_Airplane*>(made);
    if (!plane) return nullptr;
    cFlightContract* flight = a.SignedFlight(airline, 150, cargo);
    auto* model = const_cast<AirplaneData*>(flight->airplane);
    model->vertDropMaxVel = 5.0f;
    model->vertDropAccel = 0.8f;
    model->horizMaxVel = 34.0f;
    model->horizAccel = 9.0f;
    model->taxiVel = 8.0f;
    flight->passengers = 100;
    plane->SetFlight(flight);
    plane->runway = a.runway;
    plane->terminal = a.terminal;
    plane->gate = a.site.GateOf(a.terminal, gate).node;
    plane->cargoFlight = cargo ? 1 : 0;
    Clock().RegisterTimeObject(plane);
    plane->Appear();
    return plane;
  }
  void Tick(cEntity_Airplane* plane, float seconds) {
    Clock().totalSeconds += static_cast<uint32_t>(seconds);
    plane->OnTime(Clock().totalSeconds, 0, kTimeEvent_Tick, seconds);
  }
  std::vector<std::string> Subjects() {
    std::vector<std::string> out;
    for (const auto& m : a.w.world.pda->posted) out.push_back(m.subject);
    return out;
  }
  static constexpr uint32_t kFeeItemCount = 18;

  AirportWorld a;
  SpawnAirplane spawn;
  cAirlineContract* airline = nullptr;
};

TEST_F(AirplaneTest, HeldPastHalfAnHourCountsADelayAndLeavesOtherLocksAlone) {
  a.site.RunwayOf(a.runway).lock = 1;  // another airplane on the runway
  cEntity_Airplane* plane = Make();
  ASSERT_NE(plane, nullptr);
  Tick(plane, 1800.0f);
  EXPECT_EQ(plane->phase, uint32_t{kPhase_Holding});
  EXPECT_FALSE(plane->finished);
  Tick(plane, 1.0f);
  EXPECT_TRUE(plane->finished);
  EXPECT_EQ(airline->delayCounter, 1);
  EXPECT_EQ(a.site.RunwayOf(a.runway).lock, 1);
  EXPECT_EQ(a.ambient.forgotten, std::vector<cEntity_Airplane*>{plane});
}

TEST_F(AirplaneTest, OneRunwayTwoAirplanes) {
  cEntity_Airplane* first = Make(0);
  cEntity_Airplane* second = Make(1);
  Tick(first, 1.0f);
  Tick(second, 1.0f);
  EXPECT_EQ(first->phase, uint32_t{kPhase_Landing});
  EXPECT_EQ(second->phase, uint32_t{kPhase_Holding});
  EXPECT_EQ(first->holdsRunwayLock, 1);
  EXPECT_EQ(a.site.RunwayOf(a.runway).lock, 1);
  // The first gives the runway back at its gate; the second may land then.
  first->GateArrival(true);
  EXPECT_EQ(a.site.RunwayOf(a.runway).lock, 0);
  Tick(second, 1.0f);
  EXPECT_EQ(second->phase, uint32_t{kPhase_Landing});
  second->Finish();
  first->Finish();
  EXPECT_EQ(a.site.RunwayOf(a.runway).lock, 0);
  EXPECT_EQ(a.site.GateOf(a.terminal, 0).node->lock, 0);
  EXPECT_EQ(a.site.GateOf(a.terminal, 1).node->lock, 0);
}

TEST_F(AirplaneTest, ClosedAirportOrStoppedFlightsHold) {
  struct Case {
    const char* name;
    uint8_t closure, running, enabled, gateLock;
  } cases[] = {
      {"closed by weather", 1, 1, 1, 0},
      {"flights not running", 0, 0, 1, 0},
      {"runway disabled", 0, 1, 0, 0},
      {"gate taken", 0, 1, 1, 1},
  };
  for (const Case& c : cases) {
    a.airport->closure = c.closure;
    a.w.manager.running = c.running;
    a.site.RunwayOf(a.runway).enabled = c.enabled;
    a.site.GateOf(a.terminal, 0).node->lock = c.gateLock;
    cEntity_Airplane* plane = Make();
    Tick(plane, 10.0f);
    EXPECT_EQ(plane->phase, uint32_t{kPhase_Holding}) << c.name;
    plane->Finish();
    EXPECT_EQ(a.site.GateOf(a.terminal, 0).node->lock, c.gateLock) << c.name;
  }
}

TEST_F(AirplaneTest, ArrivalPaysFeesBySizeAndPeakAndPassengers) {
  struct Case {
    const char* name;
    uint8_t size;
    bool busyGates;
    double paid;
  } cases[] = {
      // fee i is 10 (i + 1): landing fee s = 10 (s + 1); peak fee 10 = 110;
      // passengers 100 x fee 11 (120); the maintenance draw is at its lowest (0).
      {"small, quiet", 0, false, 10 + 100 * 120.0},
      {"largest, quiet", 3, false, 40 + 100 * 120.0},
      {"small, peak", 0, true, 110 + 10 + 100 * 120.0},
  };
  for (const Case& c : cases) {
    cEntity_Airplane* plane = Make();
    const_cast<AirplaneData*>(plane->flight->airplane)->sizeClass = c.size;
    a.site.GateOf(a.terminal, 0).node->lock = c.busyGates ? 1 : 0;
    a.site.GateOf(a.terminal, 1).node->lock = c.busyGates ? 1 : 0;
    const double cash = a.w.world.stats->block.cash;
    const uint32_t passengers = a.w.world.stats->block.passengers;
    plane->ArrivalStep();
    plane->ArrivalStep();  // once per airplane
    EXPECT_DOUBLE_EQ(a.w.world.stats->block.cash - cash, c.paid) << c.name;
    EXPECT_EQ(a.w.world.stats->block.passengers - passengers, 100u) << c.name;
    plane->Finish();
  }
}

TEST_F(AirplaneTest, TheStayIsChargedInWholeSeconds) {
  cEntity_Airplane* plane = Make();
  const_cast<AirplaneData*>(plane->flight->airplane)->sizeClass = 2;
  plane->now = plane->landingTime + 5400;  // an hour and a half
  const double cash = a.w.world.stats->block.cash;
  plane->DepartureStep();
  plane->DepartureStep();
  // Parking fee of size 2 (item 7: 80) and security (item 14: 150), per hour.
  EXPECT_DOUBLE_EQ(a.w.world.stats->block.cash - cash, 1.5 * 80 + 1.5 * 150);
  plane->Finish();
}

class CargoPlaneTest : public AirplaneTest {
 protected:
  BOInstance* Storage(int32_t capacity, bool cold) {
    BOInstance* storage = a.Place(7, cold ? "Cold Storage" : "Cargo");
    a.site.CargoOf(storage).capacity = capacity;
    a.site.CargoOf(storage).cold = cold;
    a.ambient.connected.insert(storage);
    a.airport->storages.push_back(storage);
    if (cold) a.airport->coldStorages.push_back(storage);
    return storage;
  }
};

TEST_F(CargoPlaneTest, CargoWithNoRoomIsFinedByItsKind) {
  struct Case {
    const char* name;
    bool coldModel;
    double random;  // every draw at the bottom or the top of its range
    double arrivalFees;
    std::string body;
  } cases[] = {
      // Landing fee of size 1 (20) and 100 passengers at 120; at the top the
      // maintenance draw adds 3 x 140.
      {"plain cargo", false, 0.0, 20 + 12000.0,
       "You have been fined $1000.00 by Plane Air for not having enough cargo space."},
      {"cold cargo", true, 1.0, 420 + 20 + 12000.0,
       "You have been fined $1000.00 by Plane Air for not having enough cold storage cargo space."},
  };
  for (const Case& c : cases) {
    a.w.world.pda->posted.clear();
    c.random > 0.5 ? a.w.world.random.UseUpper() : a.w.world.random.UseLower();
    cEntity_Airplane* plane = Make(0, true);
    const_cast<AirplaneData*>(plane->flight->airplane)->cargo = c.coldModel ? 1 : 0;
    const double cash = a.w.world.stats->block.cash;
    plane->ArrivalStep();
    EXPECT_GT(plane->cargoOnBoard, 0u) << c.name;
    ASSERT_EQ(a.w.world.pda->posted.size(), 1u) << c.name;
    EXPECT_EQ(a.w.world.pda->posted[0].subject, "Plane Air has fined you!") << c.name;
    EXPECT_EQ(a.w.world.pda->posted[0].body, c.body) << c.name;
    EXPECT_DOUBLE_EQ(a.w.world.stats->block.cash - cash, c.arrivalFees - 1000.0) << c.name;
    plane->Finish();
  }
}

TEST_F(CargoPlaneTest, StoredCargoIsChargedAndWaitsForItsPickUpTime) {
  BOInstance* storage = Storage(500, false);
  cEntity_Airplane* first = Make(0, true);
  a.w.world.random.UseLower();  // 10 units, pick-up 0.1 of a week later (0 whole days: one charged)
  const double cash = a.w.world.stats->block.cash;
  first->ArrivalStep();
  EXPECT_EQ(first->cargoOnBoard, 0u);
  EXPECT_EQ(a.site.StorageFreeSpace(storage), 490);
  EXPECT_TRUE(Subjects().empty());
  // Storage fee (item 16: 170) x 10 units x 1 day, beside the arrival fees.
  const double fees = 20 + 100 * 120.0;
  EXPECT_DOUBLE_EQ(a.w.world.stats->block.cash - cash, fees + 170.0 * 10);
  first->Finish();

  // A later airplane of the airline takes it once the pick-up time is due.
  cEntity_Airplane* second = Make(1, true);
  second->cargoOnBoard = 95;
  second->now = Clock().totalSeconds + 60000;  // before 0.7 days
  a.airport->LoadAirplaneCargo(second, 0, 0);
  EXPECT_EQ(second->cargoOnBoard, 95u);
  second->now = Clock().totalSeconds + 61000;
  a.airport->LoadAirplaneCargo(second, 0, 0);
  EXPECT_EQ(second->cargoOnBoard, 100u);  // up to the capacity
  EXPECT_EQ(a.site.StoredCargo(storage, second->now, "Plane Air"), 5u);
  second->Finish();
}

TEST_F(AirplaneTest, ServicesAboveSpeedFiveAddTimeInsteadOfVehicles) {
  Clock().SetSpeed(10);
  cEntity_Airplane* plane = Make();
  plane->GateArrival(false);
  // Baggage, maintenance, catering: 360; the second maintenance (the draw
  // 0 is below 0.5): 120. No vehicle is sent.
  EXPECT_FLOAT_EQ(plane->serviceTime, 1800.0f + 360.0f + 120.0f);
  for (const std::string& call : a.ambient.calls) EXPECT_EQ(call.find("maintenance"), std::string::npos) << call;
  plane->Finish();

  a.ambient.servedKinds = 0;  // nobody can come: each service is asked for
  cEntity_Airplane* asked = Make(1);
  asked->GateArrival(false);
  EXPECT_EQ(asked->serviceRequests[kService_Baggage], 1);
  EXPECT_EQ(asked->serviceRequests[kService_Catering], 1);
  a.ambient.servedKinds = 0xFF;
  const float before = asked->serviceTime;
  asked->tickSeconds = 1.0f;
  asked->ServicesStep();  // the first request is served: 120 seconds more
  EXPECT_FLOAT_EQ(asked->serviceTime, before + 120.0f);
  EXPECT_EQ(asked->serviceRequests[kService_Baggage], 0);
  asked->Finish();
}

TEST_F(AirplaneTest, SlowGateArrivalSendsTheVehicles) {
  cEntity_Airplane* plane = Make();
  a.ambient.calls.clear();
  plane->GateArrival(false);
  const uint16_t x = plane->gate->x, y = plane->gate->y;
  auto cell = [&](int dx, int dy) { return std::to_string(x + dx) + "," + std::to_string(y + dy); };
  std::vector<std::string> sent;
  for (const std::string& call : a.ambient.calls)
    if (call.rfind("maintenance", 0) == 0) sent.push_back(call);
  EXPECT_EQ(sent, (std::vector<std::string>{"maintenance " + cell(0, 2) + " 8", "maintenance " + cell(0, 4) + " 16",
                                            "maintenance " + cell(-2, 2) + " 128",
                                            "maintenance " + cell(2, 4) + " 64"}));
  EXPECT_EQ(plane->servicesUnderWay[kService_Baggage], 1);
  EXPECT_EQ(plane->servicesUnderWay[kService_SecondMaintenance], 1);
  EXPECT_FLOAT_EQ(plane->serviceTime, 1800.0f);
  plane->Finish();
}

TEST_F(AirplaneTest, ASixHourWaitCancelsTheFlight) {
  a.ambient.servedKinds = 0;
  cEntity_Airplane* plane = Make();
  plane->GateArrival(false);
  Tick(plane, 21600.0f);
  EXPECT_TRUE(Subjects().empty());
  EXPECT_EQ(plane->phase, uint32_t{kPhase_AtGate});
  Tick(plane, 1.0f);
  ASSERT_EQ(Subjects(), std::vector<std::string>{"Flight Canceled"});
  // The first service under way names the cancel; the departure begins in
  // the same tick (here it finds no taxiway to the runway and ends).
  EXPECT_EQ(a.w.world.pda->posted[0].body,
            "A flight was canceled because Baggage Handlers couldn't make it to the plane!");
  EXPECT_EQ(plane->serviceTime, 0.0f);
  EXPECT_NE(plane->phase, uint32_t{kPhase_AtGate});
  plane->Finish();
}

TEST_F(AirplaneTest, AboveSpeedFiveAFlightArrivesPaysAndLeavesAtOnce) {
  Clock().SetSpeed(1000);
  cEntity_Airplane* plane = Make();
  const double cash = a.w.world.stats->block.cash;
  Tick(plane, 600.0f);
  EXPECT_EQ(plane->phase, uint32_t{kPhase_AtGate});
  EXPECT_EQ(plane->arrivalDone, 1);
  EXPECT_EQ(a.site.GateOf(a.terminal, 0).node->lock, 1);
  EXPECT_EQ(a.site.RunwayOf(a.runway).lock, 0);
  for (int i = 0; i < 4 && !plane->finished; ++i) Tick(plane, 600.0f);
  EXPECT_TRUE(plane->finished);
  EXPECT_EQ(plane->departureCharged, 1);
  EXPECT_GT(a.w.world.stats->block.cash, cash);
  EXPECT_EQ(a.site.GateOf(a.terminal, 0).node->lock, 0);

  // A gate held by another airplane keeps the newcomer out of sight until
  // it gives up like a held flight.
  a.site.GateOf(a.terminal, 1).node->lock = 1;
  cEntity_Airplane* late = Make(1);
  Tick(late, 600.0f);
  EXPECT_EQ(late->phase, uint32_t{kPhase_Holding});
  EXPECT_FALSE(late->IsVisible());
  Tick(late, 1300.0f);
  EXPECT_TRUE(late->finished);
  EXPECT_EQ(a.site.GateOf(a.terminal, 1).node->lock, 1);
}

TEST_F(AirplaneTest, LandsTaxisToTheGateAndIsServed) {
  // Landing toward +x along a taxiway long enough for the roll-out.
  a.site.SetRotation(a.runway, 1);
  a.Strip(21, 63, 10);
  cEntity_Airplane* plane = Make();
  // A short-field airplane, so its roll-out stays on the kit's small grid.
  plane->verticalAccel = 5.0f;
  plane->horizontalLimit = plane->horizontalSpeed = 10.0f;
  plane->horizontalAccel = 50.0f;
  plane->Appear();
  bool sawTaxiing = false;
  for (int i = 0; i < 2000 && plane->phase != kPhase_AtGate && !plane->finished; ++i) {
    Tick(plane, 1.0f);
    sawTaxiing = sawTaxiing || plane->phase == kPhase_TaxiIn;
  }
  EXPECT_TRUE(sawTaxiing);
  ASSERT_FALSE(plane->finished);
  ASSERT_EQ(plane->phase, uint32_t{kPhase_AtGate});
  EXPECT_EQ(plane->arrivalDone, 1);
  EXPECT_EQ(a.site.RunwayOf(a.runway).lock, 0);
  EXPECT_EQ(plane->gate->lock, 1);
  uint16_t x = 0, y = 0;
  ASSERT_TRUE(WorldToPlotCell(plane->GetPositionX(), plane->GetPositionZ(), &x, &y));
  EXPECT_LE(std::abs(int(x) - int(plane->gate->x)), 1);
  EXPECT_EQ(y, plane->gate->y);
  plane->Finish();
}

}  // namespace
