#pragma once
// The player's pointer as the construction sees it: the game's cursor
// implements it. Reached through the engine game manager's cursor.
class SceneCursor {
 public:
  virtual ~SceneCursor() = default;

  // Back to the normal pointer state.
  virtual void SetNormal() = 0;
};
