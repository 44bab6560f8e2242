#include <gtest/gtest.h>

#include "platform/DebugOutput.h"
#include "platform/window/KeyCodes.h"
#include "platform/window/SystemEvents.h"
#include "TestWindow.h"

using namespace platform;
using wtest::Seen;

namespace {

constexpr LPARAM kClient800x600 = MAKELPARAM(800, 600);

class HeadlessWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(InitWindowSystem(WindowBackend::Headless), status::Ok);
    wtest::Log().clear();
    hwnd = wtest::MakeWindow();
    ASSERT_NE(hwnd, nullptr);
    wtest::Drain();
    wtest::Log().clear();
  }
  void TearDown() override { ShutdownWindowSystem(); }
  HWND hwnd = nullptr;
};

TEST_F(HeadlessWindow, CreationAndShowSendSizeAndActivation) {
  ShutdownWindowSystem();
  ASSERT_EQ(InitWindowSystem(WindowBackend::Headless), status::Ok);
  wtest::Log().clear();
  HWND w = wtest::MakeWindow();
  ASSERT_NE(w, nullptr);
  std::vector<Seen> seen = wtest::Take({WM_GETMINMAXINFO, WM_CREATE, WM_SIZE, WM_SHOWWINDOW, WM_ACTIVATE});
  ASSERT_EQ(seen.size(), 5u);
  EXPECT_EQ(seen[0].message, WM_GETMINMAXINFO);
  EXPECT_EQ(seen[1].message, WM_CREATE);
  EXPECT_EQ(seen[2], (Seen{WM_SIZE, SIZE_RESTORED, kClient800x600}));
  EXPECT_EQ(seen[3], (Seen{WM_SHOWWINDOW, 1, 0}));
  EXPECT_EQ(seen[4], (Seen{WM_ACTIVATE, WA_ACTIVE, 0}));
  EXPECT_EQ(GetActiveWindow(), w);
  ASSERT_TRUE(UpdateWindow(w));
  EXPECT_EQ(wtest::Take({WM_ERASEBKGND, WM_PAINT}), (std::vector<Seen>{{WM_ERASEBKGND, 0, 0}, {WM_PAINT, 0, 0}}));

  RECT r;
  ASSERT_TRUE(GetWindowRect(w, &r));
  EXPECT_EQ(r.left, 10);
  EXPECT_EQ(r.bottom, 20 + 627);
  const NativeWindow* native = GetNativeWindow(w);
  ASSERT_NE(native, nullptr);
  EXPECT_EQ(native->sdl, nullptr);
  EXPECT_EQ(native->width, 800);
  EXPECT_EQ(native->height, 600);
  EXPECT_EQ(GetNativeWindow(nullptr), nullptr);
}

TEST_F(HeadlessWindow, MinimiseAndRestoreSequences) {
  RaiseWindowEvent(hwnd, SystemEventKind::Minimize);
  EXPECT_TRUE(wtest::Log().empty()) << "system notices wait for the next pump";
  wtest::Drain();
  EXPECT_EQ(wtest::Take({WM_SIZE, WM_ACTIVATE}),
            (std::vector<Seen>{{WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, 1), 0}, {WM_SIZE, SIZE_MINIMIZED, 0}}));
  EXPECT_TRUE(IsIconic(hwnd));
  EXPECT_EQ(GetActiveWindow(), nullptr);

  RaiseWindowEvent(hwnd, SystemEventKind::Minimize);  // already minimised: nothing
  wtest::Drain();
  EXPECT_TRUE(wtest::Take({WM_SIZE, WM_ACTIVATE}).empty());

  RaiseWindowEvent(hwnd, SystemEventKind::Restore);
  wtest::Drain();
  EXPECT_EQ(wtest::Take({WM_SIZE, WM_ACTIVATE}),
            (std::vector<Seen>{{WM_SIZE, SIZE_RESTORED, kClient800x600}, {WM_ACTIVATE, WA_ACTIVE, 0}}));
  EXPECT_FALSE(IsIconic(hwnd));
  EXPECT_EQ(GetActiveWindow(), hwnd);

  // Minimised through the system command's default processing.
  SendMessage(hwnd, WM_SYSCOMMAND, SC_MINIMIZE, 0);
  EXPECT_EQ(wtest::Take({WM_SIZE}), (std::vector<Seen>{{WM_SIZE, SIZE_MINIMIZED, 0}}));

  // Hidden by the desktop and shown again.
  RaiseWindowEvent(hwnd, SystemEventKind::Restore);
  RaiseWindowEvent(hwnd, SystemEventKind::Hide);
  RaiseWindowEvent(hwnd, SystemEventKind::Show);
  wtest::Drain();
  EXPECT_EQ(wtest::Take({WM_SIZE}),
            (std::vector<Seen>{{WM_SIZE, SIZE_RESTORED, kClient800x600}, {WM_SIZE, SIZE_MAXHIDE, 0}, {WM_SIZE, SIZE_MAXSHOW, 0}}));
}

TEST_F(HeadlessWindow, ActivateAndDeactivate) {
  RaiseWindowEvent(hwnd, SystemEventKind::Deactivate);
  RaiseWindowEvent(hwnd, SystemEventKind::Deactivate);  // no change, no message
  RaiseWindowEvent(hwnd, SystemEventKind::Activate);
  wtest::Drain();
  std::vector<Seen> seen = wtest::Take({WM_ACTIVATE});
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(LOWORD(seen[0].wParam), WA_INACTIVE);
  EXPECT_EQ(LOWORD(seen[1].wParam), WA_ACTIVE);
  EXPECT_EQ(GetActiveWindow(), hwnd);
}

TEST_F(HeadlessWindow, CloseGoesThroughSystemCommandAndEndsWithQuit) {
  RaiseWindowEvent(hwnd, SystemEventKind::Close);
  MSG msg;
  ASSERT_TRUE(PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, WM_QUIT);
  EXPECT_EQ(msg.wParam, 0u);
  EXPECT_EQ(wtest::Take({WM_SYSCOMMAND, WM_CLOSE, WM_DESTROY}),
            (std::vector<Seen>{{WM_SYSCOMMAND, SC_CLOSE, 0}, {WM_CLOSE, 0, 0}, {WM_DESTROY, 0, 0}}));
  EXPECT_FALSE(IsWindow(hwnd));
  EXPECT_EQ(GetActiveWindow(), nullptr);
  EXPECT_FALSE(PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) << "quit is taken once";
}

TEST_F(HeadlessWindow, AltEnterArrivesAsSystemKeys) {
  RaiseKey(DIK_LMENU, true);
  RaiseKey(DIK_RETURN, true);
  RaiseKey(DIK_RETURN, false);
  RaiseKey(DIK_LMENU, false);
  RaiseKey(DIK_RETURN, true);  // without Alt: an ordinary key
  wtest::Drain();
  std::vector<Seen> seen = wtest::Take({WM_KEYDOWN, WM_KEYUP, WM_SYSKEYDOWN, WM_SYSKEYUP});
  ASSERT_EQ(seen.size(), 5u);
  EXPECT_EQ(seen[0].message, WM_SYSKEYDOWN);
  EXPECT_EQ(seen[0].wParam, VK_MENU);
  EXPECT_EQ(seen[1].message, WM_SYSKEYDOWN);
  EXPECT_EQ(seen[1].wParam, VK_RETURN);
  EXPECT_EQ(seen[2].message, WM_SYSKEYUP);
  EXPECT_EQ(seen[2].wParam, VK_RETURN);
  uint32_t lp = static_cast<uint32_t>(seen[2].lParam);
  EXPECT_EQ(lp >> KF_ALTDOWN_BIT & 1, 1u);
  EXPECT_EQ(lp >> KF_UP_BIT & 1, 1u);
  EXPECT_EQ(lp >> 16 & 0xFF, DIK_RETURN);
  EXPECT_EQ(seen[3].message, WM_SYSKEYUP);
  EXPECT_EQ(seen[3].wParam, VK_MENU);
  EXPECT_EQ(seen[4].message, WM_KEYDOWN);
  EXPECT_EQ(static_cast<uint32_t>(seen[4].lParam) >> KF_ALTDOWN_BIT & 1, 0u);
}

TEST_F(HeadlessWindow, RegisteredHotKeysReplaceAltF4AndAltTab) {
  // Without the hot key Alt+F4 closes the window through default processing.
  ASSERT_TRUE(RegisterHotKey(hwnd, 100, MOD_ALT, VK_TAB));
  ASSERT_TRUE(RegisterHotKey(hwnd, 101, MOD_ALT, VK_F4));
  EXPECT_FALSE(RegisterHotKey(hwnd, 102, MOD_ALT, VK_F4)) << "combination taken";
  EXPECT_TRUE(IsHotKeyRegistered(hwnd, 101));
  RaiseKey(DIK_LMENU, true);
  RaiseKey(DIK_F4, true);
  RaiseKey(DIK_F4, false);
  RaiseKey(DIK_TAB, true);
  RaiseKey(DIK_TAB, false);
  EXPECT_FALSE(wtest::Drain());
  EXPECT_TRUE(IsWindow(hwnd));
  EXPECT_EQ(wtest::Take({WM_HOTKEY, WM_SYSCOMMAND}),
            (std::vector<Seen>{{WM_HOTKEY, 101, MAKELPARAM(MOD_ALT, VK_F4)}, {WM_HOTKEY, 100, MAKELPARAM(MOD_ALT, VK_TAB)}}));

  ASSERT_TRUE(UnregisterHotKey(hwnd, 101));
  EXPECT_FALSE(UnregisterHotKey(hwnd, 101));
  RaiseKey(DIK_F4, true);
  EXPECT_TRUE(wtest::Drain());
  EXPECT_FALSE(IsWindow(hwnd));
  RaiseKey(DIK_LMENU, false);
}

TEST_F(HeadlessWindow, QueueFilterPostQuitAndBlockingGet) {
  EXPECT_TRUE(PostMessage(hwnd, WM_USER + 1, 7, 8));
  EXPECT_TRUE(PostMessage(hwnd, WM_USER + 2, 9, 10));
  EXPECT_FALSE(PostMessage(reinterpret_cast<HWND>(0x1234), WM_USER, 0, 0));
  PostQuitMessage(3);
  MSG msg;
  ASSERT_TRUE(PeekMessage(&msg, nullptr, WM_USER + 2, WM_USER + 2, PM_NOREMOVE));
  EXPECT_EQ(msg.wParam, 9u);
  ASSERT_EQ(GetMessage(&msg, nullptr, 0, 0), 1);
  EXPECT_EQ(msg.message, WM_USER + 1u);
  EXPECT_EQ(DispatchMessage(&msg), 0);
  ASSERT_EQ(GetMessage(&msg, nullptr, 0, 0), 1);
  EXPECT_EQ(msg.message, WM_USER + 2u);
  EXPECT_EQ(GetMessage(&msg, nullptr, 0, 0), 0) << "quit comes once the queue is empty";
  EXPECT_EQ(msg.wParam, 3u);
  ScopedDebugCapture capture;
  EXPECT_EQ(GetMessage(&msg, nullptr, 0, 0), -1) << "headless: nothing could ever arrive";
  EXPECT_TRUE(capture.Contains("GetMessage"));
}

TEST_F(HeadlessWindow, UserDataMetricsAndWorkArea) {
  int app = 0;
  EXPECT_EQ(SetWindowLongPtr(hwnd, GWLP_USERDATA, reinterpret_cast<intptr_t>(&app)), 0);
  EXPECT_EQ(GetWindowLongPtr(hwnd, GWLP_USERDATA), reinterpret_cast<intptr_t>(&app));
  EXPECT_EQ(GetSystemMetrics(SM_CXSIZEFRAME), 4);
  EXPECT_EQ(GetSystemMetrics(SM_CYFRAME), 4);
  EXPECT_EQ(GetSystemMetrics(SM_CYCAPTION), 19);
  SetHeadlessWorkArea({0, 0, 1024, 738});
  RECT area;
  ASSERT_TRUE(SystemParametersInfo(SPI_GETWORKAREA, 0, &area, 0));
  EXPECT_EQ(area.right, 1024);
  EXPECT_EQ(area.bottom, 738);
  EXPECT_FALSE(SystemParametersInfo(0x1234, 0, &area, 0));

  ASSERT_TRUE(SetWindowPos(hwnd, HWND_NOTOPMOST, 100, 50, 1032, 795, SWP_SHOWWINDOW));
  EXPECT_EQ(wtest::Take({WM_SIZE}), (std::vector<Seen>{{WM_SIZE, SIZE_RESTORED, MAKELPARAM(1024, 768)}}));
  RECT client;
  ASSERT_TRUE(GetClientRect(hwnd, &client));
  EXPECT_EQ(client.right, 1024);
  EXPECT_EQ(client.bottom, 768);
  EXPECT_EQ(GetNativeWindow(hwnd)->width, 1024);
}

// A window that fixes its tracking size cannot be resized by the user.
LRESULT FixedSizeProc(HWND hwnd, uint32_t message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_GETMINMAXINFO) {
    auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
    info->ptMinTrackSize = info->ptMaxTrackSize = {808, 627};
  }
  return wtest::RecordingProc(hwnd, message, wParam, lParam);
}

TEST_F(HeadlessWindow, TrackingSizeLimitsUserResize) {
  WNDCLASS wc;
  wc.lpfnWndProc = FixedSizeProc;
  wc.lpszClassName = "Fixed";
  ASSERT_NE(RegisterClass(wc), 0);
  EXPECT_EQ(RegisterClass(wc), 0) << "duplicate class";
  HWND fixed = CreateWindowEx(0, "fixed", "f", WS_THICKFRAME, 0, 0, 808, 627, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(fixed, nullptr);
  wtest::Log().clear();
  SystemEvent e;
  e.kind = SystemEventKind::Resize;
  e.window = fixed;
  e.width = 1000;
  e.height = 700;
  RaiseSystemEvent(e);
  wtest::Drain();
  EXPECT_TRUE(wtest::Take({WM_SIZE}).empty());
  EXPECT_EQ(GetNativeWindow(fixed)->width, 800);

  e.window = hwnd;  // the test window has no limits of its own
  RaiseSystemEvent(e);
  wtest::Drain();
  EXPECT_EQ(wtest::Take({WM_SIZE}), (std::vector<Seen>{{WM_SIZE, SIZE_RESTORED, MAKELPARAM(1000, 700)}}));
}

TEST_F(HeadlessWindow, CursorCountAndSetCursorMessage) {
  EXPECT_TRUE(IsCursorVisible());
  EXPECT_EQ(ShowCursor(0), -1);
  EXPECT_FALSE(IsCursorVisible());
  EXPECT_EQ(ShowCursor(1), 0);
  EXPECT_TRUE(IsCursorVisible());
  HCURSOR arrow = LoadCursor(nullptr, IDC_ARROW);
  EXPECT_EQ(SetCursor(nullptr), arrow);
  EXPECT_FALSE(IsCursorVisible());

  // Mouse motion over the window asks for the cursor; default processing
  // puts the class cursor back.
  RaiseMouseMove(3, 0);
  wtest::Drain();
  EXPECT_EQ(wtest::Take({WM_SETCURSOR}),
            (std::vector<Seen>{{WM_SETCURSOR, reinterpret_cast<WPARAM>(hwnd), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)}}));
  EXPECT_TRUE(IsCursorVisible());
}

}  // namespace
