#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "engine/files/DataFile.h"
#include "simulation/AirportBlob.h"
#include "simulation/StatManager.h"
#include "simulation/tests/AirportTestWorld.h"

namespace {

using airporttest::AirportWorld;

std::vector<uint8_t> SaveBytes(cEntity_AirportManager& a) {
  SerialBlock block;
  uint32_t size = 0;
  if (!a.Save(&block, &size)) return {};
  return std::vector<uint8_t>(block.get(), block.get() + size);
}

class AirportManagerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(a.w.world.ready);
    ASSERT_NE(a.airport, nullptr);
    a.w.world.random.UseLower();
  }
  std::vector<std::string> Subjects() {
    std::vector<std::string> out;
    for (const auto& m : a.w.world.pda->posted) out.push_back(m.subject);
    return out;
  }
  AirportWorld a;
};

TEST_F(AirportManagerTest, SpawnedByNameReadsOurAwardAndEventTables) {
  cEntity_AirportManager& m = *a.airport;
  ASSERT_GE(m.awards.size(), 12u);
  std::set<uint8_t> conditions;
  uint8_t highest = 0;
  for (const auto& award : m.awards) {
    conditions.insert(award->conditionType);
    highest = std::max(highest, award->level);
    EXPECT_FALSE(award->name.empty());
    EXPECT_FALSE(award->imagePath.empty()) << award->name;
    EXPECT_GT(award->prize, 0.0f) << award->name;
  }
  EXPECT_EQ(conditions, (std::set<uint8_t>{1, 2, 3, 4, 5, 6}));
  EXPECT_GE(highest, 25);
  ASSERT_GE(m.events.size(), 6u);
  for (const auto& event : m.events) {
    EXPECT_FALSE(event->name.empty());
    EXPECT_NE(event->conditionType, 0) << event->name;
  }
  EXPECT_EQ(m.FindAward("carrier's choice"), m.FindAward("Carrier's Choice"));
  EXPECT_NE(m.FindAward("Carrier's Choice"), nullptr);
  EXPECT_EQ(m.GetFeePrice(10), 300.0f);
  EXPECT_EQ(m.GetFeePrice(18), 0.0f);
}

TEST_F(AirportManagerTest, TableDefaultsAndLowBytes) {
  cEntity_AirportManager& m = *a.airport;
  m.ReadAwardTable("[A]\nname = Plain\ncondition_type = 258\nlevel = 513\n");
  ASSERT_EQ(m.awards.size(), 1u);
  EXPECT_EQ(m.awards[0]->conditionType, 2);
  EXPECT_EQ(m.awards[0]->level, 1);
  EXPECT_EQ(m.awards[0]->threshold, CDataFile::kNoFloat);
  EXPECT_EQ(m.awards[0]->prize, CDataFile::kNoFloat);
  m.ReadEventTable("[E]\nname = Plain\nretrigger_time = 12.9\n[F]\nname = Huge\nretrigger_time = 1e30\n");
  ASSERT_EQ(m.events.size(), 2u);
  EXPECT_EQ(m.events[0]->retriggerTime, 12u);
  EXPECT_EQ(m.events[0]->actionType, 0);
  EXPECT_EQ(m.events[1]->retriggerTime, 0u);
  m.ReadEventTable("not a table [");
  EXPECT_TRUE(m.events.empty());
}

TEST_F(AirportManagerTest, DailyTrafficSharesDemandOverGateFlights) {
  struct Case {
    const char* name;
    std::vector<uint32_t> flightsPerTerminal;
    uint16_t seats;
    uint32_t traffic;
    bool satisfactionFalls;
  } cases[] = {
      {"no terminal: traffic 0", {}, 300, 0, false},
      {"one terminal, two flights: 410.96 truncated", {2}, 300, 410, false},
      {"seats hold fewer than the share", {2}, 100, 200, true},
      {"two terminals by filled slots", {1, 3}, 300, 102 + 308, false},
      {"terminal without flights takes none", {0, 2}, 300, 410, false},
  };
  for (const Case& c : cases) {
    AirportWorld world;
    world.w.world.scenario.population = 1000000;
    world.w.world.stats->block.satisfactionRating = 50.0f;
    world.airport->traffic = 77;
    cAirlineContract* airline = world.ActiveAirline("Traffic Air");
    for (uint32_t count : c.flightsPerTerminal) {
      simkit::FakeInstance* terminal = world.Place(5, "Terminal");
      world.w.world.buildings.terminals.push_back(terminal);
      world.site.AddTerminal(terminal, {{static_cast<uint16_t>(10 * world.w.world.buildings.terminals.size()), 5}});
      for (uint32_t i = 0; i < count; ++i)
        world.site.GateOf(terminal, 0).slots[i] = world.SignedFlight(airline, c.seats);
    }
    const float base = world.w.world.stats->block.satisfactionBase;
    world.airport->UpdateTraffic();
    EXPECT_EQ(world.airport->GetTraffic(), c.traffic) << c.name;
    EXPECT_EQ(world.airport->GetTrafficHistory(0), 77u) << c.name;
    EXPECT_FLOAT_EQ(world.w.world.stats->block.satisfactionBase, base - (c.satisfactionFalls ? 0.1f : 0.0f))
        << c.name;
    uint32_t booked = 0;
    for (cFlightContract* f : airline->signedFlights) booked += f->passengers;
    EXPECT_EQ(booked, c.traffic) << c.name;
  }
}

TEST_F(AirportManagerTest, HistoryKeepsTenDaysNewestFirst) {
  for (uint32_t day = 1; day <= 12; ++day) {
    a.airport->traffic = day;
    a.airport->UpdateTraffic();
  }
  for (uint32_t i = 0; i < 10; ++i) EXPECT_EQ(a.airport->GetTrafficHistory(i), 12 - i) << i;
  EXPECT_EQ(a.airport->GetTrafficHistory(10), 0u);
}

TEST_F(AirportManagerTest, BanksAreScheduledAtOddHoursFiveToNineteen) {
  a.BasicAirport(1, 1);
  a.site.GateOf(a.terminal, 0).hour = 3;
  cAirlineContract* airline = a.ActiveAirline("Bank Air");
  cAirlineContract* freight = a.ActiveAirline("Bank Freight", true);
  std::vector<cFlightContract*> passenger, cargo;
  for (uint8_t bank = 0; bank < 8; ++bank) {
    passenger.push_back(a.SignedFlight(airline));
    passenger.back()->buildingWord = a.terminal->GetType()->GetTypeWord();
    a.airport->AddPassengerFlight(bank, passenger.back());
    cargo.push_back(a.SignedFlight(freight, 0, true));
    a.airport->AddStorageFlight(bank, cargo.back());
  }
  a.w.world.Clock().dayOfYear = 40;
  a.w.world.Clock().year = 1975;
  for (uint8_t hour = 1; hour <= 24; ++hour) {
    const size_t before = a.Queue().size();
    a.Hour(hour);
    const std::vector<EventRecord> queue = a.Queue();
    const bool bankHour = hour >= 5 && hour <= 19 && hour % 2 == 1;
    ASSERT_EQ(queue.size(), before + (bankHour ? 3u : 0u)) << "hour " << int(hour);
    if (!bankHour) continue;
    const uint32_t bank = (hour - 5) / 2;
    std::vector<std::string> got;
    for (const EventRecord& e : queue) {
      const bool mine = e.payload == passenger[bank]->flightId || e.payload == cargo[bank]->flightId;
      if (mine) got.push_back(std::to_string(e.kind) + "@" + std::to_string(e.hour) + ":" + std::to_string(e.minute));
    }
    // Gate hour byte 3 and the random draw at its lowest (-10): minute 5;
    // the companion at minute 15 - 30, an hour back at :45.
    const std::string h = std::to_string(2 * bank + 6), back = std::to_string(2 * bank + 5);
    std::vector<std::string> want{"10@" + back + ":45", "8@" + h + ":5", "9@" + h + ":0"};
    std::sort(got.begin(), got.end());
    std::sort(want.begin(), want.end());
    EXPECT_EQ(got, want) << "hour " << int(hour);
  }
}

TEST_F(AirportManagerTest, GateByteZeroPutsTheCompanionAtHalfPastFive) {
  a.BasicAirport(1, 1);
  cAirlineContract* airline = a.ActiveAirline("Early Air");
  cFlightContract* flight = a.SignedFlight(airline);
  flight->buildingWord = a.terminal->GetType()->GetTypeWord();
  a.airport->AddPassengerFlight(0, flight);
  a.w.world.random.UseUpper();
  a.Hour(5);
  std::vector<std::string> got;
  for (const EventRecord& e : a.Queue())
    got.push_back(std::to_string(e.kind) + "@" + std::to_string(e.hour) + ":" + std::to_string(e.minute));
  std::sort(got.begin(), got.end());
  EXPECT_EQ(got, (std::vector<std::string>{"10@5:30", "8@6:30"}));
}

TEST_F(AirportManagerTest, UnmetRequirementsSkipTheFlight) {
  a.BasicAirport(1, 1);
  cAirlineContract* airline = a.ActiveAirline("Picky Air");
  cFlightContract* flight = a.SignedFlight(airline);
  a.airport->AddPassengerFlight(0, flight);
  a.w.manager.baseRequirementsMet = 0;  // the airline's check needs a working airport
  a.Hour(5);
  EXPECT_TRUE(a.Queue().empty());
}

TEST_F(AirportManagerTest, NotFunctionalPostsEveryHourAndSchedulesNothing) {
  a.BasicAirport(1, 1);
  cAirlineContract* airline = a.ActiveAirline("Idle Air");
  a.airport->AddPassengerFlight(0, a.SignedFlight(airline));
  a.w.manager.running = 1;
  a.w.manager.baseRequirementsMet = 0;
  for (uint8_t hour = 4; hour <= 7; ++hour) a.Hour(hour);
  EXPECT_TRUE(a.Queue().empty());
  a.w.manager.baseRequirementsMet = 1;
  a.Hour(5);
  EXPECT_FALSE(a.Queue().empty());
}

TEST_F(AirportManagerTest, PassengerFlightsTakeOnlyGatesJoinedToTheRunway) {
  a.BasicAirport(2, 1);  // gate 0 joined, gate 1 off the strip
  cAirlineContract* airline = a.ActiveAirline("Gate Air");
  std::vector<cFlightContract*> placed;
  for (int i = 0; i < 9; ++i) {
    cFlightContract* flight = a.SignedFlight(airline);
    if (a.airport->PlacePassengerFlight(flight)) placed.push_back(flight);
  }
  ASSERT_EQ(placed.size(), 8u);  // the joined gate's eight slots
  std::set<uint8_t> slots;
  for (cFlightContract* f : placed) {
    EXPECT_EQ(f->slotKeys[0], 0);
    EXPECT_EQ(f->buildingWord, a.terminal->GetType()->GetTypeWord());
    slots.insert(f->slotKeys[1]);
    const auto& bank = a.airport->passengerBanks[f->slotKeys[1]];
    EXPECT_EQ(std::count(bank.begin(), bank.end(), f), 1);
  }
  EXPECT_EQ(slots.size(), 8u);
  a.airport->ReleasePassengerFlight(placed[0]);
  EXPECT_EQ(std::count(a.airport->passengerBanks[placed[0]->slotKeys[1]].begin(),
                       a.airport->passengerBanks[placed[0]->slotKeys[1]].end(), placed[0]),
            0);
}

TEST_F(AirportManagerTest, BankNumbersPastEightAreRefused) {
  cAirlineContract* airline = a.ActiveAirline("Range Air");
  cFlightContract* flight = a.SignedFlight(airline);
  a.airport->AddPassengerFlight(8, flight);
  a.airport->AddStorageFlight(200, flight);
  a.airport->RemoveStorageFlight(9, flight);
  for (uint32_t k = 0; k < 8; ++k) {
    EXPECT_TRUE(a.airport->passengerBanks[k].empty());
    EXPECT_TRUE(a.airport->cargoBanks[k].empty());
  }
}

class CargoTest : public AirportManagerTest {
 protected:
  void SetUp() override {
    AirportManagerTest::SetUp();
    a.runway = a.Place(8, "Runway");
    a.site.AddRunway(a.runway, 3000.0f, 0, 0);
    a.Strip(0, 10, 0);
    for (uint16_t i = 0; i < 2; ++i) {
      storages[i] = a.Place(7, "Cargo");
      // Same type: the serial (bits 23-31) tells them apart, the category
      // (bits 20-22) differs and is not compared.
      const uint32_t word = storages[i]->GetType()->GetTypeWord() | (uint32_t{i + 1u} << 23) | (5u << 20);
      a.site.AddStorage(storages[i], word, static_cast<uint16_t>(5 + 5 * i), 0, 2);
      a.airport->storages.push_back(storages[i]);
      a.airport->AddStorageFacility(storages[i]);
    }
  }
  simkit::FakeInstance* storages[2] = {};
};

TEST_F(CargoTest, CargoFlightsTakeDropOffPlacesOfLinkedStorages) {
  cAirlineContract* freight = a.ActiveAirline("Box Freight", true);
  int placed = 0;
  for (int i = 0; i < 5; ++i) placed += a.airport->PlaceCargoFlight(a.SignedFlight(freight, 0, true)) ? 1 : 0;
  EXPECT_EQ(placed, 4);
  size_t inBanks = 0;
  for (auto& bank : a.airport->cargoBanks) inBanks += bank.size();
  EXPECT_EQ(inBanks, 4u);
  // A word naming the storage with another category finds it.
  const uint32_t word = a.site.IdentityWord(storages[1]) & ~(7u << 20);
  EXPECT_EQ(a.airport->FindStorageByWord(word), storages[1]);
  a.airport->ClearStorageSlot(word, 1);
  EXPECT_EQ(a.site.StorageOf(storages[1]).places[1], nullptr);
}

TEST_F(CargoTest, RemovingAStorageReschedulesItsFlightsOrLosesThem) {
  cAirlineContract* freight = a.ActiveAirline("Crate Freight", true);
  cFlightContract* first = a.SignedFlight(freight, 0, true);
  cFlightContract* second = a.SignedFlight(freight, 0, true);
  ASSERT_TRUE(a.site.AssignDropoff(storages[0], first));
  ASSERT_TRUE(a.site.AssignDropoff(storages[0], second));
  a.airport->AddStorageFlight(first->slotKeys[1], first);
  a.airport->AddStorageFlight(second->slotKeys[1], second);

  // Room for both in the other storage: moved there.
  a.airport->RemoveStorageFacility(storages[0]);
  EXPECT_EQ(first->buildingWord, a.site.IdentityWord(storages[1]));
  EXPECT_EQ(second->buildingWord, a.site.IdentityWord(storages[1]));
  EXPECT_TRUE(Subjects().empty());

  // No room left anywhere: both are lost, then the contract.
  a.airport->RemoveStorageFacility(storages[1]);
  EXPECT_EQ(Subjects(), (std::vector<std::string>{"Flight contract lost", "Flight contract lost",
                                                   "Airline contract lost"}));
  EXPECT_TRUE(freight->signedFlights.empty());
  EXPECT_TRUE(a.w.manager.allFlights.empty());
  EXPECT_EQ(freight->state, 12);
  for (auto& bank : a.airport->cargoBanks) EXPECT_TRUE(bank.empty());
  EXPECT_EQ(std::count(a.w.manager.airlineLists[kList_Pool].begin(), a.w.manager.airlineLists[kList_Pool].end(),
                       freight),
            1);
  EXPECT_EQ(std::count(a.w.manager.airlineLists[kList_Active].begin(),
                       a.w.manager.airlineLists[kList_Active].end(), freight),
            0);
}

TEST_F(AirportManagerTest, ArrivalNeedsARunwayLongEnoughAndAFoundPath) {
  struct Case {
    const char* name;
    float runwayLength;
    uint32_t joined;
    uint16_t needed;
    bool arrives;
  } cases[] = {
      {"long runway, joined gate", 3000.0f, 1, 2000, true},
      {"exactly long enough", 2000.0f, 1, 2000, true},
      {"runway too short", 1999.0f, 1, 2000, false},
      {"no path to the gate", 3000.0f, 0, 2000, false},
  };
  for (const Case& c : cases) {
    AirportWorld world;
    world.w.world.random.UseLower();
    world.BasicAirport(1, c.joined, c.runwayLength);
    cAirlineContract* airline = world.ActiveAirline("Arrival Air");
    cFlightContract* flight = world.SignedFlight(airline, 200, false, c.needed);
    world.site.GateOf(world.terminal, 0).slots[0] = flight;
    flight->buildingWord = world.terminal->GetType()->GetTypeWord();
    world.airport->FlightArrival(flight->flightId);
    ASSERT_EQ(world.ambient.airplanes.size(), c.arrives ? 1u : 0u) << c.name;
    if (c.arrives) {
      EXPECT_EQ(world.ambient.airplanes[0].flight, flight) << c.name;
      EXPECT_EQ(world.ambient.airplanes[0].destination, world.terminal) << c.name;
    }
  }
  // An id not among the scheduled flights does nothing.
  a.BasicAirport(1, 1);
  a.airport->FlightArrival(12345);
  EXPECT_TRUE(a.ambient.airplanes.empty());
}

class DelayWeather : public simkit::FakeWeather {
 public:
  using FakeWeather::FakeWeather;
  uint32_t GetFlightDelay() override { return delay; }
  uint32_t delay = 0;
};

TEST_F(AirportManagerTest, ADelayPutsTheArrivalBackOnce) {
  struct Case {
    const char* name;
    uint8_t clockHour, clockMinute;
    uint32_t delay;
    uint16_t dayOfYear;
    uint8_t hour, minute;
  } cases[] = {
      {"ninety minutes", 10, 40, 90, 40, 12, 10},
      {"at the clock's hour 24 the day stays", 24, 30, 20, 40, 0, 50},
      {"past midnight into the next day", 23, 50, 20, 41, 0, 10},
  };
  for (const Case& c : cases) {
    AirportWorld world;
    DelayWeather weather{nullptr, kEntityType_Base};
    weather.delay = c.delay;
    world.w.world.table.weatherManager = &weather;
    world.BasicAirport(1, 1);
    cAirlineContract* airline = world.ActiveAirline("Late Air");
    cFlightContract* flight = world.SignedFlight(airline);
    flight->buildingWord = world.terminal->GetType()->GetTypeWord();
    cSimulation_Clock& clock = world.w.world.Clock();
    clock.year = 1980;
    clock.dayOfYear = 40;
    clock.hour = c.clockHour;
    clock.minute = c.clockMinute;
    world.airport->FlightArrival(flight->flightId);
    EXPECT_TRUE(world.ambient.airplanes.empty()) << c.name;
    EXPECT_EQ(flight->delayed, 1) << c.name;
    const std::vector<EventRecord> queue = world.Queue();
    ASSERT_EQ(queue.size(), 1u) << c.name;
    EXPECT_EQ(queue[0].kind, uint32_t{kEvent_PassengerFlight}) << c.name;
    EXPECT_EQ(queue[0].dayOfYear, c.dayOfYear) << c.name;
    EXPECT_EQ(queue[0].hour, c.hour) << c.name;
    EXPECT_EQ(queue[0].minute, c.minute) << c.name;
    EXPECT_EQ(queue[0].second, 0) << c.name;
    // Delayed once: the next firing lands whatever the weather.
    world.airport->FlightArrival(flight->flightId);
    EXPECT_EQ(world.ambient.airplanes.size(), 1u) << c.name;
    EXPECT_EQ(flight->delayed, 0) << c.name;
    world.w.world.table.weatherManager = &world.w.world.weather;
  }
}

TEST_F(AirportManagerTest, ArrivingPassengersDriveToTheParkingLots) {
  a.BasicAirport(1, 1);
  cAirlineContract* airline = a.ActiveAirline("Parking Air");
  cFlightContract* flight = a.SignedFlight(airline);
  flight->buildingWord = a.terminal->GetType()->GetTypeWord();
  flight->passengers = 300;  // p = 30; 33 % of it: 9 of each kind of parker
  simkit::FakeInstance* hourly = a.Place(3, "Hourly Lot", 1);
  simkit::FakeInstance* shortTerm = a.Place(3, "Short Lot", 2);
  simkit::FakeInstance* longTerm = a.Place(3, "Long Lot", 3);
  simkit::FakeInstance* bare = a.Place(3, "Bare Lot", 1);
  a.site.AddParking(hourly, 20.0f, 18.0f, 40, 40);    // h = 9 / 18 = 0.5: 9 parkers; a = 30 / 60 = 0.5: 10
  a.site.AddParking(shortTerm, 40.0f, 9.0f, 50, 50);  // s = 9 / 9 = 1: 9 parkers; 20 dropping off
  a.site.AddParking(longTerm, 0.0f, 0.0f, 60, 60);    // no long-term spaces: l = 0
  a.site.AddParking(bare, 0.0f, 0.0f, 70, 70);
  hourly->roadAccess = {{10, 10, 1}};
  shortTerm->roadAccess = {{20, 20, 0}};
  longTerm->roadAccess = {{30, 30, 2}};
  a.airport->FlightArrival(flight->flightId);
  ASSERT_EQ(a.ambient.airplanes.size(), 1u);
  std::map<std::string, int> counts;
  for (const std::string& call : a.ambient.calls) ++counts[call];
  EXPECT_EQ(counts["vehicle 2 11,10->40,40 d1"], 9);
  EXPECT_EQ(counts["vehicle 4 11,10->40,40 d1"], 10);
  EXPECT_EQ(counts["vehicle 2 20,19->50,50 d0"], 9);
  EXPECT_EQ(counts["vehicle 4 20,19->50,50 d0"], 20);
  EXPECT_EQ(a.ambient.calls.size(), 1u + 9 + 10 + 9 + 20);
}

TEST_F(AirportManagerTest, CargoArrivalsCreateACargoAirplaneWithoutRoadTraffic) {
  a.runway = a.Place(8, "Runway");
  a.site.AddRunway(a.runway, 3000.0f, 0, 0);
  a.Strip(0, 5, 0);
  simkit::FakeInstance* storage = a.Place(7, "Cargo");
  a.site.AddStorage(storage, storage->GetType()->GetTypeWord(), 5, 0, 1);
  a.airport->storages.push_back(storage);
  a.airport->AddStorageFacility(storage);
  cAirlineContract* freight = a.ActiveAirline("Arrival Freight", true);
  cFlightContract* flight = a.SignedFlight(freight, 0, true);
  ASSERT_TRUE(a.airport->PlaceCargoFlight(flight));
  a.airport->FlightArrival(flight->flightId);
  EXPECT_EQ(a.ambient.calls, (std::vector<std::string>{"cargo airplane " + std::to_string(flight->flightId)}));
}

TEST_F(AirportManagerTest, FlightEventsReachTheAirportThroughTheQueue) {
  a.BasicAirport(1, 1);
  cAirlineContract* airline = a.ActiveAirline("Queue Air");
  cFlightContract* flight = a.SignedFlight(airline);
  ASSERT_TRUE(a.airport->PlacePassengerFlight(flight));
  // From one morning to the next on the real clock and event queue: the
  // bank is scheduled at its hour and the arrival fires.
  cSimulation_Clock& clock = a.w.world.Clock();
  a.w.world.RunDays(1, 500);
  EXPECT_GE(clock.totalSeconds, 86400u);
  ASSERT_EQ(a.ambient.airplanes.size(), 1u);
  EXPECT_EQ(a.ambient.airplanes[0].flight, flight);
  EXPECT_EQ(a.ambient.airplanes[0].runway, a.runway);
}

TEST_F(AirportManagerTest, AwardsAreWonByTypeLevelRatingAndThreshold) {
  cEntity_AirportManager& m = *a.airport;
  m.ReadAwardTable(
      "[A]\nname = Early\ncondition_type = 3\nthreshold = 10\nprize = 1000\nlevel = 0\nrequired_airport_rating = 20\n"
      "[B]\nname = Later\ncondition_type = 3\nthreshold = 10\nprize = 2000\nlevel = 3\nrequired_airport_rating = 20\n"
      "[C]\nname = Strict\ncondition_type = 3\nthreshold = 50\nprize = 4000\nlevel = 0\nrequired_airport_rating = 20\n"
      "[D]\nname = Other Type\ncondition_type = 2\nthreshold = 0\nprize = 8000\nlevel = 0\nrequired_airport_rating = 0\n"
      "[E]\nname = Beloved\ncondition_type = 3\nthreshold = 0\nprize = 16000\nlevel = 0\nrequired_airport_rating = 90\n"
      "[F]\nname = Forty\ncondition_type = 3\nthreshold = 0\nprize = 32000\nlevel = 40\nrequired_airport_rating = 0\n");
  struct Case {
    const char* name;
    uint16_t year;
    float rating, value;
    std::vector<std::string> won;
  } cases[] = {
      {"1972: level 3 not yet", 1972, 50, 10, {"Early"}},
      {"1973: level 3 from now", 1973, 50, 10, {"Early", "Later"}},
      {"value below a threshold", 1980, 50, 9.9f, {}},
      {"rating below the required", 1980, 19.9f, 10, {}},
      {"high rating and value: several at once", 1980, 95, 60, {"Early", "Later", "Strict", "Beloved"}},
      {"2009: level 40 not yet", 2009, 0, 0, {}},
      {"2010: level 40 from now", 2010, 0, 0, {"Forty"}},
  };
  for (const Case& c : cases) {
    for (auto& award : m.awards) award->won = 0;
    a.w.world.pda->posted.clear();
    a.w.world.Clock().year = c.year;
    a.w.world.stats->block.airlineSatisfaction = c.rating;
    const double cash = a.w.world.stats->block.cash;
    m.CheckAward(3, c.value);
    std::vector<std::string> won;
    m.ListWonAwards(won);
    EXPECT_EQ(won, c.won) << c.name;
    double prizes = 0.0;
    for (const std::string& name : c.won) prizes += m.FindAward(name)->prize;
    EXPECT_DOUBLE_EQ(a.w.world.stats->block.cash - cash, prizes) << c.name;
    ASSERT_EQ(a.w.world.pda->posted.size(), c.won.size()) << c.name;
    for (size_t i = 0; i < c.won.size(); ++i) {
      EXPECT_EQ(a.w.world.pda->posted[i].subject, "You've won an award!") << c.name;
      EXPECT_EQ(a.w.world.pda->posted[i].body, "You have won the " + c.won[i] + " award!") << c.name;
    }
  }
  // A won award is not won again.
  a.w.world.pda->posted.clear();
  m.CheckAward(3, 1000);
  EXPECT_TRUE(a.w.world.pda->posted.empty());
}

TEST_F(AirportManagerTest, TheDailyRatingsReachTheAwardCheck) {
  a.airport->ReadAwardTable(
      "[A]\nname = Safe\ncondition_type = 3\nthreshold = -1000\nprize = 500\nlevel = 0\nrequired_airport_rating = -1000\n"
      "[B]\nname = Content\ncondition_type = 1\nthreshold = -1000\nprize = 500\nlevel = 0\nrequired_airport_rating = -1000\n"
      "[C]\nname = Partners\ncondition_type = 6\nthreshold = -1000\nprize = 500\nlevel = 0\nrequired_airport_rating = -1000\n");
  a.w.world.RunDays(1, 500);
  std::vector<std::string> won;
  a.airport->ListWonAwards(won);
  EXPECT_EQ(won, (std::vector<std::string>{"Safe", "Content", "Partners"}));
  // Total passengers come with each landed flight's income.
  a.airport->ReadAwardTable(
      "[P]\nname = Crowd\ncondition_type = 5\nthreshold = 300\nprize = 1\nlevel = 0\nrequired_airport_rating = -1000\n");
  a.w.world.stats->AddFlightIncome(100.0f, 200);
  EXPECT_EQ(a.airport->awards[0]->won, 0);
  a.w.world.stats->AddFlightIncome(100.0f, 100);
  EXPECT_EQ(a.airport->awards[0]->won, 1);
}

TEST_F(AirportManagerTest, AdministrationPlacesGoToTheLowestLevelWithRoom) {
  simkit::FakeInstance* admins[3] = {a.Place(6, "Admin", 3), a.Place(6, "Admin", 2), a.Place(6, "Admin", 2)};
  a.site.AddAdmin(admins[0], 5);
  a.site.AddAdmin(admins[1], 1);
  a.site.AddAdmin(admins[2], 1);
  simkit::FakeInstance* small[3] = {a.Place(11, "Shed", 1), a.Place(11, "Shed", 1), a.Place(11, "Shed", 1)};
  for (uint32_t i = 0; i < 3; ++i) a.site.SetWord(small[i], small[i]->GetType()->GetTypeWord() | ((i + 1) << 23));
  simkit::FakeInstance* big = a.Place(11, "Hangar", 4);
  EXPECT_FALSE(a.airport->HasAdminCapacityFor(big));
  EXPECT_FALSE(a.airport->AssignToAdmin(big));
  EXPECT_TRUE(a.airport->HasAdminCapacityFor(small[0]));
  for (simkit::FakeInstance* building : small) ASSERT_TRUE(a.airport->AssignToAdmin(building));
  // Level 2 first, the first of the tie first, then level 3.
  EXPECT_EQ(a.site.AdminOf(admins[1]).administered, std::vector<uint32_t>{a.site.IdentityWord(small[0])});
  EXPECT_EQ(a.site.AdminOf(admins[2]).administered, std::vector<uint32_t>{a.site.IdentityWord(small[1])});
  EXPECT_EQ(a.site.AdminOf(admins[0]).administered, std::vector<uint32_t>{a.site.IdentityWord(small[2])});
  a.airport->ReleaseFromAdmin(small[1]);
  EXPECT_TRUE(a.site.AdminOf(admins[2]).administered.empty());
  EXPECT_EQ(a.site.AdminOf(admins[2]).free, 1);
  EXPECT_EQ(a.site.AdminOf(admins[1]).free, 0);
}

TEST_F(AirportManagerTest, GateTestCountsLockedGateNodes) {
  struct Case {
    const char* name;
    uint32_t gates, locked;
    bool busy;
  } cases[] = {
      {"no gates", 0, 0, false},     {"four of five", 5, 4, true}, {"three of five", 5, 3, false},
      {"all of one", 1, 1, true},    {"none of two", 2, 0, false}, {"eight of ten", 10, 8, true},
  };
  for (const Case& c : cases) {
    AirportWorld world;
    world.BasicAirport(c.gates, c.gates);
    for (uint32_t g = 0; g < c.gates; ++g) world.site.GateOf(world.terminal, g).node->lock = g < c.locked ? 1 : 0;
    EXPECT_EQ(world.airport->AreGatesOccupied(), c.busy) << c.name;
  }
}

// Save and load.

class AirportBlobTest : public AirportManagerTest {
 protected:
  void Fill(AirportWorld& world) {
    simkit::RecordingPDA& pda = *world.w.world.pda;
    pda.PostMessage(7);  // a standard message: not saved, id kept
    pda.PostMessage(pda.AddMessage("First", "one"));
    pda.PostMessage(pda.AddMessage("Second", "two"));
    pda.AddMessage("Never posted", "-");
    pda.entries[1].read = 1;
    world.airport->awards[1]->won = 1;
    world.airport->awards[4]->won = 1;
    world.airport->events[2]->triggered = 1;
    world.airport->events[2]->lastTriggerValue = 1234;
    world.airport->closure = 2;
    world.airport->traffic = 900;
    for (uint32_t i = 0; i < 10; ++i) world.airport->history[i] = 100 + i;
  }
};

TEST_F(AirportBlobTest, RoundTripIsByteExactWithIdsRenumbered) {
  Fill(a);
  const std::vector<uint8_t> bytes = SaveBytes(*a.airport);
  AirportBlob blob;
  const char* why = nullptr;
  ASSERT_TRUE(AirportBlob::Parse(bytes.data(), static_cast<uint32_t>(bytes.size()), &blob, &why)) << why;
  ASSERT_EQ(blob.messages.size(), 2u);
  EXPECT_EQ(blob.messages[1].subject, "Second");
  ASSERT_EQ(blob.entries.size(), 3u);
  EXPECT_EQ(blob.entries[0].id, 7u);
  EXPECT_EQ(blob.entries[1].id, 1000u);
  EXPECT_EQ(blob.entries[1].read, 1);
  EXPECT_EQ(blob.entries[2].id, 1001u);
  EXPECT_EQ(blob.wonAwards, (std::vector<std::string>{a.airport->awards[1]->name, a.airport->awards[4]->name}));
  EXPECT_EQ(AirportBlob().Serialize().size(), 4u + 4 + 4 + 4 + 1 + 4 + 40);

  // Loaded into a fresh world, as a loaded game starts: the same blob out.
  AirportWorld fresh;
  fresh.airport->Stop();
  ASSERT_TRUE(fresh.airport->LoadFromBlob(bytes.data(), static_cast<uint32_t>(bytes.size())));
  fresh.airport->Start();
  EXPECT_EQ(SaveBytes(*fresh.airport), bytes);
  EXPECT_EQ(fresh.airport->closure, 2);
  EXPECT_EQ(fresh.airport->GetTrafficHistory(9), 109u);
  EXPECT_EQ(fresh.airport->events[2]->lastTriggerValue, 1234u);
  ASSERT_EQ(fresh.w.world.pda->posted.size(), 3u);
  EXPECT_EQ(fresh.w.world.pda->posted[2].body, "two");
  EXPECT_EQ(fresh.w.world.pda->entries[1].read, 1);
}

TEST_F(AirportBlobTest, WonAwardsAddUpOverLoads) {
  a.airport->awards[0]->won = 1;
  const std::vector<uint8_t> first = SaveBytes(*a.airport);
  AirportWorld second;
  second.airport->Stop();
  second.airport->LoadFromBlob(first.data(), static_cast<uint32_t>(first.size()));
  second.airport->Start();
  second.airport->awards[2]->won = 1;
  second.airport->awards[3]->won = 1;
  const std::vector<uint8_t> again = SaveBytes(*second.airport);
  AirportWorld third;
  third.airport->Stop();
  third.airport->LoadFromBlob(again.data(), static_cast<uint32_t>(again.size()));
  third.airport->Start();
  std::vector<std::string> won;
  third.airport->ListWonAwards(won);
  EXPECT_EQ(won.size(), 3u);
}

TEST_F(AirportBlobTest, UnknownNamesAreSkipped) {
  AirportBlob blob;
  blob.wonAwards = {"No Such Award", a.airport->awards[0]->name};
  blob.events = {{"No Such Event", 5}};
  const std::vector<uint8_t> bytes = blob.Serialize();
  ASSERT_TRUE(a.airport->ApplyBlob(bytes.data(), static_cast<uint32_t>(bytes.size())));
  std::vector<std::string> won;
  a.airport->ListWonAwards(won);
  EXPECT_EQ(won, std::vector<std::string>{a.airport->awards[0]->name});
  for (const auto& event : a.airport->events) EXPECT_EQ(event->triggered, 0);
}

TEST_F(AirportBlobTest, CorruptBlobsAreRefusedWithStateUnchanged) {
  Fill(a);
  const std::vector<uint8_t> good = SaveBytes(*a.airport);
  auto with = [&](auto change) {
    std::vector<uint8_t> bytes = good;
    change(bytes);
    return bytes;
  };
  auto put32 = [](std::vector<uint8_t>& b, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
  };
  // The message count, "First", "one", "Second", "two" with their zeros:
  // the entry count follows, then three 8-byte entries, then the awards.
  const size_t entryCount = 4 + 6 + 4 + 7 + 4, secondEntry = entryCount + 4 + 8, awardCount = entryCount + 4 + 24;
  struct Case {
    const char* name;
    std::vector<uint8_t> bytes;
  } cases[] = {
      {"empty", {}},
      {"cut by one byte", std::vector<uint8_t>(good.begin(), good.end() - 1)},
      {"one byte too many", with([](auto& b) { b.push_back(0); })},
      {"message count past the end", with([&](auto& b) { put32(b, 0, 0xFFFFFFFFu); })},
      {"text without its zero", std::vector<uint8_t>{1, 0, 0, 0, 'a', 'b'}},
      {"entry count past the end", with([&](auto& b) { put32(b, entryCount, 0x10000000u); })},
      {"entry naming an unsaved message", with([&](auto& b) { put32(b, secondEntry, 1002); })},
      {"award count past the end", with([&](auto& b) { put32(b, awardCount, 1000); })},
  };
  const std::vector<uint8_t> before = SaveBytes(*a.airport);
  for (const Case& c : cases) {
    EXPECT_FALSE(a.airport->ApplyBlob(c.bytes.data(), static_cast<uint32_t>(c.bytes.size()))) << c.name;
    EXPECT_EQ(SaveBytes(*a.airport), before) << c.name;
  }
  EXPECT_FALSE(a.airport->ApplyBlob(nullptr, 10));
}

}  // namespace
