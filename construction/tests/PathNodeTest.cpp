// Nodes and links: the kind rule, link replacement, run lengths, removal and
// the flood fill over the links.
#include <gtest/gtest.h>

#include "construction/PathFinder.h"
#include "construction/tests/MapGrid.h"
#include "simulation/tests/kit/KitFakes.h"

namespace {

using pathtest::BuildMap;

TEST(PathNodeTest, KindRuleDecidesLinks) {
  struct Case {
    const char* name;
    uint8_t a, b;
    bool linked;
  };
  const Case cases[] = {
      {"road_road", kPathNode_Road, kPathNode_Road, true},
      {"road_taxiway", kPathNode_Road, kPathNode_Taxiway, false},
      {"taxiway_road", kPathNode_Taxiway, kPathNode_Road, false},
      {"road_access", kPathNode_Road, kPathNode_Access, false},
      {"apron_road", kPathNode_Apron, kPathNode_Road, false},
      {"taxiway_apron", kPathNode_Taxiway, kPathNode_Apron, true},
      {"taxiway_access", kPathNode_Taxiway, kPathNode_Access, true},
      {"access_apron", kPathNode_Access, kPathNode_Apron, true},
      {"taxiway_taxiway", kPathNode_Taxiway, kPathNode_Taxiway, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    cPathFinder finder;
    finder.width = 4;
    finder.height = 4;
    finder.Start();
    cPathNode* a = finder.AddNode(1, 1, c.a);
    cPathNode* b = finder.AddNode(1, 2, c.b);
    finder.LinkNodes(a, b);
    EXPECT_EQ(a->neighbours[2] == b, c.linked);
    EXPECT_EQ(b->neighbours[0] == a, c.linked);
  }
}

TEST(PathNodeTest, DirectionsFollowThePlaces) {
  struct Case {
    const char* name;
    uint16_t bx, by;
    uint8_t d;
  };
  const Case cases[] = {{"above", 2, 1, 0}, {"right", 3, 2, 1}, {"below", 2, 3, 2}, {"left", 1, 2, 3}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    cPathFinder finder;
    finder.width = 5;
    finder.height = 5;
    finder.Start();
    cPathNode* a = finder.AddNode(2, 2, kPathNode_Taxiway);
    cPathNode* b = finder.AddNode(c.bx, c.by, kPathNode_Taxiway);
    finder.LinkNodes(a, b);
    EXPECT_EQ(a->neighbours[c.d], b);
    EXPECT_EQ(b->neighbours[OppositeDirection(c.d)], a);
    finder.LinkNodes(a, a);
    for (cPathNode* link : a->neighbours) EXPECT_NE(link, a);
  }
}

TEST(PathNodeTest, CellsRefuseOffGridAndTakenPlaces) {
  cPathFinder finder;
  finder.width = 3;
  finder.height = 2;
  finder.Start();
  cPathNode* node = finder.AddNode(2, 1, kPathNode_Road);
  ASSERT_NE(node, nullptr);
  EXPECT_EQ(node->owner, &finder);
  EXPECT_EQ(finder.AddNode(2, 1, kPathNode_Road), nullptr);
  EXPECT_EQ(finder.AddNode(3, 0, kPathNode_Road), nullptr);
  EXPECT_EQ(finder.AddNode(0, 2, kPathNode_Road), nullptr);
  EXPECT_EQ(finder.GetNodeAt(2, 1), node);
  EXPECT_EQ(finder.GetNodeAt(-1, 0), nullptr);
  EXPECT_EQ(finder.GetNodeAt(3, 1), nullptr);
  EXPECT_EQ(finder.GetNodeAt(0, 0), nullptr);
  EXPECT_EQ(finder.GetNodeListHead(), node);
}

TEST(PathNodeTest, RunLengthsCountTheStraightRun) {
  cPathFinder finder;
  BuildMap(finder, {"TTTT."});
  for (uint16_t x = 0; x < 4; ++x) {
    const cPathNode* node = finder.GetNodeAt(x, 0);
    EXPECT_EQ(node->runLengths[1], 3 - x) << x;
    EXPECT_EQ(node->runLengths[3], x) << x;
    EXPECT_EQ(node->runLengths[0], 0);
  }
  // Relinking the end to a new tile lengthens every run behind it.
  cPathNode* extra = finder.AddNode(4, 0, kPathNode_Taxiway);
  finder.LinkNodes(finder.GetNodeAt(3, 0), extra);
  EXPECT_EQ(finder.GetNodeAt(0, 0)->runLengths[1], 4);
  EXPECT_EQ(extra->runLengths[3], 4);
}

TEST(PathNodeTest, LinkingOverAnotherNodeDropsItsBackLink) {
  cPathFinder finder;
  finder.width = 4;
  finder.height = 1;
  finder.Start();
  cPathNode* a = finder.AddNode(0, 0, kPathNode_Taxiway);
  cPathNode* b = finder.AddNode(1, 0, kPathNode_Taxiway);
  cPathNode* c = finder.AddNode(2, 0, kPathNode_Taxiway);
  a->LinkNeighbour(b, 1, true);
  a->LinkNeighbour(c, 1, true);
  EXPECT_EQ(a->neighbours[1], c);
  EXPECT_EQ(c->neighbours[3], a);
  EXPECT_EQ(b->neighbours[3], nullptr);
  a->UnlinkNeighbour(1, false);
  EXPECT_EQ(a->neighbours[1], nullptr);
  EXPECT_EQ(c->neighbours[3], a) << "one-sided unlink";
  c->UnlinkNeighbour(3, true);
  EXPECT_EQ(c->neighbours[3], nullptr);
}

TEST(PathNodeTest, RemoveNodeUnlinksAndFreesTheCell) {
  cPathFinder finder;
  BuildMap(finder, {"TTT", "TTT"});
  cPathNode* middle = finder.GetNodeAt(1, 0);
  cPathNode* head = finder.GetNodeListHead();
  finder.RemoveNode(middle);
  EXPECT_EQ(finder.GetNodeAt(1, 0), nullptr);
  EXPECT_EQ(finder.GetNodeAt(0, 0)->neighbours[1], nullptr);
  EXPECT_EQ(finder.GetNodeAt(2, 0)->neighbours[3], nullptr);
  EXPECT_EQ(finder.GetNodeAt(1, 1)->neighbours[0], nullptr);
  finder.RemoveNode(head);
  EXPECT_NE(finder.GetNodeListHead(), head);
  size_t listed = 0;
  for (cPathNode* node = finder.GetNodeListHead(); node; node = node->next) {
    ++listed;
    EXPECT_EQ(finder.GetNodeAt(node->x, node->y), node);
    if (node->next) {
      EXPECT_EQ(node->next->previous, node);
    }
  }
  EXPECT_EQ(listed, 4u);
  // A one-sided link to a removed node goes with it.
  cPathNode* left = finder.GetNodeAt(0, 1);
  cPathNode* right = finder.GetNodeAt(1, 1);
  right->UnlinkNeighbour(3, false);
  ASSERT_EQ(left->neighbours[1], right);
  finder.RemoveNode(right);
  EXPECT_EQ(left->neighbours[1], nullptr);
  // A node of another finder is not this finder's to remove.
  cPathFinder other;
  BuildMap(other, {"TT"});
  finder.RemoveNode(other.GetNodeAt(0, 0));
  EXPECT_NE(other.GetNodeAt(0, 0), nullptr);
}

// Each building beside a reached tile gets one road connection per side it
// touches; tiles cut off from the start stay unvisited.
TEST(PathNodeTest, FloodConnectCountsBuildingsBesideReachedTiles) {
  cPathFinder finder;
  BuildMap(finder, {"RRR.R", "R...R"});
  simkit::FakeInstance twoSides(nullptr);
  simkit::FakeInstance cutOff(nullptr);
  simkit::FakeInstance oneSide(nullptr);
  finder.GetNodeAt(1, 0)->buildings[2] = &twoSides;
  finder.GetNodeAt(0, 1)->buildings[1] = &twoSides;
  finder.GetNodeAt(2, 0)->buildings[1] = &oneSide;
  finder.GetNodeAt(4, 1)->buildings[3] = &cutOff;
  finder.GetNodeAt(0, 0)->FloodConnect();
  EXPECT_EQ(twoSides.roadConnections, 2u);
  EXPECT_EQ(oneSide.roadConnections, 1u);
  EXPECT_EQ(cutOff.roadConnections, 0u);
  EXPECT_EQ(finder.GetNodeAt(0, 1)->visited, 1);
  EXPECT_EQ(finder.GetNodeAt(2, 0)->visited, 1);
  EXPECT_EQ(finder.GetNodeAt(4, 0)->visited, 0);
  // Visited tiles are not entered again.
  finder.GetNodeAt(0, 0)->FloodConnect();
  EXPECT_EQ(oneSide.roadConnections, 1u);
}

// A whole plot of road floods without exhausting the stack.
TEST(PathNodeTest, FloodConnectCoversALargeNetwork) {
  cPathFinder finder;
  finder.width = 300;
  finder.height = 300;
  finder.Start();
  for (uint16_t y = 0; y < 300; ++y) {
    for (uint16_t x = 0; x < 300; ++x) {
      cPathNode* node = finder.AddNode(x, y, kPathNode_Road);
      finder.LinkNodes(finder.GetNodeAt(x - 1, y), node);
      finder.LinkNodes(finder.GetNodeAt(x, y - 1), node);
    }
  }
  simkit::FakeInstance corner(nullptr);
  finder.GetNodeAt(299, 299)->buildings[1] = &corner;
  finder.GetNodeAt(0, 0)->FloodConnect();
  EXPECT_EQ(corner.roadConnections, 1u);
  size_t unvisited = 0;
  for (cPathNode* node = finder.GetNodeListHead(); node; node = node->next) unvisited += node->visited ? 0 : 1;
  EXPECT_EQ(unvisited, 0u);
}

}  // namespace
