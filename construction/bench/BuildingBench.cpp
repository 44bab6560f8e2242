// Land purchases against the 16 ms frame: a 10 x 10 block purchase and the
// whole 40 x 40 plot (cells, the owned-land cover with the runway test and
// its mesh handed to a renderer stand-in, corner posts, mini-map). And
// restoring 2,000 saved buildings beside checking the same blob alone.
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "construction/tests/BuildingSaveWorld.h"
#include "engine/services/tests/FakeCore3D.h"
#include "platform/DebugOutput.h"

namespace {

void Purchase(benchmark::State& state, int32_t blocks) {
  platform::SetDebugStderr(false);
  for (auto _ : state) {
    state.PauseTiming();
    auto renderer = std::make_unique<fake3d::FakeCore3D>();
    auto world = std::make_unique<buildtest::SaveWorld>();
    world->table.graphics = renderer.get();
    world->plot.BuildWorld();
    state.ResumeTiming();
    world->plot.BeginPurchaseSelection(0, 0);
    world->plot.ExtendPurchaseSelection(blocks - 1, blocks - 1);
    world->plot.PurchaseSelection();
    benchmark::DoNotOptimize(world->plot.HasEnoughLand());
    state.PauseTiming();
    world.reset();
    renderer.reset();
    state.ResumeTiming();
  }
  state.counters["frame_ms"] = 16.0;
}

void BM_Purchase100Blocks(benchmark::State& state) { Purchase(state, 10); }
void BM_PurchaseWholePlot(benchmark::State& state) { Purchase(state, 40); }
BENCHMARK(BM_Purchase100Blocks)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PurchaseWholePlot)->Unit(benchmark::kMillisecond);

constexpr int kBuildings = 2000;

std::vector<uint8_t> TwoThousandBuildings() {
  buildtest::SaveWorld world;
  for (int i = 0; i < kBuildings; ++i) {
    BOInstance* office = world.manager.Place(world.office, static_cast<uint16_t>((i % 200) * 3),
                                             static_cast<uint16_t>((i / 200) * 3));
    office->date = "01/02/1990";
  }
  return world.Save();
}

void BM_Restore2000Buildings(benchmark::State& state) {
  const std::vector<uint8_t> blob = TwoThousandBuildings();
  for (auto _ : state) {
    state.PauseTiming();
    auto world = std::make_unique<buildtest::SaveWorld>();
    state.ResumeTiming();
    world->Restore(blob);
    benchmark::DoNotOptimize(world->manager.placed.size());
    state.PauseTiming();
    world.reset();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_Restore2000Buildings)->Unit(benchmark::kMillisecond);

void BM_Check2000BuildingBlob(benchmark::State& state) {
  const std::vector<uint8_t> blob = TwoThousandBuildings();
  buildtest::SaveWorld world;
  for (auto _ : state) {
    benchmark::DoNotOptimize(world.manager.CheckBlob(blob.data(), static_cast<uint32_t>(blob.size()), nullptr));
  }
}
BENCHMARK(BM_Check2000BuildingBlob)->Unit(benchmark::kMillisecond);

}  // namespace
