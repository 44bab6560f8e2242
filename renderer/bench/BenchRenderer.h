#pragma once
// A renderer for the benchmarks: a window of SDL's offscreen driver, a
// device on the chosen backend, and a screen-space pass (x right, y down, in
// pixels) whose prepare hook the benchmark sets.
#include <benchmark/benchmark.h>

#include <cstdlib>

#include "engine/math/CameraView.h"
#include "platform/graphics/GfxFactory.h"
#include "platform/window/Window.h"
#include "renderer/Lumetra.h"

class BenchRenderer {
 public:
  static constexpr int32_t kSize = 256;

  BenchRenderer(benchmark::State& state, platform::gfx::Backend backend) {
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    if (platform::InitWindowSystem(platform::WindowBackend::Sdl) != status::Ok) {
      state.SkipWithError("the window layer did not start");
      return;
    }
    windowSystem_ = true;
    platform::WNDCLASS wc;
    wc.lpfnWndProc = [](platform::HWND hwnd, uint32_t message, platform::WPARAM wParam, platform::LPARAM lParam) {
      return platform::DefWindowProc(hwnd, message, wParam, lParam);
    };
    wc.lpszClassName = "RendererBench";
    platform::RegisterClass(wc);
    window_ = platform::CreateWindowEx(0, "RendererBench", "bench", 0, 0, 0, kSize + 8, kSize + 27, nullptr, nullptr,
                                       nullptr, nullptr);
    platform::gfx::SetDefaultBackend(backend);
    renderer.SetWindow(window_);
    C3DDisplayMode mode{0, 1, kSize, kSize, {8, 8, 8, 0, 8}, 24, 8, 0, 0, 1};
    if (!renderer.Init() || renderer.CreateDevice(&mode) != 0) {
      state.SkipWithError("no device on this backend");
      return;
    }
    view = renderer.AddView();
    view->view = JMatrix::Identity();
    view->projection = JMatrix::Identity();
    view->projection.m[0][0] = 2.0f / kSize;
    view->projection.m[1][1] = -2.0f / kSize;
    view->projection.m[3][0] = -1.0f;
    view->projection.m[3][1] = 1.0f;
    pass = renderer.InsertPass(-1);
    pass->SetPassView(view);
    ready = true;
  }
  ~BenchRenderer() {
    if (pass) pass->SetPrepareHook(nullptr);
    renderer.Shutdown();
    if (window_) platform::DestroyWindow(window_);
    if (windowSystem_) platform::ShutdownWindowSystem();
  }
  BenchRenderer(const BenchRenderer&) = delete;
  BenchRenderer& operator=(const BenchRenderer&) = delete;

  Lumetra renderer;
  CameraView* view = nullptr;
  C3DPass* pass = nullptr;
  bool ready = false;

 private:
  platform::HWND window_ = nullptr;
  bool windowSystem_ = false;
};
