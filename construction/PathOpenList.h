#pragma once
// The search's open list, ordered by (f ascending, insertion descending):
// popping it gives exactly the order of an array kept sorted by f where each
// new entry goes before the first entry of equal or greater f, that is the
// smallest f first and, among equal f, the entry inserted last.
//
// Costs are small whole numbers, so the list is a bucket queue: one stack of
// entries per f value (a list threaded through one pool, newest first), and
// a cursor on the lowest bucket that may hold entries. Push and pop take
// constant time; a search's f values rarely fall, and when one does the
// cursor moves back to it.
#include <algorithm>
#include <cstdint>
#include <vector>

class cPathNode;

class PathOpenList {
 public:
  bool Empty() const { return size_ == 0; }
  size_t Size() const { return size_; }

  void Push(cPathNode* node, uint32_t f) {
    if (!started_) {
      base_ = f;
      started_ = true;
    } else if (f < base_) {
      // Buckets are kept from base_ up; a lower f shifts them.
      const uint32_t shift = base_ - f;
      heads_.insert(heads_.begin(), shift, kNone);
      used_ += shift;
      lowest_ += shift;
      base_ = f;
    }
    const size_t bucket = f - base_;
    if (bucket >= heads_.size()) heads_.resize(bucket + 1, kNone);
    used_ = std::max(used_, bucket + 1);
    entries_.push_back({node, heads_[bucket]});
    heads_[bucket] = static_cast<uint32_t>(entries_.size() - 1);
    lowest_ = std::min(lowest_, bucket);
    ++size_;
  }
  cPathNode* Pop() {
    while (heads_[lowest_] == kNone) ++lowest_;
    const Entry& entry = entries_[heads_[lowest_]];
    heads_[lowest_] = entry.next;
    --size_;
    return entry.node;
  }
  // Empties the list; the storage is kept for the next search.
  void Clear() {
    std::fill(heads_.begin(), heads_.begin() + static_cast<std::ptrdiff_t>(used_), kNone);
    entries_.clear();
    used_ = 0;
    lowest_ = 0;
    size_ = 0;
    started_ = false;
  }

 private:
  static constexpr uint32_t kNone = UINT32_MAX;
  struct Entry {
    cPathNode* node;
    uint32_t next;  // the entry pushed before it onto the same bucket
  };

  std::vector<uint32_t> heads_;  // newest entry of each bucket, f = base_ + index
  std::vector<Entry> entries_;
  size_t used_ = 0;    // buckets that may hold entries since the last Clear
  size_t lowest_ = 0;  // no bucket below it holds an entry
  size_t size_ = 0;
  uint32_t base_ = 0;
  bool started_ = false;
};
