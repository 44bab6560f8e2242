#include "engine/files/ObjectDef.h"

#include <unordered_set>
#include <utility>

#include "engine/files/ObjectDefArchive.h"
#include "base/StringUtil.h"
#include "platform/DebugOutput.h"

namespace {

// Merge recurses once per nesting level; a tree deeper than this is refused
// rather than allowed to run the stack out.
constexpr int kMaxMergeDepth = 2048;

bool NeedsQuotes(std::string_view text) {
  return text.find_first_of(" \t\r\n") != std::string_view::npos;
}

// A value is written in double quotes. The reader has no escape for a double
// quote, so a value holding one (and no blank) is written bare, as it was read.
std::string ValueText(const std::string& value) {
  if (value.find('"') != std::string::npos && !NeedsQuotes(value) && value.front() != '"') return value;
  return "\"" + value + "\"";
}

// A name or key with blanks only survives re-reading in quotes.
std::string NameText(const std::string& text) { return NeedsQuotes(text) ? "\"" + text + "\"" : text; }

}  // namespace

ObjectDef::ObjectDef(const ObjectDef& other, bool markInherited) : ObjectDef() { Merge(&other, markInherited); }

ObjectDef::~ObjectDef() {
  children.DeleteAll();
  values.clear();
}

ObjectDef* ObjectDef::CreateObject(std::string_view typeName) {
  return typeName == kTypeName ? new ObjectDef() : nullptr;
}

CoreStatus ObjectDef::Serialize(ObjectDefArchive& archive) {
  if (archive.IsStoring()) {
    archive.WriteString(name);
    archive.WriteString(baseName);
    archive.WriteString(comment);
    archive.WriteCount(static_cast<uint32_t>(values.size()));
    for (const auto& [key, value] : values) {
      archive.WriteString(key);
      archive.WriteString(value);
    }
    return status::Ok;
  }
  std::string newName, newBase, newComment;
  std::map<std::string, std::string> newValues;
  uint32_t count = 0;
  if (!archive.ReadString(&newName) || !archive.ReadString(&newBase) || !archive.ReadString(&newComment) ||
      !archive.ReadCount(&count))
    return status::Fail;
  // Each pair takes at least two bytes: a larger count cannot be honest.
  if (count > archive.BytesLeft() / 2) {
    archive.Fail();
    return status::Fail;
  }
  for (uint32_t i = 0; i < count; ++i) {
    std::string key, value;
    if (!archive.ReadString(&key) || !archive.ReadString(&value)) return status::Fail;
    newValues[str::ToLower(key)] = std::move(value);
  }
  name = std::move(newName);
  baseName = std::move(newBase);
  comment = std::move(newComment);
  values = std::move(newValues);
  return status::Ok;
}

void ObjectDef::SetValue(const std::string& key, const std::string& value) {
  // Only a value entry records a key: an object child of the same name is a
  // different thing and must not swallow the setting.
  if (ObjectDef* entry = children.FindValueEntry(key)) {
    inherited = 0;
    entry->inherited = 0;
  } else {
    auto* added = new ObjectDef();
    added->isValue = 1;
    added->name = key;
    added->parent = this;
    children.Append(added);
  }
  values[str::ToLower(key)] = value;
}

std::string& ObjectDef::GetValue(const std::string& key) { return values[str::ToLower(key)]; }

const std::string* ObjectDef::FindValue(std::string_view key) const {
  const auto it = values.find(str::ToLower(key));
  return it == values.end() ? nullptr : &it->second;
}

void ObjectDef::InheritFrom(ObjectDef* baseDef) {
  if (!baseDef || baseDef == this) return;
  // The object keeps its own identity: name, comment, place in the tree and
  // flags. Only settings and children come from the base.
  std::string ownName = name;
  std::string ownComment = comment;
  ObjectDef* ownParent = parent;
  const unsigned char ownIsValue = isValue;
  const unsigned char ownInherited = inherited;
  Merge(baseDef, true);
  name = std::move(ownName);
  comment = std::move(ownComment);
  parent = ownParent;
  isValue = ownIsValue;
  inherited = ownInherited;
  baseName = baseDef->name;
  base = baseDef;
}

void ObjectDef::ResolveBase(ObjectDefList& rootList) {
  if (!baseName.empty()) base = rootList.FindDeep(baseName);
  children.ResolveAll(rootList);
}

void ObjectDef::Reset() {
  parent = nullptr;
  base = nullptr;
  registered = 0;
  comment.clear();
  isValue = 0;
  inherited = 0;
}

void ObjectDef::Merge(const ObjectDef* other, bool markInherited) { MergeAt(other, markInherited, 0); }

void ObjectDef::MergeAt(const ObjectDef* other, bool markInherited, int depth) {
  if (!other || other == this) return;
  if (depth > kMaxMergeDepth) {
    platform::DebugPrintf("[ObjectDef::Merge] '%s' nests deeper than %d levels; the rest is not merged\n",
                          other->name.c_str(), kMaxMergeDepth);
    return;
  }
  // Own non-empty values win.
  for (const auto& [key, value] : other->values) {
    std::string& mine = values[key];
    if (mine.empty()) mine = value;
  }
  name = other->name;
  baseName = other->baseName;
  comment += other->comment;
  base = other->base;
  inherited = other->inherited;
  isValue = other->isValue;
  // The parent link stays: it names this object's place in its own tree.

  // Children appended below are never among other's first `count`, so the
  // loop ends even when the two objects share a subtree.
  const size_t count = other->children.size();
  for (size_t i = 0; i < count; ++i) {
    const ObjectDef* child = other->children[i];
    if (!child) continue;
    ObjectDef* mine = child->isValue ? children.FindValueEntry(child->name) : children.FindChildObject(child->name);
    if (mine) {
      // The existing child keeps its own base (name and link), its own
      // comment and its flag; it only gains settings and children.
      std::string keptBaseName = mine->baseName;
      ObjectDef* keptBase = mine->base;
      std::string keptComment = mine->comment;
      const unsigned char keptInherited = mine->inherited;
      mine->MergeAt(child, markInherited, depth + 1);
      mine->baseName = std::move(keptBaseName);
      mine->base = keptBase;
      mine->comment = std::move(keptComment);
      mine->inherited = keptInherited;
    } else {
      ObjectDef* copy = child->CreateSameType();
      copy->MergeAt(child, markInherited, depth + 1);
      copy->parent = this;
      if (markInherited) copy->inherited = 1;
      children.Append(copy);
    }
  }
}

bool ObjectDef::IsA(std::string_view typeName) const {
  // Walks the base chain iteratively; a chain that loops ends the walk.
  std::unordered_set<const ObjectDef*> seen;
  for (const ObjectDef* p = this; p && seen.insert(p).second; p = p->base) {
    if (p->base && str::EqualsNoCase(p->base->name, typeName)) return true;
    if (str::EqualsNoCase(p->baseName, typeName)) return true;
  }
  return false;
}

bool ObjectDef::IsDerivedFrom(const ObjectDef* def) const {
  std::unordered_set<const ObjectDef*> seen;
  for (const ObjectDef* p = this; seen.insert(p).second;) {
    if (p->base == def) return true;
    if (!p->base) return false;
    p = p->base;
  }
  return false;
}

std::string ObjectDef::ToText(int level, bool marked) const {
  if (isValue) return {};
  const std::string indent(static_cast<size_t>(level < 0 ? 0 : level / 8), '\t');
  std::string nameText = name;
  if (base || !baseName.empty()) nameText += ":" + baseName;
  const char* mark = !marked ? "" : (inherited ? "*" : " ");
  std::string out;
  out += comment;
  out += mark;
  out += indent;
  out += "OBJECT ";
  out += NameText(nameText);
  out += "\n";
  out += indent;
  out += "{\n";
  for (const ObjectDef* child : children) {
    if (!child || (child->inherited && !marked)) continue;
    if (child->isValue) {
      const int tabs = 5 - static_cast<int>((child->name.size() + 4 + 7) / 8);
      const std::string* value = FindValue(child->name);
      out += !marked ? "" : (child->inherited ? "*" : " ");
      out += indent;
      out += "\tset ";
      out += NameText(child->name);
      if (tabs > 0) out.append(static_cast<size_t>(tabs), '\t');
      out += ValueText(value ? *value : std::string());
      out += "\n";
    }
    out += child->ToText(level + 4, marked);
  }
  out += " ";
  out += indent;
  out += "}\n";
  return out;
}
