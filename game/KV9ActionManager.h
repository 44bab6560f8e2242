#pragma once
// The game's action manager: the engine's built-in spawns, then the game's
// screen actions and the spawns of the game's spawn table, in table order.
// It owns the hosts the world's entities ask of the game: they live as long
// as the spawns that hand them out, and the game manager removes its
// entities before it deletes this manager.
#include <memory>

#include "engine/entity/ActionManager.h"

class GameScenarioHost;
class GameTerrainHost;
class GameWeatherHost;

class cKV9_ActionManager : public cActionManager {
 public:
  explicit cKV9_ActionManager(cEntity_Manager* entityManager);
  ~cKV9_ActionManager() override;

  // Resets every action of the list, in list order (the world reset).
  virtual void InitializeActions();

 private:
  std::unique_ptr<GameScenarioHost> scenarioHost_;
  std::unique_ptr<GameWeatherHost> weatherHost_;
  std::unique_ptr<GameTerrainHost> terrainHost_;
};
