#pragma once
// A growable array of HandleBase pointers with stable positions. Removal
// leaves a hole; holes are squeezed out (and handles renumbered) only when an
// Add would fill the last slot. Optional index lists of item positions are
// kept consistent through compaction and growth. The array owns its items.
#include <cstddef>
#include <cstdint>
#include <vector>

class HandleBase;

class HandleArray {
 public:
  HandleArray() = default;
  // Clear: destroys every item still held.
  virtual ~HandleArray();
  HandleArray(const HandleArray&) = delete;
  HandleArray& operator=(const HandleArray&) = delete;

  // Capacity below 32 is raised to 32; listCount < 1 means no index lists.
  virtual void Init(int32_t capacity, int32_t listCount);
  // Replaces every index list by n empty ones of the current capacity.
  virtual void SetListCount(int32_t n);
  // Destroys every held item; count and capacity become 0, no lists.
  virtual void Clear();
  // Places the item at position count and makes it the item's handle.
  // Null items and items that some array already holds are ignored.
  virtual void Add(HandleBase* item);
  // Leaves a hole where the item was (count unchanged). Only items held by
  // this array are touched. Returns the item.
  virtual HandleBase* Remove(HandleBase* item);
  // Remove, then destroy the item when it was held here. An item held by
  // another array is neither removed nor destroyed.
  virtual void RemoveAndDelete(HandleBase* item);
  // The item at index (null for a hole or an index outside 0..count-1).
  virtual HandleBase* GetAt(int32_t index) const;
  // Non-null entries among the first count.
  virtual int32_t CountLive() const;
  virtual int32_t GetCapacity() const { return capacity_; }
  // Moves live items down over the holes, renumbering handles and index
  // lists. Returns the new count.
  virtual int32_t Compact();
  // Doubles the capacity (at least 32). Returns the new capacity.
  virtual int32_t Grow();
  virtual int32_t GetListCount() const { return static_cast<int32_t>(lists_.size()); }
  virtual int32_t GetListLength(int32_t i) const;
  // Index list i (capacity entries, -1 names no item); null outside the lists.
  virtual int32_t* GetList(int32_t i);
  // Sets the number of valid entries of list i (clamped to 0..capacity).
  void SetListLength(int32_t i, int32_t length);

  // Positions in use: live items plus holes.
  int32_t GetCount() const { return count_; }
  // GetAt without the call, for walks over every position: the item at
  // index, null for a hole or an index outside 0..count-1.
  HandleBase* ItemAt(int32_t index) const {
    return index >= 0 && index < count_ ? items_[static_cast<size_t>(index)] : nullptr;
  }

 private:
  struct IndexList {
    int32_t length = 0;
    std::vector<int32_t> entries;
  };

  std::vector<HandleBase*> items_;  // capacity_ entries
  int32_t count_ = 0;
  int32_t capacity_ = 0;
  std::vector<IndexList> lists_;
};
