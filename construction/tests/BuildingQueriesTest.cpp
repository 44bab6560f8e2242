#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "construction/BuildingInstances.h"
#include "construction/Facilities.h"
#include "construction/tests/BuildingWorld.h"
#include "simulation/Contract.h"

using namespace buildtest;

namespace {

class TestContract : public cContract {
 public:
  explicit TestContract(uint8_t kind) : cContract(kind) {}
  void UpdateRequirements(cEntity_BuildingManager*) override {}
  bool CheckRequirements(cKV9_GlobalWrapper*, BOInstance*) override { return true; }
};

}  // namespace

TEST(BuildingQueries, CountsTakeFunctionalBuildingsOfTheOwnerByLevel) {
  BuildingWorld w;
  TestContract airline(1);
  // Gates at levels 0-3 (one each, two at level 2 of which one owned), one
  // unfinished gate at level 3, and a lounge at level 1.
  cBuildableObject* gate[4] = {};
  for (uint8_t level = 0; level < 4; ++level) gate[level] = w.manager.Define(kClass_Building, "Gate", level, 1, 1);
  auto* lounge = w.manager.Define(kClass_Building, "Lounge", 1, 1, 1);
  for (uint8_t level = 0; level < 4; ++level) w.BuildFinished(gate[level], static_cast<uint16_t>(2 * level), 0);
  w.BuildFinished(gate[2], 10, 0)->owner = &airline;
  w.BuildFinished(lounge, 12, 0);
  w.Build(gate[3], 14, 0);  // under construction: not functional

  const uint16_t gateId = gate[0]->GetId();
  const uint16_t loungeId = lounge->GetId();
  struct Case {
    const char* name;
    uint32_t (cEntity_BuildingManager::*count)(uint32_t, cContract*);
    OID word;
    cContract* owner;
    uint32_t expected;
  };
  const Case cases[] = {
      {"type from level 2", &cEntity_BuildingManager::CountInstancesOfType, MakeOid(1, gateId, 2), nullptr, 2},
      {"type from level 0", &cEntity_BuildingManager::CountInstancesOfType, MakeOid(1, gateId, 0), nullptr, 4},
      {"type, owned", &cEntity_BuildingManager::CountInstancesOfType, MakeOid(1, gateId, 2), &airline, 1},
      {"type, id past the class", &cEntity_BuildingManager::CountInstancesOfType, MakeOid(1, 40, 0), nullptr, 0},
      {"from level 1", &cEntity_BuildingManager::CountInstancesFromLevel1, MakeOid(1, gateId, 3), nullptr, 3},
      {"from level 1 (B)", &cEntity_BuildingManager::CountInstancesFromLevel1B, MakeOid(1, gateId, 0), nullptr, 3},
      {"from level 1, id past the class", &cEntity_BuildingManager::CountInstancesFromLevel1, MakeOid(1, 40, 1),
       nullptr, 0},
      {"class", &cEntity_BuildingManager::CountClassInstances, MakeOid(1, loungeId, 5), nullptr, 4},
      {"class (B), owned", &cEntity_BuildingManager::CountClassInstancesB, MakeOid(1, 0, 0), &airline, 1},
      {"empty class", &cEntity_BuildingManager::CountClassInstances, MakeOid(3, 0, 0), nullptr, 0},
  };
  for (const Case& c : cases) EXPECT_EQ((w.manager.*c.count)(c.word, c.owner), c.expected) << c.name;
}

TEST(BuildingQueries, TheTechnologyLevelStopsAtTheFirstLevelNotReached) {
  struct Case {
    const char* name;
    std::vector<int> reached;
    uint8_t level;
  };
  const Case cases[] = {
      {"none", {}, 0},
      {"1 and 3", {1, 3}, 1},
      {"1 to 3", {1, 2, 3}, 3},
      {"3 alone", {3}, 0},
      {"all", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}, 15},
  };
  for (const Case& c : cases) {
    BuildingWorld w;
    for (int level : c.reached) w.manager.technologyFlags[level] = 1;
    EXPECT_EQ(w.manager.GetTechLevel(), c.level) << c.name;
  }
  BuildingWorld w;
  EXPECT_FALSE(w.manager.GetTechFlag(16));  // past the flags: locked
  w.manager.AnnounceTechLevel(4);
  EXPECT_EQ(w.roads.world.pda->posted.back().body, "You may now construct the following items:\n");
  EXPECT_TRUE(w.manager.GetTechFlag(4));
  const size_t posted = w.roads.world.pda->posted.size();
  w.manager.AnnounceTechLevel(16);
  EXPECT_EQ(w.roads.world.pda->posted.size(), posted);
}

TEST(BuildingQueries, RoadCellsLeadToTheBuildingsWhoseAccessFacesThem) {
  BuildingWorld w;
  auto* type = w.manager.Define(kClass_Building, "Shop", 1, 1, 1);
  type->AddAccessPoint(RAStruct{0, 0, 1, 0});
  BOInstance* shop = w.BuildFinished(type, 5, 7);
  EXPECT_EQ(w.manager.FindBuildingByRoadCell(6, 7), shop);
  EXPECT_EQ(w.manager.FindBuildingByRoadCell(4, 7), nullptr);
  BOInstance* found = nullptr;
  EXPECT_TRUE(w.manager.HasRoadAccessAt(5, 7, 1, &found));
  EXPECT_EQ(found, shop);
  EXPECT_FALSE(w.manager.HasRoadAccessAt(5, 7, 2, &found));
  EXPECT_FALSE(w.manager.HasRoadAccessAt(9, 9, 1, &found));
  EXPECT_EQ(found, nullptr);
}

TEST(BuildingQueries, RandomPicksChooseAmongTheBuildingsThatQualify) {
  BuildingWorld w;
  EXPECT_EQ(w.manager.PickRandomInstanceWithFlags(0x200), nullptr);
  EXPECT_EQ(w.manager.PickRandomRoadAccessInstance(), nullptr);
  auto* plain = w.manager.Define<cBuildableObject>(kClass_Object, "Bench", 0, 1, 1);
  auto* fire = w.manager.Define(kClass_Emergency, "Fire Station", 1, 1, 1);
  fire->ambient.flags = 0x200;
  w.BuildFinished(plain, 1, 1);
  BOInstance* a = w.BuildFinished(fire, 3, 1);
  BOInstance* b = w.BuildFinished(fire, 5, 1);
  w.roads.world.random.UseUpper();
  EXPECT_EQ(w.manager.PickRandomInstanceWithFlags(0x200 | 0x800), b);
  EXPECT_EQ(w.manager.PickRandomInstanceWithFlags(0x800), nullptr);
  w.roads.world.random.UseLower();
  EXPECT_EQ(w.manager.PickRandomRoadAccessInstance(), a);
}

TEST(BuildingQueries, TheIterationWalksFunctionalBuildingsByItsMode) {
  BuildingWorld w;
  cBuildableObject* a1 = w.manager.Define(kClass_Building, "A", 1, 1, 1);
  cBuildableObject* a3 = w.manager.Define(kClass_Building, "A", 3, 1, 1);
  cBuildableObject* b2 = w.manager.Define(kClass_Building, "B", 2, 1, 1);
  BOInstance* x = w.BuildFinished(a1, 1, 1);
  BOInstance* y = w.BuildFinished(a3, 3, 1);
  BOInstance* z = w.BuildFinished(b2, 5, 1);
  struct Case {
    const char* name;
    uint8_t mode;
    std::vector<BOInstance*> expected;
  };
  const Case cases[] = {
      {"mode 4: every level of every id", 4, {x, y, z}},
      {"mode 5: the levels of one id", 5, {x, y}},
      {"mode 6: one type only", 6, {}},
  };
  for (const Case& c : cases) {
    w.manager.cursorMode = c.mode;
    w.manager.cursorClass = kClass_Building;
    w.manager.cursorId = a1->GetId();
    w.manager.cursorLevel = 0;
    w.manager.cursorIndex = 0;
    std::vector<BOInstance*> seen;
    BOInstance* next = nullptr;
    while (seen.size() < 10 && w.manager.NextInstance(&next)) seen.push_back(next);
    EXPECT_EQ(seen, c.expected) << c.name;
  }
}

TEST(BuildingQueries, ReleasingAContractFreesItsBuildingsFinishedOrNot) {
  BuildingWorld w;
  TestContract airline(1);
  airline.buildingWord = 77;
  TestContract business(2);
  business.buildingWord = 88;
  std::vector<BOInstance*> released;
  w.manager.hooks.releaseFromAdmin = [&](BOInstance* b) { released.push_back(b); };
  auto* type = w.manager.Define(kClass_Building, "Office", 1, 1, 1);
  BOInstance* done = w.BuildFinished(type, 1, 1);
  BOInstance* building = w.Build(type, 3, 1);
  BOInstance* other = w.Build(type, 5, 1);
  done->owner = &airline;
  building->owner = &airline;
  other->owner = &business;
  w.manager.ReleaseContractBuildings(nullptr);
  EXPECT_TRUE(released.empty());
  w.manager.ReleaseContractBuildings(&airline);
  EXPECT_EQ(done->owner, nullptr);
  EXPECT_EQ(building->owner, nullptr);
  EXPECT_EQ(other->owner, &business);
  EXPECT_EQ(released, (std::vector<BOInstance*>{done, building}));
  EXPECT_EQ(airline.buildingWord, 0u);
  w.manager.ReleaseContractBuildings(&business);
  EXPECT_EQ(business.buildingWord, 88u);
}

TEST(BuildingQueries, MassDropFillsRowsAndStopsAtTheLastRow) {
  BuildingWorld w;
  // Roads are left out; two 20 x 20 halls fit three to a row, three rows.
  w.manager.Define(kClass_Building, "Hall", 1, 20, 20);
  w.manager.Define(kClass_Building, "Hall", 2, 20, 20);
  w.manager.MassDrop(100, 0, 19);
  EXPECT_EQ(w.manager.statusGroups[0].size(), 9u);
  EXPECT_EQ(w.manager.GetInstanceAt(0, 0), w.manager.statusGroups[0][0]);
  EXPECT_EQ(w.manager.GetInstanceAt(45, 45), w.manager.statusGroups[0][8]);
  EXPECT_EQ(w.manager.GetInstanceAt(60, 60), nullptr);
  for (BOInstance* b : w.manager.statusGroups[0]) EXPECT_NE(OidClass(b->word), kClass_Road);
}
