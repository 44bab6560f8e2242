#include "simulation/Vehicle.h"

#include <algorithm>
#include <cmath>

#include "construction/BOInstance.h"
#include "construction/BuildableObject.h"
#include "construction/BuildingManager.h"
#include "construction/GamePlot.h"
#include "construction/PathFinder.h"
#include "construction/RoadManager.h"
#include "engine/math/Noise.h"
#include "engine/services/GlobalWrapper.h"
#include "scene/AudioManager.h"
#include "simulation/AmbientManager.h"
#include "simulation/SimulationClock.h"
#include "simulation/SimulationServices.h"
#include "simulation/SlowDown.h"

namespace {

constexpr float kPi = 3.14159265358979f;

uint32_t Reverse(uint32_t d) { return (d + 2) & 3; }

constexpr const char* kSirenSound = "Sounds\\siren.wav";

}  // namespace

float VehicleYaw(uint32_t direction) {
  static constexpr float kYaw[4] = {kPi, kPi / 2.0f, 0.0f, 3.0f * kPi / 2.0f};
  return kYaw[direction & 3];
}

uint32_t StepDirection(uint16_t fromX, uint16_t fromY, uint16_t toX, uint16_t toY) {
  if (toX < fromX) return 3;
  if (toX > fromX) return 1;
  if (toY < fromY) return 0;
  return 2;
}

WorldRect CellWorldRect(cKV9_GlobalWrapper* table, uint16_t x, uint16_t y) {
  WorldRect r;
  if (table && table->gamePlot && table->gamePlot->GetCellWorldRect(x, y, &r.x0, &r.z0, &r.x1, &r.z1, true))
    return r;
  r.x0 = kPlotOrigin + static_cast<float>(x) * kPlotCellLength;
  r.z0 = kPlotOrigin + static_cast<float>(y) * kPlotCellLength;
  r.x1 = r.x0 + kPlotCellLength;
  r.z1 = r.z0 + kPlotCellLength;
  return r;
}

float PlotGround(cKV9_GlobalWrapper* table) {
  return table && table->gamePlot ? table->gamePlot->GetGroundHeight() : 0.0f;
}

cEntity_Vehicle::cEntity_Vehicle(cEntity_Manager* manager) : cEntity_Ambient(manager) {
  speed = 13.888889f;
  if (cKV9_GlobalWrapper* table = services_; table && table->gamePlot) {
    const WorldRect r = CellWorldRect(table, 0, 0);
    reservedWord = 2.5f * (r.x1 - r.x0);
  }
  maxSpeed = 9.722222f * Noise_RandomFloatInRange(0.9f, 1.1f);
  acceleration = 3.0f * Noise_RandomFloatInRange(0.9f, 1.1f);
  braking = 3.0f * Noise_RandomFloatInRange(0.9f, 1.1f);
}

cEntity_Vehicle::~cEntity_Vehicle() = default;

void cEntity_Vehicle::RebuildWorldMatrix() {
  cEntity_Ambient::RebuildWorldMatrix();
  if (services_ && services_->ambientManager) services_->ambientManager->VehicleMoved(this);
}

void cEntity_Vehicle::Begin(uint16_t startX, uint16_t startY, float startYaw) {
  currentCellX = nextCellX = startX;
  currentCellY = nextCellY = startY;
  const WorldRect r = CellWorldRect(services_, startX, startY);
  PlaceAt((r.x0 + r.x1) * 0.5f, (r.z0 + r.z1) * 0.5f);
  yaw = startYaw;
  SetRotation(0.0f, yaw, 0.0f);
  SetVisible(false);
  NextLeg();
}

void cEntity_Vehicle::StartArrival(uint16_t destX, uint16_t destY, uint16_t originX, uint16_t originY,
                                   uint32_t kind, uint32_t startDirection) {
  kindFlags = kind;
  originCellX = originX;
  originCellY = originY;
  endDirection = startDirection & 3;
  direction = endDirection;
  legs.clear();
  const auto wait = [this](float lo, float hi) {
    VehicleLeg leg;
    leg.kind = VehicleLeg::kWait;
    leg.waitSeconds = Noise_RandomFloatInRange(lo, hi);
    legs.push_back(leg);
  };
  const auto drive = [this](uint16_t x, uint16_t y) {
    VehicleLeg leg;
    leg.x = x;
    leg.y = y;
    legs.push_back(leg);
  };
  uint16_t startX = originX, startY = originY;
  RoadNetwork* roads = services_ ? services_->roadManager : nullptr;
  uint16_t entranceX = 0, entranceY = 0;
  const bool fromEntrance = !(kind & (kVehicleKind_Emergency | kVehicleKind_ServiceTrip | kVehicleKind_Snow)) ||
                            (kind & kVehicleKind_RoundTrip);
  if (fromEntrance) {
    // Traffic from outside starts at the plot entrance; without one there
    // is nowhere to come from.
    if (!roads || !roads->GetEntranceCell(&entranceX, &entranceY)) {
      Finish();
      return;
    }
    startX = entranceX;
    startY = entranceY;
  }
  if (kind & kVehicleKind_RoundTrip) {
    wait(0.0f, 10.0f);
    drive(destX, destY);
    wait(0.0f, 10.0f);
    drive(entranceX, entranceY);
  } else if (kind & (kVehicleKind_Emergency | kVehicleKind_ServiceTrip | kVehicleKind_Snow)) {
    // Out from the origin and back: emergency and service vehicles stay
    // longer and drive faster, snow vehicles crawl.
    const bool snow = !(kind & (kVehicleKind_Emergency | kVehicleKind_ServiceTrip));
    wait(0.0f, 1.0f);
    drive(destX, destY);
    snow ? wait(0.0f, 1.0f) : wait(8.0f, 20.0f);
    drive(originX, originY);
    maxSpeed *= snow ? 0.3f : 3.0f;
    acceleration *= snow ? 0.5f : 2.5f;
    braking *= snow ? 0.5f : 2.5f;
    if (kind & kVehicleKind_Emergency) SlowDownFor(services_, Happening::Emergency);
  } else {
    SlowDownFor(services_, Happening::VehicleArrive);
    wait(0.0f, 10.0f);
    drive(destX, destY);
  }
  Begin(startX, startY, static_cast<float>(startDirection & 3) * kPi / 2.0f);
}

void cEntity_Vehicle::StartLeaving(uint16_t buildingX, uint16_t buildingY, uint16_t originX, uint16_t originY,
                                   uint32_t) {
  SlowDownFor(services_, Happening::VehicleLeave);
  originCellX = originX;
  originCellY = originY;
  RoadNetwork* roads = services_ ? services_->roadManager : nullptr;
  uint16_t entranceX = 0, entranceY = 0;
  if (!roads || !roads->GetEntranceCell(&entranceX, &entranceY)) {
    Finish();
    return;
  }
  legs.clear();
  VehicleLeg wait;
  wait.kind = VehicleLeg::kWait;
  wait.waitSeconds = Noise_RandomFloatInRange(0.0f, 10.0f);
  legs.push_back(wait);
  VehicleLeg drive;
  drive.x = entranceX;
  drive.y = entranceY;
  legs.push_back(drive);
  removeAtEnd = true;
  endDirection = entranceX == 0 ? 1 : 3;
  direction = endDirection;
  Begin(buildingX, buildingY, static_cast<float>(endDirection) * kPi / 2.0f);
}

void cEntity_Vehicle::NextLeg() {
  if (stage == kFinished) return;
  ++currentLeg;
  if (pathRequest) {
    if (services_ && services_->pathFinder) services_->pathFinder->CancelRequest(pathRequest);
    pathRequest = nullptr;
  }
  if (currentLeg >= static_cast<int32_t>(legs.size())) {
    if (removeAtEnd) {
      Finish();
      return;
    }
    stage = kTripDone;
    endDirection = Reverse(endDirection);
    endDistance = 0.0f;
    moveState = 0;
    return;
  }
  const VehicleLeg& leg = legs[static_cast<size_t>(currentLeg)];
  if (leg.kind == VehicleLeg::kWait) {
    stage = kWaiting;
    SetVisible(false);
    timer = leg.waitSeconds;
    return;
  }
  stage = kDriving;
  moveState = 0;
  if (!StartDriveLeg(leg)) Finish();
}

bool cEntity_Vehicle::StartDriveLeg(const VehicleLeg& leg) {
  cPathFinder* finder = services_ ? services_->pathFinder : nullptr;
  if (!finder) return false;
  cPathNode* from = finder->GetNodeAt(nextCellX, nextCellY);
  cPathNode* to = finder->GetNodeAt(static_cast<int32_t>(leg.x), static_cast<int32_t>(leg.y));
  if (!from || !to) return false;
  pathRequest = finder->RequestPath(from, to, 0, IsEmergency() ? 1 : 0, 0);
  // Clearance asks every entered node for links on all four sides, which a
  // one-cell-wide road never has: an emergency vehicle that finds no room
  // takes the plain road rather than never setting off.
  if (IsEmergency() && pathRequest && pathRequest->status && pathRequest->route.size() < 2) {
    finder->CancelRequest(pathRequest);
    pathRequest = finder->RequestPath(from, to, 0, 0, 0);
  }
  if (!pathRequest) return false;
  // A search the finder spreads over ticks is taken up when it ends.
  return !pathRequest->status || TakeRoute(pathRequest->route);
}

void cEntity_Vehicle::StartOnRoute(const std::vector<cPathNode*>& path) {
  legs.clear();
  currentLeg = 0;
  removeAtEnd = true;
  stage = kDriving;
  moveState = 0;
  if (!TakeRoute(path)) Finish();
}

bool cEntity_Vehicle::TakeRoute(const std::vector<cPathNode*>& path) {
  CopyRoute(driveRoute, path);
  if (driveRoute.size() < 2 || !driveRoute.front()) return false;
  currentCellX = driveRoute.front()->x;
  currentCellY = driveRoute.front()->y;
  driveRoute.erase(driveRoute.begin());
  nextCellX = driveRoute.front()->x;
  nextCellY = driveRoute.front()->y;
  direction = StepDirection(currentCellX, currentCellY, nextCellX, nextCellY);
  previousDirection = direction;
  junctionState = kJunctionDriving;
  const WorldRect r = CellWorldRect(services_, currentCellX, currentCellY);
  PlaceAt((r.x0 + r.x1) * 0.5f, (r.z0 + r.z1) * 0.5f);
  yaw = VehicleYaw(direction);
  KeepLane();
  SetVisible(true);
  RaiseRouteTraffic();
  return true;
}

void cEntity_Vehicle::RaiseRouteTraffic() {
  cEntity_BuildingManager* buildings = services_ ? services_->buildingManager : nullptr;
  if (!buildings) return;
  for (cPathNode* node : driveRoute) {
    BOInstance* instance = node ? buildings->GetInstanceAt(node->x, node->y) : nullptr;
    cBuildableObject* type = instance ? instance->GetType() : nullptr;
    const AmbientTrafficData* ambient = type ? type->GetAmbientTraffic() : nullptr;
    if (ambient && ambient->flag) instance->trafficCounter += passengers + 1;
  }
}

void cEntity_Vehicle::Finish() {
  if (finished) return;
  stage = kFinished;
  if (pathRequest) {
    if (services_ && services_->pathFinder) services_->pathFinder->CancelRequest(pathRequest);
    pathRequest = nullptr;
  }
  if (sirenSound && services_ && services_->audioManager) services_->audioManager->StopSound(sirenSound);
  sirenSound = nullptr;
  if (services_ && services_->ambientManager) services_->ambientManager->RemoveVehicle(this);
  cEntity_Ambient::Finish();
}

int32_t cEntity_Vehicle::OnTime(uint32_t, uint32_t, uint32_t eventFlag, float gameDelta) {
  if (eventFlag != kTimeEvent_Tick || !(gameDelta > 0.0f) || finished) return 0;
  const float t = std::min(gameDelta, kTickClamp);
  detailed = GameSpeed() <= detailSpeedLimit;
  if (detailed) DetailedTick(t);
  else NonDetailedTick(t);
  return 0;
}

bool cEntity_Vehicle::DetailedTick(float t) {
  switch (stage) {
    case kDriving:
      if (pathRequest && !pathRequest->status) return false;
      if (pathRequest && driveRoute.empty() && moveState == 0 && !TakeRoute(pathRequest->route)) {
        Finish();
        return false;
      }
      if (moveState == kRouteUsedUp) {
        NextLeg();
        return true;
      }
      if (junctionState == kJunctionTurning) TurnStep(t);
      else DriveStep(t);
      return true;
    case kWaiting:
      timer -= t;
      if (timer > 0.0f) return false;
      NextLeg();
      if (IsEmergency() && stage == kDriving && services_ && services_->audioManager) {
        if (!sirenSound) sirenSound = services_->audioManager->PlaySound(kSirenSound, true, 0);
      }
      return true;
    case kTripDone:
      EndStep(t);
      return true;
    default:
      return false;
  }
}

void cEntity_Vehicle::NonDetailedTick(float t) {
  float budget = t;
  // Whole cells and whole waits until the tick's time is spent; a bound on
  // the steps keeps a zero-length route from spinning.
  for (int steps = 0; steps < 256 && !finished; ++steps) {
    if (stage == kDriving) {
      if (pathRequest && !pathRequest->status) return;
      if (pathRequest && driveRoute.empty() && moveState == 0 && !TakeRoute(pathRequest->route)) {
        Finish();
        return;
      }
      if (moveState == kRouteUsedUp || driveRoute.empty()) {
        NextLeg();
        continue;
      }
      const WorldRect r = CellWorldRect(services_, nextCellX, nextCellY);
      const float cx = (r.x0 + r.x1) * 0.5f, cz = (r.z0 + r.z1) * 0.5f;
      const float gap = std::fabs(cx - GetPositionX()) + std::fabs(cz - GetPositionZ());
      const float travel = maxSpeed * budget;
      currentSpeed = maxSpeed;
      if (travel < gap) {
        MoveAlong(travel);
        return;
      }
      budget -= gap / maxSpeed;
      PlaceAt(cx, cz);
      PassNode();
      if (driveRoute.empty()) moveState = kRouteUsedUp;
      else KeepLane();
    } else if (stage == kWaiting) {
      timer -= budget;
      if (timer > 0.0f) return;
      budget = -timer;
      NextLeg();
    } else {
      if (stage == kTripDone) Finish();
      return;
    }
  }
}

void cEntity_Vehicle::PassNode() {
  previousDirection = direction;
  currentCellX = nextCellX;
  currentCellY = nextCellY;
  if (!driveRoute.empty()) driveRoute.erase(driveRoute.begin());
  junctionState = kJunctionDriving;
  if (driveRoute.empty()) return;
  nextCellX = driveRoute.front()->x;
  nextCellY = driveRoute.front()->y;
  direction = StepDirection(currentCellX, currentCellY, nextCellX, nextCellY);
}

void cEntity_Vehicle::EndStep(float t) {
  const float target = VehicleYaw(endDirection);
  if (moveState == 0) {
    // Turn on the spot, creeping along the lane.
    float diff = target - yaw;
    while (diff > kPi) diff -= 2.0f * kPi;
    while (diff < -kPi) diff += 2.0f * kPi;
    const float step = 2.0f * t;
    MoveAlong(0.6f * t);
    if (std::fabs(diff) <= step) {
      yaw = target;
      direction = endDirection;
      moveState = 1;
    } else {
      yaw += diff > 0.0f ? step : -step;
    }
    SetRotation(0.0f, yaw, 0.0f);
    return;
  }
  MoveAlong(0.6f * t);
  endDistance += 0.6f * t;
  if (endDistance >= 1.0f) Finish();
}

float cEntity_Vehicle::Along() const {
  return (direction & 1) ? const_cast<cEntity_Vehicle*>(this)->GetPositionX()
                         : const_cast<cEntity_Vehicle*>(this)->GetPositionZ();
}

void cEntity_Vehicle::MoveAlong(float distance) {
  float dx = 0.0f, dz = 0.0f;
  GridStep(static_cast<uint8_t>(direction), &dx, &dz);
  PlaceAt(GetPositionX() + dx * distance, GetPositionZ() + dz * distance);
}

void cEntity_Vehicle::PlaceAt(float x, float z) {
  SetPosition(x, PlotGround(services_), z);
  uint16_t cx = 0, cy = 0;
  if (WorldToPlotCell(x, z, &cx, &cy)) {
    cellX = cx;
    cellY = cy;
  }
}
