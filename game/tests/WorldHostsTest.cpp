// The world's hosts and the step adapters over the game's real objects: the
// camera's home view as the save keeps it, the weather's light and fog on the
// four render services, the terrain's heights under the plot, and the
// camera's heading from where the road enters the plot.
#include <gtest/gtest.h>

#include <cstring>

#include "engine/frame/RenderService.h"
#include "engine/services/C3DPass.h"
#include "game/GameCamera.h"
#include "game/GameScenarioHost.h"
#include "game/GameWeatherHost.h"
#include "game/KV9GamePlot.h"
#include "game/KV9RoadManager.h"
#include "game/tests/GameTestWorld.h"
#include "game/world/KV9GameScenario.h"
#include "game/world/TerrainManager.h"

namespace gametest {
namespace {

uint32_t Word(float value) {
  uint32_t word = 0;
  std::memcpy(&word, &value, sizeof word);
  return word;
}

TEST(WorldHosts, TheCameraHomeViewTravelsAsElevenWords) {
  GameWorld w;
  ASSERT_EQ(w.Init(), status::Ok);
  cEntity_GameCamera* camera = w.manager->GetGameCamera();
  ASSERT_NE(camera, nullptr);
  GameScenarioHost host(w.table.entityManager);

  // Heading, pitch, height, target x and z, zoom, four limits, stored flag.
  const uint32_t saved[11] = {Word(90.0f), Word(40.0f), Word(12.0f), Word(-30.0f), Word(25.0f), Word(30.0f),
                              Word(4.0f),  Word(70.0f), Word(15.0f), Word(90.0f),  1u};
  host.SetHomeView(saved);
  camera->RestoreHomeView();
  EXPECT_FLOAT_EQ(camera->GetHeading(), 90.0f);
  EXPECT_FLOAT_EQ(camera->GetPitch(), 40.0f);
  EXPECT_FLOAT_EQ(camera->GetZoom(), 30.0f);

  uint32_t stored[11] = {};
  host.StoreHomeView(stored);
  EXPECT_EQ(0, std::memcmp(stored, saved, sizeof stored)) << "the live view is the one restored";

  host.SetCameraFixedView(true);
  EXPECT_TRUE(host.IsCameraFixedView());
  host.SetCameraFixedView(false);
  EXPECT_FALSE(host.IsCameraFixedView());
}

// A scenario started in the overview puts a camera fresh from the start-up
// into the high land-purchase view, above the ground it was made on.
TEST(WorldHosts, TheScenarioViewLiftsAFreshCameraIntoTheOverview) {
  GameWorld w;
  ASSERT_EQ(w.Init(), status::Ok);
  cEntity_GameCamera* camera = w.manager->GetGameCamera();
  ASSERT_NE(camera, nullptr);
  ASSERT_TRUE(camera->IsLocked()) << "a camera starts locked";
  GameScenarioHost host(w.table.entityManager);
  host.SetCameraFixedView(true);
  host.EnterScenarioView(true);
  EXPECT_FLOAT_EQ(camera->GetZoom(), 200.0f);
  EXPECT_FLOAT_EQ(camera->GetPitch(), 66.0f);
  EXPECT_GT(camera->GetPosition().y - camera->GetTarget().y, 150.0f);
}

TEST(WorldHosts, WeatherLightAndFogReachTheFourRenderServices) {
  GameWorld w;
  ASSERT_EQ(w.Init(), status::Ok);
  GameWeatherHost host(w.table.entityManager);
  host.SetFogDensity(0.02f);
  host.SetAmbientColour(0.2f, 0.3f, 0.4f);
  for (const char* name : cKV9_GameManager::kRenderServiceNames) {
    auto* service = w.FindAs<cRenderService>(name);
    ASSERT_NE(service, nullptr) << name;
    ASSERT_NE(service->GetRenderPass(), nullptr) << name;
    EXPECT_FLOAT_EQ(service->GetRenderPass()->GetFogDensity(), 0.02f) << name;
    EXPECT_FLOAT_EQ(service->GetAmbientLight().y, 0.3f) << name;
  }
}

TEST(WorldHosts, ThePlotStandsOnTheTerrainAndTheRoadSetsTheHeading) {
  GameWorld w;
  ASSERT_EQ(w.LoadRealTable(), status::Ok) << w.manager->GetLoadingFailure();
  auto* scenario = dynamic_cast<cKV9_GameScenario*>(w.table.scenario);
  auto* plot = dynamic_cast<cKV9_GamePlot*>(w.table.gamePlot);
  auto* terrain = dynamic_cast<cEntity_TerrainManager*>(w.manager->GetTerrainManagerEntity());
  auto* roads = dynamic_cast<cKV9_RoadManager*>(w.table.roadManager);
  ASSERT_TRUE(scenario && plot && terrain && roads);

  const _LocationRecord& first = *scenario->GetLocations().front();
  ASSERT_TRUE(scenario->SelectLocationByName(first.name, first.continent));
  scenario->PrepareNewGameTerrain("");
  ASSERT_EQ(scenario->GenerateTerrain(cKV9_GameScenario::kTerrainSize), status::Ok);
  // The plot asks in world units, the terrain's grid is ten times coarser.
  EXPECT_FLOAT_EQ(plot->GetHeightAt(400.0f, -250.0f), terrain->GetHeightAt(40.0f, -25.0f));
  EXPECT_EQ(plot->GetPlotTexture(), first.plotTexture);
  EXPECT_FLOAT_EQ(plot->GetLandPrice(), first.landPrice);

  plot->SetGridSize(40, 16);
  const uint16_t last = static_cast<uint16_t>(plot->GetViewGridWidth() - 1);
  struct Case {
    const char* name;
    uint16_t x, y;
    float heading;
  } cases[] = {
      {"west edge", 0, 12, -270.0f},
      {"north edge", 12, 0, 0.0f},
      {"east edge", last, 12, -90.0f},
      {"south edge", 12, last, -180.0f},
  };
  for (const Case& c : cases) {
    roads->SetEntranceCell(c.x, c.y);
    EXPECT_FLOAT_EQ(roads->GetEdgeEntryHeading(), c.heading) << c.name;
  }
}

}  // namespace
}  // namespace gametest
