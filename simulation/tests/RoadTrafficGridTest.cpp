// The traffic grid answers the road traffic queries as the walk over every
// listed vehicle does, and a seeded road run drives every vehicle to the
// same places either way.
#include <gtest/gtest.h>

#include <vector>

#include "simulation/tests/TrafficTestWorld.h"

namespace {

using traffictest::TrafficWorld;

constexpr float kFrame = 1.0f / 60.0f;

struct Place {
  cEntity_Vehicle* vehicle;
  float x, z;
  bool operator==(const Place&) const = default;
};

// A seeded run on the crossing network: ordinary traffic and a few emergency
// vehicles spawned in waves, so that vehicles queue behind each other,
// pull over, finish and leave gaps in the list that later ones fill.
class RoadTrafficGridTest : public ::testing::Test {
 protected:
  // Every frame's places of the listed vehicles, in list order. With
  // `check`, each frame also asks both ways for every vehicle's leader and
  // nearest emergency vehicle and counts the answers that differ.
  std::vector<std::vector<Place>> Run(bool grid, bool check) {
    TrafficWorld w;
    EXPECT_TRUE(w.ready);
    if (!w.ready) return {};
    w.road.world.random.UseSeed(11);
    w.ambient->ambientLimit = 1000;
    w.ambient->useTrafficGrid = grid;
    AmbientData car;
    car.modelName = "Models\\car.ssm";
    car.kindFlags = 0x1F0F;
    w.ambient->AddAmbientData(car);
    w.Clock().SetSpeed(1);
    const uint16_t cells[][2] = {{5, 10}, {15, 10}, {10, 6}, {10, 14}, {20, 10}, {10, 4}, {10, 16}, {2, 10}};
    std::vector<std::vector<Place>> trace;
    for (int frame = 0; frame < 1800; ++frame) {
      if (frame % 300 == 0) {
        for (int i = 0; i < 40; ++i) {
          const uint16_t* from = cells[i % 8];
          const uint16_t* to = cells[(i * 3 + 1) % 8];
          const uint32_t kind = i % 13 == 5 ? 0x100u : kVehicleKind_RoundTrip;
          w.ambient->SpawnVehicle(from[0], from[1], to[0], to[1], kind, nullptr, static_cast<uint8_t>(i % 4));
        }
      }
      // The frame runs the path finder; this world's vehicles and manager
      // are not on its clock and tick here: every listed vehicle in list
      // order, then the manager (which closes a gap in the list).
      w.road.world.RunFrame(kFrame);
      const std::vector<cEntity_Vehicle*> listed = w.ambient->vehicles;
      for (cEntity_Vehicle* v : listed) {
        if (v && !v->finished) v->OnTime(0, 0, kTimeEvent_Tick, kFrame);
      }
      w.ambient->OnTime(0, 0, kTimeEvent_Tick, kFrame);
      std::vector<Place> places;
      for (cEntity_Vehicle* v : w.ambient->vehicles) {
        if (v) places.push_back({v, v->GetPositionX(), v->GetPositionZ()});
        else places.push_back({nullptr, 0.0f, 0.0f});
      }
      trace.push_back(std::move(places));
      if (check) Compare(w);
    }
    return trace;
  }

  void Compare(TrafficWorld& w) {
    for (cEntity_Vehicle* v : w.ambient->vehicles) {
      if (!v || v->stage == cEntity_Vehicle::kFinished) continue;
      float gridGap = 0.0f, scanGap = 0.0f;
      w.ambient->useTrafficGrid = true;
      cEntity_Vehicle* gridAhead = w.ambient->FindVehicleAhead(v, &gridGap);
      const JVector here{v->GetPositionX(), v->GetPositionY(), v->GetPositionZ()};
      const float gridNear = w.ambient->NearestVehicleDistance(here, kVehicleKind_Emergency, v);
      w.ambient->useTrafficGrid = false;
      cEntity_Vehicle* scanAhead = w.ambient->FindVehicleAhead(v, &scanGap);
      const float scanNear = w.ambient->NearestVehicleDistance(here, kVehicleKind_Emergency, v);
      w.ambient->useTrafficGrid = true;
      ++asked;
      if (scanAhead) ++followed;
      if (scanNear <= cEntity_Vehicle::kPullOverRange) ++nearEmergency;
      if (gridAhead != scanAhead || gridGap != scanGap || gridNear != scanNear) ++differing;
    }
  }

  int asked = 0, followed = 0, nearEmergency = 0, differing = 0;
};

TEST_F(RoadTrafficGridTest, TheGridFindsTheSameLeaderAndEmergencyVehicleAsTheWalk) {
  Run(true, true);
  EXPECT_EQ(differing, 0) << "of " << asked;
  // The run is busy enough to mean something: vehicles follow others and
  // meet emergency vehicles.
  EXPECT_GT(followed, asked / 10);
  EXPECT_GT(nearEmergency, 0);
}

TEST_F(RoadTrafficGridTest, ASeededRunDrivesEveryVehicleToTheSamePlacesEitherWay) {
  const std::vector<std::vector<Place>> grid = Run(true, false);
  const std::vector<std::vector<Place>> walk = Run(false, false);
  ASSERT_EQ(grid.size(), walk.size());
  size_t moving = 0;
  for (size_t frame = 0; frame < grid.size(); ++frame) {
    ASSERT_EQ(grid[frame].size(), walk[frame].size()) << "frame " << frame;
    for (size_t i = 0; i < grid[frame].size(); ++i) {
      const Place& g = grid[frame][i];
      const Place& s = walk[frame][i];
      ASSERT_EQ(g.vehicle == nullptr, s.vehicle == nullptr) << "frame " << frame << " slot " << i;
      ASSERT_EQ(g.x, s.x) << "frame " << frame << " slot " << i;
      ASSERT_EQ(g.z, s.z) << "frame " << frame << " slot " << i;
      if (frame > 0 && i < grid[frame - 1].size() && g.vehicle && grid[frame - 1][i].vehicle == g.vehicle &&
          (grid[frame - 1][i].x != g.x || grid[frame - 1][i].z != g.z))
        ++moving;
    }
  }
  EXPECT_GT(moving, grid.size());
}

}  // namespace
