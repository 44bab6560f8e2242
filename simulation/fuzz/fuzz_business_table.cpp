// The business table reader: one record per named section, each findable by
// its name.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "simulation/ContractManager.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  cEntity_ContractManager manager(nullptr);
  manager.ReadBusinessTable(std::string_view(reinterpret_cast<const char*>(data), size));
  for (const BusinessData* record : manager.businesses) {
    if (record->name.empty() || !manager.FindBusinessData(record->name)) std::abort();
  }
  return 0;
}
