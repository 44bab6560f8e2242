#pragma once
// The questions the simulation's traffic asks of the roads: the road
// manager implements them.
#include <cstdint>

class RoadNetwork {
 public:
  virtual ~RoadNetwork() = default;

  // Road on the cell, or on the one cell just outside the plot beside the
  // entrance cell (the road that leads in).
  virtual bool HasRoadAt(int32_t x, int32_t y) = 0;
  // False when there is no entrance.
  virtual bool GetEntranceCell(uint16_t* x, uint16_t* y) const = 0;
  // True when the cell holds road reached from the entrance by the last
  // flood fill.
  virtual bool IsConnectedRoadCell(int32_t x, int32_t y) = 0;
};
