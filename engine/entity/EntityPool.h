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

namespace entitypool {

// A block of at least `bytes`, aligned for any entity (max_align_t). Never
// null: like operator new, it throws std::bad_alloc when memory runs out.
void* Allocate(size_t bytes);
// Gives back a block from Allocate; `bytes` is the size asked for then.
void Free(void* block, size_t bytes) noexcept;

}  // namespace entitypool
