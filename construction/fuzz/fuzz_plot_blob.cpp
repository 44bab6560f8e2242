// The land plot's save blob. A refused blob leaves the plot as it was; a
// taken one saves the same size (less any trailing block), and that save
// loads and saves back to the same bytes (reserved bytes written as 0).
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "construction/GamePlot.h"
#include "platform/DebugOutput.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  platform::SetDebugStderr(false);
  cEntity_GamePlot plot(nullptr);
  plot.SetDimensions(2, 5);
  if (!plot.LoadFromBlob(data, static_cast<uint32_t>(size))) {
    if (plot.GetBlockCountX() != 2 || plot.GetCellsPerBlock() != 5 || !plot.GetCorners().empty()) std::abort();
    return 0;
  }
  SerialBlock saved;
  uint32_t n = 0;
  if (!plot.Save(&saved, &n)) std::abort();
  if (n + plot.GetBlobSize() != size) std::abort();
  cEntity_GamePlot again(nullptr);
  if (!again.LoadFromBlob(saved.get(), n)) std::abort();
  SerialBlock resaved;
  uint32_t m = 0;
  if (!again.Save(&resaved, &m) || m != n || std::memcmp(saved.get(), resaved.get(), n) != 0) std::abort();
  return 0;
}
