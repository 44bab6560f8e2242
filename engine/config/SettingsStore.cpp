#include "engine/config/SettingsStore.h"

#include <cstring>

#include "base/StringUtil.h"

uint32_t SettingsStore::FindGroup(std::string_view key) const {
  const std::string_view name = GroupName(key);
  return groupIndex_.Find(str::HashBytes(name), [&](uint32_t g) { return groups_[g].name == name; });
}

void SettingsStore::Set(std::string_view key, std::string_view value) {
  uint32_t g = lastGroup_;
  if (g == PositionIndex::kNone || !InGroup(key, groups_[g].name)) {
    const std::string_view name = GroupName(key);
    const auto newGroup = static_cast<uint32_t>(groups_.size());
    g = groupIndex_.FindOrInsert(str::HashBytes(name), newGroup,
                                 [&](uint32_t i) { return groups_[i].name == name; });
    if (g == PositionIndex::kNone) {
      // Sections of a file mostly hold alike numbers of settings: room for
      // as many as the last group has saves growing the index step by step.
      const size_t likely = lastGroup_ == PositionIndex::kNone ? 0 : groups_[lastGroup_].index.Size();
      groups_.push_back(Group{arena_.Keep(name), PositionIndex()});
      groups_.back().index.Reserve(likely);
      g = newGroup;
    }
    lastGroup_ = g;
  }
  const uint32_t at = groups_[g].index.FindOrInsert(str::HashBytes(key), static_cast<uint32_t>(entries_.size()),
                                                    [&](uint32_t i) { return entries_[i].first == key; });
  if (at == PositionIndex::kNone) {
    entries_.emplace_back(arena_.Keep(key), arena_.Keep(value));
    room_.push_back(value.size());
    return;
  }
  std::string_view& stored = entries_[at].second;
  if (value.size() <= room_[at] && room_[at] > 0) {
    // A value that fits where the first one stood is written there (the
    // arena's bytes are the store's own), so setting a value again and again
    // does not make the store grow. memmove: `value` may be part of `stored`.
    char* bytes = const_cast<char*>(stored.data());
    std::memmove(bytes, value.data(), value.size());
    stored = std::string_view(bytes, value.size());
    return;
  }
  stored = arena_.Keep(value);
  room_[at] = value.size();
}

const std::string_view* SettingsStore::Find(std::string_view key) const {
  const uint32_t g = FindGroup(key);
  if (g == PositionIndex::kNone) return nullptr;
  const uint32_t at =
      groups_[g].index.Find(str::HashBytes(key), [&](uint32_t i) { return entries_[i].first == key; });
  return at == PositionIndex::kNone ? nullptr : &entries_[at].second;
}

void SettingsStore::Reserve(size_t count) {
  entries_.reserve(count);
  room_.reserve(count);
}

void SettingsStore::Clear() {
  entries_.clear();
  room_.clear();
  groups_.clear();
  groupIndex_.Clear();
  lastGroup_ = PositionIndex::kNone;
  arena_.Clear();
}
