#include "tools/savetool/PreparedSaves.h"

#include "base/StringUtil.h"
#include "engine/services/GlobalWrapper.h"
#include "game/GameKV9.h"
#include "game/KV9InputManager.h"
#include "game/Skyvane.h"
#include "game/world/KV9GameScenario.h"
#include "platform/audio/AudioOutput.h"
#include "platform/graphics/GfxFactory.h"
#include "platform/window/Window.h"

PreparedSaves::PreparedSaves(std::string runTree) : runTree_(std::move(runTree)) {}

PreparedSaves::~PreparedSaves() {
  if (application_) {
    application_->GetGameManager().Terminate();
    application_.reset();
  }
  if (table_) table_->application = nullptr;
  table_.reset();
  if (windowSystem_) platform::ShutdownWindowSystem();
}

bool PreparedSaves::Fail(const std::string& why) {
  failure_ = why;
  return false;
}

bool PreparedSaves::Start() {
  // Nothing is shown or heard: the world only has to be built and saved.
  platform::gfx::SetDefaultBackend(platform::gfx::Backend::Record);
  platform::SetAudioOutputKind(platform::AudioOutputKind::Null);
  if (status::Failed(platform::InitWindowSystem(platform::WindowBackend::Headless)))
    return Fail("the window system did not start");
  windowSystem_ = true;
  table_ = std::make_unique<cKV9_GlobalWrapper>(
      cKV9_GlobalWrapper::InputManagerHooks{&cKV9_InputManager::Create, &cKV9_InputManager::Destroy});
  application_ = std::make_unique<cSkyvane>(table_.get());
  table_->application = application_.get();
  // Full paths: the plug-ins and the data are found beside the program.
  application_->SetProgramPath(runTree_ + "/airport");
  application_->SetConfigScript(runTree_ + "/data/base.cfg");
  if (status::Failed(application_->Init(nullptr))) return Fail("start-up failed: " + application_->GetFailure());
  cKV9_GameManager& manager = application_->GetGameManager();
  if (status::Failed(manager.InitGameSystem()))
    return Fail("loading failed at \"" + manager.GetFailedStepText() + "\": " + manager.GetLoadingFailure());
  if (!Scenario() || !table_->game) return Fail("the loading sequence made no scenario or game entity");
  return true;
}

cKV9_GameScenario* PreparedSaves::Scenario() const {
  return table_ ? dynamic_cast<cKV9_GameScenario*>(table_->scenario) : nullptr;
}

void PreparedSaves::SetSaveDirectory(const std::string& folder) {
  if (application_) application_->GetGameManager().SetSaveDirectory(folder);
}

bool PreparedSaves::SaveNewGame(const std::string& location, const std::string& saveName) {
  cKV9_GameScenario* scenario = Scenario();
  if (!scenario || !table_->game) return Fail("the game is not started");
  const _LocationRecord* chosen = nullptr;
  for (const auto& record : scenario->GetLocations()) {
    if (str::EqualsNoCase(record->name, location)) chosen = record.get();
  }
  if (!chosen) return Fail("no location \"" + location + "\" in the run tree");
  if (worldBuilt_) application_->GetGameManager().ClearWorld();
  worldBuilt_ = false;
  if (!scenario->SelectLocationByName(chosen->name, chosen->continent))
    return Fail("the location \"" + location + "\" cannot be chosen");
  if (status::Failed(table_->game->StartNewGame(""))) return Fail("the new game on " + chosen->name + " did not start");
  worldBuilt_ = true;
  if (status::Failed(scenario->SaveGame(saveName)))
    return Fail("the game could not be saved as " + scenario->SavePath(saveName));
  return true;
}

bool PreparedSaves::Load(const std::string& saveName) {
  if (!Scenario() || !table_->game) return Fail("the game is not started");
  Scenario()->isScenarioFile = false;
  if (status::Failed(table_->game->LoadGame(saveName, false))) return Fail(saveName + " did not load");
  worldBuilt_ = true;
  return true;
}
