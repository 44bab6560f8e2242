#pragma once
// The path nodes of a placed building's airside access areas: one node of
// kind 3 per covered cell, linked with the tiles around it under the finder's
// kind rule. The building's add and remove operations hand in its access
// rectangles, already turned and moved to its place.
#include <cstdint>
#include <vector>

class cPathFinder;

// A taxiway access rectangle in plot cells.
struct TaxiwayAccessCell {
  uint16_t x = 0;
  uint16_t y = 0;
  uint16_t width = 0;
  uint16_t length = 0;
};

// Creates the nodes column by column (x outer, y inner), each linked to the
// node left of it and above it, to the node below the last cell of its column
// and to the node right of a cell in the last column. A node already on a
// covered cell is removed first. Cells off the grid are left out. True when
// there is at least one rectangle.
bool AddTaxiwayAccessNodes(cPathFinder& finder, const std::vector<TaxiwayAccessCell>& rects);
// Removes the node of every covered cell that has one.
void RemoveTaxiwayAccessNodes(cPathFinder& finder, const std::vector<TaxiwayAccessCell>& rects);
