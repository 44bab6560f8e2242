// SSM models from the game data drawn through the renderer on gl: made by
// CreateModel, queued by DrawModel from a pass's prepare hook and drawn by
// RenderFrame, beside the same draws issued straight at the device from the
// models' own buffers (the reference), in the same run. Static towers, an
// animated mast refilled every frame, and one tower with 100 instances.
#include <benchmark/benchmark.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/graphics/GfxDevice.h"
#include "renderer/bench/BenchRenderer.h"
#include "renderer/models/DX8Model_SSM.h"

namespace gfx = platform::gfx;

namespace {

constexpr int kModels = 100;

std::string DataFile(const char* name) { return std::string(GAME_DATA_DIR) + name; }

JMatrix Placement(int i) {
  JMatrix m = JMatrix::Identity();
  m.m[0][0] = 8.0f;
  m.m[1][1] = -8.0f;
  m.m[2][2] = 0.05f;
  m.m[3][0] = 16.0f + float(i % 10) * 24.0f;
  m.m[3][1] = 24.0f + float(i / 10) * 24.0f;
  m.m[3][2] = 0.5f;
  return m;
}

// Queues the models (or one model at several placements) every frame.
class Scene : public C3DEntity {
 public:
  Scene(Lumetra* renderer, std::vector<C3DModel*> models, bool animate)
      : renderer_(renderer), models_(std::move(models)), animate_(animate) {
    for (int i = 0; i < kModels; ++i) worlds_.push_back(Placement(i));
  }
  void OnPassPrepare(C3DPass* pass) override {
    for (size_t i = 0; i < models_.size(); ++i) {
      if (animate_) models_[i]->AdvanceAnimation(0, 0.016f);
      renderer_->DrawModel(pass, models_[i], &worlds_[i]);
    }
  }
  std::vector<JMatrix> worlds_;

 private:
  Lumetra* renderer_;
  std::vector<C3DModel*> models_;
  bool animate_;
};

enum class Kind { Static, Animated, Instanced };

void ThroughRenderer(benchmark::State& state, Kind kind) {
  BenchRenderer bench(state, gfx::Backend::Gl);
  if (!bench.ready) return;
  bench.renderer.SetResourcePath(GAME_DATA_DIR);
  Lumetra& r = bench.renderer;
  const std::string file = DataFile(kind == Kind::Animated ? "Models\\signal_mast.ssm" : "Models\\tower.ssm");
  std::vector<C3DModel*> models;
  std::vector<JMatrix> instances;
  const int made = kind == Kind::Instanced ? 1 : kModels;
  for (int i = 0; i < made; ++i) {
    C3DModel* model = r.CreateModel(RF_UNSHARED | RF_NOFALLBACK, file);
    if (!model) {
      state.SkipWithError("the model did not load");
      return;
    }
    if (kind == Kind::Animated) model->PlayAnimation(model->FindAnimation("default"), 1.0f, 1.0f, true, false);
    models.push_back(model);
  }
  Scene scene(&r, models, kind == Kind::Animated);
  if (kind == Kind::Instanced) {
    for (JMatrix& world : scene.worlds_) models[0]->AddInstance(&world);
  }
  bench.pass->SetPrepareHook(&scene);
  for (auto _ : state) {
    if (r.RenderFrame() != 0) {
      state.SkipWithError("frame failed");
      break;
    }
  }
  bench.pass->SetPrepareHook(nullptr);
  state.counters["models/s"] = benchmark::Counter(double(kModels) * double(state.iterations()), benchmark::Counter::kIsRate);
  for (C3DModel* model : models) r.ReleaseResource(model);
}

// The same geometry, states and textures, drawn by hand: the first model's
// group buffers, one world transform and one indexed draw per group and
// placement, the animated kind refilling a dynamic buffer per placement.
void AtTheDevice(benchmark::State& state, Kind kind) {
  BenchRenderer bench(state, gfx::Backend::Gl);
  if (!bench.ready) return;
  bench.renderer.SetResourcePath(GAME_DATA_DIR);
  Lumetra& r = bench.renderer;
  gfx::Device* device = r.GetDevice();
  const bool animated = kind == Kind::Animated;
  auto* model = dynamic_cast<DX8Model_SSM*>(
      r.CreateModel(RF_UNSHARED | RF_NOFALLBACK, DataFile(animated ? "Models\\signal_mast.ssm" : "Models\\tower.ssm")));
  if (!model) {
    state.SkipWithError("the model did not load");
    return;
  }
  // Draw once through the renderer so the device holds the model's states
  // and textures, then keep them.
  bench.pass->SetPrepareHook(nullptr);
  r.RenderFrame();
  struct Group {
    gfx::VertexBuffer* vb;
    gfx::IndexBuffer* ib;
    uint32_t vertices, triangles;
    gfx::Texture* texture;
  };
  std::vector<Group> groups;
  for (uint16_t g = 0; g < model->GetPartCount(); ++g) {
    const MeshGeometry* geometry = model->GroupGeometry(g);
    auto* image = dynamic_cast<DeviceImage*>(
        dynamic_cast<C3DMaterialShader*>(model->GetShader(g))->GetLayerImage(0));
    groups.push_back({geometry->vertexBuffer, geometry->indexBuffer, geometry->vertexCount, geometry->indexCount / 3,
                      image ? image->GetDeviceTexture() : nullptr});
  }
  const uint32_t bytes = model->VertexTotal() * 32u;
  gfx::VertexBuffer* dynamic = nullptr;
  std::vector<uint8_t> source(bytes, 0);
  if (animated && status::Failed(device->CreateVertexBuffer(bytes, gfx::D3DUSAGE_WRITEONLY | gfx::D3DUSAGE_DYNAMIC, 0,
                                                            gfx::D3DPOOL_DEFAULT, &dynamic))) {
    state.SkipWithError("no dynamic buffer");
    return;
  }
  gfx::Matrix viewMatrix, projection;
  std::memcpy(viewMatrix.m, bench.view->view.Data(), sizeof viewMatrix.m);
  std::memcpy(projection.m, bench.view->projection.Data(), sizeof projection.m);
  for (auto _ : state) {
    device->BeginScene();
    device->Clear(0, nullptr, gfx::D3DCLEAR_TARGET | gfx::D3DCLEAR_ZBUFFER, 0, 1.0f, 0);
    device->SetTransform(gfx::D3DTS_VIEW, &viewMatrix);
    device->SetTransform(gfx::D3DTS_PROJECTION, &projection);
    device->SetVertexShader(gfx::kRenderVertexFvf);
    for (int i = 0; i < kModels; ++i) {
      const JMatrix w = Placement(i);
      gfx::Matrix world;
      std::memcpy(world.m, w.Data(), sizeof world.m);
      device->SetTransform(gfx::D3DTS_WORLD, &world);
      gfx::VertexBuffer* vb = groups[0].vb;
      if (animated) {
        uint8_t* data = nullptr;
        if (status::Succeeded(dynamic->Lock(0, bytes, &data, gfx::D3DLOCK_DISCARD)) && data) {
          std::memcpy(data, source.data(), bytes);
          dynamic->Unlock();
        }
        vb = dynamic;
      }
      device->SetStreamSource(0, vb, 32);
      for (const Group& g : groups) {
        device->SetTexture(0, g.texture);
        device->SetIndices(g.ib, 0);
        device->DrawIndexedPrimitive(gfx::D3DPT_TRIANGLELIST, 0, g.vertices, 0, g.triangles);
      }
    }
    device->EndScene();
    device->Present(nullptr, nullptr, nullptr, nullptr);
  }
  state.counters["models/s"] = benchmark::Counter(double(kModels) * double(state.iterations()), benchmark::Counter::kIsRate);
  if (dynamic) dynamic->Release();
  r.ForgetLastTextures();
  r.ReleaseResource(model);
}

void BM_CreateModelTower(benchmark::State& state) {
  BenchRenderer bench(state, gfx::Backend::Gl);
  if (!bench.ready) return;
  bench.renderer.SetResourcePath(GAME_DATA_DIR);
  for (auto _ : state) {
    C3DModel* model = bench.renderer.CreateModel(RF_UNSHARED | RF_NOFALLBACK, DataFile("Models\\tower.ssm"));
    benchmark::DoNotOptimize(model);
    bench.renderer.ReleaseResource(model);
    bench.renderer.Update(0.0f);
  }
}

void BM_SSMStaticRenderer(benchmark::State& s) { ThroughRenderer(s, Kind::Static); }
void BM_SSMStaticDevice(benchmark::State& s) { AtTheDevice(s, Kind::Static); }
void BM_SSMAnimatedRenderer(benchmark::State& s) { ThroughRenderer(s, Kind::Animated); }
void BM_SSMAnimatedDevice(benchmark::State& s) { AtTheDevice(s, Kind::Animated); }
void BM_SSMInstancedRenderer(benchmark::State& s) { ThroughRenderer(s, Kind::Instanced); }
void BM_SSMInstancedDevice(benchmark::State& s) { AtTheDevice(s, Kind::Instanced); }

BENCHMARK(BM_CreateModelTower)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SSMStaticRenderer)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SSMStaticDevice)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SSMAnimatedRenderer)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SSMAnimatedDevice)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SSMInstancedRenderer)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SSMInstancedDevice)->Unit(benchmark::kMicrosecond);

}  // namespace
