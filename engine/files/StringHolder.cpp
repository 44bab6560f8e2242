#include "engine/files/StringHolder.h"

std::string& StringHolder::Get(StringHolder*& owner) {
  if (!owner) owner = new StringHolder();
  if (!owner->text) {
    owner->text = std::make_unique<std::string>();
    ++owner->uses;
  }
  return *owner->text;
}

void StringHolder::Release(StringHolder*& owner) {
  if (!owner) return;
  if (owner->uses > 0) --owner->uses;
  if (owner->uses == 0) {
    delete owner;
    owner = nullptr;
  }
}
