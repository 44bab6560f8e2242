// Values that should land exactly on a configured threshold do: the rating
// targets derived from the weights of data/base.cfg, the ratings built on
// them with nothing built, and money totals against an end-game threshold
// written with cents.
#include <gtest/gtest.h>

#include <string>

#include "simulation/AirportManager.h"
#include "simulation/DecimalValue.h"
#include "simulation/EndGame.h"
#include "simulation/EventManager.h"
#include "simulation/StatManager.h"
#include "simulation/tests/AirportTestWorld.h"

namespace {

class ConfiguredThresholdsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(a.w.world.ready);
    ASSERT_NE(a.airport, nullptr);
  }
  cEntity_StatManager& Stats() { return *a.w.world.stats; }
  cEntity_EventManager& Events() { return *a.w.world.events; }
  airporttest::AirportWorld a;
};

// Each target at the defaults of base.cfg is its round value, and with
// nothing built the daily update gives ratings that win an award and meet
// an end-game condition whose threshold is written as exactly that value.
TEST_F(ConfiguredThresholdsTest, RatingTargetsAtTheirDefaultsMeetEqualThresholds) {
  struct Case {
    const char* name;
    float (StatTuning::*target)() const;
    float targetValue;
    float StatBlock::*base;
    float StatBlock::*rating;
    const char* ratingText;  // the rating with no building and no terminal
    int32_t criterion;
    int awardType;
  } cases[] = {
      {"safety", &StatTuning::SafetyTarget, 40.0f, &StatBlock::safetyBase, &StatBlock::safetyRating, "40",
       kCriterion_Safety, 3},
      {"security", &StatTuning::SecurityTarget, 30.0f, &StatBlock::securityBase, &StatBlock::securityRating, "30",
       kCriterion_Security, 2},
      // 10 + 0.25 x 30 + 0.25 x 40
      {"customer satisfaction", &StatTuning::SatisfactionTarget, 10.0f, &StatBlock::satisfactionBase,
       &StatBlock::satisfactionRating, "27.5", kCriterion_Satisfaction, 1},
  };
  std::string awards;
  for (const Case& c : cases) {
    EXPECT_EQ((Stats().tuning.*c.target)(), c.targetValue) << c.name;
    EXPECT_EQ(Stats().block.*c.base, c.targetValue) << c.name << ": a new game's base";
    awards += std::string("[") + c.name + "]\nname = " + c.name + "\ncondition_type = " + std::to_string(c.awardType) +
              "\nthreshold = " + c.ratingText + "\nprize = 1\nlevel = 0\nrequired_airport_rating = 0\n";
  }
  a.airport->ReadAwardTable(awards);
  ASSERT_EQ(a.airport->awards.size(), std::size(cases));
  Stats().DailyUpdate();
  for (size_t i = 0; i < std::size(cases); ++i) {
    const Case& c = cases[i];
    const float threshold = a.airport->awards[i]->threshold;
    EXPECT_EQ(Stats().block.*c.base, c.targetValue) << c.name << ": after a day";
    EXPECT_EQ(Stats().block.*c.rating, threshold) << c.name;
    EXPECT_EQ(a.airport->awards[i]->won, 1) << c.name << ": award at threshold " << c.ratingText;
    EndGame condition;
    condition.criterion = c.criterion;
    condition.value = threshold;
    EXPECT_TRUE(Events().ConditionHolds(condition)) << c.name << ": end-game threshold " << c.ratingText;
  }
}

// A money threshold written with cents holds for a total of exactly that
// amount and not for a cent less.
TEST_F(ConfiguredThresholdsTest, MoneyCriteriaAtAThresholdWithCents) {
  struct Case {
    const char* name;
    int32_t criterion;
    double StatBlock::*field;
    double value;
    float threshold;
    bool holds;
  } cases[] = {
      {"budget equal", kCriterion_Budget, &StatBlock::cash, 1234.56, 1234.56f, true},
      {"budget a cent short", kCriterion_Budget, &StatBlock::cash, 1234.55, 1234.56f, false},
      {"ticket sales equal", kCriterion_TicketSales, &StatBlock::ticketSales, 98765.43, 98765.43f, true},
      {"rent equal", kCriterion_Rent, &StatBlock::amenityIncome, 0.1, 0.1f, true},
      {"rent short", kCriterion_Rent, &StatBlock::amenityIncome, 0.09, 0.1f, false},
      {"earnings equal", kCriterion_Earnings, &StatBlock::income, 600.7, 600.7f, true},
  };
  cEntity_StatManager& stats = Stats();
  for (const Case& c : cases) {
    StatBlock saved = stats.block;
    stats.block.expenses = 0.0;
    stats.block.*c.field = c.value;
    EndGame condition;
    condition.criterion = c.criterion;
    condition.value = c.threshold;
    EXPECT_EQ(Events().ConditionHolds(condition), c.holds) << c.name;
    stats.block = saved;
  }
}

TEST(DecimalValue, GivesTheDecimalTheFloatWasReadFrom) {
  struct Case {
    float value;
    double decimal;
  } cases[] = {{0.15f, 0.15}, {0.2f, 0.2}, {1234.56f, 1234.56}, {40.0f, 40.0}, {-2.5f, -2.5}, {0.0f, 0.0},
               {16777217.0f, 16777216.0}, {3.4028235e38f, 3.4028235e38}};
  for (const Case& c : cases) EXPECT_EQ(DecimalValue(c.value), c.decimal) << c.value;
}

}  // namespace
