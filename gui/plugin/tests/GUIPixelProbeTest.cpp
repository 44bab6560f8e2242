// The GUI drawn by the real renderer: both plug-ins loaded by the library
// manager, the renderer on the gl backend in a window of SDL's offscreen
// driver, a description file loaded through the GUI service, frames
// rendered and saved, and pixels read back where the widgets are.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/tests/ScreenshotBmp.h"
#include "engine/config/ConfigManager.h"
#include "engine/services/InputPackets.h"
#include "engine/services/Core3D.h"
#include "engine/services/GlobalWrapper.h"
#include "engine/services/LibraryManager.h"
#include "engine/services/Panelis.h"
#include "gui/core/GUIListBox.h"
#include "gui/core/GUIStaticText.h"
#include "gui/core/GUIWorld.h"
#include "platform/MessageBox.h"
#include "platform/graphics/BmpFile.h"
#include "platform/graphics/GfxFactory.h"
#include "platform/tests/ScratchDir.h"
#include "platform/window/Window.h"

namespace {

namespace gfx = platform::gfx;

constexpr int32_t kWidth = 800;
constexpr int32_t kHeight = 600;
constexpr uint32_t kBackground = 0xFF303030;
constexpr uint32_t kNormal = 0xFFC02818;
constexpr uint32_t kHover = 0xFF18B040;
constexpr uint32_t kHighlight = 0xFF2050E0;

platform::LRESULT PlainProc(platform::HWND hwnd, uint32_t message, platform::WPARAM wParam, platform::LPARAM lParam) {
  return platform::DefWindowProc(hwnd, message, wParam, lParam);
}

int ChannelDiff(uint32_t a, uint32_t b) {
  int worst = 0;
  for (int s = 0; s < 24; s += 8) worst = std::max(worst, std::abs(int((a >> s) & 255) - int((b >> s) & 255)));
  return worst;
}

struct Pixel {
  int x = -1;
  int y = -1;
};

// A saved screenshot read back as A8R8G8B8 words, top row first.
class Frame {
 public:
  bool Load(const std::string& path) { return platform::testing::ReadScreenshotBmp(path, kWidth, kHeight, &pixels_); }
  uint32_t At(Pixel p) const { return pixels_[size_t(p.y) * kWidth + p.x]; }

 private:
  std::vector<uint32_t> pixels_;
};

class GUIPixelProbe : public ::testing::Test {
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
    wc.lpszClassName = "GUIPixelProbe";
    ASSERT_NE(platform::RegisterClass(wc), 0);
    window = platform::CreateWindowEx(0, "GUIPixelProbe", "probe", 0, 0, 0, kWidth + 8, kHeight + 27, nullptr, nullptr,
                                      nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    table.SetWindow(window);
    table.clientRect = platform::RECT{0, 0, kWidth, kHeight};

    // The images the screen's shaders name, one solid colour each.
    for (auto [name, colour] : {std::pair{"normal.bmp", kNormal}, std::pair{"hover.bmp", kHover},
                                std::pair{"highlight.bmp", kHighlight}}) {
      const std::vector<uint32_t> argb(16 * 16, colour);
      std::vector<uint8_t> bytes;
      ASSERT_TRUE(gfx::WriteBmp24(argb.data(), 16, 16, &bytes));
      std::ofstream(resources.File(name), std::ios::binary)
          .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    }

    for (cCore_ConfigManager* config : {&rendererConfig, &guiConfig}) {
      config->SetValue("App", "resource_path", "path=" + resources.File(""));
      config->SetValue("App", "MaxVersion", "9");
      config->SetValue("App", "MinVersion", "0");
      config->SetWindowSize(kWidth, kHeight);
      config->SetWindowed(true);
    }
    rendererConfig.SetValue("App", "library_path", std::string("path=") + LUMETRA_DIR);
    guiConfig.SetValue("App", "library_path", std::string("path=") + PANELIS_DIR);
    ASSERT_EQ(rendererLibraries.Init(cCore_LibraryManager::kGraphics, &rendererConfig, &table), status::Ok);
    ASSERT_NE(table.graphics, nullptr);
    ASSERT_EQ(guiLibraries.Init(cCore_LibraryManager::kGUI | cCore_LibraryManager::kActionPacks |
                                    cCore_LibraryManager::kSpawnPacks | cCore_LibraryManager::kOCPacks,
                                &guiConfig, &table),
              status::Ok);
    gui = table.gui;
    ASSERT_NE(gui, nullptr);
    ASSERT_TRUE(gui->LoadGUIFile(std::string(GUI_TEST_DATA) + "probe.gui"));
  }

  void TearDown() override {
    table.ClearConfigOptions();
    guiLibraries.Shutdown(&table);
    rendererLibraries.Shutdown(&table);
    if (window) platform::DestroyWindow(window);
    platform::ShutdownWindowSystem();
    platform::SetMessageBoxHandler(previousHandler_);
    gfx::SetDefaultBackend(gfx::Backend::Record);
  }

  // Renders a few frames and reads the last one back from its screenshot.
  Frame Render(const char* name) {
    Core3D* renderer = table.graphics;
    for (int frame = 0; frame < 2; ++frame) {
      gui->Update(0.02f);
      renderer->Update(0.02f);
      EXPECT_EQ(renderer->RenderFrame(), 0);
    }
    Frame frame;
    const std::string shot = resources.File(std::string(name) + ".bmp");
    EXPECT_TRUE(renderer->SaveScreenshot(shot));
    EXPECT_TRUE(frame.Load(shot)) << shot;
    return frame;
  }

  // The middle of the pixels where the pointer picks exactly this entity.
  Pixel Centre(GUIEntity* entity) {
    int minX = kWidth, minY = kHeight, maxX = -1, maxY = -1;
    for (int y = 0; y < kHeight; y += 2) {
      for (int x = 0; x < kWidth; x += 2) {
        MousePacket p;
        p.x = int16_t(x);
        p.y = int16_t(y);
        if (gui->PickOrthographic(gui->GetWorld(), &p) != entity) continue;
        minX = std::min(minX, x), maxX = std::max(maxX, x);
        minY = std::min(minY, y), maxY = std::max(maxY, y);
      }
    }
    EXPECT_GE(maxX, 0) << "no pixel over " << entity->GetName();
    return {(minX + maxX) / 2, (minY + maxY) / 2};
  }

  void Mouse(Pixel at, uint8_t pressed = 0, uint8_t released = 0) {
    MousePacket p;
    p.x = int16_t(at.x);
    p.y = int16_t(at.y);
    p.pressed = pressed;
    p.released = released;
    gui->OnMouse(&p);
  }

  ScratchDir resources;
  cCore_ConfigManager rendererConfig;
  cCore_ConfigManager guiConfig;
  cKV9_GlobalWrapper table;
  cCore_LibraryManager rendererLibraries;
  cCore_LibraryManager guiLibraries;
  platform::HWND window = nullptr;
  Panelis* gui = nullptr;
  std::vector<std::string> messages;

 private:
  platform::MessageBoxHandler previousHandler_;
};

TEST_F(GUIPixelProbe, ButtonShowsItsNormalThenItsMouseOverColourOverTheBackground) {
  GUIEntity* button = gui->FindEntity("btnProbe");
  ASSERT_NE(button, nullptr);
  const Pixel centre = Centre(button);
  const Pixel beside{centre.x, centre.y + 80 * 2};  // two button heights below: background

  Mouse({kWidth - 2, kHeight - 2});  // the pointer away from every widget
  const Frame normal = Render("normal");
  EXPECT_LE(ChannelDiff(normal.At(centre), kNormal), 12) << std::hex << normal.At(centre);
  EXPECT_LE(ChannelDiff(normal.At(beside), kBackground), 12) << std::hex << normal.At(beside);

  Mouse(centre);
  EXPECT_EQ(gui->GetHoverEntity(), button);
  const Frame hover = Render("hover");
  EXPECT_LE(ChannelDiff(hover.At(centre), kHover), 12) << std::hex << hover.At(centre);
  EXPECT_LE(ChannelDiff(hover.At(beside), kBackground), 12);

  Mouse({kWidth - 2, kHeight - 2});
  const Frame left = Render("left");
  EXPECT_LE(ChannelDiff(left.At(centre), kNormal), 12) << std::hex << left.At(centre);
  EXPECT_TRUE(messages.empty()) << messages.front();
}

TEST_F(GUIPixelProbe, StaticTextDrawsGlyphsOnlyWhereItsTextIs) {
  // The text starts at scene point (10, -2) and is one unit tall: pixels
  // (400.., 80..120). Its glyphs mark pixels there; the band beyond the
  // text's end and the rows below it stay background.
  const Frame frame = Render("text");
  int marked = 0;
  for (int y = 80; y < 120; ++y)
    for (int x = 400; x < 560; ++x) marked += ChannelDiff(frame.At({x, y}), kBackground) > 48;
  EXPECT_GT(marked, 200);
  int stray = 0;
  for (int y = 160; y < 200; ++y)
    for (int x = 400; x < 780; ++x) stray += ChannelDiff(frame.At({x, y}), kBackground) > 12;
  EXPECT_EQ(stray, 0);
}

TEST_F(GUIPixelProbe, ListBoxShowsItsHighlightOnTheClickedLine) {
  auto* list = dynamic_cast<GUIListBox*>(gui->FindEntity("lbProbe"));
  ASSERT_NE(list, nullptr);
  ASSERT_GE(list->LineWidgets().size(), 3u);
  const Pixel first = Centre(list->LineWidgets()[0]);
  const Pixel second = Centre(list->LineWidgets()[1]);
  // Probe at the right end of each line, clear of its text.
  const int probeX = 2 * 40 + 8 * 40 - 10;

  const Frame before = Render("list-before");
  EXPECT_GT(ChannelDiff(before.At({probeX, second.y}), kHighlight), 48);

  Mouse(second, 1);
  Mouse(second, 0, 1);
  const Frame after = Render("list-after");
  EXPECT_LE(ChannelDiff(after.At({probeX, second.y}), kHighlight), 12) << std::hex << after.At({probeX, second.y});
  EXPECT_GT(ChannelDiff(after.At({probeX, first.y}), kHighlight), 48) << std::hex << after.At({probeX, first.y});
}

}  // namespace
