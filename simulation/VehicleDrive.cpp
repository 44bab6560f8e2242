// A road vehicle on the road: speed against the stop point ahead, the
// vehicle ahead and emergency vehicles near by; junction stops, the turning
// arc through a junction and the lane it keeps.
#include <algorithm>
#include <cmath>

#include "construction/PathFinder.h"
#include "construction/RoadManager.h"
#include "engine/math/Noise.h"
#include "engine/services/GlobalWrapper.h"
#include "simulation/AmbientManager.h"
#include "simulation/Vehicle.h"

namespace {

constexpr float kPi = 3.14159265358979f;
constexpr float kAtLine = 0.001f;

// A quarter turn from p to n: its target yaw and whether the yaw rises.
struct QuarterTurn {
  uint32_t from, to;
  float target;
  bool rising;
};
constexpr QuarterTurn kTurns[8] = {
    {0, 3, 3.0f * kPi / 2.0f, true}, {0, 1, kPi / 2.0f, false}, {1, 2, 0.0f, false},
    {1, 0, kPi, true},               {2, 1, kPi / 2.0f, true},  {2, 3, -kPi / 2.0f, false},
    {3, 0, kPi, false},              {3, 2, 2.0f * kPi, true},
};

const QuarterTurn* FindTurn(uint32_t p, uint32_t n) {
  for (const QuarterTurn& turn : kTurns) {
    if (turn.from == p && turn.to == n) return &turn;
  }
  return nullptr;
}

// The lane of each direction, measured from the cell's lower x (for 0 and
// 2) or z (for 1 and 3) edge, and the pull-over value it moves to.
constexpr float kLane[4] = {0.26f, 0.26f, 0.125f, 0.125f};
constexpr float kPullOver[4] = {0.52f, 0.52f, -0.125f, 0.26f};

}  // namespace

int cEntity_Vehicle::RoadNeighbours(uint16_t x, uint16_t y) {
  RoadNetwork* roads = services_ ? services_->roadManager : nullptr;
  if (!roads) return 0;
  int n = 0;
  for (uint8_t d = 0; d < 4; ++d) {
    float dx = 0.0f, dz = 0.0f;
    GridStep(d, &dx, &dz);
    if (roads->HasRoadAt(x + static_cast<int32_t>(dx), y + static_cast<int32_t>(dz))) ++n;
  }
  return n;
}

bool cEntity_Vehicle::IsJunction(uint16_t x, uint16_t y) {
  RoadNetwork* roads = services_ ? services_->roadManager : nullptr;
  if (!roads) return false;
  bool side[4] = {};
  int n = 0;
  for (uint8_t d = 0; d < 4; ++d) {
    float dx = 0.0f, dz = 0.0f;
    GridStep(d, &dx, &dz);
    side[d] = roads->HasRoadAt(x + static_cast<int32_t>(dx), y + static_cast<int32_t>(dz));
    n += side[d] ? 1 : 0;
  }
  if (n >= 3) return true;
  return n == 2 && !(side[0] && side[2]) && !(side[1] && side[3]);
}

bool cEntity_Vehicle::StopPointDistance(float* distance) {
  if (driveRoute.empty()) return false;
  const float vx = GetPositionX(), vz = GetPositionZ();
  if (driveRoute.size() < 2) {
    // The last cell: stand near its far edge.
    const WorldRect r = CellWorldRect(services_, driveRoute.back()->x, driveRoute.back()->y);
    switch (direction & 3) {
      case 0: *distance = std::fabs(vz - (r.z1 - 0.05f)); break;
      case 1: *distance = std::fabs(vx - (r.x1 - 0.85f)); break;
      case 2: *distance = std::fabs(vz - (r.z1 - 0.85f)); break;
      default: *distance = std::fabs(vx - (r.x1 - 0.15f)); break;
    }
    return true;
  }
  for (size_t i = 0; i + 1 < driveRoute.size(); ++i) {
    cPathNode* node = driveRoute[i];
    if (!IsJunction(node->x, node->y)) continue;
    // A vehicle already past the line stands at distance 0.
    const WorldRect r = CellWorldRect(services_, node->x, node->y);
    float line = 0.0f;
    switch (direction & 3) {
      case 0: line = std::min(r.z1 + 0.2f, vz); *distance = std::fabs(vz - line); break;
      case 1: line = std::max(r.x1 - 0.6f, vx); *distance = std::fabs(vx - line); break;
      case 2: line = std::max(r.z1 - 0.6f, vz); *distance = std::fabs(vz - line); break;
      default: line = std::min(r.x1 + 0.1f, vx); *distance = std::fabs(vx - line); break;
    }
    // Only the junction the vehicle drives into next stops it: one further
    // on lies behind a node where the route may change direction.
    return i == 0;
  }
  return false;
}

void cEntity_Vehicle::FollowVehicleAhead() {
  cEntity_AmbientManager* ambient = services_ ? services_->ambientManager : nullptr;
  if (!ambient || IsEmergency()) return;
  float gap = 0.0f;
  cEntity_Vehicle* ahead = ambient->FindVehicleAhead(this, &gap);
  if (!ahead) return;
  const float free = gap - kFollowGap;
  if (free > 0.0f) {
    if (currentSpeed > ahead->currentSpeed) {
      const float fits = std::sqrt(ahead->currentSpeed * ahead->currentSpeed + 2.0f * braking * free);
      currentSpeed = std::max(0.0f, std::min(currentSpeed, fits));
    }
  } else {
    currentSpeed = Noise_RandomFloatInRange(0.01f, 0.02f);
  }
}

void cEntity_Vehicle::UpdatePullOver(float t) {
  cEntity_AmbientManager* ambient = services_ ? services_->ambientManager : nullptr;
  if (!ambient || IsEmergency()) return;
  const JVector here{GetPositionX(), GetPositionY(), GetPositionZ()};
  const bool near = ambient->NearestVehicleDistance(here, kVehicleKind_Emergency, this) <= kPullOverRange;
  const uint32_t d = direction & 3;
  if (near) {
    if (!pullingOver) {
      pullingOver = true;
      pullOverOffset = kLane[d];
      pullOverRate = kPullOver[d];
    }
    const float step = std::fabs(pullOverRate - kLane[d]) * t * (pullOverRate > 0.0f ? 2.0f : 1.0f);
    if (pullOverOffset < pullOverRate) pullOverOffset = std::min(pullOverRate, pullOverOffset + step);
    else pullOverOffset = std::max(pullOverRate, pullOverOffset - step);
    if (pullOverOffset == pullOverRate) currentSpeed = 0.0f;
    else currentSpeed = std::max(0.2f, currentSpeed - 2.0f * maxSpeed * t);
    return;
  }
  if (!pullingOver) return;
  // Back into the lane; the lane reached ends the manoeuvre.
  const float step = std::fabs(pullOverRate - kLane[d]) * t;
  if (pullOverOffset < kLane[d]) pullOverOffset = std::min(kLane[d], pullOverOffset + step);
  else pullOverOffset = std::max(kLane[d], pullOverOffset - step);
  if (pullOverOffset == kLane[d]) pullingOver = false;
}

void cEntity_Vehicle::KeepLane() {
  const WorldRect r = CellWorldRect(services_, currentCellX, currentCellY);
  const uint32_t d = direction & 3;
  const float offset = pullingOver ? pullOverOffset : kLane[d];
  float x = GetPositionX(), z = GetPositionZ();
  if (d & 1) z = r.z0 + offset;
  else x = r.x0 + offset;
  PlaceAt(x, z);
  yaw = VehicleYaw(d);
  SetRotation(0.0f, yaw, 0.0f);
}

void cEntity_Vehicle::DriveStep(float t) {
  if (driveRoute.empty()) {
    moveState = kRouteUsedUp;
    return;
  }
  if (junctionState == kJunctionWaiting) {
    timer -= t;
    if (timer > 0.0f) return;
    // Into the junction: the turn follows from the way in and the way out.
    PassNode();
    if (driveRoute.empty()) {
      moveState = kRouteUsedUp;
      return;
    }
    junctionState = kJunctionTurning;
    const QuarterTurn* turn = FindTurn(previousDirection, direction);
    turnTarget = turn ? turn->target : yaw;
    if (!turn) {
      junctionState = kJunctionDriving;
      KeepLane();
    }
    return;
  }
  float stop = 0.0f;
  const bool stopAhead = StopPointDistance(&stop);
  if (stopAhead && stop < kAtLine) {
    ArriveAtStop(true);
    return;
  }
  const float stopping = currentSpeed * currentSpeed / (2.0f * braking);
  if (!stopAhead || stopping <= stop) currentSpeed = std::min(maxSpeed, currentSpeed + acceleration * t);
  else currentSpeed = std::max(0.0f, currentSpeed - braking * t);
  FollowVehicleAhead();
  UpdatePullOver(t);
  float step = currentSpeed * t;
  if (stopAhead) step = std::min(step, stop);
  // Pass the nodes the step reaches (straight on: no junction between).
  while (!driveRoute.empty()) {
    const WorldRect r = CellWorldRect(services_, nextCellX, nextCellY);
    const float centre = (direction & 1) ? (r.x0 + r.x1) * 0.5f : (r.z0 + r.z1) * 0.5f;
    const float left = (direction == 1 || direction == 2) ? centre - (direction & 1 ? GetPositionX() : GetPositionZ())
                                                          : (direction & 1 ? GetPositionX() : GetPositionZ()) - centre;
    if (driveRoute.size() < 2 || left > step || IsJunction(nextCellX, nextCellY)) break;
    MoveAlong(std::max(0.0f, left));
    step -= std::max(0.0f, left);
    PassNode();
  }
  MoveAlong(step);
  KeepLane();
  if (stopAhead && stop - step < kAtLine) ArriveAtStop(false);
}

void cEntity_Vehicle::ArriveAtStop(bool alreadyThere) {
  currentSpeed = 0.0f;
  if (driveRoute.size() < 2) {
    // The end of the route: the leg is driven.
    PassNode();
    driveRoute.clear();
    moveState = kRouteUsedUp;
    return;
  }
  junctionState = kJunctionWaiting;
  if (IsEmergency()) timer = Noise_RandomFloatInRange(0.2f, 0.4f);
  else if (alreadyThere && RoadNeighbours(nextCellX, nextCellY) < 3) timer = 0.0f;
  else timer = Noise_RandomFloatInRange(1.0f, 2.0f);
}

void cEntity_Vehicle::TurnStep(float t) {
  const QuarterTurn* turn = FindTurn(previousDirection, direction);
  if (!turn) {
    junctionState = kJunctionDriving;
    KeepLane();
    return;
  }
  const float step = 2.0f * t;
  yaw += turn->rising ? step : -step;
  const bool reached = turn->rising ? yaw >= turn->target : yaw <= turn->target;
  if (reached) {
    junctionState = kJunctionDriving;
    SetRotation(0.0f, yaw, 0.0f);
    return;
  }
  const float f = std::fabs(turn->target - yaw) * 2.0f / kPi;
  const float g = 1.0f - f;
  const WorldRect r = CellWorldRect(services_, currentCellX, currentCellY);
  float x = GetPositionX(), z = GetPositionZ();
  switch (turn->from * 4 + turn->to) {
    case 2 * 4 + 3: z += 0.8f * t * f; x = r.x0 + 0.125f - 0.3f * g; break;
    case 0 * 4 + 3: z -= 1.1f * t * f; x = r.x0 + 0.26f - 0.3f * g; break;
    case 1 * 4 + 0: x += 1.1f * t * f; z = r.z0 + 0.26f - 0.3f * g; break;
    case 3 * 4 + 0: x -= 0.8f * t * f; z = r.z0 + 0.125f - 0.4f * g; break;
    case 2 * 4 + 1: z += 1.1f * t * f; x = r.x0 + 0.125f + 0.4f * g; break;
    case 0 * 4 + 1: z -= 0.8f * t * f; x = r.x0 + 0.125f + 0.4f * g; break;
    case 1 * 4 + 2: x += 0.8f * t * f; z = r.z0 + 0.26f + 0.3f * g; break;
    default: x -= 1.1f * t * f; z = r.z0 + 0.125f + 0.4f * g; break;  // 3 -> 2
  }
  PlaceAt(x, z);
  SetRotation(0.0f, yaw, 0.0f);
}
