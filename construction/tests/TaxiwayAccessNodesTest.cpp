// The airside access nodes of a building: created column by column, linked
// under the kind rule, replacing nodes already on their cells, and removed.
#include <gtest/gtest.h>

#include "construction/PathFinder.h"
#include "construction/TaxiwayAccessNodes.h"
#include "construction/tests/MapGrid.h"
#include "engine/entity/EntityManager.h"
#include "engine/services/GlobalWrapper.h"
#include "simulation/tests/kit/KitFakes.h"

namespace {

using pathtest::BuildMap;

size_t ListedNodes(cPathFinder& finder) {
  size_t n = 0;
  for (cPathNode* node = finder.GetNodeListHead(); node; node = node->next) {
    ++n;
    EXPECT_EQ(finder.GetNodeAt(node->x, node->y), node) << "a listed node without its cell";
  }
  return n;
}

TEST(TaxiwayAccessNodesTest, AreaLinksToAirsideTilesOnly) {
  cPathFinder finder;
  // A 2 x 2 area at (1,1): taxiway to its left and below, road to its right
  // and above.
  BuildMap(finder, {".RR.", "T..R", "T..R", ".TT."});
  ASSERT_TRUE(AddTaxiwayAccessNodes(finder, {{1, 1, 2, 2}}));
  struct Case {
    const char* name;
    int x, y, d;
    bool linked;
  };
  const Case cases[] = {
      {"left_taxiway", 1, 1, 3, true},   {"left_taxiway_lower", 1, 2, 3, true},
      {"inner_across", 1, 1, 1, true},   {"inner_down", 1, 1, 2, true},
      {"road_above", 1, 1, 0, false},    {"road_right", 2, 1, 1, false},
      {"taxiway_below", 1, 2, 2, true},  {"taxiway_below_right", 2, 2, 2, true},
      {"inner_up", 2, 2, 0, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    cPathNode* node = finder.GetNodeAt(c.x, c.y);
    ASSERT_NE(node, nullptr);
    EXPECT_EQ(node->kind, kPathNode_Access);
    EXPECT_EQ(node->neighbours[c.d] != nullptr, c.linked);
    if (cPathNode* other = node->neighbours[c.d]) {
      EXPECT_EQ(other->neighbours[OppositeDirection(c.d)], node);
    }
  }
  EXPECT_EQ(ListedNodes(finder), 12u);

  RemoveTaxiwayAccessNodes(finder, {{1, 1, 2, 2}});
  EXPECT_EQ(finder.GetNodeAt(1, 1), nullptr);
  EXPECT_EQ(finder.GetNodeAt(0, 1)->neighbours[1], nullptr);
  EXPECT_EQ(finder.GetNodeAt(1, 3)->neighbours[0], nullptr);
  EXPECT_EQ(ListedNodes(finder), 8u);
}

// A node already on a covered cell is removed first: nothing is orphaned,
// and a request that ended on it ends with no route.
TEST(TaxiwayAccessNodesTest, ReplacesNodesAlreadyThere) {
  cPathFinder finder;
  const pathtest::MapGrid map = BuildMap(finder, {"STTE"});
  Route* route = finder.RequestPath(map.start, map.end, 1, 0, 0);
  ASSERT_EQ(route->secondStatus, 1);
  ASSERT_TRUE(AddTaxiwayAccessNodes(finder, {{3, 0, 1, 1}}));
  EXPECT_EQ(finder.GetNodeAt(3, 0)->kind, kPathNode_Access);
  EXPECT_EQ(finder.GetNodeAt(2, 0)->neighbours[1], finder.GetNodeAt(3, 0));
  EXPECT_EQ(ListedNodes(finder), 4u);
  EXPECT_EQ(route->status, 1);
  EXPECT_EQ(route->secondStatus, 0);
  EXPECT_TRUE(route->route.empty());
}

TEST(TaxiwayAccessNodesTest, EdgesAndEmptyLists) {
  cPathFinder finder;
  BuildMap(finder, {"...", "..."});
  EXPECT_FALSE(AddTaxiwayAccessNodes(finder, {}));
  // Half of the area lies off the grid: only its cells on the grid get nodes.
  EXPECT_TRUE(AddTaxiwayAccessNodes(finder, {{2, 1, 3, 3}}));
  EXPECT_NE(finder.GetNodeAt(2, 1), nullptr);
  EXPECT_EQ(ListedNodes(finder), 1u);
  RemoveTaxiwayAccessNodes(finder, {{2, 1, 3, 3}});
  EXPECT_EQ(ListedNodes(finder), 0u);
}

// A placed building reaches the path finder through its manager's service
// table and adds and removes the nodes of its own access rectangles.
TEST(TaxiwayAccessNodesTest, BuildingAddsAndRemovesItsNodes) {
  cKV9_GlobalWrapper table;
  cEntity_Manager entities(nullptr);
  entities.SetGlobalWrapper(&table);
  simkit::FakeBuildings manager(&entities, kEntityType_Base);
  cPathFinder finder;
  BuildMap(finder, {"TT..", "...."});
  table.pathFinder = &finder;
  simkit::FakeInstance gate(nullptr);
  gate.taxiwayAccess = {{2, 0, 1, 2}, {3, 1, 1, 1}};

  EXPECT_TRUE(gate.AddTaxiwayAccessNodes(&manager));
  EXPECT_EQ(finder.GetNodeAt(2, 0)->kind, kPathNode_Access);
  EXPECT_EQ(finder.GetNodeAt(1, 0)->neighbours[1], finder.GetNodeAt(2, 0));
  EXPECT_EQ(finder.GetNodeAt(2, 1)->neighbours[1], finder.GetNodeAt(3, 1));
  EXPECT_EQ(ListedNodes(finder), 5u);

  gate.RemoveTaxiwayAccessNodes(&manager);
  EXPECT_EQ(ListedNodes(finder), 2u);
  EXPECT_EQ(finder.GetNodeAt(1, 0)->neighbours[1], nullptr);

  simkit::FakeInstance plain(nullptr);
  EXPECT_FALSE(plain.AddTaxiwayAccessNodes(&manager));
  table.pathFinder = nullptr;
}

}  // namespace
