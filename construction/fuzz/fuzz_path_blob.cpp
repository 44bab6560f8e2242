// The path finder's save blob: the first two bytes give the grid size (1 to
// 64 cells a side), the rest is the blob. A blob is refused whole or
// restored; a restored graph saves back the same blob, searches over it end,
// and its nodes can all be removed.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "construction/PathFinder.h"
#include "platform/DebugOutput.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  platform::SetDebugStderr(false);
  const uint16_t width = static_cast<uint16_t>(1 + data[0] % 64);
  const uint16_t height = static_cast<uint16_t>(1 + data[1] % 64);
  cPathFinder finder;
  finder.width = width;
  finder.height = height;
  finder.LoadFromBlob(data + 2, static_cast<uint32_t>(size - 2));
  finder.Start();
  if (finder.GetBlob()) std::abort();
  if (!finder.GetNodeListHead()) return 0;

  SerialBlock saved;
  uint32_t n = 0;
  if (!finder.Save(&saved, &n)) std::abort();
  cPathFinder again;
  again.width = width;
  again.height = height;
  again.LoadFromBlob(saved.get(), n);
  again.Start();
  SerialBlock resaved;
  uint32_t m = 0;
  if (!again.Save(&resaved, &m) || m != n || std::memcmp(saved.get(), resaved.get(), n) != 0) std::abort();

  std::vector<cPathNode*> nodes;
  for (cPathNode* node = finder.GetNodeListHead(); node; node = node->next) nodes.push_back(node);
  for (size_t i = 0; i < nodes.size() && i < 8; ++i) {
    Route* route = finder.RequestPath(nodes[i], nodes[nodes.size() - 1 - i], 1, static_cast<uint8_t>(i % 3), 1);
    if (!route->status) std::abort();
    if (route->secondStatus && (route->route.front() != nodes[i] || route->route.back() != nodes[nodes.size() - 1 - i]))
      std::abort();
  }
  for (cPathNode* node : nodes) finder.RemoveNode(node);
  if (finder.GetNodeListHead()) std::abort();
  return 0;
}
