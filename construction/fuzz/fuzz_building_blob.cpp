// The building manager's save blob, restored into a manager with a type of
// every class block. A blob is refused whole (nothing placed) or restored;
// a restored airport saves a blob that restores again to the same bytes.
//
// The two worlds are made once per process; after each input their
// managers lose what the input placed and take back the technology state
// they were made with, and both must then save and show the plot exactly as
// when they were made.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <vector>

#include "construction/tests/BuildingSaveWorld.h"
#include "platform/DebugOutput.h"

namespace {

[[noreturn]] void Fail(const char* what) {
  std::fprintf(stderr, "reset failed: %s\n", what);
  std::abort();
}

std::vector<uint8_t> PlotBytes(buildtest::SaveWorld& world) {
  SerialBlock bytes;
  uint32_t n = 0;
  world.plot.Save(&bytes, &n);
  return std::vector<uint8_t>(bytes.get(), bytes.get() + n);
}

// One world as made: its saves and its technology state.
struct Kept {
  explicit Kept(buildtest::SaveWorld& w) : world(w), saved(w.Save()), plot(PlotBytes(w)) {
    std::copy(std::begin(w.manager.technologyFlags), std::end(w.manager.technologyFlags), flags);
    std::copy(std::begin(w.manager.typeWordGroups), std::end(w.manager.typeWordGroups), groups);
  }
  // Puts the world back as made and aborts when it is not. Only a restore
  // that placed buildings marked the plot: its cells are cleared and the
  // land it keeps (owned, unavailable, corner posts) comes back from the
  // plot's save as made.
  void Reset(bool placedBuildings) {
    world.manager.FreeBlob();
    world.manager.Reset();
    std::copy(std::begin(flags), std::end(flags), world.manager.technologyFlags);
    std::copy(std::begin(groups), std::end(groups), world.manager.typeWordGroups);
    if (!world.manager.placed.empty()) Fail("buildings left placed");
    if (world.Save() != saved) Fail("the manager saves otherwise than as made");
    if (!placedBuildings) return;
    world.plot.ClearCells();
    world.plot.LoadFromBlob(plot.data(), static_cast<uint32_t>(plot.size()));
    world.plot.FreeBlob();
    world.plot.BuildMiniMap();
    if (PlotBytes(world) != plot) Fail("the plot differs from the one made");
  }
  buildtest::SaveWorld& world;
  const std::vector<uint8_t> saved;
  const std::vector<uint8_t> plot;
  decltype(cEntity_BuildingManager::technologyFlags) flags;
  decltype(cEntity_BuildingManager::typeWordGroups) groups;
};

struct Fixture {
  buildtest::SaveWorld world;
  buildtest::SaveWorld again;
  Kept keptWorld{world};
  Kept keptAgain{again};
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  platform::SetDebugStderr(false);
  static Fixture* fixture = new Fixture();
  buildtest::SaveWorld& world = fixture->world;
  const bool sound = world.manager.CheckBlob(data, static_cast<uint32_t>(size), nullptr);
  world.Restore(std::vector<uint8_t>(data, data + size));
  if (world.manager.GetBlob()) std::abort();
  const bool placedBuildings = !world.manager.placed.empty();
  if (!sound) {
    if (placedBuildings || !world.manager.statusGroups[0].empty()) std::abort();
    fixture->keptWorld.Reset(false);
    return 0;
  }
  const std::vector<uint8_t> saved = world.Save();
  buildtest::SaveWorld& again = fixture->again;
  if (!again.manager.CheckBlob(saved.data(), static_cast<uint32_t>(saved.size()), nullptr)) std::abort();
  again.Restore(saved);
  if (again.Save() != saved) std::abort();
  world.manager.Reset();
  if (!world.manager.placed.empty()) std::abort();
  fixture->keptWorld.Reset(placedBuildings);
  fixture->keptAgain.Reset(placedBuildings);
  return 0;
}
