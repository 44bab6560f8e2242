#pragma once
// The path finder: a grid of nodes (one per occupied cell) linked along
// roads, taxiways, aprons and the airside access areas of buildings, and the
// path requests the vehicles and airplanes keep until they cancel them. The
// game creates it (it is not spawned) and files it in the service table; it
// serves queued requests on clock ticks and saves the whole graph as a blob.
#include <cstdint>
#include <memory>
#include <vector>

#include "construction/PathOpenList.h"
#include "engine/files/SerializedObject.h"
#include "simulation/TimeObject.h"

class BOInstance;
class cPathFinder;
class cSimulation_Clock;

// Node kinds: which tiles may be linked with which.
inline constexpr uint8_t kPathNode_Road = 1;
inline constexpr uint8_t kPathNode_Taxiway = 2;
inline constexpr uint8_t kPathNode_Access = 3;  // airside access tile of a placed building
inline constexpr uint8_t kPathNode_Apron = 4;

// Grid directions: 0 toward -y, 1 toward +x, 2 toward +y, 3 toward -x.
inline constexpr uint8_t kNoDirection = 4;
inline constexpr uint8_t OppositeDirection(uint8_t d) { return static_cast<uint8_t>((d + 2) & 3); }

class cPathNode {
 public:
  cPathNode(uint16_t cellX, uint16_t cellY, uint8_t nodeKind) : x(cellX), y(cellY), kind(nodeKind) {}
  virtual ~cPathNode() = default;
  cPathNode(const cPathNode&) = delete;
  cPathNode& operator=(const cPathNode&) = delete;

  // Links `other` at direction d (dropping a different node linked there
  // first), recomputes the run lengths along d and, with `both`, links this
  // node back from `other`. Linking a node to itself does nothing.
  void LinkNeighbour(cPathNode* other, uint8_t d, bool both);
  // Clears the link at d; with `both`, the neighbour drops its link back.
  // Run lengths are left as they are.
  void UnlinkNeighbour(uint8_t d, bool both);
  // Walks from this node against d, setting each node's run length along d
  // to its d-neighbour's run length + 1.
  void PropagateDistance(uint8_t d);
  // Depth-first flood over the links from this node: marks the nodes visited
  // and adds a road connection to every building beside a visited node, once
  // per side. Iterative, so a large network cannot exhaust the stack; the
  // order is that of the recursive walk (directions 0 to 3).
  void FloodConnect();

  // What a search reads and writes of a node comes first, so that it shares
  // the node's first cache line.
  uint16_t x;
  uint16_t y;
  uint8_t kind;
  uint8_t searchState = 0;  // 0 untouched, 1 open, 2 closed
  uint8_t reservation = 0;  // on a path found with the reserve flag
  uint8_t entryDirection = kNoDirection;
  cPathNode* neighbours[4] = {};  // links, by direction
  cPathNode* parent = nullptr;
  uint32_t f = 0;  // estimated total cost
  uint32_t g = 0;  // cost from the start

  uint16_t runLengths[4] = {};    // nodes following in a straight line, by direction
  BOInstance* buildings[4] = {};  // building whose road access lies beside this side; not owned
  void* spareLinks[4] = {};       // kept for the neighbours' use; the finder never reads them
  uint8_t spareFlag = 0;
  uint8_t visited = 0;    // flood-fill mark; saved
  uint8_t connected = 0;  // saved with the graph
  uint8_t lock = 0;       // set while an airplane stands on it; not read by the finder
  cPathNode* previous = nullptr;
  cPathNode* next = nullptr;
  cPathFinder* owner = nullptr;
};

// A path request: made and owned by the finder; the caller keeps it, polls
// `status` and `secondStatus`, reads `route` and cancels it when done.
struct PathRequest {
  cPathNode* start = nullptr;
  cPathNode* target = nullptr;
  uint8_t mode = 0;       // turn penalty: non-zero gives shortest-path costs, 0 random costs
  uint8_t clearance = 0;  // 0, 1 or 2: how much linked room every entered node needs
  uint8_t flag = 0;       // reserve: avoid reserved nodes and reserve the path found
  std::vector<cPathNode*> route;  // start first, target last; empty without a route
  uint8_t status = 0;             // done: the search has ended
  uint8_t secondStatus = 0;       // found: the target was reached
  cPathFinder* owner = nullptr;
};
using Route = PathRequest;

class cPathFinder : public cSimulation_TimeObject, public cSerialized_Object {
 public:
  static constexpr uint32_t kRecordSize = 36;

  cPathFinder() : cSimulation_TimeObject(kTimeEvent_Tick) {}
  ~cPathFinder() override;

  // Makes the grid (width x height, empty), restores the graph kept by
  // LoadFromBlob when there is one, and registers with `clock`; 0.
  virtual int32_t Start();
  // Leaves the clock (`clock` when given, else the one Start used) and drops
  // every node and request.
  virtual void Clear(cSimulation_Clock* clock);
  // On a tick: continues the active search, or starts the first queued one.
  int32_t OnTime(uint32_t totalSeconds, uint32_t interval, uint32_t eventFlag, float gameDelta) override;

  // Null outside the grid or on an empty cell.
  virtual cPathNode* GetNodeAt(int32_t x, int32_t y);
  // A new unlinked node at (x, y); null outside the grid or on a taken cell.
  virtual cPathNode* AddNode(uint16_t x, uint16_t y, uint8_t kind);
  // Unlinks and deletes the node. Requests that start or end on it end with
  // no route; requests whose route runs over it are searched again.
  virtual void RemoveNode(cPathNode* node);
  // Links two nodes on one straight line in the direction of their places
  // (the caller passes neighbours along the network); a road tile
  // links only with road tiles, the airside kinds with one another.
  virtual void LinkNodes(cPathNode* a, cPathNode* b);
  // Queues a request and, when no search is running, searches it at once.
  // mode: turn penalty; flag: reserve.
  virtual Route* RequestPath(cPathNode* start, cPathNode* target, uint8_t mode, uint8_t clearance,
                             uint8_t flag);
  // Takes the request out of the queue, releases its reserved nodes and
  // deletes it. Unknown pointers are ignored.
  virtual void CancelRequest(Route* route);
  // Queues every ended request again (the second form also clears found).
  virtual void RequeueFinishedRequests();
  virtual void RequeueAllFinishedRequests();

  // The graph as records of kRecordSize bytes, cells walked x outer, y
  // inner; false with size 0 when there are no nodes.
  bool Save(SerialBlock* bytes, uint32_t* n) override;

  bool IsBusy() const { return busy_; }
  size_t QueueSize() const { return queue_.size(); }
  size_t RequestCount() const { return requests_.size(); }
  cPathNode* GetNodeListHead() const { return head_; }

  uint16_t width = 0;
  uint16_t height = 0;
  // Expansions after which a search call returns, resuming at the next tick.
  uint32_t budget = 0xFFFFFFFFu;
  // The clock Start registers with; set by whoever creates the finder.
  cSimulation_Clock* clock = nullptr;

 private:
  void DeleteAll();
  // Rebuilds the graph from the kept blob; a blob that does not check out
  // throughout restores nothing.
  void RestoreNodes();
  bool InGrid(const cPathNode* node) const;
  bool IsRequest(const Route* route) const;
  bool IsQueued(const Route* route) const;
  void Dequeue(const Route* route);
  static void ReleaseReservations(Route* route);

  void StartRequest(Route* route);
  // Runs the active search up to the budget; finishes it when it ends.
  void ContinueSearch();
  void Expand(cPathNode* node);
  bool HasClearance(const cPathNode* node) const;
  void Finish();
  // Forgets the active search without ending its request.
  void ResetSearch();

  // Node storage: a slot per grid cell, in bands of rows made on first use,
  // so that a node's grid neighbours lie beside it in memory and a search
  // walks memory in order instead of chasing scattered allocations.
  struct alignas(cPathNode) NodeSlot {
    unsigned char bytes[sizeof(cPathNode)];
  };
  static constexpr uint32_t kBandRows = 16;
  cPathNode* ConstructNode(uint16_t x, uint16_t y, uint8_t kind);
  static void DestroyNode(cPathNode* node) { node->~cPathNode(); }

  std::vector<cPathNode*> grid_;
  std::vector<std::unique_ptr<NodeSlot[]>> bands_;
  uint16_t bandWidth_ = 0;  // the width the grid was made with
  cPathNode* head_ = nullptr;
  bool busy_ = false;
  std::vector<std::unique_ptr<Route>> requests_;
  std::vector<Route*> queue_;  // not owned; searched front first
  Route* active_ = nullptr;
  PathOpenList open_;
  std::vector<cPathNode*> touched_;  // nodes whose search state or parent the active search set
  cSimulation_Clock* registeredClock_ = nullptr;
};
