#pragma once
// The configuration manager's store: key -> value, iterated in the order the
// keys were first stored, so that a written configuration comes out the same
// on every run and every platform. Replacing a value keeps the key's place.
//
// Each key and value is held once, in the store's arena (a few large blocks,
// not an allocation per setting); the indexes hold entry positions only.
// Keys are grouped by what stands before their first "|" (the section), each
// group with an index of its own: files hold a section's settings together,
// so storing them probes a small table that stays in the cache rather than
// one as large as the whole store.
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <utility>
#include <vector>

#include "base/PositionIndex.h"
#include "base/TextArena.h"

class SettingsStore {
 public:
  // Key and value, kept by the store: valid until Clear, and a value until
  // it is next replaced.
  using Entry = std::pair<std::string_view, std::string_view>;

  void Set(std::string_view key, std::string_view value);
  // The value stored under exactly this key, or null.
  const std::string_view* Find(std::string_view key) const;
  void Clear();
  // Room for `count` entries in all, so a large file is stored without
  // growing the store step by step.
  void Reserve(size_t count);

  size_t Size() const { return entries_.size(); }
  bool Empty() const { return entries_.empty(); }
  // Entries in first-insertion order.
  const std::vector<Entry>& Entries() const { return entries_; }

 private:
  struct Group {
    std::string_view name;  // in the arena
    PositionIndex index;    // of entries, by HashBytes of the whole key
  };
  static std::string_view GroupName(std::string_view key) { return key.substr(0, key.find('|')); }
  // GroupName(key) == name, found without looking for the "|": most keys
  // belong to the group stored into last (a group's name never holds one).
  static bool InGroup(std::string_view key, std::string_view name) {
    return key.size() >= name.size() && (key.size() == name.size() || key[name.size()] == '|') &&
           key.substr(0, name.size()) == name;
  }
  // The group of `key`, or PositionIndex::kNone.
  uint32_t FindGroup(std::string_view key) const;

  std::vector<Entry> entries_;
  // How many bytes each entry's value has room for where it stands.
  std::vector<size_t> room_;
  std::vector<Group> groups_;
  PositionIndex groupIndex_;
  uint32_t lastGroup_ = PositionIndex::kNone;  // the group stored into last
  TextArena arena_;
};
