#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/entity/ActionFactory.h"
#include "simulation/ActionBuildMenu.h"
#include "simulation/EventManager.h"
#include "simulation/SimulationClock.h"
#include "simulation/SimulationSpawns.h"
#include "simulation/tests/ContractTestWorld.h"

namespace {

using namespace contracttest;

class RecordingBuildMenu : public ActionBuildMenu {
 public:
  CoreStatus Execute(cEntity_Base*, uintptr_t, const std::string&) override { return 0; }
  void ShowCategory(uint32_t category, bool force) override { shown.push_back(force ? category : 1000 + category); }
  void RefreshInfo() override {}
  void StartRoadPlacement() override {}
  std::vector<uint32_t> shown;
};

class ContractOffersTest : public ::testing::Test {
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
    menu = new RecordingBuildMenu();
    menu->currentCategory = 3;
    w.world.table.actionFactory->RegisterAction(menu, false);
    m->ReadAirlineTable("Solo l 0 0 0 0 ; Far l 0 1 6 0 ;");
    m->ReadAirplaneTable("[a]\nname = Hopper\n[b]\nname = Box\ncargo = 1\n");
    m->ReadBusinessTable("[Cafe]\nbusiness_type = 0\nrequired_traffic = 1\n[Inn]\nbusiness_type = 1\n");
    w.world.buildings.AddNamedType(kBuildingClass_Amenity, "Cafe", 1);
    w.world.buildings.AddNamedType(kBuildingClass_Amenity, "Inn", 1);
    w.world.buildings.AddNamedType(kAdmin, "Customs", 1);
    w.world.random.UseLower();
    m->Start();
    m->baseRequirementsMet = 1;
    m->running = 1;
    w.SetRatings(100, 100, 100);
    w.world.stats->block.airlineSatisfaction = 80.0f;
    w.world.stats->block.businessSatisfaction = 50.0f;
    w.world.events->autoslow.alwaysSlow = 1;
  }
  void TearDown() override {
    if (m) m->Stop();
    w.world.table.contractManager = nullptr;
  }
  std::vector<std::string> Subjects() {
    std::vector<std::string> out;
    for (auto& message : w.world.pda->posted) out.push_back(message.subject);
    return out;
  }
  cAirlineContract* Airline(uint32_t list, const std::string& name) {
    for (cAirlineContract* c : m->airlineLists[list]) {
      if (c->GetName() == name) return c;
    }
    return nullptr;
  }
  ContractWorld w;
  SpawnContractManager spawn_;
  cEntity_ContractManager* m = nullptr;
  RecordingBuildMenu* menu = nullptr;
};

TEST_F(ContractOffersTest, AirlineOfferSkipsCoolDownsAndSetsTerms) {
  ASSERT_EQ(m->airlineLists[kList_Pool].size(), 2u);
  for (cAirlineContract* c : m->airlineLists[kList_Pool]) c->coolDown = 1;
  m->MakeAirlineOffer();
  EXPECT_TRUE(m->airlineLists[kList_Offered].empty());
  for (cAirlineContract* c : m->airlineLists[kList_Pool]) EXPECT_EQ(c->coolDown, 0);

  w.world.Clock().SetSpeed(5);
  const uint32_t now = w.world.Clock().totalSeconds;
  m->MakeAirlineOffer();
  ASSERT_EQ(m->airlineLists[kList_Offered].size(), 1u);
  cAirlineContract* c = m->airlineLists[kList_Offered][0];
  EXPECT_EQ(c->timeStamp, now);
  EXPECT_EQ(c->end, now + 7776000u);
  EXPECT_FLOAT_EQ(c->satisfaction, 0.5f * 80.0f);  // lowest draw of 0.5-1.0
  EXPECT_FLOAT_EQ(c->baseOffer, 40.0f);
  EXPECT_NEAR(c->signingPayment, 400000.0, 1.0);  // first step: v = base offer
  EXPECT_EQ(Subjects().back(), "New airline contract");
  EXPECT_EQ(w.world.pda->posted.back().body, c->GetName() + " has offered an airline contract");
  EXPECT_EQ(w.world.Clock().speed, 1.0f);
}

TEST_F(ContractOffersTest, AnImpossibleAirlineIsNotOffered) {
  // Solo can never meet its safety minimum; Far can (its Customs test
  // decides whether it is possible).
  for (cAirlineContract* c : m->airlineLists[kList_Pool]) c->minSafety = 101.0f;
  m->MakeAirlineOffer();
  m->MakeAirlineOffer();
  EXPECT_NE(Airline(kList_Pool, "Solo"), nullptr);
  EXPECT_EQ(Airline(kList_Offered, "Solo"), nullptr);
}

TEST_F(ContractOffersTest, BusinessOfferChance) {
  struct Case {
    const char* name;
    float satisfaction;
    double roll;  // fraction of 0-100 for the chance roll
    bool offered;
  };
  // Chance is satisfaction x 0.1 + 5 percent.
  const Case cases[] = {
      {"5% chance, roll 4.9", 0.0f, 0.049, true},
      {"5% chance, roll 5", 0.0f, 0.05, false},
      {"10% chance, roll 9.9", 50.0f, 0.099, true},
  };
  for (const Case& c : cases) {
    auto& pool = m->businessLists[kGroup_Business][kList_Pool];
    auto& offered = m->businessLists[kGroup_Business][kList_Offered];
    while (!offered.empty()) {
      pool.push_back(offered.back());
      offered.pop_back();
    }
    w.world.airport.traffic[0] = 100;
    w.world.stats->block.businessSatisfaction = c.satisfaction;
    // One candidate is taken without a draw; then the chance roll and the
    // negotiated value.
    w.world.random.UseSequence({c.roll, 0.0});
    m->MakeBusinessOffer(kGroup_Business);
    EXPECT_EQ(offered.size(), c.offered ? 1u : 0u) << c.name;
  }
  EXPECT_EQ(Subjects().back(), "New business contract");
  EXPECT_EQ(w.world.pda->posted.back().body, "Cafe has offered you a contract");
}

TEST_F(ContractOffersTest, AcceptAndDecline) {
  m->MakeAirlineOffer();
  m->MakeAirlineOffer();
  ASSERT_EQ(m->airlineLists[kList_Offered].size(), 2u);
  cAirlineContract* renewal = m->airlineLists[kList_Offered][1];
  renewal->renewal = 1;
  renewal->end = 5000000;
  const uint32_t now = w.world.Clock().totalSeconds;
  m->AcceptAirlineOffer(1);
  EXPECT_EQ(renewal->start, 5000000u);
  EXPECT_EQ(renewal->end, 5000000u + 31536000u);
  cAirlineContract* fresh = m->airlineLists[kList_Offered][0];
  m->AcceptAirlineOffer(0);
  EXPECT_EQ(fresh->start, now);
  EXPECT_EQ(fresh->end, now + 31536000u);
  EXPECT_EQ(m->airlineLists[kList_Active].size(), 2u);
  m->AcceptAirlineOffer(0);  // nothing offered: nothing happens
  EXPECT_EQ(m->airlineLists[kList_Active].size(), 2u);

  // Back to the pool on decline, with the cool-down and released buildings.
  m->airlineLists[kList_Offered].push_back(fresh);
  m->airlineLists[kList_Active].pop_back();
  simkit::FakeInstance* owned = w.Build(kAdmin, "Admin", 1, fresh);
  m->DeclineAirlineOffer(0);
  EXPECT_EQ(fresh->coolDown, 6);
  EXPECT_EQ(m->airlineLists[kList_Pool].back(), fresh);
  EXPECT_EQ(owned->owner, nullptr);
  EXPECT_EQ(menu->shown, std::vector<uint32_t>{3});

  auto& inns = m->businessLists[kGroup_Hotel];
  ASSERT_EQ(inns[kList_Pool].size(), 1u);
  cBusinessContract* inn = inns[kList_Pool][0];
  inns[kList_Pool].clear();
  inns[kList_Offered].push_back(inn);
  inn->monthlyPayment = 250.0f;
  const uint32_t signedBefore = w.world.stats->block.contractsSigned;
  const double incomeBefore = w.world.stats->block.contractIncome;
  m->AcceptHotelOffer(0);
  EXPECT_EQ(inns[kList_Active], std::vector<cBusinessContract*>{inn});
  EXPECT_EQ(w.world.stats->block.contractsSigned, signedBefore + 1);
  EXPECT_DOUBLE_EQ(w.world.stats->block.contractIncome - incomeBefore, 500.0);
  inns[kList_Active].clear();
  inns[kList_Offered].push_back(inn);
  m->DeclineHotelOffer(0);
  EXPECT_EQ(inn->coolDown, 180);
  EXPECT_EQ(inns[kList_Pool], std::vector<cBusinessContract*>{inn});
}

TEST_F(ContractOffersTest, AirlineNegotiationRepliesAndBreakdown) {
  struct Case {
    const char* name;
    uint8_t hour, minute;
    uint8_t countdown;
  };
  // (30 - hour) x 60 - minute, low 8 bits.
  const Case cases[] = {
      {"noon", 12, 0, 1080 & 0xFF},
      {"hour 24", 24, 30, 330 & 0xFF},
      {"one in the morning", 1, 59, 1681 & 0xFF},
      {"wraps to 0", 17, 12, 0},
  };
  m->MakeAirlineOffer();
  cAirlineContract* c = m->airlineLists[kList_Offered].at(0);
  const uint8_t flags[18] = {1, 0, 1};
  for (const Case& k : cases) {
    m->airlineLists[kList_Waiting].clear();
    m->airlineLists[kList_Offered] = {c};
    c->attempts = 0;
    w.world.Clock().hour = k.hour;
    w.world.Clock().minute = k.minute;
    m->NegotiateAirlineOffer(0, flags);
    EXPECT_EQ(c->state, k.countdown) << k.name;
    EXPECT_EQ(m->airlineLists[kList_Waiting], std::vector<cAirlineContract*>{c}) << k.name;
    EXPECT_EQ(c->feeEnabled[1], 0) << k.name;
    EXPECT_EQ(c->feeEnabled[2], 1) << k.name;
  }
  // A step above the airline satisfaction still waits for its reply...
  m->airlineLists[kList_Waiting].clear();
  m->airlineLists[kList_Offered] = {c};
  c->attempts = 0;
  c->baseOffer = 95.0f;
  m->NegotiateAirlineOffer(0, flags);
  EXPECT_EQ(c->attempts, 255);
  EXPECT_EQ(m->airlineLists[kList_Waiting], std::vector<cAirlineContract*>{c});
  // ...and negotiating again retracts the offer.
  m->airlineLists[kList_Waiting].clear();
  m->airlineLists[kList_Offered] = {c};
  m->NegotiateAirlineOffer(0, flags);
  EXPECT_EQ(m->airlineLists[kList_Pool].back(), c);
  EXPECT_EQ(c->coolDown, 6);
  EXPECT_EQ(Subjects().back(), c->GetName() + " negotiations failed");
  EXPECT_EQ(w.world.pda->posted.back().body,
            "Negotiations with " + c->GetName() + " have broken down and they have retracted their contract offer.");
}

TEST_F(ContractOffersTest, BusinessNegotiation) {
  auto& cafes = m->businessLists[kGroup_Business];
  cBusinessContract* cafe = cafes[kList_Pool].at(0);
  cafes[kList_Pool].clear();
  struct Case {
    const char* name;
    uint8_t attempts;
    float value;
    bool waits;
    uint8_t attemptsAfter;
  };
  // Draws at 3 per attempt; business satisfaction 50.
  const Case cases[] = {
      {"accepted", 0, 10.0f, true, 1},
      {"attempts wrap to 0", 255, 10.0f, true, 0},
      {"too dear", 1, 45.0f, false, 2},
  };
  for (const Case& c : cases) {
    cafes[kList_Pool].clear();
    cafes[kList_Waiting].clear();
    cafes[kList_Offered] = {cafe};
    cafe->attempts = c.attempts;
    cafe->negotiatedValue = c.value;
    cafe->state = 0;
    m->NegotiateBusinessOffer(kGroup_Business, 0);
    EXPECT_EQ(cafe->attempts, c.attemptsAfter) << c.name;
    if (c.waits) {
      EXPECT_EQ(cafes[kList_Waiting], std::vector<cBusinessContract*>{cafe}) << c.name;
      EXPECT_EQ(cafe->state, 2) << c.name;
    } else {
      EXPECT_EQ(cafes[kList_Pool], std::vector<cBusinessContract*>{cafe}) << c.name;
      EXPECT_EQ(cafe->coolDown, 180) << c.name;
      EXPECT_EQ(Subjects().back(), "Cafe negotiations failed") << c.name;
    }
  }
  cafes[kList_Pool] = {cafe};
  cafes[kList_Waiting].clear();
}

class SigningTest : public ContractOffersTest {
 protected:
  cAirlineContract* ActiveSolo() {
    m->MakeAirlineOffer();
    m->MakeAirlineOffer();
    cAirlineContract* c = Airline(kList_Offered, "Solo");
    auto& offered = m->airlineLists[kList_Offered];
    offered.erase(std::find(offered.begin(), offered.end(), c));
    m->airlineLists[kList_Active].push_back(c);
    c->satisfaction = 50.0f;
    c->signingPayment = 200000.0;
    return c;
  }
};

TEST_F(SigningTest, UnplaceableFlightsAreFinedEveryFifthDay) {
  cAirlineContract* c = ActiveSolo();
  w.world.airport.placeFlights = false;
  const double cashBefore = w.world.stats->block.cash;
  std::vector<double> fines;
  for (int day = 1; day <= 10; ++day) {
    const double before = w.world.stats->block.cash;
    m->SignFlightContracts();
    if (w.world.stats->block.cash != before) fines.push_back(before - w.world.stats->block.cash);
  }
  EXPECT_EQ(c->failedPlacements, 10u);
  EXPECT_FLOAT_EQ(c->satisfaction, 40.0f);
  EXPECT_EQ(fines, (std::vector<double>{10000.0, 10000.0}));
  EXPECT_DOUBLE_EQ(cashBefore - w.world.stats->block.cash, 20000.0);
  EXPECT_EQ(Subjects().back(), "Solo has fined you!");
  EXPECT_EQ(w.world.pda->posted.back().body,
            "You have been fined $10000.00 by Solo for failing to fulfill your contractual obligations.  You have "
            "been unable to accept any of their flight contracts.");
}

TEST_F(SigningTest, FirstFlightPaysTheSigningPaymentOnce) {
  cAirlineContract* c = ActiveSolo();
  c->satisfaction = 100.0f;
  const double incomeBefore = w.world.stats->block.contractIncome;
  const uint32_t signedBefore = w.world.stats->block.contractsSigned;
  const size_t open = c->openFlights.size();
  m->SignFlightContracts();
  m->SignFlightContracts();
  EXPECT_EQ(c->signedFlights.size(), 2u);
  EXPECT_EQ(c->openFlights.size(), open - 2);
  EXPECT_EQ(m->allFlights, c->signedFlights);
  EXPECT_DOUBLE_EQ(w.world.stats->block.contractIncome - incomeBefore, 200000.0);
  EXPECT_EQ(w.world.stats->block.contractsSigned, signedBefore + 3);
  EXPECT_EQ(c->firstFlightPaid, 1);
  EXPECT_EQ(Subjects().back(), "New flight contract");
  EXPECT_EQ(w.world.pda->posted.back().body, "Solo has awarded you a new flight contract");
}

TEST_F(SigningTest, SignedShareIsSummedAsAWholeNumber) {
  cAirlineContract* c = ActiveSolo();
  // 200 open and 60 signed: a share of 23%; summed in 8 bits the total
  // would be 4 and the share 1500%.
  while (c->openFlights.size() < 200) c->openFlights.push_back(new cFlightContract(c->openFlights[0]->airplane, c, 9000 + static_cast<uint32_t>(c->openFlights.size())));
  for (int i = 0; i < 60; ++i) c->signedFlights.push_back(new cFlightContract(c->openFlights[0]->airplane, c, 8000 + i));
  struct Case {
    const char* name;
    float satisfaction;
    bool signs;
  };
  for (const Case& k : {Case{"below the share", 23.0f, false}, Case{"above it", 30.0f, true}}) {
    c->satisfaction = k.satisfaction;
    const size_t before = c->signedFlights.size();
    m->SignFlightContracts();
    EXPECT_EQ(c->signedFlights.size(), before + (k.signs ? 1 : 0)) << k.name;
  }
  m->allFlights.clear();
}

TEST_F(SigningTest, CustomsLimitRefusesInternationalFlights) {
  m->MakeAirlineOffer();
  m->MakeAirlineOffer();
  cAirlineContract* far = Airline(kList_Offered, "Far");
  ASSERT_NE(far, nullptr);
  auto& offered = m->airlineLists[kList_Offered];
  offered.erase(std::find(offered.begin(), offered.end(), far));
  m->airlineLists[kList_Active].push_back(far);
  far->satisfaction = 100.0f;
  w.Build(kAdmin, "Customs", 1, far);
  std::vector<std::unique_ptr<cFlightContract>> others;
  for (int i = 0; i < 5; ++i) {
    others.push_back(std::make_unique<cFlightContract>(far->openFlights[0]->airplane, far, 7000 + i));
    m->allFlights.push_back(others.back().get());
  }
  far->signedFlights.push_back(far->openFlights.back());
  far->openFlights.pop_back();
  const size_t posted = w.world.pda->posted.size();
  m->SignFlightContracts();
  EXPECT_EQ(far->signedFlights.size(), 1u);
  // The airline's own check refuses first, with its Customs message.
  ASSERT_EQ(w.world.pda->posted.size(), posted + 1);
  EXPECT_EQ(Subjects().back(), "Airline requirements not met");
  EXPECT_NE(std::find(far->messages.begin(), far->messages.end(), "You must construct more Customs buildings."),
            far->messages.end());
  // With a second Customs building the flight is signed.
  w.Build(kAdmin, "Customs", 1, far);
  m->SignFlightContracts();
  EXPECT_EQ(far->signedFlights.size(), 2u);
  m->allFlights.clear();
}

}  // namespace
