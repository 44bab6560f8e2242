#pragma once
// The land plot (spawned as "SPN::KV9:GAMEPLOT"). The construction issue of
// the plot grid completes it.
#include "engine/entity/EntityBase.h"

class cEntity_GamePlot : public cEntity_Base {
 public:
  using cEntity_Base::cEntity_Base;

  // The world height of the plot's ground.
  virtual float GetGroundHeight() = 0;
};
