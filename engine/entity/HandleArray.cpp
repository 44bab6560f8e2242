#include "engine/entity/HandleArray.h"

#include <algorithm>

#include "engine/entity/HandleBase.h"

namespace {
constexpr int32_t kMinCapacity = 32;
}

HandleArray::~HandleArray() { Clear(); }

void HandleArray::Init(int32_t capacity, int32_t listCount) {
  Clear();
  capacity_ = std::max(capacity, kMinCapacity);
  items_.assign(static_cast<size_t>(capacity_), nullptr);
  count_ = 0;
  SetListCount(listCount);
}

void HandleArray::SetListCount(int32_t n) {
  lists_.clear();
  if (n < 1) return;
  lists_.resize(static_cast<size_t>(n));
  for (IndexList& list : lists_) list.entries.assign(static_cast<size_t>(capacity_), -1);
}

void HandleArray::Clear() {
  if (capacity_ >= 1) {
    for (int32_t i = 0; i < count_; ++i) {
      HandleBase* item = items_[static_cast<size_t>(i)];
      if (!item) continue;
      // Detach first, so an item's destructor never finds itself still held.
      items_[static_cast<size_t>(i)] = nullptr;
      item->handle_ = -1;
      item->owner_ = nullptr;
      delete item;
    }
    items_.clear();
    items_.shrink_to_fit();
  }
  count_ = 0;
  capacity_ = 0;
  SetListCount(0);
}

void HandleArray::Add(HandleBase* item) {
  if (!item || item->owner_) return;
  // The last slot is never filled: the add that would fill it compacts
  // first and grows when compaction frees nothing. An array that was never
  // initialised grows to its first capacity here.
  if (count_ + 1 >= capacity_) Compact();
  if (count_ + 1 >= capacity_) Grow();
  item->handle_ = count_;
  item->owner_ = this;
  items_[static_cast<size_t>(count_)] = item;
  ++count_;
}

HandleBase* HandleArray::Remove(HandleBase* item) {
  if (!item || item->owner_ != this) return item;
  const int32_t pos = item->handle_;
  if (pos >= 0 && pos < count_ && items_[static_cast<size_t>(pos)] == item) {
    items_[static_cast<size_t>(pos)] = nullptr;
  }
  item->handle_ = -1;
  item->owner_ = nullptr;
  return item;
}

void HandleArray::RemoveAndDelete(HandleBase* item) {
  Remove(item);
  if (item && !item->owner_) delete item;
}

HandleBase* HandleArray::GetAt(int32_t index) const {
  if (index < 0 || index >= count_) return nullptr;
  return items_[static_cast<size_t>(index)];
}

int32_t HandleArray::CountLive() const {
  int32_t live = 0;
  for (int32_t i = 0; i < count_; ++i) {
    if (items_[static_cast<size_t>(i)]) ++live;
  }
  return live;
}

int32_t HandleArray::Compact() {
  int32_t firstHole = 0;
  while (firstHole < count_ && items_[static_cast<size_t>(firstHole)]) ++firstHole;
  if (firstHole == count_) return count_;

  // Old position -> new position; holes map to -1.
  std::vector<int32_t> remap(static_cast<size_t>(count_), -1);
  int32_t next = 0;
  for (int32_t i = 0; i < count_; ++i) {
    HandleBase* item = items_[static_cast<size_t>(i)];
    if (!item) continue;
    remap[static_cast<size_t>(i)] = next;
    item->handle_ = next;
    ++next;
  }
  for (IndexList& list : lists_) {
    for (int32_t j = 0; j < list.length; ++j) {
      int32_t& entry = list.entries[static_cast<size_t>(j)];
      // An entry past the used positions names nothing that can move.
      if (entry >= 0) entry = entry < count_ ? remap[static_cast<size_t>(entry)] : -1;
    }
  }
  for (int32_t i = 0; i < count_; ++i) {
    const int32_t to = remap[static_cast<size_t>(i)];
    if (to >= 0 && to != i) items_[static_cast<size_t>(to)] = items_[static_cast<size_t>(i)];
  }
  for (int32_t i = next; i < count_; ++i) items_[static_cast<size_t>(i)] = nullptr;
  count_ = next;
  return count_;
}

int32_t HandleArray::Grow() {
  const int32_t newCapacity = std::max(capacity_ * 2, kMinCapacity);
  items_.resize(static_cast<size_t>(newCapacity), nullptr);
  for (IndexList& list : lists_) list.entries.resize(static_cast<size_t>(newCapacity), -1);
  capacity_ = newCapacity;
  return capacity_;
}

int32_t HandleArray::GetListLength(int32_t i) const {
  if (i < 0 || i >= GetListCount()) return 0;
  return lists_[static_cast<size_t>(i)].length;
}

int32_t* HandleArray::GetList(int32_t i) {
  if (i < 0 || i >= GetListCount()) return nullptr;
  return lists_[static_cast<size_t>(i)].entries.data();
}

void HandleArray::SetListLength(int32_t i, int32_t length) {
  if (i < 0 || i >= GetListCount()) return;
  lists_[static_cast<size_t>(i)].length = std::clamp(length, 0, capacity_);
}
