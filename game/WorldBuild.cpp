// The game manager's world build, world reset and final teardown. Each step
// runs only when its manager exists (a partly loaded game still clears).
#include <cfloat>

#include "construction/BuildingManager.h"
#include "construction/GamePlot.h"
#include "construction/PathFinder.h"
#include "construction/RoadManager.h"
#include "engine/frame/ParticleFactory.h"
#include "engine/frame/ParticleService.h"
#include "engine/frame/TimeService.h"
#include "engine/services/C3DModel.h"
#include "engine/services/GlobalWrapper.h"
#include "game/KV9ActionManager.h"
#include "game/KV9GameManager.h"
#include "game/WorldPartOps.h"
#include "platform/DebugOutput.h"
#include "scene/AlphaManager.h"
#include "scene/AudioManager.h"
#include "scene/ParticleFactoryManager.h"
#include "simulation/AirportManager.h"
#include "simulation/ContractManager.h"
#include "simulation/EventManager.h"
#include "simulation/GameScenario.h"
#include "simulation/Simulation.h"
#include "simulation/StatManager.h"
#include "simulation/WeatherManager.h"

namespace {

template <typename Ops, typename T>
Ops* OpsOf(T* entity) {
  return entity ? dynamic_cast<Ops*>(entity) : nullptr;
}

}  // namespace

CoreStatus cKV9_GameManager::BuildWorld(bool) {
  if (!table_) return status::Fail;
  cKV9_GlobalWrapper& t = *table_;
  if (t.alphaManager) t.alphaManager->AllocateLists();
  SetLoadingProgress(2);
  if (auto* terrain = OpsOf<TerrainManagerOps>(terrainManager_)) terrain->BuildWorld();
  SetLoadingProgress(30);
  auto* plot = OpsOf<GamePlotOps>(t.gamePlot);
  if (plot) plot->BuildWorld();
  SetLoadingProgress(4);
  if (t.simulation) t.simulation->Start();
  SetLoadingProgress(2);
  if (plot) plot->SetPlacement(1);
  SetLoadingProgress(2);
  if (t.pathFinder) t.pathFinder->Start();
  SetLoadingProgress(2);
  if (auto* roads = OpsOf<RoadManagerOps>(t.roadManager)) roads->BuildWorld();
  SetLoadingProgress(2);
  if (t.contractManager) t.contractManager->Start();
  SetLoadingProgress(4);
  if (auto* buildings = OpsOf<BuildingManagerOps>(t.buildingManager)) buildings->RelinkAfterLoad();
  SetLoadingProgress(2);
  if (auto* taxiways = OpsOf<TaxiwayManagerOps>(taxiwayManager_)) taxiways->BuildWorld();
  SetLoadingProgress(2);
  if (plot) plot->SetPlacement(0);
  SetLoadingProgress(2);
  if (auto* weather = OpsOf<WeatherManagerOps>(t.weatherManager)) weather->Start();
  SetLoadingProgress(2);
  if (t.eventManager) t.eventManager->Start();
  SetLoadingProgress(2);
  if (t.audioManager) TimeService_AddItemTimeline(t.audioManager, 1, TimeEvent::kByTime, 0.1f, FLT_MAX, false);
  SetLoadingProgress(2);
  if (t.statManager) t.statManager->Start();
  SetLoadingProgress(2);
  if (auto* airport = OpsOf<StartStopOps>(t.airportManager)) airport->Start();
  SetLoadingProgress(2);
  if (auto* scenario = OpsOf<ScenarioOps>(t.scenario)) scenario->Start();
  SetLoadingProgress(2);
  if (t.particleFactoryManager)
    TimeService_AddItemTimeline(t.particleFactoryManager, 1, TimeEvent::kByFrames, 1.0f, FLT_MAX, false);
  SetLoadingProgress(2);
  if (auto* ambient = OpsOf<AmbientManagerOps>(ambientManager_)) ambient->RegisterAndRestore();
  SetLoadingProgress(2);
  // The run log's mark that a new or loaded game reached its world.
  platform::OutputDebugString("[KV9GM::BuildWorld] the world is built\n");
  return status::Ok;
}

CoreStatus cKV9_GameManager::ClearWorld() {
  if (!table_) return status::Ok;
  cKV9_GlobalWrapper& t = *table_;
  if (auto* airport = OpsOf<StartStopOps>(t.airportManager)) airport->Stop();
  if (t.statManager && t.simulation) t.simulation->clock.UnregisterTimeObject(t.statManager);
  if (t.contractManager) t.contractManager->Stop();
  if (auto* weather = OpsOf<WeatherManagerOps>(t.weatherManager)) weather->Stop();
  if (t.eventManager) t.eventManager->Stop();

  if (auto* ambient = OpsOf<AmbientManagerOps>(ambientManager_)) ambient->Clear();
  if (auto* buildings = OpsOf<BuildingManagerOps>(t.buildingManager)) buildings->Reset();
  if (auto* plot = OpsOf<GamePlotOps>(t.gamePlot)) plot->ClearWorld();

  if (auto* roads = OpsOf<RoadManagerOps>(t.roadManager)) {
    roads->Clear();
    if (C3DModel* model = roads->TakeRoadModel()) model->Release();
    if (t.alphaManager && roads->GetAlphaUpdatee()) t.alphaManager->RemoveUpdatee(roads->GetAlphaUpdatee());
  }

  if (auto* taxiways = OpsOf<TaxiwayManagerOps>(taxiwayManager_)) taxiways->Clear();
  if (t.pathFinder) t.pathFinder->Clear(t.simulation ? &t.simulation->clock : nullptr);

  if (t.simulation) t.simulation->Stop();
  if (auto* terrain = OpsOf<TerrainManagerOps>(terrainManager_)) terrain->StopTerrain();
  if (auto* scenario = OpsOf<ScenarioOps>(t.scenario)) scenario->Stop();

  if (t.alphaManager) t.alphaManager->ReleaseLists();
  if (t.particleFactoryManager) t.particleFactoryManager->Clear();

  if (auto* actions = dynamic_cast<cKV9_ActionManager*>(GetActionManager())) actions->InitializeActions();
  return status::Ok;
}

void cKV9_GameManager::Terminate() {
  ClearWorld();
  for (cEntity_ParticleFactory* factory : particleFactories_) {
    if (factory) factory->MarkForRemoval();
  }
  particleFactories_.clear();
  if (table_ && table_->pathFinder) {
    if (table_->pathFinder == pathFinder_) pathFinder_ = nullptr;
    delete table_->pathFinder;
    table_->pathFinder = nullptr;
  }
}
