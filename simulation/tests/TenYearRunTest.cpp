#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "simulation/Calendar.h"
#include "simulation/EventManager.h"
#include "simulation/Simulation.h"
#include "simulation/StatManager.h"
#include "simulation/tests/kit/SimWorld.h"

namespace {

// Watches the run once per game day: books money at random, and checks the
// calendar, the events that ran and the accounts.
class DailyObserver : public cSimulation_TimeObject {
 public:
  DailyObserver(simkit::SimWorld& world, std::vector<std::pair<uint64_t, int32_t>> schedule)
      : cSimulation_TimeObject(kTimeEvent_Tick | kTimeEvent_Day), world_(world), schedule_(std::move(schedule)) {
    engine_.seed(20260);
  }

  int32_t OnTime(uint32_t, uint32_t, uint32_t flag, float) override {
    if (flag == kTimeEvent_Day) {
      dayPassed_ = true;
      Book();
      return 0;
    }
    if (!dayPassed_) return 0;
    dayPassed_ = false;
    ++days;
    Check();
    return 0;
  }

  int days = 0;

 private:
  void Book() {
    cEntity_StatManager& stats = *world_.stats;
    std::uniform_real_distribution<double> money(-5000.0, 5000.0);
    switch (engine_() % 5) {
      case 0: stats.AddFunds(money(engine_)); break;
      case 1: stats.ChargeCost(static_cast<float>(money(engine_)), 1.0f); break;
      case 2: stats.AddFlightIncome(static_cast<float>(money(engine_)), 100); break;
      case 3: stats.AddContractIncome(static_cast<float>(money(engine_))); break;
      default: stats.AddParkingIncome(static_cast<float>(money(engine_))); break;
    }
  }

  void Check() {
    cSimulation_Clock& clock = world_.Clock();
    const calendar::Date d = calendar::SecondsToDate(clock.totalSeconds);
    ASSERT_EQ(d.year, clock.year) << days;
    ASSERT_EQ(d.month, clock.month) << days;
    ASSERT_EQ(d.day, clock.day) << days;
    ASSERT_EQ(d.dayOfYear, clock.dayOfYear) << days;
    ASSERT_EQ(d.hour, calendar::HourOfDay(clock.hour)) << days;
    ASSERT_EQ(d.minute, clock.minute) << days;
    ASSERT_EQ(d.second, clock.second) << days;

    // Exactly the events due by now have run, each once, in time order.
    const uint64_t now = EventTimeKey(clock.year, clock.dayOfYear, clock.hour, clock.minute, clock.second);
    std::vector<int32_t> due;
    for (const auto& [key, payload] : schedule_)
      if (key <= now) due.push_back(payload);
    ASSERT_EQ(world_.buildings.earthquakes, due) << days;

    const StatBlock& b = world_.stats->block;
    ASSERT_NEAR(b.cash, StatBlock::kStartingCash + b.income + b.incomeEarlier - b.expenses, 1e-3) << days;
  }

  simkit::SimWorld& world_;
  std::vector<std::pair<uint64_t, int32_t>> schedule_;
  std::mt19937 engine_;
  bool dayPassed_ = false;
};

TEST(TenYearRunTest, TenSeededYearsAtTopSpeed) {
  simkit::SimWorld world;
  ASSERT_TRUE(world.ready);
  world.random.UseSeed(7);
  // Something to pay upkeep for and to earn rent from.
  simkit::FakeType* hangar = world.buildings.AddType(1, 0, 2);
  hangar->monthlyExpense = 900.0f;
  world.buildings.Place(hangar)->condition = 12.0f;
  simkit::FakeType* shop = world.buildings.AddType(2, 0, 1);
  shop->monthlyIncome = 450.0f;
  world.buildings.Place(shop)->roadAccess = {{4, 4, 2}};
  world.roads.connected = {{4, 5}};
  simkit::FakeType* terminalType = world.buildings.AddType(5, 0, 1);
  simkit::FakeInstance* terminal = world.buildings.Place(terminalType);
  terminal->interior.resize(1);
  terminal->interior[0].monthlyIncome = 75.0f;
  world.buildings.terminals = {terminal};
  world.BuildWorld();

  // Damage events at seeded times across the ten years; their payload
  // names them so the order they run in can be checked.
  std::mt19937 engine(99);
  std::vector<std::pair<uint64_t, int32_t>> schedule;
  for (int32_t i = 0; i < 300; ++i) {
    EventRecord e;
    e.kind = kEvent_EarthquakeDamage;
    e.year = static_cast<uint16_t>(1970 + engine() % 10);
    e.dayOfYear = static_cast<uint16_t>(1 + engine() % 365);
    e.hour = static_cast<uint8_t>(engine() % 24);
    e.minute = static_cast<uint8_t>(engine() % 60);
    e.second = static_cast<uint8_t>(engine() % 60);
    e.payload = static_cast<uint32_t>(i);
    world.events->ScheduleEvent(e);
    schedule.emplace_back(EventTimeKey(e), i);
  }
  // Equal times run latest-scheduled first.
  std::stable_sort(schedule.begin(), schedule.end(), [](const auto& a, const auto& b) {
    return a.first < b.first || (a.first == b.first && a.second > b.second);
  });
  DailyObserver observer(world, schedule);
  world.Clock().RegisterTimeObject(&observer);

  world.RunDays(3653, 50000);
  EXPECT_GE(observer.days, 3650);
  EXPECT_EQ(world.Clock().year, 1980);
  EXPECT_EQ(world.buildings.earthquakes.size(), schedule.size());
  EXPECT_GT(world.stats->block.upkeepPaidEarlier, 0.0);
  EXPECT_GT(world.stats->block.amenityIncomeEarlier, 0.0);
}

}  // namespace
