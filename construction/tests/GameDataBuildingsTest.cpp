// The game's building data from the assembled run tree, read by the building
// manager's own table readers: every type it describes is made with its
// models, the names the rest of the game looks up are there at their class
// and level, every technology level can be reached, terminals work with
// their default furniture, the vehicles are offered, and every file named
// is in the run tree (models pass ssmtool's check).
#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "construction/BuildableObject.h"
#include "construction/Facilities.h"
#include "construction/TerminalInstance.h"
#include "construction/TerminalItem.h"
#include "construction/tests/BoxRecorder.h"
#include "engine/services/C3DResource.h"
#include "construction/tests/DefinitionWorld.h"
#include "engine/files/DataFile.h"
#include "platform/DebugOutput.h"
#include "platform/Paths.h"

namespace {

using buildtest::DefinitionWorld;

bool InRunTree(const std::string& name) {
  std::string resolved;
  return platform::ResolvePath(name, &resolved, GAME_DATA_DIR);
}

class GameDataBuildingsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    world.renderer.onlyExisting = true;
    world.renderer.exists = [](const std::string& path) {
      std::string resolved;
      return platform::ResolvePath(path, &resolved);
    };
    ASSERT_EQ(world.manager.LoadDataTables(), 0);
  }

  std::vector<cBuildableObject*> AllTypes() {
    std::vector<cBuildableObject*> types;
    for (uint8_t c = 0; c < kBuildingClassCount; ++c)
      for (uint16_t id = 0; id < world.manager.GetTypeIdCount(c); ++id)
        for (uint8_t level = 0; level < kBuildingLevelCount; ++level)
          if (cBuildableObject* type = world.manager.GetBuildingType(c, id, level)) types.push_back(type);
    return types;
  }

  buildtest::BoxRecorder boxes;
  DefinitionWorld world{GAME_DATA_DIR};
};

TEST_F(GameDataBuildingsTest, EveryTypeIsMadeWithItsModels) {
  EXPECT_TRUE(boxes.boxes.empty()) << boxes.boxes.front();
  const std::vector<cBuildableObject*> types = AllTypes();
  EXPECT_GE(types.size(), 40u);
  std::set<uint8_t> classes, categories;
  for (cBuildableObject* type : types) {
    SCOPED_TRACE(type->GetName());
    classes.insert(type->GetClass());
    categories.insert(type->GetCategory());
    EXPECT_NE(type->GetModelObject(), nullptr) << type->GetModel();
    EXPECT_NE(type->GetThumbnailObject(), nullptr);
    EXPECT_LE(type->GetName().size(), cEntity_BuildingManager::kMaxTypeNameLength);
    EXPECT_GE(type->GetRequiredYear(), 1970);
    EXPECT_LE(type->GetTechLevel(), 7u);
    EXPECT_GT(type->GetRectCount(), 0);
  }
  EXPECT_EQ(classes.size(), kBuildingClassCount);
  EXPECT_EQ(categories.size(), kCategoryCount);
  EXPECT_EQ(world.scenery.size(), 1u) << "the static definition";
}

TEST_F(GameDataBuildingsTest, NamesTheGameLooksUpStandAtTheirClassAndLevel) {
  struct Need {
    uint8_t classCode;
    const char* name;
    uint8_t level;
  };
  const Need needs[] = {
      {kClass_Runway, "2000 Meter Runway", 1}, {kClass_Runway, "3500 Meter Runway", 1},
      {kClass_Road, "Road", 1},                {kClass_Road, "Taxiway", 1},
      {kClass_Road, "Apron", 1},               {kClass_Service, "Plane Maintain", 1},
      {kClass_Service, "Turnaround", 1},       {kClass_Service, "Turnaround", 2},
      {kClass_Service, "Turnaround", 3},       {kClass_Service, "Airport Maintain", 1},
      {kClass_Organizational, "Control Tower", 1}, {kClass_Organizational, "Control Tower", 2},
      {kClass_Organizational, "Control Tower", 3}, {kClass_Emergency, "fire station", 1},
      {kClass_Emergency, "fire station", 2},   {kClass_Emergency, "fire station", 3},
      {kClass_Security, "police station", 1},  {kClass_Security, "police station", 2},
      {kClass_Security, "police station", 3},  {kClass_Admin, "Admin", 1},
      {kClass_Admin, "Admin", 2},              {kClass_Admin, "Admin", 3},
      {kClass_Admin, "Customs", 1},            {kClass_Storage, "Cargo", 1},
      {kClass_Storage, "Cargo", 2},            {kClass_Storage, "Cold Storage", 1},
      {kClass_Storage, "Cold Storage", 2},     {kClass_Parking, "Parking", 1},
      {kClass_Parking, "Parking", 2},          {kClass_Parking, "Parking", 3},
  };
  for (const Need& need : needs) {
    SCOPED_TRACE(need.name);
    cBuildableObject* type = world.Type(need.classCode, need.name, need.level);
    ASSERT_NE(type, nullptr) << "level " << int(need.level);
  }
  auto* small = dynamic_cast<cRunway*>(world.Type(kClass_Runway, "2000 Meter Runway", 1));
  ASSERT_NE(small, nullptr);
  EXPECT_EQ(small->runwayLength, 2000);
  EXPECT_GE(small->GetTaxiwayAccessPoints()->size(), 2u);
  // The maintenance kinds ride on service and storage types.
  int32_t kinds = 0;
  for (cBuildableObject* type : AllTypes()) {
    if (auto* building = dynamic_cast<cBuilding*>(type)) kinds |= building->ambient.flags;
  }
  for (int32_t kind : {0x08, 0x10, 0x20, 0x40, 0x80, 0x200, 0x800}) EXPECT_TRUE(kinds & kind) << kind;
}

TEST_F(GameDataBuildingsTest, BusinessesMatchTheAmenityTable) {
  CDataFile businesses;
  ASSERT_TRUE(businesses.Load(std::string(GAME_DATA_DIR) + "Amenities/Base.kvb"));
  std::vector<std::string> names;
  businesses.GetSectionNames(&names);
  ASSERT_FALSE(names.empty());
  for (const std::string& name : names) {
    SCOPED_TRACE(name);
    if (businesses.GetInt("business_type", name) >= 4) {
      TerminalItem* shop = world.manager.FindTerminalObject(name);
      ASSERT_NE(shop, nullptr);
      EXPECT_EQ(shop->kind, 4);
    } else {
      EXPECT_NE(world.Type(kClass_Amenity, name, 1), nullptr);
    }
  }
}

TEST_F(GameDataBuildingsTest, EveryTechnologyLevelCanBeReached) {
  std::set<uint32_t> offered;
  for (cBuildableObject* type : AllTypes()) offered.insert(type->GetTechLevel());
  for (uint32_t level = 0; level <= 7; ++level) EXPECT_TRUE(offered.count(level)) << "no type at tech " << level;
  for (uint8_t level = 1; level <= 7; ++level) {
    SCOPED_TRACE(int(level));
    const std::vector<OID>& required = world.manager.typeWordGroups[level].listA;
    ASSERT_FALSE(required.empty());
    for (OID word : required) {
      cBuildableObject* type = world.manager.GetBuildingType(OidClass(word), OidId(word), OidLevel(word));
      ASSERT_NE(type, nullptr);
      EXPECT_LT(type->GetTechLevel(), level) << type->GetName() << " is needed before it can be built";
    }
  }
  for (uint8_t level = 8; level < kTechnologyFlagCount; ++level)
    EXPECT_TRUE(world.manager.typeWordGroups[level].listA.empty());
}

TEST_F(GameDataBuildingsTest, TerminalsWorkWithTheirDefaultItems) {
  size_t terminals = 0;
  for (cBuildableObject* type : AllTypes()) {
    auto* terminal = dynamic_cast<cTerminal*>(type);
    if (!terminal) continue;
    SCOPED_TRACE(type->GetName() + " level " + std::to_string(type->GetLevel()));
    ++terminals;
    EXPECT_GE(terminal->GetTaxiwayAccessPoints()->size(), 2u) << "gates";
    EXPECT_TRUE(terminal->HasRoadAccess());
    auto* instance = dynamic_cast<TerminalInstance*>(world.manager.Place(type, 0, 0));
    ASSERT_NE(instance, nullptr);
    instance->constructionTimeLeft = 0;
    instance->roadConnections = 1;
    instance->PlaceDefaultItems(&world.manager, "1 January 1970");
    EXPECT_EQ(instance->items.size(), terminal->itemNames.size()) << "every default item fits";
    EXPECT_TRUE(instance->IsFunctional());
  }
  EXPECT_GE(terminals, 4u);
  world.manager.ClearAllInstances();
}

TEST_F(GameDataBuildingsTest, TerminalObjectsFillEveryGroup) {
  for (uint32_t group = 0; group < kTerminalObjectGroups; ++group) {
    SCOPED_TRACE(group);
    EXPECT_GE(world.manager.terminalObjects[group].size(), 3u);
    for (TerminalItem* item : world.manager.terminalObjects[group]) {
      EXPECT_NE(item->defShader, nullptr) << item->name;
      EXPECT_NE(item->movShader, nullptr) << item->name;
      EXPECT_NE(item->depShader, nullptr) << item->name;
      EXPECT_GT(item->width, 0);
      EXPECT_GT(item->length, 0);
      EXPECT_GE(item->year, 1970);
      EXPECT_FALSE(item->tooltip.empty());
      EXPECT_FALSE(item->button.empty());
    }
  }
}

TEST_F(GameDataBuildingsTest, VehiclesAreOffered) {
  EXPECT_GE(world.offered.size(), 13u) << "the table and the ambient definition";
  uint32_t kinds = 0;
  for (const auto& record : world.ambient) {
    SCOPED_TRACE(record->name);
    kinds |= record->kindFlags;
    EXPECT_TRUE(InRunTree(record->modelName)) << record->modelName;
  }
  for (uint32_t kind : {0x02u, 0x04u, 0x08u, 0x10u, 0x20u, 0x40u, 0x80u, 0x100u, 0x200u, 0x400u, 0x800u, 0x1000u})
    EXPECT_TRUE(kinds & kind) << kind;
}

TEST_F(GameDataBuildingsTest, EveryFileNamedIsInTheRunTreeAndModelsPassTheCheck) {
  std::set<std::string> models;
  for (const fake3d::Request& request : world.renderer.requests) {
    // Built-in models (the status icons' planes) are made from their names.
    if (request.flags & RF_BUILTIN) continue;
    EXPECT_TRUE(world.renderer.exists(request.name)) << request.name;
    if (request.what == "model") models.insert(request.name);
  }
  for (const auto& record : world.ambient) models.insert(std::string(GAME_DATA_DIR) + record->modelName);
  for (cBuildableObject* type : AllTypes()) {
    const std::string thumbnail = type->GetThumbnail();
    ASSERT_GT(thumbnail.size(), 4u) << type->GetName();
    EXPECT_TRUE(InRunTree(thumbnail)) << thumbnail;
    EXPECT_TRUE(InRunTree(thumbnail.substr(0, thumbnail.size() - 4) + "_bw.jsm")) << thumbnail;
  }
  ASSERT_FALSE(models.empty());
  for (const std::string& model : models) {
    std::string resolved;
    ASSERT_TRUE(platform::ResolvePath(model, &resolved)) << model;
    const std::string command = std::string("\"") + SSMTOOL + "\" --check \"" + resolved + "\" >/dev/null";
    EXPECT_EQ(std::system(command.c_str()), 0) << model;
  }
}

}  // namespace
