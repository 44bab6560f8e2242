// The airplane table reader: every model filed sits in the array of its
// size class and kind.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "simulation/ContractManager.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  cEntity_ContractManager manager(nullptr);
  manager.ReadAirplaneTable(std::string_view(reinterpret_cast<const char*>(data), size));
  for (uint32_t s = 0; s < kSizeClassCount; ++s) {
    for (const AirplaneData* p : manager.passengerPlanes[s]) {
      if (p->cargo || p->sizeClass != s) std::abort();
    }
    for (const AirplaneData* p : manager.cargoPlanes[s]) {
      if (!p->cargo || p->sizeClass != s) std::abort();
    }
  }
  return 0;
}
