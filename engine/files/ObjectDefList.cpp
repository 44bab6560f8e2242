#include "engine/files/ObjectDefList.h"

#include <algorithm>
#include <unordered_set>
#include <utility>

#include "engine/files/ObjectDef.h"
#include "engine/files/ObjectDefArchive.h"
#include "base/StringUtil.h"
#include "platform/DebugOutput.h"

namespace {

// Inheritance copies whole subtrees, and copies of copies can grow a tree
// exponentially; one resolving pass may copy at most this many objects, and
// no tree may grow deeper than kMaxTreeDepth.
constexpr size_t kMaxInheritedObjects = 100000;
constexpr int kMaxTreeDepth = 1024;

// Lists this short are scanned: most hold a handful of settings, and a hash
// table each would cost more than it saves.
constexpr size_t kIndexFrom = 16;

struct ResolveBudget {
  size_t copied = 0;
  // Every name in the root list's trees, lower-cased. Copies made while
  // resolving only repeat names already there, so a base named nothing in
  // this set is known missing without searching the trees.
  std::unordered_set<std::string> names;
};

void CollectNames(const ObjectDefList& list, std::unordered_set<std::string>* names) {
  std::vector<const ObjectDefList*> pending{&list};
  while (!pending.empty()) {
    const ObjectDefList* current = pending.back();
    pending.pop_back();
    for (const ObjectDef* def : *current) {
      names->insert(str::ToLower(def->name));
      pending.push_back(&def->children);
    }
  }
}

// Number of objects in `root`'s subtree (itself included) and its height,
// counting no further than `cap`.
size_t SubtreeSize(const ObjectDef* root, size_t cap, int* height) {
  std::vector<std::pair<const ObjectDef*, int>> pending{{root, 1}};
  size_t count = 0;
  *height = 0;
  while (!pending.empty() && count <= cap) {
    auto [node, depth] = pending.back();
    pending.pop_back();
    ++count;
    *height = std::max(*height, depth);
    for (const ObjectDef* child : node->children)
      if (child) pending.emplace_back(child, depth + 1);
  }
  return count;
}

int DepthOf(const ObjectDef* def) {
  int depth = 0;
  for (const ObjectDef* p = def; p && depth <= kMaxTreeDepth; p = p->parent) ++depth;
  return depth;
}

// True when linking `def` to `candidate` would close a loop of bases.
bool MakesBaseLoop(const ObjectDef* def, const ObjectDef* candidate) {
  std::unordered_set<const ObjectDef*> seen;
  for (const ObjectDef* p = candidate; p && seen.insert(p).second; p = p->base)
    if (p == def) return true;
  return false;
}

bool MayInherit(ObjectDef* def, ObjectDef* candidate, ResolveBudget& budget) {
  if (MakesBaseLoop(def, candidate)) {
    platform::DebugPrintf("[ObjectDefList::ResolveBases] '%s' cannot inherit from '%s': the bases form a loop\n",
                          def->name.c_str(), candidate->name.c_str());
    return false;
  }
  int height = 0;
  const size_t size = SubtreeSize(candidate, kMaxInheritedObjects, &height);
  if (budget.copied + size > kMaxInheritedObjects || DepthOf(def) + height > kMaxTreeDepth) {
    platform::DebugPrintf("[ObjectDefList::ResolveBases] '%s' not inherited from '%s': the copy would be too large\n",
                          def->name.c_str(), candidate->name.c_str());
    return false;
  }
  budget.copied += size;
  return true;
}

void ResolveWithin(ObjectDefList& list, ObjectDefList& rootList, ResolveBudget& budget) {
  for (size_t i = 0; i < list.size(); ++i) {
    ObjectDef* def = list[i];
    if (!def) continue;
    ResolveWithin(def->children, rootList, budget);
    if (def->baseName.empty() || def->base) continue;
    // A base that is not found leaves the object as it is.
    if (!budget.names.count(str::ToLower(def->baseName))) continue;
    ObjectDef* found = rootList.FindDeep(def->baseName);
    if (found && MayInherit(def, found, budget)) def->InheritFrom(found);
  }
}

}  // namespace

ObjectDefList::~ObjectDefList() { DeleteAll(); }

void ObjectDefList::DeleteAll() {
  // Detach first, then delete from the head, so nothing reachable from this
  // list is ever a destroyed element.
  std::vector<ObjectDef*> doomed;
  doomed.swap(items_);
  DropIndex();
  for (ObjectDef* def : doomed) delete def;
}

CoreStatus ObjectDefList::Serialize(ObjectDefArchive& archive) {
  if (archive.IsStoring()) {
    uint32_t count = 0;
    for (const ObjectDef* def : items_) count += def ? 1 : 0;
    archive.WriteUInt32(count);
    for (ObjectDef* def : items_)
      if (def && status::Failed(def->Serialize(archive))) return status::Fail;
    return status::Ok;
  }
  uint32_t count = 0;
  if (!archive.ReadUInt32(&count)) return status::Fail;
  // Each element takes at least five bytes (three empty strings and a count).
  if (count > archive.BytesLeft() / 5) {
    archive.Fail();
    return status::Fail;
  }
  std::vector<ObjectDef*> loaded;
  loaded.reserve(count);
  for (uint32_t i = 0; i < count; ++i) {
    auto* def = new ObjectDef();
    loaded.push_back(def);
    if (status::Failed(def->Serialize(archive))) {
      for (ObjectDef* p : loaded) delete p;
      return status::Fail;
    }
  }
  DeleteAll();
  items_ = std::move(loaded);
  DropIndex();
  return status::Ok;
}

void ObjectDefList::Merge(const ObjectDefList& other, bool markInherited) {
  if (&other == this) return;
  const size_t count = other.size();
  for (size_t i = 0; i < count; ++i) {
    const ObjectDef* def = other[i];
    if (!def) continue;
    if (ObjectDef* mine = FindObject(def->name)) {
      std::string keptBase = mine->baseName;
      mine->Merge(def, markInherited);
      mine->baseName = std::move(keptBase);
    } else {
      Append(new ObjectDef(*def, markInherited));
    }
  }
}

void ObjectDefList::ResolveAll(ObjectDefList& rootList) {
  for (size_t i = 0; i < items_.size(); ++i)
    if (items_[i]) items_[i]->ResolveBase(rootList);
}

template <typename Accept>
ObjectDef* ObjectDefList::Find(std::string_view name, Accept accept) const {
  if (items_.size() < kIndexFrom) {
    for (ObjectDef* def : items_)
      if (accept(def) && str::EqualsNoCase(def->name, name)) return def;
    return nullptr;
  }
  if (!index_) const_cast<ObjectDefList*>(this)->Reindex();
  const auto it = index_->find(str::ToLower(name));
  if (it == index_->end()) return nullptr;
  for (ObjectDef* def : it->second) {
    // An element renamed in place since it was filed no longer belongs here:
    // file everything again and look once more.
    if (!str::EqualsNoCase(def->name, name)) {
      const_cast<ObjectDefList*>(this)->Reindex();
      return Find(name, accept);
    }
    if (accept(def)) return def;
  }
  return nullptr;
}

ObjectDef* ObjectDefList::FindObject(std::string_view name) const {
  return Find(name, [](const ObjectDef*) { return true; });
}

ObjectDef* ObjectDefList::FindChildObject(std::string_view name) const {
  return Find(name, [](const ObjectDef* def) { return !def->isValue; });
}

ObjectDef* ObjectDefList::FindValueEntry(std::string_view name) const {
  return Find(name, [](const ObjectDef* def) { return def->isValue != 0; });
}

void ObjectDefList::IndexElement(ObjectDef* def) { (*index_)[str::ToLower(def->name)].push_back(def); }

void ObjectDefList::Reindex() {
  if (items_.size() < kIndexFrom) {
    DropIndex();
    return;
  }
  index_ = std::make_unique<Index>();
  index_->reserve(items_.size());
  for (ObjectDef* def : items_) IndexElement(def);
}

ObjectDef* ObjectDefList::FindDeep(std::string_view name) const {
  for (const ObjectDef* def : items_) {
    if (!def) continue;
    ObjectDef* hit = def->children.FindObject(name);
    if (!hit) continue;
    if (!hit->isValue) return hit;
    if (hit->parent) return hit->parent;
  }
  for (const ObjectDef* def : items_) {
    if (!def) continue;
    if (ObjectDef* hit = def->children.FindDeep(name)) return hit;
  }
  return nullptr;
}

void ObjectDefList::ResolveBases(ObjectDefList& rootList) {
  ResolveBudget budget;
  CollectNames(rootList, &budget.names);
  ResolveWithin(*this, rootList, budget);
}

std::string ObjectDefList::ToText(bool marked) const {
  std::string out;
  for (const ObjectDef* def : items_)
    if (def) out += def->ToText(0, marked);
  return out;
}

void ObjectDefList::Append(ObjectDef* def) {
  if (!def) return;
  items_.push_back(def);
  if (index_) IndexElement(def);
}

bool ObjectDefList::Detach(ObjectDef* def) {
  const auto it = std::find(items_.begin(), items_.end(), def);
  if (it == items_.end()) return false;
  items_.erase(it);
  if (index_) {
    const auto remove = [this, def](Index::iterator entry) {
      auto& bucket = entry->second;
      const auto at = std::find(bucket.begin(), bucket.end(), def);
      if (at == bucket.end()) return false;
      bucket.erase(at);
      if (bucket.empty()) index_->erase(entry);
      return true;
    };
    // Filed under its name, unless it was renamed since: then search all.
    const auto named = index_->find(str::ToLower(def->name));
    if (named == index_->end() || !remove(named)) {
      for (auto entry = index_->begin(); entry != index_->end(); ++entry)
        if (remove(entry)) break;
    }
  }
  return true;
}
