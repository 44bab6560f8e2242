// A game day of the building manager on the game clock at the top speed
// (50,000) with 600 finished buildings, as a multiple of real time: the
// counter "x_real_time" is the real time the day stands for (86,400 / 50,000
// seconds) over the time it took. Beside it the same day of the clock with
// no buildings, the reference for what the clock itself costs.
#include <benchmark/benchmark.h>

#include <memory>

#include "construction/tests/BuildingWorld.h"
#include "platform/DebugOutput.h"
#include "simulation/Simulation.h"
#include "simulation/SimulationClock.h"

namespace {

constexpr uint16_t kSpeed = 50000;
constexpr float kFrame = 1.0f / 60.0f;
constexpr double kDayRealSeconds = 86400.0 / kSpeed;

void RunDay(buildtest::BuildingWorld& world) {
  cSimulation_Clock& clock = world.Clock();
  const uint32_t until = clock.totalSeconds + 86400;
  // A clock that does not move would never finish the day.
  for (int frames = 0; clock.totalSeconds < until && frames < 100000; ++frames) world.roads.world.RunFrame(kFrame);
}

void Day(benchmark::State& state, int buildings) {
  platform::SetDebugStderr(false);
  auto world = std::make_unique<buildtest::BuildingWorld>();
  world->roads.world.simulation->Start();  // the clock runs from the frames
  if (!world->Clock().IsRegistered(&world->manager)) world->Clock().RegisterTimeObject(&world->manager);
  // Two types: one type numbers at most 512 buildings.
  cBuilding* types[2] = {world->manager.Define(kClass_Building, "Office", 1, 1, 1),
                         world->manager.Define(kClass_Building, "Shop", 1, 1, 1)};
  for (cBuilding* type : types) type->ambient.count = 2;
  for (int i = 0; i < buildings; ++i) {
    world->Build(types[i % 2], static_cast<uint16_t>(2 * (i % 32)), static_cast<uint16_t>(2 * (i / 32)));
  }
  world->FinishConstruction();
  world->Clock().SetSpeed(kSpeed);
  for (auto _ : state) RunDay(*world);
  state.counters["buildings"] = static_cast<double>(world->manager.placed.size());
  state.counters["x_real_time"] =
      benchmark::Counter(kDayRealSeconds * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

void BM_BuildingClockDay600(benchmark::State& state) { Day(state, 600); }
void BM_ClockDayNoBuildings(benchmark::State& state) { Day(state, 0); }
BENCHMARK(BM_BuildingClockDay600)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ClockDayNoBuildings)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
