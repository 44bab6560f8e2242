#pragma once
// The game's spawn table: every spawn name the game registers, in the order
// the action manager creates and lists them, with the maker of each spawn
// class. The world's rows (scenario, terrain, terrain manager, weather
// manager) are made over the game's world hosts, so they carry no maker of
// their own. A row whose entity class is not built yet has no maker either
// and is left out of the registry; its owner fills the maker in here.
#include <cstddef>

class cSpawn_Base;

struct GameSpawnRow {
  const char* spawnName;
  cSpawn_Base* (*make)();  // null: a world row, or not built yet
};

// The 26 rows, in registry order.
const GameSpawnRow* GetGameSpawnRows(size_t* count);
