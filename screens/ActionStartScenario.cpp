#include "screens/ActionStartScenario.h"

#include "base/StringUtil.h"
#include "engine/entity/EntityManager.h"
#include "engine/services/GlobalWrapper.h"
#include "game/GameCamera.h"
#include "game/GameKV9.h"
#include "game/KV9GameManager.h"
#include "game/WorldPartOps.h"
#include "platform/DebugOutput.h"
#include "scene/AudioManager.h"
#include "screens/ScreenCommand.h"
#include "simulation/GameScenario.h"

ActionStartScenario::ActionStartScenario(cCore_GlobalWrapper* table) : cAction_Base("StartScenario"), table_(table) {}

CoreStatus ActionStartScenario::Execute(cEntity_Base*, uintptr_t, const std::string& params) {
  if (!dynamic_cast<cKV9_GlobalWrapper*>(table_)) return screens::kNotHandled;
  // Only a blank ends the command word here: "new|random" is one word.
  const screens::Command command = screens::CutCommand(params, screens::kBlank);
  if (command.word.empty()) return screens::kNotHandled;
  if (command.Is("new")) return StartNew(command.rest);
  if (command.Is("load")) return Load(command.rest);
  return status::Ok;
}

CoreStatus ActionStartScenario::StartNew(std::string_view rest) {
  auto* table = static_cast<cKV9_GlobalWrapper*>(table_);
  const std::string mode = screens::NextWord(&rest, screens::kBlankOrBar);
  if (table->scenario) table->scenario->campaignGame = 0;
  cEntity_GameCamera* camera = table->gameManager ? table->gameManager->GetGameCamera() : nullptr;
  if (camera) camera->fixedView = 1;
  std::string mapName;
  if (str::EqualsNoCase(mode, "image")) {
    // The name runs to the next bar, blanks and all.
    mapName = screens::NextWord(&rest, screens::kBar);
    if (mapName.empty()) return screens::kNotHandled;
  } else if (!str::EqualsNoCase(mode, "random")) {
    return screens::kNotHandled;
  }
  if (!table->game || status::Failed(table->game->StartNewGame(mapName))) {
    platform::OutputDebugString("[ActionStartScenario] the new game did not start\n");
    return screens::kNotHandled;
  }
  // A headless run's log shows that the game left the front end.
  platform::OutputDebugString("[ActionStartScenario] a new game started\n");
  CameraAndMusic(table);
  if (table->gameManager) table->gameManager->SetLoadingProgress(100);
  return status::Ok;
}

CoreStatus ActionStartScenario::Load(std::string_view rest) {
  auto* table = static_cast<cKV9_GlobalWrapper*>(table_);
  const std::string file = screens::NextWord(&rest, screens::kBlank);
  if (file.empty()) return screens::kNotHandled;
  if (table->scenario) table->scenario->campaignGame = 0;
  const CoreStatus loaded = table->game ? table->game->LoadGame(file, false) : status::Fail;
  CameraAndMusic(table);
  return status::Failed(loaded) ? screens::kNotHandled : status::Ok;
}

void ActionStartScenario::CameraAndMusic(cKV9_GlobalWrapper* table) {
  cEntity_GameCamera* camera = table->gameManager ? table->gameManager->GetGameCamera() : nullptr;
  if (camera && !camera->fixedView) camera->EnterFixedView(false);
  auto* scenario = dynamic_cast<ScenarioOps*>(table->scenario);
  const std::string music = scenario ? scenario->GetMusic() : std::string();
  if (!music.empty() && table->audioManager && table->entityManager)
    table->audioManager->PlayMusic(table->entityManager->GetResourcePath() + "Sounds\\" + music);
}
