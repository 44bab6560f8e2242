#pragma once
// ObjectDef: one named object of an object-definition file, with its
// settings (keys compared ignoring case), nested objects and single
// inheritance from a base object found by name.
//
// Every key set on an object has a value entry among the children (a child
// with isValue set, named with the key as first written, recording its
// position) and one map entry under the lower-cased key holding the value.
#include <map>
#include <string>
#include <string_view>

#include "engine/files/ObjectDefList.h"
#include "base/Status.h"

class ObjectDefArchive;

class ObjectDef {
 public:
  ObjectDef() = default;
  // An empty object, then Merge(other, markInherited).
  ObjectDef(const ObjectDef& other, bool markInherited);
  virtual ~ObjectDef();
  ObjectDef(const ObjectDef&) = delete;
  ObjectDef& operator=(const ObjectDef&) = delete;

  // Creation by type name: "ObjectDef" gives a new, empty object.
  static ObjectDef* CreateObject(std::string_view typeName);
  static constexpr const char* kTypeName = "ObjectDef";

  virtual const char* GetRuntimeClassName() const { return kTypeName; }
  // A new, empty object of the same run-time type (Merge's copies).
  virtual ObjectDef* CreateSameType() const { return new ObjectDef(); }
  // Name, base name and comment as archived strings, then the key/value map.
  // Loading replaces them only when the whole record reads cleanly.
  virtual CoreStatus Serialize(ObjectDefArchive& archive);
  virtual void SetValue(const std::string& key, const std::string& value);
  virtual void GetName(std::string& out) const { out = name; }
  // The value for `key` (any case); a missing key is added with an empty
  // value (but gets no value entry).
  virtual std::string& GetValue(const std::string& key);
  virtual std::map<std::string, std::string>& GetValueMap() { return values; }
  virtual std::string& GetBaseName() { return baseName; }
  virtual void SetBase(ObjectDef* def) { base = def; }
  virtual void SetBaseName(const std::string& text) { baseName = text; }
  virtual void InheritFrom(ObjectDef* baseDef);
  // Links base (and the children's bases) by name; copies nothing.
  virtual void ResolveBase(ObjectDefList& rootList);
  virtual bool IsValue() const { return isValue != 0; }
  // Clears links, flags and comment; name, base name, children and map stay.
  virtual void Reset();
  virtual void Merge(const ObjectDef* other, bool markInherited);
  // True when some object up the base chain is named `typeName`.
  virtual bool IsA(std::string_view typeName) const;
  virtual bool IsDerivedFrom(const ObjectDef* def) const;

  // The text form of this object and its children. `level` steps by 4 per
  // nesting depth; one tab of indent per 8. Marked text starts inherited
  // lines with "*" and the others with a blank.
  std::string ToText(int level, bool marked) const;
  // The value for `key` without adding a missing one.
  const std::string* FindValue(std::string_view key) const;

  std::string name;
  ObjectDefList children;
  ObjectDef* parent = nullptr;  // not owning
  ObjectDef* base = nullptr;    // not owning
  std::string baseName;
  unsigned char registered = 0;
  std::string comment;
  unsigned char isValue = 0;
  unsigned char inherited = 0;
  std::map<std::string, std::string> values;

 private:
  void MergeAt(const ObjectDef* other, bool markInherited, int depth);
};
