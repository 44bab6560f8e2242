// Any bytes as a GUI description file: the reader refuses or loads it, and
// afterwards the widget tree is consistent, no block is left open and,
// unless the text switches languages itself, the language stack is back
// where it was.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "gui/fuzz/GUIFuzzWorld.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string path = "/tmp/fuzz_gui_file_" + std::to_string(::getpid()) + ".gui";
  FILE* out = std::fopen(path.c_str(), "wb");
  if (!out) return 0;
  std::fwrite(data, 1, size, out);
  std::fclose(out);

  GUIFuzzWorld world;
  CoreLanguage* language = world.languages.GetCurrentLanguage();
  const size_t depth = world.languages.GetStackDepth();
  const bool loaded = world.gui.LoadGUIFile(path);
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const bool switches = text.find("language") != std::string_view::npos || text.find("langdef") != std::string_view::npos;
  if (!switches) {
    GUI_FUZZ_CHECK(world.languages.GetCurrentLanguage() == language);
    GUI_FUZZ_CHECK(world.languages.GetStackDepth() == depth);
  }
  GUI_FUZZ_CHECK(world.gui.GetParser()->GetParentDepth() == 0);
  if (!loaded) GUI_FUZZ_CHECK(world.gui.GetWorld() == nullptr);
  if (GUIWorld* root = world.gui.GetWorld()) GUIFuzzWorld::CheckTree(root);
  world.gui.Update(0.1f);
  world.manager.Update(0.1f);
  return 0;
}
