#pragma once
// The base of every moving thing on the airport (airplanes, road vehicles,
// passengers, maintenance vehicles): a model entity registered with the
// clock for ticks, with a heading and a speed, a list of targets that the
// default tick moves it along, a wait timer with a pending event, its plot
// cell and a route of path nodes. Never created by itself.
#include <cstdint>
#include <vector>

#include "engine/entity/EntityModel.h"
#include "engine/frame/RenderServiceItem.h"
#include "engine/math/JVector.h"
#include "simulation/TimeObject.h"

class cEntity_EventManager;
class cKV9_GlobalWrapper;
class cPathNode;

// Axis modes of a target: ignored, passed at or above, passed at or below.
enum TargetAxis : uint8_t { kAxis_Ignored = 0, kAxis_AtOrAbove = 1, kAxis_AtOrBelow = 2 };

// Target event codes (what happens when a target is reached or a wait ends).
enum TargetEvent : uint32_t {
  kTargetEvent_None = 0,
  kTargetEvent_Finish = 5,
  kTargetEvent_PlaneSound = 8,
  kTargetEvent_RunwayHold = 9,
  kTargetEvent_GateHold = 10,
  kTargetEvent_FinishToo = 11,
};

struct AmbientTarget {
  float x = 0.0f, y = 0.0f, z = 0.0f;  // world coordinates
  uint8_t modeX = kAxis_Ignored, modeY = kAxis_Ignored, modeZ = kAxis_Ignored;
  uint32_t event = kTargetEvent_None;
};

// The world length of one plot cell (256 world units over 640 cells).
inline constexpr float kPlotCellLength = 0.4f;
// The default plot: 640 x 640 cells over world x and z from -128 to 128.
inline constexpr float kPlotOrigin = -128.0f;
inline constexpr uint16_t kPlotCells = 640;
// The cell under a world point; false off the plot.
bool WorldToPlotCell(float x, float z, uint16_t* cellX, uint16_t* cellY);
// The world point at a cell's centre.
void PlotCellCentre(uint16_t cellX, uint16_t cellY, float* x, float* z);
// A grid direction (0 toward -y, 1 toward +x, 2 toward +y, 3 toward -x) as a
// world step on x and z.
void GridStep(uint8_t direction, float* dx, float* dz);

// Game speeds: sounds only at or below the first; airplanes and maintenance
// vehicles take shortcuts above their own detail limits.
inline constexpr float kSoundSpeedLimit = 20.0f;
inline constexpr float kDefaultDetailSpeedLimit = 5.0f;

class cEntity_Ambient : public cEntity_BaseModel, public cRenderServiceItem, public cSimulation_TimeObject {
 public:
  explicit cEntity_Ambient(cEntity_Manager* manager);
  // With the detail speed limit given, for a model whose limit is fixed: the
  // configuration is not read.
  cEntity_Ambient(cEntity_Manager* manager, float fixedDetailSpeedLimit);
  ~cEntity_Ambient() override;

  // Drops the model's object sounds, then the entity's own exit.
  CoreStatus Exit() override;

  // heading += heading rate x distance (when the rate is not zero).
  virtual void TurnHeading(float distance);
  // rotation += rotation rate x distance (when the rate is not zero).
  virtual void RotateByAngularVelocity(float distance);
  // True when the first target is reached, with how far past it the model
  // went. An empty list finishes the model (false).
  virtual bool CheckTargetReached(float* overshoot);
  // The default tick: the wait timer, then motion along the targets.
  int32_t OnTime(uint32_t totalSeconds, uint32_t interval, uint32_t eventFlag, float gameDelta) override;
  // A target event: 5 and 11 finish the model; the others do nothing here
  // (airplanes add 8, 9 and 10).
  virtual void OnTargetEvent(uint32_t code);
  // Leaves the clock and has the game manager destroy the model.
  virtual void Finish();

  cKV9_GlobalWrapper* Services() const { return services_; }
  // The game speed, 0 without a clock.
  float GameSpeed() const;

  JVector heading;
  uint8_t gridDirection = 0;
  float headingRate[3] = {};
  float rotationRate[3] = {};
  std::vector<AmbientTarget> targets;
  float waitTimer = 0.0f;
  uint32_t pendingEvent = kTargetEvent_None;
  float speed = 0.0f;  // plot cells per game second
  float detailSpeedLimit = kDefaultDetailSpeedLimit;
  uint16_t cellX = 0xFFFF;
  uint16_t cellY = 0xFFFF;
  std::vector<cPathNode*> route;
  bool finished = false;

 protected:
  cKV9_GlobalWrapper* services_ = nullptr;
};

// A building type's grid offset turned by a placed building's rotation
// (0-3; anything else counts as 0).
int16_t RotateGridOffsetX(uint8_t rotation, int16_t x, int16_t y);
int16_t RotateGridOffsetY(uint8_t rotation, int16_t x, int16_t y);
void CopyRoute(std::vector<cPathNode*>& destination, const std::vector<cPathNode*>& source);
// The slow-down tests of the ambient models with the event manager's
// switches; false without an event manager.
bool ShouldSlowOnPlaneTakeoff(cEntity_EventManager* events);
bool ShouldSlowOnVehicleArrive(cEntity_EventManager* events);
bool ShouldSlowOnFlightCancel(cEntity_EventManager* events);
