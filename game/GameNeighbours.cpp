#include "game/GameNeighbours.h"

#include <algorithm>

#include "engine/config/ConfigManager.h"
#include "engine/entity/EntityManager.h"
#include "engine/services/GlobalWrapper.h"
#include "game/KV9GameManager.h"
#include "platform/DebugOutput.h"
#include "simulation/Simulation.h"

GameNeighbours::GameNeighbours(cEntity_Manager* entities, const char* owner) : entities_(entities), owner_(owner) {}

cKV9_GlobalWrapper* GameNeighbours::Table() const {
  return entities_ ? dynamic_cast<cKV9_GlobalWrapper*>(entities_->GetGlobalWrapper()) : nullptr;
}

cKV9_GameManager* GameNeighbours::GameManager() const {
  cKV9_GlobalWrapper* table = Table();
  return table ? table->gameManager : nullptr;
}

bool GameNeighbours::IsLive(const cEntity_Base* entity) const {
  cKV9_GameManager* manager = entity ? GameManager() : nullptr;
  if (!manager) return false;
  const std::vector<cEntity_Base*>& held = manager->GetEntities();
  return std::find(held.begin(), held.end(), entity) != held.end();
}

cSimulation_Clock* GameNeighbours::GameClock() const {
  cKV9_GlobalWrapper* table = Table();
  cEntity_Simulation* simulation = table ? Live(table->simulation) : nullptr;
  return simulation ? &simulation->clock : nullptr;
}

std::string GameNeighbours::ResourceDirectory() const {
  return entities_ ? entities_->GetResourcePath() : std::string();
}

bool GameNeighbours::GetOption(const std::string& section, const std::string& key, std::string* value) const {
  cKV9_GlobalWrapper* table = Table();
  cCore_ConfigManager* config = table ? table->configManager : nullptr;
  if (!config || !value) return false;
  return config->GetString(section, key, *value);
}

void GameNeighbours::Missing(const std::string& what) const {
  if (!reported_.insert(what).second) return;
  platform::DebugPrintf("[%s] no %s: the request is skipped\n", owner_, what.c_str());
}
