// The ambient manager's save blob: refused, or kept as the flight ids it
// holds, never read past its end.
#include <cstdint>
#include <cstdlib>

#include "simulation/AmbientManager.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  cEntity_AmbientManager manager(nullptr);
  const bool kept = manager.LoadFromBlob(data, static_cast<uint32_t>(size));
  if (kept && 4 + 4 * manager.flightsToRestore.size() != size) std::abort();
  if (!kept && !manager.flightsToRestore.empty()) std::abort();
  return 0;
}
