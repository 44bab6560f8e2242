#pragma once
// A GUI service on the real engine core for the GUI tests: the recording
// renderer, the action factory with the plug-in's factory of every widget
// kind, the command registry holding the GUI's commands and the language
// manager with its keyword languages, the entity manager, an 800 x 600
// client rectangle and (unless asked not to) the world "TheWorld" installed
// as the pass hook. Recorder actions log what their bound events fired.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/config/CommandRegistry.h"
#include "engine/config/LanguageManager.h"
#include "engine/entity/ActionBase.h"
#include "engine/entity/ActionFactory.h"
#include "engine/entity/EntityManager.h"
#include "engine/entity/InputSocket.h"
#include "engine/entity/SpawnBase.h"
#include "engine/services/tests/FakeCore3D.h"
#include "gui/core/GUIButton.h"
#include "gui/core/GUICheckBox.h"
#include "gui/core/GUIProgressBar.h"
#include "gui/core/GUIScene.h"
#include "gui/core/GUIStatic.h"
#include "gui/core/GUIStaticText.h"
#include "gui/core/GUIMLTextBox.h"
#include "gui/core/GUITextBox.h"
#include "gui/core/GUIWorld.h"
#include "gui/core/tests/GUIRig.h"
#include "gui/core/tests/RecordingSound.h"
#include "gui/core/actions/GUIActions.h"
#include "gui/plugin/GUI.h"
#include "gui/plugin/PanelisDescriptors.h"
#include "gui/plugin/WidgetSpawns.h"

namespace guitest {

// The game's side: a socket behind the GUI's that counts what reaches it.
class GameSocket : public cCore_Base_InputSocket {
 public:
  GameSocket() : cCore_Base_InputSocket("Game") {}
  CoreStatus OnMouse(MousePacket*) override {
    ++mouse;
    return status::Ok;
  }
  CoreStatus OnKey(KeyboardPacket*) override {
    ++keys;
    return status::Ok;
  }
  CoreStatus RegisterKeyHandlers(cGM_ConfigManager*) override { return status::Ok; }
  CoreStatus ReloadKeyHandlers(cGM_ConfigManager*) override { return status::Ok; }
  CoreStatus UnregisterKeyHandlers(cGM_ConfigManager*) override { return status::Ok; }
  int mouse = 0;
  int keys = 0;
};

// Logs "<entity>|<params>" per Execute; answers `answer`.
class Recorder : public cAction_Base {
 public:
  explicit Recorder(const char* name) : cAction_Base(name) {}
  CoreStatus Execute(cEntity_Base* entity, uintptr_t, const std::string& params) override {
    log.push_back(entity->GetName() + "|" + params);
    return answer;
  }
  std::vector<std::string> log;
  CoreStatus answer = status::Ok;
};

class Kit : public GUIRig {
 public:
  explicit Kit(bool withWorld = true) {
    gui.SetSoundRef(&soundSlot);
    EXPECT_TRUE(started);
    if (!withWorld) return;
    GUIEntity* made = nullptr;
    EXPECT_EQ(gui.SpawnWidget(GUIKIND_WORLD, &made), status::Ok);
    world = dynamic_cast<GUIWorld*>(made);
    world->SetBoundsShaders("solidshader.jpg", "ghostshader.jpg");
    world->SetShader(world->GetSolidShader());
    world->SetName("TheWorld");
    world->SetWidth(10000.0f);
    world->SetHeight(10000.0f);
    world->SetDepth(10000.0f);
    world->SetPosition(-5000.0f, 5000.0f, 5000.0f, true);
    gui.SetWorld(world);
  }

  // A widget of a kind, named, placed in its parent's frame and completed.
  // `before` runs on the widget before it is completed (what a description
  // file sets inside the widget's block).
  template <typename T>
  T* Make(int32_t kind, const std::string& name, GUIEntity* parent, float x, float y, float z, float w = 10.0f,
          float h = 10.0f, const std::function<void(T*)>& before = {}) {
    GUIEntity* made = nullptr;
    EXPECT_EQ(gui.SpawnWidget(kind, &made), status::Ok) << name;
    T* widget = dynamic_cast<T*>(made);
    widget->SetName(name);
    widget->SetWidth(w);
    widget->SetHeight(h);
    // Children of the world are placed in world coordinates: the world's
    // box starts at its corner (-5000, 5000, 5000).
    if (!parent) widget->SetPosition(x + 5000.0f, y - 5000.0f, z - 5000.0f, false);
    else widget->SetPosition(x, y, z, false);
    (parent ? parent : world)->AddChild(widget, true);
    if (before) before(widget);
    widget->Initialize();
    widget->UpdateTransform();
    return widget;
  }

  Recorder* AddRecorder(const char* name) {
    auto* recorder = new Recorder(name);
    factory.RegisterAction(recorder, false);
    return recorder;
  }

  RecordingSound sound;
  SoundMgr* soundSlot = &sound;
  GUIWorld* world = nullptr;
};

}  // namespace guitest
