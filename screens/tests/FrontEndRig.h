#pragma once
// The front end on the real GUI service and the real "main.gui" of the data
// tree: the recording renderer, the GUI's actions and the screen actions
// registered as the game registers them, a configuration manager, the game's
// scenario reading the data tree's locations, and stand-ins for the managers
// the screens set (tests only). The world is made as the loading screen
// makes it: a 20 x 15 unit screen with its top-left corner at the origin.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/config/ConfigManager.h"
#include "engine/entity/EntityManager.h"
#include "engine/services/GlobalWrapper.h"
#include "engine/services/tests/FakeCore3D.h"
#include "game/GameKV9.h"
#include "game/KV9GameManager.h"
#include "game/world/KV9GameScenario.h"
#include "game/world/tests/FakeScenarioHost.h"
#include "gui/core/GUIButton.h"
#include "gui/core/GUICheckBox.h"
#include "gui/core/GUIScene.h"
#include "gui/core/GUIWorld.h"
#include "gui/core/tests/GUIRig.h"
#include "platform/tests/ScratchDir.h"
#include "scene/AudioManager.h"
#include "scene/ParticleFactoryManager.h"
#include "screens/ScreenActions.h"
#include "simulation/AmbientManager.h"
#include "simulation/EventManager.h"

namespace frontend {

// The source tree's data folder, with a trailing separator.
inline std::string DataDir() { return std::string(GAME_SOURCE_DIR) + "/data/"; }

// The renderer the screens reach through the table: its largest texture
// size and whether a device reset succeeds are the test's to set.
class ScreenCore3D : public fake3d::FakeCore3D {
 public:
  bool ResetDevice(const C3DDisplayMode* mode) override {
    resets.push_back(mode ? mode->width : 0);
    return resetSucceeds;
  }
  uint32_t ComputeCapability(int32_t) override { return maxTexture; }
  uint32_t maxTexture = 2048;
  bool resetSucceeds = true;
  std::vector<int32_t> resets;  // the width of each reset asked for
};

// The audio manager's volumes and music as the screens set them.
class RecordingAudio : public cEntity_AudioManager {
 public:
  using cEntity_AudioManager::cEntity_AudioManager;
  void PlayMusic(const std::string& fileName) override { music.push_back(fileName); }
  void SetMusicVolume(float volume) override { musicVolumes.push_back(volume); }
  void SetSoundVolume(float volume) override { soundVolumes.push_back(volume); }
  std::vector<std::string> music;
  std::vector<float> musicVolumes;
  std::vector<float> soundVolumes;
};

// The exit code of the last quit message waiting in the headless window
// layer's queue (emptied), or -1000 when none was posted.
int64_t TakeQuitCode();

struct FrontEndRig {
  FrontEndRig();
  ~FrontEndRig();
  FrontEndRig(const FrontEndRig&) = delete;
  FrontEndRig& operator=(const FrontEndRig&) = delete;

  // Loads the data tree's "main.gui" and shows the menu the way the game's
  // first entry does (visible flag only).
  bool LoadMainMenu();
  // Starts the game manager on a start-up script of one time service, so
  // that it names the data tree's save and scenario folders. The screens
  // reach it through the table.
  bool StartGameManager();
  // Runs a command the way a widget binding does.
  int32_t Run(const char* action, const std::string& params, cEntity_Base* receiver = nullptr);
  cAction_Base* Action(const char* name);

  template <typename T>
  T* Find(const std::string& name) {
    auto* found = dynamic_cast<T*>(rig.gui.FindEntity(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
  }
  bool Visible(const std::string& name);
  // Visible itself and through every parent up to the world.
  bool Shown(const std::string& name);
  std::string Caption(const std::string& button);
  // The text of a static text or a text box.
  std::string Text(const std::string& name);
  std::vector<std::string> Lines(const std::string& list);
  bool Checked(const std::string& box);

  ScreenCore3D renderer;
  ScratchDir dir;
  FakeScenarioHost scenarioHost;
  guitest::GUIRig rig;
  cCore_ConfigManager config;
  cKV9_GlobalWrapper table;
  std::unique_ptr<cKV9_GameManager> gameManager;
  std::unique_ptr<cKV9_GameScenario> scenario;
  // The root game entity, with no scenario of its own: every start and load
  // through it fails.
  std::unique_ptr<cEntity_GameKV9> game;
  std::unique_ptr<RecordingAudio> audio;
  std::unique_ptr<cEntity_AmbientManager> ambient;
  std::unique_ptr<cEntity_EventManager> events;
  std::unique_ptr<cEntity_ParticleFactoryManager> particles;
  GUIWorld* world = nullptr;
};

}  // namespace frontend
