// The airport manager's save blob: refused or kept; what a kept blob holds
// writes out to a blob that reads back to the same bytes.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "simulation/AirportBlob.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  AirportBlob blob;
  if (!AirportBlob::Parse(data, static_cast<uint32_t>(size), &blob, nullptr)) return 0;
  // Padding and the bytes after a name's zero are not kept, so the first
  // write may differ from the input; from then on it is stable.
  const std::vector<uint8_t> saved = blob.Serialize();
  AirportBlob again;
  if (!AirportBlob::Parse(saved.data(), static_cast<uint32_t>(saved.size()), &again, nullptr)) std::abort();
  if (again.Serialize() != saved) std::abort();
  return 0;
}
