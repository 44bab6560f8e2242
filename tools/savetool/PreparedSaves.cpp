#include "tools/savetool/PreparedSaves.h"

#include <filesystem>
#include <system_error>

#include "base/StringUtil.h"
#include "engine/services/GlobalWrapper.h"
#include "game/GameKV9.h"
#include "game/Skyvane.h"
#include "game/world/KV9GameScenario.h"
#include "platform/Paths.h"
#include "platform/audio/AudioOutput.h"
#include "platform/graphics/GfxFactory.h"

PreparedSaves::PreparedSaves(std::string runTree) : program_(std::move(runTree)) {}

PreparedSaves::~PreparedSaves() = default;

bool PreparedSaves::Fail(const std::string& why) {
  failure_ = why;
  return false;
}

bool PreparedSaves::Start() {
  // Nothing is shown or heard: the world only has to be built and saved.
  platform::gfx::SetDefaultBackend(platform::gfx::Backend::Record);
  platform::SetAudioOutputKind(platform::AudioOutputKind::Null);
  if (!program_.Start(platform::WindowBackend::Headless)) return Fail(program_.Failure());
  cKV9_GameManager& manager = program_.Application()->GetGameManager();
  if (status::Failed(manager.InitGameSystem()))
    return Fail("loading failed at \"" + manager.GetFailedStepText() + "\": " + manager.GetLoadingFailure());
  if (!Scenario() || !Table()->game) return Fail("the loading sequence made no scenario or game entity");
  return true;
}

cKV9_GameScenario* PreparedSaves::Scenario() const {
  return Table() ? dynamic_cast<cKV9_GameScenario*>(Table()->scenario) : nullptr;
}

void PreparedSaves::SetSaveDirectory(const std::string& folder) {
  if (program_.Application()) program_.Application()->GetGameManager().SetSaveDirectory(folder);
}

bool PreparedSaves::SaveNewGame(const std::string& location, const std::string& saveName) {
  cKV9_GameScenario* scenario = Scenario();
  if (!scenario || !Table()->game) return Fail("the game is not started");
  const _LocationRecord* chosen = nullptr;
  for (const auto& record : scenario->GetLocations()) {
    if (str::EqualsNoCase(record->name, location)) chosen = record.get();
  }
  if (!chosen) return Fail("no location \"" + location + "\" in the run tree");
  if (worldBuilt_) program_.Application()->GetGameManager().ClearWorld();
  worldBuilt_ = false;
  if (!scenario->SelectLocationByName(chosen->name, chosen->continent))
    return Fail("the location \"" + location + "\" cannot be chosen");
  if (status::Failed(Table()->game->StartNewGame(""))) return Fail("the new game on " + chosen->name + " did not start");
  worldBuilt_ = true;
  if (status::Failed(scenario->SaveGame(saveName)))
    return Fail("the game could not be saved as " + scenario->SavePath(saveName));
  return true;
}

bool PreparedSaves::SaveNewGameInto(const std::string& location, const std::string& saveName,
                                    const std::string& folder) {
  if (!SaveNewGame(location, saveName)) return false;
  std::string saved;
  if (!platform::ResolvePath(Scenario()->SavePath(saveName), &saved)) return Fail(saveName + " was not written");
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  std::filesystem::rename(saved, std::filesystem::path(folder) / saveName, error);
  if (error) return Fail("cannot move " + saved + " into " + folder + ": " + error.message());
  return true;
}

bool PreparedSaves::Load(const std::string& saveName) {
  cKV9_GameScenario* scenario = Scenario();
  if (!scenario || !Table()->game) return Fail("the game is not started");
  scenario->isScenarioFile = false;
  if (status::Failed(Table()->game->LoadGame(saveName, false))) return Fail(saveName + " did not load");
  worldBuilt_ = true;
  return true;
}
