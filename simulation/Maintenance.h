#pragma once
// A maintenance vehicle ("SPN::KV9:MAINTANANCE"): sent from a service
// building to a cell beside an airplane at its gate, it drives a route found
// before it started, stays several game minutes, optionally drives back, and
// on ending clears the airplane's under-way flag of its kind so the
// airplane's service time runs on. It follows no other traffic; above game
// speed 2 it ends at once.
#include <cstdint>
#include <vector>

#include "simulation/Ambient.h"

class cEntity_Airplane;
struct PathRequest;

class cEntity_Maintanance : public cEntity_Ambient {
 public:
  static constexpr const char* kSpawnName = "SPN::KV9:MAINTANANCE";
  static constexpr float kDetailLimit = 2.0f;

  enum State : uint32_t { kEnded = 0, kDrivingOut = 1, kStaying = 2, kDrivingBack = 3 };
  enum Drive : uint32_t { kTurning = 0, kStraight = 1, kArrived = 2 };

  explicit cEntity_Maintanance(cEntity_Manager* manager);
  ~cEntity_Maintanance() override;

  // Takes the finished request's route; fewer than two nodes, or no model
  // for the kind, end the vehicle. Otherwise it joins the clock and enters
  // the road at the start cell.
  void Start(PathRequest* request, uint16_t targetX, uint16_t targetY, uint16_t startX, uint16_t startY,
             bool returnsAfter, uint32_t kind, cEntity_Airplane* servedAirplane);
  void EnterRoad();
  int32_t OnTime(uint32_t totalSeconds, uint32_t interval, uint32_t eventFlag, float gameDelta) override;
  // Clears the airplane's under-way flag of the kind, cancels the request,
  // leaves the clock and the world, and clears its maintenance-list entry.
  void End();
  void Finish() override { End(); }

  // The steps of a tick, open for the tests.
  void NextState();
  void DriveStraight(float t);
  void Turn(float t);
  // Takes the next route cell; with the route used up the vehicle has
  // arrived at the last node.
  void NextCell();

  PathRequest* pathRequest = nullptr;
  std::vector<cPathNode*> driveRoute;
  float currentSpeed = 0.0f;
  float maxSpeed = 2.7777777f;
  float acceleration = 3.0f;
  uint32_t direction = 0;
  uint32_t nextDirection = 0;
  float targetCoordinate = 0.0f;
  uint32_t state = kEnded;
  uint32_t driveState = kTurning;
  bool returns = false;
  uint32_t kindFlags = 0;
  uint16_t startCellX = 0, startCellY = 0;
  uint16_t targetCellX = 0, targetCellY = 0;
  float timer = 0.0f;
  float tickSeconds = 0.0f;
  float yaw = 0.0f;
  cEntity_Airplane* airplane = nullptr;

 private:
  void CancelRequest();
  void MoveIn(uint32_t d, float distance);
};
