#pragma once
// The mesh the draw-submission benchmarks draw: `grid` x `grid` cells of two
// triangles in two layers, in any vertex type laid out as position, colour
// and two texture-coordinate sets.
#include <cstdint>
#include <vector>

template <class Vertex>
void BuildBenchGrid(int grid, std::vector<Vertex>* vertices, std::vector<uint16_t>* indices) {
  for (int layer = 0; layer < 2; ++layer)
    for (int y = 0; y <= grid; ++y)
      for (int x = 0; x <= grid; ++x)
        vertices->push_back({float(x) * 4, float(y) * 4, 0.5f - 0.1f * float(layer),
                             0xFF808080u + uint32_t(x * 16), float(x) / float(grid), float(y) / float(grid), 0, 0});
  for (int layer = 0; layer < 2; ++layer)
    for (int y = 0; y < grid; ++y)
      for (int x = 0; x < grid; ++x) {
        const uint16_t base = uint16_t(layer * (grid + 1) * (grid + 1));
        const uint16_t a = uint16_t(base + y * (grid + 1) + x), b = uint16_t(a + 1),
                       c = uint16_t(a + grid + 1), d = uint16_t(c + 1);
        for (uint16_t i : {a, b, d, a, d, c}) indices->push_back(i);
      }
}
