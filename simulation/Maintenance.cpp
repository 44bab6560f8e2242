#include "simulation/Maintenance.h"

#include <algorithm>
#include <cmath>

#include "construction/PathFinder.h"
#include "engine/frame/GameManager.h"
#include "engine/math/Noise.h"
#include "engine/services/GlobalWrapper.h"
#include "simulation/Airplane.h"
#include "simulation/AmbientManager.h"
#include "simulation/SimulationClock.h"
#include "simulation/SimulationServices.h"
#include "simulation/Vehicle.h"

namespace {

constexpr float kPi = 3.14159265358979f;
constexpr float kArriveWithin = 0.01f;

// The axis coordinate of a cell's centre along a direction of travel.
float CentreAlong(cKV9_GlobalWrapper* table, uint16_t x, uint16_t y, uint32_t d) {
  const WorldRect r = CellWorldRect(table, x, y);
  return (d & 1) ? (r.x0 + r.x1) * 0.5f : (r.z0 + r.z1) * 0.5f;
}

}  // namespace

cEntity_Maintanance::cEntity_Maintanance(cEntity_Manager* manager) : cEntity_Ambient(manager, kDetailLimit) {
  maxSpeed = 2.7777777f * Noise_RandomFloatInRange(0.9f, 1.1f);
}

cEntity_Maintanance::~cEntity_Maintanance() = default;

void cEntity_Maintanance::Start(PathRequest* request, uint16_t targetX, uint16_t targetY, uint16_t startX,
                                uint16_t startY, bool returnsAfter, uint32_t kind,
                                cEntity_Airplane* servedAirplane) {
  pathRequest = request;
  targetCellX = targetX;
  targetCellY = targetY;
  startCellX = startX;
  startCellY = startY;
  returns = returnsAfter;
  kindFlags = kind;
  airplane = servedAirplane;
  if (request) CopyRoute(driveRoute, request->route);
  if (driveRoute.size() < 2) {
    End();
    return;
  }
  cEntity_AmbientManager* ambient = services_ ? services_->ambientManager : nullptr;
  const std::string model = ambient ? ambient->ChooseModelForKind(kind) : std::string();
  // Without a model for its kind the vehicle ends: an airplane must not
  // wait six hours for a vehicle that never comes.
  if (model.empty()) {
    End();
    return;
  }
  if (services_->graphics) SetModelName(services_->graphics, model);
  if (cGameManager* game = GameManagerOf(services_)) {
    std::list<std::string> services{"AmbientRenderService"};
    game->AttachToServices(services, this);
  }
  if (cSimulation_Clock* clock = GameClockOf(services_); clock && !clock->IsRegistered(this))
    clock->RegisterTimeObject(this);
  SetScale(0.05f, 0.05f, 0.05f);
  EnterRoad();
}

void cEntity_Maintanance::EnterRoad() {
  state = kDrivingOut;
  const WorldRect r = CellWorldRect(services_, startCellX, startCellY);
  SetPosition((r.x0 + r.x1) * 0.5f, PlotGround(services_), (r.z0 + r.z1) * 0.5f);
  yaw = kPi / 2.0f;
  SetRotation(0.0f, yaw, 0.0f);
  currentSpeed = 0.0f;
  driveState = kTurning;
  timer = Noise_RandomFloatInRange(300.0f, 600.0f);
  direction = 1;
  NextCell();
}

void cEntity_Maintanance::NextCell() {
  if (state == kEnded || driveRoute.empty()) return;
  const uint16_t fromX = driveRoute.front()->x, fromY = driveRoute.front()->y;
  driveRoute.erase(driveRoute.begin());
  if (driveRoute.empty()) {
    // The route is used up: the vehicle stands at its last node.
    driveState = kArrived;
    return;
  }
  cPathNode* next = driveRoute.front();
  nextDirection = StepDirection(fromX, fromY, next->x, next->y);
  targetCoordinate = CentreAlong(services_, next->x, next->y, nextDirection);
}

int32_t cEntity_Maintanance::OnTime(uint32_t, uint32_t, uint32_t eventFlag, float gameDelta) {
  if (eventFlag != kTimeEvent_Tick || gameDelta == 0.0f || state == kEnded) return 0;
  tickSeconds = gameDelta;
  if (GameSpeed() > detailSpeedLimit) {
    End();
    return 0;
  }
  switch (state) {
    case kDrivingOut:
    case kDrivingBack:
      if (driveState == kTurning) Turn(gameDelta);
      else if (driveState == kStraight) DriveStraight(gameDelta);
      else NextState();
      break;
    case kStaying:
      timer -= gameDelta;
      if (timer < 0.0f) NextState();
      break;
    default:
      break;
  }
  return 0;
}

void cEntity_Maintanance::NextState() {
  if (state == kDrivingOut) {
    state = kStaying;
    return;
  }
  if (state == kStaying && returns) {
    cPathFinder* finder = services_ ? services_->pathFinder : nullptr;
    cPathNode* from = finder ? finder->GetNodeAt(targetCellX, targetCellY) : nullptr;
    cPathNode* to = finder ? finder->GetNodeAt(startCellX, startCellY) : nullptr;
    CancelRequest();
    if (!from || !to) return;  // tried again next tick
    state = kDrivingBack;
    currentSpeed = 0.0f;
    driveState = kTurning;
    pathRequest = finder->RequestPath(from, to, 0, 1, 0);
    driveRoute.clear();
    if (pathRequest) CopyRoute(driveRoute, pathRequest->route);
    if (driveRoute.size() < 2) {
      End();
      return;
    }
    NextCell();
    return;
  }
  End();
}

void cEntity_Maintanance::MoveIn(uint32_t d, float distance) {
  float dx = 0.0f, dz = 0.0f;
  GridStep(static_cast<uint8_t>(d), &dx, &dz);
  SetPosition(GetPositionX() + dx * distance, PlotGround(services_), GetPositionZ() + dz * distance);
}

void cEntity_Maintanance::DriveStraight(float t) {
  currentSpeed = std::min(maxSpeed, currentSpeed + acceleration * t);
  MoveIn(direction, currentSpeed * t);
  const float along = (direction & 1) ? GetPositionX() : GetPositionZ();
  const bool rising = direction == 1 || direction == 2;
  const float left = rising ? targetCoordinate - along : along - targetCoordinate;
  if (left > kArriveWithin) return;
  if (driveRoute.size() < 2) {
    driveState = kArrived;
    return;
  }
  NextCell();
  driveState = kTurning;
}

void cEntity_Maintanance::Turn(float t) {
  const uint32_t d = direction, n = nextDirection;
  float target = VehicleYaw(n);
  if (d == 2 && n == 3) target = -kPi / 2.0f;
  else if (d == 3 && n == 2) target = 2.0f * kPi;
  else if (n == d || n == ((d + 2) & 3)) target = VehicleYaw(d);
  const float step = 2.0f * t;
  const bool up = target > yaw;
  yaw += up ? step : -step;
  if (up ? yaw >= target : yaw <= target) {
    yaw = target == -kPi / 2.0f ? 3.0f * kPi / 2.0f : target;
    SetRotation(0.0f, yaw, 0.0f);
    direction = n;
    driveState = kStraight;
    return;
  }
  const float f = std::fabs(yaw - target) * 2.0f / kPi;
  const float reach = 0.8f * t;
  MoveIn(d, f * reach);
  MoveIn(n, (1.0f - f) * reach);
  SetRotation(0.0f, yaw, 0.0f);
}

void cEntity_Maintanance::CancelRequest() {
  if (!pathRequest) return;
  if (services_ && services_->pathFinder) services_->pathFinder->CancelRequest(pathRequest);
  pathRequest = nullptr;
}

void cEntity_Maintanance::End() {
  if (finished) return;
  state = kEnded;
  if (airplane) {
    static constexpr uint32_t kKinds[kServiceCount + 1] = {0x08, 0x10, 0x20, 0x40, 0x80, 0x100};
    for (uint32_t i = 0; i <= kServiceCount; ++i) {
      if (kindFlags & kKinds[i]) {
        airplane->servicesUnderWay[i] = 0;
        break;
      }
    }
    airplane = nullptr;
  }
  CancelRequest();
  if (services_ && services_->ambientManager) services_->ambientManager->ForgetMaintenance(this);
  cEntity_Ambient::Finish();
}
