#pragma once
// The path finder: a grid of nodes (one per cell) linked along roads and
// taxiways, and the path requests the vehicles and airplanes keep until they
// cancel them. The game creates it (it is not spawned) and files it in the
// service table; the path-finder issue completes it.
#include <cstdint>
#include <vector>

#include "simulation/TimeObject.h"

class BOInstance;
class cSimulation_Clock;

// Grid directions: 0 toward -y, 1 toward +x, 2 toward +y, 3 toward -x.
class cPathNode {
 public:
  cPathNode(uint16_t cellX, uint16_t cellY, uint8_t nodeKind) : x(cellX), y(cellY), kind(nodeKind) {}

  // Flood fill over the road graph from this node: marks the visited nodes
  // and counts each building linked to one as connected to the entrance.
  void FloodConnect();

  uint16_t x;
  uint16_t y;
  uint8_t kind;
  uint8_t lock = 0;         // set while an airplane holds it as its gate
  uint8_t reservation = 0;  // cleared when an airplane leaves it
  uint8_t visited = 0;
  uint8_t connected = 0;
  cPathNode* neighbours[4] = {};
  BOInstance* buildings[4] = {};  // above, right, below, left; not owned
};

// A path request: the caller keeps it and later cancels it.
struct Route {
  cPathNode* start = nullptr;
  cPathNode* target = nullptr;
  uint8_t mode = 0;
  uint8_t clearance = 0;
  uint8_t flag = 0;
  std::vector<cPathNode*> route;  // start first
  uint8_t status = 0;             // set when the search has ended
  uint8_t secondStatus = 0;
};

class cPathFinder : public cSimulation_TimeObject {
 public:
  cPathFinder() : cSimulation_TimeObject(kTimeEvent_Tick) {}
  ~cPathFinder() override = default;

  virtual int32_t Start() = 0;
  // Leaves the clock and drops every node and request.
  virtual void Clear(cSimulation_Clock* clock) = 0;

  // Null outside the grid or on an empty cell.
  virtual cPathNode* GetNodeAt(int32_t x, int32_t y) = 0;
  virtual cPathNode* AddNode(uint16_t x, uint16_t y, uint8_t kind) = 0;
  virtual void RemoveNode(cPathNode* node) = 0;
  // Links two nodes of one straight road in the direction of their places.
  virtual void LinkNodes(cPathNode* a, cPathNode* b) = 0;
  // Null when the request cannot be made.
  virtual Route* RequestPath(cPathNode* start, cPathNode* target, uint8_t mode, uint8_t clearance,
                             uint8_t flag) = 0;
  virtual void CancelRequest(Route* route) = 0;
  virtual void RequeueFinishedRequests() = 0;
  virtual void RequeueAllFinishedRequests() = 0;

  uint16_t width = 0;
  uint16_t height = 0;
};
