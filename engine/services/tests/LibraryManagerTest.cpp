// The library manager against real plug-in libraries built for the tests:
// scanning, the version window, conflicts, the service order, packages,
// optional sound, roll-backs and shutdown.
#include <dlfcn.h>

#include <set>

#include "LibraryManagerTestUtil.h"
#include "engine/entity/ActionBase.h"
#include "engine/entity/ActionFactory.h"
#include "engine/config/CommandRegistry.h"
#include "engine/services/Core3D.h"
#include "engine/services/CoreBaseDescriptor.h"
#include "engine/services/CoreInput.h"
#include "engine/entity/EntityManager.h"
#include "engine/services/Panelis.h"
#include "engine/services/SoundMgr.h"

namespace {

// Whether the library is still loaded (asking does not load it).
bool IsLoaded(const std::string& path) {
  void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_NOLOAD);
  if (!handle) return false;
  dlclose(handle);  // the question took a reference
  return true;
}

using plugintest::kGameMask;
using plugintest::PluginDirectory;
using plugintest::Rig;

class LibraryManagerTest : public Rig {};

struct WindowCase {
  const char* min;
  const char* max;
  std::vector<std::string> classes;   // kept classes, in list order
  float interfaceVersion;             // the interface class that survives, 0 for none
  size_t librariesHeld;               // library entries with a live handle
};

TEST_F(LibraryManagerTest, KeepsClassesInsideTheVersionWindow) {
  const WindowCase cases[] = {
      // 9.99 truncates to 9 and is kept; 10.0 is not; the library without
      // exports and the one without a listed class are not kept either.
      {"0", "9", {"FakeRenderer", "FakeGui", "FakeCommands", "FakeActions", "FakeInput", "FakeSound", "FakeInterface"},
       9.99f, 5},
      // Both interface classes listed: the higher version wins, the loser's
      // library is released.
      {"0", "10", {"FakeRenderer", "FakeGui", "FakeCommands", "FakeActions", "FakeInput", "FakeSound", "FakeInterface"},
       10.0f, 5},
      {"2", "9", {"FakeGui", "FakeInput", "FakeInterface"}, 9.99f, 3},
      {"10", "10", {"FakeInterface"}, 10.0f, 1},
  };
  for (const WindowCase& c : cases) {
    SCOPED_TRACE(std::string(c.min) + ".." + c.max);
    cCore_ConfigManager config;
    config.SetValue("App", "library_path", "path=" + PluginDirectory("services"));
    config.SetValue("App", "resource_path", "res");
    config.SetValue("App", "MinVersion", c.min);
    config.SetValue("App", "MaxVersion", c.max);
    cCore_GlobalWrapper table;
    cCore_LibraryManager manager;
    ASSERT_EQ(manager.Init(0, &config, &table), status::Ok);
    std::vector<std::string> names;
    float interfaceVersion = 0.0f;
    for (const auto& entry : manager.GetClasses()) {
      names.push_back(entry.descriptor->GetName());
      if (entry.descriptor->GetServiceType() == eService_Interface) interfaceVersion = entry.descriptor->GetVersion();
      EXPECT_NE(entry.instance, nullptr);
      EXPECT_NE(manager.GetLibraries()[entry.libraryIndex].handle, nullptr);
    }
    EXPECT_EQ(names, c.classes);
    EXPECT_FLOAT_EQ(interfaceVersion, c.interfaceVersion);
    size_t held = 0;
    for (const auto& library : manager.GetLibraries()) held += library.handle != nullptr;
    EXPECT_EQ(held, c.librariesHeld);
    EXPECT_EQ(table.libraryManager, &manager);
    table.ClearConfigOptions();
    manager.Shutdown(&table);
  }
}

TEST_F(LibraryManagerTest, RefusesToStartWithoutItsSettings) {
  const char* const required[] = {"library_path", "resource_path", "MaxVersion", "MinVersion"};
  for (const char* missing : required) {
    SCOPED_TRACE(missing);
    cCore_ConfigManager partial;
    for (const char* name : required) {
      if (std::string(name) == missing) continue;
      std::string value;
      ASSERT_TRUE(config.GetString("App", name, value));
      partial.SetValue("App", name, value);
    }
    cCore_LibraryManager other;
    EXPECT_EQ(other.Init(kGameMask, &partial, &table), status::Fail);
    EXPECT_TRUE(other.GetLibraries().empty());
    EXPECT_EQ(table.graphics, nullptr);
  }
  EXPECT_EQ(manager.Init(kGameMask, nullptr, &table), status::Fail);
  EXPECT_EQ(manager.Init(kGameMask, &config, nullptr), status::Fail);
}

TEST_F(LibraryManagerTest, PathsFollowTheProgramDirectoryUnlessGivenWhole) {
  manager.SetProgramPath("/opt/game/bin/airport");
  config.SetValue("App", "resource_path", "data");
  ASSERT_EQ(manager.Init(0, &config, &table), status::Ok);
  EXPECT_EQ(manager.GetLibraryPath(), PluginDirectory("services") + "\\");
  EXPECT_EQ(manager.GetResourcePath(), "/opt/game/bin/data\\");
  EXPECT_EQ(table.entityManager->GetResourcePath(), "/opt/game/bin/data\\");
  config.SetValue("App", "resource_path", "PATH=/srv/res/");
  ASSERT_EQ(manager.Init(0, &config, &table), status::Ok);
  EXPECT_EQ(manager.GetResourcePath(), "/srv/res/");
}

TEST_F(LibraryManagerTest, ADirectoryWithoutLibrariesProvidesNoService) {
  UseDirectory("empty");
  EXPECT_EQ(manager.ScanDirectory(), status::Fail);  // before Init: no path at all
  EXPECT_EQ(manager.Init(kGameMask, &config, &table), status::Fail);
  EXPECT_TRUE(manager.GetClasses().empty());
  EXPECT_EQ(manager.ScanDirectory(), status::Fail);
}

TEST_F(LibraryManagerTest, HighestVersionWinsAndEqualVersionsGoToTheLaterLibrary) {
  // conflict_a 2.0, conflict_b 1.0, conflict_c 2.0, scanned in that order.
  UseDirectory("conflict");
  ASSERT_EQ(manager.Init(cCore_LibraryManager::kGraphics, &config, &table), status::Ok);
  ASSERT_EQ(manager.GetClasses().size(), 1u);
  const auto& winner = manager.GetClasses()[0];
  EXPECT_FLOAT_EQ(winner.descriptor->GetVersion(), 2.0f);
  EXPECT_EQ(winner.libraryIndex, 2);
  ASSERT_EQ(manager.GetLibraries().size(), 3u);
  EXPECT_EQ(manager.GetLibraries()[0].handle, nullptr);  // released and cleared
  EXPECT_EQ(manager.GetLibraries()[1].handle, nullptr);
  EXPECT_NE(manager.GetLibraries()[2].handle, nullptr);
  EXPECT_TRUE(Logged("gfx_c created"));
  EXPECT_FALSE(Logged("gfx_a created"));
  EXPECT_FALSE(Logged("gfx_b created"));
  EXPECT_TRUE(Logged("gfx_c Init"));
  const std::string dir = PluginDirectory("conflict");
  EXPECT_FALSE(IsLoaded(dir + "/conflict_a.so"));
  EXPECT_FALSE(IsLoaded(dir + "/conflict_b.so"));
  EXPECT_TRUE(IsLoaded(dir + "/conflict_c.so"));
}

TEST_F(LibraryManagerTest, StartsTheGameServicesInOrderAndBindsThem) {
  ASSERT_EQ(manager.Init(kGameMask, &config, &table), status::Ok);

  // Sound, input, graphics, GUI, each given its paths before it starts.
  const char* const order[] = {"snd Init",          "snd LoadConfig",           "snd Start",
                               "input Start",       "input paths",              "gfx Init",
                               "gfx EnumerateAdapters", "gfx CreateDevice",     "gfx RenderFrame",
                               "gui SetWrapperBlockRef", "gui SetRendererRef",  "gui SetPhysicsRef",
                               "gui SetInputRef",   "gui SetSoundRef",          "gui SetEntityManagerRef",
                               "gui SetActionFactoryRef", "gui SetLanguageManagerRef", "gui Init"};
  int previous = -1;
  for (const char* step : order) {
    const int index = LineIndex(step);
    EXPECT_GT(index, previous) << step;
    previous = index;
  }
  EXPECT_FALSE(Logged("input base Init"));  // the device start replaces the module's Init
  EXPECT_TRUE(Logged("input Start window=(nil) instance=(nil) spare=(nil)"));
  EXPECT_TRUE(Logged("input paths " + PluginDirectory("services") + "\\ /tmp/resources\\"));

  ASSERT_NE(table.sound, nullptr);
  ASSERT_NE(table.input, nullptr);
  ASSERT_NE(table.graphics, nullptr);
  ASSERT_NE(table.gui, nullptr);
  EXPECT_EQ(table.physics, nullptr);
  EXPECT_EQ(table.interfaceModule, nullptr);
  EXPECT_EQ(static_cast<CoreInput*>(table.inputDevices), table.input);
  EXPECT_EQ(table.libraryManager, &manager);

  // The GUI holds the table's slots, not copies of their values.
  EXPECT_EQ(table.gui->GetRenderer(), table.graphics);
  EXPECT_EQ(table.gui->GetWrapperBlockRef(), &table.clientRect);
  EXPECT_EQ(table.gui->GetLanguageManager(), table.languageManager);
  EXPECT_EQ(table.gui->GetActionFactory(), table.actionFactory);
  SoundMgr* sound = table.sound;
  table.SetSound(nullptr);
  EXPECT_EQ(table.gui->GetSound(), nullptr);
  table.SetSound(sound);
  EXPECT_EQ(table.gui->GetSound(), sound);

  // Packages: both actions filed (the duplicate refused), the updating one
  // on the update list; the command package's command registered.
  ASSERT_NE(table.actionFactory, nullptr);
  EXPECT_EQ(table.actionFactory->GetActionCount(), 2u);
  EXPECT_NE(table.actionFactory->GetAction("fakeactionone"), nullptr);
  ASSERT_EQ(table.actionFactory->GetUpdateList().size(), 1u);
  EXPECT_EQ(table.actionFactory->GetUpdateList()[0]->GetName(), "fakeactiontwo");
  EXPECT_NE(table.commandRegistry->Lookup("FakeCommand"), nullptr);

  EXPECT_TRUE(messages.empty());
}

TEST_F(LibraryManagerTest, ASoundServiceThatFailsIsLeftOut) {
  config.SetValue("Sound", "snd_dx8_disable_music", "TRUE");
  config.SetValue("Sound", "snd_dx8_disable_sound", "yes");
  Switch("FAKE_SND_START", "0");
  ASSERT_EQ(manager.Init(kGameMask, &config, &table), status::Ok);
  EXPECT_EQ(table.sound, nullptr);
  EXPECT_NE(table.graphics, nullptr);
  EXPECT_NE(table.gui, nullptr);
  EXPECT_EQ(table.gui->GetSound(), nullptr);
  // The switch read "TRUE" became an option record; "yes" did not.
  EXPECT_TRUE(Logged("snd ApplyConfig snd_dx8_disable_music=true true bool Disable Music 0 1"));
  EXPECT_FALSE(Logged("snd ApplyConfig snd_dx8_disable_sound"));
  EXPECT_TRUE(messages.empty());
}

struct RequiredCase {
  const char* name;
  const char* switchName;
  bool graphicsRolledBack;
};

TEST_F(LibraryManagerTest, ARequiredServiceThatFailsStopsTheStartAndRollsBack) {
  const RequiredCase cases[] = {
      {"input", "FAKE_INPUT_INIT", false},
      {"renderer", "FAKE_GFX_INIT", false},
      {"gui", "FAKE_GUI_INIT", true},
  };
  for (const RequiredCase& c : cases) {
    SCOPED_TRACE(c.name);
    for (const char* name : plugintest::kSwitches) unsetenv(name);
    Switch(c.switchName, "0");
    cCore_GlobalWrapper freshTable;
    cCore_LibraryManager fresh;
    capture.Clear();
    EXPECT_EQ(fresh.Init(kGameMask, &config, &freshTable), status::Fail);
    EXPECT_EQ(freshTable.graphics, nullptr);
    EXPECT_EQ(freshTable.gui, nullptr);
    EXPECT_EQ(freshTable.libraryManager, nullptr);
    EXPECT_EQ(Logged("gfx Shutdown"), c.graphicsRolledBack);
    EXPECT_NE(freshTable.sound, nullptr);  // roll-backs only clear the sound options
    freshTable.ClearConfigOptions();
    fresh.Shutdown(&freshTable);
  }
  EXPECT_TRUE(messages.empty());
}

TEST_F(LibraryManagerTest, ShutdownDestroysEveryModuleAndFreesEveryLibrary) {
  ASSERT_EQ(manager.Init(kGameMask, &config, &table), status::Ok);
  table.ClearConfigOptions();
  manager.Shutdown(&table);
  for (const char* module : {"gfx destroyed", "snd destroyed", "input destroyed", "gui destroyed", "actions destroyed",
                             "commands destroyed"}) {
    EXPECT_TRUE(Logged(module)) << module;
  }
  EXPECT_LT(LineIndex("gfx ReleaseDevice"), LineIndex("gfx destroyed"));
  EXPECT_EQ(table.graphics, nullptr);
  EXPECT_EQ(table.sound, nullptr);
  EXPECT_EQ(table.input, nullptr);
  EXPECT_EQ(table.gui, nullptr);
  EXPECT_TRUE(manager.GetClasses().empty());
  for (const auto& library : manager.GetLibraries()) EXPECT_EQ(library.handle, nullptr);
  for (const char* file : {"fake_gfx.so", "fake_sound.so", "fake_input.so", "fake_gui.so", "iface_v999.so"}) {
    EXPECT_FALSE(IsLoaded(PluginDirectory("services") + "/" + file)) << file;
  }
  manager.Shutdown(&table);  // a second shutdown finds nothing to release
}

// A built test plug-in exports its three entry points and nothing else.
TEST(PluginExports, ExactlyTheThreeEntryPoints) {
  const std::set<std::string> expected = {"GetCoreDesc", "GetDescription", "GetBaseAPIVersion"};
  for (const char* file : {"fake_gfx.so", "fake_sound.so", "fake_input.so", "fake_gui.so", "iface_v999.so"}) {
    SCOPED_TRACE(file);
    const std::string command = "nm -D --defined-only " + PluginDirectory("services") + "/" + file;
    FILE* pipe = popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::set<std::string> symbols;
    char line[1024];
    while (fgets(line, sizeof(line), pipe)) {
      std::istringstream fields(line);
      std::string address, type, name;
      if (fields >> address >> type >> name) symbols.insert(name);
    }
    EXPECT_EQ(pclose(pipe), 0);
    EXPECT_EQ(symbols, expected);
  }
}

}  // namespace
