#include "engine/config/SettingsStore.h"

void SettingsStore::Set(const std::string& key, std::string value) {
  const auto [it, inserted] = index_.try_emplace(key, entries_.size());
  if (inserted) {
    entries_.emplace_back(key, std::move(value));
  } else {
    entries_[it->second].second = std::move(value);
  }
}

const std::string* SettingsStore::Find(const std::string& key) const {
  const auto it = index_.find(key);
  return it == index_.end() ? nullptr : &entries_[it->second].second;
}

void SettingsStore::Clear() {
  entries_.clear();
  index_.clear();
}
