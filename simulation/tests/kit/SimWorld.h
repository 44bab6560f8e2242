#pragma once
// The headless world of the simulation tests: the real engine core (service
// table, entity manager, configuration manager reading data/base.cfg, engine
// game manager with one time service on the test clock) with the simulation's
// managers spawned by name and started in the game's world-build order, and
// fakes and recorders in the neighbours' table fields.
#include <cstdint>
#include <memory>
#include <string>

#include "engine/config/ConfigManager.h"
#include "engine/frame/GameManager.h"
#include "engine/services/GlobalWrapper.h"
#include "engine/services/tests/FakeCore3D.h"
#include "platform/Clock.h"
#include "platform/tests/ScratchDir.h"
#include "simulation/SimulationSpawns.h"
#include "simulation/tests/kit/FakePathFinder.h"
#include "simulation/tests/kit/KitFakes.h"
#include "simulation/tests/kit/KitRandom.h"
#include "simulation/tests/kit/KitRecorders.h"

class cEntity_Simulation;
class cEntity_StatManager;
class cEntity_EventManager;
class cSimulation_Clock;

namespace simkit {

// The source tree's data folder (the tests read the authored files there).
std::string DataDir();

class KitGameManager : public cGameManager {
 public:
  using cGameManager::cGameManager;
  CoreStatus RegisterKeyHandlers(cGM_ConfigManager*) override { return 0; }
  CoreStatus ReloadKeyHandlers(cGM_ConfigManager*) override { return 0; }
  CoreStatus UnregisterKeyHandlers(cGM_ConfigManager*) override { return 0; }
};

class SimWorld {
 public:
  // Loads the settings and spawns the managers in loading order
  // (simulation with its children, statistics). Check `ready`.
  SimWorld();
  ~SimWorld();
  SimWorld(const SimWorld&) = delete;
  SimWorld& operator=(const SimWorld&) = delete;

  // The managers' world-build steps, in the game's order: simulation, path
  // finder, event manager, statistics.
  void BuildWorld();
  // The world reset: statistics leave the clock, event manager, path
  // finder, simulation.
  void ClearWorld();

  // One engine frame of `seconds` real time on the test clock: the game
  // manager's services, then the entity manager's pass.
  void RunFrame(float seconds);
  // Frames of `frame` seconds at `speed` until `days` game days have passed.
  void RunDays(uint32_t days, uint16_t speed, float frame = 1.0f);

  cSimulation_Clock& Clock();

  platform::TestClock testClock;
  fake3d::FakeCore3D renderer;
  cKV9_GlobalWrapper table;
  cCore_ConfigManager config;
  ScratchDir dir;
  std::unique_ptr<KitGameManager> manager;
  KitRandom random;
  RecordingWidgets widgets;
  RecordingPDA* pda = nullptr;  // owned by the action factory
  RecordingCamera* camera = nullptr;  // owned by the entity manager
  FakeScenario scenario{nullptr, kEntityType_Base};
  FakeWeather weather{nullptr, kEntityType_Base};
  FakePlot plot{nullptr, kEntityType_Base};
  FakeRoads roads{nullptr, kEntityType_Base};
  FakeBuildings buildings{nullptr, kEntityType_Base};
  FakeAirport airport{nullptr, kEntityType_Base};
  RecordingAudio audio{nullptr, kEntityType_Base};
  RecordingParticles particles{nullptr, kEntityType_Base};
  FakePathFinder pathFinder{64, 64};

  cEntity_Simulation* simulation = nullptr;
  cEntity_StatManager* stats = nullptr;
  cEntity_EventManager* events = nullptr;
  bool ready = false;

 private:
  SpawnSimulation spawnSimulation_;
  SpawnAirlineManager spawnAirlineManager_;
  SpawnEventManager spawnEventManager_;
  SpawnStatManager spawnStatManager_;
  std::unique_ptr<cSpawn_Base> spawnCamera_;
};

}  // namespace simkit
