// The terminal-objects table read into a building manager: every record kept
// is in the list of its own group, has a short name and is found by it.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "construction/TerminalItem.h"
#include "construction/tests/DefinitionWorld.h"
#include "platform/DebugOutput.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  platform::SetDebugStderr(false);
  buildtest::DefinitionWorld world;
  world.manager.LoadTerminalObjectsFromMemory(std::string_view(reinterpret_cast<const char*>(data), size));
  for (uint32_t group = 0; group < kTerminalObjectGroups; ++group) {
    for (TerminalItem* item : world.manager.terminalObjects[group]) {
      if (item->kind != group || item->type != group) std::abort();
      if (item->name.size() > cEntity_BuildingManager::kMaxTypeNameLength) std::abort();
      if (!world.manager.FindTerminalObject(item->name)) std::abort();
    }
  }
  return 0;
}
