#pragma once
// The configuration manager's store: key -> value, iterated in the order the
// keys were first stored, so that a written configuration comes out the same
// on every run and every platform. Replacing a value keeps the key's place.
//
// Each key is held once, in its entry; the index holds entry positions only.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/PositionIndex.h"

class SettingsStore {
 public:
  using Entry = std::pair<std::string, std::string>;  // key, value

  void Set(std::string key, std::string value);
  // The value stored under exactly this key, or null.
  const std::string* Find(std::string_view key) const;
  void Clear();
  // Room for `count` entries in all, so a large file is stored without
  // growing the store step by step.
  void Reserve(size_t count);

  size_t Size() const { return entries_.size(); }
  bool Empty() const { return entries_.empty(); }
  // Entries in first-insertion order.
  const std::vector<Entry>& Entries() const { return entries_; }

 private:
  uint32_t PositionOf(std::string_view key, uint32_t hash) const;

  std::vector<Entry> entries_;
  PositionIndex index_;
};
