#pragma once
// The configuration manager's store: key -> value, iterated in the order the
// keys were first stored, so that a written configuration comes out the same
// on every run and every platform. Replacing a value keeps the key's place.
#include <cstddef>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

class SettingsStore {
 public:
  using Entry = std::pair<std::string, std::string>;  // key, value

  SettingsStore() { index_.reserve(53); }

  void Set(const std::string& key, std::string value);
  // The value stored under exactly this key, or null.
  const std::string* Find(const std::string& key) const;
  void Clear();

  size_t Size() const { return entries_.size(); }
  bool Empty() const { return entries_.empty(); }
  // Entries in first-insertion order.
  const std::vector<Entry>& Entries() const { return entries_; }

 private:
  std::vector<Entry> entries_;
  std::unordered_map<std::string, size_t> index_;
};
