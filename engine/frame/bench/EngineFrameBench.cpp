// One engine frame: the frame services (time, render, particles), the
// entity manager's update of 10,000 entities and the render pass drawing
// 5,000 live particles as quads through a dynamic mesh.
#include <benchmark/benchmark.h>

#include <string>

#include "engine/entity/EntityManager.h"
#include "engine/frame/ParticleEmitter.h"
#include "engine/frame/ParticleFactory.h"
#include "engine/frame/ParticleService.h"
#include "engine/frame/RenderService.h"
#include "engine/entity/SpawnBase.h"
#include "engine/frame/TimeService.h"
#include "engine/frame/tests/FrameTestWorld.h"
#include "platform/Random.h"

namespace {

constexpr int kEntities = 10000;
constexpr int kParticles = 5000;

class FrameEntity : public cEntity_Base, public TimeServiceItem {
 public:
  explicit FrameEntity(cEntity_Manager* manager) : cEntity_Base(manager, kEntityType_Base) { SetUpdateFlag(true); }
  void Update(float seconds) override { elapsed += seconds; }
  void OnTimeEvent(TimeEvent*) override { ++ticks; }
  float elapsed = 0.0f;
  int ticks = 0;
};

class FrameEntitySpawn : public cSpawn_Base {
 public:
  FrameEntitySpawn() : cSpawn_Base("SPN::BENCH:FRAME") {}
  cEntity_Base* Create(uint32_t, uint32_t, cEntity_Manager* creator, const std::string&) override {
    return new FrameEntity(creator);
  }
};

void BM_EngineFrame(benchmark::State& state) {
  platform::SetDebugStderr(false);
  platform::SRand(1);
  frametest::FrameWorld world;
  cEntity_Manager* em = world.table.entityManager;
  FrameEntitySpawn spawn;

  SpawnTimeService timeSpawn;
  SpawnRenderService renderSpawn;
  SpawnParticleService particleSpawn;
  cEntity_Base* e = nullptr;
  em->CreateEntity(&timeSpawn, &e);
  auto* time = dynamic_cast<TimeService*>(e);
  em->CreateEntity(&renderSpawn, &e);
  auto* render = dynamic_cast<cRenderService*>(e);
  em->CreateEntity(&particleSpawn, &e);
  auto* particles = dynamic_cast<cParticleService*>(e);
  render->Initialise(&world.renderer);
  particles->SetGravity(JVector(0.0f, -0.5f, 0.0f));
  world.manager->AddService(time);
  world.manager->AddService(render);
  world.manager->AddService(particles);

  // A thousand of the entities also take a time event every frame.
  for (int i = 0; i < kEntities; ++i) {
    em->CreateEntity(&spawn, &e);
    if (i % 10 == 0) {
      time->AddItem(dynamic_cast<FrameEntity*>(e));
      TimeService_AddItemTimeline(e, 1, TimeEvent::kByFrames, 1.0f, Timer::kUnlimitedTime, false);
    }
  }

  ParticleFactoryParams p;
  p.particleLifespan = {1.0e6f, 1.0e6f};
  p.pulseCount = kParticles;
  p.cycle = {1.0e6f, 1.0e6f};
  p.radius = {0.0f, 20.0f};
  p.speed = {0.1f, 1.0f};
  p.aperture = {0.0f, 1.0f};
  p.scaleBirth = p.scaleDeath = {0.5f, 1.5f};
  p.rotationBirth = p.rotationDeath = {0.0f, 3.0f};
  p.gravity = 1.0f;
  p.maxParticles = kParticles;
  uint16_t index = 0;
  particles->AddFactory(p, &index);
  cEntity_ParticleFactory factory(em);
  particles->AddItem(&factory);
  factory.cParticleServiceItem::Init(index);
  factory.SetFrameCount(1);
  render->AddItem(&factory);
  cParticleEmitter* emitter = factory.CreateEmitter(JVector(0, 1000, 0), JVector(0, 1, 0));
  emitter->floorHeight = -1.0e30f;

  world.clock.AdvanceSeconds(1.0 / 60.0);
  world.manager->Update(false);  // the first pulse
  for (auto _ : state) {
    world.clock.AdvanceSeconds(1.0 / 60.0);
    world.manager->Update(false);
    em->Update(world.manager->GetFrameTime());
    world.renderer.RunFrame();
    world.renderer.draws.clear();
    world.renderer.ambient.clear();
  }
  state.counters["particles"] = static_cast<double>(emitter->GetLiveCount());
  state.counters["entities"] = kEntities;
  emitter->Release();
  platform::SetDebugStderr(true);
}
BENCHMARK(BM_EngineFrame)->Unit(benchmark::kMicrosecond);

}  // namespace
