// The taxiway and apron manager's save blob, built on a 64 x 64 plot: a
// refused blob is not kept; a built one covers each laid cell once, marks
// exactly those cells, and saving and building it again gives the same bytes.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <set>
#include <utility>
#include <vector>

#include "construction/tests/RoadWorld.h"
#include "platform/DebugOutput.h"

namespace {

std::vector<uint8_t> Saved(cEntity_TaxiwayManager& m) {
  SerialBlock block;
  uint32_t size = 0;
  if (!m.Save(&block, &size)) return {};
  return std::vector<uint8_t>(block.get(), block.get() + size);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  platform::SetDebugStderr(false);
  static auto* world = new roadtest::RoadWorld();
  cEntity_TaxiwayManager& pavement = *world->taxiways;
  std::vector<PlotCell>& cells = world->world.plot.cells;
  auto reset = [&] {
    pavement.Clear();
    for (PlotCell& cell : cells) cell = PlotCell{0xFFu, nullptr};
    world->finder.Start();
  };

  if (!pavement.LoadFromBlob(data, static_cast<uint32_t>(size))) {
    if (pavement.GetBlob()) std::abort();
    return 0;
  }
  pavement.BuildWorld();
  size_t laid = 0;
  for (int k = 0; k < 2; ++k) {
    const auto kind = static_cast<cEntity_TaxiwayManager::Kind>(k);
    std::set<std::pair<int, int>> covered;
    for (const auto& s : pavement.GetSections(kind)) {
      for (int y = s->y; y < s->y + s->length; ++y) {
        for (int x = s->x; x < s->x + s->width; ++x) {
          // Aprons are laid over taxiway cells too: the later kind's mark wins.
          if (!covered.insert({x, y}).second) std::abort();
          ++laid;
        }
      }
    }
  }
  const auto marked = std::count_if(cells.begin(), cells.end(), [](const PlotCell& c) { return c.content != 0xFFu; });
  if (static_cast<size_t>(marked) > laid) std::abort();

  const std::vector<uint8_t> once = Saved(pavement);
  reset();
  if (!once.empty()) {
    if (!pavement.LoadFromBlob(once.data(), static_cast<uint32_t>(once.size()))) std::abort();
    pavement.BuildWorld();
    if (Saved(pavement) != once) std::abort();
  }
  reset();
  return 0;
}
