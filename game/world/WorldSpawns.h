#pragma once
// The world's spawns: the scenario, the weather manager, the terrain manager
// and the terrain entity, each made over the host the game hands in.
#include <memory>
#include <vector>

#include "engine/entity/SpawnBase.h"

class cActionManager;
class ScenarioHost;
class TerrainHost;
class WeatherHost;

// The game's answers to what the world's entities ask of it; they outlive
// every entity made.
struct WorldHosts {
  ScenarioHost* scenario = nullptr;
  WeatherHost* weather = nullptr;
  TerrainHost* terrain = nullptr;
};

// "SPN::KV9:SCENARIO", "SPN::KV9:WEATHERMANAGER", "SPN::KV9:TERRAIN:MANAGER"
// and "SPN::KV9:TERRAIN:TERRAIN".
std::vector<std::unique_ptr<cSpawn_Base>> MakeWorldSpawns(const WorldHosts& hosts);
// The same spawns handed to the game's spawn owner, which files them.
void RegisterWorldSpawns(cActionManager* owner, const WorldHosts& hosts);
