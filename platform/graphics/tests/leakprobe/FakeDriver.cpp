// Stands in for a GL driver: keeps a block in its own globals and never frees
// it, as real drivers do with their per-process caches.
#include <cstdlib>

namespace {
void* g_cache = nullptr;
}

extern "C" __attribute__((visibility("default"))) void FakeDriverStart() {
  if (!g_cache) g_cache = std::malloc(128);
}
