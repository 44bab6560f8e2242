// The airline table reader: any text files only records it can hold.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "simulation/ContractManager.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  cEntity_ContractManager manager(nullptr);
  manager.ReadAirlineTable(std::string_view(reinterpret_cast<const char*>(data), size));
  for (uint32_t a = 0; a <= kInternationalArray; ++a) {
    for (const AirlineData* record : manager.airlines[a]) {
      if (record->demand > 3 || record->continent > kInternationalArray) std::abort();
      if (a != (record->international ? kInternationalArray : record->continent)) std::abort();
    }
  }
  return 0;
}
