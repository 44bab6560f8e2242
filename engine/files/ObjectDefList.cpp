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

struct ResolveBudget {
  size_t copied = 0;
};

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

ObjectDef* ObjectDefList::FindObject(std::string_view name) const {
  for (ObjectDef* def : items_)
    if (def && str::EqualsNoCase(def->name, name)) return def;
  return nullptr;
}

ObjectDef* ObjectDefList::FindChildObject(std::string_view name) const {
  for (ObjectDef* def : items_)
    if (def && !def->isValue && str::EqualsNoCase(def->name, name)) return def;
  return nullptr;
}

ObjectDef* ObjectDefList::FindValueEntry(std::string_view name) const {
  for (ObjectDef* def : items_)
    if (def && def->isValue && str::EqualsNoCase(def->name, name)) return def;
  return nullptr;
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
  ResolveWithin(*this, rootList, budget);
}

std::string ObjectDefList::ToText(bool marked) const {
  std::string out;
  for (const ObjectDef* def : items_)
    if (def) out += def->ToText(0, marked);
  return out;
}

void ObjectDefList::Append(ObjectDef* def) {
  if (def) items_.push_back(def);
}

bool ObjectDefList::Detach(ObjectDef* def) {
  const auto it = std::find(items_.begin(), items_.end(), def);
  if (it == items_.end()) return false;
  items_.erase(it);
  return true;
}
