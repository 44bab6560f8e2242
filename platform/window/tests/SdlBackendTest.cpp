#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/Clock.h"
#include "platform/window/InputDevices.h"
#include "platform/window/KeyCodes.h"
#include "TestDevices.h"
#include "TestWindow.h"

using namespace platform;
using wtest::Seen;

namespace {

class SdlBackend : public wtest::DeviceTest {
 protected:
  void SetUp() override {
    setenv("SDL_VIDEODRIVER", "offscreen", 1);  // no display here
    ASSERT_EQ(InitWindowSystem(WindowBackend::Sdl), status::Ok);
    hwnd = wtest::MakeWindow();
    ASSERT_NE(hwnd, nullptr);
    sdl = GetNativeWindow(hwnd)->sdl;
    ASSERT_NE(sdl, nullptr);
    wtest::Drain();  // whatever the driver reports about the new window
    wtest::Log().clear();

    ASSERT_NO_FATAL_FAILURE(OpenDevices(8));
    ASSERT_EQ(keyboard->Acquire(), DI_OK);
    ASSERT_EQ(mouse->Acquire(), DI_OK);
  }

  void PushWindow(SDL_WindowEventID id, int data1 = 0, int data2 = 0) {
    SDL_Event e{};
    e.type = SDL_WINDOWEVENT;
    e.window.windowID = SDL_GetWindowID(sdl);
    e.window.event = static_cast<Uint8>(id);
    e.window.data1 = data1;
    e.window.data2 = data2;
    ASSERT_EQ(SDL_PushEvent(&e), 1);
  }
  void PushKey(SDL_Scancode code, bool down, bool repeat = false) {
    SDL_Event e{};
    e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    e.key.windowID = SDL_GetWindowID(sdl);
    e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    e.key.repeat = repeat ? 1 : 0;
    e.key.keysym.scancode = code;
    ASSERT_EQ(SDL_PushEvent(&e), 1);
  }
  void PushButton(Uint8 button, bool down) {
    SDL_Event e{};
    e.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
    e.button.windowID = SDL_GetWindowID(sdl);
    e.button.button = button;
    e.button.state = down ? SDL_PRESSED : SDL_RELEASED;
    ASSERT_EQ(SDL_PushEvent(&e), 1);
  }
  void PushMotion(int dx, int dy) {
    SDL_Event e{};
    e.type = SDL_MOUSEMOTION;
    e.motion.windowID = SDL_GetWindowID(sdl);
    e.motion.xrel = dx;
    e.motion.yrel = dy;
    ASSERT_EQ(SDL_PushEvent(&e), 1);
  }
  // A motion event as injected pointer motion may arrive: a position in
  // the window and no device motion.
  void PushPointerAt(int x, int y) {
    SDL_Event e{};
    e.type = SDL_MOUSEMOTION;
    e.motion.windowID = SDL_GetWindowID(sdl);
    e.motion.x = x;
    e.motion.y = y;
    ASSERT_EQ(SDL_PushEvent(&e), 1);
  }
  void PushWheel(int y, bool flipped) {
    SDL_Event e{};
    e.type = SDL_MOUSEWHEEL;
    e.wheel.windowID = SDL_GetWindowID(sdl);
    e.wheel.y = y;
    e.wheel.direction = flipped ? SDL_MOUSEWHEEL_FLIPPED : SDL_MOUSEWHEEL_NORMAL;
    ASSERT_EQ(SDL_PushEvent(&e), 1);
  }

  std::vector<DIDEVICEOBJECTDATA> Records(IDirectInputDevice8* d, HRESULT expected = DI_OK) {
    std::vector<DIDEVICEOBJECTDATA> out(64);
    uint32_t count = 64;
    EXPECT_EQ(d->GetDeviceData(sizeof(DIDEVICEOBJECTDATA), out.data(), &count, 0), expected);
    out.resize(count);
    return out;
  }

  SDL_Window* sdl = nullptr;
};

TEST_F(SdlBackend, RealWindowBehindTheHandle) {
  int w = 0, h = 0;
  SDL_GetWindowSize(sdl, &w, &h);
  EXPECT_EQ(w, 800);
  EXPECT_EQ(h, 600);
  EXPECT_EQ(GetNativeWindow(hwnd)->width, 800);
  EXPECT_EQ(GetActiveWindow(), hwnd);
  ASSERT_TRUE(SetWindowPos(hwnd, HWND_NOTOPMOST, 0, 0, 648, 507, SWP_SHOWWINDOW));
  SDL_GetWindowSize(sdl, &w, &h);
  EXPECT_EQ(w, 640);
  EXPECT_EQ(h, 480);
}

TEST_F(SdlBackend, WindowEventsBecomeMessages) {
  PushWindow(SDL_WINDOWEVENT_FOCUS_LOST);
  PushWindow(SDL_WINDOWEVENT_FOCUS_GAINED);
  PushWindow(SDL_WINDOWEVENT_MINIMIZED);
  PushWindow(SDL_WINDOWEVENT_RESTORED);
  PushWindow(SDL_WINDOWEVENT_SIZE_CHANGED, 640, 480);
  wtest::Drain();
  EXPECT_EQ(wtest::Take({WM_SIZE, WM_ACTIVATE}),
            (std::vector<Seen>{{WM_ACTIVATE, WA_INACTIVE, 0},
                               {WM_ACTIVATE, WA_ACTIVE, 0},
                               {WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, 1), 0},
                               {WM_SIZE, SIZE_MINIMIZED, 0},
                               {WM_SIZE, SIZE_RESTORED, MAKELPARAM(800, 600)},
                               {WM_ACTIVATE, WA_ACTIVE, 0},
                               {WM_SIZE, SIZE_RESTORED, MAKELPARAM(640, 480)}}));
  EXPECT_EQ(GetNativeWindow(hwnd)->height, 480);

  PushWindow(SDL_WINDOWEVENT_CLOSE);
  EXPECT_TRUE(wtest::Drain()) << "close ends with the quit message";
  EXPECT_EQ(wtest::Take({WM_SYSCOMMAND, WM_CLOSE, WM_DESTROY}),
            (std::vector<Seen>{{WM_SYSCOMMAND, SC_CLOSE, 0}, {WM_CLOSE, 0, 0}, {WM_DESTROY, 0, 0}}));
  EXPECT_FALSE(IsWindow(hwnd));
}

TEST_F(SdlBackend, KeysMapToScanCodesAndRepeatIsDropped) {
  struct {
    SDL_Scancode sdl;
    uint8_t dik;
  } table[] = {{SDL_SCANCODE_ESCAPE, DIK_ESCAPE}, {SDL_SCANCODE_A, DIK_A},         {SDL_SCANCODE_M, DIK_M},
               {SDL_SCANCODE_RETURN, DIK_RETURN}, {SDL_SCANCODE_LSHIFT, DIK_LSHIFT}, {SDL_SCANCODE_RCTRL, DIK_RCONTROL},
               {SDL_SCANCODE_RALT, DIK_RMENU},    {SDL_SCANCODE_UP, DIK_UP},         {SDL_SCANCODE_KP_ENTER, DIK_NUMPADENTER},
               {SDL_SCANCODE_KP_MINUS, DIK_SUBTRACT}, {SDL_SCANCODE_CAPSLOCK, DIK_CAPITAL}, {SDL_SCANCODE_NUMLOCKCLEAR, DIK_NUMLOCK},
               {SDL_SCANCODE_F12, DIK_F12},       {SDL_SCANCODE_APOSTROPHE, DIK_APOSTROPHE}};
  for (const auto& row : table) {
    PushKey(row.sdl, true);
    PushKey(row.sdl, true, /*repeat=*/true);
    PushKey(row.sdl, false);
  }
  PushKey(SDL_SCANCODE_AUDIOPLAY, true);  // no key code: nothing
  std::vector<DIDEVICEOBJECTDATA> recs = Records(keyboard);
  ASSERT_EQ(recs.size(), 2 * std::size(table));
  for (size_t i = 0; i < std::size(table); ++i) {
    EXPECT_EQ(recs[2 * i].dwOfs, table[i].dik) << i;
    EXPECT_EQ(recs[2 * i].dwData, 0x80u);
    EXPECT_EQ(recs[2 * i + 1].dwOfs, table[i].dik);
    EXPECT_EQ(recs[2 * i + 1].dwData, 0u);
  }
  // The window still sees the repeat, marked as one.
  wtest::Drain();
  std::vector<Seen> seen = wtest::Take({WM_KEYDOWN});
  ASSERT_GE(seen.size(), 2u);
  EXPECT_EQ(seen[0].wParam, VK_ESCAPE);
  EXPECT_EQ(static_cast<uint32_t>(seen[0].lParam) >> KF_REPEAT_BIT & 1, 0u);
  EXPECT_EQ(static_cast<uint32_t>(seen[1].lParam) >> KF_REPEAT_BIT & 1, 1u);

  // Alt+Enter through SDL.
  PushKey(SDL_SCANCODE_LALT, true);
  PushKey(SDL_SCANCODE_RETURN, true);
  PushKey(SDL_SCANCODE_RETURN, false);
  PushKey(SDL_SCANCODE_LALT, false);
  wtest::Drain();
  EXPECT_EQ(wtest::Take({WM_SYSKEYUP}).front().wParam, VK_RETURN);
}

TEST_F(SdlBackend, MouseEventsBecomeRecords) {
  clock.SetCounter(1'000'000);
  PushMotion(7, -2);
  PushButton(SDL_BUTTON_RIGHT, true);
  PushButton(SDL_BUTTON_MIDDLE, true);
  PushWheel(1, false);
  PushWheel(2, true);
  PushButton(SDL_BUTTON_RIGHT, false);
  std::vector<DIDEVICEOBJECTDATA> recs = Records(mouse);
  struct {
    uint32_t ofs;
    int32_t data;
  } expected[] = {{DIMOFS_X, 7},           {DIMOFS_Y, -2},   {DIMOFS_BUTTON1, 0x80}, {DIMOFS_BUTTON2, 0x80},
                  {DIMOFS_Z, 120},         {DIMOFS_Z, -240}, {DIMOFS_BUTTON1, 0}};
  ASSERT_EQ(recs.size(), std::size(expected));
  for (size_t i = 0; i < recs.size(); ++i) {
    EXPECT_EQ(recs[i].dwOfs, expected[i].ofs) << i;
    EXPECT_EQ(static_cast<int32_t>(recs[i].dwData), expected[i].data) << i;
    EXPECT_EQ(recs[i].dwTimeStamp, 1000u);
    if (i > 1) {
      EXPECT_GT(recs[i].dwSequence, recs[i - 1].dwSequence);
    }
  }

  // Nine events into a buffer of eight: the read reports the overflow.
  for (int i = 0; i < 9; ++i) PushWheel(1, false);
  EXPECT_EQ(Records(mouse, DI_BUFFEROVERFLOW).size(), 8u);

  // Focus lost: the exclusive foreground mouse is lost, then not acquired.
  PushMotion(1, 1);
  PushWindow(SDL_WINDOWEVENT_FOCUS_LOST);
  EXPECT_TRUE(Records(mouse, DIERR_INPUTLOST).empty());
  EXPECT_TRUE(Records(mouse, DIERR_NOTACQUIRED).empty());
  PushWindow(SDL_WINDOWEVENT_FOCUS_GAINED);
  wtest::Drain();
  EXPECT_EQ(mouse->Acquire(), DI_OK);
  PushButton(SDL_BUTTON_LEFT, true);
  recs = Records(mouse);
  ASSERT_EQ(recs.size(), 1u);
  EXPECT_EQ(recs[0].dwOfs, DIMOFS_BUTTON0);
}

// The exclusive mouse keeps SDL in absolute mode, and pointer positions
// become the motion between them, whether or not the event carries device
// motion: injected motion moves the game's pointer, and a pointer that left
// the window comes back where it re-enters.
TEST_F(SdlBackend, PointerPositionsBecomeMotionInAbsoluteMode) {
  EXPECT_EQ(SDL_GetRelativeMouseMode(), SDL_FALSE);
  struct Case {
    const char* name;
    int x, y;
    int32_t dx, dy;  // the motion recorded (0, 0: none)
  } cases[] = {
      {"first position: nothing to measure from", 100, 100, 0, 0},
      {"moved right and up", 130, 90, 30, -10},
      {"left the window and came back at the far side", 5, 200, -125, 110},
      {"still", 5, 200, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    PushPointerAt(c.x, c.y);
    std::vector<DIDEVICEOBJECTDATA> recs = Records(mouse);
    int32_t dx = 0, dy = 0;
    for (const DIDEVICEOBJECTDATA& r : recs) {
      if (r.dwOfs == DIMOFS_X) dx += static_cast<int32_t>(r.dwData);
      if (r.dwOfs == DIMOFS_Y) dy += static_cast<int32_t>(r.dwData);
    }
    EXPECT_EQ(dx, c.dx);
    EXPECT_EQ(dy, c.dy);
  }
}

}  // namespace
