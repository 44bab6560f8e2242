#pragma once
// How the sound layer reads the game objects it is handed. A sound's source
// object is a game entity, asked only for its position. The listener object
// carries its position, front and velocity as three vectors one after the
// other, from its start.
#include "engine/math/JVector.h"

JVector ReadSourcePosition(const void* source);
void ReadListenerObject(const void* object, JVector* position, JVector* front, JVector* velocity);
