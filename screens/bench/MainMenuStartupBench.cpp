// The program's start-up to the first frame that shows the main menu,
// headless (SDL's offscreen driver, the gl renderer, no sound), the rating
// screen clicked through at once: window, configuration, plug-ins, the
// loading sequence and the first game frame. Beside it, loading "main.gui"
// into the front end's world (the main menu's share of that start-up) and a
// plain line-by-line read of the same file. Each runs five times; compare
// the start-up's median with its goal of one second.
#include <benchmark/benchmark.h>

#include <chrono>
#include <fstream>
#include <memory>
#include <string>

#include "screens/tests/FrontEndRig.h"
#include "screens/tests/ProgramRig.h"

namespace {

void BM_Project_StartupToMainMenu(benchmark::State& state) {
  for (auto _ : state) {
    const auto begin = std::chrono::steady_clock::now();
    auto program = std::make_unique<frontend::ProgramRig>();
    const bool shown = program->Start() && program->Play("0 key down SPACE\n0 key up SPACE\n") &&
                       program->RunUntilMainMenu(100000);
    const auto end = std::chrono::steady_clock::now();
    state.SetIterationTime(std::chrono::duration<double>(end - begin).count());
    if (!shown) state.SkipWithError(("no main menu: " + program->Failure()).c_str());
    program.reset();
  }
}
BENCHMARK(BM_Project_StartupToMainMenu)
    ->UseManualTime()
    ->Iterations(1)
    ->Repetitions(5)
    ->Unit(benchmark::kMillisecond);

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
BENCHMARK(BM_Project_LoadMainGui)->Repetitions(5)->Unit(benchmark::kMillisecond);

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
