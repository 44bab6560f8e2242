// The base-buildings table read into a building manager: whatever the text,
// every type made has a short name and an identity word within its fields,
// and only technology levels 1-15 list required types.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "construction/BuildableObject.h"
#include "construction/tests/BoxRecorder.h"
#include "construction/tests/DefinitionWorld.h"
#include "platform/DebugOutput.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  platform::SetDebugStderr(false);
  buildtest::BoxRecorder boxes;
  buildtest::DefinitionWorld world;
  world.manager.LoadBaseBuildingsFromMemory(std::string_view(reinterpret_cast<const char*>(data), size));
  for (uint8_t c = 0; c < kBuildingClassCount; ++c) {
    for (uint16_t id = 0; id < world.manager.GetTypeIdCount(c); ++id) {
      for (uint8_t level = 0; level < kBuildingLevelCount; ++level) {
        cBuildableObject* type = world.manager.GetBuildingType(c, id, level);
        if (!type) continue;
        if (type->GetName().size() > cEntity_BuildingManager::kMaxTypeNameLength) std::abort();
        if (type->GetClass() != c || type->GetId() != id || type->GetLevel() != level) std::abort();
        if (type->GetCategory() >= kCategoryCount) std::abort();
      }
    }
  }
  if (!world.manager.typeWordGroups[0].listA.empty()) std::abort();
  return 0;
}
