#include "simulation/Ambient.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "engine/config/ConfigManager.h"
#include "engine/frame/GameManager.h"
#include "engine/services/GlobalWrapper.h"
#include "scene/AudioManager.h"
#include "simulation/EventManager.h"
#include "simulation/SimulationClock.h"
#include "simulation/SimulationServices.h"

cEntity_Ambient::cEntity_Ambient(cEntity_Manager* manager)
    : cEntity_BaseModel(manager), cSimulation_TimeObject(kTimeEvent_Tick) {
  services_ = GameTableOf(this);
  if (services_ && services_->configManager) {
    float limit = kDefaultDetailSpeedLimit;
    if (services_->configManager->GetFloat("App", "ambient_hdrlimit", limit)) detailSpeedLimit = limit;
  }
}

cEntity_Ambient::cEntity_Ambient(cEntity_Manager* manager, float fixedDetailSpeedLimit)
    : cEntity_BaseModel(manager), cSimulation_TimeObject(kTimeEvent_Tick), detailSpeedLimit(fixedDetailSpeedLimit) {
  services_ = GameTableOf(this);
}

cEntity_Ambient::~cEntity_Ambient() = default;

CoreStatus cEntity_Ambient::Exit() {
  if (services_ && services_->audioManager) services_->audioManager->RemoveObjectSounds(this);
  return cEntity_BaseModel::Exit();
}

float cEntity_Ambient::GameSpeed() const {
  cSimulation_Clock* clock = GameClockOf(services_);
  return clock ? clock->speed : 0.0f;
}

void cEntity_Ambient::TurnHeading(float distance) {
  if (headingRate[0] == 0.0f && headingRate[1] == 0.0f && headingRate[2] == 0.0f) return;
  heading.x += headingRate[0] * distance;
  heading.y += headingRate[1] * distance;
  heading.z += headingRate[2] * distance;
}

void cEntity_Ambient::RotateByAngularVelocity(float distance) {
  if (rotationRate[0] == 0.0f && rotationRate[1] == 0.0f && rotationRate[2] == 0.0f) return;
  AddRotation(rotationRate[0] * distance, rotationRate[1] * distance, rotationRate[2] * distance);
}

bool cEntity_Ambient::CheckTargetReached(float* overshoot) {
  if (targets.empty()) {
    Finish();
    return false;
  }
  const AmbientTarget& t = targets.front();
  const float position[3] = {GetPositionX(), GetPositionY(), GetPositionZ()};
  const float goal[3] = {t.x, t.y, t.z};
  const uint8_t modes[3] = {t.modeX, t.modeY, t.modeZ};
  float best = std::numeric_limits<float>::max();
  bool constrained = false;
  for (int axis = 0; axis < 3; ++axis) {
    float d = 0.0f;
    if (modes[axis] == kAxis_AtOrAbove) {
      if (position[axis] < goal[axis]) return false;
      d = position[axis] - goal[axis];
    } else if (modes[axis] == kAxis_AtOrBelow) {
      if (position[axis] > goal[axis]) return false;
      d = goal[axis] - position[axis];
    } else {
      continue;
    }
    constrained = true;
    best = std::min(best, d);
  }
  // A target that constrains no axis is reached where the model stands;
  // the largest float would send it back across the world.
  *overshoot = constrained ? best : 0.0f;
  return true;
}

int32_t cEntity_Ambient::OnTime(uint32_t, uint32_t, uint32_t eventFlag, float gameDelta) {
  if (eventFlag != kTimeEvent_Tick || !(gameDelta > 0.0f) || finished) return 0;
  float t = gameDelta;
  if (waitTimer > 0.0f) {
    waitTimer -= t;
    if (waitTimer > 0.0f) return 0;
    const uint32_t event = pendingEvent;
    pendingEvent = kTargetEvent_None;
    OnTargetEvent(event);
    return 0;
  }
  while (t > 0.0f && !finished) {
    if (speed == 0.0f) return 0;
    const float d = kPlotCellLength * speed * t;
    TurnHeading(d);
    RotateByAngularVelocity(d);
    Translate(heading.x * d, heading.y * d, heading.z * d);
    uint16_t x = 0, y = 0;
    if (WorldToPlotCell(GetPositionX(), GetPositionZ(), &x, &y)) {
      cellX = x;
      cellY = y;
    }
    float overshoot = 0.0f;
    if (!CheckTargetReached(&overshoot)) return 0;
    t = overshoot / (kPlotCellLength * speed);
    Translate(-heading.x * overshoot, -heading.y * overshoot, -heading.z * overshoot);
    std::fill(std::begin(headingRate), std::end(headingRate), 0.0f);
    std::fill(std::begin(rotationRate), std::end(rotationRate), 0.0f);
    const uint32_t event = targets.front().event;
    targets.erase(targets.begin());
    OnTargetEvent(event);
    // A handler that starts a wait spends the rest of the tick waiting.
    if (waitTimer > 0.0f) return 0;
  }
  return 0;
}

void cEntity_Ambient::OnTargetEvent(uint32_t code) {
  if (code == kTargetEvent_Finish || code == kTargetEvent_FinishToo) Finish();
}

void cEntity_Ambient::Finish() {
  if (finished) return;
  finished = true;
  if (cSimulation_Clock* clock = GameClockOf(services_)) clock->UnregisterTimeObject(this);
  if (cGameManager* game = GameManagerOf(services_)) game->DestroyEntity(this);
}

bool WorldToPlotCell(float x, float z, uint16_t* cellX, uint16_t* cellY) {
  const float cx = std::floor((x - kPlotOrigin) / kPlotCellLength);
  const float cy = std::floor((z - kPlotOrigin) / kPlotCellLength);
  if (!(cx >= 0.0f && cy >= 0.0f && cx < kPlotCells && cy < kPlotCells)) return false;
  *cellX = static_cast<uint16_t>(cx);
  *cellY = static_cast<uint16_t>(cy);
  return true;
}

void PlotCellCentre(uint16_t cellX, uint16_t cellY, float* x, float* z) {
  *x = kPlotOrigin + (static_cast<float>(cellX) + 0.5f) * kPlotCellLength;
  *z = kPlotOrigin + (static_cast<float>(cellY) + 0.5f) * kPlotCellLength;
}

void GridStep(uint8_t direction, float* dx, float* dz) {
  static constexpr float kX[4] = {0.0f, 1.0f, 0.0f, -1.0f};
  static constexpr float kZ[4] = {-1.0f, 0.0f, 1.0f, 0.0f};
  *dx = kX[direction & 3];
  *dz = kZ[direction & 3];
}

int16_t RotateGridOffsetX(uint8_t rotation, int16_t x, int16_t y) {
  switch (rotation) {
    case 1: return y;
    case 2: return static_cast<int16_t>(-x);
    case 3: return static_cast<int16_t>(-y);
    default: return x;
  }
}

int16_t RotateGridOffsetY(uint8_t rotation, int16_t x, int16_t y) {
  switch (rotation) {
    case 1: return static_cast<int16_t>(-x);
    case 2: return static_cast<int16_t>(-y);
    case 3: return x;
    default: return y;
  }
}

void CopyRoute(std::vector<cPathNode*>& destination, const std::vector<cPathNode*>& source) {
  destination.assign(source.begin(), source.end());
}

bool ShouldSlowOnPlaneTakeoff(cEntity_EventManager* events) {
  return events && events->autoslow.ShouldSlow(Happening::PlaneTakeoff);
}

bool ShouldSlowOnVehicleArrive(cEntity_EventManager* events) {
  return events && events->autoslow.ShouldSlow(Happening::VehicleArrive);
}

bool ShouldSlowOnFlightCancel(cEntity_EventManager* events) {
  return events && events->autoslow.ShouldSlow(Happening::FlightCancel);
}
