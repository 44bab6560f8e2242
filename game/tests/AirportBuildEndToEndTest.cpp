// An airport built by hand from nothing, headless, on the game's own
// managers spawned by name, the tables of data/, the game clock and the
// statistics, frames driven through the engine game manager: land bought on
// the plot's edge, a control tower, a terminal and a runway placed through
// the build selection and mouse packets, a road from the entrance and
// taxiways dragged out, construction run to its end, an airplane's routes
// found and reserved, the construction records saved, reloaded and saved
// again, and everything torn down again; the cash follows every step.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "construction/BuildPlacement.h"
#include "construction/BuildableObject.h"
#include "construction/BuildingInstances.h"
#include "construction/BuildingManager.h"
#include "construction/PathFinder.h"
#include "construction/RoadManager.h"
#include "construction/TaxiwayManager.h"
#include "construction/TerminalInstance.h"
#include "construction/tests/MousePackets.h"
#include "game/KV9BuildingManager.h"
#include "game/KV9GamePlot.h"
#include "game/tests/GameTestWorld.h"
#include "game/world/KV9GameScenario.h"
#include "game/world/SaveGameFile.h"
#include "simulation/Simulation.h"
#include "simulation/StatManager.h"
#include "simulation/tests/kit/FrameDriver.h"
#include "simulation/tests/kit/KitRandom.h"

namespace gametest {
namespace {

using handtest::Hold;
using handtest::Move;
using handtest::Press;
using handtest::Release;

// The construction records of a save: plot, path finder, roads, buildings,
// taxiways and aprons.
constexpr int kConstructionRecords[] = {7, 8, 9, 10, 11};

// The plan, in cells of the 16-cell blocks. Blocks x 0-2, y 0-3 are bought;
// the entrance is then at (0, 24).
//   control tower x 42-43, y 2-3
//   terminal x 10-17, y 8-10, its two piers x 11-12 and 15-16 down to y 13,
//     the gates on the piers' last row, the road access at (14, 8) facing up
//   road (0, 24) - (2, 24) - (2, 7) - (14, 7)
//   taxiways: rows y 14-19 in front of the gates and above the runway, each
//     from x 3 + (y - 14) to x 47
//   runway x 42-45, y 20-59, its north access row at y 20
// A load covers each kind's pavement afresh with the fewest rectangles its
// greedy scan finds; rows of different starts are their own rectangles
// either way, so the rows laid are the rows reloaded.
constexpr uint16_t kTowerX = 42, kTowerY = 2;
constexpr uint16_t kTerminalX = 10, kTerminalY = 8;
constexpr uint16_t kRunwayX = 42, kRunwayY = 20;
constexpr uint16_t kRoadX = 2;
constexpr uint16_t kTaxiwayX1 = 47, kTaxiwayY0 = 14, kTaxiwayY1 = 19;
constexpr int TaxiwayRowStart(int y) { return 3 + (y - kTaxiwayY0); }

class AirportBuildEndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    random.UseSeed(25);
    ASSERT_EQ(w.LoadRealTable(), status::Ok) << w.manager->GetLoadingFailure();
    scenario = dynamic_cast<cKV9_GameScenario*>(w.table.scenario);
    plot = dynamic_cast<cKV9_GamePlot*>(w.table.gamePlot);
    buildings = dynamic_cast<cKV9_BuildingManager*>(w.table.buildingManager);
    ASSERT_NE(scenario, nullptr);
    ASSERT_NE(plot, nullptr);
    ASSERT_NE(buildings, nullptr);
    ASSERT_NE(w.table.simulation, nullptr);
    ASSERT_NE(w.table.statManager, nullptr);
    ASSERT_NE(w.table.roadManager, nullptr);
    ASSERT_NE(w.table.taxiwayManager, nullptr);
    ASSERT_NE(w.table.pathFinder, nullptr);
  }

  // A new game on the first location: its terrain, the 40-block plot, the
  // world built.
  void NewGame() {
    const _LocationRecord& first = *scenario->GetLocations().front();
    ASSERT_TRUE(scenario->SelectLocationByName(first.name, first.continent));
    scenario->PrepareNewGameTerrain("");
    plot->SetGridSize(40, 16);
    ASSERT_EQ(scenario->GenerateTerrain(cKV9_GameScenario::kTerrainSize), status::Ok);
    ASSERT_EQ(w.manager->BuildWorld(false), status::Ok);
    w.manager->SetSaveDirectory(w.dir.Root().string() + "/");
    std::filesystem::create_directories(w.dir.Root() / "Normal");
  }

  cSimulation_Clock& Clock() { return w.table.simulation->clock; }
  cEntity_StatManager& Stats() { return *w.table.statManager; }
  double Cash() { return Stats().block.cash; }
  cBuildPlacement& Hand() { return plot->Placement(); }
  cPathFinder& Finder() { return *w.table.pathFinder; }

  cBuildableObject* Type(const char* name, uint8_t level = 1) {
    cBuildableObject* type = buildings->FindTypeByName(name, level);
    EXPECT_NE(type, nullptr) << name;
    return type;
  }
  float Price(const char* name) {
    cBuildableObject* type = Type(name);
    return type ? type->GetBuildCost() : 0.0f;
  }

  // The build menu's pick of a type: the selection goes into the hand.
  bool Select(const char* name) {
    cBuildableObject* type = Type(name);
    if (!type) return false;
    BOInstance* object = buildings->SelectBuildingType(type->GetClass(), type->GetId(), type->GetLevel());
    if (!object) return false;
    Hand().SetPlacementObject(object, true);
    return true;
  }
  void Send(const MousePacket& packet, int32_t x, int32_t y) { Hand().OnCursorInput(packet, x, y); }
  // Picks a building, moves it over (x, y) and clicks there.
  BOInstance* PlaceBuilding(const char* name, uint16_t x, uint16_t y) {
    if (!Select(name)) return nullptr;
    Send(Move(), x, y);
    Send(Press(), x, y);
    Send(Release(), x, y);
    BOInstance* placed = buildings->GetInstanceAt(x, y);
    // Placement goes on with a fresh object of the type: put it down.
    Hand().SetPlacementObject(nullptr, true);
    return placed;
  }
  // A left-button drag from one cell to another with the hand as it is.
  void Drag(int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
    Send(Move(), x0, y0);
    Send(Press(), x0, y0);
    Send(Hold(), x1, y1);
    Send(Release(), x1, y1);
  }
  // Lays pavement of the type along straight strips, a drag each.
  void Pave(const char* name, const std::vector<std::pair<std::pair<int, int>, std::pair<int, int>>>& strips) {
    ASSERT_TRUE(Select(name));
    for (const auto& [from, to] : strips) Drag(from.first, from.second, to.first, to.second);
    Hand().SetPlacementObject(nullptr, true);
  }

  // Buys blocks x 0..x1, y 0..y1 in one drag and commits the purchase.
  void BuyLand(int32_t x1, int32_t y1) {
    plot->BeginPurchaseSelection(0, 0);
    plot->ExtendPurchaseSelection(x1, y1);
    plot->PurchaseSelection();
    ASSERT_TRUE(plot->CommitTransactions());
  }

  // Game days at full speed through the engine frames; whatever they
  // bring (upkeep, income) goes through the books, and `cash` follows them.
  void RunDays(uint32_t days, double* cash) {
    const double income = Stats().block.income, expenses = Stats().block.expenses;
    simkit::RunDays(w.clock, *w.manager, Clock(), days, 50000);
    *cash += (Stats().block.income - income) - (Stats().block.expenses - expenses);
    EXPECT_NEAR(Cash(), *cash, 1e-6) << "after " << days << " days";
  }

  std::vector<uint8_t> SaveBytes(const std::string& name) {
    EXPECT_EQ(scenario->SaveGame(name), status::Ok);
    std::ifstream in(scenario->SavePath(name), std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  SaveFileImage ReadSave(const std::string& name) {
    SaveFileImage image;
    ScenarioRecord record;
    std::string why;
    EXPECT_TRUE(scenario->ReadSaveFile(scenario->SavePath(name), &image, &record, &why)) << why;
    return image;
  }

  // The world as the tests compare it across a save and a load: the owned
  // blocks, every placed building, road section, pavement section and path
  // node, and the cash.
  std::string Snapshot() {
    std::vector<std::string> lines;
    std::string blocks = "owned";
    for (uint32_t i = 0; i < uint32_t{plot->GetBlockCountX()} * plot->GetBlockCountZ(); ++i) {
      if (plot->IsOwned(i)) blocks += " " + std::to_string(i);
    }
    lines.push_back(blocks);
    lines.push_back("entrance " + std::to_string(plot->GetEntranceX()) + "," + std::to_string(plot->GetEntranceY()));
    for (BOInstance* b : buildings->placed) {
      lines.push_back("building " + b->GetType()->GetName() + " at " + std::to_string(b->x) + "," +
                      std::to_string(b->y) + " turned " + std::to_string(b->rotation) + " left " +
                      std::to_string(b->constructionTimeLeft) + " functional " + std::to_string(b->IsFunctional()) +
                      " roads " + std::to_string(b->roadConnections) + " taxiways " +
                      std::to_string(b->taxiwayConnections) + " health " + std::to_string(b->health));
    }
    for (const RoadSection* r : w.table.roadManager->GetSections()) {
      lines.push_back("road " + std::to_string(r->x) + "," + std::to_string(r->y) + " " + std::to_string(r->width) +
                      "x" + std::to_string(r->length) + " kind " + std::to_string(r->kind));
    }
    for (auto kind : {cEntity_TaxiwayManager::kTaxiway, cEntity_TaxiwayManager::kApron}) {
      for (const auto& p : w.table.taxiwayManager->GetSections(kind)) {
        lines.push_back("pavement " + std::to_string(kind) + " " + std::to_string(p->x) + "," + std::to_string(p->y) +
                        " " + std::to_string(p->width) + "x" + std::to_string(p->length));
      }
    }
    for (cPathNode* n = Finder().GetNodeListHead(); n; n = n->next) {
      std::string links;
      for (cPathNode* beside : n->neighbours) links += beside ? "1" : "0";
      lines.push_back("node " + std::to_string(n->x) + "," + std::to_string(n->y) + " kind " +
                      std::to_string(n->kind) + " links " + links + " visited " + std::to_string(n->visited));
    }
    std::sort(lines.begin(), lines.end());
    std::string all = "cash " + std::to_string(Cash()) + "\n";
    for (const std::string& line : lines) all += line + "\n";
    return all;
  }

  // The random service answers from a fixed seed: the run is the same
  // every time.
  simkit::KitRandom random;
  GameWorld w;
  cKV9_GameScenario* scenario = nullptr;
  cKV9_GamePlot* plot = nullptr;
  cKV9_BuildingManager* buildings = nullptr;
};

TEST_F(AirportBuildEndToEnd, BuildsRunsSavesReloadsAndDemolishesAnAirport) {
  NewGame();
  double cash = Cash();
  ASSERT_GT(cash, 0.0);

  // Land on the west edge: twelve blocks at the scenario's land price; the
  // first purchase on the edge sets the road entrance.
  BuyLand(2, 3);
  cash -= 12.0 * scenario->GetLandPrice();
  EXPECT_DOUBLE_EQ(Cash(), cash);
  ASSERT_EQ(plot->GetEntranceX(), 0);
  ASSERT_EQ(plot->GetEntranceY(), 24);

  // The buildings, each charged its build cost as it is placed.
  auto* tower = dynamic_cast<OrgInstance*>(PlaceBuilding("Control Tower", kTowerX, kTowerY));
  ASSERT_NE(tower, nullptr);
  cash -= Price("Control Tower");
  EXPECT_DOUBLE_EQ(Cash(), cash);
  // A runway needs a finished control tower: its twenty days first.
  RunDays(Type("Control Tower")->GetBuildTime() + 1, &cash);
  ASSERT_EQ(tower->GetConstructionTimeLeft(), 0u);
  auto* terminal = dynamic_cast<TerminalInstance*>(PlaceBuilding("Terminal", kTerminalX, kTerminalY));
  ASSERT_NE(terminal, nullptr);
  cash -= Price("Terminal");
  EXPECT_DOUBLE_EQ(Cash(), cash);
  auto* runway = dynamic_cast<RunwayInstance*>(PlaceBuilding("2000 Meter Runway", kRunwayX, kRunwayY));
  ASSERT_NE(runway, nullptr);
  cash -= Price("2000 Meter Runway");
  EXPECT_DOUBLE_EQ(Cash(), cash);

  // The road from the entrance to the cell in front of the terminal's road
  // access, in three drags; each cell charged once.
  std::vector<RoadAccessCell> access;
  buildings->GetRoadAccessCells(terminal, access);
  ASSERT_EQ(access.size(), 1u);
  ASSERT_EQ(access[0].direction, 0) << "the terminal's road access faces up";
  const int frontX = access[0].x, frontY = access[0].y - 1;
  Pave("Road", {{{0, 24}, {kRoadX, 24}}, {{kRoadX, 24}, {kRoadX, frontY}}, {{kRoadX, frontY}, {frontX, frontY}}});
  const int roadCells = (kRoadX + 1) + (24 - frontY) + (frontX - kRoadX);
  cash -= roadCells * Price("Road");
  EXPECT_DOUBLE_EQ(Cash(), cash);
  EXPECT_NE(w.table.roadManager->GetSectionAt(0, 24), nullptr);
  EXPECT_NE(w.table.roadManager->GetSectionAt(frontX, frontY), nullptr);

  // Taxiways from the runway's north end to the gates: six rows.
  std::vector<std::pair<std::pair<int, int>, std::pair<int, int>>> rows;
  int taxiwayCells = 0;
  for (int y = kTaxiwayY0; y <= kTaxiwayY1; ++y) {
    rows.push_back({{TaxiwayRowStart(y), y}, {kTaxiwayX1, y}});
    taxiwayCells += kTaxiwayX1 - TaxiwayRowStart(y) + 1;
  }
  Pave("Taxiway", rows);
  cash -= taxiwayCells * Price("Taxiway");
  EXPECT_DOUBLE_EQ(Cash(), cash);

  // Construction runs to its end.
  RunDays(Type("2000 Meter Runway")->GetBuildTime() + 1, &cash);
  EXPECT_TRUE(buildings->statusGroups[cEntity_BuildingManager::kIcon_Construction].empty());
  EXPECT_EQ(terminal->GetConstructionTimeLeft(), 0u);
  EXPECT_EQ(runway->GetConstructionTimeLeft(), 0u);
  EXPECT_TRUE(terminal->IsFunctional()) << "road links " << int(terminal->roadConnections);
  EXPECT_TRUE(runway->IsFunctional());

  // An airplane's taxi-in asks with the turn penalty, clearance and the
  // reserve flag. The gate is an edge of the network (the pier behind it),
  // which a request with clearance never enters; the stand in front of it,
  // with pavement on all four sides, it reaches.
  ASSERT_NE(runway->node, nullptr);
  ASSERT_EQ(terminal->gates.size(), 2u);
  cPathNode* nearGate = terminal->gates[1];
  cPathNode* farGate = terminal->gates[0];
  ASSERT_TRUE(nearGate && farGate);
  Route* toGate = Finder().RequestPath(runway->node, nearGate, 1, 1, 1);
  ASSERT_NE(toGate, nullptr);
  EXPECT_TRUE(toGate->status);
  EXPECT_FALSE(toGate->secondStatus);
  Finder().CancelRequest(toGate);
  cPathNode* nearStand = nearGate->neighbours[2];
  cPathNode* farStand = farGate->neighbours[2];
  ASSERT_TRUE(nearStand && farStand);
  Route* first = Finder().RequestPath(runway->node, nearStand, 1, 1, 1);
  ASSERT_NE(first, nullptr);
  ASSERT_TRUE(first->status && first->secondStatus);
  EXPECT_EQ(first->route.front(), runway->node);
  EXPECT_EQ(first->route.back(), nearStand);
  for (cPathNode* node : first->route) EXPECT_EQ(node->reservation, 1) << node->x << "," << node->y;
  // A second airplane from the runway's other end to the far gate keeps
  // clear of the first one's path: no shared node and none beside it.
  cPathNode* otherEnd = Finder().GetNodeAt(kRunwayX, kRunwayY);
  ASSERT_NE(otherEnd, nullptr);
  ASSERT_NE(otherEnd, runway->node);
  Route* second = Finder().RequestPath(otherEnd, farStand, 1, 1, 1);
  ASSERT_NE(second, nullptr);
  ASSERT_TRUE(second->status && second->secondStatus);
  const std::set<cPathNode*> firstNodes(first->route.begin(), first->route.end());
  for (cPathNode* node : second->route) {
    EXPECT_EQ(firstNodes.count(node), 0u) << node->x << "," << node->y;
    if (node == otherEnd) continue;
    for (cPathNode* beside : node->neighbours) EXPECT_EQ(firstNodes.count(beside), 0u) << node->x << "," << node->y;
  }
  // Given back, they leave nothing reserved.
  Finder().CancelRequest(first);
  Finder().CancelRequest(second);
  for (cPathNode* node = Finder().GetNodeListHead(); node; node = node->next) EXPECT_EQ(node->reservation, 0);

  const uint16_t gateX = farGate->x, gateY = farGate->y;

  // The five construction records saved, the world cleared and the save
  // loaded again: the same world, and a second save byte for byte the same.
  const std::string before = Snapshot();
  const std::vector<uint8_t> saved = SaveBytes("airport.kv9");
  const SaveFileImage image = ReadSave("airport.kv9");
  for (int number : kConstructionRecords) EXPECT_GT(image.RecordSize(number), 0u) << "record " << number;
  ASSERT_EQ(w.manager->ClearWorld(), status::Ok);
  EXPECT_TRUE(buildings->placed.empty());
  EXPECT_TRUE(w.table.roadManager->GetSections().empty());
  EXPECT_EQ(Finder().GetNodeListHead(), nullptr);
  scenario->SetLoadPath(scenario->SavePath("airport.kv9"));
  ASSERT_TRUE(scenario->LoadGame());
  ASSERT_EQ(scenario->GenerateTerrain(cKV9_GameScenario::kTerrainSize), status::Ok);
  ASSERT_EQ(w.manager->BuildWorld(true), status::Ok);
  EXPECT_EQ(Snapshot(), before);
  EXPECT_TRUE(SaveBytes("again.kv9") == saved) << "the second save differs from the first";
  const SaveFileImage again = ReadSave("again.kv9");
  for (int number : kConstructionRecords) {
    ASSERT_EQ(again.RecordSize(number), image.RecordSize(number)) << "record " << number;
    EXPECT_TRUE(std::equal(again.Record(number), again.Record(number) + again.RecordSize(number), image.Record(number)))
        << "record " << number;
  }
  EXPECT_DOUBLE_EQ(Cash(), cash);

  // Demolition: the terminal through the demolish dialog, then the road
  // and one taxiway row by removal drags; nothing is charged or refunded.
  terminal = dynamic_cast<TerminalInstance*>(buildings->GetInstanceAt(kTerminalX, kTerminalY));
  runway = dynamic_cast<RunwayInstance*>(buildings->GetInstanceAt(kRunwayX, kRunwayY));
  ASSERT_NE(terminal, nullptr);
  ASSERT_NE(runway, nullptr);
  ASSERT_TRUE(Hand().EnterDemolishMode());
  Send(Press(), kTerminalX, kTerminalY);
  ASSERT_TRUE(Hand().HasPendingDemolition()) << "a terminal asks first";
  EXPECT_EQ(buildings->GetInstanceAt(kTerminalX, kTerminalY), terminal);
  Send(Release(), kTerminalX, kTerminalY);
  Hand().AcceptDemolish();
  EXPECT_EQ(buildings->GetInstanceAt(kTerminalX, kTerminalY), nullptr);
  EXPECT_TRUE(buildings->terminals.empty());
  EXPECT_FALSE(runway->IsFunctional()) << "no gate is left to reach";
  EXPECT_EQ(Finder().GetNodeAt(gateX, gateY), nullptr) << "the gates went with it";
  // Each removal drag starts on road that is still there.
  Drag(0, 24, kRoadX, 24);
  Drag(kRoadX, 23, kRoadX, frontY);
  Drag(kRoadX + 1, frontY, frontX, frontY);
  EXPECT_TRUE(w.table.roadManager->GetSections().empty());
  EXPECT_EQ(Finder().GetNodeAt(0, 24), nullptr);
  const int firstRow = TaxiwayRowStart(kTaxiwayY0);
  Drag(firstRow, kTaxiwayY0, kTaxiwayX1, kTaxiwayY0);
  for (int x = firstRow; x <= kTaxiwayX1; ++x) EXPECT_EQ(Finder().GetNodeAt(x, kTaxiwayY0), nullptr) << x;
  EXPECT_NE(Finder().GetNodeAt(kTaxiwayX1, kTaxiwayY0 + 1), nullptr) << "the next row stays";
  Hand().LeaveDemolishMode();
  EXPECT_DOUBLE_EQ(Cash(), cash);
}

}  // namespace
}  // namespace gametest
