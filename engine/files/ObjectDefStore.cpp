#include "engine/files/ObjectDefStore.h"

ObjectDefStore::ObjectDefStore() { CreateParser(); }

ObjectDefStore::~ObjectDefStore() {
  // The parser goes first, so it never holds a list that is being emptied.
  if (parser_) parser_->SetOutputList(nullptr);
  parser_.reset();
  list_.DeleteAll();
}

void ObjectDefStore::CreateParser() {
  parser_ = std::make_unique<ObjectParser>();
  parser_->SetOutputList(&list_);
}

bool ObjectDefStore::LoadFile(const std::string& fileName) {
  ObjectDef* existing = list_.FindObject(fileName);
  ObjectDef* root = parser_->ParseInto(fileName, existing);
  if (root && !existing) list_.Append(root);
  if (existing || root) list_.ResolveBases(list_);
  return root != nullptr;
}
