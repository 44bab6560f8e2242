#include "construction/BuildingManagerSpawn.h"

#include <new>
#include <type_traits>

#include "construction/BuildingManager.h"
#include "platform/DebugOutput.h"

namespace {

// Creates the manager once the class is complete; until then the spawn says
// so and gives nothing, so that no half-built manager is ever handed out.
template <typename Manager>
cEntity_Base* NewManager(cEntity_Manager* creator) {
  if constexpr (std::is_abstract_v<Manager>) {
    (void)creator;
    platform::DebugPrintf("[SpawnBuildingManager] the building manager is not complete: its data table "
                          "readers are missing\n");
    return nullptr;
  } else {
    return new (std::nothrow) Manager(creator, kEntityType_Base);
  }
}

}  // namespace

SpawnBuildingManager::SpawnBuildingManager() : cSpawn_Base(cEntity_BuildingManager::kSpawnName) {}

cEntity_Base* SpawnBuildingManager::Create(uint32_t, uint32_t, cEntity_Manager* creator, const std::string&) {
  return NewManager<cEntity_BuildingManager>(creator);
}
