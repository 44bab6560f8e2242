#pragma once
// The game's taxiway and apron manager: the construction manager with the
// world build and reset steps.
#include "construction/TaxiwayManager.h"
#include "game/WorldPartOps.h"

class cKV9_TaxiwayManager : public cEntity_TaxiwayManager, public TaxiwayManagerOps {
 public:
  explicit cKV9_TaxiwayManager(cEntity_Manager* manager) : cEntity_TaxiwayManager(manager, kEntityType_Base) {}

  CoreStatus BuildWorld() override {
    cEntity_TaxiwayManager::BuildWorld();
    return status::Ok;
  }
  CoreStatus Clear() override {
    cEntity_TaxiwayManager::Clear();
    return status::Ok;
  }
};
