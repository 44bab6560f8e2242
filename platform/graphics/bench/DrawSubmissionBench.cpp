// Draw-call submission on the gl backend against the record backend: one
// frame of a typical batch (100 meshes of 64 triangles, each with its own
// world matrix, texture switches and a material state change) per iteration,
// ended by Present.
#include <SDL.h>
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <vector>

#include "platform/NativeWindow.h"
#include "platform/graphics/GfxFactory.h"
#include "platform/graphics/RecordDevice.h"
#include "platform/graphics/bench/BenchGrid.h"

namespace gfx = platform::gfx;

namespace {

struct Vertex {
  float x, y, z;
  uint32_t color;
  float u0, v0, u1, v1;
};

constexpr int kItems = 100;
constexpr int kGrid = 4;  // 4x4 cells of two triangles in two layers: 64 triangles
constexpr int kSize = 256;

void Submit(benchmark::State& state, gfx::Backend backend) {
  SDL_Window* sdl = nullptr;
  if (backend == gfx::Backend::Gl) {
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
      state.SkipWithError("no SDL video");
      return;
    }
    sdl = SDL_CreateWindow("bench", 0, 0, kSize, kSize, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
  }
  platform::NativeWindow window{sdl, kSize, kSize};
  gfx::Direct3D* d3d = gfx::CreateDirect3D(backend);
  gfx::PresentParameters pp;
  pp.deviceWindow = &window;
  pp.enableAutoDepthStencil = true;
  pp.autoDepthStencilFormat = gfx::D3DFMT_D24S8;
  gfx::Device* dev = nullptr;
  if (d3d->CreateDevice(0, gfx::D3DDEVTYPE_HAL, &window, gfx::D3DCREATE_HARDWARE_VERTEXPROCESSING, &pp, &dev) != 0) {
    state.SkipWithError("no device");
    d3d->Release();
    return;
  }
  std::vector<Vertex> verts;
  std::vector<uint16_t> idx;
  BuildBenchGrid(kGrid, &verts, &idx);
  const uint32_t triangles = uint32_t(idx.size() / 3);
  gfx::Texture* textures[2] = {};
  for (auto& t : textures) {
    dev->CreateTexture(64, 64, 0, 0, gfx::D3DFMT_A8R8G8B8, gfx::D3DPOOL_MANAGED, &t);
  }
  gfx::Matrix proj;
  proj(0, 0) = 2.0f / kSize;
  proj(1, 1) = -2.0f / kSize;
  proj(3, 0) = -1.0f;
  proj(3, 1) = 1.0f;
  dev->SetTransform(gfx::D3DTS_PROJECTION, &proj);
  dev->SetVertexShader(gfx::kRenderVertexFvf);
  dev->SetRenderState(gfx::D3DRS_LIGHTING, 0);
  dev->SetTextureStageState(0, gfx::D3DTSS_MAGFILTER, gfx::D3DTEXF_LINEAR);
  dev->SetTextureStageState(0, gfx::D3DTSS_MINFILTER, gfx::D3DTEXF_LINEAR);
  gfx::CallLog* log = gfx::GetCallLog(dev);  // the record device keeps one; emptied every frame
  uint64_t frames = 0;
  for (auto _ : state) {
    dev->Clear(0, nullptr, gfx::D3DCLEAR_TARGET | gfx::D3DCLEAR_ZBUFFER, 0xFF000000, 1.0f, 0);
    dev->BeginScene();
    for (int i = 0; i < kItems; ++i) {
      gfx::Matrix world;
      world(3, 0) = float((i * 37) % (kSize - 20));
      world(3, 1) = float((i * 53) % (kSize - 20));
      dev->SetTransform(gfx::D3DTS_WORLD, &world);
      dev->SetTexture(0, textures[(i / 10) & 1]);
      dev->SetRenderState(gfx::D3DRS_ALPHABLENDENABLE, (i / 25) & 1);
      dev->DrawIndexedPrimitiveUP(gfx::D3DPT_TRIANGLELIST, 0, uint32_t(verts.size()), triangles, idx.data(),
                                  gfx::D3DFMT_INDEX16, verts.data(), sizeof(Vertex));
    }
    dev->EndScene();
    dev->Present(nullptr, nullptr, nullptr, nullptr);
    ++frames;
    if (log) log->Clear();
  }
  state.counters["draws/s"] = benchmark::Counter(double(frames) * kItems, benchmark::Counter::kIsRate);
  state.counters["triangles/s"] = benchmark::Counter(double(frames) * kItems * triangles, benchmark::Counter::kIsRate);
  for (auto* t : textures) t->Release();
  dev->Release();
  d3d->Release();
  if (sdl) {
    SDL_DestroyWindow(sdl);
    SDL_Quit();
  }
}

void BM_SubmitRecord(benchmark::State& state) { Submit(state, gfx::Backend::Record); }
void BM_SubmitGl(benchmark::State& state) { Submit(state, gfx::Backend::Gl); }
BENCHMARK(BM_SubmitRecord)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_SubmitGl)->Unit(benchmark::kMicrosecond)->UseRealTime();

}  // namespace
