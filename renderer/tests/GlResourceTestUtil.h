#pragma once
// The renderer plug-in as the program loads it, on the gl backend in a
// window of SDL's offscreen driver, with a screen-space pass whose prepare
// hook clears the frame and draws the meshes it is given; the presented
// frame is read back through a screenshot.
#include <gtest/gtest.h>

#include <cstdlib>
#include <deque>
#include <fstream>
#include <array>
#include <functional>
#include <memory>
#include <iterator>
#include <string>
#include <vector>

#include "engine/config/ConfigManager.h"
#include "engine/math/CameraView.h"
#include "engine/services/Core3D.h"
#include "engine/services/GlobalWrapper.h"
#include "engine/services/LibraryManager.h"
#include "platform/MessageBox.h"
#include "platform/graphics/GfxFactory.h"
#include "platform/tests/ScratchDir.h"
#include "platform/window/Window.h"

namespace gltest {

namespace gfx = platform::gfx;

inline platform::LRESULT PlainProc(platform::HWND hwnd, uint32_t message, platform::WPARAM wParam,
                                   platform::LPARAM lParam) {
  return platform::DefWindowProc(hwnd, message, wParam, lParam);
}

inline int ChannelDiff(uint32_t a, uint32_t b) {
  int worst = 0;
  for (int s = 0; s < 24; s += 8) worst = std::max(worst, std::abs(int((a >> s) & 255) - int((b >> s) & 255)));
  return worst;
}

// Clears the frame, then runs the test's drawing.
class FrameHook : public C3DEntity {
 public:
  explicit FrameHook(Core3D* renderer) : renderer_(renderer) {}
  void OnPassPrepare(C3DPass* pass) override {
    renderer_->Clear(true, background, true, 1.0f, false, 0);
    if (draw) draw(pass);
  }
  uint32_t background = 0xFF000000u;
  std::function<void(C3DPass*)> draw;

 private:
  Core3D* renderer_;
};

class PluginOnGl : public ::testing::Test {
 protected:
  // The window's client size; a fixture may choose another before SetUp.
  int32_t width = 64;
  int32_t height = 64;

  void SetUp() override {
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    gfx::SetDefaultBackend(gfx::Backend::Gl);
    previousHandler_ = platform::SetMessageBoxHandler([](const std::string&, const std::string&, unsigned) {
      return platform::IDOK;
    });
    ASSERT_EQ(platform::InitWindowSystem(platform::WindowBackend::Sdl), status::Ok);
    platform::WNDCLASS wc;
    wc.lpfnWndProc = PlainProc;
    wc.lpszClassName = "RendererResourceTest";
    platform::RegisterClass(wc);
    window = platform::CreateWindowEx(0, "RendererResourceTest", "renderer", 0, 0, 0, width + 8, height + 27,
                                      nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    config.SetValue("App", "library_path", std::string("path=") + LUMETRA_DIR);
    config.SetValue("App", "resource_path", std::string("path=") + GAME_DATA_DIR);
    config.SetValue("App", "MaxVersion", "9");
    config.SetValue("App", "MinVersion", "0");
    config.SetWindowSize(width, height);
    config.SetWindowed(true);
    table.SetWindow(window);
    ASSERT_EQ(manager.Init(cCore_LibraryManager::kGraphics, &config, &table), status::Ok);
    renderer = table.graphics;
    ASSERT_NE(renderer, nullptr);
    pass = renderer->InsertPass(-1);
    CameraView* view = renderer->AddView();
    view->view = JMatrix::Identity();
    // Screen space: x right, y down, in pixels.
    view->projection = JMatrix::Identity();
    view->projection.m[0][0] = 2.0f / width;
    view->projection.m[1][1] = -2.0f / height;
    view->projection.m[3][0] = -1.0f;
    view->projection.m[3][1] = 1.0f;
    pass->SetPassView(view);
    hook = std::make_unique<FrameHook>(renderer);
    pass->SetPrepareHook(hook.get());
  }
  void TearDown() override {
    gfx::SetRefusedTextureFormat(0);
    if (pass) pass->SetPrepareHook(nullptr);
    table.ClearConfigOptions();
    manager.Shutdown(&table);
    if (window) platform::DestroyWindow(window);
    platform::ShutdownWindowSystem();
    platform::SetMessageBoxHandler(previousHandler_);
    gfx::SetDefaultBackend(gfx::Backend::Record);
  }

  // A mesh of one quad over pixels [x0, x1) x [y0, y1) with texture
  // coordinates 0..1 and one vertex colour.
  C3DMesh* Quad(float x0, float y0, float x1, float y1, uint32_t colour) {
    C3DMesh* mesh = renderer->CreateMesh(0, "DynamicMesh");
    auto& v = quads.emplace_back();
    v = {{{x0 - 0.5f, y0 - 0.5f, 0.5f, colour, 0, 0, 0, 0},
          {x1 - 0.5f, y0 - 0.5f, 0.5f, colour, 1, 0, 1, 0},
          {x1 - 0.5f, y1 - 0.5f, 0.5f, colour, 1, 1, 1, 1},
          {x0 - 0.5f, y1 - 0.5f, 0.5f, colour, 0, 1, 0, 1}}};
    mesh->SetVertices(v.data(), 4, false, false);
    mesh->SetIndices(const_cast<uint16_t*>(kQuadIndices), 6, false, false);
    return mesh;
  }
  // Draws these meshes in one frame and reads the frame back.
  void Frame(const std::vector<C3DMesh*>& meshes) {
    FrameWith([&](C3DPass* p) {
      for (C3DMesh* mesh : meshes) renderer->DrawResource(p, mesh, nullptr);
    });
  }
  // Runs this drawing in one frame and reads the frame back.
  void FrameWith(const std::function<void(C3DPass*)>& draw) {
    hook->draw = draw;
    renderer->Update(0.01f);
    ASSERT_EQ(renderer->RenderFrame(), 0);
    hook->draw = nullptr;
    const std::string shot = dir.File("frame.bmp");
    ASSERT_TRUE(renderer->SaveScreenshot(shot));
    std::ifstream in(shot, std::ios::binary);
    bmp.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    ASSERT_EQ(bmp.size(), 54u + size_t(width) * 3 * height);
  }
  // Model or text units to pixels: `scale` pixels a unit with y up, the
  // origin at pixel (x, y), depth scaled by `depthScale` around 0.5.
  static JMatrix Place(float scale, float x, float y, float depthScale = 1.0f) {
    JMatrix m = JMatrix::Identity();
    m.m[0][0] = scale;
    m.m[1][1] = -scale;
    m.m[2][2] = depthScale;
    m.m[3][0] = x;
    m.m[3][1] = y;
    m.m[3][2] = 0.5f;
    return m;
  }
  // Pixel (x, y) of the last frame, top row 0, as 0xRRGGBB.
  uint32_t Pixel(int x, int y) const {
    const uint8_t* p = &bmp[54 + (size_t(height - 1 - y) * width + size_t(x)) * 3];
    return uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];
  }

  static constexpr uint16_t kQuadIndices[6] = {0, 1, 2, 0, 2, 3};
  cCore_ConfigManager config;
  cKV9_GlobalWrapper table;
  cCore_LibraryManager manager;
  platform::HWND window = nullptr;
  Core3D* renderer = nullptr;
  C3DPass* pass = nullptr;
  std::unique_ptr<FrameHook> hook;
  std::deque<std::array<RenderVertex, 4>> quads;  // stable addresses: meshes draw from them
  std::vector<uint8_t> bmp;
  ScratchDir dir;

 private:
  platform::MessageBoxHandler previousHandler_;
};

}  // namespace gltest
