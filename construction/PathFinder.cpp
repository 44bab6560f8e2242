#include "construction/PathFinder.h"

#include <algorithm>
#include <new>

#include "simulation/SimulationClock.h"

cPathFinder::~cPathFinder() { DeleteAll(); }

void cPathFinder::DeleteAll() {
  ResetSearch();
  queue_.clear();
  requests_.clear();
  for (cPathNode* node = head_; node;) {
    cPathNode* next = node->next;
    DestroyNode(node);
    node = next;
  }
  head_ = nullptr;
  grid_.clear();
  grid_.shrink_to_fit();
  bands_.clear();
  bands_.shrink_to_fit();
}

cPathNode* cPathFinder::ConstructNode(uint16_t x, uint16_t y, uint8_t kind) {
  const size_t band = y / kBandRows;
  if (band >= bands_.size()) bands_.resize(band + 1);
  if (!bands_[band]) bands_[band] = std::make_unique<NodeSlot[]>(size_t{bandWidth_} * kBandRows);
  NodeSlot& slot = bands_[band][size_t{y % kBandRows} * bandWidth_ + x];
  return new (slot.bytes) cPathNode(x, y, kind);
}

int32_t cPathFinder::Start() {
  DeleteAll();
  grid_.assign(static_cast<size_t>(width) * height, nullptr);
  bandWidth_ = width;
  if (GetBlob()) RestoreNodes();
  if (clock && clock->RegisterTimeObject(this) == 0) registeredClock_ = clock;
  return 0;
}

void cPathFinder::Clear(cSimulation_Clock* from) {
  DeleteAll();
  cSimulation_Clock* leave = from ? from : registeredClock_;
  if (leave) leave->UnregisterTimeObject(this);
  registeredClock_ = nullptr;
}

int32_t cPathFinder::OnTime(uint32_t, uint32_t, uint32_t eventFlag, float) {
  if (eventFlag != kTimeEvent_Tick) return 0;
  if (busy_) {
    ContinueSearch();
  } else if (!queue_.empty()) {
    StartRequest(queue_.front());
  }
  return 0;
}

bool cPathFinder::InGrid(const cPathNode* node) const {
  if (node->x >= width || node->y >= height) return false;
  return grid_[static_cast<size_t>(node->y) * width + node->x] == node;
}

cPathNode* cPathFinder::GetNodeAt(int32_t x, int32_t y) {
  if (x < 0 || y < 0 || x >= width || y >= height || grid_.empty()) return nullptr;
  return grid_[static_cast<size_t>(y) * width + static_cast<size_t>(x)];
}

cPathNode* cPathFinder::AddNode(uint16_t x, uint16_t y, uint8_t kind) {
  // A size changed since Start no longer matches the grid: nothing is added
  // until Start makes the grid again.
  if (x >= width || y >= height || grid_.empty() || width != bandWidth_ ||
      grid_.size() != static_cast<size_t>(width) * height)
    return nullptr;
  cPathNode*& cell = grid_[static_cast<size_t>(y) * width + x];
  if (cell) return nullptr;
  cPathNode* node = ConstructNode(x, y, kind);
  node->owner = this;
  node->next = head_;
  if (head_) head_->previous = node;
  head_ = node;
  cell = node;
  return node;
}

void cPathFinder::RemoveNode(cPathNode* node) {
  if (!node || grid_.empty() || !InGrid(node)) return;
  // A search cut off by the budget may hold the node in its open list: it
  // starts again from scratch on the next tick.
  if (busy_) ResetSearch();
  for (auto& owned : requests_) {
    Route* route = owned.get();
    const bool lostEnd = route->start == node || route->target == node;
    const bool lostStep = std::find(route->route.begin(), route->route.end(), node) != route->route.end();
    if (!lostEnd && !lostStep) continue;
    if (route->flag) ReleaseReservations(route);
    route->route.clear();
    route->secondStatus = 0;
    if (lostEnd) {
      if (route->start == node) route->start = nullptr;
      if (route->target == node) route->target = nullptr;
      Dequeue(route);
      route->status = 1;
    } else {
      route->status = 0;
      if (!IsQueued(route)) queue_.push_back(route);
    }
  }
  if (node->previous) node->previous->next = node->next;
  if (node->next) node->next->previous = node->previous;
  if (head_ == node) head_ = node->next;
  for (uint8_t d = 0; d < 4; ++d) node->UnlinkNeighbour(d, true);
  // A one-sided link (as a saved graph may hold, or a one-sided unlink
  // leaves) would outlive the node. Links join nodes in a straight line and
  // may pass over other nodes, so every node in the node's row and column
  // drops a link that points back at it.
  static constexpr int kStepX[4] = {0, 1, 0, -1};
  static constexpr int kStepY[4] = {-1, 0, 1, 0};
  for (uint8_t d = 0; d < 4; ++d) {
    const uint8_t back = OppositeDirection(d);
    int32_t x = node->x + kStepX[d];
    int32_t y = node->y + kStepY[d];
    for (; x >= 0 && y >= 0 && x < width && y < height; x += kStepX[d], y += kStepY[d]) {
      cPathNode* beside = GetNodeAt(x, y);
      if (beside && beside->neighbours[back] == node) beside->neighbours[back] = nullptr;
    }
  }
  grid_[static_cast<size_t>(node->y) * width + node->x] = nullptr;
  DestroyNode(node);
}

void cPathFinder::LinkNodes(cPathNode* a, cPathNode* b) {
  if (!a || !b || a == b) return;
  if (a->kind != b->kind && (a->kind == kPathNode_Road || b->kind == kPathNode_Road)) return;
  uint8_t d;
  if (a->x == b->x) {
    d = a->y < b->y ? 2 : 0;
  } else {
    d = a->x < b->x ? 1 : 3;
  }
  a->LinkNeighbour(b, d, true);
}

Route* cPathFinder::RequestPath(cPathNode* start, cPathNode* target, uint8_t mode, uint8_t clearance,
                                uint8_t flag) {
  auto owned = std::make_unique<Route>();
  Route* route = owned.get();
  route->start = start;
  route->target = target;
  route->mode = mode;
  route->clearance = clearance;
  route->flag = flag;
  route->owner = this;
  requests_.push_back(std::move(owned));
  queue_.push_back(route);
  if (!busy_) StartRequest(route);
  return route;
}

bool cPathFinder::IsRequest(const Route* route) const {
  return std::any_of(requests_.begin(), requests_.end(), [&](const auto& r) { return r.get() == route; });
}

bool cPathFinder::IsQueued(const Route* route) const {
  return std::find(queue_.begin(), queue_.end(), route) != queue_.end();
}

void cPathFinder::Dequeue(const Route* route) {
  if (route == active_) ResetSearch();
  std::erase(queue_, route);
}

void cPathFinder::ReleaseReservations(Route* route) {
  for (cPathNode* node : route->route) node->reservation = 0;
}

void cPathFinder::CancelRequest(Route* route) {
  if (!route || !IsRequest(route)) return;
  Dequeue(route);
  if (route->flag) ReleaseReservations(route);
  std::erase_if(requests_, [&](const auto& r) { return r.get() == route; });
}

void cPathFinder::RequeueFinishedRequests() {
  for (auto& route : requests_) {
    if (!route->status) continue;
    route->status = 0;
    queue_.push_back(route.get());
  }
}

void cPathFinder::RequeueAllFinishedRequests() {
  for (auto& route : requests_) {
    if (!route->status) continue;
    route->status = 0;
    route->secondStatus = 0;
    queue_.push_back(route.get());
  }
}
