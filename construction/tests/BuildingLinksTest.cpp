#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "construction/BuildingInstances.h"
#include "construction/Facilities.h"
#include "construction/tests/BuildingWorld.h"

using namespace buildtest;

namespace {

// A 2 x 2 building with one road access point on its lower left cell,
// facing +y.
cBuilding* Shop(BuildingWorld& w) {
  auto* type = w.manager.Define(kClass_Building, "Shop", 1, 2, 2);
  type->AddAccessPoint(RAStruct{0, 1, 2, 0});
  return type;
}

}  // namespace

TEST(BuildingLinks, ABuildingFacingTheEntranceRoadIsConnectedAndFunctional) {
  BuildingWorld w;
  w.roads.roads->SetEntranceCell(0, 5);
  ASSERT_TRUE(w.roads.Place(0, 5, 20, 1));
  BOInstance* shop = w.Build(Shop(w), 10, 3);
  ASSERT_NE(shop, nullptr);
  EXPECT_EQ(w.roads.Draw(9, 5, 11, 5), "-+-");
  EXPECT_EQ(w.roads.finder.GetNodeAt(10, 5)->buildings[0], shop);
  EXPECT_GE(shop->roadConnections, 1);
  EXPECT_FALSE(shop->functional);  // still under construction
  w.FinishConstruction();
  EXPECT_TRUE(shop->functional);
  EXPECT_EQ(w.manager.FindBuildingByRoadCell(10, 5), shop);
  EXPECT_EQ(w.manager.FindInstanceByRoadCell(10, 4), shop);

  // Demolished: the junction goes back to plain road, no node names it.
  w.manager.RemoveInstance(shop);
  EXPECT_EQ(w.roads.Draw(9, 5, 11, 5), "---");
  for (cPathNode* node = w.roads.finder.GetNodeListHead(); node; node = node->next)
    for (BOInstance* side : node->buildings) EXPECT_EQ(side, nullptr);
}

TEST(BuildingLinks, AnAccessPointFacingATaxiwayGetsNoRoadLink) {
  BuildingWorld w;
  ASSERT_TRUE(w.roads.taxiways->AddTaxiway(5, 5, 20, 1));
  BOInstance* shop = w.BuildFinished(Shop(w), 10, 3);
  ASSERT_NE(shop, nullptr);
  EXPECT_EQ(shop->roadConnections, 0);
  EXPECT_FALSE(shop->functional);
  EXPECT_EQ(w.manager.FindBuildingByRoadCell(10, 5), shop);  // the query looks at cells, not pavement
}

TEST(BuildingLinks, EveryRingCellOfTaxwayCountsOneContactAndTheStateChangesOnce) {
  BuildingWorld w;
  auto* hangar = w.manager.Define(kClass_Building, "Hangar", 1, 2, 2);
  hangar->requiresTaxiway = 1;
  ASSERT_TRUE(w.roads.taxiways->AddTaxiway(19, 19, 4, 1));
  ASSERT_TRUE(w.roads.taxiways->AddTaxiway(19, 22, 4, 1));
  ASSERT_TRUE(w.roads.taxiways->AddTaxiway(19, 20, 1, 2));
  ASSERT_TRUE(w.roads.taxiways->AddTaxiway(22, 20, 1, 2));
  w.manager.notices.clear();
  BOInstance* b = w.BuildFinished(hangar, 20, 20);
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(b->taxiwayConnections, 12);
  EXPECT_TRUE(b->functional);
  ASSERT_EQ(w.manager.notices.size(), 1u);
  EXPECT_TRUE(w.manager.notices[0].second);

  // Without a single tile around it, a building that needs taxiway access
  // does not work.
  BOInstance* lonely = w.BuildFinished(hangar, 40, 40);
  EXPECT_EQ(lonely->taxiwayConnections, 0);
  EXPECT_FALSE(lonely->functional);
}

TEST(BuildingLinks, RunwaysTakeTheNodeAtTheCentreOfTheirFirstAccessRectangle) {
  BuildingWorld w;
  auto* runway = w.manager.Define<cRunway>(kClass_Runway, "Runway", 1, 3, 4);
  runway->AddAccessPoint(TAStruct{0, 0, 3, 4, 0});
  runway->AddAccessPoint(TAStruct{0, 0, 1, 1, 0});
  auto* r = static_cast<RunwayInstance*>(w.manager.Place(runway, 10, 20));
  ASSERT_TRUE(r->AddTaxiwayAccessNodes(&w.manager));
  w.manager.LinkTaxiwayAccessNodes(r);
  ASSERT_NE(r->node, nullptr);
  EXPECT_EQ(r->node, w.roads.finder.GetNodeAt(11, 22));

  auto* terminal = w.manager.Define<cTerminal>(kClass_Terminal, "Terminal", 1, 4, 4);
  terminal->AddAccessPoint(TAStruct{0, 0, 2, 2, 0});
  terminal->AddAccessPoint(TAStruct{2, 2, 2, 2, 0});
  auto* t = static_cast<TerminalInstance*>(w.manager.Place(terminal, 30, 30));
  t->AddTaxiwayAccessNodes(&w.manager);
  w.manager.LinkTaxiwayAccessNodes(t);
  ASSERT_EQ(t->gates.size(), 2u);
  EXPECT_EQ(t->gates[0], w.roads.finder.GetNodeAt(31, 31));
  EXPECT_EQ(t->gates[1], w.roads.finder.GetNodeAt(33, 33));
}

TEST(BuildingLinks, ControlTowersGoToTheLowestLevelThatServesWithRoom) {
  struct Case {
    const char* name;
    std::vector<uint8_t> towerLevels;  // capacity 1 each, in list order
    std::vector<uint8_t> required;     // per runway
    std::vector<int> assigned;         // tower index per runway, -1 none
  };
  const Case cases[] = {
      {"one tower, two runways", {3}, {2, 2}, {0, -1}},
      {"too low a tower", {1}, {2}, {-1}},
      {"the lowest that serves", {5, 3, 2}, {3}, {1}},
      {"equal levels: the first", {4, 4}, {1, 1}, {0, 1}},
  };
  for (const Case& c : cases) {
    BuildingWorld w;
    std::vector<OrgInstance*> towers;
    for (size_t i = 0; i < c.towerLevels.size(); ++i) {
      auto* type = static_cast<cOrganizationalFacility*>(w.manager.GetBuildingType(
          kClass_Organizational, w.manager.FindTypeIndexByName(kClass_Organizational, "Control Tower"),
          c.towerLevels[i]));
      if (!type) {
        type = w.manager.Define<cOrganizationalFacility>(kClass_Organizational, "Control Tower", c.towerLevels[i]);
        type->SetCapacity(1);
      }
      towers.push_back(static_cast<OrgInstance*>(w.manager.Place(type, static_cast<uint16_t>(4 * i), 0)));
      w.manager.controlTowers.push_back(towers.back());
    }
    std::vector<RunwayInstance*> runways;
    for (size_t i = 0; i < c.required.size(); ++i) {
      auto* type = w.manager.Define<cRunway>(kClass_Runway, "Runway " + std::to_string(i), 1);
      type->requiredTowerLevel = c.required[i];
      runways.push_back(static_cast<RunwayInstance*>(w.manager.Place(type, static_cast<uint16_t>(4 * i), 20)));
    }
    w.manager.AssignControlTowers(runways);
    for (size_t i = 0; i < runways.size(); ++i) {
      OrgInstance* expected = c.assigned[i] < 0 ? nullptr : towers[static_cast<size_t>(c.assigned[i])];
      EXPECT_EQ(runways[i]->tower, expected) << c.name << " runway " << i;
    }
  }
}

TEST(BuildingLinks, ConnectionCountersHoldAtTheirTopInsteadOfWrapping) {
  BuildingWorld w;
  BOInstance* shop = w.manager.Place(Shop(w), 10, 10);
  for (int i = 0; i < 300; ++i) {
    shop->AddRoadConnection();
    shop->AddTaxiwayConnection();
  }
  EXPECT_EQ(shop->roadConnections, 255);
  EXPECT_EQ(shop->taxiwayConnections, 255);
  EXPECT_TRUE(shop->IsFunctional());
}

TEST(BuildingLinks, RecountingMakesTheCountersExactAfterRepeatedFloods) {
  BuildingWorld w;
  w.roads.roads->SetEntranceCell(0, 5);
  ASSERT_TRUE(w.roads.Place(0, 5, 20, 1));
  BOInstance* shop = w.BuildFinished(Shop(w), 10, 3);
  ASSERT_TRUE(w.roads.taxiways->AddTaxiway(12, 3, 1, 1));
  // Every road change floods again, and every flood adds its links again.
  ASSERT_TRUE(w.roads.Place(0, 9, 1, 1));
  ASSERT_TRUE(w.roads.Place(3, 9, 1, 1));
  EXPECT_GT(shop->roadConnections, 1);
  w.manager.RecountConnections();
  EXPECT_EQ(shop->roadConnections, 1);
  EXPECT_EQ(shop->taxiwayConnections, 1);
  EXPECT_TRUE(shop->functional);
}

TEST(BuildingLinks, ARestoredBuildingIsConnectedByTheFloodAfterTheLoad) {
  BuildingWorld w;
  w.roads.roads->SetEntranceCell(0, 5);
  ASSERT_TRUE(w.roads.Place(0, 5, 20, 1));
  w.BuildFinished(Shop(w), 10, 3);
  SerialBlock bytes;
  uint32_t n = 0;
  ASSERT_TRUE(w.manager.Save(&bytes, &n));
  w.manager.Reset();
  EXPECT_EQ(w.roads.finder.GetNodeAt(10, 5)->buildings[0], nullptr);
  ASSERT_TRUE(w.manager.LoadFromBlob(bytes.get(), n));
  w.manager.RestoreFromSave();
  ASSERT_EQ(w.manager.placed.size(), 1u);
  BOInstance* shop = w.manager.placed[0];
  EXPECT_EQ(w.roads.finder.GetNodeAt(10, 5)->buildings[0], shop);
  EXPECT_EQ(shop->roadConnections, 1);
  EXPECT_TRUE(shop->functional);
}
