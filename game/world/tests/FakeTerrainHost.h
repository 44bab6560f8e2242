#pragma once
// A terrain host over a recording renderer, a height field the test owns and
// a game clock; spawning makes a real terrain entity.
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "game/world/Terrain.h"
#include "game/world/TerrainHost.h"
#include "game/world/tests/WorldCore3D.h"
#include "simulation/SimulationClock.h"

class FakeTerrainHost : public TerrainHost {
 public:
  Core3D* Renderer() override { return &renderer; }
  std::string ResourceDirectory() override { return resources; }
  bool GetOption(const std::string& section, const std::string& key, std::string* value) override {
    auto it = options.find(section + "|" + key);
    if (it == options.end()) return false;
    *value = it->second;
    return true;
  }
  const float* Heights() override { return heightSource ? heightSource() : nullptr; }
  std::string PlotTexture() override { return plotTexture; }
  void PlotSize(float* width, float* length) override {
    *width = 40.0f;
    *length = 40.0f;
  }
  cSimulation_Clock* GameClock() override { return &clock; }
  void SetCameraTarget(const JVector& target) override { cameraTargets.push_back(target); }
  cEntity_Base* Spawn(const std::string& name) override {
    spawned.push_back(name);
    if (name != cEntity_Terrain::kSpawnName) return nullptr;
    terrains.push_back(std::make_unique<cEntity_Terrain>(nullptr, this));
    return terrains.back().get();
  }
  void Destroy(cEntity_Base* entity) override {
    for (auto& t : terrains)
      if (t.get() == entity) t.reset();
  }

  worldfake::WorldCore3D renderer;
  std::string resources;
  std::map<std::string, std::string> options;
  std::function<const float*()> heightSource;
  std::string plotTexture;
  cSimulation_Clock clock;
  std::vector<JVector> cameraTargets;
  std::vector<std::string> spawned;
  std::vector<std::unique_ptr<cEntity_Terrain>> terrains;
};
