#pragma once
// A named attachment frame built from a marker group: per key frame, the
// translation and rotation that take a model-space point into the anchor's
// local coordinates, and the length of the anchor's axis.
#include <cstdint>
#include <string>
#include <vector>

#include "renderer/formats/SSMQuat.h"
#include "renderer/formats/SSMRecords.h"

struct SSMAnchor {
  std::string name;
  int32_t frameCount = 0;
  std::vector<SSMVec3> positions;
  std::vector<float> lengths;
  std::vector<SSMQuat> orientations;
};
