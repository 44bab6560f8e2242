// The award table reader: any text gives a table or none, never a crash.
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string_view>
#include <vector>

#include "simulation/AirportTables.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<std::unique_ptr<cAward>> awards;
  const bool read = ReadAwardTable(std::string_view(reinterpret_cast<const char*>(data), size), &awards);
  if (!read && !awards.empty()) std::abort();
  for (const auto& award : awards) {
    if (award->won) std::abort();
  }
  return 0;
}
