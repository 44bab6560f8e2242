#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "construction/PathFinder.h"
#include "engine/entity/ActionFactory.h"
#include "simulation/Airplane.h"
#include "simulation/Ambient.h"
#include "simulation/EventManager.h"
#include "simulation/Maintenance.h"
#include "simulation/SimulationClock.h"
#include "simulation/SimulationSpawns.h"
#include "simulation/tests/kit/SimWorld.h"

namespace {

// The base alone, as every model starts: a test model with no tick of its own.
class TestModel : public cEntity_Ambient {
 public:
  using cEntity_Ambient::cEntity_Ambient;
};

class SpawnTestModel : public cSpawn_Base {
 public:
  SpawnTestModel() : cSpawn_Base("SPN::TEST:AMBIENT") {}
  cEntity_Base* Create(uint32_t, uint32_t, cEntity_Manager* creator, const std::string&) override {
    return new TestModel(creator);
  }
};

class AmbientTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(world.ready);
    world.BuildWorld();
    world.table.actionFactory->RegisterSpawn(&spawn);
  }
  TestModel* Make() {
    cEntity_Base* made = nullptr;
    if (status::Failed(world.manager->SpawnEntity("SPN::TEST:AMBIENT", &made))) return nullptr;
    auto* model = dynamic_cast<TestModel*>(made);
    if (model) world.Clock().RegisterTimeObject(model);
    return model;
  }
  void Tick(TestModel* m, float seconds) { m->OnTime(0, 0, kTimeEvent_Tick, seconds); }

  simkit::SimWorld world;
  SpawnTestModel spawn;
};

TEST_F(AmbientTest, TargetsAreReachedAxisByAxis) {
  struct Case {
    const char* name;
    float x, y, z;
    AmbientTarget target;
    bool reached;
    float overshoot;
  } cases[] = {
      {"x at or above, past by 0.5", 3.5f, 0, 0, {3, 9, 9, kAxis_AtOrAbove, 0, 0}, true, 0.5f},
      {"x at or above, short of it", 2.9f, 0, 0, {3, 0, 0, kAxis_AtOrAbove, 0, 0}, false, 0},
      {"z at or below, past by 1", 0, 0, -1, {0, 0, 0, 0, 0, kAxis_AtOrBelow}, true, 1.0f},
      {"z at or below, short of it", 0, 0, 0.5f, {0, 0, 0, 0, 0, kAxis_AtOrBelow}, false, 0},
      {"two axes: the smaller excess", 5, 0, -2, {4, 0, 0, kAxis_AtOrAbove, 0, kAxis_AtOrBelow}, true, 1.0f},
      {"two axes: one still short", 5, 0, 1, {4, 0, 0, kAxis_AtOrAbove, 0, kAxis_AtOrBelow}, false, 0},
      {"exactly on it", 2, 0, 0, {2, 0, 0, kAxis_AtOrAbove, 0, 0}, true, 0.0f},
      {"no constrained axis: reached where it stands", 7, 7, 7, {0, 0, 0, 0, 0, 0}, true, 0.0f},
  };
  for (const Case& c : cases) {
    TestModel* m = Make();
    ASSERT_NE(m, nullptr);
    m->SetPosition(c.x, c.y, c.z);
    m->targets = {c.target};
    float overshoot = -1.0f;
    EXPECT_EQ(m->CheckTargetReached(&overshoot), c.reached) << c.name;
    if (c.reached) {
      EXPECT_FLOAT_EQ(overshoot, c.overshoot) << c.name;
    }
    EXPECT_FALSE(m->finished) << c.name;
  }
}

TEST_F(AmbientTest, TheTickSpendsWhatIsLeftOnTheNextTarget) {
  TestModel* m = Make();
  ASSERT_NE(m, nullptr);
  m->heading = JVector(1, 0, 0);
  m->speed = 1.0f;  // 0.4 world units a second
  m->targets = {{0.2f, 0, 0, kAxis_AtOrAbove, 0, 0, kTargetEvent_None},
                {0.6f, 0, 0, kAxis_AtOrAbove, 0, 0, kTargetEvent_Finish}};
  m->headingRate[2] = 1.0f;  // cleared at the first target
  Tick(m, 0.5f);             // 0.2 units: exactly at the first target
  EXPECT_EQ(m->targets.size(), 1u);
  EXPECT_EQ(m->headingRate[2], 0.0f);
  const float turned = m->heading.z;  // turned while the rate was set, then no more
  EXPECT_GT(turned, 0.0f);
  Tick(m, 0.5f);
  EXPECT_NEAR(m->GetPositionX(), 0.4f, 1e-5f);
  EXPECT_EQ(m->heading.z, turned);
  EXPECT_FALSE(m->finished);
  Tick(m, 2.0f);  // past 0.6: pulled back onto it and finished by event 5
  EXPECT_NEAR(m->GetPositionX(), 0.6f, 1e-5f);
  EXPECT_TRUE(m->finished);
  EXPECT_TRUE(m->IsMarkedForRemoval());
}

TEST_F(AmbientTest, StandingWaitingAndRunningOut) {
  TestModel* still = Make();
  still->heading = JVector(1, 0, 0);
  still->targets = {{0.1f, 0, 0, kAxis_AtOrAbove, 0, 0, kTargetEvent_Finish}};
  Tick(still, 100.0f);
  EXPECT_EQ(still->GetPositionX(), 0.0f);
  EXPECT_FALSE(still->finished);

  TestModel* waiting = Make();
  waiting->waitTimer = 2.0f;
  waiting->pendingEvent = kTargetEvent_FinishToo;
  waiting->speed = 1.0f;
  waiting->heading = JVector(1, 0, 0);
  waiting->targets = {{9, 0, 0, kAxis_AtOrAbove, 0, 0, 0}};
  Tick(waiting, 1.0f);
  EXPECT_FALSE(waiting->finished);
  EXPECT_EQ(waiting->GetPositionX(), 0.0f);
  Tick(waiting, 1.5f);  // the wait ends: its event, no motion this tick
  EXPECT_TRUE(waiting->finished);
  EXPECT_EQ(waiting->GetPositionX(), 0.0f);

  TestModel* lost = Make();
  lost->speed = 1.0f;
  lost->heading = JVector(0, 0, 1);
  Tick(lost, 1.0f);  // no target: it removes itself instead of standing
  EXPECT_TRUE(lost->finished);
}

TEST_F(AmbientTest, DetailLimitComesFromTheSettings) {
  world.config.SetValue("App", "ambient_hdrlimit", "7.5");
  TestModel* m = Make();
  EXPECT_EQ(m->detailSpeedLimit, 7.5f);
  TestModel loose(nullptr);
  EXPECT_EQ(loose.detailSpeedLimit, 5.0f);
  // Airplanes and maintenance vehicles keep their own limits whatever the
  // settings say.
  SpawnAirplane spawnAirplane;
  SpawnMaintanance spawnMaintenance;
  world.table.actionFactory->RegisterSpawn(&spawnAirplane);
  world.table.actionFactory->RegisterSpawn(&spawnMaintenance);
  struct Case {
    const char* spawnName;
    float limit;
  } cases[] = {{cEntity_Airplane::kSpawnName, kDefaultDetailSpeedLimit},
                 {cEntity_Maintanance::kSpawnName, cEntity_Maintanance::kDetailLimit}};
  for (const Case& c : cases) {
    cEntity_Base* made = nullptr;
    ASSERT_EQ(world.manager->SpawnEntity(c.spawnName, &made), 0) << c.spawnName;
    auto* model = dynamic_cast<cEntity_Ambient*>(made);
    ASSERT_NE(model, nullptr) << c.spawnName;
    EXPECT_EQ(model->detailSpeedLimit, c.limit) << c.spawnName;
  }
}

TEST(AmbientRoutinesTest, GridOffsetsTurnWithTheBuilding) {
  struct Case {
    uint8_t rotation;
    int16_t x, y;
  } cases[] = {{0, 2, 1}, {1, 1, -2}, {2, -2, -1}, {3, -1, 2}, {4, 2, 1}, {255, 2, 1}};
  for (const Case& c : cases) {
    EXPECT_EQ(RotateGridOffsetX(c.rotation, 2, 1), c.x) << int(c.rotation);
    EXPECT_EQ(RotateGridOffsetY(c.rotation, 2, 1), c.y) << int(c.rotation);
  }
  cPathNode a(1, 1, kPathNode_Taxiway), b(1, 2, kPathNode_Taxiway);
  std::vector<cPathNode*> to{&b, &b, &b};
  CopyRoute(to, {&a, &b});
  EXPECT_EQ(to, (std::vector<cPathNode*>{&a, &b}));
}

TEST(AmbientRoutinesTest, SlowDownTests) {
  struct Case {
    const char* name;
    uint8_t always, never, takeoff, arrive, cancel;
    bool takeoffSlows, arriveSlows, cancelSlows;
  } cases[] = {
      {"all off", 0, 0, 0, 0, 0, false, false, false},
      {"own switches", 0, 0, 1, 0, 1, true, false, true},
      {"never slow wins over the switches", 0, 1, 1, 1, 1, false, false, false},
      {"always slow wins over never slow", 1, 1, 0, 0, 0, true, true, true},
  };
  for (const Case& c : cases) {
    cEntity_EventManager events(nullptr);
    events.autoslow.alwaysSlow = c.always;
    events.autoslow.neverSlow = c.never;
    events.autoslow.happening[static_cast<int>(Happening::PlaneTakeoff)] = c.takeoff;
    events.autoslow.happening[static_cast<int>(Happening::VehicleArrive)] = c.arrive;
    events.autoslow.happening[static_cast<int>(Happening::FlightCancel)] = c.cancel;
    EXPECT_EQ(ShouldSlowOnPlaneTakeoff(&events), c.takeoffSlows) << c.name;
    EXPECT_EQ(ShouldSlowOnVehicleArrive(&events), c.arriveSlows) << c.name;
    EXPECT_EQ(ShouldSlowOnFlightCancel(&events), c.cancelSlows) << c.name;
  }
  EXPECT_FALSE(ShouldSlowOnPlaneTakeoff(nullptr));
}

}  // namespace
