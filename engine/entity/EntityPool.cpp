#include "engine/entity/EntityPool.h"

#include <memory>
#include <mutex>
#include <new>
#include <vector>

namespace entitypool {
namespace {

// Under AddressSanitizer every block comes from the general heap, so a use
// after free of an entity is still caught.
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

constexpr size_t kGranule = alignof(std::max_align_t);
constexpr size_t kLargestPooled = 2048;  // larger entities use the general heap
constexpr size_t kClasses = kLargestPooled / kGranule;
constexpr size_t kSlabBytes = size_t{256} << 10;

struct FreeBlock {
  FreeBlock* next;
};

struct SizeClass {
  FreeBlock* freeList = nullptr;
  char* cursor = nullptr;  // the unused tail of the newest slab
  char* limit = nullptr;
};

// Slabs live as long as the process: entities may be destroyed during
// static destruction, after any owner of the slabs would be gone.
struct Pool {
  std::mutex mutex;
  SizeClass classes[kClasses];
  std::vector<std::unique_ptr<std::max_align_t[]>> slabs;
};

Pool& ThePool() {
  static Pool* pool = new Pool;
  return *pool;
}

size_t ClassOf(size_t bytes) { return (bytes + kGranule - 1) / kGranule - 1; }

}  // namespace

void* Allocate(size_t bytes) {
  if (!kPooled || bytes == 0 || bytes > kLargestPooled) return ::operator new(bytes);
  const size_t index = ClassOf(bytes);
  const size_t blockBytes = (index + 1) * kGranule;
  Pool& pool = ThePool();
  std::lock_guard lock(pool.mutex);
  SizeClass& c = pool.classes[index];
  if (FreeBlock* block = c.freeList) {
    c.freeList = block->next;
    return block;
  }
  if (static_cast<size_t>(c.limit - c.cursor) < blockBytes) {
    pool.slabs.emplace_back(new std::max_align_t[kSlabBytes / sizeof(std::max_align_t)]);
    c.cursor = reinterpret_cast<char*>(pool.slabs.back().get());
    c.limit = c.cursor + kSlabBytes;
  }
  void* block = c.cursor;
  c.cursor += blockBytes;
  return block;
}

void Free(void* block, size_t bytes) noexcept {
  if (!block) return;
  if (!kPooled || bytes == 0 || bytes > kLargestPooled) {
    ::operator delete(block);
    return;
  }
  Pool& pool = ThePool();
  std::lock_guard lock(pool.mutex);
  SizeClass& c = pool.classes[ClassOf(bytes)];
  c.freeList = new (block) FreeBlock{c.freeList};
}

}  // namespace entitypool
