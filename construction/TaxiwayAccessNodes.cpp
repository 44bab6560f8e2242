#include "construction/TaxiwayAccessNodes.h"

#include "construction/PathFinder.h"

bool AddTaxiwayAccessNodes(cPathFinder& finder, const std::vector<TaxiwayAccessCell>& rects) {
  for (const TaxiwayAccessCell& rect : rects) {
    const int32_t x0 = rect.x, y0 = rect.y;
    const int32_t x1 = x0 + rect.width, y1 = y0 + rect.length;
    for (int32_t x = x0; x < x1; ++x) {
      for (int32_t y = y0; y < y1; ++y) {
        if (x >= finder.width || y >= finder.height) continue;
        // The old node would stay in the node list without a cell.
        if (cPathNode* old = finder.GetNodeAt(x, y)) finder.RemoveNode(old);
        cPathNode* node = finder.AddNode(static_cast<uint16_t>(x), static_cast<uint16_t>(y), kPathNode_Access);
        if (!node) continue;
        finder.LinkNodes(node, finder.GetNodeAt(x - 1, y));
        finder.LinkNodes(node, finder.GetNodeAt(x, y - 1));
        if (y == y1 - 1) finder.LinkNodes(node, finder.GetNodeAt(x, y + 1));
        if (x == x1 - 1) finder.LinkNodes(node, finder.GetNodeAt(x + 1, y));
      }
    }
  }
  return !rects.empty();
}

void RemoveTaxiwayAccessNodes(cPathFinder& finder, const std::vector<TaxiwayAccessCell>& rects) {
  for (const TaxiwayAccessCell& rect : rects) {
    for (int32_t x = rect.x; x < int32_t{rect.x} + rect.width; ++x) {
      for (int32_t y = rect.y; y < int32_t{rect.y} + rect.length; ++y) {
        if (cPathNode* node = finder.GetNodeAt(x, y)) finder.RemoveNode(node);
      }
    }
  }
}
