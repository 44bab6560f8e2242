#pragma once
// A road vehicle ("SPN::KV9:VEHICLE"): a car, service, emergency or snow
// vehicle driving the land-side road network between the plot entrance and
// the buildings. Its trip is a list of legs (drive to a cell, or wait); it
// drives a leg's route node by node with acceleration and braking, keeps its
// distance to the vehicle ahead, stops at junctions and turns through them on
// an arc, pulls over for emergency vehicles and at the end turns back or
// disappears. Distances are world units, times game seconds.
#include <cstdint>
#include <vector>

#include "simulation/Ambient.h"

class BOInstance;
class SoundHandle;
struct PathRequest;

// Kind flags of a road vehicle's trip.
inline constexpr uint32_t kVehicleKind_RoundTrip = 0x0004;
inline constexpr uint32_t kVehicleKind_Emergency = 0x0700;
inline constexpr uint32_t kVehicleKind_ServiceTrip = 0x0800;
inline constexpr uint32_t kVehicleKind_Snow = 0x1000;

struct VehicleLeg {
  enum Kind : uint32_t { kDrive = 1, kWait = 2 };
  uint32_t x = 0;
  uint32_t y = 0;
  uint32_t kind = kDrive;
  float waitSeconds = 0.0f;
};

// The yaw of a grid direction (0 -y, 1 +x, 2 +y, 3 -x).
float VehicleYaw(uint32_t direction);
// The direction of the step from one cell to a neighbouring one along one
// axis: x falls 3, x grows 1, y falls 0, y grows 2 (x decides when both
// change).
uint32_t StepDirection(uint16_t fromX, uint16_t fromY, uint16_t toX, uint16_t toY);

// A cell's world rectangle (x0 < x1, z0 < z1), from the land plot when the
// table has one, else the default plot.
struct WorldRect {
  float x0 = 0.0f, z0 = 0.0f, x1 = 0.0f, z1 = 0.0f;
};
WorldRect CellWorldRect(cKV9_GlobalWrapper* table, uint16_t x, uint16_t y);
// The plot's ground height (0 without a plot).
float PlotGround(cKV9_GlobalWrapper* table);

class cEntity_Vehicle : public cEntity_Ambient {
 public:
  static constexpr const char* kSpawnName = "SPN::KV9:VEHICLE";
  static constexpr float kTickClamp = 0.11f;
  static constexpr float kFollowGap = 0.75f;
  static constexpr float kPullOverRange = 2.0f;
  static constexpr uint32_t kRouteUsedUp = 0xFFFFFFFFu;

  enum Stage : uint32_t { kFinished = 0, kDriving = 1, kWaiting = 2, kTripDone = 3 };
  enum Junction : uint32_t { kJunctionDriving = 0, kJunctionWaiting = 1, kJunctionTurning = 2 };

  explicit cEntity_Vehicle(cEntity_Manager* manager);
  ~cEntity_Vehicle() override;

  // Builds the trip's legs from the kind flags, places the model at the
  // start cell facing `direction`, hidden, and starts the first leg.
  void StartArrival(uint16_t destX, uint16_t destY, uint16_t originX, uint16_t originY, uint32_t kind,
                    uint32_t startDirection);
  // Leaves a building: a short wait, then a drive to the entrance, where
  // the vehicle disappears.
  void StartLeaving(uint16_t buildingX, uint16_t buildingY, uint16_t originX, uint16_t originY,
                    uint32_t startDirection);
  // Drives a route found for it, then disappears.
  void StartOnRoute(const std::vector<cPathNode*>& path);
  int32_t OnTime(uint32_t totalSeconds, uint32_t interval, uint32_t eventFlag, float gameDelta) override;
  // Stage 0, the open request cancelled, dropped by the ambient manager,
  // off the clock, destroyed.
  void Finish() override;

  bool IsEmergency() const { return (kindFlags & kVehicleKind_Emergency) != 0; }
  // Ordinary traffic counts against the ambient manager's limit.
  bool IsOrdinary() const { return (kindFlags & (0xF00u | kVehicleKind_Snow)) == 0; }

  // The steps of a detailed tick, open for the tests.
  void NextLeg();
  void DriveStep(float t);
  void TurnStep(float t);
  void EndStep(float t);
  // Distance from the vehicle to the stop point ahead on its route (the
  // stop line of the first junction, or the end of the route); false when
  // nothing ahead asks it to stop.
  bool StopPointDistance(float* distance);
  // A cell with road on three or four sides, or on two that are not
  // opposite.
  bool IsJunction(uint16_t x, uint16_t y);
  // Road neighbours of a cell.
  int RoadNeighbours(uint16_t x, uint16_t y);
  // Places the vehicle across its lane (or its pull-over offset) in the
  // current cell, at the ground, facing its direction.
  void KeepLane();
  void UpdatePullOver(float t);
  // Every change of place or turn; the ambient manager's traffic grid
  // follows the position.
  void RebuildWorldMatrix() override;

  std::vector<VehicleLeg> legs;
  int32_t currentLeg = -1;
  uint32_t stage = kDriving;
  uint32_t moveState = 0;
  bool detailed = true;
  uint32_t direction = 0;
  uint32_t endDirection = 0;
  bool removeAtEnd = false;
  uint32_t previousDirection = 0;
  PathRequest* pathRequest = nullptr;
  std::vector<cPathNode*> driveRoute;  // still to drive; the first entry is the next cell
  uint16_t nextCellX = 0xFFFF, nextCellY = 0xFFFF;
  uint16_t currentCellX = 0xFFFF, currentCellY = 0xFFFF;
  uint32_t junctionState = 0xFFFFFFFFu;
  float acceleration = 3.0f;
  float braking = 3.0f;
  float maxSpeed = 9.722222f;
  float currentSpeed = 0.0f;  // world units per game second
  float timer = 0.0f;
  uint32_t passengers = 0;
  uint16_t originCellX = 0, originCellY = 0;
  uint32_t kindFlags = 0;
  bool pullingOver = false;
  float pullOverOffset = 0.0f;
  float pullOverRate = 0.0f;
  SoundHandle* sirenSound = nullptr;
  // The base's second speed value and reserved word.
  float secondSpeed = 50.0f;
  float reservedWord = 2.5f * kPlotCellLength;
  // The ordinary vehicles refused before this one was let on.
  int32_t refusedBefore = 0;
  // The buildings at the trip's ends (not owned): a vehicle whose building
  // is demolished is dropped.
  BOInstance* originBuilding = nullptr;
  BOInstance* destinationBuilding = nullptr;
  // Distance covered in the trip's last straight, after the final turn.
  float endDistance = 0.0f;
  // The yaw the turn through the current junction aims at, and its sense.
  float turnTarget = 0.0f;
  float yaw = 0.0f;

 private:
  void Begin(uint16_t startX, uint16_t startY, float startYaw);
  bool StartDriveLeg(const VehicleLeg& leg);
  bool TakeRoute(const std::vector<cPathNode*>& path);
  void PassNode();
  void ArriveAtStop(bool alreadyThere);
  void RaiseRouteTraffic();
  void FollowVehicleAhead();
  void NonDetailedTick(float t);
  bool DetailedTick(float t);
  float Along() const;
  void MoveAlong(float distance);
  void PlaceAt(float x, float z);
};
