#pragma once
// Seeded random plots for the path finder's tests and benchmarks: blocks of
// one tile kind (road, taxiway, access, apron) with holes, every tile linked
// to its right and lower neighbours under the finder's kind rule, and a few
// tiles reserved beforehand.
#include <cstdint>
#include <random>
#include <vector>

#include "construction/PathFinder.h"

namespace pathtest {

struct GridShape {
  uint16_t width = 32;
  uint16_t height = 32;
  uint16_t block = 6;           // side of a block of one kind
  double fill = 0.93;           // share of cells that hold a tile
  double reservedShare = 0.01;  // share of tiles reserved before any request
  bool airsideOnly = false;     // taxiway, access and apron blocks only
};

// The benchmarks' plot: 640 x 640 airside cells in blocks of 32, nearly
// full, nothing reserved beforehand.
inline GridShape AirsidePlot640() {
  GridShape shape;
  shape.width = 640;
  shape.height = 640;
  shape.block = 32;
  shape.fill = 0.997;
  shape.reservedShare = 0.0;
  shape.airsideOnly = true;
  return shape;
}

inline void BuildRandomGrid(cPathFinder& finder, uint32_t seed, const GridShape& shape) {
  std::mt19937 rng(seed);
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  finder.width = shape.width;
  finder.height = shape.height;
  finder.Start();
  const uint16_t blocksAcross = static_cast<uint16_t>((shape.width + shape.block - 1) / shape.block);
  const uint16_t blocksDown = static_cast<uint16_t>((shape.height + shape.block - 1) / shape.block);
  std::vector<uint8_t> kinds(size_t{blocksAcross} * blocksDown);
  for (uint8_t& kind : kinds) kind = static_cast<uint8_t>(shape.airsideOnly ? 2 + rng() % 3 : 1 + rng() % 4);
  for (uint16_t y = 0; y < shape.height; ++y) {
    for (uint16_t x = 0; x < shape.width; ++x) {
      if (unit(rng) >= shape.fill) continue;
      const uint8_t kind = kinds[size_t{static_cast<uint16_t>(y / shape.block)} * blocksAcross + x / shape.block];
      cPathNode* node = finder.AddNode(x, y, kind);
      if (unit(rng) < shape.reservedShare) node->reservation = 1;
    }
  }
  for (uint16_t y = 0; y < shape.height; ++y) {
    for (uint16_t x = 0; x < shape.width; ++x) {
      cPathNode* node = finder.GetNodeAt(x, y);
      if (!node) continue;
      finder.LinkNodes(node, finder.GetNodeAt(x + 1, y));
      finder.LinkNodes(node, finder.GetNodeAt(x, y + 1));
    }
  }
}

// The tiles of the grid in cell order.
inline std::vector<cPathNode*> GridNodes(cPathFinder& finder) {
  std::vector<cPathNode*> nodes;
  for (uint16_t y = 0; y < finder.height; ++y) {
    for (uint16_t x = 0; x < finder.width; ++x) {
      if (cPathNode* node = finder.GetNodeAt(x, y)) nodes.push_back(node);
    }
  }
  return nodes;
}

}  // namespace pathtest
