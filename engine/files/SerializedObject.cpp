#include "engine/files/SerializedObject.h"

#include <cstring>

cSerialized_Object::~cSerialized_Object() = default;

bool cSerialized_Object::LoadFromBlob(const uint8_t* bytes, uint32_t n) {
  if (n == 0) return true;
  if (!bytes) return false;
  auto copy = std::make_unique<uint8_t[]>(n);
  std::memcpy(copy.get(), bytes, n);
  blob_ = std::move(copy);  // frees the blob held before
  blobSize_ = n;
  return true;
}

void cSerialized_Object::SetBlob(SerialBlock bytes, uint32_t n) {
  blobSize_ = bytes ? n : 0;
  blob_ = std::move(bytes);
}

void cSerialized_Object::FreeBlob() {
  blob_.reset();
  blobSize_ = 0;
}
