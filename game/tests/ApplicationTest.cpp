// The application on the headless window layer: the default window size
// from the work area, the window procedure's answers, the start-up failures
// (each named), and the main loop leaving on the quit message.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "engine/config/LanguageManager.h"
#include "engine/services/GlobalWrapper.h"
#include "game/Skyvane.h"
#include "game/tests/StartFolder.h"
#include "platform/DebugOutput.h"
#include "platform/MessageBox.h"
#include "platform/window/Window.h"
#include "scene/KV9InputManager.h"

namespace {

using namespace platform;

class Application : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(InitWindowSystem(WindowBackend::Headless), status::Ok); }
  void TearDown() override { ShutdownWindowSystem(); }

  static cKV9_GlobalWrapper::InputManagerHooks Hooks() {
    return {&cKV9_InputManager::Create, &cKV9_InputManager::Destroy};
  }
};

TEST_F(Application, DefaultSizeFollowsTheWorkArea) {
  struct Case {
    int32_t width;
    int32_t w, h;
    bool windowed;
  } cases[] = {
      {1024, 800, 600, true}, {1025, 1024, 768, true}, {641, 640, 480, true},
      {640, 640, 480, false}, {801, 800, 600, true},   {1920, 1024, 768, true},
  };
  for (const Case& c : cases) {
    SetHeadlessWorkArea(RECT{0, 0, c.width, 700});
    cKV9_GlobalWrapper table(Hooks());
    cSkyvane app(&table);
    EXPECT_EQ(app.GetConfigManager().GetWidth(), c.w) << c.width;
    EXPECT_EQ(app.GetConfigManager().GetHeight(), c.h) << c.width;
    EXPECT_EQ(app.GetConfigManager().IsWindowed(), c.windowed) << c.width;
  }
  SetHeadlessWorkArea(RECT{0, 0, 1280, 1024});
}

TEST_F(Application, WindowProcedureAnswers) {
  cKV9_GlobalWrapper table(Hooks());
  cSkyvane app(&table);
  ASSERT_TRUE(app.CreateMainWindow());
  HWND hwnd = app.GetWindow();
  int32_t width = 0, height = 0;
  app.GetWindowSize(&width, &height);
  EXPECT_EQ(width, 1024 + 2 * GetSystemMetrics(SM_CXSIZEFRAME));
  EXPECT_EQ(height, 768 + 2 * GetSystemMetrics(SM_CYSIZEFRAME) + GetSystemMetrics(SM_CYCAPTION));

  app.HandleMessage(hwnd, WM_SIZE, SIZE_MINIMIZED, 0);
  EXPECT_FALSE(app.IsActive());
  app.HandleMessage(hwnd, WM_SIZE, SIZE_RESTORED, 0);
  EXPECT_TRUE(app.IsActive());
  app.HandleMessage(hwnd, WM_SIZE, SIZE_MAXHIDE, 0);
  EXPECT_FALSE(app.IsActive());
  app.HandleMessage(hwnd, WM_ACTIVATE, WA_ACTIVE, 0);
  EXPECT_TRUE(app.IsActive());
  app.HandleMessage(hwnd, WM_ACTIVATE, WA_INACTIVE, 0);
  EXPECT_FALSE(app.IsActive());
  EXPECT_EQ(app.HandleMessage(hwnd, WM_ERASEBKGND, 0, 0), 1);

  // The window cannot be resized.
  MINMAXINFO info;
  app.HandleMessage(hwnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
  EXPECT_EQ(info.ptMinTrackSize.x, width);
  EXPECT_EQ(info.ptMaxTrackSize.y, height);

  // Before start-up the system cursor stays.
  app.HandleMessage(hwnd, WM_ACTIVATE, WA_ACTIVE, 0);
  EXPECT_NE(app.HandleMessage(hwnd, WM_SETCURSOR, 0, 0), 1);

  // Alt+Enter released toggles the display mode through the restart.
  std::vector<uint32_t> restarts;
  app.GetConfigManager().SetServiceRestart([&](uint32_t mask, cCore_ConfigManager*, cCore_GlobalWrapper*) {
    restarts.push_back(mask);
    return status::Ok;
  });
  const bool windowed = app.GetConfigManager().IsWindowed();
  app.HandleMessage(hwnd, WM_SYSKEYUP, VK_RETURN, 0);
  EXPECT_EQ(restarts.size(), 1u);
  EXPECT_NE(app.GetConfigManager().IsWindowed(), windowed);
  app.HandleMessage(hwnd, WM_SYSKEYUP, 'A', 0);
  EXPECT_EQ(restarts.size(), 1u);

  // In full screen only the exact size, move, maximise and power commands
  // are ignored.
  struct Case {
    WPARAM command;
    bool fullScreen;
    bool ignored;
  } cases[] = {
      {SC_SIZE, true, true},      {SC_MOVE, true, true},         {SC_MAXIMIZE, true, true},
      {SC_MONITORPOWER, true, true}, {SC_MOVE | 0x2, true, false}, {SC_SIZE, false, false},
      {SC_MONITORPOWER, false, false},
  };
  for (const Case& c : cases) {
    app.GetConfigManager().SetWindowed(!c.fullScreen);
    const LRESULT answer = app.HandleMessage(hwnd, WM_SYSCOMMAND, c.command, 0);
    EXPECT_EQ(answer == 1, c.ignored) << std::hex << c.command << " full screen " << c.fullScreen;
  }
  app.GetConfigManager().SetWindowed(true);

  // Closing posts the quit message with 0.
  app.HandleMessage(hwnd, WM_CLOSE, 0, 0);
  MSG msg;
  ASSERT_TRUE(PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, static_cast<uint32_t>(WM_QUIT));
  EXPECT_EQ(msg.wParam, 0u);
}

// Every way the start can fail stops Init with 0x80004005, a debug line
// naming why, and a Shutdown that may run twice; only failed minimum
// requirements show a box. The start from the same folder with every
// plug-in present succeeds.
TEST_F(Application, StartUpFailuresAreNamed) {
  const std::string gfx = gametest::TestPlugin("fake_gfx.so");
  const std::string input = gametest::TestPlugin("fake_input.so");
  const std::string gui = gametest::TestPlugin("fake_gui.so");
  const std::string sound = gametest::TestPlugin("fake_sound.so");
  using Pairs = std::vector<std::pair<const char*, const char*>>;
  struct Case {
    const char* name;
    bool withTable;
    std::vector<std::string> plugins;
    Pairs switches;            // the test plug-ins' settings
    bool hugeWindow;           // a window size the window layer refuses
    const char* script;        // null: the folder's base.cfg
    const char* breakScriptOn; // the debug line after which base.cfg turns unreadable
    const char* failure;       // null: the start succeeds
    const char* box;           // the one message box shown, or null
  } cases[] = {
      {"everything present", true, {gfx, input, gui, sound}, {}, false, nullptr, nullptr, nullptr, nullptr},
      {"no table", false, {gfx, input, gui, sound}, {}, false, nullptr, nullptr, "no service table", nullptr},
      {"the window cannot be made", true, {gfx, input, gui, sound}, {}, true, nullptr, nullptr,
       "cannot create the main window", nullptr},
      {"no base.cfg", true, {gfx, input, gui, sound}, {}, false, "missing.cfg", nullptr, "cannot read ", nullptr},
      {"no plug-ins", true, {}, {}, false, nullptr, nullptr, "missing plug-in: renderer, input, GUI", nullptr},
      {"no renderer", true, {input, gui, sound}, {}, false, nullptr, nullptr, "missing plug-in: renderer", nullptr},
      {"no input", true, {gfx, gui, sound}, {}, false, nullptr, nullptr, "missing plug-in: input", nullptr},
      {"no GUI", true, {gfx, input, sound}, {}, false, nullptr, nullptr, "missing plug-in: GUI", nullptr},
      {"the GUI does not start", true, {gfx, input, gui, sound}, {{"FAKE_GUI_INIT", "0"}}, false, nullptr, nullptr,
       "the plug-ins did not start", nullptr},
      {"capability 1 at 0xFFFE", true, {gfx, input, gui, sound}, {{"FAKE_GFX_CAPS", "0,0xFFFE,0xFFFF,0"}}, false,
       nullptr, nullptr, cSkyvane::kMinimumRequirementsMessage, cSkyvane::kMinimumRequirementsMessage},
      {"capability 2 at 0xFFFE", true, {gfx, input, gui, sound}, {{"FAKE_GFX_CAPS", "0,0xFFFF,0xFFFE,0"}}, false,
       nullptr, nullptr, cSkyvane::kMinimumRequirementsMessage, cSkyvane::kMinimumRequirementsMessage},
      {"both capabilities at exactly 0xFFFF", true, {gfx, input, gui, sound}, {{"FAKE_GFX_CAPS", "0,0xFFFF,0xFFFF,0"}},
       false, nullptr, nullptr, nullptr, nullptr},
      {"the game manager cannot run base.cfg", true, {gfx, input, gui, sound}, {}, false, nullptr,
       "[KV9_GAMEMANAGER::INIT] BASE INIT", "the game manager did not start", nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    gametest::StartFolder folder(c.plugins);
    for (const auto& [name, value] : c.switches) setenv(name, value, 1);
    std::vector<std::string> boxes;
    const platform::MessageBoxHandler previousBox =
        platform::SetMessageBoxHandler([&](const std::string& text, const std::string&, unsigned) {
          boxes.push_back(text);
          return platform::IDOK;
        });
    std::string debug;
    const platform::DebugSink previousSink = platform::SetDebugSink(nullptr);
    platform::SetDebugSink([&](std::string_view line) {
      debug += line;
      // The script goes bad between its two reads: once for the settings,
      // once for the game manager's blocks.
      if (c.breakScriptOn && line.find(c.breakScriptOn) != std::string_view::npos)
        folder.dir.Write("base.cfg", std::string("binary\0", 7));
    });
    {
      cKV9_GlobalWrapper table(Hooks());
      cSkyvane app(c.withTable ? &table : nullptr);
      if (c.hugeWindow) app.GetConfigManager().SetWindowSize(40000, 40000);
      app.SetConfigScript(c.script ? folder.dir.File(c.script) : folder.script);
      const CoreStatus started = app.Init(nullptr);
      if (c.failure) {
        EXPECT_EQ(started, status::Fail);
        EXPECT_EQ(app.GetFailure().rfind(c.failure, 0), 0u) << app.GetFailure();
        EXPECT_NE(debug.find("[cSkyvane::Init] " + std::string(c.failure)), std::string::npos) << debug;
      } else {
        EXPECT_TRUE(status::Succeeded(started)) << app.GetFailure();
        EXPECT_TRUE(app.GetFailure().empty()) << app.GetFailure();
        EXPECT_TRUE(app.IsInitialised());
      }
      EXPECT_EQ(boxes, c.box ? std::vector<std::string>{c.box} : std::vector<std::string>{});
      // Shutting down twice is harmless.
      app.Shutdown();
      app.Shutdown();
    }
    platform::SetDebugSink(previousSink);
    platform::SetMessageBoxHandler(previousBox);
    for (const auto& [name, value] : c.switches) unsetenv(name);
  }
}

TEST_F(Application, LoopLeavesWithTheQuitCode) {
  cKV9_GlobalWrapper table(Hooks());
  cSkyvane app(&table);
  ASSERT_TRUE(app.CreateMainWindow());
  // Without a GUI the rating screen cannot be built: the loop quits with
  // -1 and the reason is kept.
  EXPECT_EQ(app.Run(), -1);
  EXPECT_EQ(app.GetFailure(), "cannot create widget kind 2");
  EXPECT_EQ(app.GetGameFrames(), 0u);
}

TEST_F(Application, CommandPackageAndImageListKeyword) {
  cKV9_GlobalWrapper table(Hooks());
  cSkyvane app(&table);
  app.RegisterCommandPackages();
  app.RegisterCommandPackages();
  std::string language = "GUICommon";
  std::string keyword = "imagelist";
  ASSERT_NE(table.languageManager, nullptr);
  table.languageManager->PushLanguage(language);
  EXPECT_NE(table.languageManager->LookupKeyword(keyword), nullptr);
}

}  // namespace
