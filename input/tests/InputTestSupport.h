#pragma once
// Shared pieces of the input tests: a headless window in front, system
// events with chosen time stamps, and a receiver that records every packet.
#include <gtest/gtest.h>

#include <cstring>
#include <ostream>
#include <vector>

#include "engine/services/CoreInput.h"
#include "engine/entity/InputSocketManager.h"
#include "platform/window/SystemEvents.h"
#include "platform/window/Window.h"

namespace itest {

inline platform::LRESULT QuietProc(platform::HWND hwnd, uint32_t message, platform::WPARAM wParam,
                                   platform::LPARAM lParam) {
  if (message == platform::WM_CLOSE) return 0;
  return platform::DefWindowProc(hwnd, message, wParam, lParam);
}

// Starts the headless layer and shows an 808 x 627 window (an 800 x 600
// drawing area with the layer's 4-pixel frame and 19-pixel caption).
inline platform::HWND StartHeadlessWindow() {
  if (platform::InitWindowSystem(platform::WindowBackend::Headless) != status::Ok) return nullptr;
  platform::WNDCLASS wc;
  wc.lpfnWndProc = QuietProc;
  wc.lpszClassName = "InputTestClass";
  if (!platform::RegisterClass(wc)) return nullptr;
  platform::HWND hwnd = platform::CreateWindowEx(0, "InputTestClass", "input", platform::WS_THICKFRAME, 10, 20, 808,
                                                 627, nullptr, nullptr, nullptr, nullptr);
  if (hwnd) platform::ShowWindow(hwnd, platform::SW_SHOW);
  return hwnd;
}

// Dispatches every queued message, as the program's main loop does.
inline void Drain() {
  platform::MSG msg;
  while (platform::PeekMessage(&msg, nullptr, 0, 0, platform::PM_REMOVE)) {
    platform::TranslateMessage(&msg);
    platform::DispatchMessage(&msg);
  }
}

inline platform::SystemEvent At(uint32_t time, platform::SystemEventKind kind) {
  platform::SystemEvent e;
  e.kind = kind;
  e.hasTime = true;
  e.time = time;
  return e;
}
inline void KeyAt(uint32_t time, uint8_t dik, bool down) {
  platform::SystemEvent e = At(time, platform::SystemEventKind::Key);
  e.dik = dik;
  e.down = down;
  platform::RaiseSystemEvent(e);
}
inline void MoveAt(uint32_t time, int32_t dx, int32_t dy) {
  platform::SystemEvent e = At(time, platform::SystemEventKind::MouseMove);
  e.dx = dx;
  e.dy = dy;
  platform::RaiseSystemEvent(e);
}
inline void ButtonAt(uint32_t time, int32_t button, bool down) {
  platform::SystemEvent e = At(time, platform::SystemEventKind::MouseButton);
  e.button = button;
  e.down = down;
  platform::RaiseSystemEvent(e);
}
inline void WheelAt(uint32_t time, int32_t delta) {
  platform::SystemEvent e = At(time, platform::SystemEventKind::MouseWheel);
  e.wheel = delta;
  platform::RaiseSystemEvent(e);
}

// Packets compared field by field (padding is never written).
struct Key {
  uint8_t scanCode;
  uint32_t released;
  uint32_t timeStamp;
  uint8_t modifiers;
  bool operator==(const Key&) const = default;
};
struct Mouse {
  int32_t dx, dy, dz, x, y;
  uint32_t timeStamp;
  uint8_t pressed, held, released;
  bool operator==(const Mouse&) const = default;
};
inline Key Of(const KeyboardPacket& p) { return {p.scanCode, p.released, p.timeStamp, p.modifiers}; }
inline Mouse Of(const MousePacket& p) {
  return {p.dx, p.dy, p.dz, p.x, p.y, p.timeStamp, p.pressed, p.held, p.released};
}

// One delivered packet, in delivery order.
struct Delivered {
  bool isMouse = false;
  Key key{};
  Mouse mouse{};
  bool operator==(const Delivered&) const = default;
};
inline Delivered K(uint8_t scanCode, uint32_t released, uint32_t time, uint8_t modifiers) {
  return {false, {scanCode, released, time, modifiers}, {}};
}
inline Delivered M(int32_t dx, int32_t dy, int32_t dz, int32_t x, int32_t y, uint32_t time, uint8_t pressed = 0,
                   uint8_t held = 0, uint8_t released = 0) {
  return {true, {}, {dx, dy, dz, x, y, time, pressed, held, released}};
}
inline std::ostream& operator<<(std::ostream& os, const Delivered& d) {
  if (d.isMouse) {
    return os << "mouse{d " << d.mouse.dx << "," << d.mouse.dy << "," << d.mouse.dz << " at " << d.mouse.x << ","
              << d.mouse.y << " t" << d.mouse.timeStamp << " p" << int(d.mouse.pressed) << " h" << int(d.mouse.held)
              << " r" << int(d.mouse.released) << "}";
  }
  return os << "key{" << int(d.key.scanCode) << (d.key.released ? " up" : " down") << " t" << d.key.timeStamp
            << " mod" << int(d.key.modifiers) << "}";
}

// Records every packet. Room is reserved up front so that recording does
// not allocate while a frame is being measured.
class RecordingReceiver : public cCore_Base_InputMGR {
 public:
  RecordingReceiver() { seen.reserve(4096); }
  CoreStatus OnMousePacket(MousePacket* packet) override {
    if (seen.size() < seen.capacity()) seen.push_back({true, {}, Of(*packet)});
    return status::Ok;
  }
  CoreStatus OnKeyPacket(KeyboardPacket* packet) override {
    if (seen.size() < seen.capacity()) seen.push_back({false, Of(*packet), {}});
    return status::Ok;
  }
  std::vector<Delivered> Take() {
    std::vector<Delivered> out = seen;
    seen.clear();
    return out;
  }
  std::vector<Delivered> seen;
};

}  // namespace itest
