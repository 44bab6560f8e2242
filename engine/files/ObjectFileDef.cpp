#include "engine/files/ObjectFileDef.h"

#include "platform/Locale.h"

cObjectDef::cObjectDef(std::string name, cObjectDef* parent) : name_(std::move(name)), parent_(parent) {}

cObjectDef::~cObjectDef() {
  // Frees the subtree without recursion: a file may nest objects as deep as
  // it likes, and a recursive destructor would run out of stack.
  std::vector<std::unique_ptr<cObjectDef>> pending = std::move(children_);
  while (!pending.empty()) {
    std::unique_ptr<cObjectDef> node = std::move(pending.back());
    pending.pop_back();
    for (auto& child : node->children_) pending.push_back(std::move(child));
    node->children_.clear();
  }
}

cObjectDef* cObjectDef::FindChild(std::string_view name) const {
  for (const auto& child : children_)
    if (child->name_ == name) return child.get();
  return nullptr;
}

const char* cObjectDef::GetString(std::string_view key) const {
  for (const ValueRecord& v : values_)
    if (v.key == key) return v.value.c_str();
  return nullptr;
}

int cObjectDef::GetInt(std::string_view key) const {
  const char* text = GetString(key);
  return text ? platform::ParseInt(text) : -1;
}

float cObjectDef::GetFloat(std::string_view key) const {
  const char* text = GetString(key);
  return text ? platform::ParseFloat(text) : 0.0f;
}

void cObjectDef::AddValue(std::string key, std::string value) {
  values_.push_back(ValueRecord{std::move(key), std::move(value)});
}

cObjectDef* cObjectDef::AddChild(std::string name) {
  children_.push_back(std::make_unique<cObjectDef>(std::move(name), this));
  return children_.back().get();
}
