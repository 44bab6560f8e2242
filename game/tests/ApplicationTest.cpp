// The application on the headless window layer: the default window size
// from the work area, the window procedure's answers, the start-up failures
// (each named), and the main loop leaving on the quit message.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/config/LanguageManager.h"
#include "engine/services/GlobalWrapper.h"
#include "game/KV9InputManager.h"
#include "game/Skyvane.h"
#include "platform/tests/ScratchDir.h"
#include "platform/window/Window.h"

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

TEST_F(Application, StartUpFailuresAreNamed) {
  ScratchDir dir;
  dir.Write("empty/readme.txt", "no plug-ins here");
  dir.Write("base.cfg", "settings App;\n setting library_path \"path=" + dir.File("empty") +
                            "\";\n setting resource_path \"path=" + dir.Root().string() +
                            "\";\n setting MaxVersion \"9\";\n setting MinVersion \"0\";\n");
  struct Case {
    const char* name;
    bool withTable;
    std::string script;
    const char* failure;
  } cases[] = {
      {"no table", false, dir.File("base.cfg"), "no service table"},
      {"no base.cfg", true, dir.File("missing.cfg"), "cannot read "},
      {"no plug-ins", true, dir.File("base.cfg"), "missing plug-in: renderer, input, GUI"},
  };
  for (const Case& c : cases) {
    cKV9_GlobalWrapper table(Hooks());
    cSkyvane app(c.withTable ? &table : nullptr);
    app.SetConfigScript(c.script);
    EXPECT_EQ(app.Init(nullptr), status::Fail) << c.name;
    EXPECT_EQ(app.GetFailure().rfind(c.failure, 0), 0u) << c.name << ": " << app.GetFailure();
    // Shutting down twice is harmless.
    app.Shutdown();
    app.Shutdown();
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
