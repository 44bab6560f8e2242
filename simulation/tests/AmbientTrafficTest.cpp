#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "simulation/tests/TrafficTestWorld.h"

namespace {

using traffictest::TrafficWorld;

// The ambient manager's road traffic on the crossing network, with three
// buildings: A beside (20, 10), B beside (10, 16), C beside (10, 4).
class AmbientTrafficTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(w.ready);
    w.road.world.random.UseLower();
    simkit::FakeType* shop = w.road.world.buildings.AddType(1, 0, 1);
    a = w.road.world.buildings.Place(shop);
    a->roadAccess = {{20, 9, 2}};
    b = w.road.world.buildings.Place(shop);
    b->roadAccess = {{10, 17, 0}};
    c = w.road.world.buildings.Place(shop);
    c->roadAccess = {{10, 3, 2}};
    AmbientData car;
    car.modelName = "Models\\car.ssm";
    car.kindFlags = 0x1F0F;
    w.ambient->AddAmbientData(car);
  }
  int Live(uint32_t kind = 0xFFFFFFFFu) {
    return static_cast<int>(std::count_if(w.ambient->vehicles.begin(), w.ambient->vehicles.end(), [&](auto* v) {
      return v && !v->finished && (kind == 0xFFFFFFFFu || (v->kindFlags & kind) || (kind == 0 && v->kindFlags == 0));
    }));
  }

  TrafficWorld w;
  simkit::FakeInstance* a = nullptr;
  simkit::FakeInstance* b = nullptr;
  simkit::FakeInstance* c = nullptr;
};

TEST_F(AmbientTrafficTest, TheSixteenthOrdinaryVehicleIsLetInAndTheNextRefused) {
  ASSERT_EQ(w.ambient->ambientLimit, 15);
  for (int i = 0; i < 20; ++i) w.ambient->SpawnVehicle(20, 10, 21, 9, kVehicleKind_DropOff, a, 2);
  EXPECT_EQ(Live(kVehicleKind_DropOff), 16);
  EXPECT_EQ(w.ambient->trafficCount, 16);
  EXPECT_EQ(w.ambient->refusedCount, 4);
  // Service vehicles pass the limit; the next ordinary vehicle carries the
  // refusals counted before it.
  w.ambient->SpawnVehicle(20, 10, 10, 16, 0x800, b, 2);
  ASSERT_EQ(Live(0x800), 1);
  EXPECT_EQ(w.ambient->vehicles.back()->refusedBefore, 4);
  cEntity_Vehicle* first = w.ambient->vehicles.front();
  first->Finish();
  EXPECT_EQ(w.ambient->trafficCount, 15);
  w.ambient->SpawnVehicle(20, 10, 21, 9, kVehicleKind_DropOff, a, 2);
  EXPECT_EQ(w.ambient->trafficCount, 16);
  EXPECT_EQ(w.ambient->refusedCount, 0);
  // It took the finished vehicle's place in the list.
  EXPECT_NE(w.ambient->vehicles.front(), first);
  EXPECT_EQ(w.ambient->vehicles.front()->kindFlags, kVehicleKind_DropOff);
}

TEST_F(AmbientTrafficTest, TheNoAmbientsCommandSwitchesNewTrafficOff) {
  struct Case {
    const char* word;
    uint8_t switched;
  } cases[] = {{"true", 1}, {"TRUE", 1}, {" true ", 1}, {"false", 0}, {"yes", 0}, {"", 0}};
  for (const Case& c : cases) {
    std::string command = "NoAmbients";
    w.ambient->noAmbients = c.switched ? 0 : 1;
    EXPECT_TRUE(w.ambient->SendMessage(0, command, c.word)) << c.word;
    EXPECT_EQ(w.ambient->noAmbients, c.switched) << c.word;
  }
  w.ambient->SpawnVehicle(20, 10, 21, 9, 0, a, 2);
  std::string command = "noambients";
  w.ambient->SendMessage(0, command, "true");
  w.ambient->SpawnVehicle(20, 10, 21, 9, 0, a, 2);
  w.ambient->SpawnVehicle(20, 10, 10, 16, 0x200, b, 2);
  EXPECT_FALSE(w.ambient->SpawnSnowVehicle());
  EXPECT_EQ(Live(), 1);
  // The live vehicle goes on.
  cEntity_Vehicle* v = w.ambient->vehicles.front();
  w.Drive(v, 0.05f, 5);
  EXPECT_FALSE(v->finished);
}

TEST_F(AmbientTrafficTest, ARemovedBuildingTakesItsVehiclesAndConnections) {
  w.ambient->SpawnVehicle(20, 10, 21, 9, 0, a, 2);
  w.ambient->SpawnVehicle(10, 16, 10, 17, 0, b, 0);
  w.ambient->SendVehicleBetweenBuildings(c, a, 0x800);
  ASSERT_EQ(Live(), 3);
  w.ambient->maintConnections.push_back({w.Node(20, 10), {a, b}});
  w.ambient->OnBuildingRemoved(a);
  EXPECT_EQ(Live(), 1);
  EXPECT_EQ(w.ambient->maintConnections[0].buildings, std::vector<BOInstance*>{b});
  for (cEntity_Vehicle* v : w.ambient->vehicles) {
    if (v) {
      EXPECT_EQ(v->destinationBuilding, b);
    }
  }
}

TEST_F(AmbientTrafficTest, ClearRemovesEveryVehicle) {
  w.ambient->SpawnVehicle(20, 10, 21, 9, 0, a, 2);
  w.ambient->SendVehicleBetweenBuildings(c, a, 0x200);
  w.road.world.random.UseSequence({0.0, 0.99});  // two different buildings
  ASSERT_TRUE(w.ambient->SpawnSnowVehicle());
  w.ambient->maintConnections.push_back({w.Node(20, 10), {a}});
  const std::vector<cEntity_Vehicle*> made = w.ambient->vehicles;
  ASSERT_EQ(made.size(), 3u);
  w.ambient->Clear();
  for (cEntity_Vehicle* v : made) EXPECT_TRUE(v->finished);
  EXPECT_TRUE(w.ambient->vehicles.empty());
  EXPECT_TRUE(w.ambient->maintConnections.empty());
  EXPECT_EQ(w.ambient->trafficCount, 0);
  EXPECT_EQ(w.road.finder.RequestCount(), 0u);
}

TEST_F(AmbientTrafficTest, SnowVehiclesIgnoreTheLimitAndNeedTwoReachableBuildings) {
  w.ambient->trafficCount = 100;
  w.road.world.random.UseSequence({0.0, 0.99});  // two different buildings
  ASSERT_TRUE(w.ambient->SpawnSnowVehicle());
  EXPECT_EQ(Live(kVehicleKind_Snow), 1);
  cEntity_Vehicle* snow = w.ambient->vehicles.front();
  EXPECT_NE(snow->originBuilding, snow->destinationBuilding);
  // With one building left there is no second one to drive to.
  w.ambient->Clear();
  simkit::FakeType* shop = static_cast<simkit::FakeType*>(w.road.world.buildings.GetBuildingType(1, 0, 1));
  shop->instances.erase(shop->instances.begin() + 1, shop->instances.end());
  EXPECT_FALSE(w.ambient->SpawnSnowVehicle());
}

TEST_F(AmbientTrafficTest, AFinishedRouteRequestBecomesAVehicleOnTheNextTick) {
  PathRequest* found = w.road.finder.RequestPath(w.Node(0, 10), w.Node(20, 10), 0, 0, 0);
  PathRequest* nowhere = w.road.finder.RequestPath(w.Node(0, 10), w.Node(0, 10), 0, 0, 0);
  w.ambient->QueueRouteVehicle(nowhere);
  w.ambient->QueueRouteVehicle(found);
  w.ambient->OnTime(0, 0, kTimeEvent_Tick, 0.1f);
  EXPECT_EQ(Live(), 0);  // the one without a route is dropped
  w.ambient->OnTime(0, 0, kTimeEvent_Tick, 0.1f);
  ASSERT_EQ(Live(), 1);
  cEntity_Vehicle* v = w.ambient->vehicles.front();
  ASSERT_EQ(v->targets.size(), 1u);
  EXPECT_EQ(v->targets[0].modeX, uint8_t{kAxis_AtOrAbove});
  EXPECT_TRUE(w.ambient->routeRequests.empty());
  EXPECT_TRUE(w.Clock().IsRegistered(v));
  w.Drive(v, 0.05f, 5000);
  EXPECT_TRUE(v->finished);
  EXPECT_EQ(v->currentCellX, 20);
  EXPECT_EQ(w.road.finder.RequestCount(), 0u);
}

TEST_F(AmbientTrafficTest, TheVehicleAheadIsTheNearestInTheSameLane) {
  struct Case {
    const char* name;
    float x, z;
    bool found;
    float distance;
  } cases[] = {
      {"ahead in the lane", 9.0f, 10.26f, true, 4.0f},
      {"just inside the lane", 8.0f, 10.30f, true, 3.0f},
      {"in the other lane", 6.0f, 10.125f, false, 0.0f},
      {"behind", 3.0f, 10.26f, false, 0.0f},
      {"level with it", 5.0f, 10.26f, true, 0.0f},
  };
  for (const Case& c : cases) {
    cEntity_Vehicle* me = w.NewVehicle();
    me->direction = 1;
    me->SetPosition(5.0f, 0.5f, 10.26f);
    cEntity_Vehicle* other = w.NewVehicle();
    other->SetPosition(c.x, 0.5f, c.z);
    float distance = 0.0f;
    cEntity_Vehicle* ahead = w.ambient->FindVehicleAhead(me, &distance);
    EXPECT_EQ(ahead == other, c.found) << c.name;
    EXPECT_FLOAT_EQ(distance, c.found ? c.distance : 10000000.0f) << c.name;
    me->Finish();
    other->Finish();
  }
}

TEST_F(AmbientTrafficTest, AtTopSpeedTheTrafficRunsOutWithinAGameDay) {
  for (int i = 0; i < 10; ++i) w.ambient->SpawnVehicle(20, 10, 21, 9, i % 2 ? kVehicleKind_RoundTrip : 0, a, 2);
  w.ambient->SendVehicleBetweenBuildings(c, b, 0x800);
  ASSERT_EQ(Live(), 11);
  w.road.world.RunDays(1, 50000, 1.0f / 60.0f);
  EXPECT_EQ(Live(), 0);
  EXPECT_EQ(w.ambient->trafficCount, 0);
  EXPECT_EQ(w.road.finder.RequestCount(), 0u);
}

}  // namespace
