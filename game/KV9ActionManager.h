#pragma once
// The game's action manager: the engine's built-in spawns, then the game's
// screen actions and the spawns of the game's spawn table, in table order.
#include "engine/entity/ActionManager.h"

class cKV9_ActionManager : public cActionManager {
 public:
  explicit cKV9_ActionManager(cEntity_Manager* entityManager);
  ~cKV9_ActionManager() override;

  // Resets every action of the list, in list order (the world reset).
  virtual void InitializeActions();
};
