// The event table reader: any text gives a table or none, never a crash.
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string_view>
#include <vector>

#include "simulation/AirportTables.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<std::unique_ptr<cEvent>> events;
  const bool read = ReadEventTable(std::string_view(reinterpret_cast<const char*>(data), size), &events);
  if (!read && !events.empty()) std::abort();
  for (const auto& event : events) {
    if (event->triggered) std::abort();
  }
  return 0;
}
