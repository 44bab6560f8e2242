// The building manager's save blob, restored into a manager with a type of
// every class block. A blob is refused whole (nothing placed) or restored;
// a restored airport saves a blob that restores again to the same bytes.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "construction/tests/BuildingSaveWorld.h"
#include "platform/DebugOutput.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  platform::SetDebugStderr(false);
  buildtest::SaveWorld world;
  const bool sound = world.manager.CheckBlob(data, static_cast<uint32_t>(size), nullptr);
  world.Restore(std::vector<uint8_t>(data, data + size));
  if (world.manager.GetBlob()) std::abort();
  if (!sound) {
    if (!world.manager.placed.empty() || !world.manager.statusGroups[0].empty()) std::abort();
    return 0;
  }
  const std::vector<uint8_t> saved = world.Save();
  buildtest::SaveWorld again;
  if (!again.manager.CheckBlob(saved.data(), static_cast<uint32_t>(saved.size()), nullptr)) std::abort();
  again.Restore(saved);
  if (again.Save() != saved) std::abort();
  world.manager.Reset();
  if (!world.manager.placed.empty()) std::abort();
  return 0;
}
