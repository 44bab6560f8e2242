#include "game/GameKV9.h"

#include <new>

#include "construction/GamePlot.h"
#include "engine/entity/EntityManager.h"
#include "engine/frame/BaseCursor.h"
#include "engine/services/GlobalWrapper.h"
#include "engine/services/Panelis.h"
#include "game/KV9GameManager.h"
#include "game/WorldPartOps.h"
#include "gui/core/GUIEntity.h"
#include "scene/AudioManager.h"
#include "simulation/GameScenario.h"
#include "simulation/StatManager.h"

namespace {

constexpr double kNewGameCash = 20000000.0;

GUIEntity* FindFirst(Panelis* gui, const char* name, const char* fallback) {
  if (!gui) return nullptr;
  GUIEntity* found = gui->FindEntity(name);
  return found ? found : gui->FindEntity(fallback);
}

}  // namespace

cEntity_GameKV9::cEntity_GameKV9(cEntity_Manager* manager)
    : cEntity_Base(manager, kEntityType_Base), cCore_Base_InputSocket("GameKV9") {
  if (manager) {
    interface_ = manager->GetUserPointer();
    wrapper_ = dynamic_cast<cKV9_GlobalWrapper*>(manager->GetGlobalWrapper());
  }
  SetName("GameKV9");
}

cEntity_GameKV9::~cEntity_GameKV9() = default;

cKV9_GameManager* cEntity_GameKV9::GameManager() const { return wrapper_ ? wrapper_->gameManager : nullptr; }

CoreStatus cEntity_GameKV9::SpawnScenario() {
  cKV9_GameManager* manager = GameManager();
  cEntity_Base* made = nullptr;
  if (!manager || status::Failed(manager->SpawnEntity(kScenarioSpawn, &made))) return status::Fail;
  auto* scenario = dynamic_cast<cEntity_GameScenario*>(made);
  if (!scenario) return status::Fail;
  scenario_ = scenario;
  wrapper_->scenario = scenario;
  return status::Ok;
}

void cEntity_GameKV9::ShowLoadingScreen() {
  Panelis* gui = wrapper_ ? wrapper_->gui : nullptr;
  if (GUIEntity* scene = FindFirst(gui, "scnLoading", "scnMMLoading")) scene->SetVisible(1);
  cKV9_GameManager* manager = GameManager();
  if (!manager) return;
  manager->SetLoadingBar(FindFirst(gui, "sttLoadingButton", "sttMMLoadingButton"));
  if (cEntity_BaseCursor* cursor = manager->GetCursor()) cursor->Hide();
  manager->SetLoadingProgress(0, true);
}

void cEntity_GameKV9::HideLoadingScreen() {
  Panelis* gui = wrapper_ ? wrapper_->gui : nullptr;
  if (GUIEntity* scene = FindFirst(gui, "scnLoading", "scnMMLoading")) scene->SetVisible(0);
  cKV9_GameManager* manager = GameManager();
  if (manager && manager->GetCursor()) manager->GetCursor()->Show();
}

CoreStatus cEntity_GameKV9::StartNewGame(const std::string& mapName) {
  ShowLoadingScreen();
  auto* scenario = dynamic_cast<ScenarioOps*>(scenario_);
  cKV9_GameManager* manager = GameManager();
  if (!scenario || !manager) {
    HideLoadingScreen();
    return status::Fail;
  }
  scenario->SetLoadingFlag(1);
  scenario->PrepareNewGameTerrain(mapName);
  manager->SetLoadingProgress(5);
  if (wrapper_->statManager) wrapper_->statManager->block.cash = kNewGameCash;
  if (auto* plot = dynamic_cast<GamePlotOps*>(wrapper_->gamePlot)) plot->SetGridSize(40, 16);
  if (status::Failed(scenario->BuildTerrainAndInterface(false))) {
    // Left up, the loading screen would stay for good with no cursor.
    HideLoadingScreen();
    return status::Fail;
  }
  manager->BuildWorld(false);
  manager->SetLoadingProgress(2);
  return status::Ok;
}

CoreStatus cEntity_GameKV9::LoadGame(const std::string& fileName, bool inGame) {
  auto* scenario = dynamic_cast<ScenarioOps*>(scenario_);
  cKV9_GameManager* manager = GameManager();
  if (!scenario || !manager) return status::Fail;
  scenario->SetLoadingFlag(1);
  if (status::Failed(scenario->LoadFromFile(fileName, inGame))) return status::Fail;
  manager->BuildWorld(inGame);
  manager->SetLoadingProgress(2);
  const std::string music = scenario->GetMusic();
  if (!music.empty() && wrapper_->audioManager && GetManager())
    wrapper_->audioManager->PlayMusic(GetManager()->GetResourcePath() + "Sounds\\" + music);
  manager->SetLoadingProgress(100);
  return status::Ok;
}

cEntity_Base* SpawnGameKV9::Create(uint32_t, uint32_t, cEntity_Manager* creator, const std::string&) {
  return new (std::nothrow) cEntity_GameKV9(creator);
}
