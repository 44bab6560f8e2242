#pragma once
// The real engine core put together for the frame tests: the game's service
// table with its registries and entity manager, a configuration manager
// whose reader runs command scripts, a recording renderer in the graphics
// slot, a test clock, and an engine game manager.
#include <memory>
#include <string>

#include "engine/config/ConfigManager.h"
#include "engine/entity/EntityManager.h"
#include "engine/frame/GameManager.h"
#include "engine/services/GlobalWrapper.h"
#include "platform/tests/ScratchDir.h"
#include "engine/services/tests/FakeCore3D.h"
#include "platform/Clock.h"
#include "platform/DebugOutput.h"

namespace frametest {

// The engine leaves the key-handler slots to the game; the game fills them
// with no-ops.
class TestGameManager : public cGameManager {
 public:
  using cGameManager::cGameManager;
  CoreStatus RegisterKeyHandlers(cGM_ConfigManager*) override { return status::Ok; }
  CoreStatus ReloadKeyHandlers(cGM_ConfigManager*) override { return status::Ok; }
  CoreStatus UnregisterKeyHandlers(cGM_ConfigManager*) override { return status::Ok; }
};

struct FrameWorld {
  platform::TestClock clock;
  fake3d::FakeCore3D renderer;
  cKV9_GlobalWrapper table;
  cCore_ConfigManager config;
  ScratchDir dir;
  std::unique_ptr<TestGameManager> manager;

  FrameWorld() {
    table.SetGraphics(&renderer);
    table.SetConfigManager(&config);
    table.clientRect = platform::RECT{0, 0, 800, 600};
    manager = std::make_unique<TestGameManager>(table.entityManager);
  }
  ~FrameWorld() { manager.reset(); }

  // Writes the start-up script and runs the game manager's Init with it.
  CoreStatus Init(const std::string& script) {
    dir.Write("base.cfg", script);
    manager->SetStartupScript(dir.File("base.cfg"));
    return manager->Init(&config);
  }
  cEntity_Base* Find(const std::string& name) { return table.entityManager->FindEntity(name); }
};

}  // namespace frametest
