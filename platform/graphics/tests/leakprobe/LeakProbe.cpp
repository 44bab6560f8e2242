// A small program the leak-report tests run in a child process, since the
// leak checker reports only when a process ends. Modes:
//   unloaded-driver <driver.so>  load a fake driver, let it keep a block, unload it
//   pinned-driver <driver.so>    the same, with the drivers pinned before the unload
//   own-leak-with-gl             start an offscreen GL context, pin its drivers,
//                                then lose a block of our own
#include <SDL.h>
#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/Library.h"

namespace {

int RunFakeDriver(const char* path, bool pin) {
  void* driver = dlopen(path, RTLD_NOW | RTLD_LOCAL);
  if (!driver) {
    std::fprintf(stderr, "probe: %s\n", dlerror());
    return 2;
  }
  auto start = reinterpret_cast<void (*)()>(dlsym(driver, "FakeDriverStart"));
  if (!start) return 2;
  start();
  if (pin && platform::KeepGraphicsDriversLoaded() < 1) {
    std::fprintf(stderr, "probe: the fake driver was not pinned\n");
    return 3;
  }
  dlclose(driver);
  return 0;
}

void* volatile g_lost = nullptr;

__attribute__((noinline)) void LoseABlockOfOurOwn() {
  g_lost = std::malloc(77);
  g_lost = nullptr;
}

int RunOwnLeakWithGl() {
  setenv("SDL_VIDEODRIVER", "offscreen", 1);
  if (SDL_Init(SDL_INIT_VIDEO) != 0) return 2;
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
  SDL_Window* window = SDL_CreateWindow("probe", 0, 0, 16, 16, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
  if (!window) return 2;
  SDL_GLContext context = SDL_GL_CreateContext(window);
  if (!context) return 2;
  platform::KeepGraphicsDriversLoaded();
  LoseABlockOfOurOwn();
  SDL_GL_DeleteContext(context);
  SDL_DestroyWindow(window);
  SDL_Quit();
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && !std::strcmp(argv[1], "unloaded-driver")) return RunFakeDriver(argv[2], false);
  if (argc == 3 && !std::strcmp(argv[1], "pinned-driver")) return RunFakeDriver(argv[2], true);
  if (argc == 2 && !std::strcmp(argv[1], "own-leak-with-gl")) return RunOwnLeakWithGl();
  std::fprintf(stderr, "usage: leak_probe unloaded-driver|pinned-driver <driver.so> | own-leak-with-gl\n");
  return 2;
}
