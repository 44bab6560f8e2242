#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>

#include "simulation/MoneyText.h"
#include "simulation/Simulation.h"
#include "simulation/StatManager.h"
#include "simulation/tests/kit/SimWorld.h"

namespace {

using simkit::FakeType;
using simkit::SimWorld;

class StatManagerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(world.ready);
    world.BuildWorld();
  }
  StatBlock& Block() { return world.stats->block; }
  // cash = start + income (all years) - expenses.
  void ExpectBooksBalance(const char* name) {
    const StatBlock& b = Block();
    EXPECT_NEAR(b.cash, StatBlock::kStartingCash + b.income + b.incomeEarlier - b.expenses, 1e-6) << name;
  }
  SimWorld world;
};

TEST_F(StatManagerTest, ANewGameShowsTwentyMillionAfterTheFirstTick) {
  EXPECT_EQ(Block().cash, 20000000.0);
  EXPECT_FLOAT_EQ(Block().upkeepFactor, 1.0f);
  world.RunFrame(0.1f);
  EXPECT_EQ(world.widgets.Label("sttIGBudget"), "$20,000,000");
  EXPECT_EQ(world.widgets.Label("sttPLBudget"), "$20,000,000");
  EXPECT_EQ(world.widgets.Label("sttSDCost"), "$0.00");
  EXPECT_EQ(world.widgets.Label("sttSDValue"), "$0.00");
  // The label follows the cash on the next tick, however it moved.
  world.stats->AddFunds(-1234.0);
  world.RunFrame(0.1f);
  EXPECT_EQ(world.widgets.Label("sttIGBudget"), "$19,998,766");
  world.stats->AddFunds(1234.0);
  world.RunFrame(0.1f);
  EXPECT_EQ(world.widgets.Label("sttIGBudget"), "$20,000,000");
}

TEST_F(StatManagerTest, BudgetLabels) {
  struct Case {
    double amount;
    const char* text;
  } cases[] = {{1234.5, "$1,234"}, {-1234567.0, "$-1,234,567"}, {0.0, "$0"},       {999.0, "$999"},
               {-12.0, "$-12"},   {100000.0, "$100,000"},      {1e9, "$1,000,000,000"}};
  for (const Case& c : cases) EXPECT_EQ(FormatBudget(c.amount), c.text) << c.amount;
  EXPECT_EQ(FormatDollars(1234.5), "$1234");
}

TEST_F(StatManagerTest, MoneyOperationsBookIncomeAndExpenses) {
  struct Case {
    const char* name;
    std::function<void(cEntity_StatManager&)> run;
    double cash, income, expenses, construction;
  } cases[] = {
      {"funds in", [](cEntity_StatManager& s) { s.AddFunds(500.0); }, 500, 500, 0, 0},
      {"fine", [](cEntity_StatManager& s) { s.AddFunds(-300.0); }, -300, 0, 300, 0},
      {"zero funds", [](cEntity_StatManager& s) { s.AddFunds(0.0); }, 0, 0, 0, 0},
      {"taxiway cost", [](cEntity_StatManager& s) { s.ChargeCost(1000.0f, 10.0f); }, -1000, 0, 1000, 1000},
      {"negative cost credits", [](cEntity_StatManager& s) { s.ChargeCost(-250.0f, 0.0f); }, 250, 250, 0, -250},
      {"flight", [](cEntity_StatManager& s) { s.AddFlightIncome(800.0f, 120); }, 800, 800, 0, 0},
      {"contract penalty", [](cEntity_StatManager& s) { s.AddContractIncome(-50.0f); }, -50, 0, 50, 0},
      {"parking", [](cEntity_StatManager& s) { s.AddParkingIncome(5.0f); }, 5, 5, 0, 0},
      {"land purchase", [](cEntity_StatManager& s) { s.ChargeLandPurchase(2); }, -50000, 0, 50000, 50000},
      {"land per plot", [](cEntity_StatManager& s) { s.ChargeLandPerPlot(3); }, -75000, 0, 75000, 0},
      {"land sale", [](cEntity_StatManager& s) { s.CreditLandSale(2); }, 50000, 50000, 0, 0},
  };
  for (const Case& c : cases) {
    world.stats->block = StatBlock{};
    c.run(*world.stats);
    EXPECT_DOUBLE_EQ(Block().cash - StatBlock::kStartingCash, c.cash) << c.name;
    EXPECT_DOUBLE_EQ(Block().income, c.income) << c.name;
    EXPECT_DOUBLE_EQ(Block().expenses, c.expenses) << c.name;
    EXPECT_DOUBLE_EQ(Block().construction, c.construction) << c.name;
    ExpectBooksBalance(c.name);
  }
}

TEST_F(StatManagerTest, FlightsCountPassengersAndTicketSales) {
  world.stats->AddFlightIncome(1000.0f, 150);
  world.stats->AddFlightIncome(500.0f, 50);
  EXPECT_EQ(Block().passengers, 200u);
  EXPECT_EQ(Block().flights, 2u);
  EXPECT_DOUBLE_EQ(Block().ticketSales, 1500.0);
}

TEST_F(StatManagerTest, LandTextsAndAffordability) {
  world.stats->ShowLandCost(3);
  EXPECT_EQ(world.widgets.Label("sttSDCost"), "$75000");
  world.stats->ShowLandValue(1);
  EXPECT_EQ(world.widgets.Label("sttSDValue"), "$25000");
  EXPECT_TRUE(world.stats->CanAffordLand(800));   // exactly the cash
  EXPECT_FALSE(world.stats->CanAffordLand(801));
}

TEST_F(StatManagerTest, RemovingABuildingUnderConstructionRefundsTheRest) {
  struct Case {
    const char* name;
    uint32_t buildTime;
    uint32_t hoursLeft;
    double refund;
  } cases[] = {
      {"a quarter left", 2, 12, 250.0},
      {"nothing built yet", 2, 48, 1000.0},
      {"finished", 2, 0, 0.0},
      {"a type without build time", 0, 12, 0.0},
  };
  for (const Case& c : cases) {
    FakeType* type = world.buildings.AddType(1, 0, 1);
    type->buildCost = 1000.0f;
    type->buildTime = c.buildTime;
    type->monthlyExpense = 40.0f;
    simkit::FakeInstance* building = world.buildings.Place(type);
    building->constructionLeft = c.hoursLeft;
    world.stats->block = StatBlock{};
    world.stats->ChargeBuildingCost(building);
    EXPECT_DOUBLE_EQ(Block().monthlyUpkeep, 40.0) << c.name;
    world.stats->OnBuildingsChanged(building);
    EXPECT_DOUBLE_EQ(Block().cash, StatBlock::kStartingCash - 1000.0 + c.refund) << c.name;
    EXPECT_DOUBLE_EQ(Block().monthlyUpkeep, 0.0) << c.name;
    ExpectBooksBalance(c.name);
  }
}

TEST_F(StatManagerTest, DefaultBasesAndTheirDailyDrift) {
  EXPECT_FLOAT_EQ(world.stats->tuning.SafetyTarget(), 40.0f);
  EXPECT_FLOAT_EQ(world.stats->tuning.SecurityTarget(), 30.0f);
  EXPECT_NEAR(world.stats->tuning.SatisfactionTarget(), 10.0f, 1e-5);
  struct Case {
    const char* name;
    float start, target, delta;
    int days;
    float after;
  } cases[] = {
      {"lowered safety returns in 50 days", 35.0f, 40.0f, 0.1f, 50, 40.0f},
      {"halfway after 25 days", 35.0f, 40.0f, 0.1f, 25, 37.5f},
      {"raised base falls", 41.0f, 40.0f, 0.1f, 5, 40.5f},
      {"no overshoot", 39.95f, 40.0f, 0.1f, 1, 40.0f},
  };
  for (const Case& c : cases) {
    float v = c.start;
    for (int d = 0; d < c.days; ++d) v = MoveToward(v, c.target, c.delta);
    EXPECT_NEAR(v, c.after, 1e-3) << c.name;
  }
  Block().safetyBase = 35.0f;
  for (int d = 0; d < 50; ++d) world.stats->DailyUpdate();
  EXPECT_NEAR(Block().safetyBase, 40.0f, 1e-3);
}

TEST_F(StatManagerTest, RatingsFromBuildingsAndTerminals) {
  FakeType* tower = world.buildings.AddType(9, 0, 1);
  tower->safety = 10.0f;
  tower->security = 4.0f;
  tower->aesthetic = 2.0f;
  tower->satisfaction = 6.0f;
  simkit::FakeInstance* a = world.buildings.Place(tower);
  a->health = 0.5f;
  simkit::FakeInstance* b = world.buildings.Place(tower);
  b->health = 1.0f;
  b->secondFactor = 2.0f;
  simkit::FakeInstance* idle = world.buildings.Place(tower);
  idle->functional = false;
  idle->health = 0.0f;
  FakeType* terminalType = world.buildings.AddType(5, 0, 1);
  simkit::FakeInstance* terminal = world.buildings.Place(terminalType);
  terminal->health = 1.0f;
  terminal->interior.resize(2);
  for (TerminalItem& desk : terminal->interior) {
    desk.safety = 3.0f;
    desk.security = 5.0f;
    desk.satisfaction = 7.0f;
  }
  world.buildings.terminals = {terminal};

  world.stats->DailyUpdate();
  const StatBlock& s = Block();
  EXPECT_FLOAT_EQ(s.safetyMaintenance, (0.5f + 1.0f + 0.0f + 1.0f) / 4.0f);
  EXPECT_FLOAT_EQ(s.safetyBuildings, 10.0f * 0.5f + 10.0f * 2.0f);
  EXPECT_FLOAT_EQ(s.safetyInterior, 6.0f);
  EXPECT_FLOAT_EQ(s.safetyRating, 40.0f + 0.2f * s.safetyMaintenance + 0.2f * 25.0f + 0.2f * 6.0f);
  EXPECT_FLOAT_EQ(s.securityBuildings, 4.0f * 0.5f + 4.0f * 2.0f);
  EXPECT_FLOAT_EQ(s.securityRating, 30.0f + 0.2f * 10.0f + 0.5f * 10.0f);
  EXPECT_FLOAT_EQ(s.aesthetic, 2.0f * 0.5f + 2.0f * 2.0f);
  EXPECT_FLOAT_EQ(s.satisfactionBuildings, 15.0f);
  EXPECT_FLOAT_EQ(s.satisfactionInterior, 14.0f);
  EXPECT_NEAR(s.satisfactionRating,
              10.0f + 0.15f * 14.0f + 0.15f * 15.0f + 0.1f * 5.0f + 0.25f * s.securityRating + 0.25f * s.safetyRating,
              1e-3);
  EXPECT_FLOAT_EQ(s.airlineSatisfaction, 80.0f);
  EXPECT_FLOAT_EQ(s.businessSatisfaction, 80.0f);
}

TEST_F(StatManagerTest, BusinessSatisfactionCurve) {
  struct Case {
    const char* name;
    float traffic, required, expected;
  } cases[] = {
      {"exactly the required traffic", 100.0f, 100.0f, 80.0f},
      {"twice the required traffic is capped", 200.0f, 100.0f, 100.0f},
      {"half the traffic", 50.0f, 100.0f, 20.0f},
      {"one and a quarter", 125.0f, 100.0f, 85.0f},
      {"no traffic", 0.0f, 100.0f, 0.0f},
      {"no traffic required", 0.0f, 0.0f, 100.0f},
  };
  for (const Case& c : cases)
    EXPECT_NEAR(BusinessSatisfactionFor(c.traffic, c.required, 80.0f), c.expected, 1e-4) << c.name;
}

TEST_F(StatManagerTest, MonthlyUpkeepScalesWithCondition) {
  struct Case {
    const char* name;
    uint8_t level;
    float condition;
    double upkeep;
  } cases[] = {
      {"full condition", 2, 20.0f, 100.0},
      {"half condition", 2, 10.0f, 30.0 + 35.0},
      {"worn out", 2, 0.0f, 30.0},
      {"level 0 costs its full expense", 0, 5.0f, 100.0},
  };
  uint16_t id = 0;
  for (const Case& c : cases) {
    SimWorld fresh;
    ASSERT_TRUE(fresh.ready);
    fresh.BuildWorld();
    FakeType* type = fresh.buildings.AddType(1, id++, c.level);
    type->monthlyExpense = 100.0f;
    fresh.buildings.Place(type)->condition = c.condition;
    fresh.stats->MonthlyUpkeep();
    EXPECT_DOUBLE_EQ(fresh.stats->block.monthlyUpkeep, c.upkeep) << c.name;
    EXPECT_DOUBLE_EQ(fresh.stats->block.upkeepPaid, c.upkeep) << c.name;
    EXPECT_DOUBLE_EQ(fresh.stats->block.cash, StatBlock::kStartingCash - c.upkeep) << c.name;
  }
}

TEST_F(StatManagerTest, AmenitiesOnConnectedRoadsAndTerminalShopsEarnCash) {
  FakeType* shop = world.buildings.AddType(2, 0, 1);
  shop->monthlyIncome = 300.0f;
  simkit::FakeInstance* connected = world.buildings.Place(shop);
  connected->roadAccess = {{10, 10, 1}, {10, 11, 1}};
  simkit::FakeInstance* cutOff = world.buildings.Place(shop);
  cutOff->roadAccess = {{20, 20, 0}};
  world.roads.connected = {{11, 10}, {11, 11}};
  FakeType* terminalType = world.buildings.AddType(5, 0, 1);
  simkit::FakeInstance* terminal = world.buildings.Place(terminalType);
  terminal->interior.resize(1);
  terminal->interior[0].monthlyIncome = 40.0f;
  world.buildings.terminals = {terminal};

  world.stats->MonthlyAmenityIncome();
  EXPECT_DOUBLE_EQ(Block().amenityIncome, 340.0);
  EXPECT_DOUBLE_EQ(Block().cash, StatBlock::kStartingCash + 340.0);
  ExpectBooksBalance("amenities");
}

TEST_F(StatManagerTest, YearEndRollsTheYearlyTotals) {
  world.stats->AddFlightIncome(100.0f, 10);
  world.stats->AddContractIncome(20.0f);
  world.stats->ChargeCost(30.0f, 0.0f);
  world.stats->YearlyRollOver();
  EXPECT_EQ(Block().passengers, 0u);
  EXPECT_EQ(Block().passengersEarlier, 10u);
  EXPECT_EQ(Block().flightsEarlier, 1u);
  EXPECT_DOUBLE_EQ(Block().incomeEarlier, 120.0);
  EXPECT_DOUBLE_EQ(Block().income, 0.0);
  EXPECT_DOUBLE_EQ(Block().constructionEarlier, 30.0);
  EXPECT_DOUBLE_EQ(Block().expenses, 30.0);  // not rolled
  ExpectBooksBalance("after the roll-over");
}

TEST_F(StatManagerTest, TheBlockRoundTripsAndALoadedBlobAppliesAtStart) {
  world.stats->AddFlightIncome(1234.5f, 77);
  Block().safetyBase = 33.0f;
  Block().contractsSigned = 9;
  SerialBlock bytes;
  uint32_t size = 0;
  ASSERT_TRUE(world.stats->Save(&bytes, &size));
  ASSERT_EQ(size, 240u);
  double cash;
  std::memcpy(&cash, bytes.get(), 8);
  EXPECT_DOUBLE_EQ(cash, StatBlock::kStartingCash + 1234.5);
  uint32_t passengers;
  std::memcpy(&passengers, bytes.get() + 144, 4);
  EXPECT_EQ(passengers, 77u);

  world.ClearWorld();
  ASSERT_TRUE(world.stats->LoadFromBlob(bytes.get(), size));
  world.BuildWorld();
  EXPECT_EQ(Block().passengers, 77u);
  EXPECT_FLOAT_EQ(Block().safetyBase, 33.0f);
  SerialBlock again;
  uint32_t againSize = 0;
  ASSERT_TRUE(world.stats->Save(&again, &againSize));
  EXPECT_EQ(std::vector<uint8_t>(again.get(), again.get() + againSize),
            std::vector<uint8_t>(bytes.get(), bytes.get() + size));
}

TEST_F(StatManagerTest, CorruptBlocksAreRefused) {
  const std::vector<uint8_t> good = Block().Serialize();
  auto with = [&](size_t at, std::vector<uint8_t> bytes) {
    std::vector<uint8_t> b = good;
    std::copy(bytes.begin(), bytes.end(), b.begin() + static_cast<std::ptrdiff_t>(at));
    return b;
  };
  struct Case {
    const char* name;
    std::vector<uint8_t> bytes;
  } cases[] = {
      {"truncated", std::vector<uint8_t>(good.begin(), good.end() - 1)},
      {"too long", [&] { auto b = good; b.push_back(0); return b; }()},
      {"cash not a number", with(0, {0, 0, 0, 0, 0, 0, 0xF8, 0x7F})},
      {"infinite upkeep", with(8, {0, 0, 0, 0, 0, 0, 0xF0, 0x7F})},
      {"safety rating not a number", with(168, {0, 0, 0xC0, 0x7F})},
  };
  world.ClearWorld();
  const std::vector<uint8_t> heldBefore = with(0, {0, 0, 0, 0, 0, 0, 0, 0});  // cash 0
  ASSERT_TRUE(world.stats->LoadFromBlob(heldBefore.data(), 240));
  for (const Case& c : cases)
    EXPECT_FALSE(world.stats->LoadFromBlob(c.bytes.data(), static_cast<uint32_t>(c.bytes.size()))) << c.name;
  world.BuildWorld();
  EXPECT_EQ(Block().cash, 0.0);  // the blob held before the refusals
}

}  // namespace
