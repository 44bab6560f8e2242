// The statistics block: refused or kept; a kept block round-trips byte for
// byte.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "simulation/StatBlock.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  StatBlock block;
  if (!StatBlock::Parse(data, static_cast<uint32_t>(size), &block, nullptr)) return 0;
  const std::vector<uint8_t> saved = block.Serialize();
  if (saved.size() != size || std::memcmp(saved.data(), data, size) != 0) std::abort();
  return 0;
}
