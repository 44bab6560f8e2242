// New games end to end on every location shipped in the run tree: selection,
// the height field with its flat plot, terrain and sky on the recording
// renderer, height queries, and a day of the location's weather.
#include <gtest/gtest.h>

#include "game/world/KV9GameScenario.h"
#include "game/world/KV9WeatherManager.h"
#include "game/world/Terrain.h"
#include "game/world/TerrainManager.h"
#include "game/world/WorldSpawns.h"
#include "game/world/tests/FakeScenarioHost.h"
#include "game/world/tests/FakeTerrainHost.h"
#include "game/world/tests/FakeWeatherHost.h"
#include "platform/tests/ScratchDir.h"

namespace {

TEST(NewGame, EveryShippedLocation) {
  ScratchDir dir;
  FakeScenarioHost scenarioHost(dir.Root().string(), std::string(GAME_DATA_DIR) + "Locations\\");
  cKV9_GameScenario scenario(nullptr, &scenarioHost);
  ASSERT_GE(scenario.GetLocations().size(), 9u);
  std::vector<std::pair<std::string, std::string>> all;
  for (const auto& r : scenario.GetLocations()) all.emplace_back(r->name, scenario.GetContinents()[r->continent]);

  for (const auto& [name, continent] : all) {
    SCOPED_TRACE(name);
    ASSERT_TRUE(scenario.SelectLocation(name, continent));
    scenario.SetTerrainParams(NewGameTerrainParams(*scenario.GetCurrentLocation()));
    scenario.ClearMapName();
    ASSERT_EQ(scenario.BuildTerrainAndInterface(false), 0);

    FakeTerrainHost terrainHost;
    terrainHost.resources = GAME_DATA_DIR;
    terrainHost.heightSource = [&scenario] { return scenario.GetHeights(); };
    terrainHost.plotTexture = scenario.GetPlotTexture();
    terrainHost.options["graphics|TextureSize"] = "256 256";
    cEntity_TerrainManager terrain(nullptr, &terrainHost);
    terrain.SetTextureNames(scenarioHost.terrainTextures);
    ASSERT_EQ(terrain.InitTerrain(), 0);
    ASSERT_EQ(terrain.BuildWorld(), 0);
    // The plot in the middle stands at the height the plot was given.
    EXPECT_FLOAT_EQ(terrain.GetHeightAt(0.0f, 0.0f), scenarioHost.plotOriginY);
    EXPECT_FLOAT_EQ(terrain.GetHeightAt(-10.0f, 12.0f), scenarioHost.plotOriginY);
    EXPECT_FLOAT_EQ(terrainHost.cameraTargets.back().y, scenarioHost.plotOriginY);
    ASSERT_EQ(terrainHost.renderer.images.size(), 1u);
    EXPECT_EQ(terrainHost.renderer.images[0]->pixels.size(), 256u * 256u);
    bool plotDrawn = false;
    for (const auto& mesh : terrainHost.renderer.meshNames) plotDrawn = plotDrawn || mesh == "dynamicmesh_temp";
    EXPECT_TRUE(plotDrawn);

    FakeWeatherHost weatherHost;
    weatherHost.clock.SetDate(2004, 1, 31, 24, 0, 0);
    weatherHost.clock.SetSpeed(60);
    cKV9_WeatherManager weather(nullptr, &weatherHost);
    weather.Init();
    weather.SetClimate(scenarioHost.climate, scenarioHost.hazards);
    ASSERT_EQ(weather.Start(), 0);
    for (int i = 0; i < 24 * 60; ++i) weatherHost.clock.Tick(1.0f);
    EXPECT_LT(weather.Block().state, kWeather_None);
    EXPECT_EQ(weatherHost.clock.month, 2);
    weather.Stop();
    terrain.Exit();
    EXPECT_EQ(terrainHost.renderer.Held(), 0);
  }
}

TEST(WorldSpawns, MakeTheWorldsEntities) {
  ScratchDir dir;
  FakeScenarioHost scenarioHost(dir.Root().string());
  FakeWeatherHost weatherHost;
  FakeTerrainHost terrainHost;
  auto spawns = MakeWorldSpawns({&scenarioHost, &weatherHost, &terrainHost});
  ASSERT_EQ(spawns.size(), 4u);
  std::vector<std::string> names;
  for (auto& spawn : spawns) {
    names.push_back(spawn->GetName());
    std::unique_ptr<cEntity_Base> entity(spawn->Create(0, 0, nullptr, ""));
    ASSERT_NE(entity, nullptr) << spawn->GetName();
    const std::string& n = spawn->GetName();
    const bool rightKind = (n == "SPN::KV9:SCENARIO" && dynamic_cast<cEntity_GameScenario*>(entity.get())) ||
                           (n == "SPN::KV9:WEATHERMANAGER" && dynamic_cast<cEntity_WeatherManager*>(entity.get())) ||
                           (n == "SPN::KV9:TERRAIN:MANAGER" && dynamic_cast<cEntity_TerrainManager*>(entity.get())) ||
                           (n == "SPN::KV9:TERRAIN:TERRAIN" && dynamic_cast<cEntity_Terrain*>(entity.get()));
    EXPECT_TRUE(rightKind) << n;
  }
  EXPECT_EQ(names, (std::vector<std::string>{"SPN::KV9:SCENARIO", "SPN::KV9:WEATHERMANAGER",
                                             "SPN::KV9:TERRAIN:MANAGER", "SPN::KV9:TERRAIN:TERRAIN"}));
}

}  // namespace
