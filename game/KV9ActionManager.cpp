#include "game/KV9ActionManager.h"

#include <string>
#include <vector>

#include "base/StringUtil.h"
#include "engine/entity/ActionBase.h"
#include "engine/frame/BaseCamera.h"
#include "engine/frame/BaseCursor.h"
#include "engine/frame/ParticleService.h"
#include "engine/frame/PhysicsService.h"
#include "engine/frame/RenderService.h"
#include "engine/frame/TimeService.h"
#include "game/GameScenarioHost.h"
#include "game/GameSpawns.h"
#include "game/GameTerrainHost.h"
#include "game/GameWeatherHost.h"
#include "game/world/WorldSpawns.h"

namespace {
const ScreenActionRow* screenRows_ = nullptr;
size_t screenCount_ = 0;
}  // namespace

void cKV9_ActionManager::SetScreenActions(const ScreenActionRow* rows, size_t count) {
  screenRows_ = rows;
  screenCount_ = rows ? count : 0;
}

cKV9_ActionManager::cKV9_ActionManager(cEntity_Manager* entityManager)
    : cActionManager(entityManager),
      scenarioHost_(std::make_unique<GameScenarioHost>(entityManager)),
      weatherHost_(std::make_unique<GameWeatherHost>(entityManager)),
      terrainHost_(std::make_unique<GameTerrainHost>(entityManager)) {
  // The engine's six built-in spawns come first, as the engine's own
  // manager creates them.
  AddSpawn(new SpawnBaseCamera());
  AddSpawn(new SpawnBaseCursor());
  AddSpawn(new SpawnTimeService());
  AddSpawn(new SpawnParticleService());
  AddSpawn(new SpawnPhysicsService());
  AddSpawn(new SpawnRenderService());
  for (size_t i = 0; i < screenCount_; ++i) {
    if (screenRows_[i].make) AddAction(screenRows_[i].make(GetGlobalWrapper()));
  }
  std::vector<std::unique_ptr<cSpawn_Base>> world =
      MakeWorldSpawns(WorldHosts{scenarioHost_.get(), weatherHost_.get(), terrainHost_.get()});
  size_t count = 0;
  const GameSpawnRow* rows = GetGameSpawnRows(&count);
  for (size_t i = 0; i < count; ++i) {
    if (rows[i].make) {
      AddSpawn(rows[i].make());
      continue;
    }
    for (auto& spawn : world) {
      if (spawn && str::EqualsNoCase(spawn->GetName(), rows[i].spawnName)) AddSpawn(spawn.release());
    }
  }
}

cKV9_ActionManager::~cKV9_ActionManager() {
  // The spawns go first: none may outlive the hosts it hands out.
  ReleaseAll();
}

void cKV9_ActionManager::InitializeActions() {
  for (cAction_Base* action : GetActions()) action->Reset();
}
