// Feeds arbitrary text to the game manager as its start-up command script,
// with the engine's keyword languages and commands in place, then runs a
// frame: services, timelines, cameras and cursors made from any script must
// be safe to update and draw.
#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/frame/tests/FrameTestWorld.h"
#include "platform/DebugOutput.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool quiet = [] {
    platform::SetDebugStderr(false);
    return true;
  }();
  (void)quiet;
  frametest::FrameWorld world;
  world.Init(std::string(reinterpret_cast<const char*>(data), size));
  world.clock.AdvanceSeconds(0.1);
  world.manager->Update(false);
  world.renderer.RunFrame();
  return 0;
}
