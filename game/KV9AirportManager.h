#pragma once
// The game's airport manager: the simulation's manager with the loading,
// world build and world reset steps, given the placed buildings as its site
// when the building manager offers them.
#include "game/WorldPartOps.h"
#include "simulation/AirportManager.h"

class cKV9_AirportManager : public cEntity_AirportManager, public StartStopOps {
 public:
  explicit cKV9_AirportManager(cEntity_Manager* manager) : cEntity_AirportManager(manager) {}

  using cEntity_AirportManager::Init;
  CoreStatus Init() override { return cEntity_AirportManager::Init(); }
  // The site is looked up again at every start: the building manager may
  // come after the airport manager.
  CoreStatus Start() override;
  CoreStatus Stop() override { return cEntity_AirportManager::Stop(); }
};
