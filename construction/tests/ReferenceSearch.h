#pragma once
// A plain search to hold the finder against: the open list is an array kept
// sorted by f, each node inserted before the first entry whose f is equal or
// greater and taken from the front; the search state lives in arrays of its
// own, cleared for every cell before each search. Same costs, clearance and
// reservation rules as the finder, and the same draws from the random source.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "construction/PathFinder.h"
#include "engine/math/Noise.h"

namespace pathtest {

struct ReferenceResult {
  bool found = false;
  std::vector<cPathNode*> route;  // start first
  uint32_t cost = 0;              // g of the target when found
};

class ReferenceSearch {
 public:
  explicit ReferenceSearch(cPathFinder& graph) : graph_(graph) {}

  ReferenceResult Run(cPathNode* start, cPathNode* target, bool turnPenalty, int clearance, bool reserve) {
    ReferenceResult result;
    if (!start || !target) return result;
    const size_t cells = size_t{graph_.width} * graph_.height;
    state_.assign(cells, 0);
    g_.assign(cells, 0);
    f_.assign(cells, 0);
    entry_.assign(cells, kNoDirection);
    parent_.assign(cells, nullptr);
    open_.clear();
    g_[Cell(start)] = 0;
    open_.push_back(start);
    while (!open_.empty()) {
      cPathNode* n = open_.front();
      open_.erase(open_.begin());
      if (n == target) {
        result.found = true;
        result.cost = g_[Cell(n)];
        for (cPathNode* step = n; step; step = parent_[Cell(step)]) result.route.insert(result.route.begin(), step);
        if (reserve) {
          for (cPathNode* step : result.route) step->reservation = 1;
        }
        return result;
      }
      for (uint8_t d = 0; d < 4; ++d) {
        cPathNode* m = n->neighbours[d];
        if (!m || state_[Cell(m)] != 0) continue;
        if (reserve && m->reservation) continue;
        if (clearance >= 1 && !Roomy(m, clearance, reserve)) continue;
        uint32_t g;
        if (turnPenalty) {
          g = g_[Cell(n)] + ((d == entry_[Cell(n)] || entry_[Cell(n)] == kNoDirection) ? 1 : 4);
        } else {
          g = g_[Cell(n)] + 1 + static_cast<uint32_t>(Noise_RandomIntInRange(0, 20));
        }
        g_[Cell(m)] = g;
        entry_[Cell(m)] = d;
        parent_[Cell(m)] = n;
        state_[Cell(m)] = 1;
        f_[Cell(m)] = g + static_cast<uint32_t>(std::abs(int{target->x} - int{m->x}) +
                                                std::abs(int{target->y} - int{m->y}));
        size_t at = 0;
        while (at < open_.size() && f_[Cell(open_[at])] < f_[Cell(m)]) ++at;
        open_.insert(open_.begin() + static_cast<std::ptrdiff_t>(at), m);
      }
      state_[Cell(n)] = 2;
    }
    return result;
  }

 private:
  size_t Cell(const cPathNode* node) const { return size_t{node->y} * graph_.width + node->x; }

  static bool Roomy(const cPathNode* m, int clearance, bool reserve) {
    for (const cPathNode* a : m->neighbours) {
      if (!a) return false;
      if (reserve && a->reservation) return false;
    }
    if (clearance != 2) return true;
    for (const cPathNode* a : m->neighbours) {
      for (const cPathNode* b : a->neighbours) {
        if (!b) return false;
        if (reserve && b->reservation) return false;
      }
    }
    return true;
  }

  cPathFinder& graph_;
  std::vector<uint8_t> state_;
  std::vector<uint32_t> g_;
  std::vector<uint32_t> f_;
  std::vector<uint8_t> entry_;
  std::vector<cPathNode*> parent_;
  std::vector<cPathNode*> open_;
};

}  // namespace pathtest
