#pragma once
// A window procedure that records every message it gets, and helpers to
// create a window and drain the queue the way the program's main loop does.
#include <vector>

#include "platform/window/Window.h"

namespace wtest {

struct Seen {
  uint32_t message;
  platform::WPARAM wParam;
  platform::LPARAM lParam;
  bool operator==(const Seen&) const = default;
};

inline std::vector<Seen>& Log() {
  static std::vector<Seen> log;
  return log;
}

// Records, then behaves like the program: close destroys the window and
// posts quit; erase background is handled; the rest gets default processing.
inline platform::LRESULT RecordingProc(platform::HWND hwnd, uint32_t message, platform::WPARAM wParam,
                                       platform::LPARAM lParam) {
  Log().push_back({message, wParam, lParam});
  if (message == platform::WM_CLOSE) {
    platform::DestroyWindow(hwnd);
    platform::PostQuitMessage(0);
    return 0;
  }
  if (message == platform::WM_ERASEBKGND) return 1;
  return platform::DefWindowProc(hwnd, message, wParam, lParam);
}

// Registers the class and creates a shown 808 x 627 window (800 x 600 client).
inline platform::HWND MakeWindow(const char* className = "TestClass") {
  platform::WNDCLASS wc;
  wc.lpfnWndProc = RecordingProc;
  wc.lpszClassName = className;
  wc.hCursor = platform::LoadCursor(nullptr, platform::IDC_ARROW);
  if (!platform::RegisterClass(wc)) return nullptr;
  platform::HWND hwnd = platform::CreateWindowEx(0, className, "test", platform::WS_THICKFRAME, 10, 20, 808, 627,
                                                 nullptr, nullptr, nullptr, nullptr);
  if (hwnd) platform::ShowWindow(hwnd, platform::SW_SHOW);
  return hwnd;
}

// Dispatches every queued message; returns true when WM_QUIT was taken.
inline bool Drain() {
  platform::MSG msg;
  while (platform::PeekMessage(&msg, nullptr, 0, 0, platform::PM_REMOVE)) {
    if (msg.message == platform::WM_QUIT) return true;
    platform::TranslateMessage(&msg);
    platform::DispatchMessage(&msg);
  }
  return false;
}

// The messages seen since the last call, keeping only the ids in `keep`.
inline std::vector<Seen> Take(std::initializer_list<uint32_t> keep) {
  std::vector<Seen> out;
  for (const Seen& s : Log()) {
    for (uint32_t k : keep) {
      if (s.message == k) out.push_back(s);
    }
  }
  Log().clear();
  return out;
}

}  // namespace wtest
