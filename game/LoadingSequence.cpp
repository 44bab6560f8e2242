// The game manager's loading sequence and its loading bar.
#include <list>
#include <new>

#include "construction/BuildingManager.h"
#include "construction/GamePlot.h"
#include "construction/PathFinder.h"
#include "construction/RoadManager.h"
#include "construction/TaxiwayManager.h"
#include "engine/entity/EntityManager.h"
#include "engine/frame/BaseCursor.h"
#include "engine/frame/ParticleFactory.h"
#include "engine/frame/ParticleService.h"
#include "engine/frame/RenderService.h"
#include "engine/services/C3DPass.h"
#include "engine/services/Core3D.h"
#include "engine/services/GlobalWrapper.h"
#include "engine/services/Panelis.h"
#include "game/GameKV9.h"
#include "game/KV9GameManager.h"
#include "game/WorldPartOps.h"
#include "game/world/TerrainManager.h"
#include "gui/core/GUIEntity.h"
#include "platform/DebugOutput.h"
#include "scene/AlphaManager.h"
#include "scene/AudioManager.h"
#include "scene/ParticleFactoryManager.h"
#include "scene/ParticleFactoryTable.h"
#include "simulation/AirportManager.h"
#include "simulation/AmbientManager.h"
#include "simulation/ContractManager.h"
#include "simulation/EventManager.h"
#include "simulation/GameScenario.h"
#include "simulation/Simulation.h"
#include "simulation/StatManager.h"
#include "simulation/WeatherManager.h"

namespace {

using Names = std::list<std::string>;

ScenarioOps* ScenarioOf(cKV9_GlobalWrapper* table) {
  return table ? dynamic_cast<ScenarioOps*>(table->scenario) : nullptr;
}

}  // namespace

bool cKV9_GameManager::Fail(const std::string& why) {
  failedText_ = GetLoadingText();
  failure_ = why;
  return false;
}

template <typename T>
T* cKV9_GameManager::SpawnManager(const char* spawnName, T** field) {
  cEntity_Base* made = nullptr;
  SpawnEntity(spawnName, &made);
  if (!made) {
    Fail(std::string("no spawn ") + spawnName);
    return nullptr;
  }
  T* typed = dynamic_cast<T*>(made);
  if (!typed) {
    Fail(std::string(spawnName) + " made another kind of entity");
    return nullptr;
  }
  if (field) *field = typed;
  return typed;
}

CoreStatus cKV9_GameManager::InitGameSystem() {
  failedText_.clear();
  failure_.clear();
  auto failed = []() {
    platform::OutputDebugString(std::string(kFailedMessage) + "\n");
    return status::Fail;
  };
  auto stop = [this, &failed](const std::string& why) {
    Fail(why);
    return failed();
  };
  if (!table_) {
    return stop("no game service table");
  }
  cKV9_GlobalWrapper& t = *table_;
  SetLoadingProgress(0, true);

  for (const char* name : kRenderServiceNames) {
    cRenderService* service = FindRenderService(name);
    C3DPass* pass = service ? service->GetRenderPass() : nullptr;
    if (!pass) {
      // Every later step draws into these passes: a missing one is a
      // broken start-up script, not a detail.
      return stop(std::string("no render service ") + name);
    }
    pass->EnableFog();
    pass->SetFogColour(0.5f, 0.5f, 0.5f);
    pass->SetFogDensity(0.001f);
    pass->SetFogValueA(0.5f);
    pass->SetFogValueB(0.9f);
    SetLoadingProgress(2);
  }
  cEntity_Manager* entities = GetEntityManager();
  particleService_ = entities ? dynamic_cast<cParticleService*>(entities->FindEntity("ParticleService")) : nullptr;
  if (!particleService_) {
    return stop("no particle service ParticleService");
  }
  SetLoadingProgress(2);

  // 1. The root game entity and its scenario.
  SetLoadingText("Loading main game...");
  cEntity_GameKV9* game = SpawnManager<cEntity_GameKV9>("SPN::KV9:GAME", &t.game);
  if (!game) return failed();
  if (status::Failed(game->SpawnScenario())) {
    return stop("no spawn SPN::KV9:SCENARIO");
  }
  AddKeySocket(game);
  if (ScenarioOps* scenario = ScenarioOf(table_)) scenario->SetProgressDisplay(1);
  SetLoadingProgress(2);

  // 2. Audio.
  SetLoadingText("Loading audio systems...");
  Names services{"TimeService"};
  cEntity_AudioManager* audio = SpawnManager<cEntity_AudioManager>("SPN::KV9:AUDIO:MANAGER", &t.audioManager);
  if (!audio) return failed();
  if (status::Failed(audio->LoadVolumes())) return stop("SPN::KV9:AUDIO:MANAGER set-up failed");
  mainMenuPending_ = 1;
  AttachToServices(services, audio);
  SetLoadingProgress(2);

  // 3. Alpha manager.
  SetLoadingText("Loading alpha manager...");
  services = {"AlphaService"};
  cEntity_AlphaManager* alpha = SpawnManager<cEntity_AlphaManager>("SPN::KV9:ALPHAMANAGER", &t.alphaManager);
  if (!alpha) return failed();
  if (!alpha->InitLists()) return stop("SPN::KV9:ALPHAMANAGER set-up failed");
  AttachToServices(services, alpha);
  SetLoadingProgress(2);

  // 4. Terrain manager.
  SetLoadingText("Loading terrain manager...");
  services = {"EnvironmentService"};
  terrainManager_ = SpawnManager<cEntity_Base>("SPN::KV9:TERRAIN:MANAGER", nullptr);
  if (!terrainManager_) return failed();
  t.terrainManager = dynamic_cast<cEntity_TerrainManager*>(terrainManager_);
  auto* terrain = dynamic_cast<TerrainManagerOps*>(terrainManager_);
  if (!terrain || status::Failed(terrain->InitTerrain()))
    return stop("SPN::KV9:TERRAIN:MANAGER set-up failed");
  AttachToServices(services, terrainManager_);
  SetLoadingProgress(2);

  // 5. Road manager: materials, result not looked at.
  SetLoadingText("Loading road manager...");
  cEntity_RoadManager* roads = SpawnManager<cEntity_RoadManager>("SPN::KV9:ROAD:MANAGER", &t.roadManager);
  if (!roads) return failed();
  if (auto* ops = dynamic_cast<RoadManagerOps*>(roads)) ops->LoadMaterials();
  SetLoadingProgress(2);

  // 6. Taxiway manager.
  SetLoadingText("Loading taxiway manager...");
  services = {"EnvironmentService"};
  taxiwayManager_ = SpawnManager<cEntity_Base>("SPN::KV9:TAXIWAY:MANAGER", nullptr);
  if (!taxiwayManager_) return failed();
  t.taxiwayManager = dynamic_cast<cEntity_TaxiwayManager*>(taxiwayManager_);
  AttachToServices(services, taxiwayManager_);
  SetLoadingProgress(2);

  // 7. Game plot.
  SetLoadingText("Loading gameplot...");
  services = {"EnvironmentService", "TimeService"};
  cEntity_GamePlot* plot = SpawnManager<cEntity_GamePlot>("SPN::KV9:GAMEPLOT", &t.gamePlot);
  if (!plot) return failed();
  AttachToServices(services, plot);
  SetLoadingProgress(2);

  // 8. Ambient traffic.
  SetLoadingText("Loading ambient manager...");
  services = {"AmbientRenderService", "TimeService"};
  ambientManager_ = SpawnManager<cEntity_Base>("SPN::KV9:AMBIENTMANAGER", nullptr);
  if (!ambientManager_) return failed();
  t.ambientManager = dynamic_cast<cEntity_AmbientManager*>(ambientManager_);
  auto* ambient = dynamic_cast<AmbientManagerOps*>(ambientManager_);
  if (!ambient || status::Failed(ambient->LoadSettings()))
    return stop("SPN::KV9:AMBIENTMANAGER set-up failed");
  AttachToServices(services, ambientManager_);
  SetLoadingProgress(2);

  // 9. Contracts.
  SetLoadingText("Loading contract manager...");
  cEntity_ContractManager* contracts =
      SpawnManager<cEntity_ContractManager>(cEntity_ContractManager::kSpawnName, &t.contractManager);
  if (!contracts) return failed();
  SetLoadingProgress(27);

  // 10. Buildings; then the contracts start with the building tables read.
  SetLoadingText("Loading building manager...");
  services = {"RenderService", "TimeService"};
  cEntity_BuildingManager* buildings =
      SpawnManager<cEntity_BuildingManager>("SPN::KV9:BUILDINGMANAGER", &t.buildingManager);
  if (!buildings) return failed();
  if (auto* ops = dynamic_cast<BuildingManagerOps*>(buildings)) ops->LoadDataTables();
  SetLoadingProgress(13);
  contracts->Init();
  AttachToServices(services, buildings);
  SetLoadingProgress(2);

  // 11. The simulation; its Init spawns the airline and event managers.
  SetLoadingText("Loading simulator...");
  services = {"TimeService"};
  cEntity_Simulation* simulation = SpawnManager<cEntity_Simulation>(cEntity_Simulation::kSpawnName, &t.simulation);
  if (!simulation) return failed();
  AttachToServices(services, simulation);
  simulation->Init();
  SetLoadingProgress(4);

  // 12. The path finder is made, not spawned.
  SetLoadingText("Loading pathfinder...");
  if (!t.pathFinder) t.pathFinder = pathFinder_ = new (std::nothrow) cPathFinder();

  // 13. Weather.
  SetLoadingText("Loading weather manager...");
  cEntity_WeatherManager* weather =
      SpawnManager<cEntity_WeatherManager>("SPN::KV9:WEATHERMANAGER", &t.weatherManager);
  if (!weather) return failed();
  auto* weatherOps = dynamic_cast<WeatherManagerOps*>(weather);
  if (!weatherOps || status::Failed(weatherOps->Init()))
    return stop("SPN::KV9:WEATHERMANAGER set-up failed");
  SetLoadingProgress(2);

  // 14. Events: the simulation has made the event manager already; it is
  // initialised, not spawned a second time.
  SetLoadingText("Loading event manager...");
  cEntity_EventManager* events = t.eventManager;
  if (!events) events = SpawnManager<cEntity_EventManager>(cEntity_EventManager::kSpawnName, &t.eventManager);
  if (!events) return failed();
  if (status::Failed(events->Init())) return stop(std::string(cEntity_EventManager::kSpawnName) + " set-up failed");
  SetLoadingProgress(2);

  // 15. Statistics.
  SetLoadingText("Loading statistics manager...");
  if (!SpawnManager<cEntity_StatManager>(cEntity_StatManager::kSpawnName, &t.statManager)) return failed();
  SetLoadingProgress(2);

  // 16. Airport manager.
  SetLoadingText("Loading airport manager...");
  cEntity_AirportManager* airport =
      SpawnManager<cEntity_AirportManager>("SPN::KV9:AIRPORTMANAGER", &t.airportManager);
  if (!airport) return failed();
  auto* airportOps = dynamic_cast<StartStopOps*>(airport);
  if (!airportOps || status::Failed(airportOps->Init()))
    return stop("SPN::KV9:AIRPORTMANAGER set-up failed");
  SetLoadingProgress(2);

  // 17. Particle effects (the loading text stays).
  cEntity_ParticleFactoryManager* effects = SpawnManager<cEntity_ParticleFactoryManager>(
      "SPN::KV9:PARTICLE:FACTORY:MANAGER", &t.particleFactoryManager);
  if (!effects) return failed();
  if (status::Failed(effects->InitEffects())) return stop("SPN::KV9:PARTICLE:FACTORY:MANAGER set-up failed");
  SetLoadingProgress(2);

  // 18. The factory table.
  SetLoadingText("Loading particle system...");
  if (status::Failed(LoadFactories())) return failed();
  SetLoadingProgress(2);

  // 19. One factory entity per definition.
  if (status::Failed(SpawnParticleFactories())) return failed();
  SetLoadingProgress(2);

  // 20. Done.
  SetLoadingText("Loading interface...");
  platform::OutputDebugString(std::string(kFinishedMessage) + "\n");
  if (onFinished_) onFinished_(finishedContext_);
  SetLoadingProgress(2);
  return status::Ok;
}

CoreStatus cKV9_GameManager::LoadFactories() {
  cEntity_Manager* entities = GetEntityManager();
  cParticleFactoryTable table;
  FactoryTableResult result;
  if (status::Failed(table.Load(entities ? entities->GetResourcePath() : std::string(), kFactoryTable, particleService_,
                                table_ ? table_->graphics : nullptr, &result))) {
    Fail(std::string("cannot read ") + kFactoryTable);
    return status::Fail;
  }
  defaultRainFactory = result.defaultRain;
  defaultSnowFactory = result.defaultSnow;
  defaultSmokeFactory = result.defaultSmoke;
  return status::Ok;
}

CoreStatus cKV9_GameManager::SpawnParticleFactories() {
  cEntity_Manager* entities = GetEntityManager();
  const int32_t count = particleService_->GetFactoryCount();
  particleFactories_.assign(static_cast<size_t>(count), nullptr);
  for (int32_t i = 0; i < count; ++i) {
    cEntity_Base* made = nullptr;
    if (entities) entities->CreateEntityByName(cEntity_ParticleFactory::kSpawnName, &made);
    auto* factory = dynamic_cast<cEntity_ParticleFactory*>(made);
    if (!factory) {
      if (made) made->MarkForRemoval();
      Fail(std::string("no spawn ") + cEntity_ParticleFactory::kSpawnName);
      return status::Fail;
    }
    particleFactories_[static_cast<size_t>(i)] = factory;
    particleService_->AddItem(factory);
    factory->Initialize();
    if (table_) factory->SetRenderer(table_->graphics);
    if (status::Failed(factory->cParticleServiceItem::Init(static_cast<uint16_t>(i)))) {
      Fail(std::string(cEntity_ParticleFactory::kSpawnName) + " set-up failed");
      return status::Fail;
    }
    Names services{"AlphaService", "TimeService"};
    AttachToServices(services, factory);
  }
  return status::Ok;
}

int32_t cKV9_GameManager::SetLoadingProgress(uint32_t steps, bool reset) {
  if (table_ && table_->scenario) {
    ScenarioOps* scenario = ScenarioOf(table_);
    if (!scenario || scenario->GetProgressDisplay() == 0) return 0;
  }
  if (!scaleRead_ && loadingBar_) {
    fullScale_ = *loadingBar_->GetScaleXPtr();
    scaleRead_ = true;
  }
  if (reset) {
    if (loadingBar_) {
      loadingBar_->GetUV0(uvRange_);
      fullScale_ = *loadingBar_->GetScaleXPtr();
      scaleRead_ = true;
    }
    fraction_ = 0.0f;
  } else {
    fraction_ += static_cast<float>(steps) * 0.01f;
    if (fraction_ > 1.0f) fraction_ = 1.0f;
  }
  if (steps >= 100) {
    Panelis* gui = table_ ? table_->gui : nullptr;
    if (loadingBar_) loadingBar_->SetVisible(0);
    if (gui) {
      GUIEntity* scene = gui->FindEntity("scnLoading");
      if (!scene) scene = gui->FindEntity("scnMMLoading");
      if (scene) scene->SetVisible(0);
    }
    if (cEntity_BaseCursor* cursor = GetCursor()) cursor->Show();
  }
  if (loadingBar_) {
    const float a = uvRange_[0];
    const float b = uvRange_[1];
    loadingBar_->SetUV0(a, a + (b - a) * fraction_);
    loadingBar_->SetScale(fraction_ * fullScale_, *loadingBar_->GetScaleYPtr(), *loadingBar_->GetScaleZPtr(), true);
  }
  g_loadingFrameInProgress = true;
  Core3D* renderer = table_ ? table_->graphics : nullptr;
  if (!g_mainFrameRenderInProgress && renderer) {
    renderer->Update(0.01f);
    renderer->RenderFrame();
  }
  g_loadingFrameInProgress = false;
  return 1;
}
