#pragma once
// A GUI service on the real engine core for the GUI fuzz targets: the
// recording renderer, the plug-in's widget factories, commands, keyword
// languages and actions. Checks abort with the failed condition.
#include <cstdio>
#include <cstdlib>

#include "engine/config/CommandRegistry.h"
#include "engine/config/LanguageManager.h"
#include "engine/entity/ActionFactory.h"
#include "engine/entity/EntityManager.h"
#include "engine/services/tests/FakeCore3D.h"
#include "gui/core/GUIEntity.h"
#include "gui/core/GUIWorld.h"
#include "gui/core/actions/GUIActions.h"
#include "gui/plugin/GUI.h"
#include "gui/plugin/PanelisDescriptors.h"
#include "gui/plugin/WidgetSpawns.h"

#define GUI_FUZZ_CHECK(ok)                                                       \
  do {                                                                           \
    if (!(ok)) {                                                                 \
      std::fprintf(stderr, "check failed: %s line %d\n", #ok, __LINE__);         \
      std::abort();                                                              \
    }                                                                            \
  } while (0)

struct GUIFuzzWorld {
  GUIFuzzWorld() {
    for (int32_t kind = GUIKIND_WORLD; kind <= GUIKIND_DROPDOWN; ++kind) factory.RegisterSpawn(WidgetSpawnOfKind(kind));
    for (uint32_t i = 0; cAction_Base* action = CreateGUIAction(i); ++i) {
      if (!factory.RegisterAction(action, action->IsActive())) delete action;
    }
    GUI_OCPack pack;
    commands.RegisterAll(*pack.GetCommandMap());
    renderer.shareByName = true;
    gui.SetWrapperBlockRef(&rect);
    gui.SetRendererRef(&rendererSlot);
    gui.SetEntityManagerRef(&managerSlot);
    gui.SetActionFactoryRef(&factorySlot);
    gui.SetLanguageManagerRef(&languagesSlot);
    gui.Init();
  }

  // Every child names its parent, and nothing is its own ancestor.
  static void CheckTree(GUIEntity* entity, int depth = 0) {
    GUI_FUZZ_CHECK(depth < 10000);
    for (GUIEntity* child : entity->Children()) {
      GUI_FUZZ_CHECK(child->GetParent() == entity);
      CheckTree(child, depth + 1);
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
};
