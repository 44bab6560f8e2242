#pragma once
// The road manager (spawned as "SPN::KV9:ROAD:MANAGER"). The road issue
// completes it.
#include <cstdint>

#include "engine/entity/EntityBase.h"

class cEntity_RoadManager : public cEntity_Base {
 public:
  using cEntity_Base::cEntity_Base;

  // True when the cell holds road whose connected flag is set.
  virtual bool IsConnectedRoadCell(int32_t x, int32_t y) = 0;
};
