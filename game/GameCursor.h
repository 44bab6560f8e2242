#pragma once
// The game cursor (spawned as "SPN::KV9:CURSOR"). The game program completes
// it.
#include "engine/frame/BaseCursor.h"

class cEntity_GameCursor : public cEntity_BaseCursor {
 public:
  using cEntity_BaseCursor::cEntity_BaseCursor;

  // Returns the cursor to its normal state.
  virtual void SetNormal() = 0;
};
