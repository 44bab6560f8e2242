#pragma once
// The native window that a GL context and the input devices attach to. The
// window layer owns and fills it; tests may fill it from an SDL window they
// created themselves.
struct SDL_Window;

namespace platform {

struct NativeWindow {
  SDL_Window* sdl = nullptr;  // null for a window of the headless message backend
  int width = 0;              // client area in pixels
  int height = 0;
};

}  // namespace platform
