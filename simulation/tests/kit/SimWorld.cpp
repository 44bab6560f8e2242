#include "simulation/tests/kit/SimWorld.h"

#include <list>

#include "engine/entity/ActionFactory.h"
#include "engine/entity/EntityManager.h"
#include "simulation/EventManager.h"
#include "simulation/Simulation.h"
#include "simulation/StatManager.h"

namespace simkit {

namespace {

class SpawnRecordingCamera : public cSpawn_Base {
 public:
  SpawnRecordingCamera() : cSpawn_Base("SPN::KIT:CAMERA") {}
  cEntity_Base* Create(uint32_t, uint32_t, cEntity_Manager* creator, const std::string&) override {
    return new RecordingCamera(creator);
  }
};

constexpr const char* kStartupScript = "timeservice TimeService {\n}\n";

}  // namespace

std::string DataDir() { return std::string(GAME_SOURCE_DIR) + "/data"; }

SimWorld::SimWorld() {
  table.SetGraphics(&renderer);
  table.SetConfigManager(&config);
  cEntity_Manager* entities = table.entityManager;
  entities->SetResourcePath(DataDir() + "/");
  manager = std::make_unique<KitGameManager>(entities);

  cAction_Factory* factory = table.actionFactory;
  spawnCamera_ = std::make_unique<SpawnRecordingCamera>();
  for (cSpawn_Base* spawn : {static_cast<cSpawn_Base*>(&spawnSimulation_), static_cast<cSpawn_Base*>(&spawnAirlineManager_),
                             static_cast<cSpawn_Base*>(&spawnEventManager_), static_cast<cSpawn_Base*>(&spawnStatManager_),
                             spawnCamera_.get()}) {
    factory->RegisterSpawn(spawn);
  }
  pda = new RecordingPDA();
  factory->RegisterAction(pda, false);

  cEntity_Base* cameraEntity = nullptr;
  entities->CreateEntityByName("SPN::KIT:CAMERA", &cameraEntity);
  camera = dynamic_cast<RecordingCamera*>(cameraEntity);
  if (camera) camera->SetName("MainCamera");

  dir.Write("startup.cfg", kStartupScript);
  manager->SetStartupScript(dir.File("startup.cfg"));
  if (status::Failed(manager->Init(&config))) return;
  if (status::Failed(config.LoadConfig(DataDir() + "/base.cfg"))) return;

  table.scenario = &scenario;
  table.weatherManager = &weather;
  table.gamePlot = &plot;
  table.roadManager = &roads;
  table.buildingManager = &buildings;
  table.airportManager = &airport;
  table.audioManager = &audio;
  table.particleFactoryManager = &particles;
  table.pathFinder = &pathFinder;

  // Loading order: the simulation (attached to the time service; its Init
  // spawns the airline and event managers), the event manager's Init, the
  // statistics manager.
  cEntity_Base* made = nullptr;
  if (status::Failed(manager->SpawnEntity(cEntity_Simulation::kSpawnName, &made))) return;
  simulation = dynamic_cast<cEntity_Simulation*>(made);
  if (!simulation) return;
  table.simulation = simulation;
  std::list<std::string> services{"TimeService"};
  manager->AttachToServices(services, simulation);
  if (status::Failed(simulation->Init())) return;
  events = simulation->GetEventManager();
  if (!events || status::Failed(events->Init())) return;
  if (status::Failed(manager->SpawnEntity(cEntity_StatManager::kSpawnName, &made))) return;
  stats = dynamic_cast<cEntity_StatManager*>(made);
  table.statManager = stats;
  ready = stats != nullptr;
}

SimWorld::~SimWorld() {
  manager.reset();
  table.scenario = nullptr;
  table.weatherManager = nullptr;
  table.gamePlot = nullptr;
  table.roadManager = nullptr;
  table.buildingManager = nullptr;
  table.airportManager = nullptr;
  table.audioManager = nullptr;
  table.particleFactoryManager = nullptr;
  table.pathFinder = nullptr;
}

cSimulation_Clock& SimWorld::Clock() { return simulation->clock; }

void SimWorld::BuildWorld() {
  simulation->Start();
  pathFinder.Start();
  events->Start();
  stats->Start();
}

void SimWorld::ClearWorld() {
  Clock().UnregisterTimeObject(stats);
  events->Stop();
  pathFinder.Clear(&Clock());
  simulation->Stop();
}

void SimWorld::RunFrame(float seconds) {
  testClock.AdvanceSeconds(seconds);
  manager->Update(Clock().speed == 0.0f);
  // As the game's frame does: entities marked for removal during the frame
  // are destroyed here, so finished models do not pile up over a long run.
  table.entityManager->Update(manager->GetFrameTime());
}

void SimWorld::RunDays(uint32_t days, uint16_t speed, float frame) {
  cSimulation_Clock& clock = Clock();
  clock.SetSpeed(speed);
  const uint32_t until = clock.totalSeconds + days * 86400u;
  while (clock.totalSeconds < until) RunFrame(frame);
}

}  // namespace simkit
