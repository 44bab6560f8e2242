// The SDL backend of the window layer: real SDL windows, and SDL's window,
// keyboard and mouse events raised as system events.
#include <SDL.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "platform/DebugOutput.h"
#include "platform/Library.h"
#include "platform/MessageBox.h"
#include "platform/window/KeyCodes.h"
#include "platform/window/WindowInternal.h"

namespace platform::detail {
namespace {

bool g_handlerInstalled = false;
// GL windows destroyed while the window system runs: a renderer's GL context
// may still draw to them and is released later (a window closed by its user
// goes before the program shuts its renderer down), so they are only hidden
// here and destroyed when the window system stops.
std::vector<SDL_Window*> g_retiredGlWindows;
MessageBoxHandler g_previousHandler;

int ShowSdlMessageBox(const std::string& text, const std::string& caption, unsigned flags) {
  SDL_MessageBoxButtonData buttons[2];
  int count = 0;
  switch (flags & 0xF) {
    case MB_OKCANCEL:
      buttons[0] = {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, IDOK, "OK"};
      buttons[1] = {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, IDCANCEL, "Cancel"};
      count = 2;
      break;
    case MB_YESNO:
      buttons[0] = {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, IDYES, "Yes"};
      buttons[1] = {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, IDNO, "No"};
      count = 2;
      break;
    default:
      buttons[0] = {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT | SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, IDOK, "OK"};
      count = 1;
      break;
  }
  Uint32 kind = SDL_MESSAGEBOX_INFORMATION;
  if ((flags & 0xF0) == MB_ICONERROR) kind = SDL_MESSAGEBOX_ERROR;
  if ((flags & 0xF0) == MB_ICONWARNING) kind = SDL_MESSAGEBOX_WARNING;
  SDL_Window* parent = nullptr;
  if (Window* w = FindWindow(State().active)) parent = w->native.sdl;
  SDL_MessageBoxData data{kind, parent, caption.c_str(), text.c_str(), count, buttons, nullptr};
  int pressed = 0;
  if (SDL_ShowMessageBox(&data, &pressed) != 0 || pressed < 0) {
    // No box could be shown: fall back to the text channel and the default answer.
    MessageBoxHandler none;
    MessageBoxHandler mine = SetMessageBoxHandler(std::move(none));
    int answer = MessageBox(text, caption, flags);
    SetMessageBoxHandler(std::move(mine));
    return answer;
  }
  return pressed;
}

Window* FromSdlId(Uint32 id) {
  SDL_Window* sdl = SDL_GetWindowFromID(id);
  if (!sdl) return nullptr;
  for (const auto& w : State().windows) {
    if (w->native.sdl == sdl) return w.get();
  }
  return nullptr;
}

int32_t ButtonIndex(Uint8 sdlButton) {
  switch (sdlButton) {
    case SDL_BUTTON_LEFT:
      return 0;
    case SDL_BUTTON_RIGHT:
      return 1;
    case SDL_BUTTON_MIDDLE:
      return 2;
    default:
      return sdlButton >= 4 && sdlButton <= 8 ? sdlButton - 1 : -1;  // X1, X2 and beyond
  }
}

// The last pointer position an absolute motion event gave, per window.
struct LastPointer {
  Uint32 window = 0;
  bool known = false;
  int x = 0;
  int y = 0;
};
LastPointer g_lastPointer;

struct PointerMotion {
  int32_t dx = 0;
  int32_t dy = 0;
};

// Relative mode reports device motion only (xrel, yrel). In absolute mode
// the pointer's position counts: motion injected by remote desktops,
// virtual machines and test tools may carry positions without deltas, and
// a pointer that left the window comes back where it re-enters.
PointerMotion MotionOf(const SDL_MouseMotionEvent& m, bool relativeMode) {
  if (relativeMode) {
    g_lastPointer.known = false;
    return {m.xrel, m.yrel};
  }
  PointerMotion motion{m.xrel, m.yrel};
  if (g_lastPointer.known && g_lastPointer.window == m.windowID) motion = {m.x - g_lastPointer.x, m.y - g_lastPointer.y};
  g_lastPointer = {m.windowID, true, m.x, m.y};
  return motion;
}

void RaiseFor(Window* w, SystemEventKind kind) {
  if (w) RaiseWindowEvent(w, kind);
}

void Translate(const SDL_Event& ev) {
  switch (ev.type) {
    case SDL_WINDOWEVENT: {
      Window* w = FromSdlId(ev.window.windowID);
      if (!w) return;
      switch (ev.window.event) {
        case SDL_WINDOWEVENT_FOCUS_GAINED:
          RaiseFor(w, SystemEventKind::Activate);
          break;
        case SDL_WINDOWEVENT_FOCUS_LOST:
          RaiseFor(w, SystemEventKind::Deactivate);
          break;
        case SDL_WINDOWEVENT_MINIMIZED:
          RaiseFor(w, SystemEventKind::Minimize);
          break;
        case SDL_WINDOWEVENT_RESTORED:
        case SDL_WINDOWEVENT_MAXIMIZED:
          RaiseFor(w, SystemEventKind::Restore);
          break;
        case SDL_WINDOWEVENT_HIDDEN:
          RaiseFor(w, SystemEventKind::Hide);
          break;
        case SDL_WINDOWEVENT_SHOWN:
          RaiseFor(w, SystemEventKind::Show);
          break;
        case SDL_WINDOWEVENT_CLOSE:
          RaiseFor(w, SystemEventKind::Close);
          break;
        case SDL_WINDOWEVENT_SIZE_CHANGED: {
          SystemEvent e;
          e.kind = SystemEventKind::Resize;
          e.window = w;
          e.width = ev.window.data1;
          e.height = ev.window.data2;
          RaiseSystemEvent(e);
          break;
        }
        case SDL_WINDOWEVENT_MOVED: {
          int32_t width = w->rect.right - w->rect.left;
          int32_t height = w->rect.bottom - w->rect.top;
          w->rect.left = ev.window.data1 - kFrame;
          w->rect.top = ev.window.data2 - kFrame - kCaption;
          w->rect.right = w->rect.left + width;
          w->rect.bottom = w->rect.top + height;
          break;
        }
        default:
          break;
      }
      break;
    }
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
      uint8_t dik = DikFromSdlScancode(ev.key.keysym.scancode);
      if (!dik) return;
      SystemEvent e;
      e.kind = SystemEventKind::Key;
      e.window = FromSdlId(ev.key.windowID);
      e.dik = dik;
      e.down = ev.type == SDL_KEYDOWN;
      e.repeat = ev.key.repeat != 0;
      RaiseSystemEvent(e);
      break;
    }
    case SDL_MOUSEMOTION: {
      SystemEvent e;
      e.kind = SystemEventKind::MouseMove;
      e.window = FromSdlId(ev.motion.windowID);
      const PointerMotion motion = MotionOf(ev.motion, SDL_GetRelativeMouseMode() == SDL_TRUE);
      e.dx = motion.dx;
      e.dy = motion.dy;
      if (e.dx || e.dy) RaiseSystemEvent(e);
      break;
    }
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
      int32_t button = ButtonIndex(ev.button.button);
      if (button < 0) return;
      SystemEvent e;
      e.kind = SystemEventKind::MouseButton;
      e.window = FromSdlId(ev.button.windowID);
      e.button = button;
      e.down = ev.type == SDL_MOUSEBUTTONDOWN;
      RaiseSystemEvent(e);
      break;
    }
    case SDL_MOUSEWHEEL: {
      int32_t notches = ev.wheel.y;
      if (ev.wheel.direction == SDL_MOUSEWHEEL_FLIPPED) notches = -notches;
      if (notches == 0) return;
      SystemEvent e;
      e.kind = SystemEventKind::MouseWheel;
      e.window = FromSdlId(ev.wheel.windowID);
      e.wheel = notches * 120;
      RaiseSystemEvent(e);
      break;
    }
    case SDL_QUIT:
      // Only a signal sends this (closing the last window does not): ask
      // every window to close.
      for (const auto& w : State().windows) RaiseWindowEvent(w.get(), SystemEventKind::Close);
      break;
    default:
      break;
  }
}

}  // namespace

// SDL's video and the GL library stay loaded from the first start to the
// end of the process: GL drivers are slow to load and do not free everything
// when unloaded, and the window layer may be started more than once.
bool SdlStart() {
  static bool videoUp = false;
  if (!videoUp) {
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
      DebugPrintf("Window layer: SDL could not start: %s\n", SDL_GetError());
      return false;
    }
    if (SDL_GL_LoadLibrary(nullptr) != 0) DebugPrintf("Window layer: no GL library: %s\n", SDL_GetError());
    platform::KeepGraphicsDriversLoaded();
    videoUp = true;
  }
  SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);  // nothing from an earlier run
  g_lastPointer = {};
  const char* driver = SDL_GetCurrentVideoDriver();
  bool display = driver && std::strcmp(driver, "offscreen") != 0 && std::strcmp(driver, "dummy") != 0;
  if (display) {
    g_previousHandler = SetMessageBoxHandler(ShowSdlMessageBox);
    g_handlerInstalled = true;
  }
  return true;
}

void SdlStop() {
  if (g_handlerInstalled) {
    SetMessageBoxHandler(std::move(g_previousHandler));
    g_previousHandler = nullptr;
    g_handlerInstalled = false;
  }
  SDL_SetRelativeMouseMode(SDL_FALSE);
  SDL_ShowCursor(SDL_ENABLE);
  for (SDL_Window* retired : g_retiredGlWindows) SDL_DestroyWindow(retired);
  g_retiredGlWindows.clear();
}

bool SdlCreate(Window* w) {
  int cw = w->native.width > 0 ? w->native.width : 1;
  int ch = w->native.height > 0 ? w->native.height : 1;
  Uint32 flags = SDL_WINDOW_HIDDEN | SDL_WINDOW_OPENGL;
  if (w->style & WS_THICKFRAME) flags |= SDL_WINDOW_RESIZABLE;
  int x = w->rect.left + kFrame;
  int y = w->rect.top + kFrame + kCaption;
  w->native.sdl = SDL_CreateWindow(w->title.c_str(), x, y, cw, ch, flags);
  if (!w->native.sdl) {
    // Without GL the window still serves messages and input.
    DebugPrintf("CreateWindowEx: SDL window without GL: %s\n", SDL_GetError());
    w->native.sdl = SDL_CreateWindow(w->title.c_str(), x, y, cw, ch, flags & ~SDL_WINDOW_OPENGL);
  }
  if (!w->native.sdl) {
    DebugPrintf("CreateWindowEx: SDL window failed: %s\n", SDL_GetError());
    return false;
  }
  return true;
}

void SdlDestroy(Window* w) {
  if (w->native.sdl && (SDL_GetWindowFlags(w->native.sdl) & SDL_WINDOW_OPENGL)) {
    SDL_HideWindow(w->native.sdl);
    g_retiredGlWindows.push_back(w->native.sdl);
  } else if (w->native.sdl) {
    SDL_DestroyWindow(w->native.sdl);
  }
  w->native.sdl = nullptr;
}

void SdlShow(Window* w, int32_t command) {
  if (!w->native.sdl) return;
  switch (command) {
    case SW_HIDE:
      SDL_HideWindow(w->native.sdl);
      break;
    case SW_MINIMIZE:
      SDL_ShowWindow(w->native.sdl);
      SDL_MinimizeWindow(w->native.sdl);
      break;
    case SW_RESTORE:
      SDL_RestoreWindow(w->native.sdl);
      break;
    default:
      SDL_ShowWindow(w->native.sdl);
      SDL_RaiseWindow(w->native.sdl);
      break;
  }
}

void SdlPlace(Window* w) {
  if (!w->native.sdl) return;
  SDL_SetWindowPosition(w->native.sdl, w->rect.left + kFrame, w->rect.top + kFrame + kCaption);
  SDL_SetWindowSize(w->native.sdl, w->native.width > 0 ? w->native.width : 1,
                    w->native.height > 0 ? w->native.height : 1);
}

void SdlPump() {
  SDL_Event ev;
  while (SDL_PollEvent(&ev)) Translate(ev);
}

void SdlWait(int milliseconds) { SDL_WaitEventTimeout(nullptr, milliseconds); }

void SdlShowCursor(bool visible) { SDL_ShowCursor(visible ? SDL_ENABLE : SDL_DISABLE); }

// An exclusive mouse leaves SDL in absolute mode: relative mode reads raw
// device motion, which pointer motion injected by remote desktops, virtual
// machines and test tools never produces, so the game would not see it. The
// program hides the system pointer over its window itself (WM_SETCURSOR).
// Relative mode switched on elsewhere is still read (MotionOf).
void SdlRelativeMouse(bool) { SDL_SetRelativeMouseMode(SDL_FALSE); }

bool SdlWorkArea(RECT* area) {
  SDL_Rect r;
  if (SDL_GetDisplayUsableBounds(0, &r) != 0) return false;
  *area = {r.x, r.y, r.x + r.w, r.y + r.h};
  return true;
}

void SdlTrackLimits(Window* w) {
  if (!w->native.sdl) return;
  int minW = std::max(1, w->minTrack.x - 2 * kFrame);
  int minH = std::max(1, w->minTrack.y - 2 * kFrame - kCaption);
  int maxW = std::max(minW, w->maxTrack.x - 2 * kFrame);
  int maxH = std::max(minH, w->maxTrack.y - 2 * kFrame - kCaption);
  SDL_SetWindowMinimumSize(w->native.sdl, minW, minH);
  SDL_SetWindowMaximumSize(w->native.sdl, maxW, maxH);
}

}  // namespace platform::detail
