// On seeded random plots of every tile kind the finder's routes, costs and
// reservations equal those of the plain sorted-array search, request after
// request, with turn penalty, clearance and reserve varied and earlier
// requests cancelled on the way.
#include <gtest/gtest.h>

#include <random>

#include "construction/PathFinder.h"
#include "construction/tests/MapGrid.h"
#include "construction/tests/RandomGrid.h"
#include "construction/tests/ReferenceSearch.h"
#include "simulation/tests/kit/KitRandom.h"

namespace {

struct Held {
  Route* ours;
  pathtest::ReferenceResult theirs;
  bool reserve;
};

void CompareOnSeed(uint32_t seed, const pathtest::GridShape& shape) {
  cPathFinder ours;
  cPathFinder theirsGraph;
  pathtest::BuildRandomGrid(ours, seed, shape);
  pathtest::BuildRandomGrid(theirsGraph, seed, shape);
  pathtest::ReferenceSearch reference(theirsGraph);
  const std::vector<cPathNode*> ourNodes = pathtest::GridNodes(ours);
  const std::vector<cPathNode*> theirNodes = pathtest::GridNodes(theirsGraph);
  ASSERT_EQ(ourNodes.size(), theirNodes.size());
  ASSERT_FALSE(ourNodes.empty());

  simkit::KitRandom random;
  std::mt19937 rng(seed * 7919u + 1);
  std::vector<Held> held;
  for (int i = 0; i < 60; ++i) {
    SCOPED_TRACE("request " + std::to_string(i));
    const size_t from = rng() % ourNodes.size();
    const size_t to = rng() % ourNodes.size();
    const uint8_t turn = static_cast<uint8_t>(rng() % 2);
    const uint8_t clearance = static_cast<uint8_t>(rng() % 3);
    const uint8_t reserve = static_cast<uint8_t>(rng() % 2);
    const uint32_t drawSeed = rng();

    random.UseSeed(drawSeed);
    Route* route = ours.RequestPath(ourNodes[from], ourNodes[to], turn, clearance, reserve);
    random.UseSeed(drawSeed);
    pathtest::ReferenceResult expected = reference.Run(theirNodes[from], theirNodes[to], turn, clearance, reserve);

    ASSERT_EQ(route->status, 1);
    ASSERT_EQ(route->secondStatus != 0, expected.found);
    ASSERT_EQ(pathtest::RouteText(route->route), pathtest::RouteText(expected.route));
    if (expected.found) {
      ASSERT_EQ(route->route.back()->g, expected.cost);
    }
    held.push_back({route, std::move(expected), reserve != 0});

    // Now and then an earlier request is cancelled on both sides.
    if (rng() % 4 == 0) {
      const size_t k = rng() % held.size();
      ours.CancelRequest(held[k].ours);
      if (held[k].reserve) {
        for (cPathNode* node : held[k].theirs.route) node->reservation = 0;
      }
      held.erase(held.begin() + static_cast<std::ptrdiff_t>(k));
    }
    for (size_t n = 0; n < ourNodes.size(); ++n) {
      ASSERT_EQ(ourNodes[n]->reservation, theirNodes[n]->reservation)
          << "tile " << ourNodes[n]->x << ',' << ourNodes[n]->y;
    }
  }
}

TEST(PathReferenceTest, RandomPlotsMatchTheSortedArraySearch) {
  struct Case {
    const char* name;
    pathtest::GridShape shape;
  };
  const Case cases[] = {
      {"dense_small_blocks", {24, 24, 4, 0.95, 0.01}},
      {"open_large_blocks", {40, 30, 12, 0.98, 0.0}},
      {"sparse_with_reservations", {32, 32, 6, 0.8, 0.05}},
      {"one_long_strip", {120, 6, 8, 0.97, 0.02}},
  };
  for (const Case& c : cases) {
    for (uint32_t seed = 1; seed <= 6; ++seed) {
      SCOPED_TRACE(std::string(c.name) + " seed " + std::to_string(seed));
      CompareOnSeed(seed, c.shape);
      if (HasFatalFailure()) return;
    }
  }
}

}  // namespace
