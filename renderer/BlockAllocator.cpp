#include "renderer/BlockAllocator.h"

#include <new>

namespace {
// Each allocation after the first in a block starts on this boundary, so
// draw items placed in a block are properly aligned.
constexpr uint64_t kAlignment = alignof(std::max_align_t);
uint64_t RoundUp(uint64_t n) { return (n + kAlignment - 1) / kAlignment * kAlignment; }
}  // namespace

void* BlockAllocator::Allocate(int64_t bytes) {
  if (bytes < 1 || bytes > int64_t(1) << 30) return nullptr;
  const uint64_t n = static_cast<uint64_t>(bytes);
  for (Block& block : blocks_) {
    const uint64_t start = RoundUp(block.used);
    if (start + n <= block.size) {
      block.used = static_cast<uint32_t>(start + n);
      return block.memory.get() + start;
    }
  }
  uint64_t size = blockSize_;
  if (2 * n >= blockSize_) {
    size = 2 * n;
    if (blockSize_ < (1u << 31)) blockSize_ *= 2;
  }
  Block block;
  block.memory.reset(new (std::nothrow) std::byte[size]);
  if (!block.memory) return nullptr;
  block.size = static_cast<uint32_t>(size);
  block.used = static_cast<uint32_t>(n);
  void* p = block.memory.get();
  blocks_.insert(blocks_.begin(), std::move(block));
  return p;
}

void BlockAllocator::Reset() {
  for (Block& block : blocks_) block.used = 0;
}

void BlockAllocator::Free() { blocks_.clear(); }
