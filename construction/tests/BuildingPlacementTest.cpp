#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

#include "construction/BuildingInstances.h"
#include "construction/Facilities.h"
#include "construction/tests/BuildingWorld.h"
#include "simulation/StatManager.h"

using namespace buildtest;

namespace {

uint32_t& CellWord(BuildingWorld& w, uint32_t x, uint32_t y) {
  return w.roads.world.plot.cells[y * w.roads.world.plot.width + x].content;
}

}  // namespace

TEST(BuildingPlacement, TheFootprintMustLieOnBuildableCellsOfThePlot) {
  struct Case {
    const char* name;
    int x;
    int y;
    uint32_t flagsAtCorner;  // flags of the footprint's far corner cell
    bool expected;
  };
  const Case cases[] = {
      {"inside, all flags", 10, 10, 0xFF, true},
      {"flag 2 alone", 10, 10, 2, true},
      {"flag 4 alone", 10, 10, 4, true},
      {"flag 8 alone", 10, 10, 8, true},
      {"flag 1 alone", 10, 10, 1, false},
      {"no flags", 10, 10, 0, false},
      {"last columns", 61, 10, 0xFF, true},
      {"one column past the edge", 62, 10, 0xFF, false},
      {"last rows", 10, 62, 0xFF, true},
      {"one row past the edge", 10, 63, 0xFF, false},
  };
  for (const Case& c : cases) {
    BuildingWorld w;
    auto* type = w.manager.Define(kClass_Building, "Hall", 1, 3, 2);
    BOInstance* object = w.manager.SelectBuildingType(kClass_Building, type->GetId(), 1);
    ASSERT_NE(object, nullptr) << c.name;
    const uint32_t cx = std::min(c.x + 2, 63), cy = std::min(c.y + 1, 63);
    CellWord(w, cx, cy) = c.flagsAtCorner;
    EXPECT_EQ(w.manager.CanPlaceAt(object, static_cast<uint16_t>(c.x), static_cast<uint16_t>(c.y)), c.expected)
        << c.name;
    delete object;
  }
}

TEST(BuildingPlacement, RoadAccessPointsTurnWithTheBuildingAndNameTheirCells) {
  struct Case {
    const char* name;
    uint8_t rotation;
    uint16_t x;
    uint16_t y;
    uint8_t direction;
  };
  // Access point (0, -1) facing 0 on a building at (10, 10).
  const Case cases[] = {
      {"rotation 0", 0, 10, 9, 0},
      {"rotation 1", 1, 9, 10, 3},
      {"rotation 2", 2, 10, 11, 2},
      {"rotation 3", 3, 11, 10, 1},
  };
  for (const Case& c : cases) {
    BuildingWorld w;
    auto* type = w.manager.Define(kClass_Building, "Shop", 1, 1, 1);
    type->AddAccessPoint(RAStruct{0, -1, 0, 0});
    BOInstance* b = w.manager.Place(type, 10, 10, c.rotation);
    std::vector<RoadAccessCell> cells;
    w.manager.GetRoadAccessCells(b, cells);
    ASSERT_EQ(cells.size(), 1u) << c.name;
    EXPECT_EQ(cells[0].x, c.x) << c.name;
    EXPECT_EQ(cells[0].y, c.y) << c.name;
    EXPECT_EQ(cells[0].direction, c.direction) << c.name;
  }
}

TEST(BuildingPlacement, TheRoadAccessCodeTellsAccessPointsFromOtherBuildingCells) {
  BuildingWorld w;
  auto* type = w.manager.Define(kClass_Building, "Shop", 1, 2, 2);
  type->AddAccessPoint(RAStruct{1, 1, 2, 0});
  ASSERT_NE(w.Build(type, 20, 20), nullptr);
  EXPECT_EQ(w.manager.CheckPlacementAt(21, 21), 2);  // the access point, facing +y
  EXPECT_EQ(w.manager.CheckPlacementAt(20, 20), 5);  // the building, no access point
  EXPECT_EQ(w.manager.CheckPlacementAt(30, 30), 4);  // no building
  EXPECT_EQ(w.manager.CheckPlacementAt(-1, 20), 4);
}

TEST(BuildingPlacement, ACommittedBuildingIsChargedMarkedAndBuiltInItsHours) {
  BuildingWorld w;
  auto* type = w.manager.Define(kClass_Building, "Hangar", 1, 2, 3);
  type->SetBuildCost(5000.0f);
  type->SetBuildTime(2);
  const double before = w.Cash();
  BOInstance* b = w.Build(type, 5, 6);
  ASSERT_NE(b, nullptr);
  EXPECT_DOUBLE_EQ(w.Cash(), before - 5000.0);
  EXPECT_EQ(b->constructionTimeLeft, 48);
  EXPECT_TRUE(w.Listed(cEntity_BuildingManager::kIcon_Construction, b));
  for (uint16_t y = 6; y < 9; ++y)
    for (uint16_t x = 5; x < 7; ++x) EXPECT_EQ(w.manager.GetInstanceAt(x, y), b) << x << "," << y;
  EXPECT_EQ(w.manager.GetInstanceAt(7, 6), nullptr);
  for (int hour = 0; hour < 47; ++hour) w.Event(kTimeEvent_Hour);
  EXPECT_EQ(b->constructionTimeLeft, 1);
  EXPECT_TRUE(w.manager.placed.empty());
  w.Event(kTimeEvent_Hour);
  EXPECT_FALSE(w.Listed(cEntity_BuildingManager::kIcon_Construction, b));
  ASSERT_EQ(w.manager.placed.size(), 1u);
  EXPECT_EQ(w.manager.placed[0], b);
  EXPECT_TRUE(b->functional);

  w.manager.RemoveInstance(b);
  EXPECT_TRUE(w.manager.placed.empty());
  EXPECT_EQ(w.manager.GetInstanceAt(5, 6), nullptr);
  EXPECT_EQ(type->GetInstanceCount(), 0u);
  std::unique_ptr<BOInstance> again(w.manager.SelectBuildingType(kClass_Building, type->GetId(), 1));
  EXPECT_TRUE(w.manager.CanPlaceAt(again.get(), 5, 6));
}

TEST(BuildingPlacement, ConstructionHoursFollowTheBuildDelaySwitchAndHoldAtTheCounterTop) {
  struct Case {
    const char* name;
    uint8_t delay;
    uint16_t days;
    uint16_t hours;
  };
  const Case cases[] = {
      {"delay on", 1, 3, 72},
      {"delay off", 0, 3, 1},
      {"largest that fits", 1, 2730, 65520},
      {"past 16 bits holds at the top", 1, 3000, 65535},
  };
  for (const Case& c : cases) {
    BuildingWorld w;
    w.manager.buildTimeMode = c.delay;
    auto* type = w.manager.Define(kClass_Building, "Depot", 1);
    type->SetBuildTime(c.days);
    BOInstance* b = w.Build(type, 3, 3);
    ASSERT_NE(b, nullptr) << c.name;
    EXPECT_EQ(b->constructionTimeLeft, c.hours) << c.name;
  }
  BuildingWorld w;
  w.manager.buildTimeMode = 0;
  BOInstance* quick = w.Build(w.manager.Define(kClass_Building, "Kiosk", 1), 3, 3);
  w.Event(kTimeEvent_Hour);
  EXPECT_EQ(quick->constructionTimeLeft, 0);
  EXPECT_EQ(w.manager.placed.size(), 1u);
}

TEST(BuildingPlacement, SelectionGivesNothingWithoutATypeOrAFreeSerial) {
  BuildingWorld w;
  auto* type = w.manager.Define(kClass_Building, "Booth", 1, 1, 1);
  EXPECT_EQ(w.manager.SelectBuildingType(kClass_Building, 99, 1), nullptr);
  EXPECT_EQ(w.manager.SelectBuildingType(kClass_Building, type->GetId(), 2), nullptr);
  EXPECT_EQ(w.manager.SelectBuildingType(kBuildingClassCount, 0, 1), nullptr);
  for (int i = 0; i < 512; ++i) ASSERT_NE(w.manager.Place(type, static_cast<uint16_t>(i % 64), 0), nullptr);
  w.roads.world.widgets.calls.clear();
  EXPECT_EQ(w.manager.SelectBuildingType(kClass_Building, type->GetId(), 1), nullptr);
  EXPECT_EQ(w.roads.world.widgets.calls, std::vector<std::string>{"show scnZoningDialog"});
}

TEST(BuildingPlacement, DemolishModeSwitchesOnceEachWayAndDropsThePlacement) {
  BuildingWorld w;
  auto* type = w.manager.Define(kClass_Building, "Booth", 1, 1, 1);
  w.manager.SetPlacementObject(w.manager.SelectBuildingType(kClass_Building, type->GetId(), 1), true);
  EXPECT_FALSE(w.manager.LeaveDemolishMode());
  EXPECT_TRUE(w.manager.EnterDemolishMode());
  EXPECT_EQ(w.manager.GetPlacementObject(), nullptr);
  EXPECT_FALSE(w.manager.EnterDemolishMode());
  EXPECT_EQ(w.manager.demolishMode, 1);
  EXPECT_TRUE(w.manager.LeaveDemolishMode());
  EXPECT_FALSE(w.manager.LeaveDemolishMode());
  EXPECT_EQ(w.manager.demolishMode, 0);
}

TEST(BuildingPlacement, RotationTurnsBackwardsAndRoadsDoNotTurn) {
  BuildingWorld w;
  auto* type = w.manager.Define(kClass_Building, "Booth", 1, 1, 1);
  BOInstance* object = w.manager.SelectBuildingType(kClass_Building, type->GetId(), 1);
  const uint8_t expected[] = {3, 2, 1, 0, 3};
  for (uint8_t r : expected) {
    w.manager.RotatePlacementObject(object);
    EXPECT_EQ(object->rotation, r);
  }
  delete object;
  BOInstance* road = w.manager.SelectBuildingType(kClass_Road, 0, 1);
  ASSERT_NE(road, nullptr);
  w.manager.RotatePlacementObject(road);
  EXPECT_EQ(road->rotation, 0);
  w.manager.RotatePlacementObject(nullptr);
  delete road;
}
