// The road vehicles' path graph: nodes on junctions and on dead ends only, a
// run between two junctions has none; each node is linked to the next node
// along the road in every direction.
#include <algorithm>

#include "construction/PathFinder.h"
#include "construction/RoadManager.h"

namespace {

constexpr int32_t kStep[4][2] = {{0, -1}, {1, 0}, {0, 1}, {-1, 0}};

// Whether a walk in direction d may pass over the section: it must run
// along d (a lone cell has no direction yet).
bool RunsAlong(const RoadSection* section, int d) {
  if (section->kind == RoadLoneCell) return true;
  return section->kind == ((d & 1) ? RoadAlongX : RoadAlongY);
}

}  // namespace

cPathNode* cEntity_RoadManager::NodeOfSectionAt(RoadSection* section, int32_t x, int32_t y) {
  for (cPathNode* node : {section->startNode, section->endNode}) {
    if (node && node->x == x && node->y == y) return node;
  }
  return nullptr;
}

void cEntity_RoadManager::DropNode(RoadSection* section, cPathNode* node) {
  if (section->startNode == node) section->startNode = nullptr;
  if (section->endNode == node) section->endNode = nullptr;
  if (entranceNode_ == node) entranceNode_ = nullptr;
  if (cPathFinder* finder = Finder()) finder->RemoveNode(node);
  nodesRemoved_ = true;
}

void cEntity_RoadManager::BuildSectionNodes(const std::vector<RoadSection*>& installed) {
  cPathFinder* finder = Finder();
  if (!finder) return;
  std::vector<RoadSection*> toLink = installed;
  auto queue = [&](RoadSection* section) {
    if (section && std::find(toLink.begin(), toLink.end(), section) == toLink.end()) toLink.push_back(section);
  };
  for (RoadSection* section : installed) {
    if (section->kind == RoadJunction) continue;
    if (section->kind == RoadLoneCell) {
      bool near = false;
      for (const auto& step : kStep) {
        RoadSection* other = GetSectionAt(section->x + step[0], section->y + step[1]);
        near = near || other;
        queue(other);
      }
      if (!near) section->startNode = finder->AddNode(section->x, section->y, kPathNode_Road);
      continue;
    }
    const int32_t dx = section->kind == RoadAlongX ? 1 : 0;
    const int32_t dy = 1 - dx;
    struct End {
      int32_t x, y, sign;
      cPathNode** node;
    };
    const End ends[2] = {{section->x, section->y, -1, &section->startNode},
                         {section->LastX(), section->LastY(), 1, &section->endNode}};
    for (const End& end : ends) {
      // Beyond the end cell, then on either side of it.
      const int32_t around[3][2] = {
          {end.x + end.sign * dx, end.y + end.sign * dy}, {end.x - dy, end.y - dx}, {end.x + dy, end.y + dx}};
      bool near = false;
      for (const auto& cell : around) {
        RoadSection* other = GetSectionAt(cell[0], cell[1]);
        near = near || other;
        queue(other);
      }
      if (!near && !*end.node) {
        *end.node = finder->AddNode(static_cast<uint16_t>(end.x), static_cast<uint16_t>(end.y), kPathNode_Road);
      }
    }
  }
  for (RoadSection* section : toLink) {
    // A section that a later step replaced is gone from the network.
    if (std::find(sections_.begin(), sections_.end(), section) != sections_.end()) LinkSection(section);
  }
}

void cEntity_RoadManager::LinkSection(RoadSection* section) {
  cPathFinder* finder = Finder();
  if (!finder) return;
  if (section->kind == RoadJunction) {
    cPathNode* node = section->startNode;
    if (!node) return;
    if (IsEntranceCell(section->x, section->y)) entranceNode_ = node;
    for (int d = 0; d < 4; ++d) {
      int32_t cx = section->x + kStep[d][0];
      int32_t cy = section->y + kStep[d][1];
      for (int32_t distance = 1;; ++distance, cx += kStep[d][0], cy += kStep[d][1]) {
        RoadSection* other = GetSectionAt(cx, cy);
        if (!other) break;
        if (other->kind == RoadJunction) {
          if (other->startNode) finder->LinkNodes(node, other->startNode);
          break;
        }
        if (!RunsAlong(other, d)) break;
        cPathNode* found = NodeOfSectionAt(other, cx, cy);
        if (!found) continue;
        if (distance == 1) {
          // A dead end right beside the junction is no dead end any more.
          DropNode(other, found);
          continue;
        }
        finder->LinkNodes(node, found);
        break;
      }
    }
    return;
  }
  if (section->startNode && section->endNode) {
    finder->LinkNodes(section->startNode, section->endNode);
    return;
  }
  cPathNode* own = section->startNode ? section->startNode : section->endNode;
  if (!own || section->kind == RoadLoneCell) return;
  // Walk beyond the open end to the first node.
  const int d = section->kind == RoadAlongX ? (section->startNode ? 1 : 3) : (section->startNode ? 2 : 0);
  int32_t cx = section->startNode ? section->LastX() : section->x;
  int32_t cy = section->startNode ? section->LastY() : section->y;
  for (;;) {
    cx += kStep[d][0];
    cy += kStep[d][1];
    RoadSection* other = GetSectionAt(cx, cy);
    if (!other) return;
    cPathNode* found = other->kind == RoadJunction ? other->startNode : NodeOfSectionAt(other, cx, cy);
    if (found) {
      finder->LinkNodes(own, found);
      return;
    }
    if (other->kind == RoadJunction || !RunsAlong(other, d)) return;
  }
}

void cEntity_RoadManager::FloodFromEntrance() {
  cPathFinder* finder = Finder();
  if (!finder || !entranceNode_) return;
  for (cPathNode* node = finder->GetNodeListHead(); node; node = node->next) node->visited = 0;
  entranceNode_->FloodConnect();
}
