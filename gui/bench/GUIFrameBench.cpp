// 500 widgets on the recording renderer: laid out, picked and drawn once per
// frame, and the service's depth-first pick beside a naive scan that tests
// every widget's box and keeps the nearest hit.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>

#include "engine/math/CameraView.h"
#include "gui/bench/PickProbe.h"
#include "gui/core/tests/GUITestKit.h"

namespace {

constexpr int kRows = 20;
constexpr int kColumns = 25;

// 20 panels of 25 buttons-sized statics in a grid over the screen.
struct Screen {
  Screen() {
    CameraView* view = kit.gui.GetCamera();
    view->perspective = false;
    view->focalDistance = 10.0f;
    view->fieldOfView = 2.0f * std::atan(1.0f);
    kit.gui.UpdateCamera();
    for (int r = 0; r < kRows; ++r) {
      auto* panel = kit.Make<GUIStatic>(GUIKIND_STATIC, "panel" + std::to_string(r), nullptr, -10.0f,
                                        7.5f - 0.75f * r, 0.0f, 20.0f, 0.75f);
      panel->SetSolid(0);
      widgets.push_back(panel);
      for (int c = 0; c < kColumns - 1; ++c) {
        widgets.push_back(kit.Make<GUIStatic>(GUIKIND_STATIC, "w", panel, 0.8f * c, 0.0f, 0.01f, 0.7f, 0.7f));
      }
    }
  }
  guitest::Kit kit;
  std::vector<GUIEntity*> widgets;
};

void BM_Frame500Widgets(benchmark::State& state) {
  Screen screen;
  int i = 0;
  const auto start = std::chrono::steady_clock::now();
  for (auto _ : state) {
    screen.kit.world->UpdateTransform();
    MousePacket p = guibench::PacketAt(i++);
    screen.kit.gui.OnMouse(&p);
    screen.kit.renderer.draws.clear();
    screen.kit.renderer.clears.clear();
    screen.kit.renderer.RunFrame();
    benchmark::DoNotOptimize(screen.kit.renderer.draws.size());
  }
  // Per cent of a 60 Hz frame (16.67 ms) spent per frame.
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  state.counters["percent_of_60hz_frame"] = seconds / static_cast<double>(state.iterations()) * 60.0 * 100.0;
}
BENCHMARK(BM_Frame500Widgets);

void BM_PickEntity500(benchmark::State& state) {
  Screen screen;
  int i = 0;
  for (auto _ : state) benchmark::DoNotOptimize(screen.kit.gui.PickEntity(screen.kit.world, guibench::RayAt(i++)));
}
BENCHMARK(BM_PickEntity500);

void BM_NaiveLinearScan500(benchmark::State& state) {
  Screen screen;
  int i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(guibench::NaiveScan(screen.widgets, guibench::RayAt(i++)));
  }
}
BENCHMARK(BM_NaiveLinearScan500);

}  // namespace
