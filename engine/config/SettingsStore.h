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
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/PositionIndex.h"
#include "base/StringUtil.h"
#include "base/TextArena.h"

class SettingsStore {
 public:
  // Key and value, kept by the store: valid until Clear, and a value until
  // it is next replaced.
  using Entry = std::pair<std::string_view, std::string_view>;

  void Set(std::string_view key, std::string_view value);
  // The same as Set(ToLower(section + "|" + name), value), without the key
  // built first: the section's group is found from the section as given and
  // the key is written lower-cased straight into the store. For callers
  // that keep section and name apart and fold keys (the configuration
  // manager).
  void SetNoCase(std::string_view section, std::string_view name, std::string_view value);
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
    PositionIndex index;    // of entries, by HashBytes of their names (NameStart on)
  };
  static std::string_view GroupName(std::string_view key) { return key.substr(0, key.find('|')); }
  // GroupName(key) == name, found without looking for the "|": most keys
  // belong to the group stored into last (a group's name never holds one).
  static bool InGroup(std::string_view key, std::string_view name) {
    return key.size() >= name.size() && (key.size() == name.size() || key[name.size()] == '|') &&
           str::SameBytes(key.substr(0, name.size()), name);
  }
  // Where the name of a key of group `name` begins: past the section and
  // its "|" (at the end when there is no "|"). Every key of a group begins
  // alike, so the group's index hashes the name alone (a key without "|"
  // and one ending in it hash alike, and are told apart by comparing).
  static size_t NameStart(std::string_view key, std::string_view name) {
    return key.size() > name.size() ? name.size() + 1 : name.size();
  }
  // The group of `key`, or PositionIndex::kNone.
  uint32_t FindGroup(std::string_view key) const;
  // The group named `name`, made when there is none; it becomes the last
  // group.
  uint32_t OpenGroup(std::string_view name);
  // Appends an entry with room for a key of `keySize` bytes, which the
  // caller writes at the answer, and a copy of `value`.
  char* AddEntry(size_t keySize, std::string_view value);
  // Gives the entry at `at` a new value.
  void Replace(uint32_t at, std::string_view value);

  std::vector<Entry> entries_;
  // How many bytes each entry's value has room for where it stands.
  std::vector<size_t> room_;
  std::vector<Group> groups_;
  PositionIndex groupIndex_;
  uint32_t lastGroup_ = PositionIndex::kNone;  // the group stored into last
  // The section SetNoCase was last given, as given, and its group.
  std::string spelledSection_;
  uint32_t spelledGroup_ = PositionIndex::kNone;
  TextArena arena_;
};
