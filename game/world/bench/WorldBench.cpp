// Speed of the world's heavy work, each beside a plain loop over a flat
// array doing the same arithmetic:
// - height-field generation at 128 x 128 (the generator's cell access and
//   extra columns) against a diamond-square over one 129 x 129 array;
// - the terrain texture composed at 2048 x 2048 from three textures against
//   a loop that blends the same texels straight from flat arrays;
// - the terrain's mesh grid over the field;
// - one game day of weather on the clock at 30 frames a second and top
//   speed, ticks included.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "engine/math/Noise.h"
#include "game/world/KV9HFGen.h"
#include "game/world/KV9WeatherManager.h"
#include "game/world/Terrain.h"
#include "game/world/TerrainSurface.h"
#include "game/world/tests/FakeTerrainHost.h"
#include "game/world/tests/FakeWeatherHost.h"
#include "platform/tests/ScratchDir.h"

namespace {

TerrainParams Block() {
  TerrainParams p;
  p.width = p.height = 128;
  p.seed = 31337;
  p.corners[0] = 0.4f;
  p.corners[1] = 0.7f;
  p.corners[2] = 0.35f;
  p.corners[3] = 0.65f;
  p.maximum = 1.0f;
  p.roughness = 0.6f;
  return p;
}

void BM_HeightField_Generator(benchmark::State& state) {
  const TerrainParams p = Block();
  std::vector<float> heights(128 * 128);
  cKV9HFGen gen;
  for (auto _ : state) {
    float* b = heights.data();
    gen.Generate(&p, &b);
    benchmark::DoNotOptimize(heights.data());
  }
}
BENCHMARK(BM_HeightField_Generator);

// The same diamond-square, noise and normalisation on one flat array.
void BM_HeightField_ReferenceFlatArray(benchmark::State& state) {
  const TerrainParams p = Block();
  constexpr int n = 129, size = 128;
  std::vector<float> g(n * n);
  for (auto _ : state) {
    g[0] = p.corners[0];
    g[size] = p.corners[1];
    g[size * n] = p.corners[2];
    g[size * n + size] = p.corners[3];
    auto noise = [&](int a, int b) {
      return Noise_IntegerNoise(static_cast<int32_t>(static_cast<uint32_t>(size * a + b) + static_cast<uint32_t>(p.seed)), -1);
    };
    for (int step = size, half = size / 2; half > 0; step = half, half /= 2) {
      const float d = static_cast<float>(step) / size * 0.5f;
      for (int a = half; a < n; a += step)
        for (int b = half; b < n; b += step)
          g[b * n + a] = (g[(b - half) * n + a - half] + g[(b + half) * n + a - half] + g[(b - half) * n + a + half] +
                          g[(b + half) * n + a + half]) * 0.25f + noise(a, b) * d;
      bool offset = true;
      for (int a = 0; a < n; a += half, offset = !offset) {
        for (int b = offset ? half : 0; b < n; b += step) {
          float total = 0;
          int used = 0;
          if (b >= half) total += g[(b - half) * n + a], ++used;
          if (b + half < n) total += g[(b + half) * n + a], ++used;
          if (a >= half) total += g[b * n + a - half], ++used;
          if (a + half < n) total += g[b * n + a + half], ++used;
          g[b * n + a] = total / used + noise(a, b) * d;
        }
      }
    }
    for (float& v : g) v = v < 0 ? 0 : (v > 1 ? 1 : v);
    benchmark::DoNotOptimize(g.data());
  }
}
BENCHMARK(BM_HeightField_ReferenceFlatArray);

std::vector<TerrainImage> Textures() {
  std::vector<TerrainImage> images(3);
  for (size_t i = 0; i < images.size(); ++i) {
    images[i].width = images[i].height = 64;
    images[i].pixels.assign(64 * 64, 0xFF102030u * static_cast<uint32_t>(i + 1));
  }
  return images;
}

std::vector<float> Field() {
  std::vector<float> heights(128 * 128);
  const TerrainParams p = Block();
  cKV9HFGen gen;
  float* b = heights.data();
  gen.Generate(&p, &b);
  return heights;
}

constexpr uint32_t kLargestTexture = 2048;

void BM_TerrainTexture_Compose(benchmark::State& state) {
  const std::vector<float> heights = Field();
  const std::vector<TerrainImage> images = Textures();
  std::vector<uint32_t> out;
  for (auto _ : state) {
    ComposeTerrainTexture(heights.data(), images, kLargestTexture, &out);
    benchmark::DoNotOptimize(out.data());
  }
  state.SetItemsProcessed(state.iterations() * kLargestTexture * kLargestTexture);
}
BENCHMARK(BM_TerrainTexture_Compose)->Unit(benchmark::kMillisecond);

// Per texel: the nearest sample's height, then a blend of two texels read
// from flat arrays.
void BM_TerrainTexture_ReferenceFlatArray(benchmark::State& state) {
  const std::vector<float> heights = Field();
  const std::vector<TerrainImage> images = Textures();
  std::vector<uint32_t> out(kLargestTexture * kLargestTexture);
  for (auto _ : state) {
    for (uint32_t y = 0; y < kLargestTexture; ++y) {
      const uint32_t r = y * 128 / kLargestTexture;
      for (uint32_t x = 0; x < kLargestTexture; ++x) {
        const float t = heights[r * 128 + x * 128 / kLargestTexture] * 2.0f;
        const int i = t >= 2.0f ? 1 : static_cast<int>(t);
        const float a = static_cast<float>(i + 1) - t;
        const uint32_t p = images[i].pixels[(y % 64) * 64 + x % 64], q = images[i + 1].pixels[(y % 64) * 64 + x % 64];
        uint32_t c = 0xFF000000u;
        for (int s = 0; s <= 16; s += 8)
          c |= static_cast<uint32_t>(a * ((p >> s) & 0xFF) + (1 - a) * ((q >> s) & 0xFF)) << s;
        out[y * kLargestTexture + x] = c;
      }
    }
    benchmark::DoNotOptimize(out.data());
  }
  state.SetItemsProcessed(state.iterations() * kLargestTexture * kLargestTexture);
}
BENCHMARK(BM_TerrainTexture_ReferenceFlatArray)->Unit(benchmark::kMillisecond);

// The whole terrain build but for the texture: mesh grid, model and snow
// surface, with a one-texel texture.
void BM_TerrainMesh_Build(benchmark::State& state) {
  std::vector<float> heights = Field();
  ScratchDir dir;
  const std::vector<uint8_t> tga = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 1, 0, 32, 0x28, 1, 2, 3, 255};
  dir.Write("t.tga", tga);
  FakeTerrainHost host;
  host.resources = dir.Root().string() + "/";
  host.heightSource = [&heights] { return heights.data(); };
  for (auto _ : state) {
    cEntity_Terrain terrain(nullptr, &host);
    if (terrain.Build({"t.tga"}, 1) < 0) state.SkipWithError("the terrain was not built");
    terrain.Stop();
  }
}
BENCHMARK(BM_TerrainMesh_Build)->Unit(benchmark::kMillisecond);

// One game day at top speed (50,000) and 30 frames a second: about 52 frames,
// each with its tick, plus every minute, hour and day event.
void BM_WeatherDay(benchmark::State& state) {
  auto table = std::array<MonthlyClimate, kClimateMonths>{};
  for (auto& m : table) m = {20.0f, 40.0f, 0.2f, 10.0f, 0.6f, 0.4f, 0.3f};
  for (auto _ : state) {
    state.PauseTiming();
    FakeWeatherHost host;
    host.clock.SetDate(2004, 1, 10, 24, 0, 0);
    host.clock.SetSpeed(50000);
    cKV9_WeatherManager weather(nullptr, &host);
    weather.Init();
    weather.SetClimate(&table, 0x7F);
    weather.Start();
    state.ResumeTiming();
    for (int frame = 0; frame < 52; ++frame) host.clock.Tick(1.0f / 30.0f);
    benchmark::DoNotOptimize(weather.Block().temperature);
  }
}
BENCHMARK(BM_WeatherDay)->Unit(benchmark::kMillisecond);

}  // namespace
