// Loading a 50,000-face model in each storage form, and building its draw data.
#include <benchmark/benchmark.h>

#include <cmath>

#include "renderer/formats/SSMObject.h"

namespace {

// A 125 x 200 quad height field (50,000 triangles over 25,326 vertices) in
// four groups, with four key frames.
std::vector<uint8_t> FiftyThousandFaces(const char* vert, const char* zip) {
  constexpr int kW = 125, kH = 200;
  SSMObject m;
  m.vertexCount = (kW + 1) * (kH + 1);
  for (int f = 0; f < 4; ++f) {
    auto frame = std::make_unique<SSMFrame>();
    for (int y = 0; y <= kH; ++y)
      for (int x = 0; x <= kW; ++x)
        frame->vertices.push_back({x * 0.5f, std::sin(x * 0.1f + f) * std::cos(y * 0.07f), y * 0.5f});
    m.frames.push_back(std::move(frame));
  }
  for (int g = 0; g < 4; ++g) {
    auto group = std::make_unique<SSMGroup>();
    group->name = "part" + std::to_string(g);
    group->flags = SSMGroup::kVisible;
    m.groups.push_back(std::move(group));
  }
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x) {
      const int v = y * (kW + 1) + x;
      const int quad[4] = {v, v + 1, v + kW + 2, v + kW + 1};
      for (int half = 0; half < 2; ++half) {
        SSMFace face;
        const int c[3] = {quad[0], quad[1 + half], quad[2 + half]};
        for (int k = 0; k < 3; ++k) {
          face.vertex[k] = int16_t(c[k]);
          face.uv[k][0] = float(c[k] % (kW + 1)) / kW;
          face.uv[k][1] = float(c[k] / (kW + 1)) / kH;
        }
        face.group = int16_t(y * 4 / kH);
        m.faces.push_back(face);
      }
    }
  auto anim = std::make_unique<SSMAnim>();
  anim->name = "wave";
  anim->keyCount = 4;
  anim->keyFrames = {0, 1, 2, 3};
  anim->keyDurations = {0.25f, 0.25f, 0.25f, 0.25f};
  anim->duration = 1.0f;
  m.anims.push_back(std::move(anim));
  for (auto [k, v] : {std::pair{"VertCompress", vert}, std::pair{"ZCompress", zip}}) {
    auto tag = std::make_unique<SSMTag>();
    tag->key = k;
    tag->value = v;
    m.tags.push_back(std::move(tag));
  }
  std::vector<uint8_t> bytes;
  m.Save(&bytes);
  return bytes;
}

void LoadModel(benchmark::State& state, const char* vert, const char* zip) {
  const std::vector<uint8_t> bytes = FiftyThousandFaces(vert, zip);
  for (auto _ : state) {
    SSMObject m;
    if (status::Failed(m.Load(bytes.data(), bytes.size()))) state.SkipWithError("load failed");
    benchmark::DoNotOptimize(m.faces.data());
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bytes.size()));
  state.counters["file_bytes"] = double(bytes.size());
}

void BM_SSMLoad50kFacesFloat(benchmark::State& s) { LoadModel(s, "No", "No"); }
void BM_SSMLoad50kFacesGrid64(benchmark::State& s) { LoadModel(s, "Grid64", "No"); }
void BM_SSMLoad50kFacesGrid64Zlib(benchmark::State& s) { LoadModel(s, "Grid64", "Yes"); }
BENCHMARK(BM_SSMLoad50kFacesFloat)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SSMLoad50kFacesGrid64)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SSMLoad50kFacesGrid64Zlib)->Unit(benchmark::kMillisecond);

void BM_SSMLoadAndPrepare50kFaces(benchmark::State& state) {
  const std::vector<uint8_t> bytes = FiftyThousandFaces("No", "No");
  for (auto _ : state) {
    SSMObject m;
    m.Load(bytes.data(), bytes.size());
    m.BuildAnchors();
    m.BuildDrawData();
    benchmark::DoNotOptimize(m.groups.front()->corners.data());
  }
}
BENCHMARK(BM_SSMLoadAndPrepare50kFaces)->Unit(benchmark::kMillisecond);

}  // namespace
