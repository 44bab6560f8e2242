#pragma once
// The terrain's view of the running game: the renderer, the resource folder
// and options, the scenario's height field and plot texture, the land plot's
// size, the game clock, the game camera's target, and entities spawned and
// destroyed through the game manager.
#include "game/GameNeighbours.h"
#include "game/world/TerrainHost.h"

class GameTerrainHost : public TerrainHost {
 public:
  explicit GameTerrainHost(cEntity_Manager* entities);

  Core3D* Renderer() override;
  std::string ResourceDirectory() override;
  bool GetOption(const std::string& section, const std::string& key, std::string* value) override;
  const float* Heights() override;
  std::string PlotTexture() override;
  void PlotSize(float* width, float* length) override;
  cSimulation_Clock* GameClock() override;
  void SetCameraTarget(const JVector& target) override;
  cEntity_Base* Spawn(const std::string& spawnName) override;
  void Destroy(cEntity_Base* entity) override;

 private:
  GameNeighbours game_;
};
