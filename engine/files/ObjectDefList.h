#pragma once
// ObjectDefList: an ordered list of ObjectDef pointers that owns its
// elements. An ObjectDef owns its children list and so its whole subtree.
//
// Lookups by name are answered from an index beside the list (lower-cased
// name -> the elements of that name, in list order), built once the list is
// long enough for a scan to cost more than a hash. The index files each
// element under the name it had when appended: code that renames an element
// in place to another name (not merely another case) calls Reindex().
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "base/Status.h"

class ObjectDef;
class ObjectDefArchive;

class ObjectDefList {
 public:
  ObjectDefList() = default;
  virtual ~ObjectDefList();
  ObjectDefList(const ObjectDefList&) = delete;
  ObjectDefList& operator=(const ObjectDefList&) = delete;

  virtual const char* GetRuntimeClassName() const { return "ObjectDefList"; }
  // Storing: the element count (32-bit), then each element. Loading: builds
  // new elements from the archive and, only when all of them read cleanly,
  // replaces (and deletes) the old ones; a bad archive changes nothing.
  virtual CoreStatus Serialize(ObjectDefArchive& archive);
  // Removes the elements from the head one by one and deletes each.
  virtual void DeleteAll();
  // For each element of `other`: merged into the element of the same name
  // here, or appended as a copy.
  virtual void Merge(const ObjectDefList& other, bool markInherited);
  // ResolveBase on every element.
  virtual void ResolveAll(ObjectDefList& rootList);

  // First element whose name equals `name` ignoring case, else null.
  ObjectDef* FindObject(std::string_view name) const;
  // As FindObject, but only objects (value entries are passed over).
  ObjectDef* FindChildObject(std::string_view name) const;
  // As FindObject, but only value entries.
  ObjectDef* FindValueEntry(std::string_view name) const;
  // Searches inside the elements, shallowest first (the elements themselves
  // are never matched). A value entry hit yields the object holding it.
  ObjectDef* FindDeep(std::string_view name) const;
  // Children first, then each element whose base is named but not yet
  // linked inherits from the object FindDeep finds in `rootList`.
  void ResolveBases(ObjectDefList& rootList);
  // Every element's ToText(0, marked), concatenated.
  std::string ToText(bool marked) const;

  // Takes ownership of `def` (null is ignored).
  void Append(ObjectDef* def);
  // Removes `def` from the list without deleting it; false when absent.
  bool Detach(ObjectDef* def);
  // Files every element again under its current name.
  void Reindex();
  size_t size() const { return items_.size(); }
  bool empty() const { return items_.empty(); }
  ObjectDef* operator[](size_t i) const { return items_[i]; }
  auto begin() const { return items_.begin(); }
  auto end() const { return items_.end(); }

 private:
  using Index = std::unordered_map<std::string, std::vector<ObjectDef*>>;
  // The first element named `name` (any case) that `accept` takes.
  template <typename Accept>
  ObjectDef* Find(std::string_view name, Accept accept) const;
  void IndexElement(ObjectDef* def);
  void DropIndex() { index_.reset(); }

  std::vector<ObjectDef*> items_;
  // Null while the list is short; built lazily by the first lookup after.
  mutable std::unique_ptr<Index> index_;
};
