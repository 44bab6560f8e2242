#include "game/tests/GameTestWorld.h"

#include "base/StringUtil.h"
#include "engine/entity/ActionFactory.h"
#include "engine/entity/ActionManager.h"
#include "engine/entity/EntityManager.h"
#include "platform/Paths.h"
#include "scene/KV9InputManager.h"

#include <filesystem>

namespace gametest {

FakeLog& Log() {
  static FakeLog log;
  return log;
}

std::vector<std::unique_ptr<cSpawn_Base>> MakeFakeSpawns() {
  std::vector<std::unique_ptr<cSpawn_Base>> spawns;
  spawns.push_back(std::make_unique<FakeSpawn<LScenario>>());
  spawns.push_back(std::make_unique<FakeSpawn<LTerrain>>());
  spawns.push_back(std::make_unique<FakeSpawn<LRoads>>());
  spawns.push_back(std::make_unique<FakeSpawn<LTaxiways>>());
  spawns.push_back(std::make_unique<FakeSpawn<LPlot>>());
  spawns.push_back(std::make_unique<FakeSpawn<LAmbient>>());
  spawns.push_back(std::make_unique<FakeSpawn<LBuildings>>());
  spawns.push_back(std::make_unique<FakeSpawn<LWeather>>());
  spawns.push_back(std::make_unique<FakeSpawn<LAirport>>());
  return spawns;
}

std::string DataDir() { return std::string(GAME_SOURCE_DIR) + "/data/"; }

WorkingDirectory::WorkingDirectory(const std::string& folder) : previous_(std::filesystem::current_path().string()) {
  std::filesystem::current_path(folder);
  platform::ClearPathCache();
}

WorkingDirectory::~WorkingDirectory() {
  std::error_code ignored;
  std::filesystem::current_path(previous_, ignored);
  platform::ClearPathCache();
}

const char* const kServicesScript =
    "timeservice TimeService {\n}\n"
    "renderservice RenderService {\n}\n"
    "renderservice EnvironmentService {\n}\n"
    "renderservice AmbientRenderService {\n}\n"
    "renderservice AlphaService {\n}\n"
    "particleservice ParticleService {\n}\n"
    "gamecamera MainCamera {\n}\n"
    "camera CursorCamera {\n}\n"
    "gamecursor MainCursor {\n property Camera CursorCamera;\n}\n";

namespace {
cKV9_GameManager* g_textSource = nullptr;
std::string CurrentLoadingText() { return g_textSource ? g_textSource->GetLoadingText() : std::string(); }
}  // namespace

GameWorld::GameWorld()
    : table(cKV9_GlobalWrapper::InputManagerHooks{&cKV9_InputManager::Create, &cKV9_InputManager::Destroy}) {
  Log() = FakeLog();
  table.SetGraphics(&renderer);
  table.SetConfigManager(&config);
  table.clientRect = platform::RECT{0, 0, 800, 600};
  table.entityManager->SetResourcePath(DataDir());
  config.GetParser()->SetTarget(&table);
  config.LoadConfig(DataDir() + "base.cfg");
  manager = std::make_unique<cKV9_GameManager>(table.entityManager);
  table.gameManager = manager.get();
  cKV9_ConfigManager::SetBindingTable(&table);
  g_textSource = manager.get();
  Log().loadingText = &CurrentLoadingText;
}

GameWorld::~GameWorld() {
  manager->Shutdown();
  table.ClearConfigOptions();
  manager.reset();
  table.gameManager = nullptr;
  g_textSource = nullptr;
  Log().loadingText = nullptr;
  cKV9_ConfigManager::SetBindingTable(nullptr);
}

CoreStatus GameWorld::Init(const std::string& script) {
  dir.Write("startup.cfg", script);
  manager->SetStartupScript(dir.File("startup.cfg"));
  return manager->Init(&config);
}

void GameWorld::Replace(cSpawn_Base* fake, bool file) {
  if (cActionManager* actions = manager->GetActionManager()) {
    for (cSpawn_Base* own : actions->GetSpawns()) {
      if (str::EqualsNoCase(own->GetName(), fake->GetName())) table.actionFactory->UnregisterSpawn(own);
    }
  }
  if (file) table.actionFactory->RegisterSpawn(fake);
}

CoreStatus GameWorld::Load(const std::string& leaveOut) {
  if (status::Failed(Init())) return status::Fail;
  fakeSpawns = MakeFakeSpawns();
  for (auto& spawn : fakeSpawns) Replace(spawn.get(), !str::EqualsNoCase(spawn->GetName(), leaveOut));
  return manager->InitGameSystem();
}

CoreStatus GameWorld::LoadRealTable(const std::vector<std::string>& fakes) {
  if (status::Failed(Init())) return status::Fail;
  fakeSpawns = MakeFakeSpawns();
  for (auto& spawn : fakeSpawns) {
    for (const std::string& name : fakes) {
      if (str::EqualsNoCase(spawn->GetName(), name)) Replace(spawn.get(), true);
    }
  }
  return manager->InitGameSystem();
}

cEntity_Base* GameWorld::Find(const std::string& name) { return table.entityManager->FindEntity(name); }

}  // namespace gametest
