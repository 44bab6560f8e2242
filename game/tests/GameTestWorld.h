#pragma once
// The game manager on the real engine core for the game's tests: the game's
// service table (with its input manager), a recording renderer, the game's
// configuration manager reading the source tree's base.cfg settings, a start-up
// script with the frame services, and the fakes of the other parts' managers
// registered under their spawn names.
#include <memory>
#include <string>
#include <vector>

#include "engine/services/GlobalWrapper.h"
#include "engine/services/tests/FakeCore3D.h"
#include "game/KV9ConfigManager.h"
#include "game/KV9GameManager.h"
#include "game/tests/FakeManagers.h"
#include "platform/Clock.h"
#include "platform/tests/ScratchDir.h"

namespace gametest {

// The source tree's data folder, with a trailing separator.
std::string DataDir();

// A folder made the working directory while this lives (the program runs
// from its data folder and names some files relative to it).
class WorkingDirectory {
 public:
  explicit WorkingDirectory(const std::string& folder);
  ~WorkingDirectory();
  WorkingDirectory(const WorkingDirectory&) = delete;
  WorkingDirectory& operator=(const WorkingDirectory&) = delete;

 private:
  std::string previous_;
};

// The frame services the loading sequence expects.
extern const char* const kServicesScript;

struct GameWorld {
  // Builds everything but runs nothing: call Init, then Load.
  GameWorld();
  ~GameWorld();
  GameWorld(const GameWorld&) = delete;
  GameWorld& operator=(const GameWorld&) = delete;

  // The game manager's Init with the services script (or another).
  CoreStatus Init(const std::string& script = kServicesScript);
  // Init, every fake registered in place of the game's own spawn of that
  // name (all but `leaveOut`, whose name then has no spawn at all), then the
  // loading sequence.
  CoreStatus Load(const std::string& leaveOut = "");
  // Init, the game's own spawn table with only the fakes named put in place
  // of the rows of those names, then the loading sequence.
  CoreStatus LoadRealTable(const std::vector<std::string>& fakes = {});
  cEntity_Base* Find(const std::string& name);
  template <typename T>
  T* FindAs(const std::string& name) {
    return dynamic_cast<T*>(Find(name));
  }

  // Takes the game's own spawn of the fake's name out of the factory, and
  // files the fake instead when `file` is set.
  void Replace(cSpawn_Base* fake, bool file);

  platform::TestClock clock;
  fake3d::FakeCore3D renderer;
  cKV9_GlobalWrapper table;
  cKV9_ConfigManager config;
  ScratchDir dir;
  std::unique_ptr<cKV9_GameManager> manager;
  std::vector<std::unique_ptr<cSpawn_Base>> fakeSpawns;
};

}  // namespace gametest
