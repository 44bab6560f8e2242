#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "simulation/tests/TrafficTestWorld.h"

namespace {

using traffictest::TrafficWorld;

constexpr float kPi = 3.14159265358979f;

class VehicleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(w.ready);
    w.road.world.random.UseLower();
  }
  // A vehicle standing in the lane of `direction` at (x, z) of cell
  // (cx, cy), its route `nodes` (cells with path nodes).
  cEntity_Vehicle* Standing(uint32_t direction, uint16_t cx, uint16_t cy, float x, float z,
                            const std::vector<std::pair<int, int>>& nodes, uint32_t kind = 0) {
    cEntity_Vehicle* v = w.NewVehicle(kind);
    v->direction = v->previousDirection = direction;
    v->currentCellX = cx;
    v->currentCellY = cy;
    v->driveRoute.clear();
    for (auto [nx, ny] : nodes) {
      cPathNode* node = w.Node(nx, ny);
      EXPECT_NE(node, nullptr) << nx << "," << ny;
      v->driveRoute.push_back(node);
    }
    if (!v->driveRoute.empty()) {
      v->nextCellX = v->driveRoute.front()->x;
      v->nextCellY = v->driveRoute.front()->y;
    }
    v->junctionState = cEntity_Vehicle::kJunctionDriving;
    v->stage = cEntity_Vehicle::kDriving;
    v->SetPosition(x, 0.5f, z);
    return v;
  }
  TrafficWorld w;
};

TEST_F(VehicleTest, TheCrossingIsAJunctionAndTheStraightRoadIsNot) {
  cEntity_Vehicle* v = w.NewVehicle();
  EXPECT_TRUE(v->IsJunction(10, 10));
  EXPECT_EQ(v->RoadNeighbours(10, 10), 4);
  EXPECT_FALSE(v->IsJunction(5, 10));
  EXPECT_FALSE(v->IsJunction(10, 7));
  ASSERT_NE(w.Node(10, 10), nullptr);
}

TEST_F(VehicleTest, BrakingStartsWhenTheStoppingDistanceNoLongerFits) {
  // Speed 6 with braking 3 needs 6 units to stop; the last cell (20, 10)
  // has its stop point at x = 21 - 0.85.
  struct Case {
    const char* name;
    float distanceLeft;
    bool accelerates;
  } cases[] = {
      {"room to spare", 6.5f, true},
      {"exactly the stopping distance", 6.0f, true},
      {"just too short", 5.9f, false},
      {"far too short", 1.0f, false},
  };
  for (const Case& c : cases) {
    cEntity_Vehicle* v = Standing(1, 19, 10, 20.15f - c.distanceLeft, 10.26f, {{20, 10}});
    v->currentSpeed = 6.0f;
    v->braking = 3.0f;
    v->acceleration = 3.0f;
    v->maxSpeed = 9.0f;
    v->DriveStep(0.01f);
    EXPECT_FLOAT_EQ(v->currentSpeed, c.accelerates ? 6.03f : 5.97f) << c.name;
    v->Finish();
  }
}

TEST_F(VehicleTest, StopLinesLieOnTheApproachAxisOfTheJunctionCell) {
  // The junction cell (10, 10) spans x and z 10..11; the end cells are
  // (20, 10), (0, 10), (10, 4) and (10, 16).
  struct Case {
    const char* name;
    uint32_t direction;
    float x, z;
    std::vector<std::pair<int, int>> route;
    float distance;
  } cases[] = {
      {"-y toward the junction", 0, 10.26f, 13.0f, {{10, 10}, {10, 4}}, 13.0f - 11.2f},
      {"-y already past the line", 0, 10.26f, 11.1f, {{10, 10}, {10, 4}}, 0.0f},
      {"+x toward the junction", 1, 7.0f, 10.26f, {{10, 10}, {20, 10}}, 10.4f - 7.0f},
      {"+x already past the line", 1, 10.5f, 10.26f, {{10, 10}, {20, 10}}, 0.0f},
      {"+y toward the junction", 2, 10.125f, 8.0f, {{10, 10}, {10, 16}}, 10.4f - 8.0f},
      {"-x toward the junction", 3, 14.0f, 10.125f, {{10, 10}, {0, 10}}, 14.0f - 11.1f},
      {"+x last cell", 1, 15.0f, 10.26f, {{20, 10}}, 20.15f - 15.0f},
      {"-x last cell", 3, 5.0f, 10.125f, {{0, 10}}, 5.0f - 0.85f},
      {"-y last cell", 0, 10.26f, 8.0f, {{10, 4}}, 8.0f - 4.95f},
      {"+y last cell", 2, 10.125f, 12.0f, {{10, 16}}, 16.15f - 12.0f},
  };
  for (const Case& c : cases) {
    cEntity_Vehicle* v = Standing(c.direction, 10, 10, c.x, c.z, c.route);
    float distance = -1.0f;
    ASSERT_TRUE(v->StopPointDistance(&distance)) << c.name;
    EXPECT_NEAR(distance, c.distance, 1e-4f) << c.name;
    v->Finish();
  }
}

TEST_F(VehicleTest, TurnsReachTheirYawAtTwoRadiansASecond) {
  struct Case {
    const char* name;
    uint32_t from, to;
    float target;  // NAN: no turn
  } cases[] = {
      {"0 to 3", 0, 3, 3 * kPi / 2},  {"0 to 1", 0, 1, kPi / 2}, {"1 to 2", 1, 2, 0.0f},
      {"1 to 0", 1, 0, kPi},          {"2 to 1", 2, 1, kPi / 2}, {"2 to 3", 2, 3, -kPi / 2},
      {"3 to 0", 3, 0, kPi},          {"3 to 2", 3, 2, 2 * kPi}, {"straight on", 1, 1, NAN},
      {"back", 1, 3, NAN},
  };
  const float t = 0.05f;
  for (const Case& c : cases) {
    cEntity_Vehicle* v = Standing(c.to, 10, 10, 10.5f, 10.5f, {{20, 10}});
    v->previousDirection = c.from;
    v->yaw = VehicleYaw(c.from);
    v->junctionState = cEntity_Vehicle::kJunctionTurning;
    int steps = 0;
    while (v->junctionState == cEntity_Vehicle::kJunctionTurning && steps < 100) {
      const float x = v->GetPositionX(), z = v->GetPositionZ();
      v->TurnStep(t);
      ++steps;
      // The arc stays inside the junction cell and its neighbours.
      EXPECT_LT(std::fabs(v->GetPositionX() - x) + std::fabs(v->GetPositionZ() - z), 0.5f) << c.name;
    }
    if (std::isnan(c.target)) {
      EXPECT_EQ(steps, 1) << c.name;
      EXPECT_FLOAT_EQ(v->yaw, VehicleYaw(c.to)) << c.name;
    } else {
      // A quarter turn at 2 rad/s takes about 0.785 s; the last step may
      // pass the target by up to one step.
      EXPECT_EQ(steps, static_cast<int>(std::ceil((kPi / 2) / (2 * t) - 1e-4f))) << c.name;
      EXPECT_LE(std::fabs(v->yaw - c.target), 2 * t) << c.name;
    }
    EXPECT_EQ(v->junctionState, uint32_t{cEntity_Vehicle::kJunctionDriving}) << c.name;
    v->Finish();
  }
}

TEST_F(VehicleTest, VehiclesPullOverForAnEmergencyVehicleAndComeBack) {
  struct Case {
    const char* name;
    uint32_t direction;
    uint16_t cx, cy;
    float lane, pulledOver;
  } cases[] = {
      {"driving -y", 0, 10, 7, 0.26f, 0.52f},
      {"driving +x", 1, 5, 10, 0.26f, 0.52f},
      {"driving +y", 2, 10, 7, 0.125f, -0.125f},
      {"driving -x", 3, 5, 10, 0.125f, 0.26f},
  };
  for (const Case& c : cases) {
    cEntity_Vehicle* car = Standing(c.direction, c.cx, c.cy, c.cx + 0.5f, c.cy + 0.5f, {});
    car->currentSpeed = 5.0f;
    cEntity_Vehicle* engine = Standing(c.direction, c.cx, c.cy, c.cx + 1.5f, c.cy + 0.5f, {}, 0x200);
    int ticks = 0;
    while (car->currentSpeed > 0.0f && ticks < 200) {
      car->UpdatePullOver(0.05f);
      ++ticks;
    }
    EXPECT_TRUE(car->pullingOver) << c.name;
    EXPECT_FLOAT_EQ(car->pullOverOffset, c.pulledOver) << c.name;
    EXPECT_EQ(car->currentSpeed, 0.0f) << c.name;
    engine->SetPosition(60.0f, 0.5f, 60.0f);
    ticks = 0;
    while (car->pullingOver && ticks < 200) {
      car->UpdatePullOver(0.05f);
      ++ticks;
    }
    EXPECT_FALSE(car->pullingOver) << c.name;
    EXPECT_FLOAT_EQ(car->pullOverOffset, c.lane) << c.name;
    car->Finish();
    engine->Finish();
  }
}

TEST_F(VehicleTest, AVehicleKeepsItsDistanceToTheOneAhead) {
  struct Case {
    const char* name;
    float gap;
    float speedAhead;
    float atMost, atLeast;
  } cases[] = {
      {"room to brake to a standstill", 3.0f, 0.0f, std::sqrt(2 * 3.0f * 2.25f), 0.0f},
      {"following a slower car", 3.0f, 2.0f, std::sqrt(4.0f + 2 * 3.0f * 2.25f), 2.0f},
      {"too close: creeping", 0.5f, 0.0f, 0.02f, 0.01f},
  };
  for (const Case& c : cases) {
    cEntity_Vehicle* ahead = Standing(1, 4, 10, 4.0f + c.gap, 10.26f, {{20, 10}});
    ahead->currentSpeed = c.speedAhead;
    cEntity_Vehicle* car = Standing(1, 3, 10, 4.0f, 10.26f, {{20, 10}});
    car->currentSpeed = 9.0f;
    car->maxSpeed = 9.5f;
    car->braking = 3.0f;
    car->DriveStep(0.001f);
    EXPECT_LE(car->currentSpeed, c.atMost + 1e-3f) << c.name;
    EXPECT_GE(car->currentSpeed, c.atLeast) << c.name;
    car->Finish();
    ahead->Finish();
  }
}

TEST_F(VehicleTest, ALongTickMovesADetailedVehicleAsFarAsTheClamp) {
  std::vector<float> positions;
  for (float t : {0.5f, cEntity_Vehicle::kTickClamp}) {
    cEntity_Vehicle* v = Standing(1, 1, 10, 1.5f, 10.26f, {{20, 10}});
    v->currentSpeed = 4.0f;
    v->OnTime(0, 0, kTimeEvent_Tick, t);
    positions.push_back(v->GetPositionX());
    v->Finish();
  }
  EXPECT_FLOAT_EQ(positions[0], positions[1]);
  EXPECT_GT(positions[0], 1.5f);
}

TEST_F(VehicleTest, TripsAreBuiltFromTheKindFlags) {
  struct Case {
    const char* name;
    uint32_t kind;
    std::vector<uint32_t> legs;  // leg kinds
    float speedFactor, accelerationFactor;
    uint16_t startX;
  } cases[] = {
      {"one-way arrival", 0, {2, 1}, 1.0f, 1.0f, 0},
      {"round trip", 0x0004, {2, 1, 2, 1}, 1.0f, 1.0f, 0},
      {"emergency", 0x0200, {2, 1, 2, 1}, 3.0f, 2.5f, 20},
      {"service trip", 0x0800, {2, 1, 2, 1}, 3.0f, 2.5f, 20},
      {"snow", 0x1000, {2, 1, 2, 1}, 0.3f, 0.5f, 20},
  };
  for (const Case& c : cases) {
    cEntity_Vehicle* v = w.NewVehicle(c.kind);
    const float maxSpeed = v->maxSpeed, acceleration = v->acceleration;
    v->StartArrival(10, 16, 20, 10, c.kind, 3);
    std::vector<uint32_t> kinds;
    for (const VehicleLeg& leg : v->legs) kinds.push_back(leg.kind);
    EXPECT_EQ(kinds, c.legs) << c.name;
    EXPECT_FLOAT_EQ(v->maxSpeed, maxSpeed * c.speedFactor) << c.name;
    EXPECT_FLOAT_EQ(v->acceleration, acceleration * c.accelerationFactor) << c.name;
    EXPECT_EQ(v->currentCellX, c.startX) << c.name;
    EXPECT_EQ(v->stage, uint32_t{cEntity_Vehicle::kWaiting}) << c.name;
    EXPECT_FALSE(v->IsVisible()) << c.name;
    v->Finish();
  }
}

TEST_F(VehicleTest, AnArrivalStopsAtTheCrossingTurnsAndDisappearsAtTheEnd) {
  cEntity_Vehicle* v = w.NewVehicle();
  v->StartArrival(10, 16, 0, 0, 0, 1);
  bool waitedAtJunction = false, turned = false;
  float fastest = 0.0f;
  int ticks = 0;
  while (!v->finished && ticks < 5000) {
    v->OnTime(0, 0, kTimeEvent_Tick, 0.05f);
    waitedAtJunction |= v->junctionState == cEntity_Vehicle::kJunctionWaiting;
    turned |= v->junctionState == cEntity_Vehicle::kJunctionTurning;
    fastest = std::max(fastest, v->currentSpeed);
    ++ticks;
  }
  EXPECT_TRUE(v->finished);
  EXPECT_TRUE(waitedAtJunction);
  EXPECT_TRUE(turned);
  EXPECT_LE(fastest, v->maxSpeed);
  EXPECT_EQ(std::count(w.ambient->vehicles.begin(), w.ambient->vehicles.end(), v), 0);
  EXPECT_EQ(w.ambient->trafficCount, 0);
  EXPECT_EQ(w.road.finder.RequestCount(), 0u);
}

TEST_F(VehicleTest, ALeavingVehicleDrivesToTheEntranceAndEnds) {
  cEntity_Vehicle* v = w.NewVehicle();
  v->StartLeaving(20, 10, 20, 10, 0);
  EXPECT_TRUE(v->removeAtEnd);
  EXPECT_EQ(v->endDirection, 1u);  // the entrance is at x = 0
  uint16_t lastX = 20;
  const int ticks = w.Drive(v, 0.05f, 5000);
  lastX = v->currentCellX;
  EXPECT_TRUE(v->finished) << ticks;
  EXPECT_EQ(lastX, 0);
}

TEST_F(VehicleTest, AnEmergencyVehicleSoundsItsSirenFromItsFirstDriveToItsEnd) {
  std::vector<std::string>& calls = w.road.world.audio.calls;
  cEntity_Vehicle* v = w.NewVehicle(0x200);
  v->StartArrival(10, 16, 20, 10, 0x200, 3);
  calls.clear();
  v->OnTime(0, 0, kTimeEvent_Tick, 0.05f);  // the first wait ends
  ASSERT_EQ(calls, std::vector<std::string>{"play Sounds\\siren.wav loop 0"});
  ASSERT_NE(v->sirenSound, nullptr);
  v->Finish();
  EXPECT_NE(std::find(calls.begin(), calls.end(), "stop"), calls.end());
  // An ordinary car has none.
  calls.clear();
  cEntity_Vehicle* car = w.NewVehicle();
  car->StartArrival(20, 10, 0, 0, 0, 1);
  car->OnTime(0, 0, kTimeEvent_Tick, 0.05f);
  EXPECT_TRUE(calls.empty());
  car->Finish();
}

TEST_F(VehicleTest, AtTopSpeedAVehicleDrivesWholeCellsAndEnds) {
  w.Clock().SetSpeed(50000);
  cEntity_Vehicle* v = w.NewVehicle(0x0004);
  v->StartArrival(20, 10, 0, 0, 0x0004, 1);
  const int ticks = w.Drive(v, 1000.0f, 1000);
  EXPECT_TRUE(v->finished);
  EXPECT_FALSE(v->detailed);
  EXPECT_GT(ticks, 2);
}

}  // namespace
