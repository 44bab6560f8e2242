#include "engine/entity/EntityPool.h"

#include <new>

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kPooled = false;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kPooled = false;
#else
constexpr bool kPooled = true;
#endif
#else
constexpr bool kPooled = true;
#endif

// Lives as long as the process: entities may be destroyed during static
// destruction, after any owner of the slabs would be gone.
EntityPool& ThePool() {
  static EntityPool* pool = new EntityPool;
  return *pool;
}

}  // namespace

void* EntityPool::Allocate(size_t bytes) {
  if (bytes == 0 || bytes > kLargestPooled) return ::operator new(bytes);
  const size_t index = (bytes + kGranule - 1) / kGranule - 1;
  const size_t blockBytes = (index + 1) * kGranule;
  std::lock_guard lock(mutex_);
  SizeClass& c = classes_[index];
  if (FreeBlock* block = c.freeList) {
    c.freeList = block->next;
    return block;
  }
  if (static_cast<size_t>(c.limit - c.cursor) < blockBytes) {
    slabs_.emplace_back(new std::max_align_t[kSlabBytes / sizeof(std::max_align_t)]);
    c.cursor = reinterpret_cast<char*>(slabs_.back().get());
    c.limit = c.cursor + kSlabBytes;
  }
  void* block = c.cursor;
  c.cursor += blockBytes;
  return block;
}

void EntityPool::Free(void* block, size_t bytes) noexcept {
  if (!block) return;
  if (bytes == 0 || bytes > kLargestPooled) {
    ::operator delete(block);
    return;
  }
  std::lock_guard lock(mutex_);
  SizeClass& c = classes_[(bytes + kGranule - 1) / kGranule - 1];
  c.freeList = new (block) FreeBlock{c.freeList};
}

namespace entitypool {

void* Allocate(size_t bytes) { return kPooled ? ThePool().Allocate(bytes) : ::operator new(bytes); }

void Free(void* block, size_t bytes) noexcept {
  if (kPooled) {
    ThePool().Free(block, bytes);
  } else {
    ::operator delete(block);
  }
}

}  // namespace entitypool
