#include "simulation/tests/kit/FakePathFinder.h"

#include <algorithm>
#include <iterator>

#include "simulation/SimulationClock.h"

namespace simkit {

FakePathFinder::FakePathFinder(uint16_t gridWidth, uint16_t gridHeight) {
  width = gridWidth;
  height = gridHeight;
  cells_.assign(static_cast<size_t>(width) * height, nullptr);
}

FakePathFinder::~FakePathFinder() = default;

void FakePathFinder::Clear(cSimulation_Clock* clock) {
  if (clock) clock->UnregisterTimeObject(this);
  requests_.clear();
  nodes_.clear();
  std::fill(cells_.begin(), cells_.end(), nullptr);
}

cPathNode* FakePathFinder::GetNodeAt(int32_t x, int32_t y) {
  if (x < 0 || y < 0 || x >= width || y >= height) return nullptr;
  return cells_[static_cast<size_t>(y) * width + static_cast<size_t>(x)];
}

cPathNode* FakePathFinder::AddNode(uint16_t x, uint16_t y, uint8_t kind) {
  if (x >= width || y >= height) return nullptr;
  nodes_.push_back(std::make_unique<cPathNode>(x, y, kind));
  cells_[static_cast<size_t>(y) * width + x] = nodes_.back().get();
  return nodes_.back().get();
}

void FakePathFinder::RemoveNode(cPathNode* node) {
  if (!node) return;
  for (int d = 0; d < 4; ++d) {
    if (cPathNode* other = node->neighbours[d]) other->neighbours[(d + 2) % 4] = nullptr;
  }
  cells_[static_cast<size_t>(node->y) * width + node->x] = nullptr;
  std::erase_if(nodes_, [&](const std::unique_ptr<cPathNode>& n) { return n.get() == node; });
}

void FakePathFinder::LinkNodes(cPathNode* a, cPathNode* b) {
  if (!a || !b || a == b) return;
  int direction = -1;
  if (a->x == b->x) direction = b->y < a->y ? 0 : 2;
  if (a->y == b->y) direction = b->x > a->x ? 1 : 3;
  if (direction < 0) return;
  a->neighbours[direction] = b;
  b->neighbours[(direction + 2) % 4] = a;
}

Route* FakePathFinder::RequestPath(cPathNode* start, cPathNode* target, uint8_t mode, uint8_t clearance,
                                   uint8_t flag) {
  if (!start || !target) return nullptr;
  auto route = std::make_unique<Route>();
  route->start = start;
  route->target = target;
  route->mode = mode;
  route->clearance = clearance;
  route->flag = flag;
  Search(route.get());
  requests_.push_back(std::move(route));
  return requests_.back().get();
}

void FakePathFinder::Search(Route* route) {
  route->route.clear();
  // Per-cell arrays stamped with the search's number stand for the visited
  // set, so a search costs only the nodes it reaches.
  if (++searchStamp_ == 0) {
    std::fill(visited_.begin(), visited_.end(), 0u);
    searchStamp_ = 1;
  }
  visited_.resize(cells_.size(), 0u);
  cameFrom_.resize(cells_.size(), nullptr);
  const auto cellOf = [this](const cPathNode* node) { return static_cast<size_t>(node->y) * width + node->x; };
  const auto visit = [&](cPathNode* node, cPathNode* from) {
    visited_[cellOf(node)] = searchStamp_;
    cameFrom_[cellOf(node)] = from;
  };
  const auto seen = [&](const cPathNode* node) { return visited_[cellOf(node)] == searchStamp_; };
  open_.clear();
  open_.push_back(route->start);
  visit(route->start, nullptr);
  for (size_t head = 0; head < open_.size(); ++head) {
    cPathNode* node = open_[head];
    if (node == route->target) break;
    for (cPathNode* next : node->neighbours) {
      if (next && !seen(next)) {
        visit(next, node);
        open_.push_back(next);
      }
    }
  }
  route->secondStatus = seen(route->target) ? 1 : 0;
  if (route->secondStatus) {
    for (cPathNode* node = route->target; node; node = cameFrom_[cellOf(node)]) route->route.push_back(node);
    std::reverse(route->route.begin(), route->route.end());
  }
  route->status = 1;
}

void FakePathFinder::CancelRequest(Route* route) {
  // Looked for from the back: most requests are cancelled soon after they
  // are made, while the long-lived ones stand at the front.
  auto it = std::find_if(requests_.rbegin(), requests_.rend(),
                         [&](const std::unique_ptr<Route>& r) { return r.get() == route; });
  if (it != requests_.rend()) requests_.erase(std::next(it).base());
}

void FakePathFinder::RequeueFinishedRequests() {
  for (auto& route : requests_) Search(route.get());
}

void FakePathFinder::RequeueAllFinishedRequests() {
  for (auto& route : requests_) {
    route->secondStatus = 0;
    Search(route.get());
  }
}

}  // namespace simkit
