#pragma once
// Per-frame memory of a render pass: blocks that are handed out front to
// back, made free again all at once each frame, and never freed one by one.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

class BlockAllocator {
 public:
  static constexpr uint32_t kInitialBlockSize = 16384;

  // Null for a size below 1. The first block (newest first) with room gives
  // its next bytes; otherwise a new block of the block size (or twice the
  // request, doubling the block size, when that is larger) goes in front.
  void* Allocate(int64_t bytes);
  // Every block becomes wholly free; nothing is released.
  void Reset();
  // Releases every block; the block size stays.
  void Free();

  uint32_t GetBlockSize() const { return blockSize_; }
  size_t GetBlockCount() const { return blocks_.size(); }
  uint32_t GetBlockBytes(size_t index) const { return blocks_[index].size; }

 private:
  struct Block {
    std::unique_ptr<std::byte[]> memory;
    uint32_t size = 0;
    uint32_t used = 0;
  };
  uint32_t blockSize_ = kInitialBlockSize;
  std::vector<Block> blocks_;
};
