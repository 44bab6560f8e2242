// Per-frame update and lookup by name of the entity manager. The update runs
// at 10,000 and at 100,000 entities; its items-per-second counter is the
// per-entity rate, so the two sizes compare directly.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/entity/ActionFactory.h"
#include "engine/entity/EntityBase.h"
#include "engine/entity/EntityManager.h"
#include "engine/entity/SpawnBase.h"

namespace {

constexpr int kEntities = 10000;

class TickEntity : public cEntity_Base {
 public:
  explicit TickEntity(cEntity_Manager* manager) : cEntity_Base(manager, kEntityType_Base) { SetUpdateFlag(true); }
  void Update(float seconds) override { elapsed += seconds; }
  float elapsed = 0.0f;
};

class TickSpawn : public cSpawn_Base {
 public:
  TickSpawn() : cSpawn_Base("SPN::BENCH:TICK") {}
  cEntity_Base* Create(uint32_t, uint32_t, cEntity_Manager* creator, const std::string&) override {
    return new TickEntity(creator);
  }
};

struct Populated {
  cAction_Factory factory;
  TickSpawn spawn;
  std::unique_ptr<cEntity_Manager> manager;
  explicit Populated(int entities = kEntities) {
    factory.RegisterSpawn(&spawn);
    manager = std::make_unique<cEntity_Manager>(&factory);
    for (int i = 0; i < entities; ++i) {
      cEntity_Base* e = nullptr;
      manager->CreateEntityByName("SPN::BENCH:TICK", &e);
      e->SetName("Entity_" + std::to_string(i));
    }
  }
  ~Populated() {
    manager.reset();
    factory.UnregisterSpawn(&spawn);
  }
};

void BM_UpdateFrame(benchmark::State& state) {
  const int entities = static_cast<int>(state.range(0));
  Populated world(entities);
  for (auto _ : state) world.manager->Update(0.016f);
  state.SetItemsProcessed(state.iterations() * entities);
}
BENCHMARK(BM_UpdateFrame)->Arg(kEntities)->Arg(10 * kEntities);

// A frame in which one entity in a hundred is removed, and as many are made.
void BM_UpdateFrameWithRemovals(benchmark::State& state) {
  Populated world;
  int next = 0;
  for (auto _ : state) {
    for (int i = 0; i < kEntities / 100; ++i) {
      cEntity_Base* e = world.manager->GetEntityAt((next * 97 + i * 101) % world.manager->GetEntities().GetCount());
      if (e) e->MarkForRemoval();
      cEntity_Base* fresh = nullptr;
      world.manager->CreateEntityByName("SPN::BENCH:TICK", &fresh);
    }
    ++next;
    world.manager->Update(0.016f);
  }
  state.SetItemsProcessed(state.iterations() * kEntities);
}
BENCHMARK(BM_UpdateFrameWithRemovals);

// Lookup of the last entity: a full scan, the worst case.
void BM_FindEntityLast(benchmark::State& state) {
  Populated world;
  const std::string name = "ENTITY_" + std::to_string(kEntities - 1);
  for (auto _ : state) benchmark::DoNotOptimize(world.manager->FindEntity(name));
}
BENCHMARK(BM_FindEntityLast);

// Lookups spread over the whole array (half a scan on average).
void BM_FindEntitySpread(benchmark::State& state) {
  Populated world;
  std::vector<std::string> names;
  for (int i = 0; i < kEntities; i += 97) names.push_back("entity_" + std::to_string(i));
  size_t n = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(world.manager->FindEntity(names[n]));
    n = (n + 1) % names.size();
  }
}
BENCHMARK(BM_FindEntitySpread);

// A name no entity has: every entity is compared.
void BM_FindEntityMissing(benchmark::State& state) {
  Populated world;
  const std::string name = "NoSuchEntity";
  for (auto _ : state) benchmark::DoNotOptimize(world.manager->FindEntity(name));
}
BENCHMARK(BM_FindEntityMissing);

}  // namespace
