#pragma once
// The game's action manager: the engine's built-in spawns, then the game's
// screen actions and the spawns of the game's spawn table, in table order.
// It owns the hosts the world's entities ask of the game: they live as long
// as the spawns that hand them out, and the game manager removes its
// entities before it deletes this manager.
#include <cstddef>
#include <memory>

#include "engine/entity/ActionManager.h"

class cAction_Base;
class cCore_GlobalWrapper;
class GameScenarioHost;
class GameTerrainHost;
class GameWeatherHost;

// One screen action of the game: its name and, once the screen is built, how
// to make it with the global service table.
struct ScreenActionRow {
  const char* actionName;
  cAction_Base* (*make)(cCore_GlobalWrapper* table);  // null: not built yet
};

class cKV9_ActionManager : public cActionManager {
 public:
  explicit cKV9_ActionManager(cEntity_Manager* entityManager);
  ~cKV9_ActionManager() override;

  // Resets every action of the list, in list order (the world reset).
  virtual void InitializeActions();

  // The screens live in a library above the game's; the program hands their
  // table in before the game manager starts. Rows stay owned by the caller.
  static void SetScreenActions(const ScreenActionRow* rows, size_t count);

 private:
  std::unique_ptr<GameScenarioHost> scenarioHost_;
  std::unique_ptr<GameWeatherHost> weatherHost_;
  std::unique_ptr<GameTerrainHost> terrainHost_;
};
