// The contract manager's save blob: a refused blob leaves the lists as they
// were; a kept one saves to a blob that reads back to the same bytes.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "simulation/ContractManager.h"

namespace {

std::vector<uint8_t> Saved(cEntity_ContractManager& m) {
  SerialBlock block;
  uint32_t size = 0;
  if (!m.Save(&block, &size)) std::abort();
  return std::vector<uint8_t>(block.get(), block.get() + size);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  cEntity_ContractManager manager(nullptr);
  manager.ReadAirlineTable("\"Harbor Air\" l 0 1 6 1 ; Gull l 1 1 6 0 ;");
  manager.ReadAirplaneTable("[a]\nname = Skyhopper\nscale = 1\n[b]\nname = Box\ncargo = 1\n");
  manager.ReadBusinessTable("[Hotel]\nbusiness_type = 1\n[Newsstand]\nbusiness_type = 4\n");
  const std::vector<uint8_t> before = Saved(manager);
  if (!manager.ParseBlob(data, static_cast<uint32_t>(size))) {
    if (Saved(manager) != before) std::abort();
    return 0;
  }
  const std::vector<uint8_t> once = Saved(manager);
  if (!manager.ParseBlob(once.data(), static_cast<uint32_t>(once.size()))) std::abort();
  if (Saved(manager) != once) std::abort();
  return 0;
}
