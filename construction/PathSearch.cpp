// The search: best first over the node links with the open list ordered by
// (f ascending, insertion descending). A node gets its cost once, when it is
// first reached, and is never reconsidered.
#include <algorithm>
#include <cstdlib>

#include "construction/PathFinder.h"
#include "engine/math/Noise.h"

namespace {

bool HasAllLinks(const cPathNode* node) {
  return node->neighbours[0] && node->neighbours[1] && node->neighbours[2] && node->neighbours[3];
}

bool AnyLinkReserved(const cPathNode* node) {
  return node->neighbours[0]->reservation || node->neighbours[1]->reservation ||
         node->neighbours[2]->reservation || node->neighbours[3]->reservation;
}

}  // namespace

void cPathFinder::StartRequest(Route* route) {
  active_ = route;
  busy_ = true;
  // A request searched again must not meet the reservations of its own
  // earlier path, and a found flag from that earlier run means nothing now.
  if (route->flag) ReleaseReservations(route);
  route->route.clear();
  route->secondStatus = 0;
  if (!route->start || !route->target) {
    Finish();
    return;
  }
  cPathNode* start = route->start;
  start->g = 0;
  start->f = 0;
  // The first step of a route counts as going straight on.
  start->entryDirection = kNoDirection;
  touched_.push_back(start);
  open_.Push(start, 0);
  ContinueSearch();
}

void cPathFinder::ContinueSearch() {
  uint32_t expansions = 0;
  for (;;) {
    if (open_.Empty()) {
      Finish();
      return;
    }
    cPathNode* node = open_.Pop();
    if (node == active_->target) {
      active_->secondStatus = 1;
      for (cPathNode* step = node; step; step = step->parent) active_->route.push_back(step);
      std::reverse(active_->route.begin(), active_->route.end());
      if (active_->flag) {
        for (cPathNode* step : active_->route) step->reservation = 1;
      }
      Finish();
      return;
    }
    Expand(node);
    if (++expansions == budget) return;
  }
}

bool cPathFinder::HasClearance(const cPathNode* node) const {
  const bool reserve = active_->flag != 0;
  if (!HasAllLinks(node)) return false;
  if (reserve && AnyLinkReserved(node)) return false;
  if (active_->clearance != 2) return true;
  for (const cPathNode* around : node->neighbours) {
    if (!HasAllLinks(around)) return false;
    if (reserve && AnyLinkReserved(around)) return false;
  }
  return true;
}

void cPathFinder::Expand(cPathNode* node) {
  const Route& request = *active_;
  const cPathNode* target = request.target;
  for (uint8_t d = 0; d < 4; ++d) {
    cPathNode* next = node->neighbours[d];
    if (!next || next->searchState) continue;
    if (request.flag && next->reservation) continue;
    if (request.clearance && !HasClearance(next)) continue;
    uint32_t g;
    if (request.mode) {
      const bool straight = d == node->entryDirection || node->entryDirection == kNoDirection;
      g = node->g + (straight ? 1u : 4u);
    } else {
      g = node->g + 1u + static_cast<uint32_t>(Noise_RandomIntInRange(0, 20));
    }
    next->g = g;
    next->entryDirection = d;
    next->parent = node;
    next->searchState = 1;
    const uint32_t h = static_cast<uint32_t>(std::abs(int32_t{target->x} - int32_t{next->x}) +
                                             std::abs(int32_t{target->y} - int32_t{next->y}));
    next->f = g + h;
    touched_.push_back(next);
    open_.Push(next, next->f);
  }
  node->searchState = 2;
}

void cPathFinder::Finish() {
  Route* route = active_;
  route->status = 1;
  ResetSearch();
  std::erase(queue_, route);
}

void cPathFinder::ResetSearch() {
  for (cPathNode* node : touched_) {
    node->searchState = 0;
    node->parent = nullptr;
  }
  touched_.clear();
  open_.Clear();
  active_ = nullptr;
  busy_ = false;
}
