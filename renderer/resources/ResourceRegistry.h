#pragma once
// One family's live resources (models, meshes, fonts, shaders, images or
// lights): an entry array that equal requests are looked up in, and a
// pending list of resources whose last reference went, deleted at the next
// flush. Positions are 32-bit, so a family may hold more than 65,535
// resources without two of them sharing an index.
#include <cstdint>
#include <string>
#include <vector>

class C3DResource;

class ResourceRegistry {
 public:
  static constexpr uint32_t kInitialCapacity = 64;

  ResourceRegistry();
  ~ResourceRegistry();
  ResourceRegistry(const ResourceRegistry&) = delete;
  ResourceRegistry& operator=(const ResourceRegistry&) = delete;

  // Stores the resource at the end of the used part, compacting holes first
  // and doubling the capacity when there is still no room. Writes the
  // position into the resource; returns the new used count.
  uint32_t Add(C3DResource* resource);
  // An unreferenced entry leaves the array for the pending list; anything
  // else (out of range, empty slot, still referenced) is ignored.
  void Remove(uint32_t index);
  C3DResource* Get(uint32_t index) const;
  // The first entry with exactly these flags, hash and name; null for none.
  C3DResource* Find(uint32_t flags, uint16_t hash, const std::string& name) const;
  // Deletes every pending resource.
  void FlushPending();
  // Deletes every entry, whatever its count, and every pending resource.
  void Destroy();

  uint32_t UsedCount() const { return used_; }
  uint32_t Capacity() const { return static_cast<uint32_t>(entries_.size()); }
  uint32_t PendingCount() const { return static_cast<uint32_t>(pending_.size()); }

 private:
  void Compact();

  uint32_t used_ = 0;
  std::vector<C3DResource*> entries_;
  std::vector<C3DResource*> pending_;
};
