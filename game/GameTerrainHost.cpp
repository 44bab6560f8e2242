#include "game/GameTerrainHost.h"

#include "construction/GamePlot.h"
#include "engine/services/GlobalWrapper.h"
#include "game/GameCamera.h"
#include "game/KV9GameManager.h"
#include "game/world/KV9GameScenario.h"

GameTerrainHost::GameTerrainHost(cEntity_Manager* entities) : game_(entities, "GameTerrainHost") {}

Core3D* GameTerrainHost::Renderer() {
  cKV9_GlobalWrapper* t = game_.Table();
  return t ? t->graphics : nullptr;
}

std::string GameTerrainHost::ResourceDirectory() { return game_.ResourceDirectory(); }

bool GameTerrainHost::GetOption(const std::string& section, const std::string& key, std::string* value) {
  return game_.GetOption(section, key, value);
}

const float* GameTerrainHost::Heights() {
  cKV9_GlobalWrapper* t = game_.Table();
  auto* scenario = t ? dynamic_cast<cKV9_GameScenario*>(game_.Live(t->scenario)) : nullptr;
  return scenario ? scenario->GetHeights() : nullptr;
}

std::string GameTerrainHost::PlotTexture() {
  cKV9_GlobalWrapper* t = game_.Table();
  cEntity_GameScenario* scenario = t ? game_.Live(t->scenario) : nullptr;
  return scenario ? scenario->GetPlotTexture() : std::string();
}

void GameTerrainHost::PlotSize(float* width, float* length) {
  cKV9_GlobalWrapper* t = game_.Table();
  cEntity_GamePlot* plot = t ? game_.Live(t->gamePlot) : nullptr;
  if (!plot) game_.Missing("game plot");
  if (width) *width = plot ? static_cast<float>(plot->GetWidth()) : 0.0f;
  if (length) *length = plot ? static_cast<float>(plot->GetHeight()) : 0.0f;
}

cSimulation_Clock* GameTerrainHost::GameClock() { return game_.GameClock(); }

void GameTerrainHost::SetCameraTarget(const JVector& target) {
  cKV9_GameManager* manager = game_.GameManager();
  if (cEntity_GameCamera* camera = manager ? manager->GetGameCamera() : nullptr) {
    camera->SetTarget(target);
  } else {
    game_.Missing("game camera");
  }
}

cEntity_Base* GameTerrainHost::Spawn(const std::string& spawnName) {
  cKV9_GameManager* manager = game_.GameManager();
  cEntity_Base* made = nullptr;
  if (manager) manager->SpawnEntity(spawnName, &made);
  return made;
}

void GameTerrainHost::Destroy(cEntity_Base* entity) {
  cKV9_GameManager* manager = game_.GameManager();
  // Only an entity the game manager still holds: one already marked for
  // removal goes with the pass that removes it.
  if (manager && game_.IsLive(entity)) manager->DestroyEntity(entity);
}
