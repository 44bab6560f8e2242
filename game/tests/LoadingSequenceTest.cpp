// The game manager's loading sequence with the other parts' managers faked:
// the order of the spawns and their loading texts, the services each joins,
// the loading bar, the main-menu entry, every marked step failing, and the
// order of the world build and the world reset.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "engine/entity/EntityManager.h"
#include "engine/frame/ParticleFactory.h"
#include "engine/frame/ParticleService.h"
#include "engine/frame/RenderService.h"
#include "game/GameKV9.h"
#include "game/tests/GameTestWorld.h"
#include "gui/core/GUIStatic.h"
#include "scene/AlphaManager.h"
#include "scene/AudioManager.h"
#include "scene/ParticleFactoryManager.h"
#include "simulation/AirlineManager.h"
#include "simulation/ContractManager.h"
#include "simulation/EventManager.h"
#include "simulation/Simulation.h"
#include "simulation/StatManager.h"

namespace gametest {
namespace {

std::vector<std::string> Made(const std::vector<std::string>& calls) {
  std::vector<std::string> made;
  for (const std::string& c : calls) {
    if (c.rfind("made ", 0) == 0) made.push_back(c);
  }
  return made;
}

// The calls from the first one that starts with `from`.
std::vector<std::string> CallsFrom(const std::vector<std::string>& calls, size_t first) {
  return std::vector<std::string>(calls.begin() + static_cast<std::ptrdiff_t>(first), calls.end());
}

template <typename T>
bool InRenderService(GameWorld& w, const char* service, T* entity) {
  auto* rs = w.FindAs<cRenderService>(service);
  if (!rs) return false;
  for (int32_t i = 0; i < rs->GetItemCount(); ++i) {
    if (rs->GetItem(i) == static_cast<cRenderServiceItem*>(entity)) return true;
  }
  return false;
}

template <typename T>
bool InTimeService(GameWorld& w, T* entity) {
  auto* ts = w.FindAs<TimeService>("TimeService");
  if (!ts) return false;
  for (int32_t i = 0; i < ts->GetItemCount(); ++i) {
    if (ts->GetItem(i) == static_cast<TimeServiceItem*>(entity)) return true;
  }
  return false;
}

TEST(LoadingSequence, SpawnsEveryManagerInOrderWithItsText) {
  GameWorld w;
  ASSERT_EQ(w.Load(), status::Ok) << w.manager->GetLoadingFailure();
  EXPECT_TRUE(w.manager->GetLoadingFailure().empty());
  const std::vector<std::string> expected = {
      "made SPN::KV9:SCENARIO at Loading main game...",
      "made SPN::KV9:TERRAIN:MANAGER at Loading terrain manager...",
      "made SPN::KV9:ROAD:MANAGER at Loading road manager...",
      "made SPN::KV9:TAXIWAY:MANAGER at Loading taxiway manager...",
      "made SPN::KV9:GAMEPLOT at Loading gameplot...",
      "made SPN::KV9:AMBIENTMANAGER at Loading ambient manager...",
      "made SPN::KV9:BUILDINGMANAGER at Loading building manager...",
      "made SPN::KV9:WEATHERMANAGER at Loading weather manager...",
      "made SPN::KV9:AIRPORTMANAGER at Loading airport manager...",
  };
  EXPECT_EQ(Made(Log().calls), expected);

  // The game manager's own entities, in spawn order, by class.
  const std::vector<cEntity_Base*>& entities = w.manager->GetEntities();
  std::vector<std::string> kinds;
  for (cEntity_Base* e : entities) {
    if (dynamic_cast<cEntity_GameKV9*>(e)) kinds.push_back("game");
    else if (dynamic_cast<LScenario*>(e)) kinds.push_back("scenario");
    else if (dynamic_cast<cEntity_AudioManager*>(e)) kinds.push_back("audio");
    else if (dynamic_cast<cEntity_AlphaManager*>(e)) kinds.push_back("alpha");
    else if (dynamic_cast<LTerrain*>(e)) kinds.push_back("terrain");
    else if (dynamic_cast<LRoads*>(e)) kinds.push_back("roads");
    else if (dynamic_cast<LTaxiways*>(e)) kinds.push_back("taxiways");
    else if (dynamic_cast<LPlot*>(e)) kinds.push_back("plot");
    else if (dynamic_cast<LAmbient*>(e)) kinds.push_back("ambient");
    else if (dynamic_cast<cEntity_ContractManager*>(e)) kinds.push_back("contracts");
    else if (dynamic_cast<LBuildings*>(e)) kinds.push_back("buildings");
    else if (dynamic_cast<cEntity_Simulation*>(e)) kinds.push_back("simulation");
    else if (dynamic_cast<cEntity_AirlineManager*>(e)) kinds.push_back("airlines");
    else if (dynamic_cast<cEntity_EventManager*>(e)) kinds.push_back("events");
    else if (dynamic_cast<LWeather*>(e)) kinds.push_back("weather");
    else if (dynamic_cast<cEntity_StatManager*>(e)) kinds.push_back("stats");
    else if (dynamic_cast<LAirport*>(e)) kinds.push_back("airport");
    else if (dynamic_cast<cEntity_ParticleFactoryManager*>(e)) kinds.push_back("effects");
    else kinds.push_back("other");
  }
  const std::vector<std::string> order = {"game", "scenario", "audio", "alpha", "terrain", "roads", "taxiways",
                                          "plot", "ambient", "contracts", "buildings", "simulation", "airlines",
                                          "events", "weather", "stats", "airport", "effects"};
  EXPECT_EQ(kinds, order);

  // Only one event manager: the simulation's, initialised by the sequence.
  EXPECT_EQ(std::count(kinds.begin(), kinds.end(), "events"), 1);
  cKV9_GlobalWrapper& t = w.table;
  EXPECT_EQ(t.eventManager, w.table.simulation->GetEventManager());
  EXPECT_NE(t.pathFinder, nullptr);
  EXPECT_NE(t.game, nullptr);
  EXPECT_EQ(t.scenario, t.game->GetScenario());
}

TEST(LoadingSequence, SetUpCallsAndServices) {
  GameWorld w;
  ASSERT_EQ(w.Load(), status::Ok) << w.manager->GetLoadingFailure();
  const std::vector<std::string>& calls = Log().calls;
  auto has = [&](const std::string& c) { return std::find(calls.begin(), calls.end(), c) != calls.end(); };
  for (const char* c : {"terrain InitTerrain", "roads LoadMaterials", "ambient LoadSettings",
                        "buildings LoadDataTables", "weather Init", "airport Init"})
    EXPECT_TRUE(has(c)) << c;
  // The set-up texts follow the spawns they belong to.
  auto at = [&](const std::string& c) { return std::find(calls.begin(), calls.end(), c) - calls.begin(); };
  EXPECT_LT(at("made SPN::KV9:TERRAIN:MANAGER at Loading terrain manager..."), at("terrain InitTerrain"));
  EXPECT_LT(at("terrain InitTerrain"), at("made SPN::KV9:ROAD:MANAGER at Loading road manager..."));

  cKV9_GlobalWrapper& t = w.table;
  auto* terrain = dynamic_cast<LTerrain*>(w.manager->GetTerrainManagerEntity());
  auto* taxiways = dynamic_cast<LTaxiways*>(w.manager->GetTaxiwayManagerEntity());
  auto* ambient = dynamic_cast<LAmbient*>(w.manager->GetAmbientManagerEntity());
  auto* plot = dynamic_cast<LPlot*>(t.gamePlot);
  auto* buildings = dynamic_cast<LBuildings*>(t.buildingManager);
  auto* roads = dynamic_cast<LRoads*>(t.roadManager);
  ASSERT_TRUE(terrain && taxiways && ambient && plot && buildings && roads);
  struct Case {
    const char* what;
    bool joined;
    bool expected;
  } cases[] = {
      {"terrain in EnvironmentService", InRenderService(w, "EnvironmentService", terrain), true},
      {"taxiways in EnvironmentService", InRenderService(w, "EnvironmentService", taxiways), true},
      {"plot in EnvironmentService", InRenderService(w, "EnvironmentService", plot), true},
      {"plot in TimeService", InTimeService(w, plot), true},
      {"ambient in AmbientRenderService", InRenderService(w, "AmbientRenderService", ambient), true},
      {"ambient in TimeService", InTimeService(w, ambient), true},
      {"buildings in RenderService", InRenderService(w, "RenderService", buildings), true},
      {"buildings in TimeService", InTimeService(w, buildings), true},
      {"roads in no render service", InRenderService(w, "RenderService", roads) ||
                                         InRenderService(w, "EnvironmentService", roads), false},
      {"audio in TimeService", InTimeService(w, t.audioManager), true},
      {"alpha in AlphaService", InRenderService(w, "AlphaService", t.alphaManager), true},
      {"simulation in TimeService", InTimeService(w, t.simulation), true},
  };
  for (const Case& c : cases) EXPECT_EQ(c.joined, c.expected) << c.what;

  // Every render service's pass got the fog settings.
  for (const char* name : cKV9_GameManager::kRenderServiceNames) {
    auto* pass = static_cast<fake3d::FakePass*>(w.FindAs<cRenderService>(name)->GetRenderPass());
    EXPECT_TRUE(pass->fogOn) << name;
    EXPECT_FLOAT_EQ(pass->fogDensity, 0.001f) << name;
    EXPECT_FLOAT_EQ(pass->fogColour[1], 0.5f) << name;
    EXPECT_FLOAT_EQ(pass->fogA, 0.5f) << name;
    EXPECT_FLOAT_EQ(pass->fogB, 0.9f) << name;
  }
}

TEST(LoadingSequence, FactoriesFromTheTableOneEntityEach) {
  GameWorld w;
  ASSERT_EQ(w.Load(), status::Ok) << w.manager->GetLoadingFailure();
  cParticleService* service = w.manager->GetParticleService();
  ASSERT_NE(service, nullptr);
  const int32_t n = service->GetFactoryCount();
  ASSERT_GE(n, 11);
  ASSERT_EQ(w.manager->GetParticleFactoryCount(), n);
  for (int32_t i = 0; i < n; ++i) {
    cEntity_ParticleFactory* factory = w.manager->GetParticleFactory(static_cast<uint16_t>(i));
    ASSERT_NE(factory, nullptr) << i;
    ParticleFactoryParams params;
    service->GetFactory(static_cast<uint16_t>(i), &params);
    EXPECT_EQ(factory->GetParams().name, params.name) << i;
    // Made by the entity manager directly, not kept with the game manager's.
    const auto& own = w.manager->GetEntities();
    EXPECT_EQ(std::find(own.begin(), own.end(), factory), own.end()) << i;
  }
  EXPECT_EQ(w.manager->GetParticleFactory(static_cast<uint16_t>(n)), nullptr);
  EXPECT_EQ(w.manager->GetParticleFactory(0)->GetParams().name, "Default Factory");
  EXPECT_EQ(w.manager->defaultSnowFactory, 2);
  EXPECT_EQ(w.manager->defaultRainFactory, 8);
  EXPECT_EQ(w.manager->defaultSmokeFactory, 5);
  EXPECT_EQ(w.manager->FindParticleFactory("default rain"), w.manager->GetParticleFactory(8));
  EXPECT_EQ(w.manager->FindParticleFactory(nullptr), nullptr);
  EXPECT_EQ(w.manager->FindParticleFactory("no such factory"), nullptr);
}

TEST(LoadingSequence, BarAdvancesAndTheFirstFrameEntersTheMainMenu) {
  GameWorld w;
  std::unique_ptr<GUIStatic> owned(new GUIStatic(w.table.entityManager));
  GUIStatic* bar = owned.get();
  bar->ScaleBy(2.5f, 0.8f, 1.0f, true);
  bar->SetUVCoords(0.0f, 0.0f, 1.0f, 0.3359375f);
  w.manager->SetLoadingBar(bar);
  const int32_t framesBefore = w.renderer.frames;
  ASSERT_EQ(w.Load(), status::Ok) << w.manager->GetLoadingFailure();
  // Fog 4 x 2, particle service 2, then the steps' 78.
  EXPECT_NEAR(w.manager->GetLoadingFraction(), 0.88f, 1e-4f);
  EXPECT_NEAR(*bar->GetScaleXPtr(), 0.88f * 2.5f, 1e-4f);
  float uv[2];
  bar->GetUV0(uv);
  EXPECT_NEAR(uv[0], 0.0f, 1e-6f);
  EXPECT_NEAR(uv[1], 0.88f, 1e-4f);
  // Every advance draws a frame.
  EXPECT_GT(w.renderer.frames, framesBefore + 20);
  EXPECT_TRUE(w.manager->IsMainMenuPending());

  w.manager->Update();
  EXPECT_FALSE(w.manager->IsMainMenuPending());
  EXPECT_FLOAT_EQ(w.manager->GetLoadingFraction(), 1.0f);
  EXPECT_EQ(*bar->IsVisiblePtr(), 0);
  // Once only.
  const int32_t frames = w.renderer.frames;
  w.manager->Update();
  EXPECT_EQ(w.renderer.frames, frames);
}

TEST(LoadingSequence, ProgressIsSilentWhileTheScenarioHidesIt) {
  GameWorld w;
  ASSERT_EQ(w.Load(), status::Ok);
  auto* scenario = dynamic_cast<LScenario*>(w.table.scenario);
  ASSERT_NE(scenario, nullptr);
  const float before = w.manager->GetLoadingFraction();
  scenario->progress = 0;
  const int32_t frames = w.renderer.frames;
  EXPECT_EQ(w.manager->SetLoadingProgress(5), 0);
  EXPECT_EQ(w.renderer.frames, frames);
  EXPECT_FLOAT_EQ(w.manager->GetLoadingFraction(), before);
  scenario->progress = 1;
  EXPECT_EQ(w.manager->SetLoadingProgress(0, true), 1);
  EXPECT_FLOAT_EQ(w.manager->GetLoadingFraction(), 0.0f);
  for (int i = 0; i < 150; ++i) w.manager->SetLoadingProgress(1);
  EXPECT_FLOAT_EQ(w.manager->GetLoadingFraction(), 1.0f);
}

TEST(LoadingSequence, EachMarkedStepStopsTheSequenceAndSaysWhere) {
  struct Case {
    const char* name;
    const char* leaveOut;  // a fake spawn not registered
    const char* failSetUp; // a fake whose marked set-up fails
    const char* text;
    const char* why;
  } cases[] = {
      {"no scenario", LScenario::kSpawn, "", "Loading main game...", "no spawn SPN::KV9:SCENARIO"},
      {"no terrain", LTerrain::kSpawn, "", "Loading terrain manager...", "no spawn SPN::KV9:TERRAIN:MANAGER"},
      {"terrain set-up", "", LTerrain::kSpawn, "Loading terrain manager...",
       "SPN::KV9:TERRAIN:MANAGER set-up failed"},
      {"no roads", LRoads::kSpawn, "", "Loading road manager...", "no spawn SPN::KV9:ROAD:MANAGER"},
      {"no taxiways", LTaxiways::kSpawn, "", "Loading taxiway manager...", "no spawn SPN::KV9:TAXIWAY:MANAGER"},
      {"no plot", LPlot::kSpawn, "", "Loading gameplot...", "no spawn SPN::KV9:GAMEPLOT"},
      {"no ambient", LAmbient::kSpawn, "", "Loading ambient manager...", "no spawn SPN::KV9:AMBIENTMANAGER"},
      {"ambient set-up", "", LAmbient::kSpawn, "Loading ambient manager...",
       "SPN::KV9:AMBIENTMANAGER set-up failed"},
      {"no buildings", LBuildings::kSpawn, "", "Loading building manager...",
       "no spawn SPN::KV9:BUILDINGMANAGER"},
      {"no weather", LWeather::kSpawn, "", "Loading weather manager...", "no spawn SPN::KV9:WEATHERMANAGER"},
      {"weather set-up", "", LWeather::kSpawn, "Loading weather manager...",
       "SPN::KV9:WEATHERMANAGER set-up failed"},
      {"no airport", LAirport::kSpawn, "", "Loading airport manager...", "no spawn SPN::KV9:AIRPORTMANAGER"},
      {"airport set-up", "", LAirport::kSpawn, "Loading airport manager...",
       "SPN::KV9:AIRPORTMANAGER set-up failed"},
  };
  for (const Case& c : cases) {
    GameWorld w;
    if (*c.failSetUp) Log().failSetUp.push_back(c.failSetUp);
    EXPECT_EQ(w.Load(c.leaveOut), status::Fail) << c.name;
    EXPECT_EQ(w.manager->GetFailedStepText(), c.text) << c.name;
    EXPECT_EQ(w.manager->GetLoadingFailure(), c.why) << c.name;
    // Nothing after the failing step was spawned.
    EXPECT_EQ(w.table.particleFactoryManager, nullptr) << c.name;
    EXPECT_TRUE(w.manager->IsMainMenuPending() == (std::string(c.text) != "Loading main game...")) << c.name;
  }
}

TEST(LoadingSequence, MissingServicesFailTheirStep) {
  struct Case {
    const char* name;
    const char* script;
    const char* why;
  } cases[] = {
      {"no alpha service",
       "timeservice TimeService {\n}\nrenderservice RenderService {\n}\nrenderservice EnvironmentService {\n}\n"
       "renderservice AmbientRenderService {\n}\nparticleservice ParticleService {\n}\n",
       "no render service AlphaService"},
      {"no particle service",
       "timeservice TimeService {\n}\nrenderservice RenderService {\n}\nrenderservice EnvironmentService {\n}\n"
       "renderservice AmbientRenderService {\n}\nrenderservice AlphaService {\n}\n",
       "no particle service ParticleService"},
  };
  for (const Case& c : cases) {
    GameWorld w;
    ASSERT_EQ(w.Init(c.script), status::Ok) << c.name;
    EXPECT_EQ(w.manager->InitGameSystem(), status::Fail) << c.name;
    EXPECT_EQ(w.manager->GetLoadingFailure(), c.why) << c.name;
    EXPECT_EQ(w.table.game, nullptr) << c.name;
  }
}

TEST(LoadingSequence, WorldBuildAndResetOrder) {
  GameWorld w;
  ASSERT_EQ(w.Load(), status::Ok);
  size_t start = Log().calls.size();
  ASSERT_EQ(w.manager->BuildWorld(false), status::Ok);
  const std::vector<std::string> build = {
      "terrain BuildWorld", "plot BuildWorld",     "plot placement 1", "roads BuildWorld",
      "buildings RelinkAfterLoad", "taxiways BuildWorld", "plot placement 0", "weather Start",
      "airport Start",      "scenario Start",      "ambient RegisterAndRestore"};
  EXPECT_EQ(CallsFrom(Log().calls, start), build);
  EXPECT_EQ(w.table.alphaManager->GetUpdateeCapacity(), 16u);

  start = Log().calls.size();
  ASSERT_EQ(w.manager->ClearWorld(), status::Ok);
  const std::vector<std::string> clear = {"airport Stop",  "weather Stop",   "ambient Clear", "buildings Reset",
                                          "plot ClearWorld", "roads Clear",  "taxiways Clear", "terrain Stop",
                                          "scenario Stop"};
  EXPECT_EQ(CallsFrom(Log().calls, start), clear);
}

TEST(LoadingSequence, PartialLoadStillClearsAndTerminates) {
  GameWorld w;
  ASSERT_EQ(w.Load(LWeather::kSpawn), status::Fail);
  // Managers after the failing step do not exist; the reset skips them.
  EXPECT_EQ(w.manager->ClearWorld(), status::Ok);
  w.manager->Terminate();
  EXPECT_EQ(w.table.pathFinder, nullptr);
  EXPECT_EQ(w.manager->GetParticleFactoryCount(), 0);
}

}  // namespace
}  // namespace gametest
