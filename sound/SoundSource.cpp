#include "sound/SoundSource.h"

JVector ReadSourcePosition(const void* source) {
  if (!source) return JVector();
  return static_cast<const JVector*>(source)[0];
}

void ReadListenerObject(const void* object, JVector* position, JVector* front, JVector* velocity) {
  const auto* vectors = static_cast<const JVector*>(object);
  *position = vectors[0];
  *front = vectors[1];
  *velocity = vectors[2];
}
