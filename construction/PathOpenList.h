#pragma once
// The search's open list: a binary min-heap keyed by (f ascending, insertion
// descending). Popping it gives exactly the order of an array kept sorted by
// f where each new entry goes before the first entry of equal or greater f:
// the smallest f first and, among equal f, the entry inserted last.
#include <algorithm>
#include <cstdint>
#include <vector>

class cPathNode;

class PathOpenList {
 public:
  bool Empty() const { return heap_.empty(); }
  size_t Size() const { return heap_.size(); }

  void Push(cPathNode* node, uint32_t f) {
    // The low word falls with every insertion, so a later entry sorts first.
    const uint64_t key = (static_cast<uint64_t>(f) << 32) | static_cast<uint32_t>(~inserted_++);
    heap_.push_back({key, node});
    std::push_heap(heap_.begin(), heap_.end(), Later);
  }
  cPathNode* Pop() {
    std::pop_heap(heap_.begin(), heap_.end(), Later);
    cPathNode* node = heap_.back().node;
    heap_.pop_back();
    return node;
  }
  // Empties the list and restarts the insertion count; the storage is kept
  // for the next search.
  void Clear() {
    heap_.clear();
    inserted_ = 0;
  }

 private:
  struct Entry {
    uint64_t key;
    cPathNode* node;
  };
  static bool Later(const Entry& a, const Entry& b) { return a.key > b.key; }

  std::vector<Entry> heap_;
  uint32_t inserted_ = 0;
};
