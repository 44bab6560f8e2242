// The application's main loop on the headless window layer, started on the
// engine's test renderer (which logs every frame it draws) and the real input
// and GUI plug-ins: frames only while the window is active, the system cursor
// while inactive, the rating screen's time-out (also across the tick count's
// wrap), and the keys the window procedure acts on (Alt+Enter, the Alt+F4 and
// Alt+Tab hot keys) reaching it through the message queue.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "engine/services/GlobalWrapper.h"
#include "game/Skyvane.h"
#include "game/tests/StartFolder.h"
#include "platform/Clock.h"
#include "platform/DebugOutput.h"
#include "platform/MessageBox.h"
#include "platform/window/KeyCodes.h"
#include "platform/window/SystemEvents.h"
#include "platform/window/Window.h"
#include "scene/KV9InputManager.h"

namespace gametest {
namespace {

using namespace platform;

// Runs `step` each time the window layer looks for events: on every pass of
// the main loop, on every wait while the loop blocks for a message, and on
// the input plug-in's device reads inside a frame. The step answers whether
// more is to come; a session that never ends is closed after `limit` looks.
class LoopDriver : public SystemEventSource {
 public:
  LoopDriver(HWND window, std::function<bool()> step, size_t limit = 100000)
      : window_(window), step_(std::move(step)), limit_(limit) {
    AddSystemEventSource(this);
  }
  ~LoopDriver() override { RemoveSystemEventSource(this); }
  void PumpEvents(uint32_t) override {
    if (!running_) return;
    running_ = step_();
    if (running_ && ++looks_ >= limit_) {
      ADD_FAILURE() << "the session did not end by itself";
      RaiseWindowEvent(window_, SystemEventKind::Close);
      running_ = false;
    }
  }
  bool HasPendingEvents() const override { return running_; }

 private:
  HWND window_;
  std::function<bool()> step_;
  size_t limit_;
  size_t looks_ = 0;
  bool running_ = true;
};

size_t Count(std::string_view text, std::string_view needle) {
  size_t count = 0;
  for (size_t at = text.find(needle); at != std::string_view::npos; at = text.find(needle, at + 1)) ++count;
  return count;
}

// The pointer moving over the window, whether or not it is active.
void MoveOver(HWND hwnd) {
  SystemEvent e;
  e.kind = SystemEventKind::MouseMove;
  e.window = hwnd;
  e.dx = 5;
  RaiseSystemEvent(e);
}

class ApplicationLoop : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(InitWindowSystem(WindowBackend::Headless), status::Ok);
    previousBox_ = SetMessageBoxHandler([this](const std::string& text, const std::string&, unsigned) {
      boxes.push_back(text);
      return IDOK;
    });
  }
  void TearDown() override {
    Stop();
    SetMessageBoxHandler(previousBox_);
    ShutdownWindowSystem();
  }
  // A fresh service table and application, started as the program starts
  // them.
  void Start() {
    Stop();
    table = std::make_unique<cKV9_GlobalWrapper>(
        cKV9_GlobalWrapper::InputManagerHooks{&cKV9_InputManager::Create, &cKV9_InputManager::Destroy});
    app = std::make_unique<cSkyvane>(table.get());
    table->application = app.get();
    app->SetConfigScript(folder.script);
    ASSERT_EQ(app->Init(nullptr), status::Ok) << app->GetFailure();
    window = app->GetWindow();
  }
  void Stop() {
    if (table) table->application = nullptr;
    app.reset();
    table.reset();
  }
  size_t Frames() const { return Count(capture.Text(), "[fake] gfx RenderFrame"); }

  // Frozen unless a test moves it: the rating screen times out only when
  // told to.
  TestClock clock;
  ScopedDebugCapture capture;
  StartFolder folder{{TestPlugin("fake_gfx.so"), TACTOR_PATH, PANELIS_PATH}};
  std::unique_ptr<cKV9_GlobalWrapper> table;
  std::unique_ptr<cSkyvane> app;
  HWND window = nullptr;
  std::vector<std::string> boxes;

 private:
  MessageBoxHandler previousBox_;
};

// Deactivated, the loop waits for messages and draws nothing; the pointer
// over the window then gets the system cursor. Activated again (and a
// message arriving to end the wait), frames resume and the game hides the
// system cursor again.
TEST_F(ApplicationLoop, NoFramesWhileInactive) {
  ASSERT_NO_FATAL_FAILURE(Start());
  enum class Phase { Active, Inactive, ActiveAgain } phase = Phase::Active;
  const size_t first = Frames();
  size_t mark = 0, inactiveLooks = 0;
  bool moved = false, framesWhileInactive = false;
  bool cursorActive = true, cursorInactive = false, cursorActiveAgain = true;
  LoopDriver driver(window, [&]() {
    switch (phase) {
      case Phase::Active:
        if (!moved && Frames() > first) {
          MoveOver(window);
          moved = true;
        }
        if (Frames() >= first + 3) {
          cursorActive = IsCursorVisible();
          RaiseWindowEvent(window, SystemEventKind::Deactivate);
          phase = Phase::Inactive;
        }
        return true;
      case Phase::Inactive:
        if (app->IsActive()) return true;  // not delivered yet
        if (inactiveLooks++ == 0) mark = Frames();
        framesWhileInactive |= Frames() != mark;
        if (inactiveLooks == 3) MoveOver(window);
        if (inactiveLooks == 6) cursorInactive = IsCursorVisible();
        if (inactiveLooks == 10) {
          RaiseWindowEvent(window, SystemEventKind::Activate);
          RaiseKey(DIK_A, true, false, window);
          RaiseKey(DIK_A, false, false, window);
          mark = Frames();
          moved = false;
          phase = Phase::ActiveAgain;
        }
        return true;
      case Phase::ActiveAgain:
        if (!moved && Frames() >= mark + 2) {
          MoveOver(window);
          moved = true;
          mark = Frames();
        }
        if (moved && Frames() >= mark + 2) {
          cursorActiveAgain = IsCursorVisible();
          RaiseWindowEvent(window, SystemEventKind::Close);
          return false;
        }
        return true;
    }
    return false;
  });
  EXPECT_EQ(app->Run(), 0);
  EXPECT_EQ(phase, Phase::ActiveAgain);
  EXPECT_EQ(inactiveLooks, 10u) << "the loop waited once per look while inactive";
  EXPECT_FALSE(framesWhileInactive);
  EXPECT_FALSE(cursorActive) << "active: the game draws its own cursor";
  EXPECT_TRUE(cursorInactive) << "inactive: the system cursor";
  EXPECT_FALSE(cursorActiveAgain) << "active again: hidden again";
  EXPECT_TRUE(app->IsRatingShowing()) << "the frozen clock never ends the rating screen";
  EXPECT_FALSE(IsWindow(window));
}

// The rating screen gives way to the loading screen at the first frame 6000
// ms or more after it was built, the tick counts subtracted unsigned. The
// loading then fails here (no game manager is built), which the program
// reports and quits on with a non-zero code.
TEST_F(ApplicationLoop, TheRatingScreenTimesOut) {
  struct Case {
    const char* name;
    uint32_t start;  // tick count when the screen is built
    uint32_t step;   // milliseconds between passes of the loop
  } cases[] = {
      {"one second a pass", 10'000, 1'000},
      {"just under a second a pass", 10'000, 999},
      {"one long pass", 10'000, 7'000},
      {"the tick count wraps while it shows", 0xFFFFFFFFu - 2'500, 1'000},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    clock.SetCounter(int64_t{c.start} * 1000);
    ASSERT_NO_FATAL_FAILURE(Start());
    cSkyvane& application = *app;
    // After each frame: (the tick it ran at, the rating screen showing);
    // then the clock moves on to the next frame's tick.
    std::vector<std::pair<uint32_t, bool>> seen;
    size_t frames = Frames();
    LoopDriver driver(application.GetWindow(), [&]() {
      if (Frames() == frames) return true;
      frames = Frames();
      seen.emplace_back(GetTickCount(), application.IsRatingShowing());
      clock.AdvanceMicroseconds(int64_t{c.step} * 1000);
      return seen.back().second;
    });
    boxes.clear();
    EXPECT_NE(application.Run(), 0);
    EXPECT_EQ(application.GetFailure().rfind("Loading failed at \"", 0), 0u) << application.GetFailure();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0], application.GetFailure());
    ASSERT_GE(seen.size(), 2u);
    EXPECT_TRUE(seen.front().second);
    EXPECT_FALSE(seen.back().second);
    for (const auto& [tick, showing] : seen) EXPECT_EQ(showing, tick - c.start < 6000u) << tick - c.start << " ms";
  }
}

// Keys reach the window procedure through the queue: Alt+Enter released
// switches between windowed and full screen (the renderer restarts in the
// other mode); Alt+F4 and Alt+Tab are the application's hot keys, which only
// refresh the client rectangle and never close the window.
TEST_F(ApplicationLoop, KeysTheWindowActsOn) {
  using Keys = std::vector<std::pair<uint8_t, bool>>;
  struct Case {
    const char* name;
    Keys keys;
    bool toggles;
    bool refreshes;  // the table's client rectangle read again from the window
  } cases[] = {
      // (The renderer's restart places the window anew and reads it too.)
      {"Alt+Enter", {{DIK_LMENU, true}, {DIK_RETURN, true}, {DIK_RETURN, false}, {DIK_LMENU, false}}, true, true},
      {"Enter alone", {{DIK_RETURN, true}, {DIK_RETURN, false}}, false, false},
      {"Alt held over Enter released after Alt", {{DIK_LMENU, true}, {DIK_RETURN, true}, {DIK_LMENU, false},
                                                  {DIK_RETURN, false}}, false, false},
      {"Alt+F4", {{DIK_LMENU, true}, {DIK_F4, true}, {DIK_F4, false}, {DIK_LMENU, false}}, false, true},
      {"Alt+Tab", {{DIK_LMENU, true}, {DIK_TAB, true}, {DIK_TAB, false}, {DIK_LMENU, false}}, false, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_NO_FATAL_FAILURE(Start());
    cSkyvane& application = *app;
    const HWND hwnd = application.GetWindow();
    const bool windowed = application.GetConfigManager().IsWindowed();
    RECT outer;
    ASSERT_TRUE(GetWindowRect(hwnd, &outer));
    const RECT client{outer.left + GetSystemMetrics(SM_CXSIZEFRAME),
                      outer.top + GetSystemMetrics(SM_CYSIZEFRAME) + GetSystemMetrics(SM_CYCAPTION),
                      outer.right - GetSystemMetrics(SM_CXSIZEFRAME), outer.bottom - GetSystemMetrics(SM_CYSIZEFRAME)};
    capture.Clear();
    bool alive = false;
    RECT rect{};
    bool pressed = false;
    size_t mark = 0;
    // The keys, then two frames later (every message they made dispatched)
    // a look at the window, and the close.
    LoopDriver driver(hwnd, [&]() {
      if (!pressed) {
        table->clientRect = RECT{0, 0, 1, 1};
        for (const auto& [dik, down] : c.keys) RaiseKey(dik, down, false, hwnd);
        pressed = true;
        mark = Frames();
        return true;
      }
      if (Frames() < mark + 2) return true;
      alive = IsWindow(hwnd);
      rect = table->clientRect;
      RaiseWindowEvent(hwnd, SystemEventKind::Close);
      return false;
    });
    EXPECT_EQ(application.Run(), 0);
    EXPECT_TRUE(alive);
    EXPECT_EQ(application.GetConfigManager().IsWindowed() != windowed, c.toggles);
    EXPECT_EQ(Count(capture.Text(), windowed ? "gfx CreateDevice windowed=0" : "gfx CreateDevice windowed=1"),
              c.toggles ? 1u : 0u);
    const bool refreshed = rect.left == client.left && rect.top == client.top && rect.right == client.right &&
                           rect.bottom == client.bottom;
    EXPECT_EQ(refreshed, c.refreshes) << rect.left << "," << rect.top << "," << rect.right << "," << rect.bottom;
  }
}

// Alt+Enter when the renderer can make a device in neither mode: the
// renderer's restart tells the player why (one box) and leaves no renderer;
// the program then quits by itself, through the whole shutdown, with a
// non-zero code, instead of going on with nothing drawn.
TEST_F(ApplicationLoop, AToggleThatCanStartNoDeviceQuits) {
  ASSERT_NO_FATAL_FAILURE(Start());
  const HWND hwnd = window;
  bool pressed = false;
  boxes.clear();
  LoopDriver driver(
      hwnd,
      [&]() {
        if (!pressed) {
          setenv("FAKE_GFX_CREATE", "0", 1);
          for (const auto& [dik, down] : {std::pair<uint8_t, bool>{DIK_LMENU, true}, {DIK_RETURN, true},
                                          {DIK_RETURN, false}, {DIK_LMENU, false}})
            RaiseKey(dik, down, false, hwnd);
          pressed = true;
        }
        return true;  // the application has to end the session itself
      },
      5000);
  const int32_t code = app->Run();
  unsetenv("FAKE_GFX_CREATE");
  EXPECT_TRUE(pressed);
  EXPECT_NE(code, 0);
  EXPECT_EQ(table->graphics, nullptr);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0], cCore_LibraryManager::kNoPixelFormatMessage);
  EXPECT_FALSE(app->GetFailure().empty());
  // The rest of the shutdown runs as after any quit, down to the plug-ins.
  capture.Clear();
  Stop();
  EXPECT_NE(capture.Text().find("[fake] gfx destroyed"), std::string::npos) << capture.Text();
}

}  // namespace
}  // namespace gametest
