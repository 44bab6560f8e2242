// The clock's save blob: refused or read; a read blob saves back the same
// date.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "simulation/Simulation.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  cEntity_Simulation simulation(nullptr);
  if (!simulation.Load(data, static_cast<uint32_t>(size))) return 0;
  SerialBlock saved;
  uint32_t n = 0;
  if (!simulation.Save(&saved, &n) || n != 32) std::abort();
  cEntity_Simulation again(nullptr);
  if (!again.Load(saved.get(), n)) std::abort();
  SerialBlock resaved;
  uint32_t m = 0;
  if (!again.Save(&resaved, &m) || m != n || std::memcmp(saved.get(), resaved.get(), n) != 0) std::abort();
  return 0;
}
