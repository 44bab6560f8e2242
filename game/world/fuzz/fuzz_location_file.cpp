// A location file: read or refused, and a read record always has its twelve
// months of climate and finite numbers where the terrain needs them.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "game/world/LocationRecord.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  _LocationRecord record;
  if (!record.LoadFromText(std::string_view(reinterpret_cast<const char*>(data), size), "fuzz")) return 0;
  if (!record.climate) std::abort();
  for (float c : record.cornerSeeds)
    if (!std::isfinite(c)) std::abort();
  if (!std::isfinite(record.landPrice) || record.landPrice < 0.0f) std::abort();
  return 0;
}
