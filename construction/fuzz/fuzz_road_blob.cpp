// The road manager's save blob, built on a 64 x 64 plot: a refused blob is
// not kept; a built network marks exactly its own cells as road, and saving
// and building it again gives the same bytes.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "construction/tests/RoadWorld.h"
#include "platform/DebugOutput.h"

namespace {

std::vector<uint8_t> Saved(cEntity_RoadManager& roads) {
  SerialBlock block;
  uint32_t size = 0;
  if (!roads.Save(&block, &size)) std::abort();
  return std::vector<uint8_t>(block.get(), block.get() + size);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  platform::SetDebugStderr(false);
  // One world for the whole run: setting it up reads the game's data.
  static auto* world = new roadtest::RoadWorld();
  cEntity_RoadManager& roads = *world->roads;
  std::vector<PlotCell>& cells = world->world.plot.cells;
  auto reset = [&] {
    for (PlotCell& cell : cells) cell = PlotCell{0xFFu, nullptr};
  };

  if (!roads.LoadFromBlob(data, static_cast<uint32_t>(size))) {
    if (roads.GetBlob()) std::abort();
    return 0;
  }
  roads.BuildWorld();
  size_t roadCells = 0;
  for (RoadSection* section : roads.GetSections()) {
    for (int y = section->y; y <= section->LastY(); ++y) {
      for (int x = section->x; x <= section->LastX(); ++x) {
        if (roads.GetSectionAt(x, y) != section || cells[static_cast<size_t>(y) * 64 + x].content != 0xF1u) std::abort();
        ++roadCells;
      }
    }
  }
  const auto road = std::count_if(cells.begin(), cells.end(), [](const PlotCell& c) { return c.content == 0xF1u; });
  if (static_cast<size_t>(road) != roadCells) std::abort();

  const std::vector<uint8_t> once = Saved(roads);
  if (!roads.LoadFromBlob(once.data(), static_cast<uint32_t>(once.size()))) std::abort();
  reset();
  roads.BuildWorld();
  if (Saved(roads) != once) std::abort();

  roads.Clear();
  reset();
  return 0;
}
