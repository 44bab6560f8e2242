// The game's own spawn table on the real engine core: the world's managers
// and the other parts' managers as the program makes them, loading as far as
// the built managers go; the world's hosts answering from the game's
// managers, and safely when a neighbour is missing or on its way out.
#include <gtest/gtest.h>

#include <filesystem>

#include "construction/BuildingAirportSite.h"
#include "game/GameScenarioHost.h"
#include "game/GameTerrainHost.h"
#include "game/GameWeatherHost.h"
#include "game/KV9AirportManager.h"
#include "game/KV9AmbientManager.h"
#include "game/KV9BuildingManager.h"
#include "game/KV9GamePlot.h"
#include "game/KV9RoadManager.h"
#include "game/KV9TaxiwayManager.h"
#include "game/tests/GameTestWorld.h"
#include "game/world/KV9GameScenario.h"
#include "game/world/KV9WeatherManager.h"
#include "game/world/SaveGameFile.h"
#include "game/world/ScenarioRecord.h"
#include "game/world/TerrainManager.h"
#include "simulation/ContractManager.h"
#include "simulation/Simulation.h"

namespace gametest {
namespace {

TEST(RealSpawnTable, LoadsEveryManagerOfTheGame) {
  GameWorld w;
  ASSERT_EQ(w.LoadRealTable(), status::Ok) << w.manager->GetLoadingFailure();

  // Every step made the game's own class and filed it.
  auto* scenario = dynamic_cast<cKV9_GameScenario*>(w.table.scenario);
  ASSERT_NE(scenario, nullptr);
  EXPECT_FALSE(scenario->GetLocations().empty()) << "the host names the data's location folder";
  EXPECT_EQ(scenario->GetProgressDisplay(), 1);
  auto* terrain = dynamic_cast<cEntity_TerrainManager*>(w.manager->GetTerrainManagerEntity());
  ASSERT_NE(terrain, nullptr);
  EXPECT_EQ(w.table.terrainManager, terrain);
  EXPECT_NE(terrain->GetTerrain(), nullptr) << "the terrain entity is spawned through the game manager";
  EXPECT_NE(terrain->SkyBox(), nullptr);
  EXPECT_EQ(terrain->GetTextureSize(), 512);
  EXPECT_NE(dynamic_cast<cKV9_RoadManager*>(w.table.roadManager), nullptr);
  EXPECT_NE(dynamic_cast<cKV9_TaxiwayManager*>(w.table.taxiwayManager), nullptr);
  auto* plot = dynamic_cast<cKV9_GamePlot*>(w.table.gamePlot);
  ASSERT_NE(plot, nullptr);
  EXPECT_EQ(plot->Table(), &w.table);
  auto* ambient = dynamic_cast<cKV9_AmbientManager*>(w.table.ambientManager);
  ASSERT_NE(ambient, nullptr);
  EXPECT_EQ(ambient->longTermParking, 33.0f) << "settings read from base.cfg";
  EXPECT_NE(w.table.contractManager, nullptr);
  // The building manager read its tables from data/ and joined the ambient
  // traffic, which took the tables' vehicle records.
  auto* buildings = dynamic_cast<cKV9_BuildingManager*>(w.table.buildingManager);
  ASSERT_NE(buildings, nullptr);
  EXPECT_NE(buildings->FindTypeByName("Control Tower", 1), nullptr);
  EXPECT_FALSE(ambient->ambientData.empty());
  EXPECT_NE(w.table.simulation, nullptr);
  EXPECT_NE(w.table.weatherManager, nullptr);
  ASSERT_NE(dynamic_cast<cKV9_AirportManager*>(w.table.airportManager), nullptr);
  // The airport manager sees the placed buildings through its site from the
  // loading sequence on, before a loaded game's buildings are restored.
  auto* site = dynamic_cast<BuildingAirportSite*>(w.table.airportManager->GetSite());
  ASSERT_NE(site, nullptr);
  EXPECT_EQ(site->Buildings(), w.table.buildingManager);
}

// The real table loads, a new game's world is built over the real managers,
// saved, and reset.
TEST(RealSpawnTable, TheWorldLoadsBuildsSavesAndClears) {
  GameWorld w;
  ASSERT_EQ(w.LoadRealTable(), status::Ok) << w.manager->GetLoadingFailure();
  auto* scenario = dynamic_cast<cKV9_GameScenario*>(w.table.scenario);
  auto* weather = dynamic_cast<cKV9_WeatherManager*>(w.table.weatherManager);
  auto* plot = dynamic_cast<cKV9_GamePlot*>(w.table.gamePlot);
  auto* terrain = dynamic_cast<cEntity_TerrainManager*>(w.manager->GetTerrainManagerEntity());
  ASSERT_NE(scenario, nullptr);
  ASSERT_NE(weather, nullptr);
  ASSERT_NE(plot, nullptr);
  ASSERT_NE(terrain, nullptr);
  ASSERT_NE(w.table.simulation, nullptr);
  EXPECT_NE(dynamic_cast<cKV9_AirportManager*>(w.table.airportManager), nullptr);
  EXPECT_TRUE(weather->DayNightCycle()) << "the day-night option of base.cfg";

  // A new game: the first location, its height field with the plot's base
  // height at the flattened centre, which the terrain answers too.
  const _LocationRecord& first = *scenario->GetLocations().front();
  ASSERT_TRUE(scenario->SelectLocationByName(first.name, first.continent));
  scenario->PrepareNewGameTerrain("");
  EXPECT_EQ(scenario->GetTerrainParams().seed, first.seed);
  plot->SetGridSize(40, 16);
  EXPECT_FLOAT_EQ(plot->GetExtent(), 0.8f);
  ASSERT_EQ(scenario->GenerateTerrain(cKV9_GameScenario::kTerrainSize), status::Ok);
  const float centre = scenario->GetHeights()[64 * cKV9_GameScenario::kTerrainSize + 64];
  EXPECT_FLOAT_EQ(plot->GetOriginY(), centre * cKV9_GameScenario::kHeightScale);
  EXPECT_FLOAT_EQ(terrain->GetHeightAt(0.0f, 0.0f), plot->GetOriginY());
  EXPECT_FLOAT_EQ(plot->GetHeightAt(0.0f, 0.0f), plot->GetOriginY());

  ASSERT_EQ(w.manager->BuildWorld(false), status::Ok);
  EXPECT_TRUE(w.table.simulation->clock.IsRegistered(weather)) << "the weather runs on the game's clock";

  // Every manager's record goes into the save through the host's slots.
  w.manager->SetSaveDirectory(w.dir.Root().string() + "/");
  std::filesystem::create_directories(w.dir.Root() / "Normal");
  ASSERT_EQ(scenario->SaveGame("wiring.kv9"), status::Ok);
  SaveFileImage image;
  ScenarioRecord record;
  std::string why;
  ASSERT_TRUE(scenario->ReadSaveFile(scenario->SavePath("wiring.kv9"), &image, &record, &why)) << why;
  EXPECT_EQ(record.locationName, first.name);
  EXPECT_EQ(image.RecordSize(kSaveRecordWeather), kWeatherRecordBytes);
  for (int number : {4, 5, 6, 7, 9, 12, 13}) EXPECT_GT(image.RecordSize(number), 0u) << "record " << number;
  // A world without roads has no path node and no event is queued yet:
  // those two records are empty and the save still stands.
  EXPECT_EQ(image.RecordSize(8), 0u);
  EXPECT_EQ(image.RecordSize(15), 0u);

  ASSERT_EQ(w.manager->ClearWorld(), status::Ok);
  EXPECT_EQ(scenario->GetHeights(), nullptr);
  EXPECT_FALSE(terrain->IsWorldBuilt());
}

TEST(RealSpawnTable, HostsAnswerSafelyWithoutTheirNeighbours) {
  GameWorld w;
  ASSERT_EQ(w.Init(), status::Ok);
  GameTerrainHost terrain(w.table.entityManager);
  GameWeatherHost weather(w.table.entityManager);
  GameScenarioHost scenario(w.table.entityManager);

  EXPECT_EQ(terrain.Heights(), nullptr);
  EXPECT_EQ(terrain.PlotTexture(), "");
  float width = -1.0f, length = -1.0f;
  terrain.PlotSize(&width, &length);
  EXPECT_EQ(width, 0.0f);
  EXPECT_EQ(length, 0.0f);
  EXPECT_EQ(terrain.GameClock(), nullptr);
  EXPECT_EQ(terrain.Spawn("SPN::KV9:NOTHING"), nullptr);

  EXPECT_EQ(weather.StartEffect(WeatherEffect::Rain, nullptr), -1);
  int32_t state = -1;
  EXPECT_FALSE(weather.GetTerrainSnow(&state, nullptr));
  weather.ChangeAirportClosure(1);
  weather.CrossFadeLoop("Sounds\\Weather\\none.wav", 1.0f, 3.0f);
  weather.SetTerrainSnow(kSnowAccumulating, 1.0f);

  EXPECT_FLOAT_EQ(scenario.PlotExtent(), 0.8f);
  EXPECT_EQ(scenario.LoadInGameInterface(false), status::Fail) << "no GUI";
  for (const SaveRecordSlot& slot : scenario.SaveRecordSlots()) {
    EXPECT_FALSE(slot.save);
    EXPECT_FALSE(slot.load);
  }
  uint32_t words[11];
  for (uint32_t& word : words) word = 7;
  scenario.StoreHomeView(words);
  EXPECT_EQ(words[0], 0u) << "a home view is answered even without a camera";
}

TEST(RealSpawnTable, AManagerOnItsWayOutIsNoLongerReached) {
  GameWorld w;
  ASSERT_EQ(w.LoadRealTable({LBuildings::kSpawn}), status::Ok) << w.manager->GetLoadingFailure();
  GameWeatherHost host(w.table.entityManager);
  ASSERT_EQ(host.GameClock(), &w.table.simulation->clock);
  ASSERT_EQ(w.manager->DestroyEntity(w.table.simulation), status::Ok);
  EXPECT_EQ(host.GameClock(), nullptr);
}

TEST(RealSpawnTable, TheAirportClosureCountStaysWithinItsByte) {
  GameWorld w;
  ASSERT_EQ(w.LoadRealTable({LBuildings::kSpawn}), status::Ok) << w.manager->GetLoadingFailure();
  GameWeatherHost host(w.table.entityManager);
  struct Case {
    const char* name;
    int32_t delta;
    uint8_t after;
  } cases[] = {
      {"lowered at 0", -1, 0}, {"raised", 1, 1}, {"raised again", 1, 2}, {"lowered past 0", -5, 0}, {"raised past 255", 400, 255},
  };
  for (const Case& c : cases) {
    host.ChangeAirportClosure(c.delta);
    EXPECT_EQ(w.table.airportManager->closure, c.after) << c.name;
  }
}

}  // namespace
}  // namespace gametest
