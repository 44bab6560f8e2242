#pragma once
// The game's building manager: the construction building manager with the
// steps the loading sequence, the world build and reset, the weather's
// tornadoes, the game camera and the game cursor take, and the hooks that
// join the placed buildings to the ambient traffic, the terrain's scenery
// and the airport's storages and administration.
#include <cstdint>

#include "construction/BuildingManager.h"
#include "game/GameNeighbours.h"
#include "game/WorldPartOps.h"

class cKV9_BuildingManager : public cEntity_BuildingManager, public BuildingManagerOps {
 public:
  explicit cKV9_BuildingManager(cEntity_Manager* manager);

  // Installs the hooks, then reads the class names, the three tables and
  // the status models.
  CoreStatus LoadDataTables() override;
  CoreStatus RelinkAfterLoad() override { return RestoreFromSave(); }
  CoreStatus Reset() override { return cEntity_BuildingManager::Reset(); }
  void ApplyTornadoDamage(const JVector& position) override { cEntity_BuildingManager::ApplyTornadoDamage(position); }
  // The pointer entering or leaving a widget changes nothing for the
  // buildings: placement follows the plot's own pointer events.
  void OnCursorMessageA() override {}
  void OnCursorMessageB() override {}
  bool IsPlacing() override { return GetPlacementObject() != nullptr; }
  bool GetBuildingTop(int32_t cellX, int32_t cellY, float* top) override;

 private:
  void InstallHooks();

  GameNeighbours game_;
};
