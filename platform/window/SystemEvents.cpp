#include "platform/window/SystemEvents.h"

#include <algorithm>

#include "platform/Clock.h"
#include "platform/window/InputDevices.h"
#include "platform/window/KeyCodes.h"
#include "platform/window/WindowInternal.h"

namespace platform {

using namespace detail;

namespace {

uint32_t ModifierMask(const WindowState& s) {
  uint32_t mods = 0;
  if (s.keys[DIK_LMENU] || s.keys[DIK_RMENU]) mods |= MOD_ALT;
  if (s.keys[DIK_LCONTROL] || s.keys[DIK_RCONTROL]) mods |= MOD_CONTROL;
  if (s.keys[DIK_LSHIFT] || s.keys[DIK_RSHIFT]) mods |= MOD_SHIFT;
  if (s.keys[DIK_LWIN] || s.keys[DIK_RWIN]) mods |= MOD_WIN;
  return mods;
}

// Key messages: Alt held (without Ctrl) or F10 makes them system keys, whose
// long parameter carries the Alt context bit.
void PostKeyMessage(const SystemEvent& e, HWND target, bool wasDown, uint32_t time) {
  WindowState& s = State();
  uint8_t vk = VirtualKeyFromDik(e.dik);
  if (vk == 0) return;
  uint32_t mods = ModifierMask(s);
  if (e.down) {
    for (const HotKey& h : s.hotKeys) {
      if (h.vk == vk && h.modifiers == mods) {
        if (s.queue.size() < kQueueLimit) {
          s.queue.push_back(MSG{h.hwnd, WM_HOTKEY, static_cast<WPARAM>(h.id),
                                MAKELPARAM(static_cast<uint16_t>(mods), vk), time});
        }
        return;
      }
    }
  }
  if (!target) return;
  bool alt = (mods & MOD_ALT) != 0;
  bool isAltKey = vk == VK_MENU;
  bool system = (alt && !(mods & MOD_CONTROL)) || vk == VK_F10 || (isAltKey && !(mods & MOD_CONTROL));
  uint32_t message = e.down ? (system ? WM_SYSKEYDOWN : WM_KEYDOWN) : (system ? WM_SYSKEYUP : WM_KEYUP);
  uint32_t lp = 1u | (static_cast<uint32_t>(e.dik & 0x7F) << 16);
  if (IsExtendedDik(e.dik)) lp |= 1u << KF_EXTENDED_BIT;
  if (alt) lp |= 1u << KF_ALTDOWN_BIT;
  if (wasDown) lp |= 1u << KF_REPEAT_BIT;
  if (!e.down) lp |= 1u << KF_UP_BIT;
  if (s.queue.size() < kQueueLimit) {
    s.queue.push_back(MSG{target, message, vk, static_cast<LPARAM>(static_cast<int32_t>(lp)), time});
  }
}

}  // namespace

void RaiseSystemEvent(const SystemEvent& e) {
  WindowState& s = State();
  if (!s.running) return;
  uint32_t time = e.hasTime ? e.time : GetTickCount();
  Window* w = FindWindow(e.window ? e.window : s.active);
  switch (e.kind) {
    case SystemEventKind::Activate:
      if (w) ApplyActivate(w, Delivery::Defer);
      break;
    case SystemEventKind::Deactivate:
      if (w) ApplyDeactivate(w, Delivery::Defer);
      break;
    case SystemEventKind::Minimize:
      if (w) ApplyMinimize(w, Delivery::Defer);
      break;
    case SystemEventKind::Restore:
      if (w) ApplyRestore(w, Delivery::Defer);
      break;
    case SystemEventKind::Hide:
      if (w && !w->hidden && !w->minimised) {
        w->hidden = true;
        Deliver(Delivery::Defer, w, WM_SIZE, SIZE_MAXHIDE, 0);
        HubFocusChanged();
      }
      break;
    case SystemEventKind::Show:
      if (w && w->hidden) {
        w->hidden = false;
        Deliver(Delivery::Defer, w, WM_SIZE, SIZE_MAXSHOW, 0);
        HubFocusChanged();
      }
      break;
    case SystemEventKind::Close:
      if (w) Deliver(Delivery::Defer, w, WM_SYSCOMMAND, SC_CLOSE, 0);
      break;
    case SystemEventKind::Resize: {
      if (!w || w->minimised) break;
      // A user resize stays within the tracking limits the window gave.
      int32_t outerW = std::clamp(e.width + 2 * kFrame, w->minTrack.x, w->maxTrack.x);
      int32_t outerH = std::clamp(e.height + 2 * kFrame + kCaption, w->minTrack.y, w->maxTrack.y);
      int32_t cw = outerW - 2 * kFrame;
      int32_t ch = outerH - 2 * kFrame - kCaption;
      if (cw == w->native.width && ch == w->native.height) break;
      w->rect.right = w->rect.left + outerW;
      w->rect.bottom = w->rect.top + outerH;
      w->native.width = cw;
      w->native.height = ch;
      Deliver(Delivery::Defer, w, WM_SIZE, SIZE_RESTORED,
              MAKELPARAM(static_cast<uint16_t>(cw), static_cast<uint16_t>(ch)));
      break;
    }
    case SystemEventKind::Key: {
      bool wasDown = s.keys[e.dik];
      if (!e.repeat) {
        s.keys[e.dik] = e.down;
        HubKey(e.dik, e.down, time, NextSequence());
      }
      PostKeyMessage(e, w, e.down ? (wasDown || e.repeat) : true, time);
      break;
    }
    case SystemEventKind::MouseMove: {
      uint32_t seq = NextSequence();
      if (e.dx) HubMouse(DIMOFS_X, static_cast<uint32_t>(e.dx), time, seq);
      if (e.dy) HubMouse(DIMOFS_Y, static_cast<uint32_t>(e.dy), time, seq);
      if (w && !w->minimised) {
        Deliver(Delivery::Defer, w, WM_SETCURSOR, reinterpret_cast<WPARAM>(w),
                MAKELPARAM(HTCLIENT, static_cast<uint16_t>(WM_MOUSEMOVE)));
      }
      break;
    }
    case SystemEventKind::MouseButton:
      if (e.button < 0 || e.button > 7) break;
      s.buttons[static_cast<size_t>(e.button)] = e.down;
      HubMouse(DIMOFS_BUTTON0 + static_cast<uint32_t>(e.button), e.down ? 0x80u : 0u, time, NextSequence());
      break;
    case SystemEventKind::MouseWheel:
      if (e.wheel) HubMouse(DIMOFS_Z, static_cast<uint32_t>(e.wheel), time, NextSequence());
      break;
  }
}

void RaiseWindowEvent(HWND hwnd, SystemEventKind kind) {
  SystemEvent e;
  e.kind = kind;
  e.window = hwnd;
  RaiseSystemEvent(e);
}

void RaiseKey(uint8_t dik, bool down, bool repeat, HWND hwnd) {
  SystemEvent e;
  e.kind = SystemEventKind::Key;
  e.dik = dik;
  e.down = down;
  e.repeat = repeat;
  e.window = hwnd;
  RaiseSystemEvent(e);
}

void RaiseMouseMove(int32_t dx, int32_t dy) {
  SystemEvent e;
  e.kind = SystemEventKind::MouseMove;
  e.dx = dx;
  e.dy = dy;
  RaiseSystemEvent(e);
}

void RaiseMouseButton(int32_t button, bool down) {
  SystemEvent e;
  e.kind = SystemEventKind::MouseButton;
  e.button = button;
  e.down = down;
  RaiseSystemEvent(e);
}

void RaiseMouseWheel(int32_t delta) {
  SystemEvent e;
  e.kind = SystemEventKind::MouseWheel;
  e.wheel = delta;
  RaiseSystemEvent(e);
}

bool IsKeyDown(uint8_t dik) { return State().keys[dik]; }

void AddSystemEventSource(SystemEventSource* source) {
  auto& sources = State().sources;
  if (source && std::find(sources.begin(), sources.end(), source) == sources.end()) sources.push_back(source);
}

void RemoveSystemEventSource(SystemEventSource* source) { std::erase(State().sources, source); }

void PumpSystemEvents() {
  WindowState& s = State();
  if (!s.running || s.pumping) return;
  s.pumping = true;
  if (s.backend == WindowBackend::Sdl) SdlPump();
  if (!s.sources.empty()) {
    uint32_t now = GetTickCount();
    for (size_t i = 0; i < s.sources.size(); ++i) s.sources[i]->PumpEvents(now);
  }
  s.pumping = false;
}

}  // namespace platform
