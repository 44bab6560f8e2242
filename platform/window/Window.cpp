#include "platform/window/Window.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <thread>

#include "base/StringUtil.h"
#include "platform/Clock.h"
#include "platform/DebugOutput.h"
#include "platform/window/WindowInternal.h"

namespace platform {
namespace detail {

WindowState& State() {
  static WindowState state;
  return state;
}

Window* FindWindow(HWND hwnd) {
  if (!hwnd) return nullptr;
  for (const auto& w : State().windows) {
    if (w.get() == hwnd) return w.get();
  }
  return nullptr;
}

bool IsForeground(HWND hwnd) {
  const Window* w = FindWindow(hwnd);
  return w && State().active == hwnd && !w->minimised && !w->hidden;
}

uint32_t NextSequence() { return ++State().sequence; }

HCURSOR ArrowCursor() {
  static const CursorShape arrow{IDC_ARROW};
  return &arrow;
}

void ApplyCursor() {
  if (State().backend == WindowBackend::Sdl && State().running) SdlShowCursor(IsCursorVisible());
}

void Deliver(Delivery d, HWND hwnd, uint32_t message, WPARAM wParam, LPARAM lParam) {
  if (d == Delivery::Send) {
    SendMessage(hwnd, message, wParam, lParam);
  } else {
    State().pending.push_back({hwnd, message, wParam, lParam});
  }
}

void DeliverPending() {
  WindowState& s = State();
  while (!s.pending.empty()) {
    PendingMessage m = s.pending.front();
    s.pending.pop_front();
    SendMessage(m.hwnd, m.message, m.wParam, m.lParam);
  }
}

static LPARAM ClientSizeParam(const Window* w) {
  return MAKELPARAM(static_cast<uint16_t>(w->native.width), static_cast<uint16_t>(w->native.height));
}

void ApplyActivate(Window* w, Delivery d) {
  WindowState& s = State();
  if (s.active == w) return;
  HWND previous = s.active;
  s.active = w;
  if (Window* old = FindWindow(previous)) {
    Deliver(d, old, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, old->minimised), reinterpret_cast<LPARAM>(w));
  }
  Deliver(d, w, WM_ACTIVATE, MAKEWPARAM(WA_ACTIVE, w->minimised), reinterpret_cast<LPARAM>(previous));
  HubFocusChanged();
}

void ApplyDeactivate(Window* w, Delivery d) {
  WindowState& s = State();
  if (s.active != w) return;
  s.active = nullptr;
  Deliver(d, w, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, w->minimised), 0);
  HubFocusChanged();
}

void ApplyMinimize(Window* w, Delivery d) {
  if (w->minimised) return;
  w->minimised = true;
  if (State().active == w) ApplyDeactivate(w, d);
  Deliver(d, w, WM_SIZE, SIZE_MINIMIZED, 0);
  HubFocusChanged();
}

void ApplyRestore(Window* w, Delivery d) {
  if (!w->minimised) return;
  w->minimised = false;
  Deliver(d, w, WM_SIZE, SIZE_RESTORED, ClientSizeParam(w));
  ApplyActivate(w, d);
  HubFocusChanged();
}

}  // namespace detail

using namespace detail;

namespace {

void SetClientFromOuter(Window* w) {
  w->native.width = std::max(0, (w->rect.right - w->rect.left) - 2 * kFrame);
  w->native.height = std::max(0, (w->rect.bottom - w->rect.top) - 2 * kFrame - kCaption);
}

bool FilterAccepts(uint32_t message, uint32_t filterMin, uint32_t filterMax) {
  if (filterMin == 0 && filterMax == 0) return true;
  return message >= filterMin && message <= filterMax;
}

}  // namespace

CoreStatus InitWindowSystem(WindowBackend backend) {
  if (State().running) ShutdownWindowSystem();
  WindowState& s = State();
  s = WindowState{};
  s.backend = backend;
  s.cursor = ArrowCursor();
  if (backend == WindowBackend::Sdl && !SdlStart()) return status::Fail;
  s.running = true;
  return status::Ok;
}

void ShutdownWindowSystem() {
  WindowState& s = State();
  if (!s.running) return;
  while (!s.windows.empty()) DestroyWindow(s.windows.back().get());
  HubShutdown();
  if (s.backend == WindowBackend::Sdl) SdlStop();
  s = WindowState{};
}

bool IsWindowSystemRunning() { return State().running; }
WindowBackend GetWindowBackend() { return State().backend; }

ATOM RegisterClass(const WNDCLASS& wc) {
  WindowState& s = State();
  if (!s.running || !wc.lpfnWndProc || !wc.lpszClassName || !*wc.lpszClassName) {
    OutputDebugString("RegisterClass: window layer not running, or no procedure or name\n");
    return 0;
  }
  for (const ClassRecord& c : s.classes) {
    if (str::EqualsNoCase(c.name, wc.lpszClassName)) {
      DebugPrintf("RegisterClass: class \"%s\" already registered\n", wc.lpszClassName);
      return 0;
    }
  }
  s.classes.push_back({wc.lpszClassName, wc.lpfnWndProc, wc.hCursor, wc.style, wc.hInstance});
  return static_cast<ATOM>(0xC000 + s.classes.size());
}

bool UnregisterClass(const char* className, HINSTANCE) {
  WindowState& s = State();
  if (!className) return false;
  for (const auto& w : s.windows) {
    if (str::EqualsNoCase(w->className, className)) return false;  // still in use
  }
  auto it = std::find_if(s.classes.begin(), s.classes.end(),
                         [&](const ClassRecord& c) { return str::EqualsNoCase(c.name, className); });
  if (it == s.classes.end()) return false;
  s.classes.erase(it);
  return true;
}

HWND CreateWindowEx(uint32_t, const char* className, const char* windowName, uint32_t style, int32_t x,
                    int32_t y, int32_t width, int32_t height, HWND, void*, HINSTANCE, void*) {
  WindowState& s = State();
  if (!s.running || !className) return nullptr;
  const ClassRecord* cls = nullptr;
  for (const ClassRecord& c : s.classes) {
    if (str::EqualsNoCase(c.name, className)) cls = &c;
  }
  if (!cls) {
    DebugPrintf("CreateWindowEx: no window class \"%s\"\n", className);
    return nullptr;
  }
  if (width < 0 || height < 0 || width > 32767 || height > 32767) {
    DebugPrintf("CreateWindowEx: bad size %d x %d\n", width, height);
    return nullptr;
  }
  auto w = std::make_unique<Window>();
  w->className = cls->name;
  w->proc = cls->proc;
  w->classCursor = cls->cursor;
  w->title = windowName ? windowName : "";
  w->style = style;
  w->rect = {x, y, x + width, y + height};
  SetClientFromOuter(w.get());
  if (s.backend == WindowBackend::Sdl && !SdlCreate(w.get())) return nullptr;
  Window* hwnd = w.get();
  s.windows.push_back(std::move(w));

  MINMAXINFO info;
  info.ptMaxSize = {s.workArea.right - s.workArea.left, s.workArea.bottom - s.workArea.top};
  info.ptMinTrackSize = {2 * kFrame + 1, 2 * kFrame + kCaption};
  info.ptMaxTrackSize = {32767, 32767};
  SendMessage(hwnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
  hwnd->minTrack = info.ptMinTrackSize;
  hwnd->maxTrack = info.ptMaxTrackSize;
  if (s.backend == WindowBackend::Sdl) SdlTrackLimits(hwnd);
  SendMessage(hwnd, WM_CREATE, 0, 0);
  if (!IsWindow(hwnd)) return nullptr;  // destroyed by its own WM_CREATE
  SendMessage(hwnd, WM_SIZE, SIZE_RESTORED,
              MAKELPARAM(static_cast<uint16_t>(hwnd->native.width), static_cast<uint16_t>(hwnd->native.height)));
  if (style & WS_VISIBLE) ShowWindow(hwnd, SW_SHOW);
  return hwnd;
}

bool DestroyWindow(HWND hwnd) {
  WindowState& s = State();
  Window* w = FindWindow(hwnd);
  if (!w) return false;
  SendMessage(hwnd, WM_DESTROY, 0, 0);
  w = FindWindow(hwnd);  // the procedure may have destroyed it already
  if (!w) return true;
  bool wasActive = s.active == hwnd;
  if (wasActive) s.active = nullptr;
  s.queue.erase_if([&](const MSG& m) { return m.hwnd == hwnd; });
  s.pending.erase_if([&](const PendingMessage& m) { return m.hwnd == hwnd; });
  std::erase_if(s.hotKeys, [&](const HotKey& h) { return h.hwnd == hwnd; });
  if (s.backend == WindowBackend::Sdl) SdlDestroy(w);
  std::erase_if(s.windows, [&](const std::unique_ptr<Window>& p) { return p.get() == hwnd; });
  HubFocusChanged();
  return true;
}

bool IsWindow(HWND hwnd) { return FindWindow(hwnd) != nullptr; }

bool ShowWindow(HWND hwnd, int32_t command) {
  Window* w = FindWindow(hwnd);
  if (!w) return false;
  bool wasVisible = w->visible;
  switch (command) {
    case SW_HIDE:
      if (!w->visible) break;
      w->visible = false;
      if (State().backend == WindowBackend::Sdl) SdlShow(w, command);
      SendMessage(hwnd, WM_SHOWWINDOW, 0, 0);
      ApplyDeactivate(w, Delivery::Send);
      HubFocusChanged();
      break;
    case SW_MINIMIZE:
      w->visible = true;
      if (State().backend == WindowBackend::Sdl) SdlShow(w, command);
      ApplyMinimize(w, Delivery::Send);
      break;
    case SW_RESTORE:
    case SW_SHOWNORMAL:
    case SW_SHOW:
      if (!w->visible) {
        w->visible = true;
        if (State().backend == WindowBackend::Sdl) SdlShow(w, SW_SHOW);
        SendMessage(hwnd, WM_SHOWWINDOW, 1, 0);
      }
      if (w->minimised && command != SW_SHOW) {
        if (State().backend == WindowBackend::Sdl) SdlShow(w, SW_RESTORE);
        ApplyRestore(w, Delivery::Send);
      } else if (!w->minimised) {
        ApplyActivate(w, Delivery::Send);  // a window shown comes to the front
      }
      break;
    default:
      DebugPrintf("ShowWindow: unsupported command %d\n", command);
      return wasVisible;
  }
  return wasVisible;
}

// Paints at once: the background first, then the client area.
bool UpdateWindow(HWND hwnd) {
  if (!IsWindow(hwnd)) return false;
  SendMessage(hwnd, WM_ERASEBKGND, 0, 0);
  SendMessage(hwnd, WM_PAINT, 0, 0);
  return true;
}

bool SetWindowPos(HWND hwnd, HWND, int32_t x, int32_t y, int32_t cx, int32_t cy, uint32_t flags) {
  Window* w = FindWindow(hwnd);
  if (!w) return false;
  if (!(flags & SWP_NOSIZE) && (cx < 0 || cy < 0 || cx > 32767 || cy > 32767)) return false;
  int32_t oldW = w->native.width;
  int32_t oldH = w->native.height;
  int32_t width = w->rect.right - w->rect.left;
  int32_t height = w->rect.bottom - w->rect.top;
  if (!(flags & SWP_NOMOVE)) {
    w->rect.left = x;
    w->rect.top = y;
  }
  if (!(flags & SWP_NOSIZE)) {
    width = cx;
    height = cy;
  }
  w->rect.right = w->rect.left + width;
  w->rect.bottom = w->rect.top + height;
  SetClientFromOuter(w);
  if (State().backend == WindowBackend::Sdl) SdlPlace(w);
  if (w->native.width != oldW || w->native.height != oldH) {
    SendMessage(hwnd, WM_SIZE, SIZE_RESTORED,
                MAKELPARAM(static_cast<uint16_t>(w->native.width), static_cast<uint16_t>(w->native.height)));
  }
  if (flags & SWP_SHOWWINDOW) ShowWindow(hwnd, SW_SHOW);
  if (flags & SWP_HIDEWINDOW) ShowWindow(hwnd, SW_HIDE);
  return true;
}

bool GetWindowRect(HWND hwnd, RECT* rect) {
  const Window* w = FindWindow(hwnd);
  if (!w || !rect) return false;
  *rect = w->rect;
  return true;
}

bool GetClientRect(HWND hwnd, RECT* rect) {
  const Window* w = FindWindow(hwnd);
  if (!w || !rect) return false;
  *rect = {0, 0, w->native.width, w->native.height};
  return true;
}

HWND GetActiveWindow() { return State().active; }

bool IsIconic(HWND hwnd) {
  const Window* w = FindWindow(hwnd);
  return w && w->minimised;
}

const NativeWindow* GetNativeWindow(HWND hwnd) {
  const Window* w = FindWindow(hwnd);
  return w ? &w->native : nullptr;
}

intptr_t SetWindowLongPtr(HWND hwnd, int32_t index, intptr_t value) {
  Window* w = FindWindow(hwnd);
  if (!w || index != GWLP_USERDATA) return 0;
  intptr_t previous = w->userData;
  w->userData = value;
  return previous;
}

intptr_t GetWindowLongPtr(HWND hwnd, int32_t index) {
  const Window* w = FindWindow(hwnd);
  if (!w || index != GWLP_USERDATA) return 0;
  return w->userData;
}

BOOL PeekMessage(MSG* msg, HWND hwnd, uint32_t filterMin, uint32_t filterMax, uint32_t removeFlags) {
  WindowState& s = State();
  if (!msg || !s.running) return 0;
  PumpSystemEvents();
  DeliverPending();
  for (auto it = s.queue.begin(); it != s.queue.end(); ++it) {
    if (hwnd && it->hwnd != hwnd) continue;
    if (!FilterAccepts(it->message, filterMin, filterMax)) continue;
    *msg = *it;
    if (removeFlags & PM_REMOVE) s.queue.erase(it);
    return 1;
  }
  if (s.quitPosted && FilterAccepts(WM_QUIT, filterMin, filterMax)) {
    *msg = MSG{nullptr, WM_QUIT, static_cast<WPARAM>(static_cast<intptr_t>(s.quitCode)), 0, GetTickCount()};
    if (removeFlags & PM_REMOVE) s.quitPosted = false;
    return 1;
  }
  return 0;
}

BOOL GetMessage(MSG* msg, HWND hwnd, uint32_t filterMin, uint32_t filterMax) {
  WindowState& s = State();
  if (!msg || !s.running) return -1;
  for (;;) {
    if (PeekMessage(msg, hwnd, filterMin, filterMax, PM_REMOVE)) return msg->message == WM_QUIT ? 0 : 1;
    if (s.backend == WindowBackend::Sdl) {
      SdlWait(10);
      continue;
    }
    bool sourcesPending = std::any_of(s.sources.begin(), s.sources.end(),
                                      [](const SystemEventSource* src) { return src->HasPendingEvents(); });
    if (!sourcesPending) {
      OutputDebugString("GetMessage: no message and nothing that could post one\n");
      return -1;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
}

BOOL TranslateMessage(const MSG* msg) {
  if (!msg) return 0;
  return msg->message >= WM_KEYDOWN && msg->message <= WM_SYSKEYUP ? 1 : 0;
}

LRESULT DispatchMessage(const MSG* msg) {
  if (!msg) return 0;
  return SendMessage(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

bool PostMessage(HWND hwnd, uint32_t message, WPARAM wParam, LPARAM lParam) {
  WindowState& s = State();
  if (!s.running || (hwnd && !IsWindow(hwnd))) return false;
  if (s.queue.size() >= kQueueLimit) {
    OutputDebugString("PostMessage: message queue full\n");
    return false;
  }
  s.queue.push_back(MSG{hwnd, message, wParam, lParam, GetTickCount()});
  return true;
}

LRESULT SendMessage(HWND hwnd, uint32_t message, WPARAM wParam, LPARAM lParam) {
  const Window* w = FindWindow(hwnd);
  if (!w) return 0;
  return w->proc(hwnd, message, wParam, lParam);
}

void PostQuitMessage(int32_t exitCode) {
  State().quitPosted = true;
  State().quitCode = exitCode;
}

LRESULT DefWindowProc(HWND hwnd, uint32_t message, WPARAM wParam, LPARAM lParam) {
  Window* w = FindWindow(hwnd);
  if (!w) return 0;
  switch (message) {
    case WM_CLOSE:
      DestroyWindow(hwnd);
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_SETCURSOR:
      if (LOWORD(static_cast<uintptr_t>(lParam)) == HTCLIENT) {
        SetCursor(w->classCursor);
        return 1;
      }
      return 0;
    case WM_SYSKEYDOWN:
      if (wParam == VK_F4 && (static_cast<uintptr_t>(lParam) >> KF_ALTDOWN_BIT & 1)) {
        SendMessage(hwnd, WM_SYSCOMMAND, SC_CLOSE, 0);
      }
      return 0;
    case WM_SYSCOMMAND:
      switch (wParam & 0xFFF0) {
        case SC_CLOSE:
          SendMessage(hwnd, WM_CLOSE, 0, 0);
          break;
        case SC_MINIMIZE:
          ShowWindow(hwnd, SW_MINIMIZE);
          break;
        case SC_RESTORE:
          ShowWindow(hwnd, SW_RESTORE);
          break;
        default:
          break;
      }
      return 0;
    default:
      return 0;
  }
}

int32_t GetSystemMetrics(int32_t index) {
  const RECT& area = State().workArea;
  switch (index) {
    case SM_CXSCREEN:
      return area.right;
    case SM_CYSCREEN:
      return area.bottom;
    case SM_CYCAPTION:
      return kCaption;
    case SM_CXFRAME:
    case SM_CYFRAME:
      return kFrame;
    default:
      return 0;
  }
}

BOOL SystemParametersInfo(uint32_t action, uint32_t, void* data, uint32_t) {
  if (action != SPI_GETWORKAREA || !data) return 0;
  RECT area = State().workArea;
  if (State().backend == WindowBackend::Sdl && State().running) SdlWorkArea(&area);
  *static_cast<RECT*>(data) = area;
  return 1;
}

void SetHeadlessWorkArea(const RECT& area) { State().workArea = area; }

bool RegisterHotKey(HWND hwnd, int32_t id, uint32_t modifiers, uint32_t virtualKey) {
  WindowState& s = State();
  if (!IsWindow(hwnd) || virtualKey == 0 || virtualKey > 0xFF) return false;
  for (const HotKey& h : s.hotKeys) {
    if (h.hwnd == hwnd && h.id == id) return false;
    if (h.modifiers == modifiers && h.vk == virtualKey) return false;  // already taken
  }
  s.hotKeys.push_back({hwnd, id, modifiers, virtualKey});
  return true;
}

bool UnregisterHotKey(HWND hwnd, int32_t id) {
  return std::erase_if(State().hotKeys, [&](const HotKey& h) { return h.hwnd == hwnd && h.id == id; }) > 0;
}

bool IsHotKeyRegistered(HWND hwnd, int32_t id) {
  const auto& keys = State().hotKeys;
  return std::any_of(keys.begin(), keys.end(), [&](const HotKey& h) { return h.hwnd == hwnd && h.id == id; });
}

HCURSOR LoadCursor(HINSTANCE, int32_t id) { return id == IDC_ARROW ? ArrowCursor() : nullptr; }

HCURSOR SetCursor(HCURSOR cursor) {
  HCURSOR previous = State().cursor;
  State().cursor = cursor;
  ApplyCursor();
  return previous;
}

int32_t ShowCursor(BOOL show) {
  int32_t& count = State().showCount;
  count += show ? 1 : -1;
  ApplyCursor();
  return count;
}

bool IsCursorVisible() { return State().showCount >= 0 && State().cursor != nullptr; }

}  // namespace platform
