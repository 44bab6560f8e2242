#pragma once
// The window and message layer: window classes with a window procedure,
// windows, one message queue with peek-and-remove and blocking get,
// translate/dispatch, default processing, user data, work area and frame
// metrics, hot keys and the cursor.
//
// Two backends. SDL: each window is a real SDL window; SDL window, keyboard
// and mouse events become messages (and input-device records). Headless: no
// window exists anywhere; tests and scripts raise the same system events
// through SystemEvents.h and post messages directly.
//
// Messages the system raises on its own are delivered like this: state
// notices (WM_SIZE, WM_ACTIVATE, WM_SETCURSOR, WM_GETMINMAXINFO, WM_SYSCOMMAND,
// WM_CLOSE, WM_DESTROY) go straight to the window procedure from inside
// PeekMessage/GetMessage; key messages, WM_HOTKEY, WM_QUIT and everything
// posted wait in the queue for the caller to dispatch.
#include <cstdint>
#include <string>

#include "base/Status.h"
#include "platform/NativeWindow.h"
#include "platform/window/WindowTypes.h"

namespace platform {

enum class WindowBackend { Headless, Sdl };

// Starts the window layer with a backend. The SDL backend initialises SDL's
// video and events (honouring SDL_VIDEODRIVER) and, when a real display is in
// use, routes platform::MessageBox to SDL message boxes. Fails when SDL
// cannot start. Calling it again first shuts the running layer down.
CoreStatus InitWindowSystem(WindowBackend backend);
// Destroys every window, forgets classes, hot keys and queued messages.
void ShutdownWindowSystem();
bool IsWindowSystemRunning();
WindowBackend GetWindowBackend();

// Classes and windows.
ATOM RegisterClass(const WNDCLASS& wc);  // 0 on failure (duplicate name, no procedure)
bool UnregisterClass(const char* className, HINSTANCE instance);
// x, y, width and height are the outer window rectangle (frame and caption
// included); the client area is what the frame metrics leave of it.
HWND CreateWindowEx(uint32_t exStyle, const char* className, const char* windowName, uint32_t style,
                    int32_t x, int32_t y, int32_t width, int32_t height, HWND parent, void* menu,
                    HINSTANCE instance, void* param);
bool DestroyWindow(HWND hwnd);
bool IsWindow(HWND hwnd);
bool ShowWindow(HWND hwnd, int32_t command);
bool UpdateWindow(HWND hwnd);
bool SetWindowPos(HWND hwnd, HWND insertAfter, int32_t x, int32_t y, int32_t cx, int32_t cy, uint32_t flags);
bool GetWindowRect(HWND hwnd, RECT* rect);
bool GetClientRect(HWND hwnd, RECT* rect);
HWND GetActiveWindow();  // the window that has the focus (null when none)
bool IsIconic(HWND hwnd);

// The native window behind a window handle, for the graphics device and the
// input devices; its SDL window is null on the headless backend. Null for an
// unknown handle. Valid until the window is destroyed.
const NativeWindow* GetNativeWindow(HWND hwnd);

// User data on the window (GWLP_USERDATA). Returns the previous value.
intptr_t SetWindowLongPtr(HWND hwnd, int32_t index, intptr_t value);
intptr_t GetWindowLongPtr(HWND hwnd, int32_t index);

// The message queue.
BOOL PeekMessage(MSG* msg, HWND hwnd, uint32_t filterMin, uint32_t filterMax, uint32_t removeFlags);
// Waits for a message; 0 for WM_QUIT, 1 otherwise, -1 on bad arguments or
// when waiting could never end (headless backend with an empty queue).
BOOL GetMessage(MSG* msg, HWND hwnd, uint32_t filterMin, uint32_t filterMax);
// Key messages need no translation here (no character messages are made);
// returns true for a key message so callers can tell.
BOOL TranslateMessage(const MSG* msg);
LRESULT DispatchMessage(const MSG* msg);
bool PostMessage(HWND hwnd, uint32_t message, WPARAM wParam, LPARAM lParam);
LRESULT SendMessage(HWND hwnd, uint32_t message, WPARAM wParam, LPARAM lParam);
void PostQuitMessage(int32_t exitCode);
LRESULT DefWindowProc(HWND hwnd, uint32_t message, WPARAM wParam, LPARAM lParam);

// Desktop and frame metrics. The frame metrics are the layer's own fixed
// values (4-pixel frame, 19-pixel caption) on both backends so window
// arithmetic is reproducible.
int32_t GetSystemMetrics(int32_t index);
BOOL SystemParametersInfo(uint32_t action, uint32_t param, void* data, uint32_t winIni);
// Headless backend: the desktop work area the layer reports (default
// 0,0-1280,1024). On SDL the usable bounds of the first display are used.
void SetHeadlessWorkArea(const RECT& area);

// Hot keys: recorded per window. A matching key press then posts WM_HOTKEY
// (word parameter = id, long parameter = modifiers | key << 16) instead of
// the key messages, as a registered system hot key does. No effect outside
// the program.
bool RegisterHotKey(HWND hwnd, int32_t id, uint32_t modifiers, uint32_t virtualKey);
bool UnregisterHotKey(HWND hwnd, int32_t id);
bool IsHotKeyRegistered(HWND hwnd, int32_t id);

// Cursor. The cursor is visible while the display count is not negative and
// the current cursor is not null.
enum : int32_t { IDC_ARROW = 32512 };
HCURSOR LoadCursor(HINSTANCE instance, int32_t id);  // only IDC_ARROW
HCURSOR SetCursor(HCURSOR cursor);                   // returns the previous cursor
int32_t ShowCursor(BOOL show);                       // returns the new display count
bool IsCursorVisible();

}  // namespace platform
