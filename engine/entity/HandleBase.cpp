#include "engine/entity/HandleBase.h"

#include "engine/entity/HandleArray.h"

HandleBase::~HandleBase() {
  handle_ = -1;
  owner_ = nullptr;
}

void HandleBase::Register(HandleArray* array) {
  if (array) array->Add(this);
}
