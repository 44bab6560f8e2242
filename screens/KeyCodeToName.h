#pragma once
// The game's key vocabulary for the screens' key handlers: a DirectInput
// scan code as "VORN_KEY_<name>", or "ERROR_UNKNOWN_KEY" for a key that has
// no name here.
#include <cstdint>
#include <string>

// Only the low 8 bits of the code count.
std::string KeyCodeToName(uint32_t scanCode);
