#include "engine/HandleBase.h"

#include "engine/HandleArray.h"

HandleBase::~HandleBase() {
  handle_ = -1;
  owner_ = nullptr;
}

void HandleBase::Register(HandleArray* array) {
  if (array) array->Add(this);
}
