// Draw-call submission through the renderer: one frame per iteration of a
// typical batch (100 meshes of 64 triangles, each with its own world matrix,
// two materials alternating) queued into a pass, sorted, pushed through the
// state shadow and drawn, then presented. The gl backend runs in a window of
// SDL's offscreen driver; the record backend draws no pixels, so the ratio
// of the two is the cost of the GL work behind the same calls.
#include <benchmark/benchmark.h>

#include <vector>

#include "engine/math/CameraView.h"
#include "platform/graphics/GfxFactory.h"
#include "platform/graphics/bench/BenchGrid.h"
#include "renderer/C3DPassDX8.h"
#include "renderer/DrawItem.h"
#include "renderer/bench/BenchRenderer.h"
#include "renderer/Lumetra.h"

namespace gfx = platform::gfx;

namespace {

constexpr int kItems = 100;
constexpr int kGrid = 4;  // 4 x 4 cells of two triangles, in two layers: 64 triangles

class BenchShader : public PassShader {
 public:
  explicit BenchShader(uint32_t cull) {
    block.values = {1, 1, gfx::D3DCMP_LESSEQUAL, 0, 0, gfx::D3DCMP_ALWAYS, 0, 0, gfx::D3DBLEND_ONE,
                    gfx::D3DBLEND_ZERO, cull, 0, gfx::D3DSHADE_GOURAUD, 1, 1};
    request = lumetra::DefaultLayerRequest();
    request.values[6] = gfx::D3DTA_DIFFUSE;  // colour from the vertices
    request.values[9] = gfx::D3DTA_DIFFUSE;
  }
  const lumetra::ShaderStateBlock& GetStateBlock() override { return block; }
  uint16_t GetPassLayerCount() override { return 1; }
  C3DImage* GetPassLayerImage(int32_t) override { return nullptr; }
  bool IsPassLayerEnabled(int32_t) override { return true; }
  const lumetra::StageRequest& GetPassLayerRequest(int32_t) override { return request; }
  int32_t GetSortPriority() override { return 0; }
  bool IsDepthSortedShader() override { return false; }
  gfx::ColorValue GetMaterialDiffuse() override { return {1, 1, 1, 1}; }
  gfx::ColorValue GetMaterialAmbient() override { return {1, 1, 1, 1}; }
  void PrepareDraw(MeshGeometry*) override {}

  lumetra::ShaderStateBlock block;
  lumetra::StageRequest request;
};

// Queues the batch from the pass's prepare hook, as a game entity would.
class Batch : public C3DEntity {
 public:
  explicit Batch(Lumetra* renderer) : renderer_(renderer) {
    BuildBenchGrid(kGrid, &vertices_, &indices_);
    geometry_.resize(kItems);
    items_.resize(kItems);
    for (int i = 0; i < kItems; ++i) {
      MeshGeometry& g = geometry_[size_t(i)];
      g.vertexCount = uint16_t(vertices_.size());
      g.vertices = vertices_.data();
      g.indexCount = uint32_t(indices_.size());
      g.indices = indices_.data();
      JMath_MatrixTranslation(g.world, float(i % 10) * 20.0f, float(i / 10) * 20.0f, 0.0f);
      items_[size_t(i)].geometry = &g;
      items_[size_t(i)].shader = i % 2 ? &solid_ : &twoSided_;
    }
  }
  void OnPassPrepare(C3DPass* pass) override {
    for (DrawItem& item : items_) renderer_->QueueTriangles(pass, &item);
  }
  static constexpr int64_t kTrianglesPerFrame = int64_t(kItems) * kGrid * kGrid * 2 * 2;

 private:
  Lumetra* renderer_;
  BenchShader solid_{gfx::D3DCULL_CCW};
  BenchShader twoSided_{gfx::D3DCULL_NONE};
  std::vector<RenderVertex> vertices_;
  std::vector<uint16_t> indices_;
  std::vector<MeshGeometry> geometry_;
  std::vector<DrawItem> items_;
};

void RenderFrames(benchmark::State& state, gfx::Backend backend) {
  BenchRenderer bench(state, backend);
  if (!bench.ready) return;
  Batch batch(&bench.renderer);
  bench.pass->SetPrepareHook(&batch);
  for (auto _ : state) {
    if (bench.renderer.RenderFrame() != 0) {
      state.SkipWithError("frame failed");
      break;
    }
  }
  bench.pass->SetPrepareHook(nullptr);
  state.counters["triangles/s"] =
      benchmark::Counter(double(Batch::kTrianglesPerFrame) * double(state.iterations()), benchmark::Counter::kIsRate);
  state.counters["draws/s"] = benchmark::Counter(double(kItems) * double(state.iterations()), benchmark::Counter::kIsRate);
}

void BM_RenderFrameRecord(benchmark::State& state) { RenderFrames(state, gfx::Backend::Record); }
void BM_RenderFrameGl(benchmark::State& state) { RenderFrames(state, gfx::Backend::Gl); }

BENCHMARK(BM_RenderFrameRecord)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RenderFrameGl)->Unit(benchmark::kMicrosecond);

}  // namespace
