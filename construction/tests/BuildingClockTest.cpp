#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "construction/BuildingInstances.h"
#include "construction/Facilities.h"
#include "construction/tests/BuildingWorld.h"
#include "simulation/StatManager.h"

using namespace buildtest;

namespace {

// A building that records the traffic calls it gets.
class CountingInstance : public BOInstance {
 public:
  void UpdateAmbientTraffic(uint8_t hour, uint32_t, cKV9_GlobalWrapper*) override { hours.push_back(hour); }
  std::vector<uint8_t> hours;
};

class CountingType : public cBuilding {
 public:
  using cBuilding::cBuilding;
  BOInstance* CreateInstance() override {
    auto* instance = new CountingInstance();
    instance->SetType(this);
    instance->Init();
    return instance;
  }
};

}  // namespace

TEST(BuildingClock, WithoutRepairsAnIntactBuildingLastsAboutThreeThousandDays) {
  struct Case {
    const char* name;
    uint8_t classCode;
    const char* typeName;
    bool decays;
  };
  const Case cases[] = {
      {"plain building", kClass_Building, "Office", true},
      {"security", kClass_Security, "Guard Post", true},
      {"amenity", kClass_Amenity, "Cafe", false},
      {"terminal", kClass_Terminal, "Terminal", false},
      {"runway", kClass_Runway, "Runway", false},
      {"maintenance, any case", kClass_Service, "AIRPORT maintain", false},
  };
  for (const Case& c : cases) {
    BuildingWorld w;
    auto* type = w.manager.Define(c.classCode, c.typeName, 1);
    BOInstance* b = w.manager.Place(type, 10, 10);
    ASSERT_NE(b, nullptr) << c.name;
    int day = 0;
    while (day < 3100 && !w.manager.placed.empty()) {
      ++day;
      w.manager.ApplyDailyDecay();
    }
    if (!c.decays) {
      EXPECT_EQ(w.manager.placed.size(), 1u) << c.name;
      EXPECT_FLOAT_EQ(b->health, 1.0f) << c.name;
      continue;
    }
    EXPECT_TRUE(day == 3000 || day == 3001) << c.name << ": lasted " << day << " days";
    EXPECT_EQ(w.Subjects().back(), std::string("Your ") + c.typeName + " has decayed into ruin and been destroyed.")
        << c.name;
    EXPECT_EQ(w.roads.world.pda->posted.back().body, "Building destroyed");
  }
}

TEST(BuildingClock, TwoRuinsInOnePassAreBothRemovedAndTheirNeighboursStillDecay) {
  BuildingWorld w;
  auto* type = w.manager.Define(kClass_Building, "Shed", 1, 1, 1);
  BOInstance* a = w.BuildFinished(type, 1, 1);
  BOInstance* b = w.BuildFinished(type, 3, 1);
  BOInstance* c = w.BuildFinished(type, 5, 1);
  BOInstance* d = w.BuildFinished(type, 7, 1);
  a->health = 0.0001f;
  c->health = 0.0001f;
  w.Clock().SetSpeed(50);
  w.manager.ApplyDailyDecay();
  ASSERT_EQ(w.manager.placed.size(), 2u);
  EXPECT_EQ(w.manager.placed[0], b);
  EXPECT_EQ(w.manager.placed[1], d);
  EXPECT_LT(b->health, 1.0f);
  EXPECT_LT(d->health, 1.0f);
  EXPECT_EQ(w.manager.decayCounter, 4u);
  EXPECT_EQ(w.Subjects().size(), 2u);
  EXPECT_FLOAT_EQ(w.Clock().speed, 1.0f);
}

TEST(BuildingClock, ADecayedBuildingBelowHalfCatchesFireByTheDraw) {
  struct Case {
    const char* name;
    double fraction;  // of the 0-500 draw
    bool fire;
  };
  // Integrity 0.2 after the day: threshold (1 - 0.2) x 25 = 20 of 500.
  const Case cases[] = {{"low draw", 0.0, true}, {"just under", 0.0399, true}, {"just over", 0.0401, false}};
  for (const Case& c : cases) {
    BuildingWorld w;
    BOInstance* b = w.BuildFinished(w.manager.Define(kClass_Building, "Shed", 1, 1, 1), 1, 1);
    b->health = 0.2f + w.manager.baseRateOfDecay;
    w.roads.world.random.UseSequence({c.fraction});
    w.manager.ApplyDailyDecay();
    EXPECT_EQ(b->onFire != 0, c.fire) << c.name;
  }
}

TEST(BuildingClock, RepairsShareTheCapacityOverTheDecayedBuildingsAndChargeIt) {
  BuildingWorld w;
  auto* maintain = w.manager.Define<cServiceFacility>(kClass_Service, "Airport Maintain", 1, 1, 1);
  maintain->repairCapability = 10.0f;
  auto* office = w.manager.Define(kClass_Building, "Office", 1, 1, 1);
  office->SetBuildCost(100.0f);
  auto* free = w.manager.Define(kClass_Building, "Shelter", 1, 1, 1);
  BOInstance* depot = w.BuildFinished(maintain, 1, 1);
  ASSERT_EQ(w.manager.maintenanceServices.size(), 1u);
  BOInstance* a = w.BuildFinished(office, 3, 1);
  BOInstance* b = w.BuildFinished(free, 5, 1);
  a->health = 0.5f;
  b->health = 0.5f;
  const double cash = w.Cash();
  w.manager.ApplyDailyDecay();  // two decaying buildings: share 5 each
  w.manager.ApplyDailyRepairs();
  EXPECT_NEAR(a->health, 0.5f - w.manager.baseRateOfDecay + 0.05f, 1e-5);
  EXPECT_FLOAT_EQ(b->health, 1.0f);  // costs nothing: any share repairs it in full
  EXPECT_FLOAT_EQ(depot->health, 1.0f);
  EXPECT_NEAR(w.Cash(), cash - 10.0, 1e-6);
  EXPECT_NEAR(w.roads.world.stats->block.upkeepPaid, 10.0, 1e-6);

  // A day on which nothing decayed shares nothing and charges nothing.
  w.manager.RemoveInstance(a);
  w.manager.RemoveInstance(b);
  w.manager.ApplyDailyDecay();
  EXPECT_EQ(w.manager.decayCounter, 0u);
  const double before = w.Cash();
  w.manager.ApplyDailyRepairs();
  EXPECT_DOUBLE_EQ(w.Cash(), before);
  EXPECT_FALSE(std::isnan(depot->health));
}

TEST(BuildingClock, StaffGrowDiscontentOnTheThirtiethDayBelowHalfCondition) {
  struct Case {
    const char* name;
    int32_t condition;  // of a full 20 (level 2)
    int days;
    bool icon;
  };
  const Case cases[] = {
      {"29 days", 9, 29, false},
      {"30 days", 9, 30, true},
      {"exactly half never counts", 10, 40, false},
  };
  for (const Case& c : cases) {
    BuildingWorld w;
    BOInstance* b = w.BuildFinished(w.manager.Define(kClass_Building, "Office", 2, 1, 1), 1, 1);
    b->condition = c.condition;
    for (int day = 0; day < c.days; ++day) w.Event(kTimeEvent_Day);
    EXPECT_EQ(w.Listed(cEntity_BuildingManager::kIcon_Discontent, b), c.icon) << c.name;
    EXPECT_EQ(b->discontent != 0, c.icon) << c.name;
  }
  BuildingWorld w;
  BOInstance* b = w.BuildFinished(w.manager.Define(kClass_Building, "Office", 2, 1, 1), 1, 1);
  b->condition = 1;
  for (int day = 0; day < 60; ++day) w.Event(kTimeEvent_Day);
  EXPECT_EQ(b->lowConditionDays, 31);
  EXPECT_EQ(w.manager.statusGroups[cEntity_BuildingManager::kIcon_Discontent].size(), 1u);
  b->SetCondition(15);
  EXPECT_FALSE(w.Listed(cEntity_BuildingManager::kIcon_Discontent, b));
  EXPECT_EQ(b->lowConditionDays, 0);
}

TEST(BuildingClock, TrafficStartsOnlyInTheHoursFiveToTwentyOne) {
  struct Case {
    const char* name;
    uint8_t clockHour;
    bool traffic;
  };
  const Case cases[] = {
      {"midnight", 24, false}, {"4 am", 4, false}, {"5 am", 5, true},
      {"noon", 12, true},      {"9 pm", 21, true}, {"10 pm", 22, false},
  };
  for (const Case& c : cases) {
    BuildingWorld w;
    auto* type = w.manager.Define<CountingType>(kClass_Building, "Shop", 1, 1, 1);
    auto* b = static_cast<CountingInstance*>(w.BuildFinished(type, 1, 1));
    w.Clock().hour = c.clockHour;
    w.Event(kTimeEvent_Minute);
    EXPECT_EQ(b->hours.size(), c.traffic ? 1u : 0u) << c.name;
  }
}

TEST(BuildingClock, AMinuteCheckRemovesARuinWithItsMessage) {
  BuildingWorld w;
  BOInstance* ruin = w.BuildFinished(w.manager.Define(kClass_Building, "Kiosk", 1, 1, 1), 3, 1);
  BOInstance* under = w.Build(w.manager.Define(kClass_Building, "Depot", 1, 1, 1), 1, 1);
  ASSERT_NE(under, nullptr);
  ruin->health = 0.0f;
  w.Clock().SetSpeed(500);
  w.Event(kTimeEvent_Minute);
  EXPECT_TRUE(w.manager.placed.empty());
  EXPECT_EQ(w.manager.statusGroups[0], std::vector<BOInstance*>{under});
  EXPECT_EQ(w.Subjects(), std::vector<std::string>{"Your Kiosk has been destroyed by decay."});
  EXPECT_FLOAT_EQ(w.Clock().speed, 1.0f);
  EXPECT_EQ(w.manager.GetInstanceAt(3, 1), nullptr);
}

TEST(BuildingClock, ABrokenDownBuildingShowsItsIconOnceFinishedButNotWhileBuilt) {
  BuildingWorld w;
  BOInstance* b = w.Build(w.manager.Define(kClass_Building, "Depot", 1, 1, 1), 1, 1);
  b->health = 0.4f;
  w.Event(kTimeEvent_Minute);
  EXPECT_FALSE(w.Listed(cEntity_BuildingManager::kIcon_Breakdown, b));
  w.FinishConstruction();
  w.Event(kTimeEvent_Minute);
  EXPECT_TRUE(w.Listed(cEntity_BuildingManager::kIcon_Breakdown, b));
  b->health = 0.6f;
  w.Event(kTimeEvent_Minute);
  EXPECT_FALSE(w.Listed(cEntity_BuildingManager::kIcon_Breakdown, b));
}

TEST(BuildingClock, TechnologyLevelsCountDownWhileActiveAndAreAnnounced) {
  BuildingWorld w;
  auto* radar = w.manager.Define(kClass_Building, "Radar", 1, 1, 1);
  auto* tower = w.manager.Define(kClass_Building, "Tall Tower", 1, 1, 1);
  tower->SetTechLevel(9);
  w.manager.AddTechRequirement(9, radar->GetTypeWord());
  w.manager.typeWordGroups[9].number = 3;
  w.Event(kTimeEvent_Day);
  EXPECT_EQ(w.manager.typeWordGroups[9].number, 3u);  // inactive: no count
  BOInstance* b = w.BuildFinished(radar, 1, 1);
  EXPECT_EQ(w.manager.typeWordGroups[9].state, 1);
  EXPECT_TRUE(w.manager.typeWordGroups[9].listA.empty());
  w.Event(kTimeEvent_Day);
  w.Event(kTimeEvent_Day);
  EXPECT_FALSE(w.manager.GetTechFlag(9));
  // Losing the required type pauses the count; regaining it resumes.
  w.manager.RemoveInstance(b);
  EXPECT_EQ(w.manager.typeWordGroups[9].state, 0);
  w.Event(kTimeEvent_Day);
  EXPECT_EQ(w.manager.typeWordGroups[9].number, 1u);
  w.BuildFinished(radar, 1, 1);
  w.Event(kTimeEvent_Day);
  EXPECT_TRUE(w.manager.GetTechFlag(9));
  EXPECT_EQ(w.Subjects().back(), "You have achieved tech level 9!");
  EXPECT_EQ(w.roads.world.pda->posted.back().body, "You may now construct the following items:\nTall Tower\n");
}
