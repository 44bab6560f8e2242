#include "engine/config/SettingsStore.h"

#include <cstring>
#include <string>

#include "base/StringUtil.h"

uint32_t SettingsStore::FindGroup(std::string_view key) const {
  const std::string_view name = GroupName(key);
  return groupIndex_.Find(str::HashBytes(name), [&](uint32_t g) { return str::SameBytes(groups_[g].name, name); });
}

uint32_t SettingsStore::OpenGroup(std::string_view name) {
  const auto newGroup = static_cast<uint32_t>(groups_.size());
  uint32_t g = groupIndex_.FindOrInsert(str::HashBytes(name), newGroup,
                                        [&](uint32_t i) { return str::SameBytes(groups_[i].name, name); });
  if (g == PositionIndex::kNone) {
    // Sections of a file mostly hold alike numbers of settings: room for
    // as many as the last group has saves growing the index step by step.
    const size_t likely = lastGroup_ == PositionIndex::kNone ? 0 : groups_[lastGroup_].index.Size();
    groups_.push_back(Group{arena_.Keep(name), PositionIndex()});
    groups_.back().index.Reserve(likely);
    g = newGroup;
  }
  lastGroup_ = g;
  return g;
}

// Defined inline: every new setting runs it, and Set and SetNoCase are its
// only callers.
inline char* SettingsStore::AddEntry(size_t keySize, std::string_view value) {
  // Key and value side by side, one piece of the arena; the caller writes
  // the key.
  char* bytes = static_cast<char*>(arena_.Allocate(keySize + value.size(), 1));
  if (!value.empty()) std::memcpy(bytes + keySize, value.data(), value.size());
  entries_.emplace_back(keySize == 0 ? std::string_view() : std::string_view(bytes, keySize),
                        value.empty() ? std::string_view() : std::string_view(bytes + keySize, value.size()));
  room_.push_back(value.size());
  return bytes;
}

void SettingsStore::Replace(uint32_t at, std::string_view value) {
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

void SettingsStore::Set(std::string_view key, std::string_view value) {
  uint32_t g = lastGroup_;
  if (g == PositionIndex::kNone || !InGroup(key, groups_[g].name)) g = OpenGroup(GroupName(key));
  const uint32_t at = groups_[g].index.FindOrInsert(
      str::HashBytes(key.substr(NameStart(key, groups_[g].name))), static_cast<uint32_t>(entries_.size()),
      [&](uint32_t i) { return str::SameBytes(entries_[i].first, key); });
  if (at != PositionIndex::kNone) {
    Replace(at, value);
    return;
  }
  char* bytes = AddEntry(key.size(), value);
  if (!key.empty()) std::memcpy(bytes, key.data(), key.size());
}

void SettingsStore::SetNoCase(std::string_view section, std::string_view name, std::string_view value) {
  // Settings come section by section, the section spelled the same way each
  // time: that spelling, kept as given, names the group without folding.
  uint32_t g = spelledGroup_;
  if (g != PositionIndex::kNone && str::SameBytes(section, spelledSection_)) {
    lastGroup_ = g;
  } else {
    if (section.find('|') != std::string_view::npos) {
      // The group is what stands before the first "|", inside the section
      // here: the key is built whole and stored the general way.
      std::string key;
      key.reserve(section.size() + 1 + name.size());
      key.append(section).append(1, '|').append(name);
      str::ToLowerInPlace(key);
      Set(key, value);
      return;
    }
    std::string folded(section);
    str::ToLowerInPlace(folded);
    g = OpenGroup(folded);
    spelledSection_.assign(section);
    spelledGroup_ = g;
  }
  // The group's name is the section folded, and HashNoCase(name) is
  // HashBytes of the name folded: what Set files the same key under. Keys
  // Set stored as given may hold capitals: the comparison is exact.
  const std::string_view group = groups_[g].name;
  const size_t prefix = group.size() + 1;
  const size_t keySize = prefix + name.size();
  const uint32_t at = groups_[g].index.FindOrInsert(
      str::HashNoCase(name), static_cast<uint32_t>(entries_.size()), [&](uint32_t i) {
        const std::string_view key = entries_[i].first;
        return key.size() == keySize && str::EqualsLowered(key.substr(prefix), name);
      });
  if (at != PositionIndex::kNone) {
    Replace(at, value);
    return;
  }
  char* bytes = AddEntry(keySize, value);
  // The group's name is folded already: CopyLower copies it as it stands,
  // in line, where a library call would cost more than these few bytes.
  str::CopyLower(bytes, group);
  bytes[group.size()] = '|';
  str::CopyLower(bytes + prefix, name);
}

const std::string_view* SettingsStore::Find(std::string_view key) const {
  const uint32_t g = FindGroup(key);
  if (g == PositionIndex::kNone) return nullptr;
  const uint32_t at = groups_[g].index.Find(str::HashBytes(key.substr(NameStart(key, groups_[g].name))),
                                            [&](uint32_t i) { return str::SameBytes(entries_[i].first, key); });
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
  spelledGroup_ = PositionIndex::kNone;
  arena_.Clear();
}
