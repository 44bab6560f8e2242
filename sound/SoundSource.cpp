#include "sound/SoundSource.h"

#include "engine/entity/EntityBase.h"

JVector ReadSourcePosition(const void* source) {
  if (!source) return JVector();
  // The entity's position operation is not const, but asking it changes nothing.
  return const_cast<cEntity_Base*>(static_cast<const cEntity_Base*>(source))->GetPosition();
}

void ReadListenerObject(const void* object, JVector* position, JVector* front, JVector* velocity) {
  const auto* vectors = static_cast<const JVector*>(object);
  *position = vectors[0];
  *front = vectors[1];
  *velocity = vectors[2];
}
