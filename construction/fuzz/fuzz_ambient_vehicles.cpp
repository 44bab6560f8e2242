// The ambient-vehicle table read into a building manager: one offer a named
// section, in file order, and none for a text the table reader refuses;
// refused records are destroyed (the leak check sees any that are not).
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "construction/tests/DefinitionWorld.h"
#include "engine/files/DataFile.h"
#include "platform/DebugOutput.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  platform::SetDebugStderr(false);
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  buildtest::DefinitionWorld world;
  world.acceptAmbient = size % 2 == 0;
  const bool loaded = world.manager.LoadAmbientVehiclesFromMemory(text);
  CDataFile table;
  std::vector<std::string> sections;
  if (table.LoadFromMemory(text) != loaded) std::abort();
  table.GetSectionNames(&sections);
  if (world.offered != sections) std::abort();
  return 0;
}
