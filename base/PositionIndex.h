#pragma once
// An index from names to positions in the caller's own array, for stores that
// keep each name once (in their entries) and still want lookups in constant
// time. It holds no names: a lookup gives the name's hash and a test that
// tells whether the entry at a position is the one wanted. Open addressing
// with linear probing; each slot keeps its entry's hash, so probing and
// growing seldom touch the entries themselves.
#include <cstddef>
#include <cstdint>
#include <vector>

class PositionIndex {
 public:
  static constexpr uint32_t kNone = 0xFFFFFFFFu;

  // The position filed under `hash` for which `same(position)` holds, or kNone.
  template <typename Same>
  uint32_t Find(uint32_t hash, const Same& same) const {
    if (slots_.empty()) return kNone;
    const size_t mask = slots_.size() - 1;
    for (size_t slot = hash & mask;; slot = (slot + 1) & mask) {
      const Slot& s = slots_[slot];
      if (s.position == kNone) return kNone;
      if (s.hash == hash && same(s.position)) return s.position;
    }
  }

  // Find and Insert in one probe: the position filed under `hash` for which
  // `same(position)` holds; when there is none, `position` is filed and the
  // answer is kNone.
  template <typename Same>
  uint32_t FindOrInsert(uint32_t hash, uint32_t position, const Same& same) {
    if ((used_ + 1) * 2 > slots_.size()) Rehash(slots_.empty() ? kFirstSlots : slots_.size() * 2);
    const size_t mask = slots_.size() - 1;
    for (size_t slot = hash & mask;; slot = (slot + 1) & mask) {
      Slot& s = slots_[slot];
      if (s.position == kNone) {
        s = Slot{position, hash};
        ++used_;
        return kNone;
      }
      if (s.hash == hash && same(s.position)) return s.position;
    }
  }

  // Files a position that is not in the index yet.
  void Insert(uint32_t hash, uint32_t position) {
    // At most half the slots are in use, so probes stay short.
    if ((used_ + 1) * 2 > slots_.size()) Rehash(slots_.empty() ? kFirstSlots : slots_.size() * 2);
    const size_t mask = slots_.size() - 1;
    size_t slot = hash & mask;
    while (slots_[slot].position != kNone) slot = (slot + 1) & mask;
    slots_[slot] = Slot{position, hash};
    ++used_;
  }

  // Room for `count` positions without growing.
  void Reserve(size_t count) {
    size_t slots = kFirstSlots;
    while (count * 2 > slots) slots *= 2;
    if (slots > slots_.size()) Rehash(slots);
  }

  void Clear() {
    slots_.clear();
    used_ = 0;
  }
  bool Empty() const { return used_ == 0; }
  size_t Size() const { return used_; }

 private:
  static constexpr size_t kFirstSlots = 16;
  struct Slot {
    uint32_t position = kNone;
    uint32_t hash = 0;
  };

  void Rehash(size_t slotCount) {
    std::vector<Slot> old(slotCount);
    old.swap(slots_);
    const size_t mask = slotCount - 1;
    for (const Slot& s : old) {
      if (s.position == kNone) continue;
      size_t slot = s.hash & mask;
      while (slots_[slot].position != kNone) slot = (slot + 1) & mask;
      slots_[slot] = s;
    }
  }

  std::vector<Slot> slots_;  // size a power of two
  size_t used_ = 0;
};
