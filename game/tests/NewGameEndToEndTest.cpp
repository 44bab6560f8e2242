// A new game on every location of the run tree, through the game itself: the
// game's own spawns for the scenario, terrain, weather and the rest, the
// location chosen, the root game entity's new game, then the height field
// with its flat plot, the terrain's composed texture and mesh and the sky on
// the recording renderer, the height queries of the plot and the weather
// under way; the world cleared before the next.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "engine/entity/EntityManager.h"
#include "game/GameKV9.h"
#include "game/KV9GamePlot.h"
#include "game/tests/GameTestWorld.h"
#include "game/world/KV9GameScenario.h"
#include "game/world/KV9WeatherManager.h"
#include "game/world/Terrain.h"
#include "game/world/TerrainManager.h"
#include "game/world/tests/WorldCore3D.h"
#include "engine/config/CommandRegistry.h"
#include "engine/entity/ActionFactory.h"
#include "gui/plugin/GUI.h"
#include "gui/plugin/PanelisDescriptors.h"
#include "gui/plugin/WidgetSpawns.h"

namespace gametest {
namespace {

// The game as the program starts it from its data folder: the GUI service
// started on the game's table the way the library manager starts it, and a
// renderer whose images keep their pixels, so the terrain composes.
struct ProgramWorld {
  ProgramWorld() : directory(GAME_DATA_DIR) {
    w = std::make_unique<GameWorld>();
    cKV9_GlobalWrapper& t = w->table;
    t.SetGraphics(&renderer);
    t.entityManager->SetResourcePath(GAME_DATA_DIR);
    // What the plug-in's packs bring: the widget spawns and the commands.
    for (int32_t kind = GUIKIND_WORLD; kind <= GUIKIND_DROPDOWN; ++kind)
      t.actionFactory->RegisterSpawn(WidgetSpawnOfKind(kind));
    GUI_OCPack pack;
    t.commandRegistry->RegisterAll(*pack.GetCommandMap());
    gui.SetWrapperBlockRef(&t.clientRect);
    gui.SetRendererRef(&t.graphics);
    gui.SetPhysicsRef(&t.physics);
    gui.SetInputRef(&t.input);
    gui.SetSoundRef(&t.sound);
    gui.SetEntityManagerRef(&t.entityManager);
    gui.SetActionFactoryRef(&t.actionFactory);
    gui.SetLanguageManagerRef(&t.languageManager);
    if (gui.Init()) t.SetGUI(&gui);
  }
  ~ProgramWorld() {
    // The interface goes while the game's entities still exist.
    gui.DestroyWorld();
    w->table.SetGUI(nullptr);
    w.reset();
  }

  WorkingDirectory directory;
  worldfake::WorldCore3D renderer;
  GUI gui;
  std::unique_ptr<GameWorld> w;
};

TEST(NewGameEndToEnd, EveryShippedLocationThroughTheGame) {
  ProgramWorld program;
  GameWorld& w = *program.w;
  worldfake::WorldCore3D& renderer = program.renderer;
  ASSERT_NE(w.table.gui, nullptr);
  ASSERT_EQ(w.LoadRealTable(), status::Ok) << w.manager->GetLoadingFailure();
  auto* scenario = dynamic_cast<cKV9_GameScenario*>(w.table.scenario);
  auto* plot = dynamic_cast<cKV9_GamePlot*>(w.table.gamePlot);
  auto* terrain = dynamic_cast<cEntity_TerrainManager*>(w.manager->GetTerrainManagerEntity());
  auto* weather = dynamic_cast<cKV9_WeatherManager*>(w.table.weatherManager);
  ASSERT_TRUE(scenario && plot && terrain && weather && w.table.game);

  std::vector<std::pair<std::string, uint8_t>> locations;
  for (const auto& r : scenario->GetLocations()) locations.emplace_back(r->name, r->continent);
  ASSERT_GE(locations.size(), 9u);
  for (const auto& [name, continent] : locations) {
    SCOPED_TRACE(name);
    ASSERT_TRUE(scenario->SelectLocationByName(name, continent));
    const size_t images = renderer.images.size();
    ASSERT_EQ(w.table.game->StartNewGame(""), status::Ok);

    // The height field with the plot flattened in its middle.
    ASSERT_NE(scenario->GetHeights(), nullptr);
    const float plotHeight = terrain->GetHeightAt(0.0f, 0.0f);
    EXPECT_FLOAT_EQ(terrain->GetHeightAt(-10.0f, 12.0f), plotHeight);
    EXPECT_FLOAT_EQ(terrain->GetHeightAt(12.0f, -10.0f), plotHeight);
    // The plot asks in world units, the terrain's grid is ten times coarser.
    EXPECT_FLOAT_EQ(plot->GetHeightAt(0.0f, 0.0f), plotHeight);
    EXPECT_FLOAT_EQ(plot->GetHeightAt(400.0f, -250.0f), terrain->GetHeightAt(40.0f, -25.0f));

    // The terrain's texture composed at the configured size, its mesh, and
    // the sky.
    ASSERT_NE(terrain->GetTerrain(), nullptr);
    auto* mesh = dynamic_cast<worldfake::EditableModel*>(terrain->GetTerrain()->Model());
    ASSERT_NE(mesh, nullptr);
    EXPECT_FALSE(mesh->vertices.empty());
    EXPECT_FALSE(mesh->indices.empty());
    const worldfake::Image* texture = nullptr;
    for (size_t i = images; i < renderer.images.size(); ++i) {
      if (renderer.images[i]->GetName() == "terrain_composed") {
        EXPECT_EQ(texture, nullptr) << "composed twice";
        texture = renderer.images[i].get();
      }
    }
    ASSERT_NE(texture, nullptr);
    const size_t side = static_cast<size_t>(terrain->GetTextureSize());
    EXPECT_EQ(texture->pixels.size(), side * side);
    EXPECT_NE(terrain->SkyBox(), nullptr);

    // The weather runs on the location's climate.
    EXPECT_LT(weather->Block().state, kWeather_None);
    EXPECT_FALSE(weather->TemperatureText().empty());

    ASSERT_EQ(w.manager->ClearWorld(), status::Ok);
  }
}

}  // namespace
}  // namespace gametest
