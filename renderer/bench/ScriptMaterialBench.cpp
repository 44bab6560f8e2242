// Script-material meshes on gl: 100 dynamic meshes of 64 triangles with two
// compiled materials alternating, made by CreateMesh, queued by
// DrawResource and drawn by RenderFrame, against the same render states,
// stage states, textures, transforms and draws issued straight at the device
// by a plain loop (on a change of material only the states that differ).
// Both sides present every frame; their ratio is the renderer's own cost.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <utility>
#include <vector>

#include "engine/math/CameraView.h"
#include "engine/services/C3DResource.h"
#include "platform/graphics/GfxDevice.h"
#include "platform/graphics/GfxFactory.h"
#include "platform/graphics/bench/BenchGrid.h"
#include "platform/window/Window.h"
#include "renderer/Lumetra.h"
#include "renderer/resources/DX8Image.h"
#include "renderer/shaders/DX8MaterialShader.h"
#include "renderer/shaders/ShaderCompiler.h"

namespace gfx = platform::gfx;

namespace {

constexpr int kMeshes = 100;
constexpr int kGrid = 4;
constexpr int32_t kSize = 256;

const char* const kScripts[2] = {
    "cull none; float #t 0; add #t 0.01; layer 0; suckme2; magfilter point;",
    "alphablend; depthwrite no; layer 0; suckme4; addressu clamp;",
};

platform::LRESULT PlainProc(platform::HWND hwnd, uint32_t message, platform::WPARAM wParam, platform::LPARAM lParam) {
  return platform::DefWindowProc(hwnd, message, wParam, lParam);
}

// A renderer with a device in an offscreen window, two script materials
// over blank images, and the grid mesh data.
struct Scene {
  platform::HWND window = nullptr;
  Lumetra renderer;
  DX8MaterialShader* materials[2] = {};
  std::vector<RenderVertex> vertices;
  std::vector<uint16_t> indices;
  std::vector<JMatrix> worlds;
  bool ok = false;

  Scene() {
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    if (platform::InitWindowSystem(platform::WindowBackend::Sdl) != status::Ok) return;
    platform::WNDCLASS wc;
    wc.lpfnWndProc = PlainProc;
    wc.lpszClassName = "ScriptMaterialBench";
    platform::RegisterClass(wc);
    window = platform::CreateWindowEx(0, "ScriptMaterialBench", "bench", 0, 0, 0, kSize + 8, kSize + 27, nullptr,
                                      nullptr, nullptr, nullptr);
    gfx::SetDefaultBackend(gfx::Backend::Gl);
    renderer.SetWindow(window);
    C3DDisplayMode mode{0, 1, kSize, kSize, {8, 8, 8, 0, 8}, 24, 8, 0, 0, 1};
    if (!renderer.Init() || renderer.CreateDevice(&mode) != 0) return;
    for (int k = 0; k < 2; ++k) {
      materials[k] = dynamic_cast<DX8MaterialShader*>(CompileShaderText(&renderer, RF_MATERIAL, "bench.jsm", kScripts[k]));
      C3DImage* image = renderer.CreateImage(RF_BUILTIN | RF_EMPTY, k ? "16 16" : "8 8");
      materials[k]->SetLayerImage(0, image);
      renderer.ReleaseResource(image);
    }
    BuildBenchGrid(kGrid, &vertices, &indices);
    worlds.resize(kMeshes);
    for (int i = 0; i < kMeshes; ++i)
      JMath_MatrixTranslation(worlds[size_t(i)], float(i % 10) * 20.0f, float(i / 10) * 20.0f, 0.0f);
    ok = true;
  }
  ~Scene() {
    renderer.Shutdown();
    if (window) platform::DestroyWindow(window);
    platform::ShutdownWindowSystem();
  }
  static JMatrix ScreenProjection() {
    JMatrix p = JMatrix::Identity();
    p.m[0][0] = 2.0f / kSize;
    p.m[1][1] = -2.0f / kSize;
    p.m[3][0] = -1.0f;
    p.m[3][1] = 1.0f;
    return p;
  }
};

class MeshBatch : public C3DEntity {
 public:
  MeshBatch(Core3D* renderer, std::vector<C3DMesh*> meshes, const std::vector<JMatrix>& worlds)
      : renderer_(renderer), meshes_(std::move(meshes)), worlds_(worlds) {}
  void OnPassPrepare(C3DPass* pass) override {
    renderer_->Clear(true, 0xFF000000u, true, 1.0f, false, 0);
    for (size_t i = 0; i < meshes_.size(); ++i) renderer_->DrawResource(pass, meshes_[i], &worlds_[i]);
  }

 private:
  Core3D* renderer_;
  std::vector<C3DMesh*> meshes_;
  const std::vector<JMatrix>& worlds_;
};

void BM_ScriptMeshesThroughRenderer(benchmark::State& state) {
  Scene scene;
  if (!scene.ok) {
    state.SkipWithError("no gl device");
    return;
  }
  Lumetra& r = scene.renderer;
  std::vector<C3DMesh*> meshes;
  for (int i = 0; i < kMeshes; ++i) {
    C3DMesh* mesh = r.CreateMesh(0, "DynamicMesh");
    mesh->SetVertices(scene.vertices.data(), uint32_t(scene.vertices.size()), false, false);
    mesh->SetIndices(scene.indices.data(), uint32_t(scene.indices.size()), false, false);
    mesh->SetShader(scene.materials[i % 2]);
    meshes.push_back(mesh);
  }
  CameraView* view = r.AddView();
  view->view = JMatrix::Identity();
  view->projection = Scene::ScreenProjection();
  C3DPass* pass = r.InsertPass(-1);
  pass->SetPassView(view);
  pass->SetSorted(false);  // drawn in queue order, as the plain loop draws
  MeshBatch batch(&r, meshes, scene.worlds);
  pass->SetPrepareHook(&batch);
  for (auto _ : state) {
    if (r.RenderFrame() != 0) {
      state.SkipWithError("frame failed");
      break;
    }
  }
  pass->SetPrepareHook(nullptr);
  state.counters["draws/s"] = benchmark::Counter(double(kMeshes) * double(state.iterations()), benchmark::Counter::kIsRate);
}

void BM_SameDrawsAtTheDevice(benchmark::State& state) {
  Scene scene;
  if (!scene.ok) {
    state.SkipWithError("no gl device");
    return;
  }
  gfx::Device* d = scene.renderer.GetDevice();
  gfx::Matrix identity, projection, world;
  const JMatrix p = Scene::ScreenProjection();
  std::memcpy(projection.m, p.Data(), sizeof projection.m);
  static constexpr uint32_t kStageTypes[11] = {
      gfx::D3DTSS_ADDRESSU, gfx::D3DTSS_ADDRESSV, gfx::D3DTSS_MAGFILTER, gfx::D3DTSS_MINFILTER,
      gfx::D3DTSS_MIPFILTER, gfx::D3DTSS_COLOROP,  gfx::D3DTSS_COLORARG1, gfx::D3DTSS_COLORARG2,
      gfx::D3DTSS_ALPHAOP,  gfx::D3DTSS_ALPHAARG1, gfx::D3DTSS_ALPHAARG2};
  // What a switch to each material must send: the render and stage states
  // that differ from the other material's, and its texture. The first frame
  // sends everything once.
  struct Switch {
    std::vector<std::pair<uint32_t, uint32_t>> renderStates, stageStates;
    gfx::Texture* texture = nullptr;
  } switches[2];
  for (int k = 0; k < 2; ++k) {
    DX8MaterialShader* m = scene.materials[k];
    DX8MaterialShader* other = scene.materials[1 - k];
    for (size_t s = 0; s < 15; ++s)
      if (m->GetState(s) != other->GetState(s))
        switches[k].renderStates.emplace_back(lumetra::kShaderBlockStates[s], m->GetState(s));
    for (size_t s = 0; s < 11; ++s)
      if (m->GetPassLayerRequest(0).values[s] != other->GetPassLayerRequest(0).values[s])
        switches[k].stageStates.emplace_back(kStageTypes[s], m->GetPassLayerRequest(0).values[s]);
    auto* image = dynamic_cast<DeviceImage*>(m->GetLayerImage(0));
    switches[k].texture = image ? image->GetDeviceTexture() : nullptr;
  }
  for (size_t s = 0; s < 15; ++s) d->SetRenderState(lumetra::kShaderBlockStates[s], scene.materials[0]->GetState(s));
  for (size_t s = 0; s < 11; ++s)
    d->SetTextureStageState(0, kStageTypes[s], scene.materials[0]->GetPassLayerRequest(0).values[s]);
  for (auto _ : state) {
    d->BeginScene();
    d->Clear(0, nullptr, gfx::D3DCLEAR_TARGET | gfx::D3DCLEAR_ZBUFFER, 0xFF000000u, 1.0f, 0);
    d->SetVertexShader(gfx::kRenderVertexFvf);
    d->SetTransform(gfx::D3DTS_VIEW, &identity);
    d->SetTransform(gfx::D3DTS_PROJECTION, &projection);
    int current = -1;
    for (int i = 0; i < kMeshes; ++i) {
      DX8MaterialShader* m = scene.materials[i % 2];
      m->PrepareDraw(nullptr);  // the script's per-draw commands, as queueing runs them
      if (current != i % 2) {
        current = i % 2;
        const Switch& sw = switches[current];
        for (const auto& [type, value] : sw.renderStates) d->SetRenderState(type, value);
        for (const auto& [type, value] : sw.stageStates) d->SetTextureStageState(0, type, value);
        d->SetTexture(0, sw.texture);
      }
      std::memcpy(world.m, scene.worlds[size_t(i)].Data(), sizeof world.m);
      d->SetTransform(gfx::D3DTS_WORLD, &world);
      d->DrawIndexedPrimitiveUP(gfx::D3DPT_TRIANGLELIST, 0, uint32_t(scene.vertices.size()),
                                uint32_t(scene.indices.size() / 3), scene.indices.data(), gfx::D3DFMT_INDEX16,
                                scene.vertices.data(), 32);
    }
    d->EndScene();
    d->Present(nullptr, nullptr, nullptr, nullptr);
  }
  d->SetTexture(0, nullptr);
  state.counters["draws/s"] = benchmark::Counter(double(kMeshes) * double(state.iterations()), benchmark::Counter::kIsRate);
}

BENCHMARK(BM_ScriptMeshesThroughRenderer)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SameDrawsAtTheDevice)->Unit(benchmark::kMicrosecond);

}  // namespace
