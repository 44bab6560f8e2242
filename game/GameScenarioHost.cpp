#include "game/GameScenarioHost.h"

#include "construction/BuildingManager.h"
#include "construction/GamePlot.h"
#include "construction/PathFinder.h"
#include "construction/RoadManager.h"
#include "construction/TaxiwayManager.h"
#include "engine/services/GlobalWrapper.h"
#include "engine/services/Panelis.h"
#include "game/GameCamera.h"
#include "game/GameKV9.h"
#include "game/KV9GameManager.h"
#include "game/Skyvane.h"
#include "game/WorldPartOps.h"
#include "game/world/KV9WeatherManager.h"
#include "game/world/TerrainManager.h"
#include "gui/core/GUIEntity.h"
#include "gui/core/GUIStaticText.h"
#include "gui/core/GUIWorld.h"
#include "simulation/AirportManager.h"
#include "simulation/AmbientManager.h"
#include "simulation/ContractManager.h"
#include "simulation/EventManager.h"
#include "simulation/Simulation.h"
#include "simulation/SimulationWidgets.h"
#include "simulation/StatManager.h"

namespace {

constexpr const char* kObjectiveScene = "scnObjectiveMenu";

// The simulation entity keeps its clock record through operations of its
// own rather than the shared mix-in.
SaveRecordSlot ClockSlot(cEntity_Simulation* simulation) {
  if (!simulation) return {};
  return {[simulation](SerialBlock* bytes, uint32_t* n) { return simulation->Save(bytes, n); },
          [simulation](const uint8_t* bytes, uint32_t n) { return simulation->Load(bytes, n); }};
}

// The path finder answers false, handing out nothing, exactly when it has no
// node (a world without roads): its record is then written empty rather than
// failing the save.
SaveRecordSlot PathFinderSlot(cPathFinder* finder) {
  if (!finder) return {};
  return {[finder](SerialBlock* bytes, uint32_t* n) {
            if (finder->Save(bytes, n)) return true;
            bytes->reset();
            *n = 0;
            return true;
          },
          [finder](const uint8_t* bytes, uint32_t n) { return finder->LoadFromBlob(bytes, n); }};
}

template <typename T>
SaveRecordSlot SlotOf(T* manager) {
  return SaveRecordSlotOf(dynamic_cast<cSerialized_Object*>(manager));
}

}  // namespace

GameScenarioHost::GameScenarioHost(cEntity_Manager* entities) : game_(entities, "GameScenarioHost") {}

std::string GameScenarioHost::LocationsDirectory() { return game_.ResourceDirectory() + "Locations\\"; }

std::string GameScenarioHost::SaveDirectory() {
  cKV9_GameManager* manager = game_.GameManager();
  return manager ? manager->GetSaveDirectory() : game_.ResourceDirectory() + "Save\\";
}

std::string GameScenarioHost::ScenarioDirectory() {
  cKV9_GameManager* manager = game_.GameManager();
  return manager ? manager->GetScenarioDirectory() : game_.ResourceDirectory() + "Scenarios\\";
}

std::array<SaveRecordSlot, kSaveManagerRecords> GameScenarioHost::SaveRecordSlots() {
  std::array<SaveRecordSlot, kSaveManagerRecords> slots{};
  cKV9_GlobalWrapper* t = game_.Table();
  if (!t) return slots;
  slots[0] = SlotOf(game_.Live(t->statManager));
  slots[1] = ClockSlot(game_.Live(t->simulation));
  slots[2] = SlotOf(game_.Live(t->airportManager));
  slots[3] = SlotOf(game_.Live(t->gamePlot));
  slots[4] = PathFinderSlot(t->pathFinder);
  slots[5] = SlotOf(game_.Live(t->roadManager));
  slots[6] = SlotOf(game_.Live(t->buildingManager));
  slots[7] = SlotOf(game_.Live(t->taxiwayManager));
  slots[8] = SlotOf(game_.Live(t->contractManager));
  slots[9] = SlotOf(game_.Live(t->ambientManager));
  slots[10] = SlotOf(game_.Live(t->weatherManager));
  slots[11] = SlotOf(game_.Live(t->eventManager));
  return slots;
}

cEntity_GameKV9* GameScenarioHost::Root() {
  cKV9_GlobalWrapper* t = game_.Table();
  cEntity_GameKV9* root = t ? game_.Live(t->game) : nullptr;
  if (!root) game_.Missing("root game entity");
  return root;
}

void GameScenarioHost::ShowLoadingScreen() {
  if (cEntity_GameKV9* root = Root()) root->ShowLoadingScreen();
}

void GameScenarioHost::HideLoadingScreen() {
  if (cEntity_GameKV9* root = Root()) root->HideLoadingScreen();
}

void GameScenarioHost::AdvanceProgress(int32_t amount) {
  if (cKV9_GameManager* manager = game_.GameManager()) {
    manager->SetLoadingProgress(amount > 0 ? static_cast<uint32_t>(amount) : 0u);
  }
}

void GameScenarioHost::ClearWorld() {
  if (cKV9_GameManager* manager = game_.GameManager()) manager->ClearWorld();
}

namespace {
cEntity_GameCamera* CameraOf(const GameNeighbours& game) {
  cKV9_GameManager* manager = game.GameManager();
  return manager ? manager->GetGameCamera() : nullptr;
}
}  // namespace

bool GameScenarioHost::IsCameraFixedView() {
  cEntity_GameCamera* camera = CameraOf(game_);
  return camera && camera->fixedView != 0;
}

void GameScenarioHost::SetCameraFixedView(bool fixed) {
  if (cEntity_GameCamera* camera = CameraOf(game_)) {
    camera->fixedView = fixed ? 1 : 0;
  } else {
    game_.Missing("game camera");
  }
}

void GameScenarioHost::StoreHomeView(uint32_t words[11]) {
  cEntity_GameCamera* camera = CameraOf(game_);
  if (!camera) {
    for (int i = 0; i < 11; ++i) words[i] = 0;
    game_.Missing("game camera");
    return;
  }
  camera->StoreHomeView();
  camera->GetHomeViewWords(words);
}

void GameScenarioHost::SetHomeView(const uint32_t words[11]) {
  if (cEntity_GameCamera* camera = CameraOf(game_)) {
    camera->SetHomeViewWords(words);
  } else {
    game_.Missing("game camera");
  }
}

void GameScenarioHost::EnterScenarioView(bool fixedView) {
  if (SimulationWidgets* widgets = GetSimulationWidgets()) {
    widgets->ShowScene(fixedView ? "scnPurchaseLand" : "scnInGame", true);
  }
  cEntity_GameCamera* camera = CameraOf(game_);
  if (!camera) {
    game_.Missing("game camera");
    return;
  }
  if (fixedView) {
    // Forced: a camera that was never in the game view still counts as
    // locked, and unforced it would stay where it was made, at the ground.
    camera->EnterFixedView(true);
  } else {
    camera->LeaveFixedView(false, false);
  }
}

namespace {
cEntity_GamePlot* PlotOf(const GameNeighbours& game) {
  cKV9_GlobalWrapper* t = game.Table();
  return t ? game.Live(t->gamePlot) : nullptr;
}
}  // namespace

float GameScenarioHost::PlotExtent() {
  auto* plot = dynamic_cast<GamePlotOps*>(PlotOf(game_));
  if (!plot) {
    game_.Missing("game plot");
    return 0.8f;  // the extent of the 40-cell grid a new game sets
  }
  return plot->GetExtent();
}

float GameScenarioHost::PlotWorldWidth() {
  cEntity_GamePlot* plot = PlotOf(game_);
  return plot ? plot->GetWorldSizeX() : 0.0f;
}

float GameScenarioHost::PlotCellSize() {
  cEntity_GamePlot* plot = PlotOf(game_);
  return plot ? plot->GetCellSize() : 0.0f;
}

void GameScenarioHost::SetPlotOriginY(float height) {
  if (cEntity_GamePlot* plot = PlotOf(game_)) {
    plot->SetOriginY(height);
  } else {
    game_.Missing("game plot");
  }
}

CoreStatus GameScenarioHost::LoadInGameInterface(bool inGame) {
  cKV9_GlobalWrapper* t = game_.Table();
  Panelis* gui = t ? t->gui : nullptr;
  if (!gui) {
    game_.Missing("GUI");
    return status::Fail;
  }
  if (!inGame) {
    if (GUIEntity* world = static_cast<GUIEntity*>(gui->GetWorld())) world->DestroyAllChildren();
    if (!gui->LoadGUIFile("ingame.gui")) {
      // No game can be played without its interface: the program stops
      // (the GUI has said why it could not read the file).
      if (t->application) t->application->StopWithFailure("Loading failed: cannot read \"ingame.gui\"");
      else game_.Missing("ingame.gui");
      return status::Fail;
    }
  }
  gui->ResetInputState();
  return status::Ok;
}

void GameScenarioHost::PrepareWorldBuild(const std::vector<std::string>& terrainTextures, bool loading) {
  cKV9_GlobalWrapper* t = game_.Table();
  cKV9_GameManager* manager = game_.GameManager();
  auto* terrain = manager ? dynamic_cast<cEntity_TerrainManager*>(game_.Live(manager->GetTerrainManagerEntity()))
                          : nullptr;
  if (terrain) {
    terrain->SetTextureNames(terrainTextures);
  } else {
    game_.Missing("terrain manager");
  }
  if (!loading || !t || !t->gui || !manager) return;
  if (GUIEntity* scene = t->gui->FindEntity("scnLoading")) {
    scene->SetVisible(1);
    manager->SetLoadingBar(scene->FindChild("sttLoadingButton"));
  }
}

void GameScenarioHost::SetClimate(const std::array<MonthlyClimate, kClimateMonths>* climate, uint32_t hazards) {
  cKV9_GlobalWrapper* t = game_.Table();
  auto* weather = t ? dynamic_cast<cKV9_WeatherManager*>(game_.Live(t->weatherManager)) : nullptr;
  if (weather) {
    weather->SetClimate(climate, hazards);
  } else {
    game_.Missing("weather manager");
  }
}

void GameScenarioHost::ShowObjectiveScreen(const std::string& text, const std::string& title, bool quitButton,
                                           bool winLoseButton) {
  SimulationWidgets* widgets = GetSimulationWidgets();
  if (!widgets) {
    game_.Missing("GUI widgets");
    return;
  }
  widgets->ShowScene(kObjectiveScene, true);
  widgets->SetMultiLineText(kObjectiveScene, "mlOMMessage", text);
  cKV9_GlobalWrapper* t = game_.Table();
  GUIEntity* scene = t && t->gui ? t->gui->FindEntity(kObjectiveScene) : nullptr;
  if (auto* label = scene ? dynamic_cast<GUIStaticText*>(scene->FindChild("sttOMScreenName")) : nullptr) {
    label->SetText(title, true);
  }
  widgets->ShowScene("btnOMQuit", quitButton);
  widgets->ShowScene("btnOMWinLose", winLoseButton);
}

void GameScenarioHost::ShowMainMenu() {
  cKV9_GlobalWrapper* t = game_.Table();
  Panelis* gui = t ? t->gui : nullptr;
  if (!gui) {
    game_.Missing("GUI");
    return;
  }
  if (GUIEntity* world = static_cast<GUIEntity*>(gui->GetWorld())) world->DestroyAllChildren();
  gui->ResetInputState();
  if (!gui->LoadGUIFile("main.gui")) {
    if (t->application) t->application->StopWithFailure("Loading failed: cannot read \"main.gui\"");
    else game_.Missing("main.gui");
  }
  if (SimulationWidgets* widgets = GetSimulationWidgets()) widgets->ShowScene("scnMainMenu", true);
}
