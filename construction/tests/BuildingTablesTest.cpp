#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <string>
#include <vector>

#include "construction/TerminalItem.h"
#include "engine/files/DataFile.h"
#include "construction/tests/BoxRecorder.h"
#include "construction/tests/DefinitionWorld.h"
#include "platform/DebugOutput.h"
#include "platform/tests/ScratchDir.h"

namespace {

using buildtest::DefinitionWorld;

std::vector<std::string> GroupNames(DefinitionWorld& world, uint32_t group) {
  std::vector<std::string> names;
  for (TerminalItem* item : world.manager.terminalObjects[group]) names.push_back(item->name);
  return names;
}

TEST(TerminalObjectsTest, EveryKeyOfARecord) {
  DefinitionWorld world;
  world.renderer.refused.insert("Res\\Shaders\\desk_dep.jsm");
  platform::ScopedDebugCapture log;
  ASSERT_TRUE(world.manager.LoadTerminalObjectsFromMemory(
      "[Check-In Desk]\ntype = 1\ndef_shader = Shaders\\desk.jsm\nmov_shader = Shaders\\desk_mov.jsm\n"
      "dep_shader = Shaders\\desk_dep.jsm\ntooltip = Passengers check in here\nbutton = btnDesk\nsize = <2, 3>\n"
      "price = 1500.5\nyear = 1975\nmaintenance_cost = 20.25\nmonthly_revenue = 7.5\ncustomer_satisfaction = 1.5\n"
      "safety_rating = 2.5\nsecurity_rating = 3.5\nlevel = -2\n"));
  ASSERT_EQ(GroupNames(world, 1), std::vector<std::string>{"Check-In Desk"});
  TerminalItem* item = world.manager.terminalObjects[1][0];
  EXPECT_EQ(item->kind, 1);
  EXPECT_EQ(item->type, 1);
  const std::vector<fake3d::Request> shaders = {{"shader", 8, "Res\\Shaders\\desk.jsm"},
                                                {"shader", 8, "Res\\Shaders\\desk_mov.jsm"},
                                                {"shader", 8, "Res\\Shaders\\desk_dep.jsm"}};
  EXPECT_EQ(world.renderer.requests, shaders);
  ASSERT_NE(item->defShader, nullptr);
  EXPECT_EQ(item->defShader->GetName(), "Res\\Shaders\\desk.jsm");
  ASSERT_NE(item->movShader, nullptr);
  EXPECT_EQ(item->depShader, nullptr) << "a shader the renderer cannot make stays null";
  EXPECT_EQ(item->depShaderName, "Shaders\\desk_dep.jsm");
  EXPECT_EQ(item->tooltip, "Passengers check in here");
  EXPECT_EQ(item->button, "btnDesk");
  EXPECT_EQ(item->width, 2);
  EXPECT_EQ(item->length, 3);
  EXPECT_EQ(item->price, 1500.5f);
  EXPECT_EQ(item->year, 1975);
  EXPECT_EQ(item->monthlyExpense, 20.25f);
  EXPECT_EQ(item->monthlyRevenue, 7.5f);
  EXPECT_EQ(item->satisfaction, 1.5f);
  EXPECT_EQ(item->safety, 2.5f);
  EXPECT_EQ(item->security, 3.5f);
  EXPECT_EQ(static_cast<int32_t>(item->level), -2);
}

TEST(TerminalObjectsTest, GroupsAndMissingKeys) {
  struct Case {
    const char* name;
    const char* table;
    std::function<void(DefinitionWorld&)> check;
  };
  const Case cases[] = {
      {"no type lands in group 0, no year is year 0, no size is 0 by 0", "[Bench]\nprice = 5\n",
       [](DefinitionWorld& w) {
         ASSERT_EQ(GroupNames(w, 0), std::vector<std::string>{"Bench"});
         EXPECT_EQ(w.manager.terminalObjects[0][0]->year, 0);
         EXPECT_EQ(w.manager.terminalObjects[0][0]->width, 0);
         EXPECT_EQ(w.manager.terminalObjects[0][0]->tooltip, "");
         EXPECT_EQ(w.manager.terminalObjects[0][0]->monthlyExpense, CDataFile::kNoFloat);
       }},
      {"type 5 or more is listed nowhere and not found",
       "[Statue]\ntype = 7\ndef_shader = s.jsm\n[Plant]\ntype = 4\n[Kiosk]\ntype = 5\n",
       [](DefinitionWorld& w) {
         for (uint32_t g = 0; g < 4; ++g) EXPECT_TRUE(w.manager.terminalObjects[g].empty());
         EXPECT_EQ(GroupNames(w, 4), std::vector<std::string>{"Plant"});
         EXPECT_EQ(w.manager.FindTerminalObject("statue"), nullptr);
         EXPECT_EQ(w.manager.FindTerminalObject("Kiosk"), nullptr);
         EXPECT_EQ(w.manager.FindTerminalObject("PLANT"), w.manager.terminalObjects[4][0]);
         EXPECT_EQ(w.renderer.requests.size(), 3u) << "only the kept record asks for shaders";
       }},
      {"file order within a group", "[B]\ntype = 2\n[A]\ntype = 2\n[C]\ntype = 3\n[D]\ntype = 2\n",
       [](DefinitionWorld& w) {
         EXPECT_EQ(GroupNames(w, 2), (std::vector<std::string>{"B", "A", "D"}));
         EXPECT_EQ(GroupNames(w, 3), std::vector<std::string>{"C"});
       }},
      {"names over 32 characters are refused", "[ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456]\ntype = 1\n[Short]\ntype = 1\n",
       [](DefinitionWorld& w) { EXPECT_EQ(GroupNames(w, 1), std::vector<std::string>{"Short"}); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    platform::ScopedDebugCapture log;
    DefinitionWorld world;
    EXPECT_TRUE(world.manager.LoadTerminalObjectsFromMemory(c.table));
    c.check(world);
  }
}

TEST(TerminalObjectsTest, FindTakesTheLowerGroupThenTheEarlierRecord) {
  DefinitionWorld world;
  auto add = [&](const char* name, uint8_t group) {
    auto* item = new TerminalItem();
    item->name = name;
    item->kind = group;
    world.manager.terminalObjects[group].push_back(item);
    return item;
  };
  add("Coffee Shop", 3);
  TerminalItem* lower = add("coffee shop", 2);
  TerminalItem* first = add("Desk", 1);
  add("DESK", 1);
  EXPECT_EQ(world.manager.FindTerminalObject("COFFEE SHOP"), lower);
  EXPECT_EQ(world.manager.FindTerminalObject("desk"), first);
  EXPECT_EQ(world.manager.FindTerminalObject("Desk "), nullptr);
}

TEST(AmbientVehiclesTest, OneOfferASectionInFileOrder) {
  DefinitionWorld world;
  world.acceptAmbient = true;
  ASSERT_TRUE(world.manager.LoadAmbientVehiclesFromMemory(
      "model = ignored.ssm\n[Sedan]\nmodel = sedan.ssm\nsound = car.wav\ntype = 2\ncolour = red\n"
      "[Bus]\nsound = bus.wav\ntype = 4\n[Fire Truck]\nmodel = fire.ssm\n"));
  EXPECT_EQ(world.offered, (std::vector<std::string>{"Sedan", "Bus", "Fire Truck"}));
  ASSERT_EQ(world.ambient.size(), 3u);
  EXPECT_EQ(world.ambient[0]->modelName, "sedan.ssm");
  EXPECT_EQ(world.ambient[0]->sound, "car.wav");
  EXPECT_EQ(world.ambient[0]->kindFlags, 2u);
  EXPECT_EQ(world.ambient[1]->modelName, "") << "a section without a model";
  EXPECT_EQ(world.ambient[1]->kindFlags, 4u);
  EXPECT_EQ(world.ambient[2]->kindFlags, static_cast<uint32_t>(INT_MIN)) << "the data file's empty integer";
  EXPECT_TRUE(world.renderer.requests.empty());
}

TEST(AmbientVehiclesTest, RefusedRecordsAreDestroyed) {
  DefinitionWorld world;
  world.acceptAmbient = false;
  ASSERT_TRUE(world.manager.LoadAmbientVehiclesFromMemory("[A]\ntype = 2\n[B]\ntype = 4\n"));
  EXPECT_EQ(world.offered.size(), 2u);
  EXPECT_TRUE(world.ambient.empty());  // the leak check sees a record kept by nobody
  world.manager.hooks.addAmbientData = nullptr;
  EXPECT_TRUE(world.manager.LoadAmbientVehiclesFromMemory("[C]\ntype = 2\n"));
}

TEST(DataTableFilesTest, TablesAreReadFromTheResourcePath) {
  ScratchDir dir;
  dir.Write("BaseBuildings.kvb", "[a]\nclass = building\nname = Shed\nmodel = shed.ssm\n");
  dir.Write("TerminalObjects.kvb", "[Desk]\ntype = 1\n");
  dir.Write("AmbientVehicles.kvb", "[Van]\ntype = 2048\n");
  DefinitionWorld world(dir.Root().string() + "/");
  EXPECT_TRUE(world.manager.LoadBaseBuildings("basebuildings.KVB"));
  EXPECT_TRUE(world.manager.LoadTerminalObjects("TerminalObjects.kvb"));
  EXPECT_TRUE(world.manager.LoadAmbientVehicles("AmbientVehicles.kvb"));
  EXPECT_NE(world.Type(kClass_Building, "Shed", 1), nullptr);
  EXPECT_NE(world.manager.FindTerminalObject("Desk"), nullptr);
  EXPECT_EQ(world.offered, std::vector<std::string>{"Van"});

  platform::ScopedDebugCapture log;
  DefinitionWorld empty(dir.Root().string() + "/missing/");
  EXPECT_FALSE(empty.manager.LoadBaseBuildings("BaseBuildings.kvb"));
  EXPECT_FALSE(empty.manager.LoadTerminalObjects("TerminalObjects.kvb"));
  EXPECT_FALSE(empty.manager.LoadAmbientVehicles("AmbientVehicles.kvb"));
  EXPECT_EQ(empty.manager.GetTypeIdCount(kClass_Building), 0);
  EXPECT_TRUE(empty.offered.empty());
}

TEST(DataTableFilesTest, CorruptTablesLoadWhatIsSound) {
  // One table with every kind of fault beside sound sections: only the sound
  // sections make types.
  const char* text =
      "[good1]\nclass = building\nname = Good One\nmodel = a.ssm\n"
      "[noclass]\nname = No Class\nmodel = a.ssm\n"
      "[noname]\nclass = building\nmodel = a.ssm\n"
      "[badclass]\nclass = hovercraft\nname = Bad Class\nmodel = a.ssm\n"
      "[long]\nclass = building\nname = A name that is far longer than the save can carry\nmodel = a.ssm\n"
      "[badprereq]\nclass = building\nname = Bad Prereq\nprereq = 99\nlevel = 2\n"
      "[badlevel]\nclass = building\nname = Good One\nlevel = 12\n"
      "[short]\nclass = terminal\nname = Short\ntaxiwayaccess = 1\nterminalitems =\n"
      "[good2]\nclass = runway\nname = Good Two\nrunway_length = 2000\n";
  platform::ScopedDebugCapture log;
  buildtest::BoxRecorder boxes;
  DefinitionWorld world;
  ASSERT_TRUE(world.manager.LoadBaseBuildingsFromMemory(text));
  EXPECT_NE(world.Type(kClass_Building, "Good One", 1), nullptr);
  EXPECT_NE(world.Type(kClass_Building, "Good One", 7), nullptr) << "the level is held at 7";
  EXPECT_NE(world.Type(kClass_Building, "Bad Prereq", 2), nullptr);
  EXPECT_NE(world.Type(kClass_Terminal, "Short", 1), nullptr);
  EXPECT_NE(world.Type(kClass_Runway, "Good Two", 1), nullptr);
  EXPECT_EQ(world.manager.GetTypeIdCount(kClass_Building), 2);
  for (const TypeWordGroup& group : world.manager.typeWordGroups) EXPECT_TRUE(group.listA.empty());
  EXPECT_EQ(boxes.boxes.size(), 1u);
}

}  // namespace
