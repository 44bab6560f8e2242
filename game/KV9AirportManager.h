#pragma once
// The game's airport manager: the simulation's manager with the loading,
// world build and world reset steps, given the building manager's placed
// buildings as its site.
#include <memory>

#include "game/WorldPartOps.h"
#include "simulation/AirportManager.h"

class BuildingAirportSite;
class cEntity_BuildingManager;

class cKV9_AirportManager : public cEntity_AirportManager, public StartStopOps {
 public:
  explicit cKV9_AirportManager(cEntity_Manager* manager);
  ~cKV9_AirportManager() override;

  using cEntity_AirportManager::Init;
  // The tables, and the site over the building manager, which the loading
  // sequence makes first: a loaded game's buildings find their
  // administration places and storage links while they are restored.
  CoreStatus Init() override;
  // The site is checked again at every start, in case the building manager
  // came after the airport manager.
  CoreStatus Start() override;
  CoreStatus Stop() override { return cEntity_AirportManager::Stop(); }

 private:
  // Views the service table's building manager; none without one.
  void AttachSite();

  std::unique_ptr<BuildingAirportSite> ownSite_;
};
