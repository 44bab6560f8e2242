#pragma once
// The configuration manager's store: key -> value, iterated in the order the
// keys were first stored, so that a written configuration comes out the same
// on every run and every platform. Replacing a value keeps the key's place.
//
// Each key is held once, in its entry; the index is an open-addressing table
// of entry positions, each with 32 bits of its key's hash so that probing
// and growing seldom have to look at the entries themselves.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class SettingsStore {
 public:
  using Entry = std::pair<std::string, std::string>;  // key, value

  void Set(std::string key, std::string value);
  // The value stored under exactly this key, or null.
  const std::string* Find(std::string_view key) const;
  void Clear();

  size_t Size() const { return entries_.size(); }
  bool Empty() const { return entries_.empty(); }
  // Entries in first-insertion order.
  const std::vector<Entry>& Entries() const { return entries_; }

 private:
  static constexpr uint32_t kEmpty = 0xFFFFFFFFu;
  struct Slot {
    uint32_t entry = kEmpty;  // position in entries_, kEmpty for none
    uint32_t hash = 0;        // low bits of the key's hash
  };

  // The slot holding the key's entry, or the empty slot where it would go.
  // The table is never full.
  size_t SlotOf(std::string_view key, uint32_t hash) const;
  void Rehash(size_t slotCount);

  std::vector<Entry> entries_;
  std::vector<Slot> slots_;  // size a power of two
};
