// The renderer plug-in as the program meets it: the library manager loads
// it from a library directory, creates Lumetra, lists adapters and starts a
// device on the gl backend in a window of SDL's offscreen driver; the frames
// are cleared and presented, captured and saved; then everything shuts down.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "engine/config/ConfigManager.h"
#include "engine/services/Core3D.h"
#include "engine/services/CoreBaseDescriptor.h"
#include "engine/services/GlobalWrapper.h"
#include "engine/services/LibraryManager.h"
#include "platform/MessageBox.h"
#include "platform/graphics/DdsFile.h"
#include "platform/graphics/GfxFactory.h"
#include "platform/graphics/PixelFormat.h"
#include "platform/tests/ScratchDir.h"
#include "platform/window/Window.h"

namespace {

namespace gfx = platform::gfx;

constexpr int32_t kWidth = 320;
constexpr int32_t kHeight = 240;
constexpr uint32_t kColour = 0xFF3366CC;

platform::LRESULT PlainProc(platform::HWND hwnd, uint32_t message, platform::WPARAM wParam, platform::LPARAM lParam) {
  return platform::DefWindowProc(hwnd, message, wParam, lParam);
}

// Fills the frame with one colour from the pass's prepare hook.
class Painter : public C3DEntity {
 public:
  explicit Painter(Core3D* renderer) : renderer_(renderer) {}
  void OnPassPrepare(C3DPass*) override { renderer_->Clear(true, kColour, true, 1.0f, false, 0); }

 private:
  Core3D* renderer_;
};

int ChannelDiff(uint32_t a, uint32_t b) {
  int worst = 0;
  for (int s = 0; s < 32; s += 8) worst = std::max(worst, std::abs(int((a >> s) & 255) - int((b >> s) & 255)));
  return worst;
}

class LumetraPluginTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    gfx::SetDefaultBackend(gfx::Backend::Gl);
    previousHandler_ = platform::SetMessageBoxHandler([this](const std::string& text, const std::string&, unsigned) {
      messages.push_back(text);
      return platform::IDOK;
    });
    ASSERT_EQ(platform::InitWindowSystem(platform::WindowBackend::Sdl), status::Ok);
    platform::WNDCLASS wc;
    wc.lpfnWndProc = PlainProc;
    wc.lpszClassName = "RendererPluginTest";
    ASSERT_NE(platform::RegisterClass(wc), 0);
    // Outer size: the client area plus the layer's frame and caption.
    window = platform::CreateWindowEx(0, "RendererPluginTest", "renderer", 0, 0, 0, kWidth + 8, kHeight + 27,
                                      nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    ASSERT_EQ(platform::GetNativeWindow(window)->width, kWidth);

    config.SetValue("App", "library_path", std::string("path=") + LUMETRA_DIR);
    config.SetValue("App", "resource_path", "path=/tmp/");
    config.SetValue("App", "MaxVersion", "9");
    config.SetValue("App", "MinVersion", "0");
    config.SetWindowSize(kWidth, kHeight);
    config.SetWindowed(true);
    table.SetWindow(window);
  }
  void TearDown() override {
    table.ClearConfigOptions();
    manager.Shutdown(&table);
    if (window) platform::DestroyWindow(window);
    platform::ShutdownWindowSystem();
    platform::SetMessageBoxHandler(previousHandler_);
    gfx::SetDefaultBackend(gfx::Backend::Record);
  }

  cCore_ConfigManager config;
  cKV9_GlobalWrapper table;
  cCore_LibraryManager manager;
  platform::HWND window = nullptr;
  std::vector<std::string> messages;

 private:
  platform::MessageBoxHandler previousHandler_;
};

TEST_F(LumetraPluginTest, TheLibraryManagerStartsTheRendererOnTheGlBackend) {
  ASSERT_EQ(manager.Init(cCore_LibraryManager::kGraphics, &config, &table), status::Ok) << messages.size();
  EXPECT_TRUE(messages.empty());
  Core3D* renderer = table.graphics;
  ASSERT_NE(renderer, nullptr);
  EXPECT_STREQ(renderer->GetName(), "[Lumetra]");
  EXPECT_EQ(renderer->GetServiceType(), eService_Graphics);
  ASSERT_EQ(manager.GetClasses().size(), 1u);
  EXPECT_STREQ(manager.GetClasses()[0].descriptor->GetName(), "Lumetra");

  // One adapter named from the GL renderer string.
  C3DAdapter* adapters = nullptr;
  ASSERT_EQ(renderer->GetModeList(&adapters), 1);
  EXPECT_EQ(adapters[0].driver, "opengl");
  EXPECT_FALSE(adapters[0].description.empty());
  EXPECT_GE(adapters[0].desktopMode, 0);

  // The program's minimum requirements hold.
  EXPECT_TRUE(MeetsMinimumGraphicsCapabilities(renderer));
  uint32_t value = 0;
  ASSERT_EQ(renderer->GetCapability(0, &value), 0);
  EXPECT_GE(value, 256u);

  // Frames: the empty frame is black, a painting pass colours the next one.
  ASSERT_EQ(renderer->RenderFrame(), 0);
  Painter painter(renderer);
  C3DPass* pass = renderer->InsertPass(-1);
  pass->SetName("paint");
  pass->SetPrepareHook(&painter);
  for (int frame = 0; frame < 3; ++frame) {
    renderer->Update(0.02f);
    ASSERT_EQ(renderer->RenderFrame(), 0);
  }

  uint8_t* data = nullptr;
  uint32_t size = 0;
  ASSERT_TRUE(renderer->CaptureScreen(&data, &size));
  std::vector<uint8_t> bytes(data, data + size);
  delete[] data;
  gfx::DdsImage thumbnail;
  ASSERT_TRUE(gfx::ReadDds(bytes.data(), bytes.size(), &thumbnail));
  ASSERT_EQ(thumbnail.format, gfx::D3DFMT_DXT1);
  ASSERT_EQ(thumbnail.width, 256u);
  ASSERT_EQ(thumbnail.height, 192u);
  std::vector<uint32_t> pixels(256 * 192);
  ASSERT_TRUE(gfx::DecodeToArgb(gfx::D3DFMT_DXT1, thumbnail.levels[0].data(), gfx::RowPitch(gfx::D3DFMT_DXT1, 256),
                                256, 192, pixels.data()));
  for (uint32_t p : {pixels[0], pixels[100 * 256 + 128], pixels.back()}) EXPECT_LE(ChannelDiff(p, kColour), 8);

  ScratchDir dir;
  const std::string shot = dir.File("shot.bmp");
  ASSERT_TRUE(renderer->SaveScreenshot(shot));
  std::ifstream in(shot, std::ios::binary);
  const std::vector<uint8_t> bmp{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  ASSERT_EQ(bmp.size(), 54u + size_t(kWidth) * 3 * kHeight);
  const uint8_t* middle = &bmp[54 + (size_t(kHeight / 2) * kWidth + kWidth / 2) * 3];
  EXPECT_EQ(0xFF000000u | uint32_t(middle[2]) << 16 | uint32_t(middle[1]) << 8 | middle[0], kColour);

  pass->SetPrepareHook(nullptr);
}

}  // namespace
