#include <utility>
#include <vector>

#include "construction/BOInstance.h"
#include "construction/PathFinder.h"

void cPathNode::LinkNeighbour(cPathNode* other, uint8_t d, bool both) {
  if (other == this || d >= 4) return;
  const uint8_t e = OppositeDirection(d);
  if (cPathNode* old = neighbours[d]; old && old != other) {
    old->neighbours[e] = nullptr;
    neighbours[d] = nullptr;
  }
  neighbours[d] = other;
  PropagateDistance(d);
  if (both && other) other->LinkNeighbour(this, e, false);
}

void cPathNode::UnlinkNeighbour(uint8_t d, bool both) {
  if (d >= 4) return;
  if (both && neighbours[d]) neighbours[d]->neighbours[OppositeDirection(d)] = nullptr;
  neighbours[d] = nullptr;
}

void cPathNode::PropagateDistance(uint8_t d) {
  const uint8_t e = OppositeDirection(d);
  // A ring of links would walk forever; a run can be no longer than the
  // nodes a 16-bit grid line holds.
  uint32_t steps = 0;
  for (cPathNode* node = this; node && steps <= 0xFFFF; node = node->neighbours[e], ++steps) {
    const cPathNode* ahead = node->neighbours[d];
    node->runLengths[d] = ahead ? static_cast<uint16_t>(ahead->runLengths[d] + 1) : 0;
  }
}

void cPathNode::FloodConnect() {
  // Each frame is a node and the next direction it has to handle, as in the
  // recursive walk: the building on side d is counted before the neighbour
  // at d is entered.
  std::vector<std::pair<cPathNode*, uint8_t>> stack;
  visited = 1;
  stack.push_back({this, 0});
  while (!stack.empty()) {
    auto& [node, d] = stack.back();
    if (d == 4) {
      stack.pop_back();
      continue;
    }
    const uint8_t side = d++;
    if (BOInstance* building = node->buildings[side]) building->AddRoadConnection();
    cPathNode* next = node->neighbours[side];
    if (next && !next->visited) {
      next->visited = 1;
      stack.push_back({next, 0});
    }
  }
}
