#pragma once
// Storage for the many small pieces a text reader keeps (names, values, the
// arrays that list them): each piece is a bump of a pointer in a large
// block, so a file of thousands of entries costs a handful of allocations,
// and everything is let go at once by Clear or the destructor. Pieces are
// never freed one by one; a replaced piece stays until Clear. Only trivially
// destructible things go here (no destructor ever runs on them).
//
// Blocks let go are kept, up to a few megabytes in all, for the next arena:
// tables are read one after another, and memory handed back to the system
// and asked for again costs a page fault every few kilobytes, more than the
// reading itself.
#include <algorithm>
#include <cstddef>
#include <cstring>
#include <memory>
#include <mutex>
#include <new>
#include <string_view>
#include <type_traits>
#include <vector>

class TextArena {
 public:
  TextArena() = default;
  ~TextArena() { Clear(); }
  TextArena(const TextArena&) = delete;
  TextArena& operator=(const TextArena&) = delete;

  // `bytes` of room aligned for `align`; never null (a failed allocation
  // throws like any other).
  void* Allocate(size_t bytes, size_t align) {
    size_t at = (used_ + align - 1) & ~(align - 1);
    if (blocks_.empty() || at + bytes > size_) {
      NewBlock(bytes + align);
      at = 0;
    }
    used_ = at + bytes;
    return blocks_.back().get() + at;
  }

  // A copy of `text` kept until Clear.
  std::string_view Keep(std::string_view text) {
    if (text.empty()) return std::string_view();
    char* to = static_cast<char*>(Allocate(text.size(), 1));
    std::memcpy(to, text.data(), text.size());
    return std::string_view(to, text.size());
  }

  // Room for `count` default-constructed T.
  template <typename T>
  T* NewArray(size_t count) {
    static_assert(std::is_trivially_destructible_v<T>, "the arena runs no destructors");
    T* items = static_cast<T*>(Allocate(sizeof(T) * count, alignof(T)));
    for (size_t i = 0; i < count; ++i) new (items + i) T();
    return items;
  }

  // The next blocks are at least `bytes` long (a reader that knows its
  // input's size asks for about that much once).
  void ExpectAbout(size_t bytes) { nextSize_ = std::clamp(bytes, nextSize_, kMaxBlock); }

  void Clear() {
    for (Block& block : blocks_) Spare().Give(std::move(block));
    blocks_.clear();
    size_ = 0;
    used_ = 0;
    nextSize_ = kFirstBlock;
  }

 private:
  static constexpr size_t kFirstBlock = size_t{4} << 10;
  static constexpr size_t kMaxBlock = size_t{16} << 20;
  // What the spare blocks may hold in all.
  static constexpr size_t kMaxSpareBytes = size_t{32} << 20;

  struct Block {
    std::unique_ptr<char[]> bytes;
    size_t size = 0;
    char* get() const { return bytes.get(); }
  };

  // Blocks let go by every arena of the process, for the next to take.
  class SpareBlocks {
   public:
    // A kept block of at least `size` bytes and at most twice that.
    Block Take(size_t size) {
      std::lock_guard<std::mutex> lock(mutex_);
      for (size_t i = 0; i < blocks_.size(); ++i) {
        if (blocks_[i].size < size || blocks_[i].size > size * 2) continue;
        Block block = std::move(blocks_[i]);
        blocks_[i] = std::move(blocks_.back());
        blocks_.pop_back();
        bytes_ -= block.size;
        return block;
      }
      return Block{};
    }
    void Give(Block block) {
      std::lock_guard<std::mutex> lock(mutex_);
      if (bytes_ + block.size > kMaxSpareBytes) return;  // freed here
      bytes_ += block.size;
      blocks_.push_back(std::move(block));
    }

   private:
    std::mutex mutex_;
    std::vector<Block> blocks_;
    size_t bytes_ = 0;
  };
  // Never destroyed, so an arena that outlives the statics still has it.
  static SpareBlocks& Spare() {
    static SpareBlocks* spare = new SpareBlocks;
    return *spare;
  }

  void NewBlock(size_t atLeast) {
    // Blocks double, so a small table costs little and a large one a few
    // allocations; a piece larger than a block gets a block of its own.
    const size_t size = std::max(nextSize_, atLeast);
    nextSize_ = std::min(nextSize_ * 2, kMaxBlock);
    Block block = Spare().Take(size);
    if (!block.bytes) block = Block{std::unique_ptr<char[]>(new char[size]), size};
    size_ = block.size;
    blocks_.push_back(std::move(block));
    used_ = 0;
  }

  std::vector<Block> blocks_;
  size_t size_ = 0;  // of the last block
  size_t used_ = 0;  // of the last block
  size_t nextSize_ = kFirstBlock;
};
