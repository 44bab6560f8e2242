#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "construction/tests/BuildingSaveWorld.h"

namespace {

using buildtest::Bytes;
using buildtest::PutEmptyTechnology;
using buildtest::PutRecord;
using buildtest::SaveWorld;
using buildtest::TestBuildingManager;

TEST(BuildingSaveTest, AnAirportWithoutBuildingsSaves164Bytes) {
  SaveWorld world;
  const std::vector<uint8_t> blob = world.Save();
  EXPECT_EQ(blob.size(), 4u + 16 + 16 * 9);
  // Restoring it and saving again gives the same bytes.
  SaveWorld again;
  again.Restore(blob);
  EXPECT_EQ(again.Save(), blob);
}

TEST(BuildingSaveTest, EveryClassBlockRoundTripsByteExact) {
  SaveWorld world;
  world.Populate();
  const std::vector<uint8_t> blob = world.Save();
  // The 60-character cargo owner is stored as its first 50 characters.
  const std::string cut(50, 'c');
  EXPECT_NE(std::search(blob.begin(), blob.end(), cut.begin(), cut.end()), blob.end());
  const std::string longer(51, 'c');
  EXPECT_EQ(std::search(blob.begin(), blob.end(), longer.begin(), longer.end()), blob.end());

  SaveWorld restored;
  restored.Restore(blob);
  const std::vector<uint8_t> again = restored.Save();
  ASSERT_EQ(again.size(), blob.size());
  for (size_t i = 0; i < blob.size(); ++i) ASSERT_EQ(again[i], blob[i]) << "byte " << i;

  // Lists and details came back.
  EXPECT_EQ(restored.manager.terminals.size(), 1u);
  EXPECT_EQ(restored.manager.runways.size(), 1u);
  EXPECT_EQ(restored.manager.maintenanceServices.size(), 1u);
  EXPECT_EQ(restored.manager.controlTowers.size(), 1u);
  EXPECT_EQ(restored.manager.statusGroups[0].size(), 1u);  // the unfinished admin
  EXPECT_TRUE(restored.manager.adminBuildings.empty());
  EXPECT_EQ(restored.manager.restoredRunways, 1u);
  BOInstance* office = restored.manager.GetInstanceAt(10, 10);
  ASSERT_NE(office, nullptr);
  EXPECT_EQ(office->GetType(), restored.office);
  EXPECT_EQ(office->owner, restored.contracts.airlineLists[kList_Active][0]);
  EXPECT_FLOAT_EQ(office->health, 0.25f);
  EXPECT_FLOAT_EQ(office->serviceValue, 300.0f);
  auto* terminal = dynamic_cast<TerminalInstance*>(restored.manager.terminals[0]);
  ASSERT_NE(terminal, nullptr);
  ASSERT_EQ(terminal->items.size(), 3u);
  EXPECT_EQ(terminal->items[0].contract, restored.contracts.airlineLists[kList_Active][0]);
  EXPECT_TRUE(terminal->IsFunctional());
  EXPECT_EQ(restored.manager.technologyFlags[3], 1);
  EXPECT_EQ(restored.manager.typeWordGroups[2].number, 9u);
  EXPECT_EQ(restored.manager.GetBlobSize(), 0u);
  // Cells and mini-map carry the restored buildings (the office is turned
  // once: its cells run from row 9).
  EXPECT_EQ(restored.plot.GetCellWord(10 * 640 + 10), static_cast<uint32_t>(kClass_Building) << 4);
  EXPECT_EQ(restored.plot.GetMiniMapPixels()[1 * 128 + 2], cEntity_GamePlot::kPalette[kClass_Building]);
}

TEST(BuildingSaveTest, RestoreCases) {
  struct Case {
    const char* name;
    void (*write)(SaveRecordWriter& out);
    const char* typeName;  // type of the building found at (10, 10), or null for none
    float health;
    float serviceValue;
    uint8_t classCode;
  };
  const Case cases[] = {
      {"class 0 stays an object",
       [](SaveRecordWriter& out) {
         out.PutU32(1);
         PutRecord(out, kClass_Object, "Bench", 0, 0, 0.75f, 0, 10, 10, 0, 0);
       },
       "Bench", 0.75f, 100.0f, kClass_Object},
      {"class 13 is skipped with its 124 bytes",
       [](SaveRecordWriter& out) {
         out.PutU32(2);
         PutRecord(out, kClass_None, "Office", 1, 0, 1.0f, 0, 10, 10, 0, 0);
         PutRecord(out, kClass_Building, "office", 1, 0, 0.5f, 0, 10, 10, 0, 2);
       },
       "Office", 0.5f, 500.0f, kClass_Building},
      {"a dropped terminal skips 2 + 68 x M bytes",
       [](SaveRecordWriter& out) {
         out.PutU32(2);
         PutRecord(out, kClass_Terminal, "Gone Terminal", 1, 0, 1.0f, 0, 40, 40, 0, 0);
         out.PutU16(3);
         for (int i = 0; i < 3; ++i) {
           uint8_t item[68] = {};
           std::memcpy(item, "Desk 0", 6);
           out.PutBytes(item, sizeof item);
         }
         PutRecord(out, kClass_Building, "Office", 1, 4, 0.5f, 0, 10, 10, 1, 7);
       },
       "Office", 0.5f, 500.0f, kClass_Building},
      {"a terminal comes back at health 1.0",
       [](SaveRecordWriter& out) {
         out.PutU32(1);
         PutRecord(out, kClass_Terminal, "Terminal", 1, 0, 0.1f, 0, 10, 10, 0, -1);
         out.PutU16(0);
       },
       "Terminal", 1.0f, 500.0f, kClass_Terminal},
      {"a runway comes back at health 1.0",
       [](SaveRecordWriter& out) {
         out.PutU32(1);
         PutRecord(out, kClass_Runway, "2000 Meter Runway", 1, 0, 0.2f, 0, 10, 10, 0, 1);
       },
       "2000 Meter Runway", 1.0f, 300.0f, kClass_Runway},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SaveWorld world;
    SaveRecordWriter out;
    c.write(out);
    PutEmptyTechnology(out);
    world.Restore(Bytes(out));
    BOInstance* found = world.manager.GetInstanceAt(10, 10);
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(found->GetType()->GetName(), c.typeName);
    EXPECT_EQ(OidClass(found->word), c.classCode);
    EXPECT_FLOAT_EQ(found->health, c.health);
    EXPECT_FLOAT_EQ(found->serviceValue, c.serviceValue);
    EXPECT_EQ(world.manager.placed.size(), 1u);
  }
}

TEST(BuildingSaveTest, AdministrationPlacesComeBackAtCapacityAndAreTakenAgain) {
  SaveWorld world;
  world.Populate();
  dynamic_cast<AdminInstance*>(world.admin->GetInstance(0))->constructionTimeLeft = 0;
  const std::vector<uint8_t> blob = world.Save();
  SaveWorld restored;
  std::vector<BOInstance*> assigned;
  restored.manager.hooks.assignToAdmin = [&](BOInstance* building) { assigned.push_back(building); };
  restored.Restore(blob);
  ASSERT_EQ(restored.manager.adminBuildings.size(), 1u);
  EXPECT_EQ(restored.manager.adminBuildings[0]->freePlaces, 5);
  ASSERT_EQ(assigned.size(), 1u);
  EXPECT_EQ(assigned[0], restored.manager.GetInstanceAt(10, 10));
}

TEST(BuildingSaveTest, CorruptBlobsAreRefusedAndChangeNothing) {
  struct Case {
    const char* name;
    void (*write)(SaveRecordWriter& out);
  };
  const Case cases[] = {
      {"shorter than its count", [](SaveRecordWriter& out) { out.PutU16(1); }},
      {"count beyond the bytes", [](SaveRecordWriter& out) { out.PutU32(1000); }},
      {"class code 14",
       [](SaveRecordWriter& out) {
         out.PutU32(1);
         PutRecord(out, 14, "Office", 1, 0, 1.0f, 0, 10, 10, 0, 0);
       }},
      {"level 8",
       [](SaveRecordWriter& out) {
         out.PutU32(1);
         PutRecord(out, kClass_Building, "Office", 8, 0, 1.0f, 0, 10, 10, 0, 0);
       }},
      {"rotation 4",
       [](SaveRecordWriter& out) {
         out.PutU32(1);
         PutRecord(out, kClass_Building, "Office", 1, 0, 1.0f, 0, 10, 10, 4, 0);
       }},
      {"position outside the plot",
       [](SaveRecordWriter& out) {
         out.PutU32(1);
         PutRecord(out, kClass_Building, "Office", 1, 0, 1.0f, 0, 700, 10, 0, 0);
       }},
      {"name without terminator",
       [](SaveRecordWriter& out) {
         out.PutU32(1);
         PutRecord(out, kClass_Building, std::string(33, 'x'), 1, 0, 1.0f, 0, 10, 10, 0, 0);
       }},
      {"terminal items beyond the end",
       [](SaveRecordWriter& out) {
         out.PutU32(1);
         PutRecord(out, kClass_Terminal, "Terminal", 1, 0, 1.0f, 0, 10, 10, 0, 0);
         out.PutU16(50);
       }},
      {"cargo owner of 51 characters",
       [](SaveRecordWriter& out) {
         out.PutU32(1);
         PutRecord(out, kClass_Storage, "Cargo Hall", 1, 0, 1.0f, 0, 10, 10, 0, 0);
         out.PutU32(1);
         out.PutU32(1);
         out.PutU32(51);
         for (int i = 0; i < 51 + 8; ++i) out.PutU8('c');
         out.PutU32(100);
       }},
      {"parking counter cut off",
       [](SaveRecordWriter& out) {
         out.PutU32(1);
         PutRecord(out, kClass_Parking, "Car Park", 2, 0, 1.0f, 0, 10, 10, 0, 0);
         out.PutU16(0);
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SaveWorld world;
    world.manager.technologyFlags[5] = 1;
    SaveRecordWriter out;
    c.write(out);
    if (std::string(c.name) != "shorter than its count" && std::string(c.name) != "count beyond the bytes" &&
        std::string(c.name) != "parking counter cut off")
      PutEmptyTechnology(out);
    const std::vector<uint8_t> blob = Bytes(out);
    std::string why;
    EXPECT_FALSE(world.manager.CheckBlob(blob.data(), static_cast<uint32_t>(blob.size()), &why));
    EXPECT_FALSE(why.empty());
    world.Restore(blob);
    EXPECT_TRUE(world.manager.placed.empty());
    EXPECT_EQ(world.office->GetInstanceCount(), 0u);
    EXPECT_EQ(world.manager.GetInstanceAt(10, 10), nullptr);
    EXPECT_EQ(world.manager.technologyFlags[5], 1);
  }
}

TEST(BuildingSaveTest, ANameTooLongToStoreIsSavedAsAnEmptyRecord) {
  SaveWorld world;
  const std::string longName(40, 'L');
  cBuilding* type = world.manager.Define(kClass_Building, longName, 1);
  ASSERT_NE(type, nullptr);
  world.manager.Place(type, 5, 5);
  const std::vector<uint8_t> blob = world.Save();
  ASSERT_EQ(blob.size(), 4u + 124 + 16 + 16 * 9);
  EXPECT_EQ(blob[4], kClass_None);
}

TEST(BuildingManagerTest, RegistryRules) {
  SaveWorld world;
  TestBuildingManager& manager = world.manager;
  // (class 2, id 5, level 3) on a class with no ids grows it to 6 entries.
  auto* amenity = new cAmenity(&manager);
  amenity->SetClass(2);
  amenity->SetId(5);
  amenity->SetLevel(3);
  amenity->SetCategory(1);
  const uint16_t before = manager.GetCategoryTypeCount(1);
  ASSERT_TRUE(manager.RegisterType(amenity));
  EXPECT_EQ(manager.GetTypeIdCount(2), 6);
  EXPECT_EQ(manager.GetCategoryTypeCount(1), before + 1);
  auto* again = new cAmenity(&manager);
  again->SetClass(2);
  again->SetId(5);
  again->SetLevel(3);
  again->SetCategory(1);
  EXPECT_FALSE(manager.RegisterType(again));
  EXPECT_EQ(manager.GetCategoryTypeCount(1), before + 1);
  delete again;
  EXPECT_EQ(manager.GetBuildingType(2, 5, 3), amenity);
  EXPECT_EQ(manager.GetBuildingType(2, 6, 3), nullptr);
  EXPECT_EQ(manager.GetBuildingType(2, 4, 3), nullptr);
  // Names give ids without regard to case; another class is independent.
  EXPECT_EQ(manager.AddType(kClass_Building, "OFFICE"), world.office->GetId());
  EXPECT_EQ(manager.AddType(kClass_Terminal, "Office"), 1);
  EXPECT_EQ(manager.FindTypeByName("control TOWER", 1), world.tower);
  EXPECT_EQ(manager.FindTypeByName("Control Tower", 2), nullptr);
  EXPECT_EQ(manager.GetCategoryName(6), "Emergency Services");
  manager.InitClassNames();
  ASSERT_EQ(manager.GetClassNames().size(), 13u);
  EXPECT_EQ(manager.GetClassNames()[9], "Emergency Services");
  EXPECT_FLOAT_EQ(manager.baseRateOfDecay, 0.00033333333f);
}

TEST(BuildingManagerTest, NewGameTechnologyAndClockRegistration) {
  SaveWorld world;
  world.manager.technologyFlags[4] = 1;
  world.manager.typeWordGroups[1].listB = {MakeOid(1, 0, 1)};
  world.manager.RestoreFromSave();
  EXPECT_EQ(world.manager.technologyFlags[0], 1);
  EXPECT_EQ(world.manager.technologyFlags[4], 0);
  for (const TypeWordGroup& group : world.manager.typeWordGroups) {
    EXPECT_EQ(group.number, 14u);
    EXPECT_TRUE(group.listB.empty());
  }
  EXPECT_EQ(world.manager.typeWordGroups[1].listA.size(), 1u);
  EXPECT_EQ(world.manager.eventMask, 0x1Du);
}

TEST(BuildingManagerTest, ResetEmptiesEveryListAndKeepsTheTypes) {
  SaveWorld world;
  world.Populate();
  world.Restore(world.Save());  // lists filled by the restore on top
  world.manager.Reset();
  EXPECT_TRUE(world.manager.placed.empty());
  EXPECT_TRUE(world.manager.terminals.empty());
  EXPECT_TRUE(world.manager.statusGroups[0].empty());
  EXPECT_EQ(world.office->GetInstanceCount(), 0u);
  EXPECT_EQ(world.manager.GetBuildingType(kClass_Building, world.office->GetId(), 1), world.office);
  EXPECT_EQ(world.manager.eventMask, 0u);
}

}  // namespace

namespace {

TEST(BuildingSaveTest, APlotWithoutClockOrRendererStillSells) {
  buildtest::SaveWorld world;
  ASSERT_EQ(world.plot.BuildWorld(), 0);
  world.plot.BeginPurchaseSelection(0, 0);
  world.plot.ExtendPurchaseSelection(9, 9);
  world.plot.PurchaseSelection();
  EXPECT_TRUE(world.plot.IsOwned(9 * 40 + 9));
}

}  // namespace
