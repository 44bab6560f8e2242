#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "engine/math/Noise.h"
#include "platform/DebugOutput.h"
#include "simulation/ContractRecords.h"
#include "simulation/tests/ContractTestWorld.h"

namespace {

using namespace contracttest;

struct Node {
  uint8_t classCode;
  std::string name;
  uint8_t kind;
  uint8_t level;
  uint8_t build;
  uint8_t dedicate;
};

class ContractModelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(w.world.ready);
    w.world.BuildWorld();
    w.SetRatings(100.0f, 100.0f, 100.0f);
  }
  std::vector<Node> Walk(const cContract& contract) {
    std::vector<Node> out;
    for (ContractRequirement* n = contract.requirements.Head(); n; n = n->next) {
      const uint8_t c = WordClass(n->word);
      std::string name;
      for (uint8_t l = 0; l < 8 && name.empty(); ++l) {
        if (cBuildableObject* t = w.world.buildings.GetBuildingType(c, WordId(n->word), l)) name = t->GetName();
      }
      out.push_back({c, name, n->kind, WordLevel(n->word), n->buildCount, n->dedicateCount});
    }
    return out;
  }
  ContractWorld w;
};

TEST_F(ContractModelTest, RequirementListsByDemandLevel) {
  for (auto [c, n] : std::vector<std::pair<uint8_t, std::string>>{
           {kStorage, "Cargo"}, {kStorage, "Cold Storage"}, {kAdmin, "Admin"}, {kService, "Turnaround"},
           {kSecurity, "police station"}, {kOrganizational, "Control Tower"}, {kEmergency, "fire station"},
           {kRunway, "3500 Meter Runway"}, {kAdmin, "Customs"}})
    w.AddTypeLevels(c, n);

  struct Case {
    const char* name;
    uint8_t cargo, international, demand;
    uint8_t checkIns;
    std::vector<Node> walk;  // from the head: the reverse of the order made
  };
  const Node kPolice2{kSecurity, "police station", 3, 2, 1, 0}, kFire2{kEmergency, "fire station", 3, 2, 1, 0},
      kTower2{kOrganizational, "Control Tower", 3, 2, 1, 0}, kTurn2{kService, "Turnaround", 3, 2, 1, 1},
      kAdmin2{kAdmin, "Admin", 3, 2, 1, 0};
  const Case cases[] = {
      {"cargo 0", 1, 0, 0, 0, {{kStorage, "Cargo", 2, 0, 1, 0}}},
      {"cargo 1", 1, 0, 1, 0, {{kStorage, "Cold Storage", 2, 0, 1, 1}, {kStorage, "Cargo", 2, 0, 1, 1}}},
      {"cargo 3", 1, 0, 3, 0, {{kStorage, "Cold Storage", 3, 2, 1, 1}, {kStorage, "Cargo", 3, 2, 1, 1}}},
      {"passenger 0", 0, 0, 0, 0, {}},
      {"passenger 1",
       0,
       0,
       1,
       1,
       {{kSecurity, "police station", 2, 0, 1, 0}, {kService, "Turnaround", 2, 0, 1, 1}, {kAdmin, "Admin", 2, 0, 1, 0}}},
      {"passenger 2", 0, 0, 2, 2, {kPolice2, kFire2, kTower2, kTurn2, kAdmin2}},
      {"passenger 3 international",
       0,
       1,
       3,
       3,
       {{kAdmin, "Customs", 2, 0, 1, 0},
        {kRunway, "3500 Meter Runway", 2, 0, 1, 0},
        {kSecurity, "police station", 3, 3, 1, 0},
        {kEmergency, "fire station", 3, 3, 1, 0},
        {kOrganizational, "Control Tower", 3, 3, 1, 0},
        {kService, "Turnaround", 3, 3, 1, 1},
        {kAdmin, "Admin", 3, 3, 1, 0}}},
  };
  for (const Case& c : cases) {
    AirlineData data{"Air", "", c.international, 0, c.demand, c.cargo, {}};
    auto contract = w.Airline(&data);
    EXPECT_EQ(contract->checkInsToDedicate, c.checkIns) << c.name;
    EXPECT_FLOAT_EQ(contract->minSecurity, 30.0f * c.demand) << c.name;
    EXPECT_FLOAT_EQ(contract->minSafety, 30.0f * c.demand) << c.name;
    EXPECT_FLOAT_EQ(contract->minSatisfaction, 30.0f * c.demand) << c.name;
    EXPECT_DOUBLE_EQ(contract->levelValue, 500000.0 * c.demand) << c.name;
    const std::vector<Node> walk = Walk(*contract);
    ASSERT_EQ(walk.size(), c.walk.size()) << c.name;
    for (size_t i = 0; i < walk.size(); ++i) {
      const Node& a = walk[i];
      const Node& e = c.walk[i];
      EXPECT_TRUE(a.classCode == e.classCode && a.name == e.name && a.kind == e.kind && a.level == e.level &&
                  a.build == e.build && a.dedicate == e.dedicate)
          << c.name << " node " << i << ": " << a.name << " kind " << int(a.kind) << " level " << int(a.level);
    }
  }
}

// One requirement node on an otherwise satisfied domestic level-0 airline.
TEST_F(ContractModelTest, RequirementMessages) {
  w.AddTypeLevels(kAdmin, "Admin");
  w.AddTypeLevels(kRunway, "Runway");
  AirlineData data{"Blue Air", "", 0, 0, 0, 0, {}};
  struct Case {
    const char* name;
    uint8_t classCode;
    const char* type;
    uint8_t kind, level, build, dedicate;
    int dedicatedStanding;  // level 3 buildings dedicated to the airline
    int otherStanding;      // dedicated to nobody
    std::vector<std::string> messages;
  };
  const Case cases[] = {
      {"undefined kind", kAdmin, "Admin", 0, 0, 1, 0, 5, 0, {"An unknown requirement is set."}},
      {"class short by one", kRunway, "Runway", 1, 0, 1, 0, 0, 3, {"You must build 1 more runway."}},
      {"class short by two",
       kRunway,
       "Runway",
       1,
       0,
       2,
       2,
       0,
       0,
       {"You must build 2 more runways.", "You must dedicate 2 more runways."}},
      {"class met", kRunway, "Runway", 1, 0, 2, 1, 2, 0, {}},
      {"type short", kAdmin, "Admin", 2, 0, 2, 1, 0, 0,
       {"You must build 2 more Admin buildings.", "You must dedicate 1 more Admin buildings."}},
      {"type met by a dedicated one", kAdmin, "Admin", 2, 0, 1, 1, 1, 0, {}},
      {"level, build count 1", kAdmin, "Admin", 3, 2, 1, 0, 0, 4, {"You must construct a level 2 Admin."}},
      {"level, build 3, one standing", kAdmin, "Admin", 3, 2, 3, 0, 1, 0, {"You must construct 2 more level 2 Admins."}},
      {"level, build 3, two standing", kAdmin, "Admin", 3, 2, 3, 0, 2, 0, {"You must construct 1 more level 2 Admin."}},
      {"level, dedicate 3, one", kAdmin, "Admin", 3, 2, 1, 3, 1, 0, {"You must dedicate 2 more level 2 Admins."}},
  };
  for (const Case& c : cases) {
    ContractWorld local;
    ASSERT_TRUE(local.world.ready);
    local.world.BuildWorld();
    local.SetRatings(100, 100, 100);
    local.AddTypeLevels(kAdmin, "Admin");
    local.AddTypeLevels(kRunway, "Runway");
    auto contract = local.Airline(&data);
    local.AddOpenFlight(contract.get(), local.Plane("P", 0, false));
    const uint16_t id = local.world.buildings.FindTypeIndexByName(c.classCode, c.type);
    contract->requirements.Add(MakeBuildingWord(c.classCode, id, c.level), c.build, c.dedicate, c.kind);
    for (int i = 0; i < c.dedicatedStanding; ++i) local.Build(c.classCode, c.type, 3, contract.get());
    for (int i = 0; i < c.otherStanding; ++i) local.Build(c.classCode, c.type, 3, nullptr);
    const bool met = contract->CheckRequirements(&local.world.table, nullptr);
    EXPECT_EQ(contract->messages, c.messages) << c.name;
    EXPECT_EQ(met, c.messages.empty()) << c.name;
  }
}

TEST_F(ContractModelTest, FlightsRatingsAndBaseRequirementsAreCheckedInOrder) {
  AirlineData data{"Gull", "", 0, 0, 2, 1, {}};  // cargo: no check-ins
  auto contract = std::make_unique<cAirlineContract>(&data);
  contract->SetName("Gull");
  contract->minSecurity = 60.5f;
  contract->minSafety = 60.0f;
  contract->minSatisfaction = 60.0f;
  w.AddOpenFlight(contract.get(), w.Plane("Late", 0, true, 2100));
  w.SetRatings(60.0f, 59.0f, 10.0f);
  w.manager.baseRequirementsMet = 0;
  EXPECT_FALSE(contract->CheckRequirements(&w.world.table, nullptr));
  const std::vector<std::string> expected = {
      "No flights are available.",
      "Your security rating is too low.  You must raise it to at least 60.",
      "Your safety rating is too low.  You must raise it to at least 60.",
      "Your customer satisfaction rating is too low.  You must raise it to at least 60.",
      "Your base airport requirements have not been met."};
  EXPECT_EQ(contract->messages, expected);
  EXPECT_EQ(contract->possible, 0);

  // A flight of the current year is available; ratings and base met.
  w.AddOpenFlight(contract.get(), w.Plane("Now", 0, true, 1970));
  w.SetRatings(61, 60, 60);
  w.manager.baseRequirementsMet = 1;
  EXPECT_TRUE(contract->CheckRequirements(&w.world.table, nullptr)) << contract->messages.size();
  EXPECT_EQ(contract->met, 1);
}

TEST_F(ContractModelTest, ADomesticLevelZeroAirlineNeedsNoBuildings) {
  AirlineData data{"Tiny", "", 0, 0, 0, 0, {}};
  auto contract = w.Airline(&data);
  w.AddOpenFlight(contract.get(), w.Plane("P", 0, false));
  w.SetRatings(0, 0, 0);
  EXPECT_TRUE(contract->requirements.Empty());
  EXPECT_TRUE(contract->CheckRequirements(&w.world.table, nullptr));
}

TEST_F(ContractModelTest, DisregardedBuildingReducesOnlyMatchingCounts) {
  w.AddTypeLevels(kAdmin, "Admin");
  w.AddTypeLevels(kAdmin, "Records");
  AirlineData data{"Kite", "", 0, 0, 0, 0, {}};
  struct Case {
    const char* name;
    uint8_t kind, level;
    const char* goneType;
    uint8_t goneLevel;
    bool met;
  };
  const Case cases[] = {
      {"another class leaves the count", 1, 0, nullptr, 0, true},
      {"same class, kind 1", 1, 0, "Records", 1, false},
      {"other type, kind 2", 2, 0, "Records", 1, true},
      {"same type, kind 2", 2, 0, "Admin", 3, false},
      {"same type other level, kind 3", 3, 2, "Admin", 3, true},
      {"same type and level, kind 3", 3, 2, "Admin", 2, false},
  };
  w.world.buildings.AddNamedType(kRunway, "Strip", 1);
  for (const Case& c : cases) {
    auto contract = w.Airline(&data);
    w.AddOpenFlight(contract.get(), w.Plane("P", 0, false));
    const uint16_t admin = w.world.buildings.FindTypeIndexByName(kAdmin, "Admin");
    contract->requirements.Add(MakeBuildingWord(kAdmin, admin, c.level), 1, 0, c.kind);
    w.Build(kAdmin, "Admin", 3, contract.get());
    BOInstance* gone = c.goneType ? w.Build(kAdmin, c.goneType, c.goneLevel, nullptr)
                                  : w.Build(kRunway, "Strip", 1, nullptr);
    EXPECT_EQ(contract->CheckRequirements(&w.world.table, gone), c.met) << c.name;
    // Taken out again so the next case starts from one dedicated building.
    static_cast<simkit::FakeInstance*>(gone)->functional = false;
    for (cBuildableObject* t : {w.world.buildings.GetBuildingType(kAdmin, admin, 3)}) {
      for (uint32_t i = 0; i < t->GetInstanceCount(); ++i) static_cast<simkit::FakeInstance*>(t->GetInstance(i))->functional = false;
    }
  }
}

TEST_F(ContractModelTest, CustomsMustExceedOneFifthOfInternationalFlights) {
  w.AddTypeLevels(kAdmin, "Customs");
  AirlineData data{"Far", "", 1, 6, 0, 0, {}};
  auto contract = w.Airline(&data);
  w.AddOpenFlight(contract.get(), w.Plane("P", 0, false));
  w.Build(kAdmin, "Customs", 1, contract.get());  // for its own requirement
  struct Case {
    const char* name;
    int flights;
    bool met;
  };
  const Case cases[] = {{"four flights", 4, true}, {"five flights", 5, false}};
  for (const Case& c : cases) {
    std::vector<std::unique_ptr<cFlightContract>> signedFlights;
    w.manager.allFlights.clear();
    for (int i = 0; i < c.flights; ++i) {
      signedFlights.push_back(std::make_unique<cFlightContract>(w.planes[0].get(), contract.get(), 100 + i));
      w.manager.allFlights.push_back(signedFlights.back().get());
    }
    EXPECT_EQ(contract->CheckRequirements(&w.world.table, nullptr), c.met) << c.name;
    EXPECT_EQ(std::count(contract->messages.begin(), contract->messages.end(),
                         "You must construct more Customs buildings."),
              c.met ? 0 : 1)
        << c.name;
  }
  w.manager.allFlights.clear();
}

TEST_F(ContractModelTest, CheckInsMustStandInOneTerminal) {
  AirlineData data{"Desk Air", "", 0, 0, 0, 0, {}};
  auto contract = w.Airline(&data);
  w.AddOpenFlight(contract.get(), w.Plane("P", 0, false));
  contract->checkInsToDedicate = 2;
  simkit::FakeInstance* a = w.Build(5, "Terminal", 1, nullptr);
  simkit::FakeInstance* b = w.Build(5, "Terminal", 1, nullptr);
  w.world.buildings.terminals = {a, b};
  a->interior.resize(2);
  a->interiorContracts = {contract.get(), nullptr};
  b->interior.resize(1);
  b->interiorContracts = {contract.get()};
  EXPECT_FALSE(contract->CheckRequirements(&w.world.table, nullptr));
  EXPECT_EQ(contract->messages, std::vector<std::string>{"You must dedicate 1 more checkins to Desk Air."});
  b->interior.resize(2);
  b->interiorContracts.push_back(contract.get());
  EXPECT_TRUE(contract->CheckRequirements(&w.world.table, nullptr));
}

TEST_F(ContractModelTest, AMissingTypeIsUnmetAndLoggedOnce) {
  AirlineData data{"Ghost", "", 0, 0, 0, 0, {}};
  auto contract = w.Airline(&data);
  w.AddOpenFlight(contract.get(), w.Plane("P", 0, false));
  const uint16_t id = w.world.buildings.FindTypeIndexByName(kAdmin, "Nowhere");
  contract->requirements.Add(MakeBuildingWord(kAdmin, id, 2), 1, 0, 3);
  contract->requirements.Add(MakeBuildingWord(kAdmin, id, 0), 1, 0, 2);
  std::string log;
  platform::DebugSink old = platform::SetDebugSink([&](std::string_view text) { log += text; });
  EXPECT_FALSE(contract->CheckRequirements(&w.world.table, nullptr));
  EXPECT_FALSE(contract->CheckRequirements(&w.world.table, nullptr));
  platform::SetDebugSink(old);
  EXPECT_EQ(contract->possible, 0);
  EXPECT_EQ(contract->messages, std::vector<std::string>{"An unknown requirement is set."});
  size_t lines = 0;
  for (size_t at = log.find("Ghost"); at != std::string::npos; at = log.find("Ghost", at + 1)) ++lines;
  EXPECT_EQ(lines, 1u);
}

TEST_F(ContractModelTest, BusinessTrafficAverageIsWhole) {
  BusinessData data{"Deli", "", 0, 1, 10};
  cBusinessContract contract(&data);
  contract.UpdateRequirements(&w.world.buildings);
  EXPECT_EQ(contract.requiredTraffic, 10u);
  struct Case {
    const char* name;
    uint32_t newest;
    bool met;
  };
  for (const Case& c : {Case{"sum 99", 9, false}, Case{"sum 100", 10, true},
                        Case{"sum past 32 bits", 0xFFFFFFF0u, true}}) {
    for (uint32_t& t : w.world.airport.traffic) t = 10;
    w.world.airport.traffic[0] = c.newest;
    if (c.newest == 0xFFFFFFF0u) w.world.airport.traffic[1] = c.newest;
    EXPECT_EQ(contract.CheckRequirements(&w.world.table, nullptr), c.met) << c.name;
    EXPECT_EQ(contract.possible, c.met ? 1 : 0) << c.name;
    EXPECT_TRUE(contract.messages.empty());
  }
}

TEST_F(ContractModelTest, FlightIsAvailableFromItsYear) {
  AirlineData data{"Year Air", "", 0, 0, 0, 0, {}};
  auto contract = w.Airline(&data);
  for (auto [year, met] : std::vector<std::pair<uint16_t, bool>>{{1969, true}, {1970, true}, {1971, false}}) {
    cFlightContract flight(w.Plane("M", 0, false, year), contract.get(), 1);
    EXPECT_EQ(flight.CheckRequirements(&w.world.table, nullptr), met) << year;
  }
}

TEST_F(ContractModelTest, SatisfactionBonus) {
  AirlineData data{"Bonus", "", 0, 0, 0, 0, {}};
  cAirlineContract contract(&data);
  contract.satisfaction = 120.0f;
  EXPECT_FLOAT_EQ(contract.GetSatisfaction(), 120.0f);  // no cap without a bonus
  contract.satisfaction = 93.0f;
  EXPECT_TRUE(contract.GrantSatisfactionBonus(7));
  EXPECT_FLOAT_EQ(contract.satisfaction, 98.0f);
  EXPECT_FLOAT_EQ(contract.GetSatisfaction(), 100.0f);
  EXPECT_FALSE(contract.GrantSatisfactionBonus(8));
  EXPECT_EQ(contract.bonusSource, 7u);
  EXPECT_FLOAT_EQ(contract.satisfaction, 98.0f);
  contract.satisfaction = 50.0f;
  EXPECT_FLOAT_EQ(contract.GetSatisfaction(), 55.0f);
}

TEST_F(ContractModelTest, AirlineNegotiation) {
  AirlineData data{"Talk", "", 0, 0, 0, 0, {}};
  struct Case {
    const char* name;
    uint8_t attempts;
    float baseOffer;
    double draw;  // fraction of 4..8
    float airlineSatisfaction;
    bool accepted;
    uint8_t attemptsAfter;
    float v;  // the terms' value when accepted
  };
  const Case cases[] = {
      {"broken down", 255, 10, 0.0, 100, false, 255, 0},
      {"first step", 0, 30, 0.5, 40, true, 0, 30},
      {"two attempts at 6", 2, 30, 0.5, 42, true, 2, 42},
      {"above satisfaction breaks down", 2, 30, 0.5, 41.9f, false, 255, 0},
      {"capped at 100", 20, 50, 1.0, 100, true, 20, 100},
  };
  for (const Case& c : cases) {
    cAirlineContract contract(&data);
    contract.attempts = c.attempts;
    contract.baseOffer = c.baseOffer;
    contract.feeEnabled[3] = 0;
    contract.fees[3] = 7.0f;
    w.world.stats->block.airlineSatisfaction = c.airlineSatisfaction;
    w.world.random.UseSequence({c.draw, 0.25});
    EXPECT_EQ(contract.NegotiateTerms(&w.world.table), c.accepted) << c.name;
    EXPECT_EQ(contract.attempts, c.attemptsAfter) << c.name;
    if (c.attempts == 255) {
      // Nothing was drawn: the next draw is still the sequence's first.
      EXPECT_FLOAT_EQ(Noise_RandomFloatInRange(0.0f, 1.0f), static_cast<float>(c.draw)) << c.name;
    }
    if (c.accepted) {
      EXPECT_NEAR(contract.fees[0], c.v * 50.0f * 0.01f, 1e-3) << c.name;
      EXPECT_NEAR(contract.fees[17], c.v * 100.0f * 0.01f, 1e-3) << c.name;
      EXPECT_FLOAT_EQ(contract.fees[3], 7.0f) << c.name;  // disabled item kept
      EXPECT_NEAR(contract.signingPayment, c.v * 10000.0, 0.5) << c.name;
    } else {
      EXPECT_EQ(contract.signingPayment, 0.0) << c.name;
    }
  }
}

TEST_F(ContractModelTest, BusinessNegotiation) {
  struct Case {
    const char* name;
    uint8_t type, demand, attempts;
    float start, satisfaction;
    bool accepted;
    float value, payment;
  };
  // Draws at the lower bound: 3 per attempt.
  const Case cases[] = {
      {"amenity", 0, 1, 2, 10, 50, true, 16, 2 * 16 * 10.0f},
      {"terminal shop", 4, 0, 1, 10, 50, true, 13, 1 * 13 * 5.0f},
      {"too dear", 1, 0, 3, 40, 45, false, 49, 0},
  };
  w.world.random.UseLower();
  for (const Case& c : cases) {
    BusinessData data{"Shop", "", c.type, c.demand, 0};
    cBusinessContract contract(&data);
    contract.attempts = c.attempts;
    contract.negotiatedValue = c.start;
    w.world.stats->block.businessSatisfaction = c.satisfaction;
    EXPECT_EQ(contract.NegotiateTerms(&w.world.table), c.accepted) << c.name;
    EXPECT_FLOAT_EQ(contract.negotiatedValue, c.value) << c.name;
    EXPECT_FLOAT_EQ(contract.monthlyPayment, c.payment) << c.name;
    EXPECT_EQ(contract.attempts, c.attempts) << c.name;
  }
}

TEST_F(ContractModelTest, FlightListMoves) {
  AirlineData passengerData{"Moves", "", 0, 0, 0, 0, {}};
  AirlineData cargoData{"Boxes", "", 0, 0, 0, 1, {}};
  auto passenger = w.Airline(&passengerData);
  auto cargo = w.Airline(&cargoData);
  cFlightContract* a = w.AddOpenFlight(passenger.get(), w.Plane("A", 1, false));
  cFlightContract* b = w.AddOpenFlight(passenger.get(), w.Plane("B", 1, false));
  cFlightContract* c = w.AddOpenFlight(cargo.get(), w.Plane("C", 1, true));

  passenger->MarkFlightUnscheduled(b);
  passenger->MarkFlightUnscheduled(b);  // no longer open: nothing
  passenger->MarkFlightUnscheduled(a);
  EXPECT_TRUE(passenger->openFlights.empty());
  EXPECT_EQ(passenger->signedFlights, (std::vector<cFlightContract*>{b, a}));

  simkit::FakeInstance* terminal = w.Build(5, "Terminal", 1, nullptr);
  w.world.buildings.terminals = {terminal};
  a->buildingWord = b->buildingWord = terminal->GetType()->GetTypeWord();
  a->slotKeys[1] = 2;
  b->slotKeys[1] = 3;
  w.world.airport.passengerLists[2] = {a};
  w.world.airport.passengerLists[3] = {b};

  a->RemoveFromSchedule(passenger.get(), &w.world.table);
  a->RemoveFromSchedule(passenger.get(), &w.world.table);  // not signed: nothing
  EXPECT_EQ(passenger->openFlights, std::vector<cFlightContract*>{a});
  EXPECT_EQ(passenger->signedFlights, std::vector<cFlightContract*>{b});
  EXPECT_TRUE(w.world.airport.passengerLists[2].empty());
  EXPECT_TRUE(terminal->removedFlights.empty());

  passenger->UnscheduleAllFlights(&w.world.table);
  EXPECT_EQ(passenger->openFlights, (std::vector<cFlightContract*>{a, b}));
  EXPECT_TRUE(w.world.airport.passengerLists[3].empty());
  EXPECT_EQ(terminal->removedFlights, std::vector<cFlightContract*>{b});

  cargo->MarkFlightUnscheduled(c);
  c->buildingWord = 0x1234;
  c->slotKeys[1] = 5;
  w.world.airport.storageLists[5] = {c};
  cargo->UnscheduleAllFlights(&w.world.table);
  EXPECT_EQ(cargo->openFlights, std::vector<cFlightContract*>{c});
  EXPECT_TRUE(w.world.airport.storageLists[5].empty());
  ASSERT_EQ(w.world.airport.clearedSlots.size(), 1u);
  EXPECT_EQ(w.world.airport.clearedSlots[0], (std::pair<uint32_t, uint8_t>{0x1234, 5}));
}

TEST_F(ContractModelTest, RecordsRoundTripByteExact) {
  AirlineData data{std::string(70, 'N'), "", 1, 6, 3, 0, {}};
  cAirlineContract a(&data);
  a.flightFactor = 7.5f;
  a.baseOffer = 31.0f;
  for (int i = 0; i < kFeeItemCount; ++i) a.fees[i] = 1.5f * i;
  a.signingPayment = 123456.75;
  a.delayCounter = 0xBEEF;
  a.failedPlacements = 0xA1B2C3D4;
  a.firstFlightPaid = 1;
  a.timeStamp = 11;
  a.start = 22;
  a.end = 33;
  a.attempts = 4;
  a.satisfaction = 55.5f;
  a.state = 200;
  a.renewal = 1;
  a.minSecurity = 1;
  a.minSafety = 2;
  a.minSatisfaction = 3;
  a.checkInsToDedicate = 3;
  a.checkInExtra[0] = 9;
  a.checkInExtra[1] = 8;
  a.levelValue = 1500000.0;
  a.requiredTraffic = 77;
  a.met = 1;
  a.possible = 1;
  uint8_t first[kAirlineRecordSize];
  WriteAirlineRecord(a, first);
  EXPECT_EQ(RecordName(first), std::string(64, 'N'));  // truncated, unterminated
  cAirlineContract b(&data);
  ReadAirlineRecord(first, &b);
  uint8_t second[kAirlineRecordSize];
  WriteAirlineRecord(b, second);
  EXPECT_EQ(std::memcmp(first, second, kAirlineRecordSize), 0);
  EXPECT_EQ(first[160], 0xEF);
  EXPECT_EQ(first[161], 0xBE);
  EXPECT_EQ(first[192], 200);
  EXPECT_EQ(first[230], 0);

  AirplaneData plane;
  plane.name = "Jet 7";
  cFlightContract f(&plane, &a, 0x01020304);
  f.passengers = 0x0506;
  f.buildingWord = 0x0708090A;
  f.slotKeys[0] = 0x0B;
  f.slotKeys[1] = 0x0C;
  f.timeStamp = 13;
  f.start = 14;
  f.end = 15;
  f.delayed = 0x10;
  uint8_t fr[kFlightRecordSize];
  WriteFlightRecord(f, fr);
  EXPECT_EQ(RecordName(fr), "Jet 7");
  EXPECT_EQ(fr[68], 0x04);
  EXPECT_EQ(fr[76], 0x0A);
  EXPECT_EQ(fr[96], 0x10);
  cFlightContract g(&plane, &a, 0);
  ReadFlightRecord(fr, &g);
  uint8_t fr2[kFlightRecordSize];
  WriteFlightRecord(g, fr2);
  EXPECT_EQ(std::memcmp(fr, fr2, kFlightRecordSize), 0);
}

TEST(BuildingClassNounTest, SingularPluralAndUnknown) {
  EXPECT_STREQ(BuildingClassNoun(3, false), "parking facility");
  EXPECT_STREQ(BuildingClassNoun(3, true), "parking facilities");
  EXPECT_STREQ(BuildingClassNoun(12, true), "organizational buildings");
  EXPECT_STREQ(BuildingClassNoun(13, false), "");
}

}  // namespace
