// The registry on its own: adding with compaction and growth, removal to
// the pending list, lookups, flushing and destruction; positions past
// 65,535 stay distinct.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/services/C3DResource.h"
#include "renderer/resources/ResourceRegistry.h"

namespace {

// Counts its deletions.
class Probe : public C3DResource {
 public:
  Probe(std::string name, uint32_t flags, int* deleted) : C3DResource(nullptr, flags, std::move(name)), deleted_(deleted) {}
  ~Probe() override { ++*deleted_; }

 private:
  int* deleted_;
};

TEST(ResourceRegistry, GrowsOnlyWhenFullAndCompactsHolesFirst) {
  int deleted = 0;
  ResourceRegistry registry;
  std::vector<Probe*> probes;
  for (int i = 0; i < 64; ++i) {
    probes.push_back(new Probe("p" + std::to_string(i), 0, &deleted));
    EXPECT_EQ(registry.Add(probes.back()), uint32_t(i + 1));
  }
  EXPECT_EQ(registry.Capacity(), 64u);
  // A hole: the 65th fills it after compaction, and those behind it move down.
  probes[10]->Release();
  registry.Remove(10);
  EXPECT_EQ(registry.Get(10), nullptr);
  EXPECT_EQ(registry.PendingCount(), 1u);
  Probe* extra = new Probe("extra", 0, &deleted);
  EXPECT_EQ(registry.Add(extra), 64u);
  EXPECT_EQ(registry.Capacity(), 64u);
  EXPECT_EQ(probes[11]->GetRegistryIndex(), 10);
  EXPECT_EQ(registry.Get(10), probes[11]);
  EXPECT_EQ(extra->GetRegistryIndex(), 63);
  // No hole: the next one doubles the capacity.
  Probe* more = new Probe("more", 0, &deleted);
  EXPECT_EQ(registry.Add(more), 65u);
  EXPECT_EQ(registry.Capacity(), 128u);
  EXPECT_EQ(registry.Get(64), more);
  EXPECT_EQ(registry.Get(65), nullptr);
  EXPECT_EQ(deleted, 0);
  registry.FlushPending();
  EXPECT_EQ(deleted, 1);
  registry.Destroy();
  EXPECT_EQ(deleted, 66);
  EXPECT_EQ(registry.UsedCount(), 0u);
}

TEST(ResourceRegistry, RemovalNeedsAnUnreferencedEntryInRange) {
  int deleted = 0;
  ResourceRegistry registry;
  auto* held = new Probe("held", 0, &deleted);
  registry.Add(held);
  struct Case {
    const char* name;
    uint32_t index;
  };
  for (const Case& c : {Case{"still referenced", 0}, Case{"past the used count", 5}, Case{"far out", 0xFFFFFFFFu}}) {
    SCOPED_TRACE(c.name);
    registry.Remove(c.index);
    EXPECT_EQ(registry.Get(0), held);
    EXPECT_EQ(registry.PendingCount(), 0u);
  }
  held->Release();
  registry.Remove(0);
  registry.Remove(0);  // the slot is empty now
  EXPECT_EQ(registry.PendingCount(), 1u);
}

TEST(ResourceRegistry, LookupNeedsEqualFlagsHashAndName) {
  int deleted = 0;
  ResourceRegistry registry;
  auto* a = new Probe("wall.tga", 0, &deleted);
  auto* b = new Probe("wall.tga", 0x10, &deleted);
  registry.Add(a);
  registry.Add(b);
  EXPECT_EQ(registry.Find(0, C3DResource::HashResourceName("wall.tga"), "wall.tga"), a);
  EXPECT_EQ(registry.Find(0x10, C3DResource::HashResourceName("wall.tga"), "wall.tga"), b);
  EXPECT_EQ(registry.Find(0x20, C3DResource::HashResourceName("wall.tga"), "wall.tga"), nullptr);
  EXPECT_EQ(registry.Find(0, 1, "wall.tga"), nullptr);
  EXPECT_EQ(registry.Find(0, C3DResource::HashResourceName("wall.tga"), "Wall.tga"), nullptr);
}

// Positions are 32-bit: the 65,537th resource does not alias the first.
TEST(ResourceRegistry, PositionsPast65535StayDistinct) {
  int deleted = 0;
  ResourceRegistry registry;
  std::vector<Probe*> probes;
  for (int i = 0; i < 65537; ++i) {
    probes.push_back(new Probe("", 0, &deleted));
    registry.Add(probes.back());
  }
  EXPECT_EQ(probes[65536]->GetRegistryIndex(), 65536);
  probes[65536]->Release();
  registry.Remove(65536);
  EXPECT_EQ(registry.Get(0), probes[0]);
  EXPECT_EQ(registry.Get(65536), nullptr);
  registry.FlushPending();
  EXPECT_EQ(deleted, 1);
}

}  // namespace
