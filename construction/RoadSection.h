#pragma once
// One straight piece of the land-side road network: a one-cell-wide
// rectangle of road cells, or a single junction cell.
#include <cstdint>

#include "engine/services/C3DMesh.h"

class cPathNode;

enum RoadKind : uint8_t {
  RoadAlongX = 0,     // runs along x (length 1)
  RoadAlongY = 1,     // runs along y (width 1)
  RoadLoneCell = 2,   // 1 x 1, direction not yet known
  RoadJunction = 0xFF,  // 1 x 1 where roads, access points or the entrance meet
};

struct RoadSection {
  uint32_t id = 0;
  uint16_t x = 0;
  uint16_t y = 0;
  uint16_t width = 1;   // extent along x
  uint16_t length = 1;  // extent along y
  uint8_t kind = RoadLoneCell;
  cPathNode* startNode = nullptr;  // on the first cell (a junction's only node)
  cPathNode* endNode = nullptr;    // on the last cell
  RenderVertex quad[4] = {};

  uint16_t LastX() const { return static_cast<uint16_t>(x + width - 1); }
  uint16_t LastY() const { return static_cast<uint16_t>(y + length - 1); }
  bool IsSingleCell() const { return width == 1 && length == 1; }
  bool Covers(int32_t cx, int32_t cy) const { return cx >= x && cx <= LastX() && cy >= y && cy <= LastY(); }
};
