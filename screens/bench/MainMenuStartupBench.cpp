// Loading "main.gui" into the front end's world, the main menu's share of
// the start-up, beside a plain line-by-line read of the same file.
#include <benchmark/benchmark.h>

#include <fstream>
#include <string>

#include "screens/tests/FrontEndRig.h"

namespace {

// The whole main menu: the description file parsed into widgets, then laid
// out as the top menu.
void BM_Project_LoadMainGui(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    auto rig = std::make_unique<frontend::FrontEndRig>();
    state.ResumeTiming();
    const bool loaded = rig->LoadMainMenu();
    benchmark::DoNotOptimize(loaded);
    if (!loaded) state.SkipWithError("main.gui did not load");
    state.PauseTiming();
    rig.reset();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_Project_LoadMainGui)->Unit(benchmark::kMillisecond);

// Reference: only reading the file's lines.
void BM_Reference_ReadLines(benchmark::State& state) {
  const std::string file = frontend::DataDir() + "main.gui";
  for (auto _ : state) {
    std::ifstream in(file, std::ios::binary);
    std::string line;
    size_t total = 0;
    while (std::getline(in, line)) total += line.size();
    benchmark::DoNotOptimize(total);
  }
}
BENCHMARK(BM_Reference_ReadLines)->Unit(benchmark::kMillisecond);

}  // namespace
