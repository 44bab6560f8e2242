#pragma once
// How the sound layer reads the game objects it is handed: a sound's source
// object is asked for its position, the listener object for its position,
// front and velocity. The objects cross the service interface untyped, laid
// out as their vectors one after the other, position first.
#include "engine/JVector.h"

JVector ReadSourcePosition(const void* source);
void ReadListenerObject(const void* object, JVector* position, JVector* front, JVector* velocity);
