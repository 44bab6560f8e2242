#include "engine/config/SettingsStore.h"

#include <functional>

namespace {
constexpr size_t kFirstSlots = 64;
uint32_t HashOf(std::string_view key) { return static_cast<uint32_t>(std::hash<std::string_view>{}(key)); }
}  // namespace

size_t SettingsStore::SlotOf(std::string_view key, uint32_t hash) const {
  const size_t mask = slots_.size() - 1;
  for (size_t slot = hash & mask;; slot = (slot + 1) & mask) {
    const Slot& s = slots_[slot];
    if (s.entry == kEmpty || (s.hash == hash && entries_[s.entry].first == key)) return slot;
  }
}

void SettingsStore::Rehash(size_t slotCount) {
  std::vector<Slot> old(slotCount);
  old.swap(slots_);
  const size_t mask = slotCount - 1;
  for (const Slot& s : old) {
    if (s.entry == kEmpty) continue;
    size_t slot = s.hash & mask;
    while (slots_[slot].entry != kEmpty) slot = (slot + 1) & mask;
    slots_[slot] = s;
  }
}

void SettingsStore::Set(std::string key, std::string value) {
  // At most half the slots are in use, so probes stay short.
  if ((entries_.size() + 1) * 2 > slots_.size()) Rehash(slots_.empty() ? kFirstSlots : slots_.size() * 2);
  const uint32_t hash = HashOf(key);
  const size_t slot = SlotOf(key, hash);
  if (slots_[slot].entry != kEmpty) {
    entries_[slots_[slot].entry].second = std::move(value);
    return;
  }
  slots_[slot] = Slot{static_cast<uint32_t>(entries_.size()), hash};
  entries_.emplace_back(std::move(key), std::move(value));
}

const std::string* SettingsStore::Find(std::string_view key) const {
  if (slots_.empty()) return nullptr;
  const Slot& s = slots_[SlotOf(key, HashOf(key))];
  return s.entry == kEmpty ? nullptr : &entries_[s.entry].second;
}

void SettingsStore::Clear() {
  entries_.clear();
  slots_.clear();
}
