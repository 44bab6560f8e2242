#pragma once
// The root entity of a running game ("GameKV9", spawned as "SPN::KV9:GAME"):
// the one entry point through which the screens start a new game or load a
// saved one. It shows the loading screen, hands the work to the scenario and
// the game manager, and reports the outcome as a status code. It has no
// per-frame work and handles no messages or input of its own.
#include <string>

#include "engine/entity/EntityBase.h"
#include "engine/entity/InputSocket.h"
#include "engine/entity/SpawnBase.h"

class cEntity_GameScenario;
class cKV9_GlobalWrapper;
class cKV9_GameManager;

class cEntity_GameKV9 : public cEntity_Base, public cCore_Base_InputSocket {
 public:
  static constexpr const char* kSpawnName = "SPN::KV9:GAME";
  static constexpr const char* kScenarioSpawn = "SPN::KV9:SCENARIO";

  explicit cEntity_GameKV9(cEntity_Manager* manager);
  ~cEntity_GameKV9() override;

  CoreStatus RegisterKeyHandlers(cGM_ConfigManager*) override { return status::Ok; }
  CoreStatus ReloadKeyHandlers(cGM_ConfigManager*) override { return status::Ok; }
  CoreStatus UnregisterKeyHandlers(cGM_ConfigManager*) override { return status::Ok; }

  // Spawns the scenario through the game manager and files it here and in
  // the table. 0x80004005 when nothing or another class comes back (the
  // table's slot is then left as it was).
  CoreStatus SpawnScenario();
  // A new game; an empty map name generates the terrain from the current
  // location. On failure the loading screen is taken down again and the
  // cursor shown.
  CoreStatus StartNewGame(const std::string& mapName);
  // Loads a saved game or scenario file; inGame keeps the in-game interface.
  CoreStatus LoadGame(const std::string& fileName, bool inGame);

  cEntity_GameScenario* GetScenario() const { return scenario_; }

  // The loading scene shown with its progress widget handed to the game
  // manager, the cursor hidden and the progress reset; the scenario's loader
  // shows it the same way.
  void ShowLoadingScreen();
  // Hides the loading scenes and shows the cursor (a failed new game or
  // load).
  void HideLoadingScreen();

 private:
  cKV9_GameManager* GameManager() const;

  void* interface_ = nullptr;
  cKV9_GlobalWrapper* wrapper_ = nullptr;
  cEntity_GameScenario* scenario_ = nullptr;
};

class SpawnGameKV9 : public cSpawn_Base {
 public:
  SpawnGameKV9() : cSpawn_Base(cEntity_GameKV9::kSpawnName) {}
  cEntity_Base* Create(uint32_t, uint32_t, cEntity_Manager* creator, const std::string&) override;
};
