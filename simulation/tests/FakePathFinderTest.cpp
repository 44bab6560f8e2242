#include <gtest/gtest.h>

#include "simulation/tests/kit/FakePathFinder.h"

namespace {

// The kit's path finder finds the route along the links at once.
TEST(FakePathFinderTest, RoutesFollowTheLinks) {
  simkit::FakePathFinder finder(8, 8);
  // An L of road: (1,1) -> (4,1) -> (4,5), and a loose node.
  cPathNode* a = finder.AddNode(1, 1, 1);
  cPathNode* corner = finder.AddNode(4, 1, 1);
  cPathNode* b = finder.AddNode(4, 5, 1);
  cPathNode* loose = finder.AddNode(6, 6, 1);
  finder.LinkNodes(a, corner);
  finder.LinkNodes(corner, b);
  EXPECT_EQ(finder.GetNodeAt(4, 1), corner);
  EXPECT_EQ(finder.GetNodeAt(8, 1), nullptr);
  EXPECT_EQ(finder.GetNodeAt(2, 2), nullptr);
  EXPECT_EQ(a->neighbours[1], corner);
  EXPECT_EQ(corner->neighbours[3], a);
  EXPECT_EQ(corner->neighbours[2], b);

  Route* route = finder.RequestPath(a, b, 0, 1, 0);
  ASSERT_NE(route, nullptr);
  EXPECT_EQ(route->status, 1);
  EXPECT_EQ(route->route, (std::vector<cPathNode*>{a, corner, b}));
  Route* none = finder.RequestPath(a, loose, 0, 1, 0);
  EXPECT_TRUE(none->route.empty());
  EXPECT_EQ(finder.RequestPath(nullptr, b, 0, 0, 0), nullptr);

  finder.RemoveNode(corner);
  EXPECT_EQ(a->neighbours[1], nullptr);
  finder.RequeueFinishedRequests();
  EXPECT_TRUE(route->route.empty());
  finder.CancelRequest(route);
  finder.CancelRequest(none);
  EXPECT_EQ(finder.RequestCount(), 0u);
}

}  // namespace
