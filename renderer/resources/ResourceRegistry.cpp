#include "renderer/resources/ResourceRegistry.h"

#include "engine/services/C3DResource.h"

ResourceRegistry::ResourceRegistry() : entries_(kInitialCapacity, nullptr) { pending_.reserve(kInitialCapacity); }

ResourceRegistry::~ResourceRegistry() { Destroy(); }

void ResourceRegistry::Compact() {
  uint32_t next = 0;
  for (C3DResource* entry : entries_) {
    if (!entry) continue;
    entry->SetRegistryIndex(static_cast<int32_t>(next));
    entries_[next++] = entry;
  }
  for (size_t i = next; i < entries_.size(); ++i) entries_[i] = nullptr;
  used_ = next;
}

uint32_t ResourceRegistry::Add(C3DResource* resource) {
  if (!resource) return used_;
  if (used_ >= entries_.size()) {
    Compact();
    if (used_ == entries_.size()) entries_.resize(entries_.size() * 2, nullptr);
  }
  entries_[used_] = resource;
  resource->SetRegistryIndex(static_cast<int32_t>(used_));
  return ++used_;
}

void ResourceRegistry::Remove(uint32_t index) {
  if (index >= used_) return;
  C3DResource* entry = entries_[index];
  if (!entry || entry->GetRefCount() != 0) return;
  pending_.push_back(entry);
  entries_[index] = nullptr;
}

C3DResource* ResourceRegistry::Get(uint32_t index) const { return index < used_ ? entries_[index] : nullptr; }

C3DResource* ResourceRegistry::Find(uint32_t flags, uint16_t hash, const std::string& name) const {
  for (uint32_t i = 0; i < used_; ++i) {
    C3DResource* entry = entries_[i];
    if (entry && entry->GetFlags() == flags && entry->GetNameHash() == hash && entry->Name() == name) return entry;
  }
  return nullptr;
}

void ResourceRegistry::FlushPending() {
  // A destructor may release further resources of this family (a shader its
  // images are another family; a font its shader), which then join the list:
  // take the list first so those wait for the next flush.
  std::vector<C3DResource*> doomed;
  doomed.swap(pending_);
  for (C3DResource* resource : doomed) delete resource;
}

void ResourceRegistry::Destroy() {
  for (uint32_t i = 0; i < used_; ++i) {
    C3DResource* entry = entries_[i];
    entries_[i] = nullptr;
    delete entry;
  }
  used_ = 0;
  FlushPending();
  FlushPending();
}
