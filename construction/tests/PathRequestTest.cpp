// Requests through their life: served at once when idle, queued again after a
// network change and served one per tick with their own settings, cut short
// by the budget, ended or searched again when their nodes are removed,
// cancelled; and the finder on the clock.
#include <gtest/gtest.h>

#include "construction/PathFinder.h"
#include "construction/tests/MapGrid.h"
#include "simulation/SimulationClock.h"

namespace {

using pathtest::BuildMap;
using pathtest::RouteText;

void Tick(cPathFinder& finder) { finder.OnTime(0, 0, kTimeEvent_Tick, 0.0f); }

TEST(PathRequestTest, RequeuedRequestsAreServedOnePerTick) {
  cPathFinder finder;
  const pathtest::MapGrid map = BuildMap(finder, {"STTTE"});
  Route* a = finder.RequestPath(map.start, map.end, 1, 0, 0);
  Route* b = finder.RequestPath(map.end, map.start, 1, 0, 0);
  EXPECT_EQ(a->status, 1);
  EXPECT_EQ(b->status, 1);
  EXPECT_EQ(finder.QueueSize(), 0u);

  finder.RequeueFinishedRequests();
  EXPECT_EQ(a->status, 0);
  EXPECT_EQ(a->secondStatus, 1) << "the plain requeue keeps found";
  EXPECT_EQ(finder.QueueSize(), 2u);
  finder.OnTime(0, 0, kTimeEvent_Minute, 0.0f);
  EXPECT_EQ(a->status, 0) << "only ticks serve the queue";
  Tick(finder);
  EXPECT_EQ(a->status, 1);
  EXPECT_EQ(b->status, 0);
  Tick(finder);
  EXPECT_EQ(b->status, 1);
  EXPECT_EQ(RouteText(b->route), "4,0 3,0 2,0 1,0 0,0");

  finder.RequeueAllFinishedRequests();
  EXPECT_EQ(a->secondStatus, 0);
  EXPECT_EQ(b->secondStatus, 0);
  Tick(finder);
  Tick(finder);
  EXPECT_EQ(a->secondStatus, 1);
  EXPECT_EQ(b->secondStatus, 1);
}

// A request made while requeued ones wait is served at once, and the waiting
// ones stay queued for their ticks.
TEST(PathRequestTest, ARequestMadeWhileOthersWaitLeavesThemQueued) {
  cPathFinder finder;
  const pathtest::MapGrid map = BuildMap(finder, {"STTTE"});
  Route* waiting = finder.RequestPath(map.start, map.end, 1, 0, 0);
  finder.RequeueFinishedRequests();
  Route* now = finder.RequestPath(map.end, map.start, 1, 0, 0);
  EXPECT_EQ(now->status, 1);
  EXPECT_EQ(waiting->status, 0);
  EXPECT_EQ(finder.QueueSize(), 1u);
  Tick(finder);
  EXPECT_EQ(waiting->status, 1);
  EXPECT_EQ(waiting->secondStatus, 1);
}

// A request searched again on a tick keeps its turn penalty, clearance and
// reserve flag, and does not meet the reservations of its own earlier route.
TEST(PathRequestTest, RequeuedSearchKeepsItsSettings) {
  cPathFinder finder;
  // Open ground: the straight route has room for clearance 2.
  const pathtest::MapGrid map = BuildMap(finder, {
                                                     "TTTTTTTTT",
                                                     "T.......T",
                                                     "TTTTTTTTT",
                                                     "TTTTTTTTT",
                                                     "TTSTTTETT",
                                                     "TTTTTTTTT",
                                                     "TTTTTTTTT",
                                                 });
  Route* route = finder.RequestPath(map.start, map.end, 1, 2, 1);
  ASSERT_EQ(route->secondStatus, 1);
  const std::string first = RouteText(route->route);
  EXPECT_EQ(first, "2,4 3,4 4,4 5,4 6,4");
  finder.RequeueFinishedRequests();
  Tick(finder);
  EXPECT_EQ(route->status, 1);
  EXPECT_EQ(route->secondStatus, 1);
  EXPECT_EQ(RouteText(route->route), first);
  EXPECT_EQ(map.end->g, 4u) << "searched with the turn penalty";
  for (cPathNode* node : route->route) EXPECT_EQ(node->reservation, 1);
}

// A request that no longer finds its target ends with found cleared.
TEST(PathRequestTest, FoundIsClearedWhenASearchAgainFails) {
  cPathFinder finder;
  const pathtest::MapGrid map = BuildMap(finder, {"STTTE"});
  Route* route = finder.RequestPath(map.start, map.end, 1, 0, 0);
  ASSERT_EQ(route->secondStatus, 1);
  finder.GetNodeAt(2, 0)->UnlinkNeighbour(1, true);
  finder.RequeueFinishedRequests();
  Tick(finder);
  EXPECT_EQ(route->status, 1);
  EXPECT_EQ(route->secondStatus, 0);
  EXPECT_TRUE(route->route.empty());
}

TEST(PathRequestTest, MissingEndsGiveNoRoute) {
  struct Case {
    const char* name;
    bool start;
    bool target;
  };
  const Case cases[] = {{"no_start", false, true}, {"no_target", true, false}, {"neither", false, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    cPathFinder finder;
    const pathtest::MapGrid map = BuildMap(finder, {"STE"});
    Route* route = finder.RequestPath(c.start ? map.start : nullptr, c.target ? map.end : nullptr, 1, 0, 1);
    ASSERT_NE(route, nullptr);
    EXPECT_EQ(route->status, 1);
    EXPECT_EQ(route->secondStatus, 0);
    EXPECT_TRUE(route->route.empty());
    EXPECT_FALSE(finder.IsBusy());
    EXPECT_EQ(finder.QueueSize(), 0u);
  }
}

// Removing a node ends the requests that start or end on it and searches
// again those whose route runs over it; their reservations are released.
TEST(PathRequestTest, RemovedNodesEndOrRequeueTheirRequests) {
  struct Case {
    const char* name;
    int removeX, removeY;
    bool requeued;
    const char* after;  // route after the next tick
  };
  const Case cases[] = {
      {"start_removed", 0, 0, false, ""},
      {"target_removed", 4, 0, false, ""},
      {"route_node_removed", 2, 0, true, "0,0 1,0 1,1 2,1 3,1 4,1 4,0"},
      {"unrelated_node_removed", 2, 1, false, "0,0 1,0 2,0 3,0 4,0"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    cPathFinder finder;
    const pathtest::MapGrid map = BuildMap(finder, {"STTTE", "TTTTT"});
    Route* route = finder.RequestPath(map.start, map.end, 1, 0, 1);
    ASSERT_EQ(RouteText(route->route), "0,0 1,0 2,0 3,0 4,0");
    const bool endLost = c.removeX == 0 || c.removeX == 4;
    finder.RemoveNode(finder.GetNodeAt(c.removeX, c.removeY));
    if (endLost) {
      EXPECT_EQ(route->status, 1);
      EXPECT_EQ(route->secondStatus, 0);
      EXPECT_TRUE(route->route.empty());
      EXPECT_EQ(finder.QueueSize(), 0u);
    }
    EXPECT_EQ(route->status == 0, c.requeued);
    EXPECT_EQ(finder.QueueSize(), c.requeued ? 1u : 0u);
    if (c.requeued) {
      for (cPathNode* node = finder.GetNodeListHead(); node; node = node->next) EXPECT_EQ(node->reservation, 0);
      EXPECT_TRUE(route->route.empty()) << "no pointer to the deleted node is kept";
    }
    Tick(finder);
    EXPECT_EQ(route->status, 1);
    EXPECT_EQ(RouteText(route->route), c.after);
    finder.CancelRequest(route);
    for (cPathNode* node = finder.GetNodeListHead(); node; node = node->next) EXPECT_EQ(node->reservation, 0);
  }
}

// With a small budget a search resumes on the following ticks and ends with
// the route an uninterrupted search finds; removing a node or cancelling
// meanwhile leaves no search state behind.
TEST(PathRequestTest, BudgetSplitsASearchOverTicks) {
  const std::vector<std::string> plot = {"STTTTTT", "T.T.T.T", "TTTTTTE"};
  cPathFinder whole;
  const pathtest::MapGrid wholeMap = BuildMap(whole, plot);
  const std::string expected = RouteText(whole.RequestPath(wholeMap.start, wholeMap.end, 1, 0, 1)->route);

  struct Case {
    const char* name;
    int interrupt;  // 0 none, 1 remove an untouched node, 2 cancel
  };
  const Case cases[] = {{"resumes", 0}, {"restarts_after_a_removal", 1}, {"cancelled_mid_search", 2}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    cPathFinder finder;
    const pathtest::MapGrid map = BuildMap(finder, plot);
    finder.budget = 2;
    Route* route = finder.RequestPath(map.start, map.end, 1, 0, 1);
    EXPECT_TRUE(finder.IsBusy());
    EXPECT_EQ(route->status, 0);
    if (c.interrupt == 1) finder.RemoveNode(finder.GetNodeAt(1, 2));
    if (c.interrupt == 2) {
      finder.CancelRequest(route);
      EXPECT_FALSE(finder.IsBusy());
      EXPECT_EQ(finder.QueueSize(), 0u);
      for (cPathNode* node = finder.GetNodeListHead(); node; node = node->next) {
        EXPECT_EQ(node->searchState, 0);
        EXPECT_EQ(node->parent, nullptr);
      }
      continue;
    }
    for (int tick = 0; tick < 50 && route->status == 0; ++tick) Tick(finder);
    EXPECT_EQ(route->status, 1);
    EXPECT_EQ(route->secondStatus, 1);
    EXPECT_EQ(RouteText(route->route), c.interrupt ? "0,0 1,0 2,0 3,0 4,0 5,0 6,0 6,1 6,2" : expected);
  }
}

TEST(PathRequestTest, CancelIgnoresUnknownRequests) {
  cPathFinder finder;
  const pathtest::MapGrid map = BuildMap(finder, {"STE"});
  Route stranger;
  finder.CancelRequest(&stranger);
  finder.CancelRequest(nullptr);
  Route* route = finder.RequestPath(map.start, map.end, 1, 0, 0);
  finder.CancelRequest(route);
  EXPECT_EQ(finder.RequestCount(), 0u);
}

TEST(PathRequestTest, StartRegistersWithTheClockAndClearLeavesIt) {
  cSimulation_Clock clock;
  cPathFinder finder;
  finder.clock = &clock;
  const pathtest::MapGrid map = BuildMap(finder, {"STE"});
  EXPECT_TRUE(clock.IsRegistered(&finder));
  finder.RequestPath(map.start, map.end, 1, 0, 0);
  finder.Clear(nullptr);
  EXPECT_EQ(finder.GetNodeListHead(), nullptr);
  EXPECT_EQ(finder.GetNodeAt(0, 0), nullptr);
  EXPECT_EQ(finder.RequestCount(), 0u);
  clock.Tick(0.01f);
  EXPECT_FALSE(clock.IsRegistered(&finder));
}

}  // namespace
