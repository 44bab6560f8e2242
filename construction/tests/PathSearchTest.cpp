// The search on small drawn plots: costs, tie order, clearance, reservations
// and the kind rule.
#include <gtest/gtest.h>

#include "construction/PathFinder.h"
#include "construction/tests/MapGrid.h"
#include "simulation/tests/kit/KitRandom.h"

namespace {

using pathtest::BuildMap;
using pathtest::RouteText;

struct SearchCase {
  const char* name;
  std::vector<std::string> map;
  uint8_t turnPenalty;
  uint8_t clearance;
  uint8_t reserve;
  bool found;
  const char* route;  // "" when none
  uint32_t cost;      // g of the end node when found
};

const SearchCase kSearchCases[] = {
    {"start_is_target", {"TTT", "TST", "TTT"}, 1, 0, 0, true, "1,1", 0},
    {"straight_corridor_costs_one_a_tile", {"STTTE"}, 1, 0, 0, true, "0,0 1,0 2,0 3,0 4,0", 4},
    {"turn_costs_four", {"STT", "..E"}, 1, 0, 0, true, "0,0 1,0 2,0 2,1", 6},
    {"fewer_turns_win_at_equal_length",
     {"STTT", "T..T", "TT.T", ".TTE"}, 1, 0, 0, true, "0,0 1,0 2,0 3,0 3,1 3,2 3,3", 9},
    // Both first steps reach f 2; the one inserted last (direction 2) is taken first.
    {"equal_estimates_take_the_last_inserted", {"ST", "TE"}, 1, 0, 0, true, "0,0 0,1 1,1", 5},
    {"unreachable_target", {"ST.TE"}, 1, 0, 0, false, "", 0},
    {"road_does_not_link_taxiway", {"SRRRE"}, 1, 0, 0, false, "", 0},
    {"apron_and_access_link_taxiway", {"SPAPE"}, 1, 0, 0, true, "0,0 1,0 2,0 3,0 4,0", 4},
    {"clearance_1_refuses_edge_tiles", {"STTTE"}, 1, 1, 0, false, "", 0},
    {"clearance_1_allows_an_edge_start",
     {"TTTTT", "TTTTT", "STETT", "TTTTT", "TTTTT"}, 1, 1, 0, true, "0,2 1,2 2,2", 2},
    {"clearance_2_needs_room_around_the_neighbours",
     {"TTTTT", "TTTTT", "STETT", "TTTTT", "TTTTT"}, 1, 2, 0, false, "", 0},
    {"clearance_2_in_open_space",
     {"TTTTTTT", "TTTTTTT", "TTTTTTT", "TTSTETT", "TTTTTTT", "TTTTTTT", "TTTTTTT"}, 1, 2, 0, true,
     "2,3 3,3 4,3", 2},
    {"reserve_avoids_reserved_tiles", {"STE", "T#T", "TTT"}, 1, 0, 1, true, "0,0 1,0 2,0", 2},
    {"reserve_detours_round_a_reserved_tile", {"S#E", "TTT"}, 1, 0, 1, true, "0,0 0,1 1,1 2,1 2,0", 10},
    {"without_reserve_reserved_tiles_are_open", {"S#E", "TTT"}, 1, 0, 0, true, "0,0 1,0 2,0", 2},
    {"clearance_1_with_reserve_refuses_reserved_surroundings",
     {"TTTTT", "TT#TT", "STETT", "TTTTT", "TTTTT"}, 1, 1, 1, false, "", 0},
    {"clearance_2_with_reserve_refuses_reserved_second_ring",
     {"TTTTTTT", "TTTTTTT", "TTT#TTT", "TTSTETT", "TTTTTTT", "TTTTTTT", "TTTTTTT"}, 1, 2, 1, false, "", 0},
};

TEST(PathSearchTest, DrawnPlots) {
  for (const SearchCase& c : kSearchCases) {
    SCOPED_TRACE(c.name);
    cPathFinder finder;
    const pathtest::MapGrid map = BuildMap(finder, c.map);
    cPathNode* end = map.end ? map.end : map.start;
    Route* route = finder.RequestPath(map.start, end, c.turnPenalty, c.clearance, c.reserve);
    ASSERT_NE(route, nullptr);
    EXPECT_EQ(route->status, 1);
    EXPECT_EQ(route->secondStatus != 0, c.found);
    EXPECT_EQ(RouteText(route->route), c.route);
    if (c.found) {
      EXPECT_EQ(end->g, c.cost);
    }
    for (cPathNode* node = finder.GetNodeListHead(); node; node = node->next) {
      EXPECT_EQ(node->searchState, 0) << node->x << ',' << node->y;
      EXPECT_EQ(node->parent, nullptr);
    }
    if (c.reserve && c.found) {
      for (cPathNode* node : route->route) EXPECT_EQ(node->reservation, 1);
    }
  }
}

// Without the turn penalty each step costs 1 plus a draw of 0 to 20.
TEST(PathSearchTest, RandomCostsDrawPerStep) {
  struct Case {
    const char* name;
    bool upper;
    uint32_t cost;
  };
  const Case cases[] = {{"lowest_draws", false, 4}, {"highest_draws", true, 4 * 21}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    simkit::KitRandom random;
    if (c.upper) {
      random.UseUpper();
    } else {
      random.UseLower();
    }
    cPathFinder finder;
    const pathtest::MapGrid map = BuildMap(finder, {"STTTE"});
    Route* route = finder.RequestPath(map.start, map.end, 0, 0, 0);
    EXPECT_EQ(RouteText(route->route), "0,0 1,0 2,0 3,0 4,0");
    EXPECT_EQ(map.end->g, c.cost);
  }
}

// Costs are 32-bit: a corridor long enough to pass 65535 at the highest
// draw keeps its true cost.
TEST(PathSearchTest, LongRoutesDoNotWrapTheirCost) {
  simkit::KitRandom random;
  random.UseUpper();
  cPathFinder finder;
  finder.width = 4000;
  finder.height = 1;
  finder.Start();
  cPathNode* previous = nullptr;
  for (uint16_t x = 0; x < finder.width; ++x) {
    cPathNode* node = finder.AddNode(x, 0, kPathNode_Taxiway);
    finder.LinkNodes(previous, node);
    previous = node;
  }
  Route* route = finder.RequestPath(finder.GetNodeAt(0, 0), previous, 0, 0, 0);
  ASSERT_EQ(route->route.size(), 4000u);
  EXPECT_EQ(previous->g, 3999u * 21u);
}

// With the reserve flag a second request avoids the first one's route, and
// cancelling the first frees it.
TEST(PathSearchTest, ReservationsAreAvoidedAndReleased) {
  cPathFinder finder;
  const pathtest::MapGrid map = BuildMap(finder, {"STTE", "T..T", "TTTT"});
  Route* first = finder.RequestPath(map.start, map.end, 1, 0, 1);
  EXPECT_EQ(RouteText(first->route), "0,0 1,0 2,0 3,0");
  cPathNode* below = finder.GetNodeAt(0, 1);
  // The first route's end is reserved too, so the second ends beside it.
  Route* second = finder.RequestPath(below, finder.GetNodeAt(3, 1), 1, 0, 1);
  EXPECT_EQ(RouteText(second->route), "0,1 0,2 1,2 2,2 3,2 3,1");
  EXPECT_EQ(second->secondStatus, 1);
  Route* blocked = finder.RequestPath(finder.GetNodeAt(1, 2), map.start, 1, 0, 1);
  EXPECT_EQ(blocked->secondStatus, 0);
  EXPECT_TRUE(blocked->route.empty());

  finder.CancelRequest(first);
  EXPECT_EQ(map.start->reservation, 0);
  EXPECT_EQ(finder.GetNodeAt(2, 0)->reservation, 0);
  EXPECT_EQ(map.end->reservation, 0);
  EXPECT_EQ(finder.GetNodeAt(3, 1)->reservation, 1) << "still on the second route";
  finder.CancelRequest(second);
  finder.CancelRequest(blocked);
  for (cPathNode* node = finder.GetNodeListHead(); node; node = node->next) EXPECT_EQ(node->reservation, 0);
  EXPECT_EQ(finder.RequestCount(), 0u);
}

}  // namespace
