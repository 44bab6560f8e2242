#pragma once
// The game's screen actions in the order the action manager creates them,
// with the maker of each screen that is built. A row without a maker is a
// screen still to come; its owner fills the maker in here.
#include <cstddef>

#include "game/KV9ActionManager.h"

const ScreenActionRow* GetScreenActionRows(size_t* count);
// Hands the rows to the game's action manager (the program and the tests
// call it before the game manager starts).
void InstallScreenActions();
