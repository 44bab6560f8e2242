#pragma once
// Prepared saved games: the game started headless on a run tree (no display,
// no sound, the renderer on its recording backend), a new game built on a
// chosen location the way the location menu's start button builds it, and
// the game saved under a name through the scenario's own save.
#include <string>

#include "game/RunTreeProgram.h"

class cKV9_GlobalWrapper;
class cKV9_GameScenario;

class PreparedSaves {
 public:
  // `runTree` holds the program's plug-ins and its "data" folder.
  explicit PreparedSaves(std::string runTree);
  ~PreparedSaves();
  PreparedSaves(const PreparedSaves&) = delete;
  PreparedSaves& operator=(const PreparedSaves&) = delete;

  // The application started on the run tree and its loading sequence run.
  // False with Failure() set.
  bool Start();
  // Where saves go: this folder + "Normal/" (default: the run tree's
  // "data/Save/"). Call after Start.
  void SetSaveDirectory(const std::string& folder);
  // A new game on the location of that name (any letter case), built and
  // saved as `saveName` (".kv9" supplied by the caller). The world built
  // before is cleared first. False with Failure() set.
  bool SaveNewGame(const std::string& location, const std::string& saveName);
  // As SaveNewGame, then the save moved into `folder` (a real path), as a
  // scenario's save the campaign screen loads from its folder.
  bool SaveNewGameInto(const std::string& location, const std::string& saveName, const std::string& folder);
  // The saved game of that name loaded back into the running game, as the
  // load menu loads it. False with Failure() set.
  bool Load(const std::string& saveName);

  cKV9_GlobalWrapper* Table() const { return program_.Table(); }
  cKV9_GameScenario* Scenario() const;
  const std::string& Failure() const { return failure_; }

 private:
  bool Fail(const std::string& why);

  RunTreeProgram program_;
  bool worldBuilt_ = false;
  std::string failure_;
};
