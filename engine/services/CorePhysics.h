#pragma once
// The physics module interface (service type 8). The game loads no physics
// module; the physics service uses one when the table holds it.
#include <cstdint>

#include "engine/services/CoreBase.h"
#include "base/Status.h"

struct JMatrix;

class CorePhysics : public CoreBase {
 public:
  CorePhysics();
  ~CorePhysics() override;

  virtual CoreStatus CreateWorld(int32_t* worldId) = 0;
  virtual CoreStatus CreateSpace(int32_t* spaceId) = 0;
  virtual CoreStatus AttachSpaceToWorld(int32_t spaceId, int32_t worldId) = 0;
  virtual CoreStatus CreateBody(void* body, int32_t spaceId) = 0;
  virtual CoreStatus SetBodyTransform(void* body, const JMatrix* transform) = 0;
};
