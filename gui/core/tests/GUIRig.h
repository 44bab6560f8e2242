#pragma once
// A GUI service on the real engine core, free of any test framework so that
// the tests' kit and the fuzz targets share it: the recording renderer, the
// plug-in's widget factories, its commands in the command registry and its
// keyword languages, the entity manager and an 800 x 600 client rectangle.
// `started` tells whether the service's Init succeeded.
#include "engine/config/CommandRegistry.h"
#include "engine/config/LanguageManager.h"
#include "engine/entity/ActionFactory.h"
#include "engine/entity/EntityManager.h"
#include "engine/services/tests/FakeCore3D.h"
#include "gui/core/actions/GUIActions.h"
#include "gui/plugin/GUI.h"
#include "gui/plugin/PanelisDescriptors.h"
#include "gui/plugin/WidgetSpawns.h"

namespace guitest {

struct GUIRig {
  GUIRig() {
    for (int32_t kind = GUIKIND_WORLD; kind <= GUIKIND_DROPDOWN; ++kind) factory.RegisterSpawn(WidgetSpawnOfKind(kind));
    GUI_OCPack pack;
    commands.RegisterAll(*pack.GetCommandMap());
    renderer.shareByName = true;
    gui.SetLanguageManagerRef(&languagesSlot);
    gui.SetWrapperBlockRef(&rect);
    gui.SetRendererRef(&rendererSlot);
    gui.SetEntityManagerRef(&managerSlot);
    gui.SetActionFactoryRef(&factorySlot);
    gui.SetResourcePath("res/");
    started = gui.Init();
  }

  // The sixteen GUI actions, registered as the library manager does.
  void AddGUIActions() {
    for (uint32_t i = 0; cAction_Base* action = CreateGUIAction(i); ++i) {
      if (!factory.RegisterAction(action, action->IsActive())) delete action;
    }
  }

  fake3d::FakeCore3D renderer;
  Core3D* rendererSlot = &renderer;
  cAction_Factory factory;
  cAction_Factory* factorySlot = &factory;
  platform::RECT rect{0, 0, 800, 600};
  OCFactory commands;
  LanguageManager languages{&commands};
  LanguageManager* languagesSlot = &languages;
  GUI gui;
  cEntity_Manager manager{&factory};
  cEntity_Manager* managerSlot = &manager;
  bool started = false;
};

}  // namespace guitest
