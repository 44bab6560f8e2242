// A description file of 500 mixed widgets: the time to load it, then per
// frame its layout, a pick and the drawing on the recording renderer as a
// share of a 60 Hz frame, and the service's depth-first pick beside a naive
// scan of every widget in the same program.
#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "gui/bench/PickProbe.h"
#include "gui/core/tests/GUITestKit.h"
#include "platform/tests/ScratchDir.h"

namespace {

constexpr int kScenes = 10;
constexpr int kPerScene = 49;  // with the scenes: 500 created widgets

// Ten scenes side by side, each a 7 x 7 grid of mixed widgets.
std::string MixedFile() {
  static const char* const kKinds[] = {"button", "static", "statictext", "checkbox", "textbox",
                                       "slider", "progressbar", "listbox", "scrollbar", "spin"};
  std::string text =
      "camprop perspective false;\ncamprop focaldistance 10;\n"
      "property width 10000;\nproperty height 10000;\nproperty depth 10000;\nposition -5000 5000 5000;\n";
  for (int s = 0; s < kScenes; ++s) {
    text += "scene scn" + std::to_string(s) + " {\n  position 4990 -4992.5 -5000;\n"
            "  property width 20;\n  property height 15;\n";
    for (int i = 0; i < kPerScene; ++i) {
      const char* kind = kKinds[(s * kPerScene + i) % std::size(kKinds)];
      const float x = 2.8f * static_cast<float>(i % 7) + 0.2f;
      const float y = -2.1f * static_cast<float>(i / 7) - 0.1f;
      text += std::string("  ") + kind + " w" + std::to_string(s) + "_" + std::to_string(i) + " {\n" +
              "    position " + std::to_string(x) + " " + std::to_string(y) + " 0.1;\n    scale 2.5 1.8 1;\n";
      if (std::string(kind) == "listbox") text += "    data one two three four;\n";
      if (std::string(kind) == "button") text += "    caption Go;\n    action mouse0_click EditWidget hide;\n";
      text += "  }\n";
    }
    text += "}\n";
  }
  return text;
}

const std::string& FilePath() {
  static ScratchDir dir;
  static const std::string path = dir.Write("mixed.gui", MixedFile());
  return path;
}

struct LoadedScreen {
  LoadedScreen() : kit(false) {
    kit.AddGUIActions();
    loaded = kit.gui.LoadGUIFile(FilePath());
    Collect(kit.gui.GetWorld());
  }
  void Collect(GUIEntity* entity) {
    if (!entity) return;
    widgets.push_back(entity);
    for (GUIEntity* child : entity->Children()) Collect(child);
  }
  guitest::Kit kit;
  bool loaded = false;
  std::vector<GUIEntity*> widgets;
};

void BM_LoadFile500Widgets(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    auto kit = std::make_unique<guitest::Kit>(false);
    kit->AddGUIActions();
    state.ResumeTiming();
    benchmark::DoNotOptimize(kit->gui.LoadGUIFile(FilePath()));
    state.PauseTiming();
    kit.reset();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_LoadFile500Widgets)->Unit(benchmark::kMillisecond);

void BM_FileFrame500Widgets(benchmark::State& state) {
  LoadedScreen screen;
  if (!screen.loaded) state.SkipWithError("the file did not load");
  int i = 0;
  const auto start = std::chrono::steady_clock::now();
  for (auto _ : state) {
    screen.kit.gui.GetWorld()->UpdateTransform();
    MousePacket p = guibench::PacketAt(i++);
    screen.kit.gui.OnMouse(&p);
    screen.kit.renderer.draws.clear();
    screen.kit.renderer.clears.clear();
    screen.kit.renderer.RunFrame();
    benchmark::DoNotOptimize(screen.kit.renderer.draws.size());
  }
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  state.counters["percent_of_60hz_frame"] = seconds / static_cast<double>(state.iterations()) * 60.0 * 100.0;
  state.counters["entities"] = static_cast<double>(screen.widgets.size());
}
BENCHMARK(BM_FileFrame500Widgets);

void BM_FilePickEntity500(benchmark::State& state) {
  LoadedScreen screen;
  int i = 0;
  GUIEntity* root = screen.kit.gui.GetWorld();
  for (auto _ : state) benchmark::DoNotOptimize(screen.kit.gui.PickEntity(root, guibench::RayAt(i++)));
}
BENCHMARK(BM_FilePickEntity500);

void BM_FileNaiveLinearScan500(benchmark::State& state) {
  LoadedScreen screen;
  int i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(guibench::NaiveScan(screen.widgets, guibench::RayAt(i++)));
  }
}
BENCHMARK(BM_FileNaiveLinearScan500);

}  // namespace
