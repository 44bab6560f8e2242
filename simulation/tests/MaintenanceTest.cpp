#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

#include "simulation/Airplane.h"
#include "simulation/tests/TrafficTestWorld.h"

namespace {

using traffictest::TrafficWorld;

// Maintenance vehicles on an airside area: rows y = 29..31 from x = 4 to
// 13, and columns x = 11..13 on to y = 35.
class MaintenanceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(w.ready);
    w.road.world.random.UseLower();
    // Three cells wide, so every inner node has the room a way back with
    // clearance asks for.
    auto add = [&](int x, int y) {
      if (!w.Node(x, y)) {
        ASSERT_NE(w.road.finder.AddNode(static_cast<uint16_t>(x), static_cast<uint16_t>(y), kPathNode_Taxiway),
                  nullptr);
      }
    };
    for (int x = 4; x <= 13; ++x)
      for (int y = 29; y <= 31; ++y) add(x, y);
    for (int x = 11; x <= 13; ++x)
      for (int y = 32; y <= 35; ++y) add(x, y);
    for (int x = 4; x <= 13; ++x) {
      for (int y = 29; y <= 35; ++y) {
        cPathNode* node = w.Node(x, y);
        if (!node) continue;
        if (cPathNode* right = w.Node(x + 1, y)) w.road.finder.LinkNodes(node, right);
        if (cPathNode* below = w.Node(x, y + 1)) w.road.finder.LinkNodes(node, below);
      }
    }
    AmbientData tug;
    tug.modelName = "Models\\tug.ssm";
    tug.kindFlags = 0x1F8;
    w.ambient->AddAmbientData(tug);
    airplane = std::make_unique<cEntity_Airplane>(nullptr);
  }
  cEntity_Maintanance* Make() {
    cEntity_Base* made = nullptr;
    EXPECT_EQ(w.road.world.manager->SpawnEntity(cEntity_Maintanance::kSpawnName, &made), 0);
    auto* vehicle = dynamic_cast<cEntity_Maintanance*>(made);
    w.ambient->maintenanceVehicles.push_back(vehicle);
    return vehicle;
  }
  PathRequest* Request(int x0, int y0, int x1, int y1) {
    return w.road.finder.RequestPath(w.Node(x0, y0), w.Node(x1, y1), 1, 0, 0);
  }
  // Ticks until the vehicle ends, at most `limit`; the game seconds spent.
  float Run(cEntity_Maintanance* v, float t, int limit) {
    float spent = 0.0f;
    for (int i = 0; i < limit && !v->finished; ++i) {
      v->OnTime(0, 0, kTimeEvent_Tick, t);
      spent += t;
    }
    return spent;
  }

  TrafficWorld w;
  std::unique_ptr<cEntity_Airplane> airplane;
};

TEST_F(MaintenanceTest, EveryWayOfEndingClearsTheAirplanesFlagOfItsKind) {
  struct Case {
    const char* name;
    uint32_t kind;
    uint32_t flag;  // index of the under-way flag
    bool withModel;
    bool oneNode;
    uint16_t speed;
  } cases[] = {
      {"game speed 3: ends on its first tick", 0x10, 1, true, false, 3},
      {"no model for the kind: ends at the start", 0x80, 4, false, false, 1},
      {"a route of one node: ends at the start", 0x08, 0, true, true, 1},
      {"cargo handlers", 0x20, 2, true, false, 3},
      {"second maintenance", 0x40, 3, true, false, 3},
      {"the sixth kind", 0x100, 5, true, false, 3},
  };
  for (const Case& c : cases) {
    if (!c.withModel) w.ambient->ambientData.clear();
    w.Clock().SetSpeed(c.speed);
    std::fill(std::begin(airplane->servicesUnderWay), std::end(airplane->servicesUnderWay), 1);
    cEntity_Maintanance* v = Make();
    PathRequest* request = c.oneNode ? Request(5, 30, 5, 30) : Request(5, 30, 12, 34);
    v->Start(request, 12, 34, 5, 30, true, c.kind, airplane.get());
    if (c.speed > 2) v->OnTime(0, 0, kTimeEvent_Tick, 0.1f);
    EXPECT_TRUE(v->finished) << c.name;
    EXPECT_EQ(v->state, uint32_t{cEntity_Maintanance::kEnded}) << c.name;
    for (uint32_t i = 0; i <= kServiceCount; ++i)
      EXPECT_EQ(airplane->servicesUnderWay[i], i == c.flag ? 0 : 1) << c.name << " flag " << i;
    EXPECT_TRUE(v->IsMarkedForRemoval()) << c.name;
    EXPECT_EQ(std::count(w.ambient->maintenanceVehicles.begin(), w.ambient->maintenanceVehicles.end(), v), 0)
        << c.name;
    EXPECT_EQ(w.road.finder.RequestCount(), 0u) << c.name;
  }
}

TEST_F(MaintenanceTest, ItArrivesAtTheLastNodeStaysAndEnds) {
  airplane->servicesUnderWay[kService_Baggage] = 1;
  cEntity_Maintanance* v = Make();
  v->Start(Request(5, 30, 12, 34), 12, 34, 5, 30, false, 0x08, airplane.get());
  ASSERT_FALSE(v->finished);
  EXPECT_TRUE(w.Clock().IsRegistered(v));
  EXPECT_FLOAT_EQ(v->timer, 300.0f);  // the lowest stay
  int ticks = 0;
  while (v->state == cEntity_Maintanance::kDrivingOut && ticks < 2000) {
    v->OnTime(0, 0, kTimeEvent_Tick, 0.05f);
    ++ticks;
  }
  ASSERT_EQ(v->state, uint32_t{cEntity_Maintanance::kStaying});
  // It stands on the last node's cell, the target, facing +y.
  EXPECT_NEAR(v->GetPositionX(), 12.5f, 0.5f);
  EXPECT_NEAR(v->GetPositionZ(), 34.5f, 0.5f);
  EXPECT_NEAR(v->yaw, 0.0f, 0.11f);
  EXPECT_EQ(airplane->servicesUnderWay[kService_Baggage], 1);
  const float stayed = Run(v, 1.0f, 1000);
  EXPECT_TRUE(v->finished);
  EXPECT_NEAR(stayed, 301.0f, 1.0f);
  EXPECT_EQ(airplane->servicesUnderWay[kService_Baggage], 0);
}

TEST_F(MaintenanceTest, AReturningVehicleDrivesBackToItsStart) {
  cEntity_Maintanance* v = Make();
  v->Start(Request(5, 30, 12, 34), 12, 34, 5, 30, true, 0x10, airplane.get());
  bool droveBack = false;
  for (int i = 0; i < 20000 && !v->finished; ++i) {
    v->OnTime(0, 0, kTimeEvent_Tick, 0.05f);
    droveBack |= v->state == cEntity_Maintanance::kDrivingBack;
    if (v->state == cEntity_Maintanance::kDrivingBack && v->driveState == cEntity_Maintanance::kArrived) break;
  }
  EXPECT_TRUE(droveBack);
  EXPECT_NEAR(v->GetPositionX(), 5.5f, 0.5f);
  EXPECT_NEAR(v->GetPositionZ(), 30.5f, 0.5f);
  v->OnTime(0, 0, kTimeEvent_Tick, 0.05f);
  EXPECT_TRUE(v->finished);
}

TEST_F(MaintenanceTest, TheAirplanesFinishLeavesNoDanglingServedAirplane) {
  cEntity_Maintanance* v = Make();
  v->Start(Request(5, 30, 12, 34), 12, 34, 5, 30, true, 0x10, airplane.get());
  ASSERT_EQ(v->airplane, airplane.get());
  w.ambient->ForgetAirplane(airplane.get());
  EXPECT_EQ(v->airplane, nullptr);
  v->End();
}

}  // namespace
