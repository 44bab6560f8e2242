#pragma once
// The game's road manager: the construction road manager with the steps the
// loading sequence, the world build and reset and the game camera take.
#include "construction/RoadManager.h"
#include "game/WorldPartOps.h"

class cKV9_RoadManager : public cEntity_RoadManager, public RoadManagerOps {
 public:
  explicit cKV9_RoadManager(cEntity_Manager* manager);

  CoreStatus LoadMaterials() override;
  CoreStatus BuildWorld() override;
  CoreStatus Clear() override;
  // Null: the road manager releases its own models (at its next build and
  // when it goes); a model handed out here would be released twice.
  C3DModel* TakeRoadModel() override { return nullptr; }
  // Entrance at x 0: -270; else at y 0: 0; else x at or past the plot's
  // view width less one: -90; otherwise -180.
  float GetEdgeEntryHeading() override;
  // The roads are drawn opaque: nothing is registered with the alpha manager.
  cAlphaUpdatee* GetAlphaUpdatee() override { return nullptr; }
};
