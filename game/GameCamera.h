#pragma once
// The main game camera (spawned as "SPN::KV9:CAMERA"). The game program
// completes it.
#include <cstdint>

#include "engine/frame/BaseCamera.h"

class cEntity_GameCamera : public cEntity_BaseCamera {
 public:
  using cEntity_BaseCamera::cEntity_BaseCamera;

  // Moves the target there unless the fixed view is on.
  virtual void SetFocusXZ(float x, float z) = 0;
  virtual void SetZoom(float distance) = 0;
  virtual void StartShake(int32_t strength, float duration) = 0;

  uint8_t fixedView = 0;
  uint8_t secondFlag = 0;
  uint8_t suppressDrawing = 0;
};
