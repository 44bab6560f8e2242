#pragma once
// A path finder that searches at once: each request runs a breadth-first
// search over the node links when it is made (and when it is queued again),
// so the route is ready on return.
#include <cstdint>
#include <memory>
#include <vector>

#include "construction/PathFinder.h"

namespace simkit {

class FakePathFinder : public cPathFinder {
 public:
  FakePathFinder(uint16_t gridWidth, uint16_t gridHeight);
  ~FakePathFinder() override;

  int32_t Start() override { return 0; }
  void Clear(cSimulation_Clock* clock) override;
  int32_t OnTime(uint32_t, uint32_t, uint32_t, float) override { return 0; }

  cPathNode* GetNodeAt(int32_t x, int32_t y) override;
  cPathNode* AddNode(uint16_t x, uint16_t y, uint8_t kind) override;
  void RemoveNode(cPathNode* node) override;
  void LinkNodes(cPathNode* a, cPathNode* b) override;
  Route* RequestPath(cPathNode* start, cPathNode* target, uint8_t mode, uint8_t clearance, uint8_t flag) override;
  void CancelRequest(Route* route) override;
  void RequeueFinishedRequests() override;
  void RequeueAllFinishedRequests() override;

  size_t RequestCount() const { return requests_.size(); }

 private:
  void Search(Route* route);

  std::vector<cPathNode*> cells_;
  std::vector<std::unique_ptr<cPathNode>> nodes_;
  std::vector<std::unique_ptr<Route>> requests_;
  // The breadth-first search's working arrays, kept between searches.
  std::vector<uint32_t> visited_;  // per cell: the number of the search that reached it
  std::vector<cPathNode*> cameFrom_;  // per cell
  std::vector<cPathNode*> open_;
  uint32_t searchStamp_ = 0;
};

}  // namespace simkit
