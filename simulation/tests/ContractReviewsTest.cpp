#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "engine/entity/ActionFactory.h"
#include "simulation/EventManager.h"
#include "simulation/SimulationClock.h"
#include "simulation/SimulationSpawns.h"
#include "simulation/tests/ContractTestWorld.h"

namespace {

using namespace contracttest;

constexpr uint32_t kDay = 86400;
constexpr uint32_t kNow = 400000000;

class ContractReviewsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(w.world.ready);
    w.world.BuildWorld();
    w.world.table.actionFactory->RegisterSpawn(&spawn_);
    cEntity_Base* made = nullptr;
    ASSERT_EQ(w.world.manager->SpawnEntity(cEntity_ContractManager::kSpawnName, &made), 0);
    m = dynamic_cast<cEntity_ContractManager*>(made);
    ASSERT_NE(m, nullptr);
    w.world.table.contractManager = m;
    m->ReadAirlineTable("Solo l 0 0 0 1 ;");
    m->ReadAirplaneTable("[a]\nname = Hopper\n");
    m->ReadBusinessTable("[Cafe]\nbusiness_type = 0\nscale = 1\n[Inn]\nbusiness_type = 1\n[Kiosk]\nbusiness_type = 4\n");
    cafeType = w.world.buildings.AddNamedType(kBuildingClass_Amenity, "Cafe", 1);
    cafeType->name = "Cafe";
    w.world.buildings.AddNamedType(kBuildingClass_Amenity, "Inn", 1);
    w.world.buildings.terminalObjects.push_back(std::make_unique<TerminalItem>());
    w.world.buildings.terminalObjects.back()->name = "Kiosk";
    w.world.random.UseLower();
    m->Start();
    airline = m->airlineLists[kList_Pool].at(0);
    // The business pool also holds the terminal shop; the tests move the
    // cafe alone.
    auto& pool = m->businessLists[kGroup_Business][kList_Pool];
    for (cBusinessContract* c : pool) {
      if (!c->terminalShop) cafe = c;
    }
    ASSERT_NE(cafe, nullptr);
    std::erase(pool, cafe);
    w.world.events->autoslow.alwaysSlow = 0;
    w.world.events->autoslow.neverSlow = 1;
  }
  void TearDown() override {
    // The cafe goes back to a list so Stop frees it with the rest.
    bool listed = false;
    if (m && cafe) {
      for (auto& list : m->businessLists[kGroup_Business]) listed |= std::count(list.begin(), list.end(), cafe) > 0;
      if (!listed) m->businessLists[kGroup_Business][kList_Pool].push_back(cafe);
    }
    if (m) m->Stop();
    w.world.table.contractManager = nullptr;
  }
  void MakeActive(cAirlineContract* c) {
    m->airlineLists[kList_Pool].clear();
    m->airlineLists[kList_Active] = {c};
    m->airlineLists[kList_Offered].clear();
  }
  std::vector<std::string> Subjects() {
    std::vector<std::string> out;
    for (auto& message : w.world.pda->posted) out.push_back(message.subject);
    return out;
  }
  ContractWorld w;
  SpawnContractManager spawn_;
  cEntity_ContractManager* m = nullptr;
  simkit::FakeType* cafeType = nullptr;
  cAirlineContract* airline = nullptr;
  cBusinessContract* cafe = nullptr;
};

TEST_F(ContractReviewsTest, AirlineReviewBoundaries) {
  struct Case {
    const char* name;
    uint32_t left;
    float satisfaction;  // threshold of demand 1 is 50
    const char* outcome;  // "active", "renewal", "warning", "expired"
  };
  const Case cases[] = {
      {"expired at its end", 0, 90, "expired"},
      {"89 days, satisfied at the threshold", 89 * kDay, 50, "renewal"},
      {"89 days, unsatisfied runs on", 89 * kDay, 49.9f, "active"},
      {"exactly 90 days: no renewal", 90 * kDay, 50, "active"},
      {"exactly 180 days: no warning", 180 * kDay, 10, "active"},
      {"181 days: warning", 181 * kDay, 10, "warning"},
      {"206 days: warning", 206 * kDay, 10, "warning"},
      {"exactly 207 days: no warning", 207 * kDay, 10, "active"},
      {"181 days satisfied: no warning", 181 * kDay, 60, "active"},
  };
  for (const Case& c : cases) {
    MakeActive(airline);
    w.world.widgets.visibleScenes.clear();
    w.world.Clock().SetSpeed(1);
    airline->renewal = 0;
    airline->end = kNow + c.left;
    airline->satisfaction = c.satisfaction;
    m->UpdateAirlineContracts(kNow);
    std::string outcome = "active";
    if (!m->airlineLists[kList_Pool].empty()) outcome = "expired";
    else if (!m->airlineLists[kList_Offered].empty()) outcome = airline->renewal ? "renewal" : "offered";
    else if (w.world.widgets.visibleScenes["scnContractorDissatisfied"]) outcome = "warning";
    EXPECT_EQ(outcome, c.outcome) << c.name;
  }
  EXPECT_EQ(w.world.widgets.texts["scnContractorDissatisfied/mlConDMessage"],
            "Solo is dissatisfied with your airport and may not renew.");
}

TEST_F(ContractReviewsTest, NoWarningAtSpeedWithNeverSlow) {
  MakeActive(airline);
  w.world.Clock().SetSpeed(50);
  airline->end = kNow + 190 * kDay;
  airline->satisfaction = 0;
  m->UpdateAirlineContracts(kNow);
  EXPECT_FALSE(w.world.widgets.visibleScenes["scnContractorDissatisfied"]);
  EXPECT_EQ(w.world.Clock().speed, 50.0f);
}

TEST_F(ContractReviewsTest, BusinessLossAfterThirtyDays) {
  struct Case {
    const char* name;
    int64_t sinceStart;
    uint8_t placed;
    bool lost;
  };
  const Case cases[] = {
      {"exactly 30 days", 30 * int64_t{kDay}, 0, false},
      {"one second more", 30 * int64_t{kDay} + 1, 0, true},
      {"placed", 40 * int64_t{kDay}, 1, false},
      {"renewal accepted early starts later", -20 * int64_t{kDay}, 0, false},
  };
  auto& lists = m->businessLists[kGroup_Business];
  for (const Case& c : cases) {
    std::erase(lists[kList_Pool], cafe);
    lists[kList_Active] = {cafe};
    cafe->placed = c.placed;
    cafe->start = static_cast<uint32_t>(kNow - c.sinceStart);
    cafe->end = cafe->start + 365 * kDay;
    cafe->satisfaction = 100;
    cafe->coolDown = 0;
    m->UpdateBusinessContracts(kGroup_Business, kNow);
    EXPECT_EQ(std::count(lists[kList_Pool].begin(), lists[kList_Pool].end(), cafe), c.lost ? 1 : 0) << c.name;
    if (c.lost) {
      EXPECT_EQ(cafe->coolDown, 180) << c.name;
      EXPECT_EQ(Subjects().back(), "Business contract lost") << c.name;
    }
  }
  std::erase(lists[kList_Pool], cafe);
  lists[kList_Active].clear();
  lists[kList_Pool].push_back(cafe);
}

TEST_F(ContractReviewsTest, PlacedAmenityExpiryDemolishesEveryInstance) {
  auto& lists = m->businessLists[kGroup_Business];
  lists[kList_Active] = {cafe};
  cafe->placed = 1;
  cafe->start = kNow - 365 * kDay;
  cafe->end = kNow;
  w.Build(kBuildingClass_Amenity, "Cafe", 1, nullptr);
  w.Build(kBuildingClass_Amenity, "Cafe", 1, nullptr);
  // The fake's demolition does not hand the contract back: the review must
  // still take it out of the active list rather than expire it daily.
  m->UpdateBusinessContracts(kGroup_Business, kNow);
  EXPECT_EQ(cafeType->instances.size(), 0u);
  const std::vector<std::string> subjects = Subjects();
  ASSERT_GE(subjects.size(), 3u);
  EXPECT_EQ(std::vector<std::string>(subjects.end() - 3, subjects.end()),
            (std::vector<std::string>{"Building destroyed", "Building destroyed", "Business contract expired"}));
  EXPECT_TRUE(lists[kList_Active].empty());
  EXPECT_EQ(std::count(lists[kList_Pool].begin(), lists[kList_Pool].end(), cafe), 1);
  EXPECT_EQ(cafe->placed, 0);
}

TEST_F(ContractReviewsTest, ReturnsToPoolOnceEvenWhenReturnedTwice) {
  auto& lists = m->businessLists[kGroup_Business];
  lists[kList_Active] = {cafe};
  cafe->placed = 1;
  m->ReturnBusinessToPool(kGroup_Business, cafe);
  m->ReturnBusinessToPool(kGroup_Business, cafe);
  EXPECT_EQ(std::count(lists[kList_Pool].begin(), lists[kList_Pool].end(), cafe), 1);
  EXPECT_TRUE(lists[kList_Active].empty());
  EXPECT_EQ(cafe->placed, 0);
  m->ReturnAirlineToPool(airline);
  m->ReturnAirlineToPool(airline);
  EXPECT_EQ(m->airlineLists[kList_Pool], std::vector<cAirlineContract*>{airline});
}

TEST_F(ContractReviewsTest, ExpiryAndDeclinedRenewalTakeFlightsOutOfService) {
  struct Case {
    const char* name;
    bool renewalDeclined;
  };
  for (const Case& c : {Case{"expiry", false}, Case{"declined renewal", true}}) {
    MakeActive(airline);
    airline->UnscheduleAllFlights(&w.world.table);
    m->allFlights.clear();
    cFlightContract* flight = airline->openFlights.at(0);
    airline->MarkFlightUnscheduled(flight);
    m->allFlights.push_back(flight);
    w.world.airport.passengerLists[flight->slotKeys[1]] = {flight};
    if (c.renewalDeclined) {
      m->airlineLists[kList_Active].clear();
      airline->renewal = 1;
      m->airlineLists[kList_Offered] = {airline};
      m->DeclineAirlineOffer(0);
    } else {
      airline->end = kNow;
      m->UpdateAirlineContracts(kNow);
      EXPECT_EQ(airline->coolDown, 12) << c.name;
      EXPECT_EQ(Subjects().back(), "Airline contract expired") << c.name;
    }
    EXPECT_TRUE(airline->signedFlights.empty()) << c.name;
    EXPECT_TRUE(m->allFlights.empty()) << c.name;
    EXPECT_TRUE(w.world.airport.passengerLists[flight->slotKeys[1]].empty()) << c.name;
    EXPECT_EQ(m->airlineLists[kList_Pool], std::vector<cAirlineContract*>{airline}) << c.name;
  }
}

TEST_F(ContractReviewsTest, ReplyCountdowns) {
  struct Case {
    const char* name;
    uint8_t state;
    uint8_t attempts;
    int minutes;  // minute events until offered
    uint32_t message;
  };
  const Case cases[] = {
      {"state 1, next minute", 1, 3, 1, 11},
      {"stalled", 1, 255, 1, 12},
      {"254 is still talking", 1, 254, 1, 11},
      {"two minutes", 2, 0, 2, 11},
      {"0 wraps to 256 minutes", 0, 0, 256, 11},
  };
  for (const Case& c : cases) {
    m->airlineLists[kList_Pool].clear();
    m->airlineLists[kList_Offered].clear();
    m->airlineLists[kList_Waiting] = {airline};
    airline->state = c.state;
    airline->attempts = c.attempts;
    int minute = 0;
    while (!m->airlineLists[kList_Waiting].empty() && minute < 1000) {
      m->UpdateNegotiations();
      ++minute;
    }
    EXPECT_EQ(minute, c.minutes) << c.name;
    EXPECT_EQ(m->airlineLists[kList_Offered], std::vector<cAirlineContract*>{airline}) << c.name;
    EXPECT_EQ(airline->state, 0) << c.name;
  }
  // The hotel kind posts its own standard messages.
  cBusinessContract* inn = m->businessLists[kGroup_Hotel][kList_Pool].at(0);
  m->businessLists[kGroup_Hotel][kList_Pool].clear();
  m->businessLists[kGroup_Hotel][kList_Waiting] = {inn};
  inn->state = 1;
  inn->attempts = 255;
  m->UpdateNegotiations();
  EXPECT_EQ(m->businessLists[kGroup_Hotel][kList_Offered], std::vector<cBusinessContract*>{inn});
}

TEST_F(ContractReviewsTest, LapsedOffersAreWithdrawn) {
  m->airlineLists[kList_Pool].clear();
  m->airlineLists[kList_Offered] = {airline};
  airline->end = w.world.Clock().totalSeconds;
  m->WithdrawLapsedAirlineOffers();
  EXPECT_EQ(m->airlineLists[kList_Pool], std::vector<cAirlineContract*>{airline});
  EXPECT_EQ(airline->coolDown, 6);
}

TEST_F(ContractReviewsTest, FindAndRelink) {
  MakeActive(airline);
  EXPECT_EQ(m->FindAirlineContractByName("SOLO"), airline);
  EXPECT_EQ(m->FindAirlineContractByName("Nobody"), nullptr);
  m->businessLists[kGroup_Business][kList_Pool].push_back(cafe);
  m->RelinkBusinessContracts();
  EXPECT_EQ(cafeType->business, cafe);
  EXPECT_NE(w.world.buildings.terminalObjects[0]->business, nullptr);
  cFlightContract* flight = airline->openFlights.at(0);
  airline->MarkFlightUnscheduled(flight);
  flight->slotKeys[1] = 4;
  m->RelinkAirlineFlights(kList_Active);
  EXPECT_EQ(w.world.airport.passengerLists[4], std::vector<cFlightContract*>{flight});
}

}  // namespace
