#pragma once
// Memory for entity objects. Entities are made one at a time by spawns and
// walked every frame in creation order; from the general heap they end up
// interleaved with every other allocation of the time (names, maps, the
// definitions they were read from), so a frame's walk over a large world
// misses the cache on nearly every entity. The pool hands out entity-sized
// blocks from large slabs kept per size class, so entities made one after
// another lie next to each other, and a freed block is reused by the next
// entity of its size.
#include <cstddef>
#include <memory>
#include <mutex>
#include <vector>

class EntityPool {
 public:
  // Blocks up to this size come from slabs; larger ones from the heap.
  static constexpr size_t kLargestPooled = 2048;

  EntityPool() = default;
  EntityPool(const EntityPool&) = delete;
  EntityPool& operator=(const EntityPool&) = delete;

  // A block of at least `bytes`, aligned for any object (max_align_t). Never
  // null: like operator new, it throws std::bad_alloc when memory runs out.
  void* Allocate(size_t bytes);
  // Gives back a block from Allocate; `bytes` is the size asked for then.
  void Free(void* block, size_t bytes) noexcept;

 private:
  static constexpr size_t kGranule = alignof(std::max_align_t);
  static constexpr size_t kClasses = kLargestPooled / kGranule;
  static constexpr size_t kSlabBytes = size_t{256} << 10;

  struct FreeBlock {
    FreeBlock* next;
  };
  struct SizeClass {
    FreeBlock* freeList = nullptr;
    char* cursor = nullptr;  // the unused tail of the newest slab
    char* limit = nullptr;
  };

  std::mutex mutex_;
  SizeClass classes_[kClasses];
  std::vector<std::unique_ptr<std::max_align_t[]>> slabs_;
};

namespace entitypool {

// The pool every entity comes from. Under AddressSanitizer entities come
// from the general heap instead, so a use after free or a leaked entity is
// still reported.
void* Allocate(size_t bytes);
void Free(void* block, size_t bytes) noexcept;

}  // namespace entitypool
