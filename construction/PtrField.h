#pragma once
// A cell-indexed map of pointers in which one object covering many cells is
// stored once: every cell maps to a pool slot, every slot counts the cells
// that use it. The field owns the pooled objects: resizing, clearing and
// destruction delete them; removing a cell's last reference only empties the
// slot (its owner decides what happens to the object).
#include <cstdint>
#include <algorithm>
#include <deque>
#include <unordered_map>
#include <vector>

template <class T>
class JPtrfield {
 public:
  static constexpr uint32_t kNoSlot = 0xFFFFFFFFu;

  JPtrfield() = default;
  virtual ~JPtrfield() { DeleteAll(); }
  JPtrfield(const JPtrfield&) = delete;
  JPtrfield& operator=(const JPtrfield&) = delete;

  // Drops every entry, deletes every pooled object and makes room for
  // `cells` cells (a pool of 16 slots when asked for none).
  virtual void Resize(uint32_t cells) {
    DeleteAll();
    slotOfCell_.assign(cells, kNoSlot);
    pool_.assign(cells ? cells : 16, nullptr);
    counts_.assign(pool_.size(), 0);
  }
  virtual void Clear() { Resize(static_cast<uint32_t>(slotOfCell_.size())); }

  // Maps the cell to the object's slot (a cell already mapped lets go of its
  // object first). Cells beyond the field and null objects are ignored.
  virtual void Set(uint32_t cell, T* object) {
    if (cell >= slotOfCell_.size() || !object) return;
    if (slotOfCell_[cell] != kNoSlot) Remove(cell);
    slotOfCell_[cell] = Intern(object);
  }
  // Drops the cell's reference; a slot no cell uses any more is emptied and
  // goes to the back of the free list.
  virtual void Remove(uint32_t cell) {
    if (cell >= slotOfCell_.size() || slotOfCell_[cell] == kNoSlot) return;
    const uint32_t slot = slotOfCell_[cell];
    slotOfCell_[cell] = kNoSlot;
    if (--counts_[slot] == 0) {
      slotOf_.erase(pool_[slot]);
      pool_[slot] = nullptr;
      free_.push_back(slot);
    }
  }
  virtual T* Get(uint32_t cell) const {
    if (cell >= slotOfCell_.size() || slotOfCell_[cell] == kNoSlot) return nullptr;
    return pool_[slotOfCell_[cell]];
  }
  virtual bool Has(uint32_t cell) const { return cell < slotOfCell_.size() && slotOfCell_[cell] != kNoSlot; }
  // The pool and the number of slots ever used (emptied ones hold null).
  virtual T* const* GetAll(uint32_t* count) const {
    *count = used_;
    return pool_.data();
  }
  // The object's slot with its count raised by one; a new object takes the
  // oldest free slot, else the next unused one (the pool doubles when full).
  virtual uint32_t Intern(T* object) {
    auto found = slotOf_.find(object);
    if (found != slotOf_.end()) {
      ++counts_[found->second];
      return found->second;
    }
    uint32_t slot;
    if (!free_.empty()) {
      slot = free_.front();
      free_.pop_front();
    } else {
      if (used_ == pool_.size()) Grow();
      slot = used_++;
    }
    pool_[slot] = object;
    counts_[slot] = 1;
    slotOf_[object] = slot;
    return slot;
  }
  virtual void Grow() {
    const size_t size = pool_.empty() ? 16 : pool_.size() * 2;
    pool_.resize(size, nullptr);
    counts_.resize(size, 0);
  }
  // Deletes every pooled object and forgets every cell.
  virtual void DeleteAll() {
    for (uint32_t i = 0; i < used_; ++i) delete pool_[i];
    std::fill(pool_.begin(), pool_.end(), nullptr);
    std::fill(counts_.begin(), counts_.end(), 0);
    std::fill(slotOfCell_.begin(), slotOfCell_.end(), kNoSlot);
    slotOf_.clear();
    free_.clear();
    used_ = 0;
  }

  uint32_t CellCount() const { return static_cast<uint32_t>(slotOfCell_.size()); }

 private:
  std::vector<uint32_t> slotOfCell_;
  std::vector<T*> pool_;
  std::vector<uint32_t> counts_;
  std::unordered_map<T*, uint32_t> slotOf_;
  std::deque<uint32_t> free_;
  uint32_t used_ = 0;
};
