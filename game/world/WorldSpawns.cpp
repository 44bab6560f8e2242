#include "game/world/WorldSpawns.h"

#include <new>

#include "engine/entity/ActionManager.h"
#include "game/world/KV9GameScenario.h"
#include "game/world/KV9WeatherManager.h"
#include "game/world/Terrain.h"
#include "game/world/TerrainManager.h"

namespace {

// A spawn that makes one entity class over one host.
template <typename Entity, typename Host>
class WorldSpawn : public cSpawn_Base {
 public:
  WorldSpawn(const char* name, Host* host) : cSpawn_Base(name), host_(host) {}
  cEntity_Base* Create(uint32_t, uint32_t, cEntity_Manager* creator, const std::string&) override {
    return new (std::nothrow) Entity(creator, host_);
  }

 private:
  Host* host_;
};

}  // namespace

std::vector<std::unique_ptr<cSpawn_Base>> MakeWorldSpawns(const WorldHosts& hosts) {
  std::vector<std::unique_ptr<cSpawn_Base>> spawns;
  spawns.push_back(std::make_unique<WorldSpawn<cKV9_GameScenario, ScenarioHost>>(cKV9_GameScenario::kSpawnName,
                                                                                  hosts.scenario));
  spawns.push_back(std::make_unique<WorldSpawn<cKV9_WeatherManager, WeatherHost>>(cKV9_WeatherManager::kSpawnName,
                                                                                   hosts.weather));
  spawns.push_back(std::make_unique<WorldSpawn<cEntity_TerrainManager, TerrainHost>>(
      cEntity_TerrainManager::kSpawnName, hosts.terrain));
  spawns.push_back(
      std::make_unique<WorldSpawn<cEntity_Terrain, TerrainHost>>(cEntity_Terrain::kSpawnName, hosts.terrain));
  return spawns;
}

void RegisterWorldSpawns(cActionManager* owner, const WorldHosts& hosts) {
  if (!owner) return;
  for (auto& spawn : MakeWorldSpawns(hosts)) owner->AddSpawn(spawn.release());
}
