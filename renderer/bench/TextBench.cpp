// Text through the interface font of the game data: laying a screenful of
// lines out into page quads and flushing them into a pass, in glyphs per
// second, and measuring the same lines.
#include <benchmark/benchmark.h>

#include <string>

#include "renderer/C3DPassDX8.h"
#include "renderer/bench/BenchRenderer.h"

namespace {

const std::string kLine = "Runway 27L cleared, gate B12: 143 passengers, on time (14:05)";
constexpr int kLines = 30;

void BM_TextLayoutAndFlush(benchmark::State& state) {
  BenchRenderer bench(state, platform::gfx::Backend::Gl);
  if (!bench.ready) return;
  bench.renderer.SetResourcePath(GAME_DATA_DIR);
  C3DFont* font = bench.renderer.CreateFont(RF_NOFALLBACK, std::string(GAME_DATA_DIR) + "Fonts\\interface.jfn");
  if (!font) {
    state.SkipWithError("no interface font");
    return;
  }
  auto* pass = static_cast<C3DPassDX8*>(bench.pass);
  JMatrix m = JMatrix::Identity();
  for (auto _ : state) {
    for (int i = 0; i < kLines; ++i) {
      m.m[3][1] = float(i) * 16.0f;
      font->AddText(pass, kLine, &m);
    }
    font->Flush(pass);
    pass->ResetForFrame();
  }
  state.counters["glyphs/s"] =
      benchmark::Counter(double(kLine.size()) * kLines * double(state.iterations()), benchmark::Counter::kIsRate);
}

void BM_TextMeasure(benchmark::State& state) {
  BenchRenderer bench(state, platform::gfx::Backend::Gl);
  if (!bench.ready) return;
  C3DFont* font = bench.renderer.CreateFont(RF_BUILTIN, "dos font");
  float box[6];
  for (auto _ : state) {
    font->Measure(kLine, &box[0], &box[1], &box[2], &box[3], &box[4], &box[5]);
    benchmark::DoNotOptimize(box);
  }
  state.counters["glyphs/s"] =
      benchmark::Counter(double(kLine.size()) * double(state.iterations()), benchmark::Counter::kIsRate);
}

BENCHMARK(BM_TextLayoutAndFlush)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TextMeasure)->Unit(benchmark::kMicrosecond);

}  // namespace
