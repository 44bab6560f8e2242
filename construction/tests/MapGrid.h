#pragma once
// Small plots drawn as text for the path finder's tests. One character a
// cell: '.' empty, 'R' road, 'T' taxiway, 'A' building access, 'P' apron,
// 'S' and 'E' taxiway tiles holding the start and the end, '#' a reserved
// taxiway tile. Every tile is linked to its right and lower neighbours under
// the finder's kind rule.
#include <string>
#include <vector>

#include "construction/PathFinder.h"

namespace pathtest {

struct MapGrid {
  cPathNode* start = nullptr;
  cPathNode* end = nullptr;
};

inline MapGrid BuildMap(cPathFinder& finder, const std::vector<std::string>& rows) {
  MapGrid map;
  finder.width = static_cast<uint16_t>(rows.empty() ? 0 : rows[0].size());
  finder.height = static_cast<uint16_t>(rows.size());
  finder.Start();
  for (uint16_t y = 0; y < finder.height; ++y) {
    for (uint16_t x = 0; x < finder.width; ++x) {
      const char c = rows[y][x];
      uint8_t kind = kPathNode_Taxiway;
      if (c == '.') continue;
      if (c == 'R') kind = kPathNode_Road;
      if (c == 'A') kind = kPathNode_Access;
      if (c == 'P') kind = kPathNode_Apron;
      cPathNode* node = finder.AddNode(x, y, kind);
      if (c == 'S') map.start = node;
      if (c == 'E') map.end = node;
      if (c == '#') node->reservation = 1;
    }
  }
  for (uint16_t y = 0; y < finder.height; ++y) {
    for (uint16_t x = 0; x < finder.width; ++x) {
      if (cPathNode* node = finder.GetNodeAt(x, y)) {
        finder.LinkNodes(node, finder.GetNodeAt(x + 1, y));
        finder.LinkNodes(node, finder.GetNodeAt(x, y + 1));
      }
    }
  }
  return map;
}

// "x,y x,y ..." of a route, start first.
inline std::string RouteText(const std::vector<cPathNode*>& route) {
  std::string text;
  for (const cPathNode* node : route) {
    if (!text.empty()) text += ' ';
    text += std::to_string(node->x) + ',' + std::to_string(node->y);
  }
  return text;
}

}  // namespace pathtest
