#pragma once
// Types and numeric values of the window and message layer. The program's
// window procedure and main loop are written against these: message ids,
// size reasons, system commands, virtual keys and metric indices keep the
// numeric values the program uses. Handles and message parameters are
// pointer-sized.
#include <cstdint>

namespace platform {

struct Window;                 // one window of the window layer (opaque)
using HWND = Window*;
using HINSTANCE = void*;
using HCURSOR = const struct CursorShape*;
using HICON = const void*;
using WPARAM = uintptr_t;
using LPARAM = intptr_t;
using LRESULT = intptr_t;
using BOOL = int;
using ATOM = uint16_t;

using WNDPROC = LRESULT (*)(HWND hwnd, uint32_t message, WPARAM wParam, LPARAM lParam);

struct POINT {
  int32_t x = 0;
  int32_t y = 0;
};

struct RECT {
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;
};

struct MSG {
  HWND hwnd = nullptr;
  uint32_t message = 0;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
  uint32_t time = 0;  // tick count when the message was queued
};

// Answer to WM_GETMINMAXINFO: the window procedure may change any field.
struct MINMAXINFO {
  POINT ptReserved;
  POINT ptMaxSize;
  POINT ptMaxPosition;
  POINT ptMinTrackSize;
  POINT ptMaxTrackSize;
};

struct WNDCLASS {
  uint32_t style = 0;
  WNDPROC lpfnWndProc = nullptr;
  int32_t cbClsExtra = 0;
  int32_t cbWndExtra = 0;
  HINSTANCE hInstance = nullptr;
  HICON hIcon = nullptr;
  HCURSOR hCursor = nullptr;
  uintptr_t hbrBackground = 0;
  const char* lpszMenuName = nullptr;
  const char* lpszClassName = nullptr;
};

inline constexpr uint16_t LOWORD(uintptr_t v) { return static_cast<uint16_t>(v & 0xFFFF); }
inline constexpr uint16_t HIWORD(uintptr_t v) { return static_cast<uint16_t>((v >> 16) & 0xFFFF); }
inline constexpr WPARAM MAKEWPARAM(uint16_t lo, uint16_t hi) { return static_cast<WPARAM>(lo) | (static_cast<WPARAM>(hi) << 16); }
inline constexpr LPARAM MAKELPARAM(uint16_t lo, uint16_t hi) {
  return static_cast<LPARAM>(static_cast<uint32_t>(lo) | (static_cast<uint32_t>(hi) << 16));
}

// Message ids.
enum : uint32_t {
  WM_NULL = 0x0000,
  WM_CREATE = 0x0001,
  WM_DESTROY = 0x0002,
  WM_MOVE = 0x0003,
  WM_SIZE = 0x0005,
  WM_ACTIVATE = 0x0006,
  WM_SETFOCUS = 0x0007,
  WM_KILLFOCUS = 0x0008,
  WM_PAINT = 0x000F,
  WM_CLOSE = 0x0010,
  WM_QUIT = 0x0012,
  WM_ERASEBKGND = 0x0014,
  WM_SHOWWINDOW = 0x0018,
  WM_SETCURSOR = 0x0020,
  WM_GETMINMAXINFO = 0x0024,
  WM_KEYDOWN = 0x0100,
  WM_KEYUP = 0x0101,
  WM_CHAR = 0x0102,
  WM_SYSKEYDOWN = 0x0104,
  WM_SYSKEYUP = 0x0105,
  WM_SYSCOMMAND = 0x0112,
  WM_MOUSEMOVE = 0x0200,
  WM_HOTKEY = 0x0312,
  WM_USER = 0x0400,
};

// WM_SIZE reasons (word parameter).
enum : uint32_t { SIZE_RESTORED = 0, SIZE_MINIMIZED = 1, SIZE_MAXIMIZED = 2, SIZE_MAXSHOW = 3, SIZE_MAXHIDE = 4 };

// WM_ACTIVATE states (low word of the word parameter; the high word is
// non-zero while the window is minimised).
enum : uint32_t { WA_INACTIVE = 0, WA_ACTIVE = 1, WA_CLICKACTIVE = 2 };

// WM_SYSCOMMAND commands (word parameter).
enum : uint32_t {
  SC_SIZE = 0xF000,
  SC_MOVE = 0xF010,
  SC_MINIMIZE = 0xF020,
  SC_MAXIMIZE = 0xF030,
  SC_CLOSE = 0xF060,
  SC_KEYMENU = 0xF100,
  SC_RESTORE = 0xF120,
  SC_MONITORPOWER = 0xF170,
};

// Hit-test code carried by WM_SETCURSOR (low word of the long parameter).
enum : uint32_t { HTCLIENT = 1 };

// Virtual keys (word parameter of the key messages).
enum : uint32_t {
  VK_BACK = 0x08, VK_TAB = 0x09, VK_RETURN = 0x0D, VK_SHIFT = 0x10, VK_CONTROL = 0x11,
  VK_MENU = 0x12, VK_PAUSE = 0x13, VK_CAPITAL = 0x14, VK_ESCAPE = 0x1B, VK_SPACE = 0x20,
  VK_PRIOR = 0x21, VK_NEXT = 0x22, VK_END = 0x23, VK_HOME = 0x24, VK_LEFT = 0x25, VK_UP = 0x26,
  VK_RIGHT = 0x27, VK_DOWN = 0x28, VK_SNAPSHOT = 0x2C, VK_INSERT = 0x2D, VK_DELETE = 0x2E,
  VK_LWIN = 0x5B, VK_RWIN = 0x5C, VK_APPS = 0x5D, VK_NUMPAD0 = 0x60, VK_MULTIPLY = 0x6A,
  VK_ADD = 0x6B, VK_SUBTRACT = 0x6D, VK_DECIMAL = 0x6E, VK_DIVIDE = 0x6F, VK_F1 = 0x70,
  VK_F4 = 0x73, VK_F10 = 0x79, VK_F11 = 0x7A, VK_F12 = 0x7B, VK_NUMLOCK = 0x90, VK_SCROLL = 0x91,
  VK_OEM_1 = 0xBA, VK_OEM_PLUS = 0xBB, VK_OEM_COMMA = 0xBC, VK_OEM_MINUS = 0xBD,
  VK_OEM_PERIOD = 0xBE, VK_OEM_2 = 0xBF, VK_OEM_3 = 0xC0, VK_OEM_4 = 0xDB, VK_OEM_5 = 0xDC,
  VK_OEM_6 = 0xDD, VK_OEM_7 = 0xDE, VK_OEM_102 = 0xE2,
};

// Hot-key modifiers.
enum : uint32_t { MOD_ALT = 0x1, MOD_CONTROL = 0x2, MOD_SHIFT = 0x4, MOD_WIN = 0x8 };

// ShowWindow commands.
enum : int32_t { SW_HIDE = 0, SW_SHOWNORMAL = 1, SW_SHOW = 5, SW_MINIMIZE = 6, SW_RESTORE = 9 };

// SetWindowPos flags and insert-after values.
enum : uint32_t { SWP_NOSIZE = 0x1, SWP_NOMOVE = 0x2, SWP_NOZORDER = 0x4, SWP_SHOWWINDOW = 0x40, SWP_HIDEWINDOW = 0x80 };
inline const HWND HWND_TOP = nullptr;
inline const HWND HWND_NOTOPMOST = reinterpret_cast<HWND>(static_cast<intptr_t>(-2));

// GetSystemMetrics indices.
enum : int32_t {
  SM_CXSCREEN = 0, SM_CYSCREEN = 1, SM_CYCAPTION = 4,
  SM_CXFRAME = 32, SM_CYFRAME = 33,
  SM_CXSIZEFRAME = SM_CXFRAME, SM_CYSIZEFRAME = SM_CYFRAME,
};

// SystemParametersInfo actions.
enum : uint32_t { SPI_GETWORKAREA = 0x0030 };

// Window long indices: user data.
enum : int32_t { GWLP_USERDATA = -21, GWL_USERDATA = -21 };

// Class styles and window styles.
enum : uint32_t { CS_VREDRAW = 0x1, CS_HREDRAW = 0x2, CS_CLASSDC = 0x40 };
enum : uint32_t { WS_OVERLAPPED = 0x0, WS_CAPTION = 0x00C00000, WS_SYSMENU = 0x00080000, WS_THICKFRAME = 0x00040000, WS_VISIBLE = 0x10000000 };

// PeekMessage removal flags.
enum : uint32_t { PM_NOREMOVE = 0x0, PM_REMOVE = 0x1 };

// Key-message long parameter bits.
enum : uint32_t { KF_EXTENDED_BIT = 24, KF_ALTDOWN_BIT = 29, KF_REPEAT_BIT = 30, KF_UP_BIT = 31 };

}  // namespace platform
