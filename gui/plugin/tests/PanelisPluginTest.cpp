// The GUI plug-in as the game loads it: the real library manager finds its
// descriptors, creates and binds the service with the recording renderer in
// the graphics slot, and shuts it down cleanly.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "base/StringUtil.h"
#include "engine/config/CommandRegistry.h"
#include "engine/config/CoreLanguage.h"
#include "engine/config/LanguageManager.h"

#include "engine/config/ConfigManager.h"
#include "engine/entity/ActionFactory.h"
#include "engine/math/CameraView.h"
#include "engine/services/GlobalWrapper.h"
#include "engine/services/LibraryManager.h"
#include "engine/services/Panelis.h"
#include "engine/services/tests/FakeCore3D.h"
#include "gui/core/actions/GUIActions.h"
#include "gui/plugin/GUIInputSocket.h"
#include "gui/plugin/GUIKeywordTable.h"
#include "gui/plugin/PanelisDescriptors.h"
#include "gui/plugin/commands/GUICommands.h"

namespace {

constexpr uint32_t kMask = cCore_LibraryManager::kGUI | cCore_LibraryManager::kActionPacks |
                           cCore_LibraryManager::kSpawnPacks | cCore_LibraryManager::kOCPacks;

TEST(PanelisPlugin, LoadsBindsAndShutsDownWithTheRecordingRenderer) {
  cCore_ConfigManager config;
  config.SetValue("App", "library_path", std::string("path=") + PANELIS_DIR);
  config.SetValue("App", "resource_path", "path=/tmp/resources/");
  config.SetValue("App", "MaxVersion", "9");
  config.SetValue("App", "MinVersion", "0");
  fake3d::FakeCore3D renderer;
  cKV9_GlobalWrapper table;
  table.SetGraphics(&renderer);
  table.clientRect = platform::RECT{0, 0, 800, 600};
  cCore_LibraryManager manager;
  ASSERT_EQ(manager.Init(kMask, &config, &table), status::Ok);

  std::vector<std::string> names;
  for (const auto& entry : manager.GetClasses()) names.push_back(entry.descriptor->GetName());
  EXPECT_EQ(names, (std::vector<std::string>{"Panelis", "GUI ObjectCommand Pack", "[GUISpawnPack]",
                                             "[GUIActionPack]"}));
  Panelis* gui = table.gui;
  ASSERT_NE(gui, nullptr);
  EXPECT_STREQ(gui->GetName(), "[Panelis]");
  EXPECT_EQ(gui->GetRenderer(), &renderer);
  EXPECT_EQ(gui->GetActionFactory(), table.actionFactory);
  EXPECT_EQ(gui->GetEntityManager(), table.entityManager);
  EXPECT_EQ(gui->GetLanguageManager(), table.languageManager);
  EXPECT_EQ(gui->GetWrapperBlockRef(), &table.clientRect);
  // The service reads the table's slots, not copies of them.
  table.SetGraphics(nullptr);
  EXPECT_EQ(gui->GetRenderer(), nullptr);
  table.SetGraphics(&renderer);
  // Its own pass at the end of the list, unsorted, with its own view sized
  // to the client rectangle.
  ASSERT_EQ(renderer.GetPassCount(), 1);
  EXPECT_EQ(gui->GetRenderScene(), renderer.GetPass(0));
  EXPECT_FALSE(renderer.GetPass(0)->IsSorted());
  ASSERT_EQ(renderer.GetViewCount(), 1);
  EXPECT_EQ(renderer.GetPass(0)->GetPassView(), renderer.GetView(0));
  EXPECT_EQ(gui->GetCamera()->viewportWidth, 800.0f);
  EXPECT_EQ(gui->GetCamera()->viewportHeight, 600.0f);
  ASSERT_NE(gui->GetInputSocket(), nullptr);
  EXPECT_EQ(gui->GetInputSocket()->GetName(), "GUI");
  EXPECT_EQ(gui->GetResourcePath(), "/tmp/resources/");

  // The packs: sixteen actions (the five with timers on the update list),
  // fifteen widget factories, the command names and the keyword languages.
  cAction_Factory* actions = table.actionFactory;
  struct ActionCase {
    const char* name;
    bool updated;
  };
  const ActionCase actionCases[] = {
      {"ButtonSetShader", false}, {"EditWidget", false},        {"EditOtherWidget", false},
      {"MoveWidget", true},       {"MoveOtherWidget", false},   {"RotateWidget", true},
      {"RotateOtherWidget", false}, {"MultiAction", false},     {"EditScene", false},
      {"MoveUVCoords", true},     {"MoveOtherUVCoords", false}, {"MoveListBoxHighlight", false},
      {"MessageRepeater", true},  {"EditGUI", false},           {"DisplayTooltip", true},
      {"DragWidget", false},
  };
  EXPECT_EQ(actions->GetActionCount(), std::size(actionCases));
  for (const ActionCase& c : actionCases) {
    cAction_Base* action = actions->GetAction(c.name);
    ASSERT_NE(action, nullptr) << c.name;
    const auto& updates = actions->GetUpdateList();
    EXPECT_EQ(std::find(updates.begin(), updates.end(), action) != updates.end(), c.updated) << c.name;
    actions->ReleaseAction(action);
  }
  EXPECT_EQ(actions->GetSpawnCount(), 15u);
  for (const char* spawn : {"SpawnWorld", "SpawnScene", "SpawnGroup", "SpawnButton", "SpawnCheckBox", "SpawnStatic",
                            "SpawnStaticText", "SpawnListBox", "SpawnProgressBar", "SpawnScrollBar", "SpawnSlider",
                            "SpawnSpin", "SpawnTextBox", "SpawnMLTextBox", "SpawnDropDownLB"}) {
    EXPECT_NE(actions->GetSpawn(spawn), nullptr) << spawn;
  }
  EXPECT_EQ(table.commandRegistry->GetCommandCount(), guicmd::kCommandCount);
  for (const guicmd::CommandEntry& entry : guicmd::kCommands) {
    EXPECT_NE(table.commandRegistry->Lookup(entry.name), nullptr) << entry.name;
  }
  EXPECT_EQ(table.commandRegistry->Lookup("DefaultSetLanguageCommand"),
            table.commandRegistry->Lookup("DefaultPopLanguageCommand"));
  size_t bindings = 0;
  for (const GUIKeywordBinding& binding : kGUIKeywordBindings) {
    std::string language = binding.language;
    CoreLanguage* found = table.languageManager->FindLanguage(language);
    ASSERT_NE(found, nullptr) << binding.language;
    if (!binding.keyword) continue;
    EXPECT_NE(found->Lookup(binding.keyword), nullptr) << binding.language << " " << binding.keyword;
    ++bindings;
  }
  EXPECT_EQ(bindings, 110u);
  // "GUICommon" is the current language once the service started.
  EXPECT_EQ(table.languageManager->GetCurrentLanguage()->GetName(), "guicommon");

  table.ClearConfigOptions();
  manager.Shutdown(&table);
  EXPECT_EQ(table.gui, nullptr);
  table.SetGraphics(nullptr);
}

TEST(PanelisDescriptors, TableOfDescriptorsAndPacks) {
  struct Case {
    int32_t index;
    const char* name;
    const char* description;
    float version;
    eServiceType type;
  };
  const Case cases[] = {
      {0, "Panelis", "New Vorn Interface", 2.0f, eService_GUI},
      {1, "GUI ObjectCommand Pack", "GUI Object Commands Package", 1.0f, eService_OCPack},
      {2, "[GUISpawnPack]", "GUI Spawn Pack", 1.0f, eService_SpawnPack},
      {3, "[GUIActionPack]", "GUI Action Pack", 1.0f, eService_ActionPack},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CoreBaseDescriptor* d = PanelisGetCoreDesc(c.index);
    ASSERT_NE(d, nullptr);
    EXPECT_STREQ(d->GetName(), c.name);
    EXPECT_STREQ(d->GetDescription(), c.description);
    EXPECT_EQ(d->GetVersion(), c.version);
    EXPECT_EQ(d->GetBaseAPIVersion(), 1.0f);
    EXPECT_EQ(d->GetServiceType(), c.type);
    CoreBase* module = d->CreateCoreClass();
    ASSERT_NE(module, nullptr);
    if (c.index >= 2) {
      auto* spawns = dynamic_cast<GUISpawnPack*>(module);
      if (spawns) {
        // The same static factory for every call; none past index 14.
        EXPECT_EQ(spawns->CreateItem(9), spawns->CreateItem(9));
        EXPECT_EQ(spawns->CreateItem(15), nullptr);
        EXPECT_TRUE(str::EqualsNoCase(spawns->CreateItem(14)->GetName(), "SpawnDropDownLB"));
      }
      if (auto* pack = dynamic_cast<GUIActionPack*>(module)) {
        std::unique_ptr<cAction_Base> repeat(pack->CreateItem(12));
        EXPECT_NE(dynamic_cast<GA_MessageRepeater*>(repeat.get()), nullptr);
        EXPECT_EQ(pack->CreateItem(16), nullptr);
      }
      // Both packs answer as the base action package, type 9.
      EXPECT_STREQ(module->GetName(), "[Action_Package]");
      EXPECT_EQ(module->GetServiceType(), eService_ActionPack);
    }
    delete module;
  }
  EXPECT_EQ(PanelisGetCoreDesc(4), nullptr);
  EXPECT_EQ(PanelisGetCoreDesc(-1), nullptr);
  EXPECT_STREQ(PanelisGetDescription(), "The New Interface DLL");
  CorePhysicsDescriptor physics;
  EXPECT_STREQ(physics.GetName(), "CorePhysics");
  EXPECT_EQ(physics.GetServiceType(), eService_Physics);
  EXPECT_EQ(physics.CreateCoreClass(), nullptr);
}

}  // namespace

#include <dlfcn.h>

namespace {

TEST(PanelisPlugin, ExportsOnlyItsThreeEntryPoints) {
  void* library = dlopen((std::string(PANELIS_DIR) + "libPanelis.so").c_str(), RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(library, nullptr) << dlerror();
  for (const char* name : {"GetCoreDesc", "GetDescription", "GetBaseAPIVersion"}) {
    EXPECT_NE(dlsym(library, name), nullptr) << name;
  }
  // The classes stay inside: neither the descriptors' helpers nor the service.
  for (const char* name : {"_Z18PanelisGetCoreDesci", "_ZN3GUI4InitEv", "_ZTV3GUI"}) {
    EXPECT_EQ(dlsym(library, name), nullptr) << name;
  }
  dlclose(library);
}

}  // namespace
