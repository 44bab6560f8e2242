#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <string>
#include <vector>

#include "construction/BuildableObject.h"
#include "construction/Facilities.h"
#include "construction/tests/BoxRecorder.h"
#include "construction/tests/DefinitionWorld.h"
#include "platform/DebugOutput.h"

namespace {

using buildtest::BoxRecorder;
using buildtest::DefinitionWorld;

struct Case {
  const char* name;
  const char* table;
  std::function<void(DefinitionWorld&, const BoxRecorder&)> check;
};

template <typename T>
T* As(cBuildableObject* type) {
  return dynamic_cast<T*>(type);
}

const Case kCases[] = {
    {"same name in another case is one id at two levels",
     "[a]\nclass = terminal\nname = Terminal\nlevel = 1\n[b]\nclass = terminal\nname = terminal\nlevel = 2\n",
     [](DefinitionWorld& w, const BoxRecorder&) {
       EXPECT_EQ(w.manager.GetTypeIdCount(kClass_Terminal), 1);
       ASSERT_NE(w.manager.GetBuildingType(kClass_Terminal, 0, 1), nullptr);
       ASSERT_NE(w.manager.GetBuildingType(kClass_Terminal, 0, 2), nullptr);
       EXPECT_EQ(w.manager.GetBuildingType(kClass_Terminal, 0, 2)->GetName(), "terminal");
     }},
    {"a section with only its name and class makes nothing", "[a]\nclass = building\nname = Shed\n",
     [](DefinitionWorld& w, const BoxRecorder&) {
       EXPECT_EQ(w.manager.GetBuildingType(kClass_Building, 0, 1), nullptr);
       EXPECT_TRUE(w.renderer.requests.empty());
     }},
    {"no level key defines level 1 and the starting values", "[a]\nclass = object\nname = Bench\nmodel = b.ssm\n",
     [](DefinitionWorld& w, const BoxRecorder&) {
       cBuildableObject* type = w.Type(kClass_Object, "Bench", 1);
       ASSERT_NE(type, nullptr);
       EXPECT_EQ(type->GetBuildTime(), 1u);
       EXPECT_EQ(type->GetCategory(), 0);
       EXPECT_EQ(type->GetTechLevel(), 0u);
       EXPECT_EQ(type->GetMonthlyExpense(), 0.0f);
       EXPECT_EQ(type->GetRequiredYear(), 0);
       EXPECT_FALSE(type->HasRoadAccess());
     }},
    {"rects with a count of 0 leaves no footprint",
     "[a]\nclass = building\nname = Kiosk\nrects = <1, 0, 0, 3, 4>\nrects = 0\n",
     [](DefinitionWorld& w, const BoxRecorder&) {
       cBuildableObject* type = w.Type(kClass_Building, "Kiosk", 1);
       ASSERT_NE(type, nullptr);
       EXPECT_EQ(type->GetRectCount(), 0);
     }},
    {"rects read four values each; a short line reads zeros",
     "[a]\nclass = building\nname = Shed\nrects = <2, 1, 2, 3, 4, -1, 5>\n",
     [](DefinitionWorld& w, const BoxRecorder&) {
       cBuildableObject* type = w.Type(kClass_Building, "Shed", 1);
       ASSERT_NE(type, nullptr);
       uint8_t count = 0;
       FootprintRect* rects = nullptr;
       type->GetRects(&count, &rects);
       ASSERT_EQ(count, 2);
       EXPECT_EQ(rects[0].x, 1);
       EXPECT_EQ(rects[0].l, 4);
       EXPECT_EQ(rects[1].x, -1);
       EXPECT_EQ(rects[1].y, 5);
       EXPECT_EQ(rects[1].w, 0);
       EXPECT_EQ(rects[1].l, 0);
     }},
    {"icon_height drops its fraction", "[a]\nclass = building\nname = Mast\nmodel = none.ssm\nicon_height = 2.75\n",
     [](DefinitionWorld& w, const BoxRecorder&) {
       cBuildableObject* type = w.Type(kClass_Building, "Mast", 1);
       ASSERT_NE(type, nullptr);
       EXPECT_EQ(type->GetIconHeight(), 2.0f);
     }},
    {"provides_storage is true only for the word true in any case",
     "[a]\nclass = storage\nname = Cargo\nprovides_storage = TRUE\nprovides_cold_storage = yes\n",
     [](DefinitionWorld& w, const BoxRecorder&) {
       auto* type = As<cStorageFacility>(w.Type(kClass_Storage, "Cargo", 1));
       ASSERT_NE(type, nullptr);
       EXPECT_TRUE(type->providesStorage);
       EXPECT_FALSE(type->providesColdStorage);
     }},
    {"keys holding the access names give one access point each",
     "[a]\nclass = terminal\nname = T\nroadaccess1 = <1, 2, 3>\nroadaccess2 = <4, 5, 0>\nmyroadaccess = <6, 7, 1>\n"
     "taxiwayaccess_a = <0, 9, 2, 1>\ntaxiwayaccess_b = <4, 9, 2, 1>\nroadaccess_taxiwayaccess = <8, 9, 1, 1>\n",
     [](DefinitionWorld& w, const BoxRecorder&) {
       auto* type = As<cTerminal>(w.Type(kClass_Terminal, "T", 1));
       ASSERT_NE(type, nullptr);
       ASSERT_EQ(type->GetRoadAccessPoints()->size(), 3u);
       EXPECT_EQ((*type->GetRoadAccessPoints())[2].x, 6);
       EXPECT_EQ((*type->GetRoadAccessPoints())[2].direction, 1);
       EXPECT_TRUE(type->HasRoadAccess());
       ASSERT_EQ(type->GetTaxiwayAccessPoints()->size(), 3u);
       EXPECT_EQ((*type->GetTaxiwayAccessPoints())[2].x, 8);
       EXPECT_EQ((*type->GetTaxiwayAccessPoints())[1].w, 2);
     }},
    {"roadaccess has no effect on a runway or an organizational building",
     "[a]\nclass = runway\nname = R\nroadaccess = <1, 1, 0>\nambientdata = <5, 0, 0, 0, 0, 0>\n"
     "[b]\nclass = organizational\nname = Tower\nroadaccess = <1, 1, 0>\nambientdata = <5, 0, 0, 0, 0, 0>\n",
     [](DefinitionWorld& w, const BoxRecorder&) {
       auto* runway = As<cRunway>(w.Type(kClass_Runway, "R", 1));
       auto* tower = As<cOrganizationalFacility>(w.Type(kClass_Organizational, "Tower", 1));
       ASSERT_NE(runway, nullptr);
       ASSERT_NE(tower, nullptr);
       EXPECT_TRUE(runway->GetRoadAccessPoints()->empty());
       EXPECT_FALSE(runway->HasRoadAccess());
       EXPECT_TRUE(tower->GetRoadAccessPoints()->empty());
       EXPECT_EQ(tower->ambient.count, 0);
     }},
    {"level 9 and category 7 are reported and held at 7 and 6, even for a discarded type",
     "[a]\nclass = building\nname = Hall\nlevel = 7\ncategory = 2\n"
     "[b]\nclass = building\nname = Hall\nlevel = 9\ncategory = 7\nbuild_cost = 99\n",
     [](DefinitionWorld& w, const BoxRecorder& boxes) {
       ASSERT_EQ(boxes.boxes.size(), 2u);
       EXPECT_NE(boxes.boxes[0].find("Error: The building Hall has an invalid level specified (9)."),
                 std::string::npos);
       EXPECT_NE(boxes.boxes[1].find("Error: The building Hall has an invalid category specified."),
                 std::string::npos);
       cBuildableObject* type = w.Type(kClass_Building, "Hall", 7);
       ASSERT_NE(type, nullptr);
       EXPECT_EQ(type->GetBuildCost(), 0.0f) << "the first definition of a place stays";
       EXPECT_EQ(type->GetCategory(), 2);
     }},
    {"prereq lists the type word at its level; 0 and values of 16 or more list nothing",
     "[a]\nclass = admin\nname = Admin\nlevel = 2\nprereq = 3\n"
     "[b]\nclass = admin\nname = Desk\nprereq = 16\n[c]\nclass = admin\nname = Post\nprereq = -1\n"
     "[d]\nclass = admin\nname = Hut\nprereq = 256\n[e]\nclass = admin\nname = Gate\nprereq = 0\n",
     [](DefinitionWorld& w, const BoxRecorder&) {
       cBuildableObject* admin = w.Type(kClass_Admin, "Admin", 2);
       ASSERT_NE(admin, nullptr);
       for (uint32_t level = 0; level < kTechnologyFlagCount; ++level) {
         const auto& missing = w.manager.typeWordGroups[level].listA;
         if (level == 3) {
           ASSERT_EQ(missing.size(), 1u);
           EXPECT_TRUE(SameType(missing[0], admin->GetTypeWord()));
         } else {
           EXPECT_TRUE(missing.empty()) << "level " << level;
         }
       }
       EXPECT_NE(w.Type(kClass_Admin, "Desk", 1), nullptr) << "only the key is refused";
     }},
    {"a type name of 33 characters is refused, 32 is kept",
     "[a]\nclass = building\nname = ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456\nmodel = a.ssm\n"
     "[b]\nclass = building\nname = ABCDEFGHIJKLMNOPQRSTUVWXYZ012345\nmodel = a.ssm\n",
     [](DefinitionWorld& w, const BoxRecorder&) {
       EXPECT_EQ(w.manager.GetTypeIdCount(kClass_Building), 1);
       ASSERT_NE(w.manager.GetTypeName(kClass_Building, 0), nullptr);
       EXPECT_EQ(w.manager.GetTypeName(kClass_Building, 0)->size(), 32u);
       EXPECT_EQ(w.renderer.requests.size(), 2u) << "model and thumbnail of the kept type only";
     }},
    {"class keywords are exact and unknown ones are ignored",
     "[a]\nclass = Building\nname = A\nmodel = a.ssm\n[b]\nclass = tower\nname = B\nmodel = b.ssm\n"
     "[c]\nclass = emergency\nname = fire station\nmodel = c.ssm\n",
     [](DefinitionWorld& w, const BoxRecorder&) {
       for (uint8_t c = 0; c < kBuildingClassCount; ++c)
         EXPECT_EQ(w.manager.GetTypeIdCount(c), c == kClass_Emergency ? 1 : 0) << "class " << int(c);
     }},
    {"sections without a name or a class are skipped",
     "[a]\nname = Lost\nmodel = a.ssm\n[b]\nclass = building\nmodel = b.ssm\n[c]\n[d]\nclass = building\nname = Kept\n"
     "model = d.ssm\n",
     [](DefinitionWorld& w, const BoxRecorder&) {
       EXPECT_EQ(w.manager.GetTypeIdCount(kClass_Building), 1);
       EXPECT_NE(w.Type(kClass_Building, "Kept", 1), nullptr);
     }},
    {"short key lines read empty values and zeros",
     "[a]\nclass = storage\nname = Shed\nroadaccess = 4\ntaxiwayaccess = <1, 2>\ncargo_dropoffs0 = 3\n"
     "ambientdata = 7\nmodel =\ncapacity =\n",
     [](DefinitionWorld& w, const BoxRecorder&) {
       auto* type = As<cStorageFacility>(w.Type(kClass_Storage, "Shed", 1));
       ASSERT_NE(type, nullptr);
       ASSERT_EQ(type->GetRoadAccessPoints()->size(), 1u);
       EXPECT_EQ((*type->GetRoadAccessPoints())[0].x, 4);
       EXPECT_EQ((*type->GetRoadAccessPoints())[0].y, 0);
       ASSERT_EQ(type->GetTaxiwayAccessPoints()->size(), 1u);
       EXPECT_EQ((*type->GetTaxiwayAccessPoints())[0].w, 0);
       ASSERT_EQ(type->GetDropoffPlaces().size(), 1u);
       EXPECT_EQ(type->GetDropoffPlaces()[0].x, 3);
       EXPECT_EQ(type->GetDropoffPlaces()[0].y, 0);
       EXPECT_EQ(type->GetDropoffPlaces()[0].w, 1);
       EXPECT_EQ(type->ambient.count, 7);
       EXPECT_EQ(type->ambient.flags, 0);
       EXPECT_EQ(type->GetCapacity(), 0);
       EXPECT_EQ(type->GetModel(), "");
     }},
    {"every common key sets its field",
     "[a]\nclass = building\nname = Office\ncategory = 3\nmodel = Models\\office.ssm\nthumbnail = office.jsm\n"
     "width = 4\nlength = 5\nbuild_time = 9\nbuild_cost = 1250.5\nmonthly_expense = 40.25\nrequired_year = 1985\n"
     "level = 2\nsound = hum.wav\ntech_level = 3\nrequires_taxiway = whatever\ncustomer_satisfaction = 1.5\n"
     "security_rating = 2.5\nsafety_rating = 3.5\naesthetic_rating = 4.5\nunknown_key = 1\n",
     [](DefinitionWorld& w, const BoxRecorder&) {
       cBuildableObject* type = w.Type(kClass_Building, "Office", 2);
       ASSERT_NE(type, nullptr);
       EXPECT_EQ(type->GetCategory(), 3);
       EXPECT_EQ(type->GetModel(), "Models\\office.ssm");
       EXPECT_EQ(type->GetThumbnail(), "office.jsm");
       EXPECT_EQ(type->GetWidth(), 4);
       EXPECT_EQ(type->GetLength(), 5);
       EXPECT_EQ(type->GetBuildTime(), 9u);
       EXPECT_EQ(type->GetBuildCost(), 1250.5f);
       EXPECT_EQ(type->GetMonthlyExpense(), 40.25f);
       EXPECT_EQ(type->GetRequiredYear(), 1985);
       EXPECT_EQ(type->GetSound(), "hum.wav");
       EXPECT_EQ(type->GetTechLevel(), 3u);
       EXPECT_TRUE(type->requiresTaxiway);
       EXPECT_EQ(type->GetSatisfactionRating(), 1.5f);
       EXPECT_EQ(type->GetSecurityRating(), 2.5f);
       EXPECT_EQ(type->GetSafetyRating(), 3.5f);
       EXPECT_EQ(type->GetAestheticRating(), 4.5f);
       EXPECT_EQ(OidCategory(type->GetTypeWord()), 3);
     }},
    {"the class keys of each class",
     "[a]\nclass = terminal\nname = T\nterminalitems = <Desk, Scanner, Belt, Bench>\n"
     "interior_space = 144\n"
     "[b]\nclass = runway\nname = R\nrequired_control_tower = 2\nrunway_length = 3500\n"
     "[c]\nclass = emergency\nname = F\nmaintenance_break = 0.25\n"
     "[d]\nclass = service\nname = S\nservice_cost = 0.05\nrepair_capability = 1.5\n"
     "[e]\nclass = amenity\nname = H\ncapacity = 80\nambientdata = <3, 4, 5, 1, 2.5, 0x800>\n"
     "[f]\nclass = parking\nname = P\ncapacity = 120\n[g]\nclass = admin\nname = A\ncapacity = 6\n"
     "[h]\nclass = organizational\nname = O\ncapacity = 2\n[i]\nclass = security\nname = Q\n"
     "ambientdata = <1, 0, 0, 0, 0, 512>\n",
     [](DefinitionWorld& w, const BoxRecorder&) {
       auto* terminal = As<cTerminal>(w.Type(kClass_Terminal, "T", 1));
       ASSERT_NE(terminal, nullptr);
       EXPECT_EQ(terminal->itemNames, (std::vector<std::string>{"Desk", "Scanner", "Belt", "Bench"}));
       EXPECT_EQ(terminal->interiorSpace, 144);
       auto* runway = As<cRunway>(w.Type(kClass_Runway, "R", 1));
       ASSERT_NE(runway, nullptr);
       EXPECT_EQ(runway->requiredTowerLevel, 2);
       EXPECT_EQ(runway->runwayLength, 3500);
       auto* fire = As<cEmergencyFacility>(w.Type(kClass_Emergency, "F", 1));
       ASSERT_NE(fire, nullptr);
       EXPECT_EQ(fire->maintenanceBreak, 0.25f);
       auto* service = As<cServiceFacility>(w.Type(kClass_Service, "S", 1));
       ASSERT_NE(service, nullptr);
       EXPECT_EQ(service->GetServiceCost(), 0.05f);
       EXPECT_EQ(service->repairCapability, 1.5f);
       auto* hotel = As<cAmenity>(w.Type(kClass_Amenity, "H", 1));
       ASSERT_NE(hotel, nullptr);
       EXPECT_EQ(hotel->GetCapacity(), 80);
       EXPECT_EQ(hotel->ambient.count, 3);
       EXPECT_EQ(hotel->ambient.valueB, 4);
       EXPECT_EQ(hotel->ambient.valueC, 5);
       EXPECT_EQ(hotel->ambient.flag, 1);
       EXPECT_EQ(hotel->ambient.valueE, 2.5f);
       EXPECT_EQ(hotel->ambient.flags, 0) << "integers are decimal: 0x800 reads 0";
       EXPECT_EQ(As<cParkingFacility>(w.Type(kClass_Parking, "P", 1))->GetCapacity(), 120);
       EXPECT_EQ(As<cAdminFacility>(w.Type(kClass_Admin, "A", 1))->GetCapacity(), 6);
       EXPECT_EQ(As<cOrganizationalFacility>(w.Type(kClass_Organizational, "O", 1))->GetCapacity(), 2);
       EXPECT_EQ(As<cSecurityFacility>(w.Type(kClass_Security, "Q", 1))->ambient.flags, 512);
     }},
    {"keys are case-sensitive", "[a]\nclass = building\nname = B\nLevel = 3\nBuild_Cost = 5\n",
     [](DefinitionWorld& w, const BoxRecorder&) {
       EXPECT_EQ(w.Type(kClass_Building, "B", 3), nullptr);
       ASSERT_NE(w.Type(kClass_Building, "B", 1), nullptr);
       EXPECT_EQ(w.Type(kClass_Building, "B", 1)->GetBuildCost(), 0.0f);
     }},
};

TEST(BuildingDefinitionTest, TableCases) {
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    BoxRecorder boxes;
    platform::ScopedDebugCapture log;
    DefinitionWorld world;
    world.renderer.refused.insert("Res\\none.ssm");
    EXPECT_TRUE(world.manager.LoadBaseBuildingsFromMemory(c.table));
    c.check(world, boxes);
  }
}

TEST(BuildingDefinitionTest, ParseDefinitionIgnoresEmptyAndUnknownDefinitions) {
  DefinitionWorld world;
  world.manager.ParseDefinition({});
  world.manager.ParseDefinition({{"building"}});
  world.manager.ParseDefinition({{}, {"model", "a.ssm"}});
  world.manager.ParseDefinition({{"building", "Shed"}, {}, {"model", "a.ssm"}});
  EXPECT_EQ(world.manager.GetTypeIdCount(kClass_Building), 1) << "an empty key line is passed over";
  ASSERT_NE(world.Type(kClass_Building, "Shed", 1), nullptr);
}

TEST(BuildingDefinitionTest, SsmModelIsUnsharedUntintedWithItsNormalAnimation) {
  DefinitionWorld world;
  world.renderer.animations["Res\\Models\\tower.ssm"] = {"spin", "NORMAL", "normal"};
  world.manager.ParseDefinition({{"organizational", "Control Tower"}, {"model", "Models\\tower.ssm"}});
  cBuildableObject* type = world.Type(kClass_Organizational, "Control Tower", 1);
  ASSERT_NE(type, nullptr);
  const std::vector<fake3d::Request> expected = {{"model", 0x48, "Res\\Models\\tower.ssm"},
                                                 {"model", 0x48, "Res\\Models\\tower.ssm"}};
  EXPECT_EQ(world.renderer.requests, expected);
  EXPECT_EQ(world.renderer.modelVertexColour, 0xFFFFFFFFu);
  ASSERT_EQ(world.renderer.models.size(), 2u);
  EXPECT_EQ(type->GetModelObject(), world.renderer.models[0].get());
  EXPECT_EQ(type->GetThumbnailObject(), world.renderer.models[1].get());
  EXPECT_EQ(type->animationIndex, 1);
  for (const auto& material : world.renderer.materials)
    EXPECT_EQ(material->calls, (std::vector<std::string>{"blend 0 0 0", "disable 1"}));
}

TEST(BuildingDefinitionTest, OtherModelPathsBecomeFlatModelsOfTheirShader) {
  DefinitionWorld world;
  world.manager.ParseDefinition({{"road", "Road"}, {"model", "polymesh_Textures\\polymesh_road.jsm"}});
  cBuildableObject* type = world.Type(kClass_Road, "Road", 1);
  ASSERT_NE(type, nullptr);
  EXPECT_EQ(world.manager.planes, (std::vector<std::string>{"Res\\Textures\\road.jsm", "Res\\Textures\\road.jsm"}));
  EXPECT_NE(type->GetModelObject(), nullptr);
  EXPECT_NE(type->GetThumbnailObject(), nullptr);
  EXPECT_EQ(type->animationIndex, 0);
  EXPECT_EQ(cEntity_BuildingManager::MakeModelName("polymesh_a_polymesh_polymesh_b"), "a_b");
}

TEST(BuildingDefinitionTest, TypeWhoseModelFailsStaysWithoutOneAndDrawsNothing) {
  DefinitionWorld world;
  world.renderer.refused.insert("Res\\broken.ssm");
  platform::ScopedDebugCapture log;
  world.manager.ParseDefinition({{"building", "Broken"}, {"model", "broken.ssm"}, {"rects", "1", "0", "0", "2", "2"}});
  cBuildableObject* type = world.Type(kClass_Building, "Broken", 1);
  ASSERT_NE(type, nullptr);
  EXPECT_EQ(type->GetModelObject(), nullptr);
  EXPECT_EQ(type->GetThumbnailObject(), nullptr);
  EXPECT_EQ(world.renderer.requests.size(), 1u) << "no thumbnail is asked for once the model failed";
  EXPECT_TRUE(log.Contains("Broken: no model"));
  // Placed, drawn, picked up for placement and cleared: nothing touches the missing model.
  BOInstance* placed = world.manager.Place(type, 3, 3);
  world.manager.SetPlacementObject(type->CreateInstance(), true);
  C3DPass* pass = world.renderer.InsertPass(0);
  ASSERT_NE(pass, nullptr);
  EXPECT_EQ(world.manager.Render(pass, &world.renderer), 0);
  EXPECT_TRUE(world.renderer.draws.empty());
  world.manager.placed.erase(std::find(world.manager.placed.begin(), world.manager.placed.end(), placed));
  world.manager.SetPlacementObject(nullptr, true);
  type->ClearInstances(true);
}

TEST(BuildingDefinitionTest, StaticDefinitionsHandTheirModelsToTheTerrain) {
  DefinitionWorld world;
  world.manager.ParseDefinition(
      {{"static", "Trees"}, {"model", "tree.ssm"}, {"sound", "x.wav"}, {"model", "rock.ssm"}, {"level", "2"}});
  ASSERT_EQ(world.scenery.size(), 2u);
  EXPECT_EQ(world.scenery[0].first->GetName(), "Res\\tree.ssm");
  EXPECT_EQ(world.scenery[1].first->GetName(), "Res\\rock.ssm");
  EXPECT_EQ(world.scenery[0].second, std::vector<std::string>(4));
  for (uint8_t c = 0; c < kBuildingClassCount; ++c) EXPECT_EQ(world.manager.GetTypeIdCount(c), 0);
  // Without a terrain to take it, the model goes back to the renderer.
  world.manager.hooks.addStaticModel = nullptr;
  world.manager.ParseDefinition({{"static", "Rock"}, {"model", "rock.ssm"}});
  EXPECT_EQ(world.renderer.models.back()->GetRefCount(), 0);
}

TEST(BuildingDefinitionTest, AmbientDefinitionsOfferOneRecordEach) {
  DefinitionWorld world;
  world.manager.ParseDefinition({{"ambient", "Tug"},
                                 {"model", "tug.ssm"},
                                 {"type", "2048"},
                                 {"sound", "tug.wav"},
                                 {"capacity", "5"}});
  world.manager.ParseDefinition({{"ambient", "Nothing"}});
  world.acceptAmbient = false;
  world.manager.ParseDefinition({{"ambient", "Refused"}, {"model", "x.ssm"}});
  EXPECT_EQ(world.offered, (std::vector<std::string>{"Tug", "Refused"}));
  ASSERT_EQ(world.ambient.size(), 1u);
  EXPECT_EQ(world.ambient[0]->modelName, "tug.ssm");
  EXPECT_EQ(world.ambient[0]->sound, "tug.wav");
  EXPECT_EQ(world.ambient[0]->kindFlags, 2048u);
  EXPECT_EQ(world.ambient[0]->state, 0);
  EXPECT_TRUE(world.ambient[0]->originKinds.empty());
  EXPECT_TRUE(world.renderer.requests.empty()) << "an ambient record loads no model";
}

TEST(BuildingDefinitionTest, MalformedTableLoadsNothing) {
  struct Bad {
    const char* name;
    const char* text;
  };
  const Bad bad[] = {
      {"quoted value never closes", "[a]\nclass = building\nname = A\nmodel = \"open\n"},
      {"control character", "[a]\nclass = building\nname = A\x01\nmodel = a.ssm\n"},
  };
  for (const Bad& b : bad) {
    SCOPED_TRACE(b.name);
    platform::ScopedDebugCapture log;
    DefinitionWorld world;
    EXPECT_FALSE(world.manager.LoadBaseBuildingsFromMemory(b.text));
    EXPECT_EQ(world.manager.GetTypeIdCount(kClass_Building), 0);
  }
}

}  // namespace
