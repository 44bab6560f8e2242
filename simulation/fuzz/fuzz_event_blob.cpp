// The event manager's blob: refused without a change, or read; a read blob
// saves to bytes that read back to the same save.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "simulation/EventManager.h"

namespace {

std::vector<uint8_t> SaveOf(cEntity_EventManager& events) {
  SerialBlock bytes;
  uint32_t n = 0;
  if (!events.Save(&bytes, &n)) return {};
  return std::vector<uint8_t>(bytes.get(), bytes.get() + n);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  cEntity_EventManager events(nullptr);
  if (!events.LoadFromBlob(data, static_cast<uint32_t>(size))) {
    if (!SaveOf(events).empty()) std::abort();
    return 0;
  }
  const std::vector<uint8_t> saved = SaveOf(events);
  cEntity_EventManager again(nullptr);
  if (!saved.empty() && !again.LoadFromBlob(saved.data(), static_cast<uint32_t>(saved.size()))) std::abort();
  if (SaveOf(again) != saved) std::abort();
  return 0;
}
