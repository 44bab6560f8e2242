// Generating the MIP chain of a 1024 x 1024 texture format, as an
// externalised format does after reading its level-0 image.
#include <benchmark/benchmark.h>

#include "renderer/formats/STexture2Format.h"

namespace {

// A 32-bit (8-8-8 colour, 8-bit alpha plane) or 8-bit indexed format with
// 11 levels from 1024 x 1024 down to 1 x 1, level 0 filled with a pattern.
std::unique_ptr<STexture2Format> Chain(bool indexed) {
  auto f = std::make_unique<STexture2Format>();
  f->bitsPerPixel = indexed ? 8 : 32;
  f->bytesPerPixel = indexed ? 1 : 4;
  f->width = f->height = 1024;
  f->alpha = {8, 0, 255};
  f->blue = {8, 0, 255};
  f->green = {8, 8, 255};
  f->red = {8, 16, 255};
  for (int k = 0; k <= 10; ++k) {
    auto l = std::make_unique<STexture2Level>();
    l->width = l->height = int16_t(1024 >> k);
    l->pitch = int16_t(l->width * f->bytesPerPixel);
    l->rgb.assign(size_t(l->pitch) * size_t(l->height), 0);
    l->alpha.assign(size_t(l->width) * size_t(l->height), 0);
    f->levels.push_back(std::move(l));
  }
  f->m_iMIPDepth = 11;
  auto& top = *f->levels[0];
  for (size_t i = 0; i < top.rgb.size(); ++i) top.rgb[i] = uint8_t((i * 2654435761u) >> 11);
  for (size_t i = 0; i < top.alpha.size(); ++i) top.alpha[i] = uint8_t(i ^ (i >> 10));
  top.genRGB = top.genAlpha = true;
  return f;
}

void BM_MipChain1024Rgb(benchmark::State& state, const char* filter) {
  auto f = Chain(false);
  for (auto _ : state) {
    f->GenerateRGBMIPs(filter, filter);
    benchmark::DoNotOptimize(f->levels[1]->rgb.data());
  }
}
void BM_MipChain1024Alpha(benchmark::State& state) {
  auto f = Chain(false);
  for (auto _ : state) {
    f->GenerateAlphaMIPs("Catrom", "Catrom");
    benchmark::DoNotOptimize(f->levels[1]->alpha.data());
  }
}
void BM_MipChain1024Indexed(benchmark::State& state) {
  auto f = Chain(true);
  for (auto _ : state) {
    f->GenerateRGBMIPs("Catrom", "Catrom");
    benchmark::DoNotOptimize(f->levels[1]->rgb.data());
  }
}

BENCHMARK_CAPTURE(BM_MipChain1024Rgb, Catrom, "Catrom")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_MipChain1024Rgb, Box, "Box")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_MipChain1024Rgb, Sinc, "Sinc")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MipChain1024Alpha)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MipChain1024Indexed)->Unit(benchmark::kMillisecond);

}  // namespace
