#include "engine/config/SettingsStore.h"

#include "base/StringUtil.h"

uint32_t SettingsStore::PositionOf(std::string_view key, uint32_t hash) const {
  return index_.Find(hash, [&](uint32_t i) { return entries_[i].first == key; });
}

void SettingsStore::Set(std::string key, std::string value) {
  const uint32_t at = index_.FindOrInsert(str::HashBytes(key), static_cast<uint32_t>(entries_.size()),
                                          [&](uint32_t i) { return entries_[i].first == key; });
  if (at != PositionIndex::kNone) {
    entries_[at].second = std::move(value);
    return;
  }
  entries_.emplace_back(std::move(key), std::move(value));
}

const std::string* SettingsStore::Find(std::string_view key) const {
  const uint32_t at = PositionOf(key, str::HashBytes(key));
  return at == PositionIndex::kNone ? nullptr : &entries_[at].second;
}

void SettingsStore::Reserve(size_t count) {
  entries_.reserve(count);
  index_.Reserve(count);
}

void SettingsStore::Clear() {
  entries_.clear();
  index_.Clear();
}
